// The editor's OLE drop target: dropped files are inserted as their paths,
// dropped text is inserted, or moved within the editor; each drop one step.
#include "editor/drop_target_win.h"

#include "editor/editor_window_win.h"
#include "editor/drop_rules.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "platform/wide_win.h"

#include <Scintilla.h>
#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace quillpane {
namespace {

FORMATETC FormatOf(CLIPFORMAT format) {
    return FORMATETC {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC query = FormatOf(format);
    return data != nullptr && data->QueryGetData(&query) == S_OK;
}

DWORD ToDropEffect(DropEffect effect) {
    switch (effect) {
    case DropEffect::Copy: return DROPEFFECT_COPY;
    case DropEffect::Move: return DROPEFFECT_MOVE;
    case DropEffect::None: break;
    }
    return DROPEFFECT_NONE;
}

// The medium of one format, released with the object.
class Medium {
public:
    Medium(IDataObject* data, CLIPFORMAT format) {
        FORMATETC query = FormatOf(format);
        valid_ = data != nullptr && SUCCEEDED(data->GetData(&query, &medium_)) && medium_.tymed == TYMED_HGLOBAL &&
                 medium_.hGlobal != nullptr;
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    ~Medium() {
        if (valid_) ::ReleaseStgMedium(&medium_);
    }
    [[nodiscard]] HGLOBAL Get() const { return valid_ ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_ {};
    bool valid_ = false;
};

std::optional<std::vector<std::u16string>> DroppedPaths(IDataObject* data) {
    const Medium medium(data, CF_HDROP);
    if (medium.Get() == nullptr) return std::nullopt;
    auto* drop = static_cast<HDROP>(::GlobalLock(medium.Get()));
    if (drop == nullptr) return std::nullopt;
    std::vector<std::u16string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
        paths.push_back(FromWide(path));
    }
    ::GlobalUnlock(medium.Get());
    return paths;
}

std::optional<std::u16string> DroppedText(IDataObject* data) {
    const Medium medium(data, CF_UNICODETEXT);
    if (medium.Get() == nullptr) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(medium.Get()));
    if (text == nullptr) return std::nullopt;
    // Bounded by the block: a missing terminator must not run past it.
    const std::size_t capacity = ::GlobalSize(medium.Get()) / sizeof(wchar_t);
    const std::size_t length = ::wcsnlen(text, capacity);
    std::u16string result(reinterpret_cast<const char16_t*>(text), length);
    ::GlobalUnlock(medium.Get());
    return result;
}

}  // namespace

HRESULT EditorDropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG EditorDropTarget::AddRef() {
    return ++references_;
}

ULONG EditorDropTarget::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

bool EditorDropTarget::Serving() const {
    return ed_.hwnd == editor_ && ed_.text.model.Window() == editor_;
}

DWORD EditorDropTarget::EffectFor(DWORD keyState) const {
    const bool readOnly = GuardComponentCalls(true, [&] { return !Serving() || ed_.sci.ReadOnly(); });
    return ToDropEffect(DragEffect(filesOffered_, textOffered_, (keyState & MK_CONTROL) != 0, readOnly));
}

HRESULT EditorDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) return E_POINTER;
    filesOffered_ = Offers(data, CF_HDROP);
    textOffered_ = Offers(data, CF_UNICODETEXT);
    *effect = EffectFor(keyState);
    return S_OK;
}

HRESULT EditorDropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) return E_POINTER;
    *effect = EffectFor(keyState);
    return S_OK;
}

HRESULT EditorDropTarget::DragLeave() {
    return S_OK;
}

HRESULT EditorDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (effect == nullptr) return E_POINTER;
    *effect = DROPEFFECT_NONE;
    return GuardComponentCalls(E_OUTOFMEMORY, [&] { return DropNow(data, keyState, point, effect); });
}

HRESULT EditorDropTarget::DropNow(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    filesOffered_ = false;
    textOffered_ = false;
    EditorTextState& state = ed_.text;
    if (data == nullptr || !Serving() || ed_.sci.ReadOnly()) return S_OK;
    POINT client {point.x, point.y};
    ::ScreenToClient(editor_, &client);
    const Scintilla::Position position = ed_.sci.CharPositionFromPoint(client.x, client.y);
    if (position < 0) return S_OK;
    const std::size_t dropIndex = ToIndex(state.adapter, state.model, static_cast<std::size_t>(position));
    const std::u16string& text = ReadText(state.adapter, state.model);

    DropOutcome outcome;
    if (Offers(data, CF_HDROP)) {
        const std::optional<std::vector<std::u16string>> paths = DroppedPaths(data);
        if (!paths) return S_OK;
        outcome = FileDrop(text, dropIndex, *paths);
    } else {
        const std::optional<std::u16string> dropped = DroppedText(data);
        if (!dropped) return S_OK;
        outcome = TextDrop(text, EditorSelection16(ed_), dropIndex, *dropped, (keyState & MK_CONTROL) != 0);
    }
    if (outcome.edit) {
        ApplyTextEdit(ContextOf(state), *outcome.edit, true);
        AfterCaretMove(ed_);
    }
    *effect = ToDropEffect(outcome.effect);
    return S_OK;
}

EditorDropTarget* RegisterEditorDropTarget(EditorWindow& ed, HWND editor) {
    if (FAILED(::OleInitialize(nullptr))) return nullptr;
    // The component registers a target of its own; the program's replaces it.
    ::RevokeDragDrop(editor);
    auto* target = new EditorDropTarget(ed, editor);
    if (FAILED(::RegisterDragDrop(editor, target))) {
        target->Release();
        ::OleUninitialize();
        return nullptr;
    }
    return target;
}

void RevokeEditorDropTarget(EditorDropTarget*& target, HWND editor) {
    if (target == nullptr) return;
    ::RevokeDragDrop(editor);
    target->Release();
    target = nullptr;
    ::OleUninitialize();
}

}  // namespace quillpane

// The text adapter and the edit history attached to the Scintilla editor: the
// edit-control messages answered in UTF-16, and the entry points for the
// panel and the editor procedure.
#include "editor/text_adapter_win.h"

#include "editor/editor_host_win.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <Scintilla.h>

#include <algorithm>
#include <cwchar>

namespace quillpane {
namespace {

constexpr UINT_PTR kAdapterSubclassId = 0x51505441;  // "QPTA"

// A small wrapper that lives for one call: the model over the window and
// the context for the portable functions.
struct Bound {
    explicit Bound(EditorTextState& state)
        : model(state.editor, &state.hooks, state.call), context {state.history, state.adapter, model} {}
    ScintillaModel model;
    EditContext context;
};

std::u16string_view StringParameter(LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char16_t*>(text), std::wcslen(text)};
}

// Edit controls pack two 16-bit values.
LRESULT PackWords(long long low, long long high) {
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}

LRESULT Forward(EditorTextState& state, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    if (state.call == nullptr || !state.call->IsValid()) return ::SendMessageW(state.editor, message, wParam, lParam);
    try {
        return state.call->Call(static_cast<Scintilla::Message>(message), wParam, lParam);
    } catch (const Scintilla::Failure&) {
        return 0;
    }
}

LRESULT GetSelectionMessage(EditorTextState& state, WPARAM wParam, LPARAM lParam) {
    Bound bound(state);
    const TextRange range = GetEditSelection(state.adapter, bound.model);
    if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(range.start);
    if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(range.end);
    // As an edit control: -1 when either end does not fit in 16 bits.
    if (range.start > 0xFFFF || range.end > 0xFFFF) return -1;
    return PackWords(static_cast<long long>(range.start), static_cast<long long>(range.end));
}

LRESULT PositionFromCharMessage(EditorTextState& state, WPARAM wParam) {
    const auto index = static_cast<long long>(static_cast<int>(wParam));
    const std::size_t length = EditorTextLength(state);
    if (index < 0 || static_cast<std::size_t>(index) > length) return -1;
    const std::size_t position = EditorPositionFromIndex(state, static_cast<std::size_t>(index));
    const LRESULT x = Forward(state, SCI_POINTXFROMPOSITION, 0, static_cast<LPARAM>(position));
    const LRESULT y = Forward(state, SCI_POINTYFROMPOSITION, 0, static_cast<LPARAM>(position));
    return PackWords(x, y);
}

LRESULT CharFromPositionMessage(EditorTextState& state, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const LRESULT position = Forward(state, SCI_CHARPOSITIONFROMPOINT, static_cast<WPARAM>(x), y);
    const std::size_t bytePosition = position > 0 ? static_cast<std::size_t>(position) : 0;
    const LRESULT line = Forward(state, SCI_LINEFROMPOSITION, bytePosition);
    return PackWords(static_cast<long long>(EditorIndexFromPosition(state, bytePosition)), line);
}

LRESULT CALLBACK AdapterSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data) {
    auto* state = reinterpret_cast<EditorTextState*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, AdapterSubclassProc, id);
    } else if (state != nullptr && state->editor == hwnd) {
        LRESULT result = 0;
        if (AnswerEditMessage(*state, message, wParam, lParam, &result)) return result;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool AnswerEditMessage(EditorTextState& state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_SETTEXT: {
        Bound bound(state);
        // The component empties the document and then inserts: one step.
        const bool record = !state.history.loading && !state.history.applying;
        if (record) BeforeEdit(bound.context);
        SetEditText(state.adapter, bound.model, StringParameter(lParam));
        if (record) AfterEdit(bound.context, true);
        *result = TRUE;
        return true;
    }
    case WM_GETTEXT: {
        Bound bound(state);
        *result = static_cast<LRESULT>(
            CopyEditText(state.adapter, bound.model, reinterpret_cast<char16_t*>(lParam), static_cast<std::size_t>(wParam)));
        return true;
    }
    case WM_GETTEXTLENGTH:
        *result = static_cast<LRESULT>(EditorTextLength(state));
        return true;
    case EM_GETSEL:
        *result = GetSelectionMessage(state, wParam, lParam);
        return true;
    case EM_SETSEL: {
        Bound bound(state);
        SetEditSelection(state.adapter, bound.model, static_cast<int>(wParam), static_cast<int>(lParam));
        *result = 0;
        return true;
    }
    case EM_REPLACESEL: {
        Bound bound(state);
        ReplaceEditSelection(bound.model, StringParameter(lParam));
        *result = 0;
        return true;
    }
    case EM_LINEFROMCHAR: {
        Bound bound(state);
        *result = static_cast<LRESULT>(EditLineFromChar(state.adapter, bound.model, static_cast<int>(wParam)));
        return true;
    }
    case EM_LINEINDEX: {
        Bound bound(state);
        *result = static_cast<LRESULT>(EditLineIndex(state.adapter, bound.model, static_cast<int>(wParam)));
        return true;
    }
    case EM_GETLINECOUNT:
        *result = Forward(state, SCI_GETLINECOUNT);
        return true;
    case EM_GETFIRSTVISIBLELINE:
        *result = Forward(state, SCI_GETFIRSTVISIBLELINE);
        return true;
    case EM_LINESCROLL:
        Forward(state, SCI_LINESCROLL, wParam, lParam);
        *result = TRUE;
        return true;
    case EM_SCROLLCARET:
        Forward(state, SCI_SCROLLCARET);
        *result = TRUE;
        return true;
    case EM_SETREADONLY:
        Forward(state, SCI_SETREADONLY, wParam != 0 ? 1 : 0);
        *result = TRUE;
        return true;
    case EM_POSFROMCHAR:
        *result = PositionFromCharMessage(state, wParam);
        return true;
    case EM_CHARFROMPOS:
        *result = CharFromPositionMessage(state, lParam);
        return true;
    case EM_SETRECT:
    case EM_SETRECTNP:
    case EM_LIMITTEXT:
        *result = 0;
        return true;
    default:
        return false;
    }
}

bool AttachTextAdapter(EditorTextState& state) {
    return state.editor != nullptr &&
           ::SetWindowSubclass(state.editor, AdapterSubclassProc, kAdapterSubclassId,
                               reinterpret_cast<DWORD_PTR>(&state)) != FALSE;
}

void DetachTextAdapter(EditorTextState& state) {
    if (state.editor != nullptr) ::RemoveWindowSubclass(state.editor, AdapterSubclassProc, kAdapterSubclassId);
}

const std::u16string& ReadEditorText(EditorTextState& state) {
    Bound bound(state);
    return ReadText(state.adapter, bound.model);
}

std::string ReadEditorBytes(EditorTextState& state, std::size_t start, std::size_t end) {
    Bound bound(state);
    return CurrentText(state.adapter, bound.model).ByteRange(start, end);
}

std::size_t EditorByteLength(EditorTextState& state) {
    Bound bound(state);
    return CurrentText(state.adapter, bound.model).ByteLength();
}

std::size_t EditorTextLength(EditorTextState& state) {
    Bound bound(state);
    return EditTextLength(state.adapter, bound.model);
}

std::size_t EditorIndexFromPosition(EditorTextState& state, std::size_t bytePosition) {
    Bound bound(state);
    return ToIndex(state.adapter, bound.model, bytePosition);
}

std::size_t EditorPositionFromIndex(EditorTextState& state, std::size_t index) {
    Bound bound(state);
    return ToBytePosition(state.adapter, bound.model, index);
}

bool OnScintillaModified(EditorTextState& state, const SCNotification& notification) {
    if (notification.nmhdr.hwndFrom != state.editor) return false;
    const std::optional<TextModification> change = TextModificationOf(notification);
    if (!change) return false;
    if (change->linesAdded != 0 && state.hooks.linesShifted) {
        const LRESULT line = Forward(state, SCI_LINEFROMPOSITION, change->position);
        state.hooks.linesShifted(static_cast<long long>(line), change->linesAdded);
    }
    Bound bound(state);
    OnComponentModified(bound.context, *change);
    return true;
}

void OnDocumentChanged(EditorTextState& state) {
    Bound bound(state);
    OnDocumentChanged(bound.context);
}

void LoadEditorText(EditorTextState& state, std::u16string_view text) {
    LoadEditorBytes(state, Utf16ToUtf8(text));
}

void LoadEditorBytes(EditorTextState& state, std::string bytes) {
    // The caches take the bytes whole below; patching them with the
    // component's insertion first would copy a large memo twice.
    BumpTextVersion(state.adapter);
    {
        HistoryLoadingScope loading(state.history);
        SetEditorBytes(state.editor, bytes);
    }
    if (state.hooks.marginTextsCleared) state.hooks.marginTextsCleared();
    Bound bound(state);
    ResetHistory(bound.context, std::move(bytes));
}

void CaptureBeforeUserEdit(EditorTextState& state) {
    Bound bound(state);
    CaptureBeforeUserEdit(bound.context);
}

void EndCapture(EditorTextState& state) {
    EndCapture(state.history);
}

void BeforeEdit(EditorTextState& state) {
    Bound bound(state);
    BeforeEdit(bound.context);
}

void AfterEdit(EditorTextState& state, bool recomputeMarks) {
    Bound bound(state);
    AfterEdit(bound.context, recomputeMarks);
}

void ApplyTextEdit(EditorTextState& state, const TextEdit& edit, bool recomputeMarks) {
    Bound bound(state);
    ApplyTextEdit(bound.context, edit, recomputeMarks);
}

bool Undo(EditorTextState& state) {
    Bound bound(state);
    return Undo(bound.context);
}

bool Redo(EditorTextState& state) {
    Bound bound(state);
    return Redo(bound.context);
}

bool CanUndo(const EditorTextState& state) {
    return CanUndo(state.history);
}

bool CanRedo(const EditorTextState& state) {
    return CanRedo(state.history);
}

bool HasLastEdit(EditorTextState& state) {
    Bound bound(state);
    return HasLastEdit(bound.context);
}

void GoToLastEdit(EditorTextState& state) {
    Bound bound(state);
    GoToLastEdit(bound.context);
}

void ResetHistory(EditorTextState& state) {
    Bound bound(state);
    ResetHistory(bound.context);
}

void BeginComposition(EditorTextState& state) {
    Bound bound(state);
    BeginComposition(bound.context);
}

void EndComposition(EditorTextState& state) {
    Bound bound(state);
    EndComposition(bound.context);
}

void MarkLineChanged(EditorTextState& state, std::size_t line) {
    Bound bound(state);
    MarkLineChanged(bound.context, line);
}

void MarkRangeChanged(EditorTextState& state, std::size_t startIndex, std::size_t endIndex) {
    Bound bound(state);
    MarkRangeChanged(bound.context, startIndex, endIndex);
}

void ClearMarks(EditorTextState& state) {
    Bound bound(state);
    ClearMarks(bound.context);
}

}  // namespace quillpane

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
std::u16string_view StringParameter(LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char16_t*>(text), std::wcslen(text)};
}

// Edit controls pack two 16-bit values.
LRESULT PackWords(long long low, long long high) {
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}

LRESULT GetSelectionMessage(EditorTextState& state, WPARAM wParam, LPARAM lParam) {
    const TextRange range = GetEditSelection(state.adapter, state.model);
    if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(range.start);
    if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(range.end);
    // As an edit control: -1 when either end does not fit in 16 bits.
    if (range.start > 0xFFFF || range.end > 0xFFFF) return -1;
    return PackWords(static_cast<long long>(range.start), static_cast<long long>(range.end));
}

LRESULT PositionFromCharMessage(EditorTextState& state, WPARAM wParam) {
    const auto index = static_cast<long long>(static_cast<int>(wParam));
    const std::size_t length = EditTextLength(state.adapter, state.model);
    if (index < 0 || static_cast<std::size_t>(index) > length) return -1;
    const std::size_t position = ToBytePosition(state.adapter, state.model, static_cast<std::size_t>(index));
    const LRESULT x = state.model.Sci().PointXFromPosition(static_cast<Scintilla::Position>(position));
    const LRESULT y = state.model.Sci().PointYFromPosition(static_cast<Scintilla::Position>(position));
    return PackWords(x, y);
}

LRESULT CharFromPositionMessage(EditorTextState& state, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const LRESULT position = state.model.Sci().CharPositionFromPoint(x, y);
    const std::size_t bytePosition = position > 0 ? static_cast<std::size_t>(position) : 0;
    const LRESULT line = state.model.Sci().LineFromPosition(static_cast<Scintilla::Position>(bytePosition));
    return PackWords(static_cast<long long>(ToIndex(state.adapter, state.model, bytePosition)), line);
}

LRESULT CALLBACK AdapterSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data) {
    auto* state = reinterpret_cast<EditorTextState*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, AdapterSubclassProc, id);
    } else if (state != nullptr && state->model.Window() == hwnd) {
        try {
            LRESULT result = 0;
            if (AnswerEditMessage(*state, message, wParam, lParam, &result)) return result;
        } catch (const Scintilla::Failure&) {
            return 0;
        }
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool AnswerEditMessage(EditorTextState& state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_SETTEXT: {
            // The component empties the document and then inserts: one step.
        const bool record = !state.history.loading && !state.history.applying;
        if (record) BeforeEdit(ContextOf(state));
        SetEditText(state.adapter, state.model, StringParameter(lParam));
        if (record) AfterEdit(ContextOf(state), true);
        *result = TRUE;
        return true;
    }
    case WM_GETTEXT: {
            *result = static_cast<LRESULT>(
            CopyEditText(state.adapter, state.model, reinterpret_cast<char16_t*>(lParam),
                         static_cast<std::size_t>(wParam)));
        return true;
    }
    case WM_GETTEXTLENGTH:
        *result = static_cast<LRESULT>(EditTextLength(state.adapter, state.model));
        return true;
    case EM_GETSEL:
        *result = GetSelectionMessage(state, wParam, lParam);
        return true;
    case EM_SETSEL: {
            SetEditSelection(state.adapter, state.model, static_cast<int>(wParam), static_cast<int>(lParam));
        *result = 0;
        return true;
    }
    case EM_REPLACESEL: {
            ReplaceEditSelection(state.model, StringParameter(lParam));
        *result = 0;
        return true;
    }
    case EM_LINEFROMCHAR: {
            *result = static_cast<LRESULT>(EditLineFromChar(state.adapter, state.model, static_cast<int>(wParam)));
        return true;
    }
    case EM_LINEINDEX: {
            *result = static_cast<LRESULT>(EditLineIndex(state.adapter, state.model, static_cast<int>(wParam)));
        return true;
    }
    case EM_GETLINECOUNT:
        *result = static_cast<LRESULT>(state.model.LineCount());
        return true;
    case EM_GETFIRSTVISIBLELINE:
        *result = static_cast<LRESULT>(state.model.Sci().FirstVisibleLine());
        return true;
    case EM_LINESCROLL:
        state.model.Sci().LineScroll(static_cast<Scintilla::Position>(wParam), static_cast<Scintilla::Line>(lParam));
        *result = TRUE;
        return true;
    case EM_SCROLLCARET:
        state.model.ScrollCaret();
        *result = TRUE;
        return true;
    case EM_SETREADONLY:
        state.model.Sci().SetReadOnly(wParam != 0);
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
    return state.model.Window() != nullptr &&
           ::SetWindowSubclass(state.model.Window(), AdapterSubclassProc, kAdapterSubclassId,
                               reinterpret_cast<DWORD_PTR>(&state)) != FALSE;
}

void DetachTextAdapter(EditorTextState& state) {
    HWND editor = state.model.Window();
    if (editor != nullptr) ::RemoveWindowSubclass(editor, AdapterSubclassProc, kAdapterSubclassId);
}

bool OnScintillaModified(EditorTextState& state, const SCNotification& notification) {
    if (notification.nmhdr.hwndFrom != state.model.Window()) return false;
    const std::optional<TextModification> change = TextModificationOf(notification);
    if (!change) return false;
    if (change->linesAdded != 0 && state.hooks.linesShifted) {
        const LRESULT line = state.model.Sci().LineFromPosition(static_cast<Scintilla::Position>(change->position));
        state.hooks.linesShifted(static_cast<long long>(line), change->linesAdded);
    }
    OnComponentModified(ContextOf(state), *change);
    return true;
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
        SetEditorBytes(state.model.Sci(), bytes);
    }
    if (state.hooks.marginTextsCleared) state.hooks.marginTextsCleared();
    ResetHistory(ContextOf(state), std::move(bytes));
}

}  // namespace quillpane

// The Scintilla window that holds the memo, and whole-text access to it.
#include "editor/editor_host_win.h"

#include "platform/utf_convert.h"

#include <Scintilla.h>

#include <string>

namespace quillpane {
namespace {

LRESULT Call(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(editor, message, wParam, lParam);
}

}  // namespace

bool RegisterEditorClass(HINSTANCE instance) {
    return Scintilla_RegisterClasses(instance) != 0;
}

HWND CreateEditor(HWND parent, HINSTANCE instance, const RECT& bounds) {
    HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left,
                                    bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)), instance, nullptr);
    if (editor == nullptr) return nullptr;
    Call(editor, SCI_SETCODEPAGE, SC_CP_UTF8);
    Call(editor, SCI_SETEOLMODE, SC_EOL_CRLF);
    Call(editor, SCI_SETUNDOCOLLECTION, 0);
    Call(editor, SCI_EMPTYUNDOBUFFER);
    return editor;
}

std::u16string GetEditorText(HWND editor) {
    const auto length = static_cast<std::size_t>(Call(editor, SCI_GETLENGTH));
    std::string bytes(length + 1, '\0');
    Call(editor, SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(bytes.data()));
    bytes.resize(length);
    return Utf8ToUtf16Lenient(bytes);
}

void SetEditorText(HWND editor, std::u16string_view text) {
    const std::string bytes = Utf16ToUtf8(text);
    const bool readOnly = IsEditorReadOnly(editor);
    if (readOnly) Call(editor, SCI_SETREADONLY, 0);
    Call(editor, SCI_CLEARALL);
    if (!bytes.empty()) Call(editor, SCI_APPENDTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
    Call(editor, SCI_EMPTYUNDOBUFFER);
    Call(editor, SCI_GOTOPOS, 0);
    if (readOnly) Call(editor, SCI_SETREADONLY, 1);
}

void SetEditorReadOnly(HWND editor, bool readOnly) {
    Call(editor, SCI_SETREADONLY, readOnly ? 1 : 0);
}

bool IsEditorReadOnly(HWND editor) {
    return Call(editor, SCI_GETREADONLY) != 0;
}

}  // namespace quillpane

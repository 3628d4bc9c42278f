// The text adapter and the edit history against a real Scintilla window,
// wired as the panel wires them (SCN_MODIFIED, then the document change).
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"

#include <windows.h>

#include <Scintilla.h>

#include <gtest/gtest.h>

namespace quillpane {
namespace {

constexpr wchar_t kParentClass[] = L"QuillpaneHistoryTestParent";

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* state = reinterpret_cast<EditorTextState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* notification = reinterpret_cast<const SCNotification*>(lParam);
        if (state != nullptr && notification->nmhdr.code == SCN_MODIFIED &&
            OnScintillaModified(*state, *notification)) {
            OnDocumentChanged(ContextOf(*state));
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class EditorWindow {
public:
    explicit EditorWindow(std::u16string_view text) {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        EXPECT_TRUE(RegisterEditorClass(instance));
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kParentClass;
        ::RegisterClassExW(&windowClass);
        parent_ = ::CreateWindowExW(0, kParentClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                    instance, nullptr);
        ::SetWindowLongPtrW(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
        const RECT bounds {0, 0, 580, 360};
        // Only the settings the memo's text relies on: UTF-8, CR LF, the
        // component's own undo off.
        HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent_, nullptr,
                                        instance, nullptr);
        EXPECT_NE(editor, nullptr);
        AttachCallObject(sci, editor);
        sci.SetCodePage(SC_CP_UTF8);
        sci.SetEOLMode(Scintilla::EndOfLine::CrLf);
        sci.SetUndoCollection(false);
        state.model.Bind(editor, &sci);
        Send(SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
        Send(SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION);
        Send(SCI_SETMULTIPLESELECTION, 1);
        Send(SCI_SETADDITIONALSELECTIONTYPING, 1);
        EXPECT_TRUE(AttachTextAdapter(state));
        LoadEditorText(state, text);
    }
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;
    ~EditorWindow() { ::DestroyWindow(parent_); }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(state.model.Window(), message, wParam, lParam);
    }
    // One typed character, as the editor procedure passes it on.
    void Type(char16_t character) {
        CaptureBeforeUserEdit(ContextOf(state));
        Send(WM_CHAR, character, 1);
    }
    void Type(std::u16string_view text) {
        for (const char16_t c : text) Type(c);
    }
    // The text as the component holds it, read past the adapter.
    std::u16string ComponentText() { return GetEditorText(sci); }
    std::size_t Caret() { return static_cast<std::size_t>(Send(SCI_GETCURRENTPOS)); }

    Scintilla::ScintillaCall sci;
    EditorTextState state;

private:
    HWND parent_ = nullptr;
};

std::size_t UndoAll(EditorTextState& state) {
    std::size_t steps = 0;
    while (Undo(ContextOf(state))) ++steps;
    return steps;
}

TEST(EditHistoryWin, ThreeTypedCharactersAreThreeSteps) {
    EditorWindow w(u"x");
    w.Send(SCI_GOTOPOS, 1);
    w.Type(u"abc");
    ASSERT_EQ(w.ComponentText(), u"xabc");
    EXPECT_EQ(ReadText(w.state.adapter, w.state.model), u"xabc");
    EXPECT_EQ(w.state.history.undoStack.size(), 3u);
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"xab");
    EXPECT_EQ(w.Caret(), 3u);
    EXPECT_EQ(UndoAll(w.state), 2u);
    EXPECT_EQ(w.ComponentText(), u"x");
    EXPECT_EQ(w.Caret(), 1u);
}

TEST(EditHistoryWin, ANewEditAfterUndoEmptiesRedo) {
    EditorWindow w(u"");
    w.Type(u"ab");
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_TRUE(CanRedo(w.state.history));
    w.Type(u"z");
    EXPECT_FALSE(CanRedo(w.state.history));
    EXPECT_EQ(w.ComponentText(), u"az");
}

TEST(EditHistoryWin, CommittedCompositionIsOneStepAndACancelledOneNone) {
    EditorWindow w(u"a");
    w.Send(SCI_GOTOPOS, 1);
    CaptureBeforeUserEdit(ContextOf(w.state));
    BeginComposition(ContextOf(w.state));
    w.Send(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>("k"));
    w.Send(SCI_SETSEL, 1, 2);
    w.Send(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>("\xE3\x81\x8B"));
    EndComposition(ContextOf(w.state));
    EXPECT_EQ(w.ComponentText(), u"a\u304B");
    EXPECT_EQ(w.state.history.undoStack.size(), 1u);

    BeginComposition(ContextOf(w.state));
    w.Send(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>("k"));
    w.Send(SCI_SETSEL, 4, 5);
    w.Send(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
    EndComposition(ContextOf(w.state));
    EXPECT_EQ(w.state.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"a");
}

TEST(EditHistoryWin, UndoOfALineMoveRestoresTheTextInOneStepWithTheCaretAtTheBlockStart) {
    EditorWindow w(u"one\r\nab\r\nac\r\nend");
    w.Send(SCI_SETSEL, 5, 9);
    ApplyTextEdit(ContextOf(w.state), {{5, 13}, u"ac\r\nab\r\n", {9, 13}}, true);
    ASSERT_EQ(w.ComponentText(), u"one\r\nac\r\nab\r\nend");
    EXPECT_EQ(w.state.history.marks, (LineMarks {0, 0, 0, 0}));  // moved, not edited
    ASSERT_EQ(w.state.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"one\r\nab\r\nac\r\nend");
    EXPECT_EQ(w.Caret(), 5u);
    EXPECT_EQ(w.Send(SCI_GETSELECTIONEMPTY), 1);
}

TEST(EditHistoryWin, MovingLinesKeepsTheirMarks) {
    EditorWindow w(u"a\r\nb\r\nc");
    w.Send(SCI_GOTOPOS, 1);
    w.Type(u"1");
    ASSERT_EQ(w.state.history.marks, (LineMarks {1, 0, 0}));
    ApplyTextEdit(ContextOf(w.state), {{0, 7}, u"b\r\na1\r\n", {3, 7}}, true);
    EXPECT_EQ(w.state.history.marks, (LineMarks {0, 1, 0}));
}

TEST(EditHistoryWin, OnlyTheLatest128StepsCanBeUndone) {
    EditorWindow w(u"");
    w.Type(u'A');
    for (int i = 0; i < 128; ++i) w.Type(u'b');
    EXPECT_EQ(UndoAll(w.state), 128u);
    EXPECT_EQ(w.ComponentText(), u"A");
}

TEST(EditHistoryWin, RectangularTypingIsUndoneWithItsRectangleRestored) {
    EditorWindow w(u"abc\r\ndef\r\nghi");
    w.Send(SCI_SETRECTANGULARSELECTIONANCHOR, 1);
    w.Send(SCI_SETRECTANGULARSELECTIONCARET, 11);
    ASSERT_EQ(w.Send(SCI_GETSELECTIONMODE), SC_SEL_RECTANGLE);
    BeforeEdit(ContextOf(w.state));
    w.Send(WM_CHAR, u'X', 1);
    MarkRangeChanged(ContextOf(w.state), 0, ReadText(w.state.adapter, w.state.model).size());
    AfterEdit(ContextOf(w.state), false);
    ASSERT_EQ(w.ComponentText(), u"aXbc\r\ndXef\r\ngXhi");
    EXPECT_EQ(w.Send(SCI_GETSELECTIONMODE), SC_SEL_THIN);

    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"abc\r\ndef\r\nghi");
    EXPECT_EQ(w.Send(SCI_GETSELECTIONMODE), SC_SEL_RECTANGLE);
    EXPECT_EQ(w.Send(SCI_GETRECTANGULARSELECTIONANCHOR), 1);
    EXPECT_EQ(w.Send(SCI_GETRECTANGULARSELECTIONCARET), 11);
    EXPECT_EQ(w.Send(SCI_GETSELECTIONS), 3);

    ASSERT_TRUE(Redo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"aXbc\r\ndXef\r\ngXhi");
    EXPECT_EQ(w.Send(SCI_GETSELECTIONMODE), SC_SEL_THIN);
    // Thin again without caret moves extending it.
    w.Send(SCI_CHARRIGHT);
    EXPECT_EQ(w.Send(SCI_GETSELECTIONEMPTY), 1);
}

TEST(EditHistoryWin, TypingIntoSeveralSelectionsIsUndoneToOneCaret) {
    EditorWindow w(u"ab\r\ncd");
    w.Send(SCI_SETSELECTION, 1, 1);
    w.Send(SCI_ADDSELECTION, 5, 5);
    BeforeEdit(ContextOf(w.state));
    w.Send(WM_CHAR, u'-', 1);
    AfterEdit(ContextOf(w.state), false);
    ASSERT_EQ(w.ComponentText(), u"a-b\r\nc-d");
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"ab\r\ncd");
    EXPECT_EQ(w.Send(SCI_GETSELECTIONS), 1);
}

TEST(EditHistoryWin, UndoKeepsNulCharactersOfTheMemo) {
    const std::u16string text(u"a\0b\0c", 5);
    EditorWindow w(text);
    w.Send(SCI_SETSEL, 0, 5);
    BeforeEdit(ContextOf(w.state));
    w.Send(WM_CHAR, u'Z', 1);
    AfterEdit(ContextOf(w.state), false);
    ASSERT_EQ(w.ComponentText(), u"Z");
    ASSERT_TRUE(Undo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), text);
    EXPECT_EQ(ReadText(w.state.adapter, w.state.model), text);
    ASSERT_TRUE(Redo(ContextOf(w.state)));
    EXPECT_EQ(w.ComponentText(), u"Z");
}

TEST(TextAdapterWin, EditMessagesCountInUtf16) {
    // "A", CJK, emoji, CR LF, "e" acute, "z": bytes 0 1 4 7 11 12 13 15 16.
    EditorWindow w(u"A\u65E5\u672C\U0001F600\r\n\u00E9z");
    HWND editor = w.state.model.Window();
    EXPECT_EQ(::GetWindowTextLengthW(editor), 9);
    wchar_t buffer[32] {};
    EXPECT_EQ(::GetWindowTextW(editor, buffer, 4), 3);
    EXPECT_EQ(FromWide(buffer), u"A\u65E5\u672C");

    w.Send(EM_SETSEL, 3, 8);
    EXPECT_EQ(w.Send(SCI_GETANCHOR), 7);
    EXPECT_EQ(w.Send(SCI_GETCURRENTPOS), 15);
    DWORD start = 0;
    DWORD end = 0;
    EXPECT_EQ(w.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)), MAKELONG(3, 8));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 8u);
    w.Send(EM_SETSEL, 4, 4);  // inside the pair: back to its start
    EXPECT_EQ(w.Send(SCI_GETCURRENTPOS), 7);
    w.Send(EM_SETSEL, 0, static_cast<LPARAM>(-1));
    EXPECT_EQ(w.Send(SCI_GETCURRENTPOS), 16);
    w.Send(EM_SETSEL, 2, 2);
    w.Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(w.Send(SCI_GETCURRENTPOS), 4);

    EXPECT_EQ(w.Send(EM_LINEFROMCHAR, 7), 1);
    EXPECT_EQ(w.Send(EM_LINEINDEX, 1), 7);
    EXPECT_EQ(w.Send(EM_LINEINDEX, 2), -1);
    EXPECT_EQ(w.Send(EM_GETLINECOUNT), 2);

    w.Send(EM_SETSEL, 7, 7);
    w.Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u00FC\U0001F601"));
    EXPECT_EQ(ReadText(w.state.adapter, w.state.model), u"A\u65E5\u672C\U0001F600\r\n\u00FC\U0001F601\u00E9z");
    EXPECT_EQ(w.ComponentText(), ReadText(w.state.adapter, w.state.model));

    ASSERT_TRUE(::SetWindowTextW(editor, L"\u4E2D\r\nx"));
    EXPECT_EQ(w.ComponentText(), u"\u4E2D\r\nx");
    EXPECT_EQ(w.Send(EM_LINEINDEX, 1), 3);
    EXPECT_EQ(w.Send(EM_POSFROMCHAR, 99), -1);
    EXPECT_NE(w.Send(EM_POSFROMCHAR, 3), -1);
}

}  // namespace
}  // namespace quillpane

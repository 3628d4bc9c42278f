// The search dialog as a user meets it: marks, finds, replaces, the message
// under the box, the history on disk and in its list, and what Ctrl+F takes.
#include "e2e_fixture.h"

#include <string>
#include <thread>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr unsigned kSciIndicatorValueAt = 2507;
constexpr wchar_t kDialogClass[] = L"Quillpn.SearchDialog";

class Search : public AppScenario {
protected:
    void StartShown(const std::string& config, const std::string& memo) {
        StartShownInEditor(config, memo, editor_);
    }

    // Ctrl+F (or Ctrl+H) in the editor, and the dialog's controls.
    void OpenDialog(bool replace = false) {
        PressKey(replace ? 'H' : 'F', true);
        dialog_ = WaitForTopWindow(kDialogClass, app_.ProcessId(), 5s);
        ASSERT_NE(dialog_, nullptr);
        search_ = ::FindWindowExW(dialog_, nullptr, L"Edit", nullptr);
        replace_ = ::FindWindowExW(dialog_, search_, L"Edit", nullptr);
        ASSERT_NE(search_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(dialog_) != FALSE; }, 3s));
    }

    // Replaces the search box's text by typing.
    void TypeTerm(const std::wstring& term) {
        PressKey('A', true);
        TypeText(term);
        ASSERT_TRUE(WaitUntil([&] { return ControlText(search_) == term; }, 3s)) << ControlText(search_);
    }

    bool Marked(int indicator, int position) const {
        return ::SendMessageW(editor_, kSciIndicatorValueAt, static_cast<WPARAM>(indicator), position) != 0;
    }
    std::pair<int, int> Selection() const {
        const auto sel = static_cast<DWORD>(::SendMessageW(editor_, EM_GETSEL, 0, 0));
        return {LOWORD(sel), HIWORD(sel)};
    }
    // The message under the search box, while it is shown.
    std::wstring Tip() const {
        for (HWND tip : TopWindows(L"tooltips_class32", app_.ProcessId())) {
            if (::GetWindow(tip, GW_OWNER) == dialog_) return ::IsWindowVisible(tip) ? ControlText(tip) : L"";
        }
        return {};
    }
    std::string MemoOnDisk() const { return ReadFileBytes(ProgramFile(L"Note.txt")).value_or("<unreadable>"); }

    HWND editor_ = nullptr;
    HWND dialog_ = nullptr;
    HWND search_ = nullptr;
    HWND replace_ = nullptr;
};

TEST_F(Search, FindsWithoutWrapReplacesAllAsOneStepAndRemembersItsWidth) {
    StartShown("[UI]\r\nTheme=Light\r\n", std::string(kBom) + "aaaa");
    ::SendMessageW(editor_, EM_SETSEL, 0, 0);
    OpenDialog();
    TypeTerm(L"aa");
    // Both non-overlapping matches are marked while typing; the selection stays.
    EXPECT_TRUE(WaitUntil([&] { return Marked(0, 0) && Marked(0, 2) && Marked(0, 3); }, 3s));
    EXPECT_EQ(Selection(), std::make_pair(0, 0));

    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Selection() == std::make_pair(0, 2); }, 3s));
    EXPECT_TRUE(Marked(1, 0) && !Marked(1, 2) && Marked(0, 2)) << "the current match is marked apart";
    PressKey(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return Selection() == std::make_pair(2, 4); }, 3s));
    // Past the last match: no wrap, the selection stays and the box says so.
    PressKey(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return Tip() == L"Not found"; }, 3s)) << Tip();
    EXPECT_EQ(Selection(), std::make_pair(2, 4));
    Screenshot("light-not-found");
    EXPECT_TRUE(WaitUntil([&] { return Tip().empty(); }, 5s)) << "the message goes after three seconds";

    // Ctrl+H with a term shows the replace row and puts the focus in its box.
    PressKey('H', true);
    ASSERT_NE(replace_, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(replace_) != FALSE; }, 3s));
    TypeText(L"b");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(replace_) == L"b"; }, 3s)) << "typed into the replace box";
    const HWND replaceAll = ::FindWindowExW(dialog_, nullptr, L"Button", L"Replace All");
    ASSERT_NE(replaceAll, nullptr);
    const RECT button = WindowRect(replaceAll);
    ClickAt((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"bb"; }, 3s)) << ControlText(editor_);
    EXPECT_TRUE(WaitUntil([&] { return Tip() == L"2 occurrences replaced"; }, 3s)) << Tip();
    EXPECT_TRUE(WaitUntil([&] { return MemoOnDisk() == std::string(kBom) + "bb"; }, 6s)) << MemoOnDisk();
    Screenshot("light-replaced");

    // The right edge widens the dialog, and the width is kept.
    const RECT before = WindowRect(dialog_);
    const int middle = (before.top + before.bottom) / 2;
    DragMouse({before.right - 2, middle}, {before.right + 58, middle}, 100ms);
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(dialog_).right - WindowRect(dialog_).left > before.right - before.left; },
                          3s));
    const RECT after = WindowRect(dialog_);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "the height is fixed";
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Search", L"DialogWidth") == std::to_wstring(after.right - after.left); },
                          3s));

    // Esc closes the dialog; one Ctrl+Z in the editor restores the text.
    ::SetForegroundWindow(dialog_);
    ClickAt(after.left + 20, after.top + 4);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindow(dialog_) == FALSE; }, 3s));
    EXPECT_TRUE(::IsWindowVisible(panel_));
    PressKey('Z', true);
    EXPECT_TRUE(WaitUntil([&] { return MemoOnDisk() == std::string(kBom) + "aaaa"; }, 6s)) << MemoOnDisk();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Search, CapsMarksTakesTheSelectionOrWordAndKeepsEightTerms) {
    // 300 characters on one line, then 6000 occurrences of x.
    std::string longLine;
    for (int i = 0; i < 49; ++i) longLine += "alpha ";
    longLine += "omegas";
    std::string many;
    for (int i = 0; i < 6000; ++i) many += "x ";
    const std::string memo = std::string(kBom) + "quick brown fox\r\n" + longLine + "\r\n" + many;
    SetSystemDpi(144);
    StartShown("[UI]\r\nTheme=Dark\r\n", memo);

    // A double-click marks the word it selects and keeps it as a term; one
    // past a line's end takes the marks away.
    const POINT brown = EditorPointOnScreen(editor_, 8);
    DoubleClickAt(brown.x, brown.y);
    EXPECT_TRUE(WaitUntil([&] { return Marked(1, 6); }, 3s)) << "the word is not marked";
    EXPECT_EQ(Selection(), std::make_pair(6, 11));
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Search", L"History0") == L"brown"; }, 3s));
    Screenshot("dark-double-click");
    const POINT lineEnd = EditorPointOnScreen(editor_, 15, 60);
    DoubleClickAt(lineEnd.x, lineEnd.y);
    EXPECT_TRUE(WaitUntil([&] { return !Marked(1, 6) && !Marked(0, 6); }, 3s)) << "the marks stayed";

    // Ctrl+F takes a selection; a 299-character one gives the word at the caret.
    ::SendMessageW(editor_, EM_SETSEL, 0, 5);
    OpenDialog();
    EXPECT_EQ(ControlText(search_), L"quick");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindow(dialog_) == FALSE; }, 3s));
    const int lineStart = 17;
    ::SendMessageW(editor_, EM_SETSEL, lineStart + 300, lineStart + 1);
    OpenDialog();
    EXPECT_EQ(ControlText(search_), L"alpha");

    // 6001 matches ("fox" holds the first): the first 5000 are marked, no more.
    TypeTerm(L"x");
    const int xStart = lineStart + 300 + 2;
    EXPECT_TRUE(WaitUntil([&] { return Marked(0, xStart + 2 * 4998); }, 5s));
    EXPECT_FALSE(Marked(0, xStart + 2 * 4999));
    Screenshot("dark-capped");

    // Nine terms searched: the newest first, the oldest gone.
    const wchar_t* terms[] = {L"one", L"two", L"three", L"four", L"five", L"six", L"seven", L"eight", L"nine"};
    for (const wchar_t* term : terms) {
        TypeTerm(term);
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Search", L"History0") == term; }, 3s)) << term;
    }
    EXPECT_EQ(ReadConfigValue(L"Search", L"History7"), L"two");
    EXPECT_TRUE(WaitUntil([&] { return Tip() == L"Not found"; }, 3s)) << Tip();

    // Down in the empty box opens the list: eight entries, six rows and a scroll bar.
    TypeTerm(L"z");
    PressKey(VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(search_).empty(); }, 3s));
    PressKey(VK_DOWN);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = FindTopWindow(L"ListBox", app_.ProcessId())) != nullptr; }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(list) != FALSE; }, 3s));
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 8);
    EXPECT_NE(::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0);
    Screenshot("dark-history");
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(search_) == L"seven"; }, 3s)) << ControlText(search_);
    EXPECT_FALSE(::IsWindow(list));

    // Two lines pasted: only the first enters the box.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const std::wstring clip = L"first line\r\nsecond line";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (clip.size() + 1) * sizeof(wchar_t));
    ::memcpy(::GlobalLock(memory), clip.c_str(), (clip.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    PressKey('A', true);
    PressKey('V', true);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(search_) == L"first line"; }, 3s)) << ControlText(search_);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e

// The heading list dialog as a user meets it: Ctrl+L, the rows, jumping,
// Cancel, reopening, a folded memo, and the size kept in config.ini.
#include "e2e_fixture.h"

#include "platform/utf_convert.h"
#include "sections/memo_fold.h"
#include "sections/section_list.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kDivider[] = "------------------------------";
constexpr wchar_t kDialogClass[] = L"Quillpn.HeadingListDialog";
constexpr unsigned kHeadingListCommand = 1044;
constexpr unsigned kSciGetLineVisible = 2228;

// "Inbox" and then one memo after a divider per title.
std::string Memo(std::initializer_list<std::string_view> titles) {
    std::string text = "Inbox\r\nquick note\r\n";
    for (const std::string_view title : titles) {
        text.append(kDivider).append("\r\n").append(title).append("\r\nbody\r\n");
    }
    return text;
}

class HeadingList : public AppScenario {
protected:
    void StartShown(const std::string& config, const std::string& memo) {
        StartShownInEditor(config, kBom + memo, editor_);
    }

    // Ctrl+L in the editor, and the dialog's controls.
    void OpenDialog() {
        PressKey('L', true);
        dialog_ = WaitForTopWindow(kDialogClass, app_.ProcessId(), 5s);
        ASSERT_NE(dialog_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(dialog_) != FALSE; }, 3s));
        list_ = ::FindWindowExW(dialog_, nullptr, L"ListBox", nullptr);
        jump_ = ::FindWindowExW(dialog_, nullptr, L"Button", L"Jump");
        cancel_ = ::FindWindowExW(dialog_, nullptr, L"Button", L"Cancel");
        ASSERT_NE(list_, nullptr);
        ASSERT_NE(jump_, nullptr);
        ASSERT_NE(cancel_, nullptr);
    }

    bool Closed() const { return WaitUntil([&] { return ::IsWindow(dialog_) == FALSE; }, 3s); }
    int Rows() const { return static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0)); }
    int Caret() const { return LOWORD(static_cast<DWORD>(::SendMessageW(editor_, EM_GETSEL, 0, 0))); }
    int At(const wchar_t* text) const { return static_cast<int>(ControlText(editor_).find(text)); }
    void PutCaret(int index) const { ::SendMessageW(editor_, EM_SETSEL, index, index); }
    static bool IsDefault(HWND button) {
        return (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }
    static SIZE SizeOf(HWND window) {
        const RECT rect = WindowRect(window);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

    HWND editor_ = nullptr;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    HWND jump_ = nullptr;
    HWND cancel_ = nullptr;
};

TEST_F(HeadingList, ListsTheMemosJumpsCancelsAndRereadsWhenOpenedAgain) {
    StartShown("[UI]\r\nTheme=Light\r\n", Memo({"Shopping list", "Meeting notes", "Ideas"}));
    PutCaret(At(L"body"));  // in "Shopping list"
    OpenDialog();
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Selected(), 1) << "the caret's memo";
    EXPECT_TRUE(IsDefault(jump_));
    EXPECT_TRUE(::IsWindowEnabled(jump_));
    Screenshot("light-open");

    // Down and Enter: the caret on the next memo's title line, the dialog gone.
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 2; }, 3s));
    PressKey(VK_RETURN);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(WaitUntil([&] { return Caret() == At(L"Meeting notes"); }, 3s)) << Caret();
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == panel_; }, 3s)) << "back to the panel";

    // Tab twice to Cancel: it becomes the default button and shows the ring; Enter only closes.
    OpenDialog();
    EXPECT_EQ(Selected(), 2);
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return ::GetPropW(cancel_, L"QpPushFocus") != nullptr; }, 3s));
    EXPECT_TRUE(IsDefault(cancel_));
    EXPECT_FALSE(IsDefault(jump_));
    EXPECT_EQ(::GetPropW(jump_, L"QpPushFocus"), nullptr);
    Screenshot("light-cancel-focused");
    PressKey(VK_RETURN);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Caret(), At(L"Meeting notes"));

    // The command on an open dialog reads the memos again and selects the caret's.
    OpenDialog();
    const HWND first = dialog_;
    PutCaret(At(L"Ideas") + 2);
    ::PostMessageW(panel_, WM_COMMAND, kHeadingListCommand, 0);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 3; }, 3s)) << Selected();
    EXPECT_EQ(FindTopWindow(kDialogClass, app_.ProcessId()), first);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Closed());

    // No memos at all: an empty list and Jump disabled.
    const RECT editor = WindowRect(editor_);
    ClickAt(editor.left + 60, editor.top + 10);
    PressKey('A', true);
    PressKey(VK_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_).empty(); }, 3s));
    OpenDialog();
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(::IsWindowEnabled(jump_));
    PressKey(VK_RETURN);
    EXPECT_TRUE(::IsWindow(dialog_)) << "nothing to jump to";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(HeadingList, At144DpiDarkUnfoldsOnJumpAndKeepsAResizedSize) {
    SetSystemDpi(144);
    const std::string memo = Memo({"Shopping list", "Meeting notes", "Ideas",
                                   "A title long enough to be cut short at the end of its row in the list",
                                   "Books", "Trip plans", "Recipes", "Garden", "Music"});
    // The stored key of the folded "Shopping list".
    const std::u16string text = Utf8ToUtf16Lenient(memo);
    const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, BuildSections(text, MarkerSettings {}, 0));
    ASSERT_TRUE(items.has_value());
    ASSERT_GE(items->size(), 2u);
    const std::string folded = Utf16ToUtf8((*items)[1].key);
    StartShown("[UI]\r\nTheme=Dark\r\n[Editor]\r\nMemoFold=1\r\n[Sidebar]\r\nFolded=" + folded +
                   "\r\n[HeadingList]\r\nDialogWidth=100\r\nDialogHeight=60\r\n",
               memo);
    const int shoppingTitle = 3;  // 0-based line
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciGetLineVisible, shoppingTitle, 0) == 0; }, 5s));
    PutCaret(0);

    OpenDialog();
    EXPECT_EQ(Rows(), 10);
    EXPECT_EQ(Selected(), 0);
    const SIZE least = SizeOf(dialog_);
    EXPECT_EQ(least.cx, 248 * 3 / 2) << "a stored size below the minimum is raised";
    EXPECT_EQ(least.cy, 158 * 3 / 2);
    Screenshot("dark-144-minimum");

    // Jumping into the folded memo unfolds it.
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(editor_, kSciGetLineVisible, shoppingTitle, 0) != 0; }, 3s));
    EXPECT_EQ(Caret(), At(L"Shopping list"));

    // The bottom-right corner sizes it; the size is stored and used next time.
    OpenDialog();
    const RECT before = WindowRect(dialog_);
    DragMouse({before.right - 3, before.bottom - 3}, {before.right + 147, before.bottom + 87}, 100ms);
    EXPECT_TRUE(WaitUntil([&] { return SizeOf(dialog_).cx > least.cx && SizeOf(dialog_).cy > least.cy; }, 3s));
    const SIZE resized = SizeOf(dialog_);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"HeadingList", L"DialogWidth") == std::to_wstring(resized.cx); },
                          3s));
    EXPECT_EQ(ReadConfigValue(L"HeadingList", L"DialogHeight"), std::to_wstring(resized.cy));
    ::SetForegroundWindow(dialog_);
    Screenshot("dark-144-resized");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Closed());
    OpenDialog();
    EXPECT_EQ(SizeOf(dialog_).cx, resized.cx);
    EXPECT_EQ(SizeOf(dialog_).cy, resized.cy);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e

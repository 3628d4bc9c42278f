// The go-to-line dialog as a user meets it: Ctrl+G, a number, Enter; what
// it refuses, what it unfolds, and its keys.
#include "e2e_fixture.h"

#include "platform/utf_convert.h"
#include "sections/memo_fold.h"
#include "sections/section_list.h"

#include <cstring>
#include <string>
#include <thread>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kDivider[] = "------------------------------";
constexpr wchar_t kDialogClass[] = L"Quillpn.GoToLineDialog";
constexpr unsigned kSciGetCurrentPos = 2008;
constexpr unsigned kSciLineFromPosition = 2166;
constexpr unsigned kSciPointXFromPosition = 2164;
constexpr unsigned kSciPositionFromLine = 2167;
constexpr unsigned kSciGetLineVisible = 2228;

class GoToLine : public AppScenario {
protected:
    void StartShown(const std::string& config, const std::string& memo) {
        StartShownInEditor(config, std::string(kBom) + memo, editor_);
    }

    void OpenDialog() {
        PressKey('G', true);
        dialog_ = WaitForTopWindow(kDialogClass, app_.ProcessId(), 5s);
        ASSERT_NE(dialog_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(dialog_) != FALSE; }, 3s));
        field_ = ::FindWindowExW(dialog_, nullptr, L"Edit", nullptr);
        ASSERT_NE(field_, nullptr);
    }

    // Types over the field's text (all of it is selected when the dialog opens).
    void Enter(const std::wstring& text) {
        PressKey('A', true);
        if (text.empty()) {
            PressKey(VK_BACK);
        } else {
            TypeText(text);
        }
        ASSERT_TRUE(WaitUntil([&] { return ControlText(field_) == text; }, 3s)) << ControlText(field_).c_str();
        PressKey(VK_RETURN);
    }

    // Enter left the dialog open with its text (it beeped).
    void ExpectRefused(const std::wstring& text) {
        Enter(text);
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(::IsWindowVisible(dialog_)) << "closed on " << std::string(text.begin(), text.end());
        EXPECT_EQ(ControlText(field_), text);
    }

    bool Closed() const { return ::IsWindow(dialog_) == FALSE; }
    int CaretLine() const {
        const LRESULT caret = ::SendMessageW(editor_, kSciGetCurrentPos, 0, 0);
        return static_cast<int>(::SendMessageW(editor_, kSciLineFromPosition, static_cast<WPARAM>(caret), 0));
    }
    bool LineVisible(int line) const { return ::SendMessageW(editor_, kSciGetLineVisible, line, 0) != 0; }

    HWND editor_ = nullptr;
    HWND dialog_ = nullptr;
    HWND field_ = nullptr;
};

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

TEST_F(GoToLine, JumpsUnfoldsRefusesWhatIsNotALineAndClosesOnEsc) {
    // Nine lines; the second memo (lines 2 to 5) starts folded.
    const std::string memo = std::string("Intro line\r\n") + kDivider + "\r\nShopping list\r\nmilk\r\nbread\r\n" +
                             kDivider + "\r\nTrip plans\r\ntrain at 9\r\n";
    const std::u16string text = Utf8ToUtf16Lenient(memo);
    const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, BuildSections(text, MarkerSettings {}, 0));
    ASSERT_TRUE(items.has_value() && items->size() == 3u);
    const std::string key = Utf16ToUtf8((*items)[1].key);
    StartShown("[UI]\r\nTheme=Light\r\n[Editor]\r\nMemoFold=1\r\n[Sidebar]\r\nFolded=" + key + "\r\n", memo);
    ASSERT_TRUE(WaitUntil([&] { return !LineVisible(4); }, 5s)) << "the memo is not folded";

    OpenDialog();
    EXPECT_EQ(ControlText(field_), L"1") << "the caret's line";
    Screenshot("light-open");
    Enter(L"5");
    EXPECT_TRUE(WaitUntil([&] { return Closed(); }, 3s));
    EXPECT_EQ(CaretLine(), 4);
    EXPECT_TRUE(LineVisible(4)) << "the folded memo opens";

    OpenDialog();
    EXPECT_EQ(ControlText(field_), L"5");
    ExpectRefused(L"10");  // one past the last line
    ExpectRefused(L"99999999999999999999");
    Screenshot("light-refused");
    // A paste enters as it is, up to its line break; the number before the letters counts.
    PutOnClipboard(L"7abc\r\n9");
    PressKey('A', true);
    PressKey('V', true);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(field_) == L"7abc"; }, 3s)) << ControlText(field_).c_str();
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Closed() && CaretLine() == 6; }, 3s)) << CaretLine();

    // An empty field means the first line; Esc closes without moving.
    OpenDialog();
    Enter(L"");
    EXPECT_TRUE(WaitUntil([&] { return Closed() && CaretLine() == 0; }, 3s)) << CaretLine();
    OpenDialog();
    TypeText(L"3");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Closed(); }, 3s));
    EXPECT_EQ(CaretLine(), 0);
    EXPECT_TRUE(::IsWindowVisible(panel_));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(GoToLine, DarkAtHighDpiRefillsWhenOpenedAgainAndTabsToClose) {
    std::string memo;
    for (int line = 1; line <= 40; ++line) memo += "line " + std::to_string(line) + "\r\n";
    SetSystemDpi(144);
    StartShown("[UI]\r\nTheme=Dark\r\n", memo);

    OpenDialog();
    const RECT window = WindowRect(dialog_);
    EXPECT_EQ(window.right - window.left, 330);
    EXPECT_EQ(window.bottom - window.top, 75);
    Enter(L"30");
    EXPECT_TRUE(WaitUntil([&] { return Closed() && CaretLine() == 29; }, 3s)) << CaretLine();

    // Ctrl+G again while it is open puts the caret's line back.
    OpenDialog();
    TypeText(L"12");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(field_) == L"12"; }, 3s));
    PressKey('G', true);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(field_) == L"30"; }, 3s)) << ControlText(field_).c_str();
    PressKey(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(field_).empty(); }, 3s));
    Screenshot("dark-cue");

    // Tab reaches the close button; Space presses it.
    PressKey(VK_TAB);
    const HWND close = ::FindWindowExW(dialog_, nullptr, L"Button", nullptr);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(WindowText(close), L"Close");
    std::this_thread::sleep_for(200ms);
    Screenshot("dark-close-focused");
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return Closed(); }, 3s));
    EXPECT_EQ(CaretLine(), 29);

    // From the status label's position it opens at the editor's bottom, in line with the text.
    const HWND label = FindTopWindow(L"QuillpnCharCountLabel", app_.ProcessId());
    ASSERT_NE(label, nullptr);
    const RECT labelRect = WindowRect(label);
    ClickAt(labelRect.left + 20, (labelRect.top + labelRect.bottom) / 2);
    dialog_ = WaitForTopWindow(kDialogClass, app_.ProcessId(), 5s);
    ASSERT_NE(dialog_, nullptr);
    const LRESULT lineStart = ::SendMessageW(editor_, kSciPositionFromLine, 29, 0);
    POINT text {static_cast<int>(::SendMessageW(editor_, kSciPointXFromPosition, 0, lineStart)), 0};
    ::ClientToScreen(editor_, &text);
    const RECT placed = WindowRect(dialog_);
    EXPECT_EQ(placed.left, text.x);
    EXPECT_EQ(placed.bottom, WindowRect(editor_).bottom - 12);
    Screenshot("dark-at-status-label");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e

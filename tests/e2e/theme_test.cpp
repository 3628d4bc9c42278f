// Light and dark: the theme setting, the live system switch, and how the
// editor looks in each theme, caret style, margin and wrap setting.
#include "e2e_fixture.h"

#include <thread>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr UINT kSciGetCurrentPos = 2008;
constexpr UINT kSciSetCaretPeriod = 2076;
constexpr UINT kSciGetMarginWidthN = 2243;
constexpr UINT kSciGetWrapMode = 2269;
constexpr UINT kSciStyleGetBack = 2482;
constexpr UINT kSciGetCaretStyle = 2513;
constexpr UINT kSciStyleGetSize = 2485;
constexpr UINT kPmZoomStep = WM_APP + 44;
constexpr UINT kPmZoomReset = WM_APP + 45;
constexpr WPARAM kStyleDefault = 32;
constexpr LRESULT kLightBack = 0xFFFFFF;
constexpr LRESULT kDarkBack = 0x1E1E1E;

constexpr char kMemo[] =
    "\xEF\xBB\xBF"
    "Shopping\r\n"
    "- bread, milk, eggs\r\n"
    "- coffee beans (the dark roast)\r\n"
    "\r\n"
    "------------------------------\r\n"
    "Ideas\r\n"
    "A long line that goes on and on so that word wrap has something to fold at the right edge of the panel, "
    "and without wrap the horizontal scroll bar has a reason to be there.\r\n"
    "\tindented with a tab\r\n"
    "Call Alex at 15:30 about https://example.com/plan\r\n"
    "1234567890 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\r\n"
    "last line";

class Theme : public AppScenario {
protected:
    void SetUp() override {
        AppScenario::SetUp();
        WriteMemo(kMemo);
    }

    static void SetSystemLight(bool light) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                    0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD value = light ? 1 : 0;
        ::RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        ::RegCloseKey(key);
    }

    // What Windows does when the user flips the app colour setting.
    static void BroadcastColourSetChange() {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                              SMTO_ABORTIFHUNG, 5000, &result);
    }

    HWND StartShown() {
        Start();
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
        EXPECT_NE(editor_, nullptr);
        return editor_;
    }

    LRESULT Sci(UINT message, WPARAM wParam = 0) const { return ::SendMessageW(editor_, message, wParam, 0); }
    LRESULT Background() const { return Sci(kSciStyleGetBack, kStyleDefault); }
    bool WaitForBackground(LRESULT colour) {
        return WaitUntil([&] { return Background() == colour; }, 5s);
    }

    // Puts the caret into the third line with a click, which also gives the
    // Wine window the keyboard focus.
    void ClickIntoText() {
        const RECT editor = WindowRect(editor_);
        const int lineHeight = (editor.bottom - editor.top) / 20;
        ClickAt(editor.left + (editor.right - editor.left) / 3, editor.top + lineHeight * 2 + lineHeight / 2);
        std::this_thread::sleep_for(400ms);
    }

    HWND editor_ = nullptr;
};

TEST_F(Theme, FollowOsSwitchesLiveWithTheSystemSetting) {
    SetSystemLight(true);
    WriteConfig("[UI]\r\nTheme=FollowOs\r\n");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_EQ(Background(), kLightBack);
    ClickIntoText();
    Screenshot("follow-os-light");

    SetSystemLight(false);
    BroadcastColourSetChange();
    EXPECT_TRUE(WaitForBackground(kDarkBack)) << std::hex << Background();
    EXPECT_TRUE(::IsWindowVisible(panel_));
    std::this_thread::sleep_for(300ms);
    Screenshot("follow-os-switched-dark");

    SetSystemLight(true);
    BroadcastColourSetChange();
    EXPECT_TRUE(WaitForBackground(kLightBack)) << std::hex << Background();
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Theme, ChosenThemeIgnoresTheSystemSwitch) {
    SetSystemLight(true);
    WriteConfig("[UI]\r\nTheme=Dark\r\n");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_EQ(Background(), kDarkBack);
    SetSystemLight(false);
    BroadcastColourSetChange();
    SetSystemLight(true);
    BroadcastColourSetChange();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Background(), kDarkBack);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));

    SetSystemLight(false);
    WriteConfig("[UI]\r\nTheme=Light\r\n");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_EQ(Background(), kLightBack) << "Light while Windows is dark";
    BroadcastColourSetChange();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Background(), kLightBack);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Theme, MissingSystemValueMeansLight) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                        KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key, L"AppsUseLightTheme");
        ::RegCloseKey(key);
    }
    WriteConfig("");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_EQ(Background(), kLightBack);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

struct Look {
    const char* name;
    const char* config;
    LRESULT caretStyle;  // CARETSTYLE_LINE 1, BLOCK 2, INVISIBLE 0
    bool wrap;
    bool numbers;
    bool longMemo = false;  // enough lines for the vertical scroll bar
};

std::string LongMemo() {
    std::string memo = "\xEF\xBB\xBF";
    for (int i = 1; i <= 80; ++i) {
        memo += "Line " + std::to_string(i) + (i % 7 == 0 ? " with a much longer text that runs past the right edge "
                                                           "of the panel when word wrap is off, to show the scroll bar"
                                                         : "") + "\r\n";
    }
    return memo + "end";
}

const std::vector<Look> kLooks = {
    {"light", "[UI]\r\nTheme=Light\r\n", 1, true, true},
    {"dark", "[UI]\r\nTheme=Dark\r\n", 1, true, true},
    {"light-block-caret", "[UI]\r\nTheme=Light\r\n[Editor]\r\nCaretStyle=Block\r\n", 2, true, true},
    {"dark-block-caret", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nCaretStyle=Block\r\n", 2, true, true},
    {"light-dos-caret", "[UI]\r\nTheme=Light\r\n[Editor]\r\nCaretStyle=Dos\r\n", 0, true, true},
    {"dark-dos-caret", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nCaretStyle=Dos\r\n", 0, true, true},
    {"light-no-line-numbers", "[UI]\r\nTheme=Light\r\n[Editor]\r\nShowLineNumbers=false\r\n", 1, true, false},
    {"dark-no-line-numbers", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nShowLineNumbers=false\r\n", 1, true, false},
    {"light-no-wrap", "[UI]\r\nTheme=Light\r\n[Editor]\r\nWordWrap=NoWrap\r\n", 1, false, true},
    {"dark-no-wrap", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nWordWrap=NoWrap\r\n", 1, false, true},
    {"light-underline", "[UI]\r\nTheme=Light\r\n[Editor]\r\nShowCurrentLineUnderline=true\r\n", 1, true, true},
    {"dark-underline-dos-no-wrap",
     "[UI]\r\nTheme=Dark\r\n[Editor]\r\nShowCurrentLineUnderline=true\r\nCaretStyle=Dos\r\nWordWrap=NoWrap\r\n", 0,
     false, true},
    {"light-long-no-wrap", "[UI]\r\nTheme=Light\r\n[Editor]\r\nWordWrap=NoWrap\r\n", 1, false, true, true},
    {"dark-long-no-wrap", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nWordWrap=NoWrap\r\n", 1, false, true, true},
    {"dark-long-wrap-block", "[UI]\r\nTheme=Dark\r\n[Editor]\r\nCaretStyle=Block\r\n", 2, true, true, true},
};

class ThemeLooks : public Theme {
public:
    // Starts the program once per look and takes a picture of each.
    void Shoot(const std::string& prefix, const std::vector<Look>& looks) {
        for (const Look& look : looks) {
            SCOPED_TRACE(look.name);
            WriteConfig(look.config);
            ASSERT_TRUE(WriteFileBytes(ProgramFile(L"Note.txt"), look.longMemo ? LongMemo() : kMemo));
            ASSERT_NE(StartShown(), nullptr);
            ClickIntoText();
            // A blinking caret would be caught half the time in its off phase.
            if (look.caretStyle != 0) ::SendMessageW(editor_, kSciSetCaretPeriod, 0, 0);
            std::this_thread::sleep_for(100ms);
            EXPECT_EQ(Sci(kSciGetCaretStyle), look.caretStyle);
            EXPECT_EQ(Sci(kSciGetWrapMode) != 0, look.wrap);
            EXPECT_EQ(Sci(kSciGetMarginWidthN, 0) > 0, look.numbers);
            EXPECT_GT(Sci(kSciGetCurrentPos), 0) << "the click put the caret into the text";
            Screenshot(prefix + look.name);
            EXPECT_EQ(Exit(), std::optional<DWORD>(0));
        }
    }
};

TEST_F(ThemeLooks, At96Dpi) {
    Shoot("96-", kLooks);
}

TEST_F(ThemeLooks, At120And192Dpi) {
    SetSystemDpi(120);
    Shoot("120-", {kLooks[0], kLooks[11], kLooks[12]});
    SetSystemDpi(192);
    Shoot("192-", {kLooks[1], kLooks[4], kLooks[13]});
}

TEST_F(ThemeLooks, ZoomChangesTheFontForTheSessionOnly) {
    WriteConfig("[UI]\r\nTheme=Dark\r\n[Editor]\r\nFontSizeStep=1\r\n");
    ASSERT_NE(StartShown(), nullptr);
    ClickIntoText();
    EXPECT_EQ(Sci(kSciStyleGetSize, kStyleDefault), 12);
    const LRESULT margin = Sci(kSciGetMarginWidthN, 0);
    ::PostMessageW(panel_, kPmZoomStep, 1, 0);
    ::PostMessageW(panel_, kPmZoomStep, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return Sci(kSciStyleGetSize, kStyleDefault) == 14; }, 3s));
    // Ctrl+wheel on the editor asks the panel for the next step.
    ::PostMessageW(editor_, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
    EXPECT_TRUE(WaitUntil([&] { return Sci(kSciStyleGetSize, kStyleDefault) == 15; }, 3s));
    EXPECT_GT(Sci(kSciGetMarginWidthN, 0), margin);
    EXPECT_EQ(Background(), kDarkBack);
    std::this_thread::sleep_for(300ms);
    Screenshot("zoomed-dark");
    ::PostMessageW(panel_, kPmZoomReset, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Sci(kSciStyleGetSize, kStyleDefault) == 12; }, 3s));
    EXPECT_EQ(Sci(kSciGetMarginWidthN, 0), margin);
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadConfigValue(L"Editor", L"FontSizeStep"), L"1");
}

TEST_F(ThemeLooks, At144Dpi) {
    SetSystemDpi(144);
    Shoot("144-", {kLooks[0], kLooks[1], kLooks[2], kLooks[5], kLooks[6], kLooks[9], kLooks[11], kLooks[13]});
}

}  // namespace
}  // namespace quillpane::e2e

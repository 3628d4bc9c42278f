// Links as a user meets them: underlined addresses and paths, a click that
// selects one, a double-click that opens it with the shell (a recorder stands
// in for the handlers), a script that is shown but never run; then the
// context menu's shell commands with link detection switched off.
#include "e2e_fixture.h"

#include <thread>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr UINT kSciGetSelectionStart = 2143;
constexpr UINT kSciGetSelectionEnd = 2145;
constexpr UINT kSciSetSel = 2160;
constexpr UINT kSciGetLength = 2006;
constexpr wchar_t kWorkFolder[] = L"C:\\qp";
constexpr wchar_t kRecord[] = L"C:\\qp\\record.txt";

// The recorder as the handler of https, .txt files and the test scheme, for
// the user; "qpnone" has a handler but is no URL protocol. Wine's shell reads
// the machine's classes only, so the commands go there too.
void RegisterRecorder() {
    const std::wstring command = RecorderCommand(kRecord);
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const wchar_t* scheme : {L"https", L"qptest", L"qpnone"}) {
            SetClassesValue(root, std::wstring(scheme) + L"\\shell\\open\\command", nullptr, command);
        }
        SetClassesValue(root, L".txt", nullptr, L"qptest.textfile");
        SetClassesValue(root, L"qptest.textfile\\shell\\open\\command", nullptr, command);
    }
    SetClassesValue(HKEY_CURRENT_USER, L"https", L"URL Protocol", L"");
    SetClassesValue(HKEY_CURRENT_USER, L"qptest", L"URL Protocol", L"");
}

std::string Recorded() {
    return ReadFileBytes(kRecord).value_or("");
}

class Links : public AppScenario {
protected:
    void StartWith(const std::string& config, const std::string& memo) {
        ::CreateDirectoryW(kWorkFolder, nullptr);
        ::DeleteFileW(kRecord);
        RegisterRecorder();
        StartShownInEditor(config, std::string(kBom) + memo, editor_);
        // The marks follow the view once it settles.
        std::this_thread::sleep_for(500ms);
    }

    POINT At(std::size_t position, int dx = 3) const { return EditorPointOnScreen(editor_, position, dx); }

    using Span = std::pair<LRESULT, LRESULT>;

    static Span Range(std::size_t start, std::size_t end) {
        return {static_cast<LRESULT>(start), static_cast<LRESULT>(end)};
    }

    Span Selection() const {
        return {::SendMessageW(editor_, kSciGetSelectionStart, 0, 0), ::SendMessageW(editor_, kSciGetSelectionEnd, 0, 0)};
    }

    // A click on the character at position; the selection it leaves.
    Span ClickOn(std::size_t position) {
        const POINT point = At(position);
        ClickAt(point.x, point.y);
        std::this_thread::sleep_for(150ms);
        return Selection();
    }

    bool MenuOpen() const { return FindTopWindow(L"#32768", app_.ProcessId()) != nullptr; }

    HWND editor_ = nullptr;
};

TEST_F(Links, ClickSelectsDoubleClickOpensAndScriptsNeverRun) {
    SetSystemDpi(144);
    ::CreateDirectoryW(kWorkFolder, nullptr);
    ::CreateDirectoryW(L"C:\\My Dir", nullptr);
    ASSERT_TRUE(WriteFileBytes(L"C:\\My Dir\\f.txt", "text"));
    ASSERT_TRUE(WriteFileBytes(L"C:\\qp\\run.bat", "echo ran> C:\\qp\\ran.txt\r\n"));
    const std::string line0 = "(https://a.example/x_(y)), xhttps://a.b https:// a@b";
    const std::string line1 = "\"C:\\My Dir\\f.txt\" qptest://x qpnone://x";
    const std::string line2 = "C:\\qp\\run.bat";
    StartWith("[UI]\r\nTheme=Dark\r\n", line0 + "\r\n" + line1 + "\r\n" + line2 + "\r\n");
    const std::size_t l1 = line0.size() + 2;
    const std::size_t l2 = l1 + line1.size() + 2;

    // The inner bracket stays with the address; the outer one and the comma do not.
    const std::size_t web = line0.find("https");
    EXPECT_EQ(ClickOn(web + 10), Range(1, 24));
    for (const char* notLink : {"xhttps", "https:// ", "a@b"}) {
        const std::size_t at = line0.find(notLink, web + 5) + 2;
        const auto [start, end] = ClickOn(at);
        EXPECT_EQ(start, end) << notLink << " is no link";
    }
    // A quoted path with a space is one link, without its quotes.
    const std::size_t path = l1 + 1;
    EXPECT_EQ(ClickOn(path + 6), Range(path, path + 15));
    const std::size_t scheme = l1 + line1.find("qptest");
    EXPECT_EQ(ClickOn(scheme + 2), Range(scheme, scheme + 10));
    const auto [noneStart, noneEnd] = ClickOn(l1 + line1.find("qpnone") + 2);
    EXPECT_EQ(noneStart, noneEnd) << "a scheme without URL Protocol is no link";
    Screenshot("links-dark-144");

    // The path's submenu: the file's folder listed, under the context menu.
    const POINT onPath = At(path + 6);
    ::SetCursorPos(onPath.x, onPath.y);
    INPUT right[2] {};
    right[0].type = right[1].type = INPUT_MOUSE;
    right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, right, sizeof(INPUT));
    ASSERT_TRUE(WaitUntil([&] { return MenuOpen(); }, 5s));
    PressKey(VK_UP);  // the path's submenu comes last
    PressKey(VK_RIGHT);
    std::this_thread::sleep_for(400ms);
    Screenshot("path-submenu-dark-144");
    // Esc closes the submenu, then the menu; one more would hide the panel.
    for (int i = 0; i < 2 && MenuOpen(); ++i) {
        PressKey(VK_ESCAPE);
        std::this_thread::sleep_for(300ms);
    }
    ASSERT_TRUE(WaitUntil([&] { return !MenuOpen(); }, 3s));

    std::string expected;
    for (const auto& [at, target] : {std::pair {web + 10, "https://a.example/x_(y)"}, std::pair {scheme + 2, "qptest://x"},
                                     std::pair {path + 6, "C:\\My Dir\\f.txt"}}) {
        const POINT point = At(at);
        DoubleClickAt(point.x, point.y);
        expected += std::string(target) + "\n";
        EXPECT_TRUE(WaitUntil([&] { return Recorded() == expected; }, 10s)) << Recorded();
    }

    // A script is shown in its folder, never run.
    const POINT script = At(l2 + 7);
    DoubleClickAt(script.x, script.y);
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(Selection(), Range(l2, l2 + line2.size()));
    EXPECT_FALSE(ReadFileBytes(L"C:\\qp\\ran.txt").has_value()) << "the script ran";
    EXPECT_EQ(Recorded().find("run.bat"), std::string::npos);
}

TEST_F(Links, NoneWhenSwitchedOffAndTheShellCommandsOfTheMenus) {
    const std::string memo = "https://a.example/x a b&c";
    StartWith("[UI]\r\nTheme=Light\r\n[Editor]\r\nDetectLinks=0\r\n", memo);
    const auto [start, end] = ClickOn(8);
    EXPECT_EQ(start, end) << "no link when detection is off";

    // F5 at the end: the local date and time.
    const LRESULT length = ::SendMessageW(editor_, kSciGetLength, 0, 0);
    ::SendMessageW(editor_, kSciSetSel, length, length);
    SYSTEMTIME before {};
    ::GetLocalTime(&before);
    PressKey(VK_F5);
    SYSTEMTIME after {};
    ::GetLocalTime(&after);
    const auto stamp = [](const SYSTEMTIME& t) {
        wchar_t text[32];
        swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
        return std::wstring(text);
    };
    const std::wstring base(memo.begin(), memo.end());
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_).size() > base.size(); }, 3s));
    const std::wstring text = ControlText(editor_);
    EXPECT_TRUE(text == base + stamp(before) || text == base + stamp(after)) << std::string(text.begin(), text.end());

    // The context menu from the keyboard: Search the Web is its 13th item.
    const auto selectedStart = static_cast<LPARAM>(memo.find("a b&c"));
    ::SendMessageW(editor_, kSciSetSel, selectedStart, selectedStart + 5);
    PressKey(VK_F10, false, true);
    ASSERT_TRUE(WaitUntil([&] { return MenuOpen(); }, 5s));
    std::this_thread::sleep_for(300ms);
    Screenshot("context-menu-light-96");
    for (int i = 0; i < 13; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([] { return Recorded() == "https://www.bing.com/search?q=a%20b%26c\n"; }, 10s))
        << Recorded();

    // F2: Insert Date first, over the selection.
    ::SendMessageW(editor_, kSciSetSel, selectedStart, selectedStart + 5);
    PressKey(VK_F2);
    ASSERT_TRUE(WaitUntil([&] { return MenuOpen(); }, 5s));
    std::this_thread::sleep_for(300ms);
    Screenshot("date-menu-light-96");
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    SYSTEMTIME today {};
    ::GetLocalTime(&today);
    const std::wstring date = stamp(today).substr(0, 10);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::wstring now = ControlText(editor_);
            return now.find(L"x " + date) != std::wstring::npos && now.find(L"a b&c") == std::wstring::npos;
        },
        3s));
}

}  // namespace
}  // namespace quillpane::e2e

// The tray icon as a user meets it: a click toggles the panel once, the menu
// opens on the context gesture and its Exit ends the program after saving.
#include "e2e_fixture.h"

#include <shellapi.h>

#include <thread>

namespace quillpane::e2e {
namespace {

constexpr UINT kTrayNotify = 0x8000 + 1;

class Tray : public AppScenario {
protected:
    void Notify(WORD event) const { ::PostMessageW(panel_, kTrayNotify, 0, MAKELPARAM(event, 1)); }
};

TEST_F(Tray, ClickTogglesOnceAndExitFromTheMenuSavesAndEnds) {
    WriteConfig("[UI]\r\nTheme=Light\r\n");
    WriteMemo("\xEF\xBB\xBF" "first");
    ASSERT_NE(Start(), nullptr);

    // Two clicks within 100 ms count as one.
    Notify(NIN_SELECT);
    Notify(NIN_SELECT);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(::IsWindowVisible(panel_));

    // An edit still waiting for its autosave, then Exit from the menu.
    HWND editor = FindChildByClass(panel_, L"Scintilla");
    const RECT rect = WindowRect(editor);
    ClickAt(rect.left + 200, rect.top + 10);
    ::SendMessageW(editor, EM_SETSEL, 5, 5);
    TypeText(L" second");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor) == L"first second"; }, 3s));
    Notify(WM_CONTEXTMENU);
    ASSERT_TRUE(WaitUntil([&] { return FindTopWindow(L"#32768", app_.ProcessId()) != nullptr; }, 5s));
    std::this_thread::sleep_for(300ms);
    Screenshot("tray-menu");
    PressKey(VK_UP);  // the last item: Exit
    PressKey(VK_RETURN);
    EXPECT_EQ(app_.WaitForExit(15s), std::optional<DWORD>(0));
    EXPECT_EQ(ReadFileBytes(ProgramFile(L"Note.txt")), std::optional<std::string>("\xEF\xBB\xBF" "first second"));
}

}  // namespace
}  // namespace quillpane::e2e

// The common fixture of the scenarios: an empty program folder, the program
// started, and its process ended afterwards whatever happened.
#pragma once

#include "driver_win.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace quillpane::e2e {

inline constexpr wchar_t kPanelClass[] = L"Quillpn.Main";

class AppScenario : public ::testing::Test {
protected:
    void SetUp() override { ClearProgramFolder(); }

    // Starts the program and waits for its (hidden) panel window.
    HWND Start() {
        app_ = LaunchApp();
        EXPECT_TRUE(app_.Started()) << "Quillpane.exe could not be started";
        panel_ = WaitForTopWindow(kPanelClass, app_.ProcessId(), 20s);
        EXPECT_NE(panel_, nullptr) << "no Quillpn.Main window";
        return panel_;
    }

    // The Exit command, and the exit code it ended with.
    std::optional<DWORD> Exit() {
        ::PostMessageW(panel_, WM_COMMAND, 1003, 0);
        return app_.WaitForExit(15s);
    }

    // Wine takes the system DPI from the registry when a process starts.
    static void SetSystemDpi(DWORD dpi) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
        ::RegCloseKey(key);
    }

    // A click into the editor (for the X focus), then a wait until the
    // program has taken it: the caret stays put for a while, so that a
    // selection set afterwards is not undone by a late click.
    static void ClickIntoEditor(HWND editor) {
        constexpr UINT kSciGetCurrentPos = 2008;
        const RECT rect = WindowRect(editor);
        ClickAt(rect.left + 60, rect.top + 10);
        LRESULT last = -1;
        int steady = 0;
        (void)WaitUntil(
            [&] {
                const LRESULT caret = ::SendMessageW(editor, kSciGetCurrentPos, 0, 0);
                steady = caret == last ? steady + 1 : 0;
                last = caret;
                return steady >= 4;
            },
            3s, 100ms);
    }

    // The program on this configuration (sidebar hidden) and memo file, its
    // panel shown and a click taken by its editor.
    void StartShownInEditor(const std::string& config, const std::string& memoBytes, HWND& editor) {
        WriteConfig("[Sidebar]\r\nVisible=0\r\n" + config);
        WriteMemo(memoBytes);
        Start();
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor = FindChildByClass(panel_, L"Scintilla");
        ASSERT_NE(editor, nullptr);
        ClickIntoEditor(editor);
    }

    [[nodiscard]] std::wstring ProgramFile(const wchar_t* name) const { return ProgramFolder() + name; }

    // config.ini as the program would find it: run at startup off, then text.
    void WriteConfig(const std::string& text) {
        ::SHCreateDirectoryExW(nullptr, ProgramFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(ProgramFile(L"config.ini"), "[General]\r\nRunAtStartup=0\r\n" + text));
    }

    // An existing memo file: no first-run flow.
    void WriteMemo(const std::string& bytes) {
        ::SHCreateDirectoryExW(nullptr, ProgramFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(ProgramFile(L"Note.txt"), bytes));
    }

    AppProcess app_;
    HWND panel_ = nullptr;
};

}  // namespace quillpane::e2e

// The installer as a user meets it: a silent install without elevation, the
// installed program with its documents, an install over the running copy
// that saves its pending edit and starts the new one, and an uninstall that
// keeps the memo.
#include "e2e_fixture.h"

#include <string>

namespace quillpane::e2e {
namespace {

constexpr UINT kCommandReadme = 1031;
constexpr wchar_t kWorkFolder[] = L"C:\\qp";
constexpr wchar_t kRecord[] = L"C:\\qp\\record.txt";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillpane";

std::wstring RegistryText(const wchar_t* name) {
    wchar_t value[256] {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

std::size_t MainWindows() {
    return TopWindows(kPanelClass, 0).size();
}

// The recorder as the handler of .md files, for the Help menu's documents.
// Wine's shell reads the machine's classes only, so they go there too.
void RegisterRecorderForDocuments() {
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        SetClassesValue(root, L".md", nullptr, L"qptest.document");
        SetClassesValue(root, L"qptest.document\\shell\\open\\command", nullptr, RecorderCommand(kRecord));
    }
}

class Install : public AppScenario {
protected:
    // Runs the installer or uninstaller silently; its exit code.
    static std::optional<DWORD> RunSilently(const std::wstring& program) {
        const AppProcess process = LaunchProgram(program, L"/S");
        if (!process.Started()) return std::nullopt;
        return process.WaitForExit(120s);
    }
};

TEST_F(Install, InstallsRunsReinstallsOverTheRunningCopyAndUninstallsKeepingTheMemo) {
    const std::wstring setup = EnvironmentValue(L"QP_SETUP");
    ASSERT_FALSE(setup.empty()) << "no installer: make dist";
    const std::wstring folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Quillpane\\";
    const std::wstring shortcut = KnownFolder(FOLDERID_Programs) + L"\\Quillpane.lnk";
    ::CreateDirectoryW(kWorkFolder, nullptr);
    ::DeleteFileW(kRecord);
    RegisterRecorderForDocuments();

    ASSERT_EQ(RunSilently(setup), 0u);
    for (const wchar_t* file : {L"Quillpane.exe", L"README.md", L"README.en.md", L"PHONE.md", L"PHONE.en.md",
                                L"CHANGELOG.md", L"CHANGELOG.en.md", L"Uninstall.exe"}) {
        EXPECT_TRUE(FileExists(folder + file)) << "not installed: " << std::string(file, file + wcslen(file));
    }
    EXPECT_TRUE(FileExists(shortcut)) << "no Start-menu shortcut";
    const std::wstring version = RegistryText(L"DisplayVersion");
    EXPECT_FALSE(version.empty());
    EXPECT_NE(setup.find(L"Quillpane-" + version + L"-setup.exe"), std::wstring::npos) << "the entry's version";
    EXPECT_EQ(RegistryText(L"Publisher"), L"ferrix");
    EXPECT_EQ(RegistryText(L"InstallLocation") + L"\\", folder);

    // The installed program, first run over an existing memo.
    WriteConfig("[Sidebar]\r\nVisible=0\r\n");
    WriteMemo("\xEF\xBB\xBF" "memo\r\n");
    app_ = LaunchProgram(folder + L"Quillpane.exe");
    panel_ = WaitForTopWindow(kPanelClass, app_.ProcessId(), 20s);
    ASSERT_NE(panel_, nullptr) << "the installed program did not start";
    ::PostMessageW(panel_, ToggleMessage(), 2, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
    ::PostMessageW(panel_, WM_COMMAND, kCommandReadme, 0);
    ASSERT_TRUE(WaitUntil([] { return ReadFileBytes(kRecord).has_value(); }, 15s)) << "the README did not open";
    EXPECT_NE(ReadFileBytes(kRecord)->find("Programs\\Quillpane\\README.en.md"), std::string::npos)
        << *ReadFileBytes(kRecord);
    Screenshot("installed");

    // Installed again while it runs with an edit not yet saved.
    const HWND editor = FindChildByClass(panel_, L"Scintilla");
    ASSERT_NE(editor, nullptr);
    PostChars(editor, L"pending ");
    ASSERT_EQ(RunSilently(setup), 0u);
    EXPECT_TRUE(app_.WaitForExit(15s).has_value()) << "the old copy still runs";
    EXPECT_NE(ReadFileBytes(ProgramFile(L"Note.txt")).value_or("").find("pending"), std::string::npos)
        << "the pending edit was lost";
    EXPECT_TRUE(WaitUntil([] { return MainWindows() == 1u; }, 20s)) << "not one running copy after the update";

    // The uninstaller ends the running copy, removes the program and its
    // "Start with Windows" shortcut, and keeps the memo.
    const std::wstring startup = KnownFolder(FOLDERID_Startup) + L"\\Quillpn.lnk";
    ASSERT_TRUE(WriteFileBytes(startup, "shortcut"));
    ASSERT_EQ(RunSilently(folder + L"Uninstall.exe"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(folder); }, 30s)) << "the program folder is still there";
    EXPECT_TRUE(WaitUntil([] { return MainWindows() == 0u; }, 15s));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(FileExists(startup));
    EXPECT_TRUE(RegistryText(L"DisplayName").empty());
    EXPECT_TRUE(FileExists(ProgramFile(L"Note.txt")));
    EXPECT_TRUE(FileExists(ProgramFile(L"config.ini")));
}

}  // namespace
}  // namespace quillpane::e2e

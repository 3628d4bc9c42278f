// The phone bridge as a user meets it: text the phone left in the OneDrive
// inbox is merged into the memo in time order when the panel shows, the
// memo and its marker settings are exported for the phone, files still
// being written or that cannot be deleted are merged exactly once; switching
// the bridge on shows a QR code that reads back as the phone page's address;
// Share hands over the selection as a file of its own.
#include "e2e_fixture.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr UINT kCommandShare = 1008;
constexpr UINT kCommandPhoneSync = 1045;
constexpr UINT kSciSetSel = 2160;
constexpr wchar_t kOneDrive[] = L"C:\\qp\\OneDrive";
constexpr wchar_t kInbox[] = L"C:\\qp\\OneDrive\\Quillpn\\inbox\\";
constexpr wchar_t kNotes[] = L"C:\\qp\\OneDrive\\Quillpn\\notes\\";
constexpr char kMarker[] = "------------------------------";

// A merged block's time line: the UTC time, local.
std::string LocalLine(SYSTEMTIME utc) {
    SYSTEMTIME local {};
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    char text[32] {};
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute);
    return text;
}

// For a name stamped on 1 December 2026.
std::string LocalLine(WORD utcHour, WORD minute = 0) {
    return LocalLine(SYSTEMTIME {2026, 12, 2, 1, utcHour, minute, 0, 0});
}

// For a name without a stamp: the file's last write time.
std::string LocalLineOfFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data {};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    SYSTEMTIME utc {};
    ::FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
    return LocalLine(utc);
}

std::string Block(const std::string& time, const std::string& text) {
    return std::string(kMarker) + "\r\n" + time + "\r\n" + text + "\r\n";
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Whether a visible balloon of the tray holds part.
bool BalloonShowing(const std::wstring& part) {
    for (HWND tip : TopWindows(L"tooltips_class32", 0)) {
        if (::IsWindowVisible(tip) && ControlText(tip).find(part) != std::wstring::npos) return true;
    }
    return false;
}

class Phone : public AppScenario {
protected:
    void SetUp() override {
        AppScenario::SetUp();
        for (const wchar_t* name : {L"OneDrive", L"OneDriveConsumer", L"OneDriveCommercial"}) {
            ::SetEnvironmentVariableW(name, nullptr);
        }
    }

    // An OneDrive folder for the program, from the environment it inherits.
    static void GiveOneDrive() {
        ::SHCreateDirectoryExW(nullptr, kInbox, nullptr);
        ::SetEnvironmentVariableW(L"OneDrive", kOneDrive);
    }

    std::string Memo() const { return ReadFileBytes(ProgramFile(L"Note.txt")).value_or(""); }

    // Hidden and shown again: a show merges at once.
    void ShowAgain() {
        ::PostMessageW(panel_, ToggleMessage(), 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) == FALSE; }, 5s));
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
    }

    HWND editor_ = nullptr;
};

TEST_F(Phone, MergesTheInboxInTimeOrderOnceAndExportsTheMemo) {
    GiveOneDrive();
    const std::wstring inbox = kInbox;
    ASSERT_TRUE(WriteFileBytes(inbox + L"20261201T080000Z_b.txt", "from eight"));
    ASSERT_TRUE(WriteFileBytes(inbox + L"20261201T070000Z_a.txt", std::string(kBom) + "from seven\nline two\n\n"));
    ASSERT_TRUE(WriteFileBytes(inbox + L"Upper.MD", "upper case"));
    // UTF-16 without a byte-order mark: its NULs reach the memo, the text after them too.
    const std::string wide("w\0i\0d\0e\0", 8);
    ASSERT_TRUE(WriteFileBytes(inbox + L"20261201T073000Z_u.txt", wide));
    ASSERT_TRUE(WriteFileBytes(inbox + L"empty.txt", "\r\n\r\n"));
    ASSERT_TRUE(WriteFileBytes(inbox + L"kept.TXT.bak", "not a note"));
    ASSERT_TRUE(WriteFileBytes(inbox + L"big.txt", std::string(3 << 20, 'x')));
    ::CreateDirectoryW((inbox + L"folder.txt").c_str(), nullptr);
    // One file the phone's sync client is still writing, one another program
    // reads and so keeps from being deleted.
    ASSERT_TRUE(WriteFileBytes(inbox + L"20261201T090000Z_w.txt", "still writing"));
    ASSERT_TRUE(WriteFileBytes(inbox + L"20261201T100000Z_r.txt", "held for reading"));
    HANDLE writer = ::CreateFileW((inbox + L"20261201T090000Z_w.txt").c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE reader = ::CreateFileW((inbox + L"20261201T100000Z_r.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const std::string upperTime = LocalLineOfFile(inbox + L"Upper.MD");

    StartShownInEditor("[General]\r\nPhoneSync=1\r\n", std::string(kBom) + "first line", editor_);
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(inbox + L"20261201T070000Z_a.txt"); }, 10s)) << "not merged on show";
    const std::string merged = std::string(kBom) + "first line\r\n" + Block(LocalLine(7), "from seven\r\nline two") +
                               Block(LocalLine(7, 30), wide) + Block(LocalLine(8), "from eight") + Block(LocalLine(10), "held for reading") +
                               Block(upperTime, "upper case");
    EXPECT_EQ(Memo(), merged);
    for (const wchar_t* gone : {L"20261201T080000Z_b.txt", L"Upper.MD", L"empty.txt"}) {
        EXPECT_FALSE(FileExists(inbox + gone)) << "still in the inbox: " << std::string(gone, gone + wcslen(gone));
    }
    for (const wchar_t* kept : {L"kept.TXT.bak", L"big.txt", L"folder.txt", L"20261201T090000Z_w.txt",
                                L"20261201T100000Z_r.txt"}) {
        EXPECT_TRUE(FileExists(inbox + kept)) << "taken from the inbox: " << std::string(kept, kept + wcslen(kept));
    }
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(std::wstring(kNotes) + L"current.txt") == Memo(); }, 5s))
        << "current.txt is not the memo";
    EXPECT_EQ(ReadFileBytes(std::wstring(kNotes) + L"section.json"),
              std::string(kBom) + "{\"role\":\"Separator\",\"separator\":\"" + kMarker + "\",\"heading\":\"##\"}");

    // Written to the end: merged at the next show, whole.
    DWORD written = 0;
    ::SetFilePointer(writer, 0, nullptr, FILE_END);
    ::WriteFile(writer, " and done", 9, &written, nullptr);
    ::CloseHandle(writer);
    ShowAgain();
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(inbox + L"20261201T090000Z_w.txt"); }, 10s));
    EXPECT_EQ(Memo(), merged + Block(LocalLine(9), "still writing and done"));

    // Released at last: deleted, not merged a second time.
    ::CloseHandle(reader);
    ShowAgain();
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(inbox + L"20261201T100000Z_r.txt"); }, 10s));
    EXPECT_EQ(Count(Memo(), "held for reading"), 1u);
    EXPECT_EQ(Count(Memo(), "still writing"), 1u);
    EXPECT_EQ(ReadFileBytes(std::wstring(kNotes) + L"current.txt"), Memo());
    Screenshot("merged");
    EXPECT_EQ(Exit(), 0u);
}

TEST_F(Phone, SwitchingOnShowsTheQrCodeOfThePhonePage) {
    GiveOneDrive();
    StartShownInEditor("[UI]\r\nTheme=Dark\r\n", std::string(kBom) + "a memo\r\n", editor_);
    ::PostMessageW(panel_, WM_COMMAND, kCommandPhoneSync, 0);
    const HWND dialog = WaitForTopWindow(L"Quillpn.PhoneQrDialog", app_.ProcessId(), 10s);
    ASSERT_NE(dialog, nullptr) << "no QR dialog";
    EXPECT_FALSE(::IsWindowEnabled(panel_)) << "the panel takes input under the dialog";
    const std::optional<std::string> shortcut = ReadFileBytes(L"C:\\qp\\OneDrive\\Quillpn\\phone.url");
    ASSERT_TRUE(shortcut);
    ASSERT_EQ(shortcut->rfind("[InternetShortcut]\r\nURL=https://", 0), 0u) << *shortcut;
    const std::string url = shortcut->substr(24, shortcut->size() - 24 - 2);
    std::this_thread::sleep_for(500ms);
    Screenshot("qr-dialog-dark");
    EXPECT_EQ(ReadQrOnScreen("qr-dialog", WindowRect(dialog)), url);
    EXPECT_EQ(ReadConfigValue(L"General", L"PhoneSync"), L"1");

    ::PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5s)) << "Enter did not close the dialog";
    EXPECT_TRUE(::IsWindowEnabled(panel_));
    // The switch goes off and back on: the dialog again, the shortcut rewritten.
    ::PostMessageW(panel_, WM_COMMAND, kCommandPhoneSync, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadConfigValue(L"General", L"PhoneSync") == L"0"; }, 5s));
    EXPECT_EQ(Exit(), 0u);
}

TEST_F(Phone, WithoutOneDriveTheSwitchExplainsAndShareSendsTheSelection) {
    StartShownInEditor("", std::string(kBom) + "alpha beta gamma\r\n", editor_);
    ::PostMessageW(panel_, WM_COMMAND, kCommandPhoneSync, 0);
    const HWND box = WaitForTopWindow(L"#32770", app_.ProcessId(), 10s);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(WindowText(box), L"Quillpane");
    Screenshot("no-onedrive");
    ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5s));
    EXPECT_NE(ReadConfigValue(L"General", L"PhoneSync"), L"1");

    wchar_t temp[MAX_PATH] {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"QuillpnShare\\";
    const std::wstring shared = folder + L"Note.txt";
    ::SendMessageW(editor_, kSciSetSel, 6, 10);
    ::PostMessageW(panel_, WM_COMMAND, kCommandShare, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(shared) == std::string(kBom) + "beta"; }, 10s))
        << "the selection was not written for sharing";
    ::SendMessageW(editor_, kSciSetSel, 11, 16);
    ::PostMessageW(panel_, WM_COMMAND, kCommandShare, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(shared) == std::string(kBom) + "gamma"; }, 10s));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "more than one shared file";

    // A memo that cannot be saved is not shared as the older file: the user is told.
    HANDLE lock = ::CreateFileW(ProgramFile(L"Note.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ::SendMessageW(editor_, kSciSetSel, 0, 0);
    PostChars(editor_, L"x");
    ::PostMessageW(panel_, WM_COMMAND, kCommandShare, 0);
    EXPECT_TRUE(WaitUntil([] { return BalloonShowing(L"not shared"); }, 10s)) << "no word of the refusal";
    Screenshot("share-refused");
    ::CloseHandle(lock);
    // The file goes with the program.
    EXPECT_EQ(Exit(), 0u);
    EXPECT_FALSE(FileExists(shared));
}

}  // namespace
}  // namespace quillpane::e2e

// The phone bridge as the panel runs it.
#include "app/phone_win.h"

#include "app/app_win.h"
#include "app/memo_win.h"
#include "app/phone_qr_win.h"
#include "editor/text_adapter.h"
#include "phone/one_drive_win.h"
#include "phone/phone_files.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"
#include "resources/messages.h"

#include <optional>

namespace quillpane {
namespace {

constexpr int kDeletePasses = 3;
constexpr DWORD kDeletePauseMs = 40;

// Whether the bridge may touch the memo now.
bool BridgeActive(const App& app) {
    return app.config.general.phoneSync && !app.memo.saveDisabled && app.editor.hwnd != nullptr;
}

std::optional<PhonePaths> BridgePaths() {
    const std::optional<std::u16string> oneDrive = FindOneDriveFolder();
    if (!oneDrive) return std::nullopt;
    return PhonePathsUnder(*oneDrive);
}

// Beside config.ini.
std::u16string JournalPath(const App& app) {
    const std::size_t slash = app.configPath.find_last_of(u"\\/");
    const std::u16string folder = slash == std::u16string::npos ? std::u16string() : app.configPath.substr(0, slash + 1);
    return folder + u"phone-merged.txt";
}

const std::u16string& EditorText(App& app) {
    return ReadText(app.editor.text.adapter, app.editor.text.model);
}

bool BusyWithModalUi(const App& app) {
    return app.shell.menuModal || app.shell.inSizeMove;
}

void StopPoll(App& app) {
    app.phone.pollPassesLeft = 0;
    if (app.panel != nullptr) ::KillTimer(app.panel, kTimerPhonePoll);
}

bool InboxWaiting() {
    const std::optional<PhonePaths> paths = BridgePaths();
    return paths && InboxHasFiles(paths->inbox);
}

}  // namespace

void ExportToPhone(App& app) {
    if (!BridgeActive(app)) return;
    if (const std::optional<PhonePaths> paths = BridgePaths()) {
        (void)ExportNotes(*paths, EditorText(app), app.config.editor);
    }
}

void ImportFromPhone(App& app) {
    if (!BridgeActive(app)) return;
    const std::optional<PhonePaths> paths = BridgePaths();
    if (!paths || !EnsurePhoneFolders(*paths)) return;
    MemoAccess memo;
    memo.holds = [&app](std::u16string_view block) { return EditorText(app).find(block) != std::u16string::npos; };
    memo.append = [&app](std::u16string_view blocks) {
        return SaveAndShowText(app, AppendMergedText(EditorText(app), blocks));
    };
    const MergeOutcome outcome = MergeInbox(*paths, JournalPath(app), MergeMarker(app.config.editor), memo,
                                            kDeletePasses, [] { ::Sleep(kDeletePauseMs); });
    if (outcome == MergeOutcome::MemoNotWritten) return;
    if (outcome == MergeOutcome::Merged) app.phone.lastMergeTick = ::GetTickCount64();
    ExportToPhone(app);
}

void CheckInboxThrottled(App& app) {
    if (!BridgeActive(app) || !app.shell.shown || BusyWithModalUi(app)) return;
    const std::uint64_t now = ::GetTickCount64();
    if (!InboxCheckDue(now, app.phone.lastMergeTick, app.phone.lastCheckTick)) return;
    app.phone.lastCheckTick = now;
    if (InboxWaiting()) ImportFromPhone(app);
}

void StartPhonePoll(App& app) {
    StopPoll(app);
    if (app.panel == nullptr || !app.config.general.phoneSync) return;
    app.phone.pollPassesLeft = kPhonePollPasses;
    ::SetTimer(app.panel, kTimerPhonePoll, kPhonePollFirstMs, nullptr);
}

void OnPhonePollTimer(App& app) {
    ::KillTimer(app.panel, kTimerPhonePoll);
    if (!app.config.general.phoneSync || app.phone.pollPassesLeft == 0) {
        app.phone.pollPassesLeft = 0;
        return;
    }
    --app.phone.pollPassesLeft;
    if (!BusyWithModalUi(app) && BridgeActive(app)) {
        app.phone.lastCheckTick = ::GetTickCount64();
        if (InboxWaiting()) {
            ImportFromPhone(app);
        } else {
            ExportToPhone(app);
        }
    }
    if (app.phone.pollPassesLeft > 0 && app.config.general.phoneSync) {
        ::SetTimer(app.panel, kTimerPhonePoll, kPhonePollNextMs, nullptr);
    }
}

void TogglePhoneSync(App& app) {
    if (app.config.general.phoneSync) {
        app.config.general.phoneSync = false;
        StopPoll(app);
        SaveAppConfig(app);
        return;
    }
    const std::optional<PhonePaths> paths = BridgePaths();
    if (!paths || !EnsurePhoneFolders(*paths)) {
        ::MessageBoxW(app.panel, WidePtr(std::u16string(Text(TextId::OneDriveNotFound, UiLanguage(app)))),
                      L"Quillpane", MB_OK | MB_ICONINFORMATION);
        return;
    }
    app.config.general.phoneSync = true;
    SaveAppConfig(app);
    // Without a byte-order mark: the shell reads the first line as the
    // section name.
    (void)platform::WriteFileAtomic(paths->shortcut, Utf16ToUtf8(PhoneShortcutText(kPhonePageUrl)), true);
    ImportFromPhone(app);
    StartPhonePoll(app);
    ShowPhoneQrDialog(app);
}

}  // namespace quillpane

// Every file-service call of the memo save, the backup, the configuration
// save and the start-up loads, failed or crashed at in turn, against the
// in-memory file services of support/fault_file_system.
#include "phone/phone_files.h"
#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "settings/config.h"
#include "settings/ini_file.h"
#include "settings/paths.h"
#include "storage/backup.h"
#include "storage/memo_state.h"
#include "storage/note_codec.h"
#include "storage/note_file.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>

namespace quillpane {
namespace {

namespace ffs = quillpane::testing::faultfs;
using ffs::Loss;
using ffs::Op;

// One way a run can go wrong; Clean counts the calls of an undisturbed run.
struct Plan {
    enum class Kind { Clean, Once, Sticky, CleanupFails, Crash } kind = Kind::Clean;
    Op op = Op::Open;
    int n = 0;
    Loss loss = Loss::None;

    [[nodiscard]] bool Crashes() const { return kind == Kind::Crash; }
    [[nodiscard]] bool Fails(std::initializer_list<Op> ops) const {
        return kind != Kind::Clean && !Crashes() && std::find(ops.begin(), ops.end(), op) != ops.end();
    }
    void Arm() const {
        if (kind == Kind::Clean) return;
        if (Crashes()) {
            ffs::CrashAfter(n);
            return;
        }
        ffs::FailAt(op, n, kind == Kind::Sticky);
        if (kind == Kind::CleanupFails) ffs::FailAt(Op::Delete, 1, true);
    }
    [[nodiscard]] std::string Describe() const {
        const std::string call = std::string(ffs::OpName(op)) + " #" + std::to_string(n);
        switch (kind) {
        case Kind::Clean: return "no fault";
        case Kind::Once: return call + " fails";
        case Kind::Sticky: return call + " and every later one fail";
        case Kind::CleanupFails: return call + " fails and so does every delete";
        case Kind::Crash: return "stop after step " + std::to_string(n) + ", " + std::string(ffs::LossName(loss));
        }
        return {};
    }
};

// Calls of the last undisturbed run, per kind, and its steps.
struct CleanCounts {
    std::array<int, ffs::kAllOps.size()> calls {};
    int steps = 0;
} gClean;

// Runs act under the plan after the case's own preparations (which are
// settled on disk and not counted); true when it crashed, the restart then
// applied.
bool UnderPlan(const Plan& plan, const std::function<void()>& act) {
    ffs::Restart(Loss::None);
    plan.Arm();
    try {
        act();
    } catch (const ffs::Crash&) {
        ffs::Restart(plan.loss);
        return true;
    }
    if (plan.kind == Plan::Kind::Clean) {
        for (const Op op : ffs::kAllOps) gClean.calls[static_cast<std::size_t>(op)] = ffs::Calls(op);
        gClean.steps = ffs::Steps();
    }
    ffs::Restart(Loss::None);
    return false;
}

// Every call of every kind in the clean run, failed in turn, and every step
// as a crash point under each loss.
std::vector<Plan> PlansFromCleanRun() {
    std::vector<Plan> plans;
    for (const Op op : ffs::kAllOps) {
        for (int n = 1; n <= gClean.calls[static_cast<std::size_t>(op)]; ++n) {
            plans.push_back({Plan::Kind::Once, op, n});
            plans.push_back({Plan::Kind::Sticky, op, n});
            if (op != Op::Delete) plans.push_back({Plan::Kind::CleanupFails, op, n});
        }
    }
    for (int n = 1; n <= gClean.steps; ++n) {
        for (const Loss loss : {Loss::None, Loss::Revert, Loss::ZeroFill}) {
            plans.push_back({Plan::Kind::Crash, Op::Open, n, loss});
        }
    }
    return plans;
}

// Broken invariants of one case, each under a short tag.
struct Verdict {
    std::vector<std::pair<std::string, std::string>> broken;
    void Expect(bool ok, std::string tag, const std::string& detail) {
        if (!ok) broken.emplace_back(std::move(tag), detail);
    }
};

int gCases = 0;

void RunMatrix(const std::string& scenario, const std::function<void()>& arrange,
               const std::function<Verdict(const Plan&)>& runCase) {
    gClean = {};
    std::vector<Plan> plans {Plan {}};
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const Plan plan = plans[i];
        ffs::Reset();
        arrange();
        for (const auto& [tag, detail] : runCase(plan).broken) {
            ADD_FAILURE() << scenario << " / " << plan.Describe() << ": [" << tag << "] " << detail;
        }
        if (i == 0) {
            const std::vector<Plan> rest = PlansFromCleanRun();
            plans.insert(plans.end(), rest.begin(), rest.end());
        }
    }
    std::printf("  %s: %zu cases\n", scenario.c_str(), plans.size());
    gCases += static_cast<int>(plans.size());
}

// --- Files and texts -------------------------------------------------------

constexpr std::u16string_view kRoot = u"/q/";
const std::u16string kProgram = ProgramFolderOf(kRoot);
const std::u16string kMemo = kProgram + u"Note.txt";
const std::u16string kBackupFolder = BackupFolderOf(kProgram);
const std::u16string kConfig = ConfigPathOf(kProgram);
const std::u16string kExeFolder = u"/q/exe/";
constexpr std::u16string_view kOldText = u"Old memo\r\nline two \u00E9\r\n";
constexpr std::u16string_view kNewText = u"New memo \u20AC\r\nline two\r\na third line, longer than before\r\n";
const std::string kOldBytes = EncodeNoteBytes(kOldText);
const std::string kNewBytes = EncodeNoteBytes(kNewText);
// Written by another program: no byte-order mark, LF line ends.
const std::string kForeignBytes = "Old memo\nline two, another editor\n";
const platform::LocalTime kNow {2024, 5, 17, 9, 30, 0, 0, 5};
const platform::LocalTime kLater {2024, 5, 17, 9, 30, 5, 0, 5};  // the retry, or the next start
const BackupSettings kBackupSettings {true, 10, 3};

std::string Show(const std::optional<std::string>& bytes) {
    if (!bytes) return "missing";
    if (*bytes == kOldBytes) return "the old memo";
    if (*bytes == kNewBytes) return "the new memo";
    const bool zeros = !bytes->empty() && bytes->find_first_not_of('\0') == std::string::npos;
    return std::to_string(bytes->size()) + (zeros ? " zero bytes" : " other bytes");
}

bool NoTempFiles() {
    for (const std::u16string& path : ffs::FilesUnder(kRoot)) {
        if (path.ends_with(u".tmp")) return false;
    }
    return true;
}

bool IntactCopyIn(std::u16string_view folder, const std::string& bytes) {
    for (const std::u16string& path : ffs::FilesUnder(folder)) {
        if (ffs::Content(path) == bytes) return true;
    }
    return false;
}

// The model itself: without the flush a replaced file does not survive a
// power cut, so a save that stopped flushing would fail the matrix.
TEST(FaultModel, PowerCutKeepsOnlyFlushedData) {
    struct Row {
        bool flush;
        Loss loss;
        std::string survives;
    };
    for (const Row& row : {Row {true, Loss::Revert, "new!"}, Row {true, Loss::ZeroFill, "new!"},
                           Row {false, Loss::None, "new!"}, Row {false, Loss::Revert, ""},
                           Row {false, Loss::ZeroFill, std::string(4, '\0')}}) {
        ffs::Reset();
        ffs::MakeFolders(u"/m");
        ffs::PutFile(u"/m/f", "old");
        ASSERT_TRUE(platform::WriteFileAtomic(u"/m/f", "new!", row.flush));
        ffs::Restart(row.loss);
        EXPECT_EQ(ffs::Content(u"/m/f"), row.survives) << row.flush << " " << ffs::LossName(row.loss);
    }
}

// --- Memo save ---------------------------------------------------------------

// The memo as loaded at start-up, then edited to kNewText.
MemoState EditedMemo() {
    MemoState state;
    state.memoPath = kMemo;
    (void)LoadNoteInto(state, ReadNoteFile(kMemo));
    state.memoDirty = true;
    return state;
}

TEST(FaultMatrix, MemoSave) {
    for (const bool foreign : {false, true}) {
        const std::string oldBytes = foreign ? kForeignBytes : kOldBytes;
        const std::u16string oldText = DecodeNoteText(oldBytes);
        const auto arrange = [&] {
            ffs::MakeFolders(kProgram);
            ffs::PutFile(kMemo, oldBytes);
        };
        const auto runCase = [&](const Plan& plan) {
            Verdict v;
            MemoState state = EditedMemo();
            BackupRecord record;
            SaveResult result = SaveResult::Failed;
            const bool crashed = UnderPlan(plan, [&] { result = SaveMemo(state, kNewText, kBackupSettings, kBackupFolder, kNow, record); });
            const std::optional<std::string> disk = ffs::Content(kMemo);
            v.Expect(disk == oldBytes || disk == kNewBytes, "memo-damaged", "memo on disk: " + Show(disk));
            if (foreign && disk == kNewBytes) {
                v.Expect(IntactCopyIn(kBackupFolder, oldBytes), "foreign-version-lost",
                         "the other program's version was replaced without an intact copy in the backups");
            }
            if (crashed) {
                // The next start loads whichever version is there; the user
                // types the new text again.
                state = MemoState {};
                state.memoPath = kMemo;
                const LoadOutcome loaded = LoadNoteInto(state, ReadNoteFile(kMemo));
                v.Expect(loaded.Succeeded() && (loaded.text == oldText || loaded.text == kNewText), "reload-damaged",
                         "the load after the restart gave other text");
                record = {};
                state.memoDirty = true;
            } else if (result == SaveResult::Saved) {
                v.Expect(disk == kNewBytes, "saved-not-on-disk", "Saved, but memo on disk: " + Show(disk));
                v.Expect(!state.memoDirty && state.lastSavedText == kNewText, "state-not-saved", "state after Saved");
                v.Expect(!ShouldReloadOnWatchTick(state, platform::GetAttributes(kMemo)), "reload-own-save",
                         "the watch takes the program's own save for an outside change");
            } else {
                v.Expect(state.memoDirty && state.lastSavedText == oldText, "text-dropped",
                         "a failed save marked the text as saved");
                v.Expect(disk == oldBytes, "failed-but-written", "Failed, memo on disk: " + Show(disk));
            }
            // The next autosave, with the text still in the editor.
            v.Expect(SaveMemo(state, kNewText, kBackupSettings, kBackupFolder, kLater, record) == SaveResult::Saved, "retry-failed",
                     "the next save failed");
            v.Expect(ffs::Content(kMemo) == kNewBytes, "retry-not-on-disk",
                     "after the next save: " + Show(ffs::Content(kMemo)));
            v.Expect(NoTempFiles(), "tmp-left", "a .tmp is left after the next save");
            if (foreign) {
                v.Expect(IntactCopyIn(kBackupFolder, oldBytes), "foreign-version-lost",
                         "after the next save no intact copy of the other program's version is left");
            }
            return v;
        };
        RunMatrix(foreign ? "memo save over another program's file" : "memo save", arrange, runCase);
    }
}

// --- Backup ------------------------------------------------------------------

TEST(FaultMatrix, Backup) {
    for (const int generations : {1, 2}) {
        const std::u16string target = kBackupFolder + BackupFileName(u"Note", u".txt", kNow);
        std::map<std::u16string, std::string> older;
        for (int i = 0; i < generations; ++i) {
            const platform::LocalTime then {2024, 5, 17, 9, 10 * i, 0, 0, 5};
            older[kBackupFolder + BackupFileName(u"Note", u".txt", then)] =
                EncodeNoteBytes(u"backup " + AsciiToUtf16(std::to_string(i)));
        }
        const BackupSettings settings {true, 10, generations};
        const auto arrange = [&] {
            ffs::MakeFolders(kBackupFolder);
            ffs::PutFile(kMemo, kNewBytes);
            for (const auto& [path, bytes] : older) ffs::PutFile(path, bytes);
        };
        const auto runCase = [&](const Plan& plan) {
            Verdict v;
            BackupRecord record;
            const bool crashed =
                UnderPlan(plan, [&] { BackupAfterSave(settings, kMemo, kBackupFolder, kNow, record); });
            v.Expect(ffs::Content(kMemo) == kNewBytes, "memo-touched", "the backup changed the memo");
            bool anyIntact = false;
            for (const std::u16string& path : ffs::FilesUnder(kBackupFolder)) {
                if (path.ends_with(u".tmp")) continue;  // not a backup; the next one clears it
                const std::optional<std::string> bytes = ffs::Content(path);
                const auto was = older.find(path);
                const bool intact = was != older.end() ? bytes == was->second : path == target && bytes == kNewBytes;
                v.Expect(intact, "damaged-backup", Utf16ToUtf8(path) + ": " + Show(bytes));
                anyIntact = anyIntact || intact;
            }
            v.Expect(anyIntact, "no-intact-backup", "no intact backup is left");
            if (!crashed) {
                v.Expect(record.lastBackupTime != LocalTimeToFileTime(kNow) || ffs::Content(target) == kNewBytes,
                         "record-without-copy",
                         "the record counts a copy that is not there");
                // The next save in the same second tries again when no copy was made.
                BackupAfterSave(settings, kMemo, kBackupFolder, kNow, record);
                v.Expect(ffs::Content(target) == kNewBytes, "not-retried",
                         "after the next save: " + Show(ffs::Content(target)));
            }
            return v;
        };
        RunMatrix("backup, " + std::to_string(generations) + " generation(s)", arrange, runCase);
    }
}

// --- Configuration -----------------------------------------------------------

// Values away from the defaults, a key the program does not know, a comment.
const std::string kUserIni =
    "\xEF\xBB\xBF; mine\r\n[Note]\r\nFile=/q/docs/Memo.txt\r\n[UI]\r\nOpacity=70\r\nTheme=Dark\r\n"
    "[Window]\r\nPosValid=1\r\nX=12\r\nY=34\r\nW=800\r\n[Backup]\r\nMaxGenerations=7\r\n[Extra]\r\nKeep=yes";
const std::string kTemplateIni = "\xEF\xBB\xBF[UI]\r\nOpacity=90\r\n";
constexpr std::string_view kEmbeddedIni = "[UI]\r\nOpacity=80\r\n";

struct DiskConfig {
    Config config;
    bool unknownKeyKept = false;
};

std::optional<DiskConfig> ConfigOnDisk() {
    const std::optional<std::string> bytes = ffs::Content(kConfig);
    if (!bytes) return std::nullopt;
    IniFile ini;
    ParseIniText(DecodeIniBytes(*bytes), ini);
    return DiskConfig {ConfigFromIni(ini), ini.GetString(u"Extra", u"Keep", u"") == u"yes"};
}

Config UserConfig() {
    IniFile ini;
    ParseIniText(DecodeIniBytes(kUserIni), ini);
    return ConfigFromIni(ini);
}

TEST(FaultMatrix, ConfigSave) {
    Config changed = UserConfig();
    changed.window.x = 123;
    changed.ui.opacity = 65;
    const auto arrange = [] {
        ffs::MakeFolders(kProgram);
        ffs::PutFile(kConfig, kUserIni);
    };
    std::optional<std::string> newBytes;
    const auto runCase = [&](const Plan& plan) {
        Verdict v;
        bool saved = false;
        const bool crashed = UnderPlan(plan, [&] { saved = SaveConfig(changed, kConfig); });
        const std::optional<std::string> disk = ffs::Content(kConfig);
        if (plan.kind == Plan::Kind::Clean) newBytes = disk;
        if (disk != kUserIni && disk != newBytes) {
            const std::optional<DiskConfig> parsed = ConfigOnDisk();
            const bool onlyUnknownLost = parsed && parsed->config == changed && !parsed->unknownKeyKept;
            v.Expect(false, onlyUnknownLost ? "unknown-keys-dropped" : "config-damaged",
                     "config.ini on disk is neither version (" + std::to_string(disk ? disk->size() : 0) + " bytes)");
        }
        if (!crashed && saved) v.Expect(disk == newBytes, "saved-not-on-disk", "SaveConfig returned true");
        // The retry timer saves again.
        v.Expect(SaveConfig(changed, kConfig), "retry-failed", "the next save failed");
        const std::optional<DiskConfig> after = ConfigOnDisk();
        v.Expect(after && after->config == changed, "retry-not-on-disk", "the next save did not write the values");
        v.Expect(after && after->unknownKeyKept, "unknown-keys-dropped", "a key the program does not use was lost");
        v.Expect(NoTempFiles(), "tmp-left", "a .tmp is left after the next save");
        return v;
    };
    RunMatrix("config save", arrange, runCase);
}

StartedConfig StartConfig() {
    return quillpane::StartConfig(kRoot, kExeFolder, kEmbeddedIni, platform::FileTimeNow());
}

// Start-up under the plan, then the program saves one changed setting (as
// when it records the version that ran).
TEST(FaultMatrix, ConfigLoad) {
    for (const bool withTemplate : {false, true}) {
        const auto arrange = [&] {
            ffs::MakeFolders(kProgram);
            ffs::MakeFolders(kExeFolder);
            ffs::PutFile(kConfig, kUserIni);
            if (withTemplate) ffs::PutFile(kExeFolder + u"config.default.ini", kTemplateIni);
        };
        const auto runCase = [&](const Plan& plan) {
            Verdict v;
            StartedConfig started;
            if (UnderPlan(plan, [&] { started = StartConfig(); })) started = StartConfig();
            started.config.application.lastRunVersion = u"9.9";
            if (!started.locked) (void)SaveConfig(started.config, kConfig);
            // Unchanged when the run left config.ini alone, else with the change.
            Config changed = UserConfig();
            changed.application.lastRunVersion = u"9.9";
            const std::optional<DiskConfig> disk = ConfigOnDisk();
            const bool kept =
                disk && disk->unknownKeyKept && (disk->config == UserConfig() || disk->config == changed);
            if (!kept) {
                const bool aside = IntactCopyIn(kProgram, kUserIni);
                v.Expect(false, aside ? "config-set-aside" : "config-replaced",
                         std::string(aside ? "config.ini was moved aside and" : "config.ini") +
                             " holds other values than the user's" +
                             (disk ? ", Opacity=" + std::to_string(disk->config.ui.opacity) : ", missing"));
            }
            v.Expect(NoTempFiles(), "tmp-left", "a .tmp is left");
            return v;
        };
        RunMatrix(withTemplate ? "config load, with config.default.ini" : "config load", arrange, runCase);
    }
}

// --- Memo load ---------------------------------------------------------------

TEST(FaultMatrix, MemoLoad) {
    const std::u16string configured = u"/q/docs/Memo.txt";
    constexpr std::u16string_view kAdded = u"typed after the load\r\n";
    const std::string editedBytes = EncodeNoteBytes(std::u16string(kOldText) + std::u16string(kAdded));
    const auto arrange = [&] {
        ffs::MakeFolders(kProgram);
        ffs::MakeFolders(u"/q/docs");
        ffs::PutFile(configured, kOldBytes);
    };
    // The start-up steps of ResolveMemoPath and LoadNote.
    const auto start = [&](MemoState& state) {
        const std::u16string path = ResolveNoteFile(configured, kRoot, u"Welcome\r\n").path;
        state.memoPath = platform::FinalPathOf(path).value_or(path);
        return LoadNoteInto(state, ReadNoteFile(state.memoPath));
    };
    const auto runCase = [&](const Plan& plan) {
        Verdict v;
        MemoState state;
        LoadOutcome outcome;
        if (UnderPlan(plan, [&] { outcome = start(state); })) {
            state = MemoState {};
            outcome = start(state);
        }
        v.Expect(state.memoPath == configured, "memo-switched",
                 "this run uses " + Utf16ToUtf8(state.memoPath) + " instead of the configured memo");
        if (outcome.Succeeded()) {
            v.Expect(outcome.text == kOldText || state.memoPath != configured, "wrong-text",
                     "the editor got other text than the file's");
            v.Expect(!ShouldReloadOnWatchTick(state, platform::GetAttributes(state.memoPath)), "reload-own-load",
                     "the watch reloads the memo just loaded");
        } else {
            v.Expect(state.saveDisabled, "save-not-locked", "a failed load left saving enabled");
            v.Expect(SaveNoteText(state, u"(could not read)") == SaveResult::Disabled, "failure-text-saved",
                     "the failure text was saved");
            v.Expect(ffs::Content(configured) == kOldBytes, "memo-damaged", "after a failed load");
            // The next watch tick tries again.
            v.Expect(ShouldReloadOnWatchTick(state, platform::GetAttributes(state.memoPath)), "stuck-read-only",
                     "the watch does not retry a failed load");
            outcome = LoadNoteInto(state, ReadNoteFile(state.memoPath));
            v.Expect(outcome.Succeeded() && outcome.text == kOldText, "retry-load-failed", "the retried load failed");
        }
        if (outcome.Succeeded()) {
            v.Expect(SaveNoteText(state, outcome.text + std::u16string(kAdded)) == SaveResult::Saved, "save-failed",
                     "the first save after the load failed");
        }
        const std::optional<std::string> disk = ffs::Content(configured);
        v.Expect(disk == editedBytes || state.memoPath != configured, "edit-lost",
                 "configured memo on disk: " + Show(disk));
        v.Expect(NoTempFiles(), "tmp-left", "a .tmp is left");
        return v;
    };
    RunMatrix("memo load", arrange, runCase);
}

// One line with the size of the matrix.
class Summary : public ::testing::Environment {
    void TearDown() override { std::printf("fault matrix: %d cases\n", gCases); }
};

[[maybe_unused]] ::testing::Environment* const gSummary = ::testing::AddGlobalTestEnvironment(new Summary);

// --- Phone inbox merge --------------------------------------------------------

// Each inbox text reaches the memo exactly once, whatever call fails or
// wherever the process stops, once the next pass has run.
TEST(FaultMatrix, PhoneInboxMerge) {
    const PhonePaths paths = PhonePathsUnder(u"/q/OneDrive");
    const std::u16string journal = kProgram + u"phone-merged.txt";
    const std::u16string first = paths.inbox + u"/20240517T070000Z_a.txt";
    const std::u16string second = paths.inbox + u"/20240517T080000Z_b.txt";
    const auto arrange = [&] {
        ffs::MakeFolders(kProgram);
        ffs::MakeFolders(paths.inbox);
        ffs::PutFile(kMemo, kOldBytes);
        ffs::PutFile(first, "from seven");
        ffs::PutFile(second, "from eight");
    };
    // The memo as the editor holds it: what is on disk at each pass.
    const auto memoText = [] { return DecodeNoteText(ffs::Content(kMemo).value_or("")); };
    MemoAccess memo;
    memo.holds = [&](std::u16string_view block) { return memoText().find(block) != std::u16string::npos; };
    memo.append = [&](std::u16string_view blocks) { return WriteNoteFile(kMemo, AppendMergedText(memoText(), blocks)); };
    const auto pass = [&] { (void)MergeInbox(paths, journal, kFallbackMergeMarker, memo, 3, [] {}); };
    const auto count = [](const std::u16string& text, std::u16string_view part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    };
    const auto runCase = [&](const Plan& plan) {
        Verdict v;
        (void)UnderPlan(plan, pass);
        const std::u16string afterFault = memoText();
        v.Expect(afterFault.starts_with(kOldText), "memo-damaged", "the memo lost its own text");
        for (const auto* text : {u"from seven", u"from eight"}) {
            v.Expect(count(afterFault, text) <= 1, "merged-twice", "a text is in the memo twice after the fault");
        }
        // The next trigger, undisturbed.
        pass();
        const std::u16string after = memoText();
        v.Expect(count(after, u"from seven") == 1 && count(after, u"from eight") == 1, "not-once",
                 "after the next pass each text must be in the memo once");
        // A file that cannot be read waits for a later pass; the others go on.
        if (!plan.Fails({Op::Open, Op::Read})) {
            v.Expect(after.find(u"from seven") < after.find(u"from eight"), "order", "merged out of time order");
        }
        v.Expect(!ffs::Content(first) && !ffs::Content(second), "inbox-left", "the inbox is not empty");
        v.Expect(NoTempFiles(), "tmp-left", "a .tmp is left");
        return v;
    };
    RunMatrix("phone inbox merge", arrange, runCase);
}

}  // namespace
}  // namespace quillpane

// The phone bridge's folder under OneDrive and the file work on it: the
// exported memo and marker settings, the inbox collected into blocks for the
// memo, and the journal of merged files. Every call fails quietly: the
// bridge never stands in the way of the memo.
#pragma once

#include "phone/merge_journal.h"
#include "phone/phone_bridge.h"
#include "platform/file_system.h"
#include "settings/config.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

struct PhonePaths {
    std::u16string root;      // <OneDrive>\Quillpn
    std::u16string inbox;     // phone to PC
    std::u16string notes;     // PC to phone
    std::u16string shortcut;  // phone.url
};

// A folder value as the environment gives it: 1 to 259 characters, trailing
// slashes removed, naming an existing folder; empty otherwise.
[[nodiscard]] std::optional<std::u16string> UsableFolder(std::u16string_view value);
[[nodiscard]] PhonePaths PhonePathsUnder(std::u16string_view oneDriveFolder);

// Creates the bridge folders that are missing; true when all three exist.
[[nodiscard]] bool EnsurePhoneFolders(const PhonePaths& paths);

// The inbox exists and holds a file that would be merged.
[[nodiscard]] bool InboxHasFiles(std::u16string_view inbox);

// "[InternetShortcut]" with the address, CR LF line ends.
[[nodiscard]] std::u16string PhoneShortcutText(std::u16string_view url);
// EF BB BF and the text in UTF-8, written by rename so that the sync client
// only ever sees a whole file; left alone when it already holds exactly that,
// so an unchanged file is not uploaded again.
[[nodiscard]] bool WriteBridgeFile(std::u16string_view path, std::u16string_view text, bool onlyWhenChanged = true);
// current.txt and section.json in the notes folder.
bool ExportNotes(const PhonePaths& paths, std::u16string_view memoText, const EditorSettings& editor);

// What one pass over the inbox found.
struct InboxCollection {
    std::u16string text;                // the blocks to append to the memo
    std::vector<InboxEntry> merged;     // the files behind them, as read
    std::vector<InboxEntry> deleteOnly; // empty files, and files already merged
};

// The memo as the merge sees it.
struct MemoAccess {
    // Whether the memo already holds this block (an earlier merge whose end
    // was not recorded).
    std::function<bool(std::u16string_view block)> holds;
    // Writes the memo with the blocks appended; false when it was not written.
    std::function<bool(std::u16string_view blocks)> append;
};

// Reads the files of a complete listing in merge order. A file that is
// still open for writing elsewhere, larger than the limit or unreadable is
// left for a later pass; one the journal holds is only deleted.
[[nodiscard]] InboxCollection CollectInbox(std::u16string_view inbox, std::span<const InboxEntry> listing,
                                           std::u16string_view marker, std::span<const JournalRecord> journal,
                                           const MemoAccess& memo);

// The inbox as entries; empty when it cannot be listed completely (a missing
// inbox lists as empty).
[[nodiscard]] std::optional<std::vector<InboxEntry>> ListInbox(std::u16string_view inbox);

// One attempt at each; the files deleted are forgotten by the journal, and
// the files left are returned.
[[nodiscard]] std::vector<InboxEntry> DeleteInboxFiles(std::u16string_view inbox, std::span<const InboxEntry> files,
                                                       std::vector<JournalRecord>& journal);

[[nodiscard]] std::vector<JournalRecord> LoadMergeJournal(std::u16string_view path);
bool SaveMergeJournal(std::u16string_view path, std::span<const JournalRecord> records);

enum class MergeOutcome {
    NothingMerged,   // no text to append; empty and already merged files were deleted
    Merged,          // the memo holds the inbox's text and its files are deleted (or listed for it)
    MemoNotWritten,  // appendToMemo failed: every file stays for a later pass
};

// One pass: the inbox's text is appended to the memo, with the files behind
// it recorded in the journal at journalPath around the memo write and
// before they are deleted (deletes are tried `deletePasses` times, with
// pause between passes). A file that survives its delete, or a crash at any
// point, is then deleted on a later pass rather than merged twice, and never
// deleted before its text is in the memo.
[[nodiscard]] MergeOutcome MergeInbox(const PhonePaths& paths, std::u16string_view journalPath,
                                      std::u16string_view marker, const MemoAccess& memo, int deletePasses,
                                      const std::function<void()>& pause);

}  // namespace quillpane

// The phone bridge's folder under OneDrive and the file work on it.
#include "phone/phone_files.h"

#include "platform/utf_convert.h"
#include "storage/note_codec.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr std::size_t kMaxFolderValue = 259;
// The journal is small; anything larger is not ours.
constexpr std::uint64_t kJournalMaxBytes = 1 << 20;

bool IsFolder(std::u16string_view path) {
    const std::optional<platform::FileAttributes> attributes = platform::GetAttributes(path);
    return attributes && attributes->isDirectory;
}

bool EnsureFolder(std::u16string_view path) {
    (void)platform::CreateDirectoryAt(path);
    return IsFolder(path);
}

// The UTC stamp of the name, else the file's time, else now.
platform::LocalTime MergeTimeOf(const InboxEntry& entry) {
    if (const auto stamp = InboxNameStamp(entry.name)) {
        if (const auto local = platform::LocalTimeOfUtc(*stamp)) return *local;
    }
    if (const auto local = platform::LocalTimeOfFileTime(entry.lastWriteTime)) return *local;
    return platform::LocalTimeNow();
}

}  // namespace

std::optional<std::u16string> UsableFolder(std::u16string_view value) {
    if (value.empty() || value.size() > kMaxFolderValue) return std::nullopt;
    while (!value.empty() && (value.back() == u'\\' || value.back() == u'/')) value.remove_suffix(1);
    if (value.empty() || !IsFolder(value)) return std::nullopt;
    return std::u16string(value);
}

PhonePaths PhonePathsUnder(std::u16string_view oneDriveFolder) {
    PhonePaths paths;
    paths.root = platform::JoinPath(oneDriveFolder, u"Quillpn");
    paths.inbox = platform::JoinPath(paths.root, u"inbox");
    paths.notes = platform::JoinPath(paths.root, u"notes");
    paths.shortcut = platform::JoinPath(paths.root, u"phone.url");
    return paths;
}

bool EnsurePhoneFolders(const PhonePaths& paths) {
    return EnsureFolder(paths.root) && EnsureFolder(paths.inbox) && EnsureFolder(paths.notes);
}

bool InboxHasFiles(std::u16string_view inbox) {
    const std::vector<platform::DirectoryEntry> entries = platform::ListDirectory(inbox);
    return std::any_of(entries.begin(), entries.end(), [](const platform::DirectoryEntry& entry) {
        return !entry.isDirectory && IsInboxFileName(entry.name);
    });
}

std::u16string PhoneShortcutText(std::u16string_view url) {
    std::u16string text = u"[InternetShortcut]\r\nURL=";
    text.append(url);
    text += u"\r\n";
    return text;
}

bool WriteBridgeFile(std::u16string_view path, std::u16string_view text, bool onlyWhenChanged) {
    const std::string bytes = EncodeNoteBytes(text);
    if (onlyWhenChanged) {
        // A file larger than the new bytes differs from them without being read.
        const platform::ReadResult old = platform::ReadWholeFile(path, bytes.size());
        if (old.status == platform::ReadStatus::Ok && old.bytes == bytes) return true;
    }
    return platform::WriteFileAtomic(path, bytes, true);
}

bool ExportNotes(const PhonePaths& paths, std::u16string_view memoText, const EditorSettings& editor) {
    if (!EnsureFolder(paths.notes)) return false;
    const bool memo = WriteBridgeFile(platform::JoinPath(paths.notes, u"current.txt"), memoText);
    const bool markers = WriteBridgeFile(platform::JoinPath(paths.notes, u"section.json"), SectionJsonText(editor));
    return memo && markers;
}

std::optional<std::vector<InboxEntry>> ListInbox(std::u16string_view inbox) {
    const auto listing = platform::TryListDirectory(inbox);
    if (!listing) return std::nullopt;
    std::vector<InboxEntry> entries;
    entries.reserve(listing->size());
    for (const platform::DirectoryEntry& entry : *listing) {
        entries.push_back({entry.name, entry.isDirectory, entry.size, entry.lastWriteTime});
    }
    return entries;
}

InboxCollection CollectInbox(std::u16string_view inbox, std::span<const InboxEntry> listing,
                             std::u16string_view marker, std::span<const JournalRecord> journal,
                             const MemoAccess& memo) {
    InboxCollection collection;
    for (InboxEntry entry : InboxMergeOrder({listing.begin(), listing.end()})) {
        const InboxAction action = DecideInboxEntry(entry, journal);
        if (action == InboxAction::DeleteOnly) collection.deleteOnly.push_back(entry);
        if (action != InboxAction::Merge && action != InboxAction::MergeUnlessInMemo) continue;
        // Without write sharing: a file the phone's sync client is still
        // writing fails to open and is taken whole on a later pass.
        const platform::ReadResult read =
            platform::ReadWholeFile(platform::JoinPath(inbox, entry.name), kInboxMaxBytes, platform::ReadSharing::ReadOnly);
        if (read.status != platform::ReadStatus::Ok) continue;
        // The journal must know the file as it was read.
        entry.size = read.bytes.size();
        if (read.lastWriteTime != 0) entry.lastWriteTime = read.lastWriteTime;
        const std::u16string body = InboxFileText(read.bytes);
        if (body.empty()) {
            collection.deleteOnly.push_back(entry);
            continue;
        }
        const std::u16string block = MergeBlock(marker, MergeTimeOf(entry), body);
        if (action == InboxAction::MergeUnlessInMemo && memo.holds(block)) {
            collection.deleteOnly.push_back(entry);
            continue;
        }
        collection.text += block;
        collection.merged.push_back(std::move(entry));
    }
    return collection;
}

std::vector<InboxEntry> DeleteInboxFiles(std::u16string_view inbox, std::span<const InboxEntry> files,
                                         std::vector<JournalRecord>& journal) {
    std::vector<InboxEntry> left;
    for (const InboxEntry& entry : files) {
        const std::u16string path = platform::JoinPath(inbox, entry.name);
        if (platform::DeleteFileAt(path) || !platform::GetAttributes(path)) {
            ForgetMerged(journal, entry);
        } else {
            left.push_back(entry);
        }
    }
    return left;
}

std::vector<JournalRecord> LoadMergeJournal(std::u16string_view path) {
    const platform::ReadResult read = platform::ReadWholeFile(path, kJournalMaxBytes);
    if (read.status != platform::ReadStatus::Ok) return {};
    return ParseMergeJournal(read.bytes);
}

bool SaveMergeJournal(std::u16string_view path, std::span<const JournalRecord> records) {
    if (records.empty()) {
        // With the temporary file a write cut short may have left.
        (void)platform::DeleteFileAt(std::u16string(path) + u".tmp");
        return platform::DeleteFileAt(path) || !platform::GetAttributes(path);
    }
    return platform::WriteFileAtomic(path, SerializeMergeJournal(records), true);
}

MergeOutcome MergeInbox(const PhonePaths& paths, std::u16string_view journalPath, std::u16string_view marker,
                        const MemoAccess& memo, int deletePasses, const std::function<void()>& pause) {
    const std::optional<std::vector<InboxEntry>> listing = ListInbox(paths.inbox);
    if (!listing) return MergeOutcome::NothingMerged;
    std::vector<JournalRecord> onDisk = LoadMergeJournal(journalPath);
    std::vector<JournalRecord> journal = PruneMergeJournal(onDisk, *listing);
    const auto save = [&] {
        if (journal != onDisk && SaveMergeJournal(journalPath, journal)) onDisk = journal;
    };
    InboxCollection found = CollectInbox(paths.inbox, *listing, marker, journal, memo);
    const bool merging = !found.text.empty();
    if (merging) {
        // Recorded first: a crash during or after the memo write leaves a
        // record that sends the next pass to the memo to see what landed.
        for (const InboxEntry& entry : found.merged) RecordPending(journal, entry);
        save();
        if (!memo.append(found.text)) return MergeOutcome::MemoNotWritten;
        for (const InboxEntry& entry : found.merged) RecordMerged(journal, entry);
        save();
    }
    std::vector<InboxEntry> left = std::move(found.merged);
    left.insert(left.end(), found.deleteOnly.begin(), found.deleteOnly.end());
    // The sync client may hold a file open for a moment.
    for (int pass = 0; pass < deletePasses && !left.empty(); ++pass) {
        if (pass > 0) pause();
        left = DeleteInboxFiles(paths.inbox, left, journal);
    }
    save();
    return merging ? MergeOutcome::Merged : MergeOutcome::NothingMerged;
}

}  // namespace quillpane

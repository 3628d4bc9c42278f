// The record of merged inbox files that makes each merge happen once: a file
// whose text is already in the memo is deleted, never merged a second time.
#pragma once

#include "phone/phone_bridge.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// A merged file, known by its name, size and last write time. A pending
// one was about to be merged when the memo was written: whether its text
// made it into the memo is read from the memo itself.
struct JournalRecord {
    std::u16string name;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;
    bool pending = false;
    bool operator==(const JournalRecord&) const = default;
};

// Oldest records are dropped beyond this, so a file that can never be
// deleted cannot make the journal grow without end.
inline constexpr std::size_t kMaxJournalRecords = 1000;

enum class InboxAction {
    Merge,              // append its text to the memo
    MergeUnlessInMemo,  // the memo write of an earlier merge may not have happened
    DeleteOnly,         // its text is already in the memo
    Skip,        // not an inbox file, or too large: it stays
};

// Never fails: unreadable lines, and a last line without its line break (a
// torn write), are left out.
[[nodiscard]] std::vector<JournalRecord> ParseMergeJournal(std::string_view bytes);
[[nodiscard]] std::string SerializeMergeJournal(std::span<const JournalRecord> records);

[[nodiscard]] bool JournalHolds(std::span<const JournalRecord> records, const InboxEntry& entry);
[[nodiscard]] InboxAction DecideInboxEntry(const InboxEntry& entry, std::span<const JournalRecord> records);

// Before the memo holding the entry's text is written.
void RecordPending(std::vector<JournalRecord>& records, const InboxEntry& entry);
// After it was written.
void RecordMerged(std::vector<JournalRecord>& records, const InboxEntry& entry);
// After the entry's file was deleted.
void ForgetMerged(std::vector<JournalRecord>& records, const InboxEntry& entry);
// Keeps the records whose file is in listing, which must be a complete,
// successful listing of the inbox (a failed one would forget every file).
[[nodiscard]] std::vector<JournalRecord> PruneMergeJournal(std::span<const JournalRecord> records,
                                                           std::span<const InboxEntry> listing);

}  // namespace quillpane

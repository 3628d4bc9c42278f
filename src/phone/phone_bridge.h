// The phone bridge's rules over names, bytes and times: which inbox files are
// merged and in what order, their text, the blocks appended to the memo, and
// the section.json the phone page reads. The Win32 side does the file work.
#pragma once

#include "platform/file_system.h"
#include "settings/config.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// The phone web page: written into phone.url and shown as a QR code.
inline constexpr std::u16string_view kPhonePageUrl = u"https://ferrix.github.io/quillpane/phone/";

// Focus changes look into the inbox at most this often, and not for this
// long after a merge.
inline constexpr std::uint64_t kInboxCheckIntervalMs = 10000;
inline constexpr std::uint64_t kAfterMergeQuietMs = 60000;
// Tick values of 0 mean "never".
[[nodiscard]] bool InboxCheckDue(std::uint64_t now, std::uint64_t lastMergeTick, std::uint64_t lastCheckTick);

// The poll after the bridge starts: passes 20, 60, 100 and 140 s later.
inline constexpr unsigned kPhonePollPasses = 4;
inline constexpr unsigned kPhonePollFirstMs = 20000;
inline constexpr unsigned kPhonePollNextMs = 40000;

// Larger inbox files stay where they are.
inline constexpr std::uint64_t kInboxMaxBytes = 2097152;
// The marker of merged blocks when the marker setting in force is empty.
inline constexpr std::u16string_view kFallbackMergeMarker = u"------------------------------";

// One entry of the inbox listing.
struct InboxEntry {
    std::u16string name;  // the file name only, no folder
    bool isDirectory = false;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // in the platform's file time units
    bool operator==(const InboxEntry&) const = default;
};

// Not empty, not starting with ".", extension ".txt" or ".md" in any case.
[[nodiscard]] bool IsInboxFileName(std::u16string_view name);
// A file with such a name that is within kInboxMaxBytes.
[[nodiscard]] bool QualifiesForMerge(const InboxEntry& entry);

// The entries to merge, in merge order (see the definition).
[[nodiscard]] std::vector<InboxEntry> InboxMergeOrder(std::vector<InboxEntry> entries);

// The UTC time a name starts with: "YYYYMMDDThhmmssZ_" ("t" and "z" too).
// milliseconds and dayOfWeek stay 0.
[[nodiscard]] std::optional<platform::LocalTime> InboxNameStamp(std::u16string_view name);

// An inbox file's bytes as text, NULs kept (see the definition).
[[nodiscard]] std::u16string DecodeInboxBytes(std::string_view bytes);
// Decoded, line ends made CR LF, trailing CR and LF removed; empty means the
// file is only deleted.
[[nodiscard]] std::u16string InboxFileText(std::string_view bytes);

// For a consumer that stops at the first NUL (SetWindowTextW and the like).
[[nodiscard]] std::u16string WithoutNulCharacters(std::u16string_view text);

// The marker text in force, or kFallbackMergeMarker when it is empty.
[[nodiscard]] std::u16string MergeMarker(const EditorSettings& editor);

// marker CR LF time CR LF body CR LF.
[[nodiscard]] std::u16string MergeBlock(std::u16string_view marker, const platform::LocalTime& local,
                                        std::u16string_view body);

// The memo after the merge: CR LF first unless it is empty or ends in LF.
[[nodiscard]] std::u16string AppendMergedText(std::u16string_view memo, std::u16string_view mergedText);

// {"role":"R","separator":"S","heading":"H"} on one line.
[[nodiscard]] std::u16string SectionJsonText(const EditorSettings& editor);
[[nodiscard]] std::u16string JsonEscape(std::u16string_view text);

// The name a shared selection's file takes: the memo file's name with the
// characters a file name cannot hold made "_", and trailing spaces and dots
// removed; "Quillpane" with the extension when nothing is left.
[[nodiscard]] std::u16string ShareFileName(std::u16string_view memoPath);

}  // namespace quillpane

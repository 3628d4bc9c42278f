// The record of merged inbox files that makes each merge happen once.
//
// The text form is UTF-8, one record a line: size, a space, last write time,
// a space, the name to the end of the line. In names a backslash, and any
// unit below U+0020 or unpaired surrogate, is written as \\ or \uXXXX so that
// every name Windows allows comes back unit for unit.
#include "phone/merge_journal.h"

#include "platform/utf_convert.h"
#include "platform/case_fold.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace quillpane {
namespace {

constexpr std::string_view kHeader = "Quillpane inbox journal 1";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The file system compares names case-insensitively: a name that only
// changed case is the same file.
bool SameFile(const JournalRecord& record, const InboxEntry& entry) {
    return record.size == entry.size && record.lastWriteTime == entry.lastWriteTime &&
           SameIgnoringCase(record.name, entry.name);
}

std::u16string EscapeName(std::u16string_view name) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        const bool paired = (IsHighSurrogate(c) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) ||
                            (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(name[i - 1]));
        if (c == u'\\') {
            out += u"\\\\";
        } else if (c < 0x20 || ((IsHighSurrogate(c) || IsLowSurrogate(c)) && !paired)) {
            out += u"\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::u16string> UnescapeName(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            if (text[i] < 0x20) return std::nullopt;
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'\\') {
            out += u'\\';
            ++i;
            continue;
        }
        if (i + 6 > text.size() || text[i + 1] != u'u') return std::nullopt;
        unsigned value = 0;
        for (std::size_t k = i + 2; k < i + 6; ++k) {
            const char16_t h = text[k];
            unsigned digit = 0;
            if (h >= u'0' && h <= u'9') digit = h - u'0';
            else if (h >= u'A' && h <= u'F') digit = h - u'A' + 10;
            else if (h >= u'a' && h <= u'f') digit = h - u'a' + 10;
            else return std::nullopt;
            value = value * 16 + digit;
        }
        out += static_cast<char16_t>(value);
        i += 5;
    }
    return out;
}

// A decimal number up to the next space; advances past the space.
std::optional<std::uint64_t> ReadNumber(std::string_view line, std::size_t& at) {
    const std::size_t start = at;
    std::uint64_t value = 0;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
        const auto digit = static_cast<std::uint64_t>(line[at] - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
        ++at;
    }
    if (at == start || at >= line.size() || line[at] != ' ') return std::nullopt;
    ++at;
    return value;
}

std::optional<JournalRecord> ParseRecord(std::string_view line) {
    const bool pending = line.starts_with('?');
    if (pending) line.remove_prefix(1);
    std::size_t at = 0;
    const auto size = ReadNumber(line, at);
    if (!size) return std::nullopt;
    const auto time = ReadNumber(line, at);
    if (!time) return std::nullopt;
    const auto escaped = Utf8ToUtf16Strict(line.substr(at));
    if (!escaped) return std::nullopt;
    auto name = UnescapeName(*escaped);
    if (!name || name->empty()) return std::nullopt;
    return JournalRecord {std::move(*name), *size, *time, pending};
}

void AppendDecimal(std::string& out, std::uint64_t value) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) out += digits[--count];
}

void KeepNewest(std::vector<JournalRecord>& records) {
    if (records.size() > kMaxJournalRecords) {
        records.erase(records.begin(), records.end() - static_cast<std::ptrdiff_t>(kMaxJournalRecords));
    }
}

bool Holds(std::span<const JournalRecord> records, const JournalRecord& record) {
    return std::find(records.begin(), records.end(), record) != records.end();
}

}  // namespace

std::vector<JournalRecord> ParseMergeJournal(std::string_view bytes) {
    std::vector<JournalRecord> records;
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n', start)) {
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line == kHeader) continue;
        auto record = ParseRecord(line);
        if (record && !Holds(records, *record)) records.push_back(std::move(*record));
    }
    KeepNewest(records);
    return records;
}

std::string SerializeMergeJournal(std::span<const JournalRecord> records) {
    std::string out(kHeader);
    out += '\n';
    for (const JournalRecord& record : records) {
        if (record.pending) out += '?';
        AppendDecimal(out, record.size);
        out += ' ';
        AppendDecimal(out, record.lastWriteTime);
        out += ' ';
        out += Utf16ToUtf8(EscapeName(record.name));
        out += '\n';
    }
    return out;
}

bool JournalHolds(std::span<const JournalRecord> records, const InboxEntry& entry) {
    return std::any_of(records.begin(), records.end(),
                       [&](const JournalRecord& record) { return SameFile(record, entry); });
}

InboxAction DecideInboxEntry(const InboxEntry& entry, std::span<const JournalRecord> records) {
    if (!QualifiesForMerge(entry)) return InboxAction::Skip;
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const JournalRecord& record) { return SameFile(record, entry); });
    if (found == records.end()) return InboxAction::Merge;
    return found->pending ? InboxAction::MergeUnlessInMemo : InboxAction::DeleteOnly;
}

namespace {

void Record(std::vector<JournalRecord>& records, const InboxEntry& entry, bool pending) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const JournalRecord& record) { return SameFile(record, entry); });
    if (found != records.end()) {
        found->pending = pending;
        return;
    }
    records.push_back(JournalRecord {entry.name, entry.size, entry.lastWriteTime, pending});
    KeepNewest(records);
}

}  // namespace

void RecordPending(std::vector<JournalRecord>& records, const InboxEntry& entry) {
    Record(records, entry, true);
}

void RecordMerged(std::vector<JournalRecord>& records, const InboxEntry& entry) {
    Record(records, entry, false);
}

void ForgetMerged(std::vector<JournalRecord>& records, const InboxEntry& entry) {
    std::erase_if(records, [&](const JournalRecord& record) { return SameFile(record, entry); });
}

std::vector<JournalRecord> PruneMergeJournal(std::span<const JournalRecord> records,
                                             std::span<const InboxEntry> listing) {
    std::vector<JournalRecord> kept;
    for (const JournalRecord& record : records) {
        const bool present = std::any_of(listing.begin(), listing.end(), [&](const InboxEntry& entry) {
            return !entry.isDirectory && SameFile(record, entry);
        });
        if (present) kept.push_back(record);
    }
    return kept;
}

}  // namespace quillpane

// The phone bridge's rules over names, bytes and times: which inbox files are
// merged and in what order, their text, the blocks appended to the memo, and
// the section.json the phone page reads.
#include "phone/phone_bridge.h"

#include "platform/case_fold.h"
#include "platform/time_stamp.h"
#include "storage/note_codec.h"

#include <algorithm>

namespace quillpane {
namespace {

bool LessIgnoreCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return LowerUnit(x) < LowerUnit(y); });
}

std::optional<int> Digits(std::u16string_view text, std::size_t at, std::size_t count, int low, int high) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        value = value * 10 + (text[i] - u'0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

bool InboxCheckDue(std::uint64_t now, std::uint64_t lastMergeTick, std::uint64_t lastCheckTick) {
    if (lastMergeTick != 0 && now - lastMergeTick < kAfterMergeQuietMs) return false;
    return lastCheckTick == 0 || now - lastCheckTick >= kInboxCheckIntervalMs;
}

bool IsInboxFileName(std::u16string_view name) {
    if (name.empty() || name.front() == u'.') return false;
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot + 1 == name.size()) return false;
    const std::u16string_view extension = name.substr(dot);
    return SameIgnoringCase(extension, u".txt") || SameIgnoringCase(extension, u".md");
}

bool QualifiesForMerge(const InboxEntry& entry) {
    return !entry.isDirectory && entry.size <= kInboxMaxBytes && IsInboxFileName(entry.name);
}

// Sorted by name, case-insensitively, so that names starting with the UTC
// stamp come oldest first; the exact name breaks ties so the order does not
// depend on the listing's.
std::vector<InboxEntry> InboxMergeOrder(std::vector<InboxEntry> entries) {
    std::erase_if(entries, [](const InboxEntry& entry) { return !QualifiesForMerge(entry); });
    std::sort(entries.begin(), entries.end(), [](const InboxEntry& a, const InboxEntry& b) {
        if (LessIgnoreCase(a.name, b.name)) return true;
        if (LessIgnoreCase(b.name, a.name)) return false;
        return a.name < b.name;
    });
    return entries;
}

std::optional<platform::LocalTime> InboxNameStamp(std::u16string_view name) {
    if (name.size() < 17) return std::nullopt;
    const auto isOneOf = [](char16_t c, char16_t upper) { return c == upper || c == upper + 0x20; };
    if (!isOneOf(name[8], u'T') || !isOneOf(name[15], u'Z') || name[16] != u'_') return std::nullopt;
    const auto year = Digits(name, 0, 4, 0, 9999);
    const auto month = Digits(name, 4, 2, 1, 12);
    const auto day = Digits(name, 6, 2, 1, 31);
    const auto hour = Digits(name, 9, 2, 0, 23);
    const auto minute = Digits(name, 11, 2, 0, 59);
    const auto second = Digits(name, 13, 2, 0, 60);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    platform::LocalTime time;
    time.year = *year;
    time.month = *month;
    time.day = *day;
    time.hour = *hour;
    time.minute = *minute;
    time.second = *second;
    return time;
}

// EF BB BF: lenient UTF-8; FF FE: UTF-16LE; no bytes: empty; otherwise strict
// UTF-8, or the ANSI code page when that fails. FE FF is not taken for
// UTF-16BE here: no valid UTF-8 starts with FE, so it goes to the code page.
// NULs stay: a UTF-16 file without a byte-order mark is valid UTF-8 with a
// NUL after every ASCII letter, and its text must not end at the first one.
std::u16string DecodeInboxBytes(std::string_view bytes) {
    if (bytes.starts_with("\xFE\xFF")) return platform::AnsiToUtf16(bytes);
    return DecodeNoteBytes(bytes);
}

std::u16string InboxFileText(std::string_view bytes) {
    std::u16string text =
        bytes.starts_with("\xFE\xFF") ? NormalizeLineEnds(platform::AnsiToUtf16(bytes)) : DecodeNoteText(bytes);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n')) text.pop_back();
    return text;
}

std::u16string WithoutNulCharacters(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c != u'\0') out += c;
    }
    return out;
}

std::u16string MergeMarker(const EditorSettings& editor) {
    const std::u16string& marker =
        editor.sectionMarkerRole == SectionMarkerRole::Heading ? editor.headingLine : editor.separatorLine;
    return marker.empty() ? std::u16string(kFallbackMergeMarker) : marker;
}

std::u16string MergeBlock(std::u16string_view marker, const platform::LocalTime& local, std::u16string_view body) {
    std::u16string block;
    block.reserve(marker.size() + body.size() + 24);
    block.append(marker);
    block += u"\r\n";
    block += DateTimeStamp(StampKind::DateAndTime, local);
    block += u"\r\n";
    block.append(body);
    block += u"\r\n";
    return block;
}

std::u16string AppendMergedText(std::u16string_view memo, std::u16string_view mergedText) {
    std::u16string out;
    out.reserve(memo.size() + 2 + mergedText.size());
    out.append(memo);
    if (!memo.empty() && memo.back() != u'\n') out += u"\r\n";
    out.append(mergedText);
    return out;
}

std::u16string JsonEscape(std::u16string_view text) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'\t': out += u"\\t"; break;
        case u'\n': out += u"\\n"; break;
        case u'\r': out += u"\\r"; break;
        case u'"': out += u"\\\""; break;
        case u'\\': out += u"\\\\"; break;
        default:
            if (c < 0x20) {
                out += u"\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::u16string SectionJsonText(const EditorSettings& editor) {
    std::u16string json = u"{\"role\":\"";
    json += editor.sectionMarkerRole == SectionMarkerRole::Heading ? u"Heading" : u"Separator";
    json += u"\",\"separator\":\"";
    json += JsonEscape(editor.separatorLine);
    json += u"\",\"heading\":\"";
    json += JsonEscape(editor.headingLine);
    json += u"\"}";
    return json;
}

std::u16string ShareFileName(std::u16string_view memoPath) {
    const std::size_t slash = memoPath.find_last_of(u"\\/");
    std::u16string name(slash == std::u16string_view::npos ? memoPath : memoPath.substr(slash + 1));
    for (char16_t& c : name) {
        if (c < 0x20 || std::u16string_view(u"\"*/:<>?\\|").find(c) != std::u16string_view::npos) c = u'_';
    }
    const std::size_t dot = name.rfind(u'.');
    std::u16string extension;
    if (dot != std::u16string::npos && dot > 0 && dot + 1 < name.size()) extension = name.substr(dot);
    const auto trim = [](std::u16string& text) {
        while (!text.empty() && (text.back() == u' ' || text.back() == u'.')) text.pop_back();
    };
    trim(name);
    if (!name.empty()) return name;
    trim(extension);
    return extension.empty() ? std::u16string(u"Quillpane.txt") : u"Quillpane" + extension;
}

}  // namespace quillpane

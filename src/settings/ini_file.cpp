// The INI document behind config.ini: decoding, parsing, lookup and saving.
#include "settings/ini_file.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "settings/ascii_text.h"

#include <climits>

namespace quillpane {
namespace {

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

// What the C runtime's wcstol skips before a number (the ASCII part of it).
constexpr bool IsScanSpace(char16_t c) {
    return c == u' ' || (c >= 0x09 && c <= 0x0D);
}

// One line of the file, already trimmed and not empty.
void ParseLine(std::u16string_view line, IniFile& document, const std::u16string*& current) {
    if (line.front() == u';') return;
    if (line.size() >= 3 && line.front() == u'[' && line.back() == u']') {
        const std::u16string_view name = line.substr(1, line.size() - 2);
        auto found = document.values.find(name);
        if (found == document.values.end()) {
            document.sections.emplace_back(name);
            document.keyOrder.emplace(std::u16string(name), std::vector<std::u16string>());
            found = document.values.emplace(std::u16string(name), decltype(found->second)()).first;
        }
        current = &found->first;
        return;
    }
    if (current == nullptr || current->empty()) return;
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return;
    const std::u16string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty()) return;
    document.SetString(*current, key, TrimBlanks(line.substr(equals + 1)));
}

// A value holding a line break would turn into further lines of the file
// (and could forge keys), so breaks are written as spaces.
void AppendValue(std::u16string& out, std::u16string_view value) {
    for (const char16_t c : value) out.push_back((c == u'\r' || c == u'\n') ? u' ' : c);
}

}  // namespace

std::u16string DecodeIniBytes(std::string_view bytes) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) return Utf16FromBytes(bytes.substr(2), false);
    if (bytes.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF) return Utf16FromBytes(bytes.substr(2), true);
    if (bytes.size() >= 4 && byteAt(0) == '[' && byteAt(1) == 0) return Utf16FromBytes(bytes, false);
    if (bytes.size() >= 4 && byteAt(0) == 0 && byteAt(1) == '[') return Utf16FromBytes(bytes, true);
    // A BOM says UTF-8: one bad byte must not send the whole file through
    // the ANSI code page and every other character to mojibake.
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        return Utf8ToUtf16Lenient(bytes.substr(3));
    }
    std::string_view rest = bytes;
    if (std::optional<std::u16string> strict = Utf8ToUtf16Strict(rest); strict && !strict->empty()) return *strict;
    // Bytes that are not UTF-8 are read in the ANSI code page. Decoding them
    // as UTF-8 with replacement characters would lose every non-ASCII
    // character of a hand-written file (a memo path with an accent) at the
    // next save.
    if (std::u16string ansi = platform::AnsiToUtf16(rest); !ansi.empty()) return ansi;
    return Utf8ToUtf16Lenient(rest);
}

void ParseIniText(std::u16string_view text, IniFile& document) {
    const std::u16string* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        const std::u16string_view line = TrimBlanks(text.substr(start, end - start));
        if (!line.empty()) ParseLine(line, document, current);
        if (end >= text.size()) break;
        start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    }
}

std::u16string FormatIniText(const IniFile& document) {
    std::u16string out;
    bool first = true;
    for (const std::u16string& section : document.sections) {
        if (!first) out += u"\r\n";
        first = false;
        out += u'[';
        out += section;
        out += u']';
        const auto order = document.keyOrder.find(section);
        const auto entries = document.values.find(section);
        if (order == document.keyOrder.end() || entries == document.values.end()) continue;
        for (const std::u16string& key : order->second) {
            const auto value = entries->second.find(key);
            if (value == entries->second.end()) continue;
            out += u"\r\n";
            out += key;
            out += u'=';
            AppendValue(out, value->second);
        }
    }
    return out;
}

std::string EncodeIniFile(const IniFile& document) {
    const std::string utf8 = Utf16ToUtf8(FormatIniText(document));
    if (utf8.empty()) return {};
    return "\xEF\xBB\xBF" + utf8;
}

int ParseIniInt(std::u16string_view text, int defaultValue) {
    std::size_t i = 0;
    while (i < text.size() && IsScanSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude in 64 bits and stop growing once it is past
    // the int range; the sign decides which end it saturates to.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    bool anyDigit = false;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        anyDigit = true;
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - u'0');
    }
    if (!anyDigit) return defaultValue;
    if (negative) return magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::u16string FormatIniInt(int value) {
    // Work on the negative side so INT_MIN needs no special case.
    const bool negative = value < 0;
    long long rest = value;
    if (rest > 0) rest = -rest;
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' - rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (negative) digits.insert(digits.begin(), u'-');
    return digits;
}

void IniFile::Clear() {
    sections.clear();
    keyOrder.clear();
    values.clear();
}

IniSource IniFile::Read() {
    Clear();
    const platform::ReadResult file = platform::ReadWholeFile(path, kIniMaxBytes);
    if (file.status == platform::ReadStatus::NotFound) return IniSource::Missing;
    if (file.status == platform::ReadStatus::TooLarge) return IniSource::TooLarge;
    if (file.status != platform::ReadStatus::Ok) return IniSource::Unreadable;
    const std::u16string text = file.bytes.empty() ? std::u16string() : DecodeIniBytes(file.bytes);
    if (text.empty()) return IniSource::Empty;
    ParseIniText(text, *this);
    return IniSource::Parsed;
}

std::u16string IniFile::GetString(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue) const {
    const auto entries = values.find(section);
    if (entries == values.end()) return std::u16string(defaultValue);
    const auto value = entries->second.find(key);
    if (value == entries->second.end()) return std::u16string(defaultValue);
    return value->second;
}

int IniFile::GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const {
    const auto entries = values.find(section);
    if (entries == values.end()) return defaultValue;
    const auto value = entries->second.find(key);
    if (value == entries->second.end()) return defaultValue;
    return ParseIniInt(value->second, defaultValue);
}

void IniFile::SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    auto entries = values.find(section);
    if (entries == values.end()) {
        sections.emplace_back(section);
        keyOrder.emplace(std::u16string(section), std::vector<std::u16string>());
        entries = values.emplace(std::u16string(section), decltype(entries->second)()).first;
    }
    auto existing = entries->second.find(key);
    if (existing == entries->second.end()) {
        keyOrder[std::u16string(section)].emplace_back(key);
        entries->second.emplace(std::u16string(key), std::u16string(value));
    } else {
        existing->second.assign(value);
    }
}

void IniFile::SetInt(std::u16string_view section, std::u16string_view key, int value) {
    SetString(section, key, FormatIniInt(value));
}

bool IniFile::Save() const {
    const std::string bytes = EncodeIniFile(*this);
    if (bytes.empty()) return false;
    // Flushed before the rename, so a power cut leaves the old file or the new one.
    return platform::WriteFileAtomic(path, bytes, true);
}

}  // namespace quillpane

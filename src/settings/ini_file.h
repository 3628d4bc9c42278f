// The INI document behind config.ini: decoding, parsing, lookup and saving.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// Larger files are not read at all.
inline constexpr std::uint64_t kIniMaxBytes = 524288;

enum class IniSource {
    Parsed,      // read and decoded (it may still hold no section)
    Missing,     // no such file: an empty document
    Empty,       // read, but no text came out of it (empty, a lone BOM)
    TooLarge,    // over kIniMaxBytes: not read
    Unreadable,  // exists but could not be opened or read
};

// Section and key names compare as UTF-16 code units (case-sensitive).
// Every name in `sections` has an entry in both maps.
struct IniFile {
    std::u16string path;
    std::vector<std::u16string> sections;
    std::map<std::u16string, std::vector<std::u16string>, std::less<>> keyOrder;
    std::map<std::u16string, std::map<std::u16string, std::u16string, std::less<>>, std::less<>> values;

    // Clears the document, then reads path into it.
    [[nodiscard]] IniSource Read();
    // True for a parsed file and for an absent one (empty document).
    [[nodiscard]] bool Load() {
        const IniSource source = Read();
        return source == IniSource::Parsed || source == IniSource::Missing;
    }
    [[nodiscard]] std::u16string GetString(std::u16string_view section, std::u16string_view key,
                                           std::u16string_view defaultValue) const;
    [[nodiscard]] int GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;
    void SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    void SetInt(std::u16string_view section, std::u16string_view key, int value);
    // Writes BOM + UTF-8 to path + ".tmp" and moves it over path.
    [[nodiscard]] bool Save() const;

    void Clear();
};

// File bytes to UTF-16 (UTF-16 LE or BE with or without BOM, UTF-8 with or
// without BOM, else the ANSI code page; after a UTF-8 BOM always UTF-8, bad
// bytes replaced). Empty means the file is unusable.
[[nodiscard]] std::u16string DecodeIniBytes(std::string_view bytes);

// Adds the sections and keys of text to document (which is not cleared).
void ParseIniText(std::u16string_view text, IniFile& document);

// The document as saved: CR LF between lines, no blank lines, no comments,
// no line end after the last line.
[[nodiscard]] std::u16string FormatIniText(const IniFile& document);

// BOM + UTF-8 of FormatIniText; empty when there is nothing to write.
[[nodiscard]] std::string EncodeIniFile(const IniFile& document);

// Signed decimal with leading whitespace and sign, stopping at the first
// non-digit and saturating at the int range; defaultValue when no digit.
[[nodiscard]] int ParseIniInt(std::u16string_view text, int defaultValue);

// "%d".
[[nodiscard]] std::u16string FormatIniInt(int value);

}  // namespace quillpane

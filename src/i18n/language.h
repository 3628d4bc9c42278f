// The UI language: language numbers, the [UI] Language aliases, the mapping
// of the Windows UI language and the cached choice every text lookup uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillpane {

// The index of every string table.
enum Language : int {
    kJapanese = 0,
    kEnglish = 1,
    kKorean = 2,
    kChineseSimplified = 3,
    kChineseTraditional = 4,
    kFrench = 5,
    kItalian = 6,
    kGerman = 7,
    kSpanish = 8,
    kPortugueseBrazil = 9,
    kPolish = 10,
};
inline constexpr int kLanguageCount = 11;

struct LanguageAlias {
    std::u16string_view alias;  // an accepted [UI] Language value
    std::u16string_view tag;    // the tag passed to Windows
    int language;
};

// Every accepted [UI] Language value in lookup order.
[[nodiscard]] std::span<const LanguageAlias> LanguageAliases();

// The language of the first alias equal to the whole value, ignoring ASCII
// case; empty for no match.
[[nodiscard]] std::optional<int> LanguageFromAlias(std::u16string_view value);

// The Windows tag of the first alias equal to the whole value.
[[nodiscard]] std::optional<std::u16string_view> LanguageTagForAlias(std::u16string_view value);

// The language for a Windows LANGID; languages outside the list give English.
[[nodiscard]] int LanguageFromLangId(std::uint16_t langId);

// The language of the Windows user interface.
[[nodiscard]] int OsLanguage();

// The last resolved [UI] Language value and its language. The value is kept
// up to kMaxValueLength characters; longer values are compared by that prefix
// (no alias is that long, so they all resolve the same way).
class LanguageCache {
public:
    static constexpr std::size_t kMaxValueLength = 63;

    // The cached language when the value is unchanged; otherwise the alias's
    // language or, without one, osLanguage(), which is then cached.
    [[nodiscard]] int Resolve(std::u16string_view configuredLanguage, int (*osLanguage)());
    void Reset() { filled_ = false; }

private:
    bool filled_ = false;
    int language_ = kEnglish;
    std::array<char16_t, kMaxValueLength> value_{};
    std::size_t valueLength_ = 0;
};

// The language every text lookup uses, resolved from [UI] Language through
// the process-wide cache.
[[nodiscard]] int CurrentLanguage(std::u16string_view configuredLanguage);

// Empties the process-wide cache so the next lookup resolves again.
void ResetLanguageCache();

// The two names of a documentation file beside the executable in lookup
// order: "README.md" then "README.en.md" for Japanese, the other way round
// for every other language.
[[nodiscard]] std::array<std::u16string, 2> DocumentCandidates(std::u16string_view baseName,
                                                               int language);

}  // namespace quillpane

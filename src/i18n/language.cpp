// Resolution of the UI language from [UI] Language and the Windows UI language.
#include "i18n/language.h"

#include "platform/ui_language.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace quillpane {
namespace {

constexpr LanguageAlias kAliases[] = {
    {u"ja", u"ja-JP", kJapanese},
    {u"ja-JP", u"ja-JP", kJapanese},
    {u"japanese", u"ja-JP", kJapanese},
    {u"en", u"en-US", kEnglish},
    {u"en-US", u"en-US", kEnglish},
    {u"english", u"en-US", kEnglish},
    {u"ko", u"ko-KR", kKorean},
    {u"ko-KR", u"ko-KR", kKorean},
    {u"korean", u"ko-KR", kKorean},
    {u"zh", u"zh-CN", kChineseSimplified},
    {u"zh-CN", u"zh-CN", kChineseSimplified},
    {u"zh-Hans", u"zh-CN", kChineseSimplified},
    {u"chinese", u"zh-CN", kChineseSimplified},
    {u"zh-TW", u"zh-TW", kChineseTraditional},
    {u"zh-Hant", u"zh-TW", kChineseTraditional},
    {u"fr", u"fr-FR", kFrench},
    {u"fr-FR", u"fr-FR", kFrench},
    {u"french", u"fr-FR", kFrench},
    {u"it", u"it-IT", kItalian},
    {u"it-IT", u"it-IT", kItalian},
    {u"italian", u"it-IT", kItalian},
    {u"de", u"de-DE", kGerman},
    {u"de-DE", u"de-DE", kGerman},
    {u"german", u"de-DE", kGerman},
    {u"es", u"es-ES", kSpanish},
    {u"es-ES", u"es-ES", kSpanish},
    {u"spanish", u"es-ES", kSpanish},
    {u"pt", u"pt-BR", kPortugueseBrazil},
    {u"pt-BR", u"pt-BR", kPortugueseBrazil},
    {u"portuguese", u"pt-BR", kPortugueseBrazil},
    {u"pl", u"pl-PL", kPolish},
    {u"pl-PL", u"pl-PL", kPolish},
    {u"polish", u"pl-PL", kPolish},
};
static_assert(std::size(kAliases) == 33);

// Only ASCII letters fold: the aliases are ASCII, and folding anything else
// (the Kelvin sign to 'k', say) would accept values Windows does not know.
constexpr char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

const LanguageAlias* FindAlias(std::u16string_view value) {
    for (const LanguageAlias& row : kAliases) {
        if (EqualsIgnoringAsciiCase(value, row.alias)) return &row;
    }
    return nullptr;
}

// Windows primary language ids.
constexpr std::uint16_t kLangChinese = 0x04;
constexpr std::uint16_t kLangGerman = 0x07;
constexpr std::uint16_t kLangSpanish = 0x0A;
constexpr std::uint16_t kLangFrench = 0x0C;
constexpr std::uint16_t kLangItalian = 0x10;
constexpr std::uint16_t kLangJapanese = 0x11;
constexpr std::uint16_t kLangKorean = 0x12;
constexpr std::uint16_t kLangPolish = 0x15;
constexpr std::uint16_t kLangPortuguese = 0x16;

// Chinese sublanguages written in Traditional characters.
constexpr std::uint16_t kSubChineseTaiwan = 0x01;
constexpr std::uint16_t kSubChineseHongKong = 0x03;
constexpr std::uint16_t kSubChineseMacao = 0x05;

LanguageCache& ProcessLanguageCache() {
    static LanguageCache cache;
    return cache;
}

}  // namespace

std::span<const LanguageAlias> LanguageAliases() {
    return kAliases;
}

std::optional<int> LanguageFromAlias(std::u16string_view value) {
    if (const LanguageAlias* row = FindAlias(value)) return row->language;
    return std::nullopt;
}

std::optional<std::u16string_view> LanguageTagForAlias(std::u16string_view value) {
    if (const LanguageAlias* row = FindAlias(value)) return row->tag;
    return std::nullopt;
}

int LanguageFromLangId(std::uint16_t langId) {
    const std::uint16_t primary = langId & 0x3FF;
    const std::uint16_t sub = langId >> 10;
    switch (primary) {
    case kLangChinese:
        return (sub == kSubChineseTaiwan || sub == kSubChineseHongKong || sub == kSubChineseMacao)
                   ? kChineseTraditional
                   : kChineseSimplified;
    case kLangGerman: return kGerman;
    case kLangSpanish: return kSpanish;
    case kLangFrench: return kFrench;
    case kLangItalian: return kItalian;
    case kLangJapanese: return kJapanese;
    case kLangKorean: return kKorean;
    case kLangPolish: return kPolish;
    case kLangPortuguese: return kPortugueseBrazil;  // Portugal too: one Portuguese table
    default: return kEnglish;
    }
}

int OsLanguage() {
    return LanguageFromLangId(platform::UserUiLanguageId());
}

int LanguageCache::Resolve(std::u16string_view configuredLanguage, int (*osLanguage)()) {
    const std::u16string_view kept = configuredLanguage.substr(
        0, std::min(configuredLanguage.size(), kMaxValueLength));
    if (filled_ && kept == std::u16string_view(value_.data(), valueLength_)) return language_;

    // The full value decides: a value longer than the copy matches no alias.
    const std::optional<int> fromAlias =
        configuredLanguage.empty() ? std::nullopt : LanguageFromAlias(configuredLanguage);
    language_ = fromAlias ? *fromAlias : osLanguage();
    std::copy(kept.begin(), kept.end(), value_.begin());
    valueLength_ = kept.size();
    filled_ = true;
    return language_;
}

int CurrentLanguage(std::u16string_view configuredLanguage) {
    return ProcessLanguageCache().Resolve(configuredLanguage, &OsLanguage);
}

void ResetLanguageCache() {
    ProcessLanguageCache().Reset();
}

std::array<std::u16string, 2> DocumentCandidates(std::u16string_view baseName, int language) {
    std::u16string plain(baseName);
    plain += u".md";
    std::u16string english(baseName);
    english += u".en.md";
    if (language == kJapanese) return {std::move(plain), std::move(english)};
    return {std::move(english), std::move(plain)};
}

}  // namespace quillpane

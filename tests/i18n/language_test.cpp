// UI language choice: aliases, Windows LANGIDs, the cache and document order.
#include "i18n/language.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>

namespace quillpane {
namespace {

struct AliasCase {
    std::u16string_view alias;
    std::u16string_view tag;
    int language;
};

// The accepted values in their lookup order.
constexpr AliasCase kExpectedAliases[] = {
    {u"ja", u"ja-JP", 0},         {u"ja-JP", u"ja-JP", 0},      {u"japanese", u"ja-JP", 0},
    {u"en", u"en-US", 1},         {u"en-US", u"en-US", 1},      {u"english", u"en-US", 1},
    {u"ko", u"ko-KR", 2},         {u"ko-KR", u"ko-KR", 2},      {u"korean", u"ko-KR", 2},
    {u"zh", u"zh-CN", 3},         {u"zh-CN", u"zh-CN", 3},      {u"zh-Hans", u"zh-CN", 3},
    {u"chinese", u"zh-CN", 3},    {u"zh-TW", u"zh-TW", 4},      {u"zh-Hant", u"zh-TW", 4},
    {u"fr", u"fr-FR", 5},         {u"fr-FR", u"fr-FR", 5},      {u"french", u"fr-FR", 5},
    {u"it", u"it-IT", 6},         {u"it-IT", u"it-IT", 6},      {u"italian", u"it-IT", 6},
    {u"de", u"de-DE", 7},         {u"de-DE", u"de-DE", 7},      {u"german", u"de-DE", 7},
    {u"es", u"es-ES", 8},         {u"es-ES", u"es-ES", 8},      {u"spanish", u"es-ES", 8},
    {u"pt", u"pt-BR", 9},         {u"pt-BR", u"pt-BR", 9},      {u"portuguese", u"pt-BR", 9},
    {u"pl", u"pl-PL", 10},        {u"pl-PL", u"pl-PL", 10},     {u"polish", u"pl-PL", 10},
};

std::u16string ToUpperAscii(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
    }
    return upper;
}

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());  // ASCII test values only
}

TEST(LanguageAlias, TableHoldsEveryAcceptedValueInOrder) {
    const auto aliases = LanguageAliases();
    ASSERT_EQ(aliases.size(), std::size(kExpectedAliases));
    for (std::size_t i = 0; i < aliases.size(); ++i) {
        EXPECT_EQ(aliases[i].alias, kExpectedAliases[i].alias) << i;
        EXPECT_EQ(aliases[i].tag, kExpectedAliases[i].tag) << i;
        EXPECT_EQ(aliases[i].language, kExpectedAliases[i].language) << i;
    }
}

TEST(LanguageAlias, EveryAliasResolvesInAnyAsciiCase) {
    for (const AliasCase& row : kExpectedAliases) {
        for (const std::u16string& value :
             {std::u16string(row.alias), ToUpperAscii(row.alias)}) {
            EXPECT_EQ(LanguageFromAlias(value), row.language) << Narrow(value);
            EXPECT_EQ(LanguageTagForAlias(value), row.tag) << Narrow(value);
        }
    }
    EXPECT_EQ(LanguageFromAlias(u"zH-hAnT"), kChineseTraditional);
    EXPECT_EQ(LanguageFromAlias(u"ZH-HANT"), kChineseTraditional);
    EXPECT_EQ(LanguageTagForAlias(u"zh-hant"), u"zh-TW");
    EXPECT_EQ(LanguageFromAlias(u"GeRmAn"), kGerman);
}

TEST(LanguageAlias, OnlyTheWholeValueMatches) {
    using namespace std::string_view_literals;
    const std::u16string_view misses[] = {
        u"",       u"zh-HK",   u"pt-PT",   u"zh-SG", u"en-GB", u" de",     u"de ",
        u"d",      u"deu",     u"deutsch", u"en_US", u"zh-",   u"japanes", u"ja-JP-x",
        u"\uFF44\uFF45",       // fullwidth "de"
        u"\u212Aorean",        // Kelvin sign for 'K'
        u"polish\0"sv,            // embedded terminator
    };
    for (std::u16string_view value : misses) {
        EXPECT_FALSE(LanguageFromAlias(value).has_value()) << Narrow(value);
        EXPECT_FALSE(LanguageTagForAlias(value).has_value()) << Narrow(value);
    }
}

TEST(LanguageFromLangId, MapsPrimaryLanguageAndChineseScript) {
    struct Case {
        std::uint16_t langId;
        int language;
    };
    const Case cases[] = {
        {0x0404, kChineseTraditional},  // Taiwan
        {0x0C04, kChineseTraditional},  // Hong Kong
        {0x1404, kChineseTraditional},  // Macao
        {0x0804, kChineseSimplified},   // PRC
        {0x1004, kChineseSimplified},   // Singapore
        {0x0411, kJapanese},
        {0x0409, kEnglish},
        {0x0809, kEnglish},
        {0x0412, kKorean},
        {0x040C, kFrench},
        {0x0C0C, kFrench},   // Canada
        {0x0410, kItalian},
        {0x0407, kGerman},
        {0x0807, kGerman},   // Switzerland
        {0x0C0A, kSpanish},
        {0x080A, kSpanish},  // Mexico
        {0x0416, kPortugueseBrazil},
        {0x0816, kPortugueseBrazil},  // Portugal
        {0x0415, kPolish},
        {0x0413, kEnglish},  // Dutch
        {0x0419, kEnglish},  // Russian
        {0x0000, kEnglish},
        {0x0111, kEnglish},  // primary 0x111, not Japanese: all ten low bits count
        {0x0211, kEnglish},
        {0xFC07, kGerman},   // any sublanguage
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageFromLangId(c.langId), c.language) << std::hex << c.langId;
    }
}

// A stand-in for the Windows UI language that counts how often it is asked.
int fakeOsLanguage = kEnglish;
int osLanguageCalls = 0;
int FakeOsLanguage() {
    ++osLanguageCalls;
    return fakeOsLanguage;
}

class LanguageCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeOsLanguage = kEnglish;
        osLanguageCalls = 0;
    }
    LanguageCache cache;
};

TEST_F(LanguageCacheTest, UnknownOrEmptyValueFallsBackToOsLanguage) {
    fakeOsLanguage = kChineseTraditional;
    EXPECT_EQ(cache.Resolve(u"", &FakeOsLanguage), kChineseTraditional);
    fakeOsLanguage = kPortugueseBrazil;
    EXPECT_EQ(cache.Resolve(u"pt-PT", &FakeOsLanguage), kPortugueseBrazil);
    fakeOsLanguage = kChineseSimplified;
    EXPECT_EQ(cache.Resolve(u"zh-HK", &FakeOsLanguage), kChineseSimplified);
    EXPECT_EQ(osLanguageCalls, 3);
}

TEST_F(LanguageCacheTest, AliasWinsWithoutAskingTheOs) {
    fakeOsLanguage = kJapanese;
    EXPECT_EQ(cache.Resolve(u"ZH-Hant", &FakeOsLanguage), kChineseTraditional);
    EXPECT_EQ(osLanguageCalls, 0);
}

TEST_F(LanguageCacheTest, EqualValueUsesCachedLanguage) {
    fakeOsLanguage = kKorean;
    EXPECT_EQ(cache.Resolve(u"", &FakeOsLanguage), kKorean);
    fakeOsLanguage = kPolish;  // not looked at again while the value stays
    EXPECT_EQ(cache.Resolve(u"", &FakeOsLanguage), kKorean);
    EXPECT_EQ(osLanguageCalls, 1);

    cache.Reset();
    EXPECT_EQ(cache.Resolve(u"", &FakeOsLanguage), kPolish);
}

TEST_F(LanguageCacheTest, ChangedValueIsResolvedAgain) {
    EXPECT_EQ(cache.Resolve(u"de", &FakeOsLanguage), kGerman);
    EXPECT_EQ(cache.Resolve(u"fr", &FakeOsLanguage), kFrench);
    EXPECT_EQ(cache.Resolve(u"FR", &FakeOsLanguage), kFrench);  // exact compare, same result
    fakeOsLanguage = kItalian;
    EXPECT_EQ(cache.Resolve(u"", &FakeOsLanguage), kItalian);
    EXPECT_EQ(cache.Resolve(u"ja", &FakeOsLanguage), kJapanese);
    EXPECT_EQ(osLanguageCalls, 1);
}

TEST_F(LanguageCacheTest, ValueLongerThanTheCopyStillCaches) {
    const std::u16string longValue(80, u'x');
    fakeOsLanguage = kSpanish;
    EXPECT_EQ(cache.Resolve(longValue, &FakeOsLanguage), kSpanish);
    EXPECT_EQ(cache.Resolve(longValue, &FakeOsLanguage), kSpanish);
    EXPECT_EQ(osLanguageCalls, 1);

    // A value that is exactly the kept prefix is a different value only in
    // length past the copy; it resolves the same way (no alias is that long).
    const std::u16string sixtyThree(LanguageCache::kMaxValueLength, u'x');
    EXPECT_EQ(cache.Resolve(sixtyThree, &FakeOsLanguage), kSpanish);

    EXPECT_EQ(cache.Resolve(u"pl", &FakeOsLanguage), kPolish);
    EXPECT_EQ(cache.Resolve(longValue, &FakeOsLanguage), kSpanish);
    EXPECT_EQ(osLanguageCalls, 2);
}

TEST(CurrentLanguage, FollowsTheConfiguredValue) {
    ResetLanguageCache();
    EXPECT_EQ(CurrentLanguage(u"de"), kGerman);
    EXPECT_EQ(CurrentLanguage(u"de"), kGerman);
    EXPECT_EQ(CurrentLanguage(u"Polish"), kPolish);
    EXPECT_EQ(CurrentLanguage(u"zh-HK"), OsLanguage());
    EXPECT_EQ(CurrentLanguage(u""), OsLanguage());
    ResetLanguageCache();
}

TEST(DocumentCandidates, JapaneseLooksForThePlainFileFirst) {
    const auto japanese = DocumentCandidates(u"README", kJapanese);
    EXPECT_EQ(japanese[0], u"README.md");
    EXPECT_EQ(japanese[1], u"README.en.md");

    for (int language = 0; language < kLanguageCount; ++language) {
        if (language == kJapanese) continue;
        const auto other = DocumentCandidates(u"CHANGELOG", language);
        EXPECT_EQ(other[0], u"CHANGELOG.en.md") << language;
        EXPECT_EQ(other[1], u"CHANGELOG.md") << language;
    }
}

}  // namespace
}  // namespace quillpane

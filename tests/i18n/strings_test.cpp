// Localised texts: completeness, the shape of each text, the English
// fallback and the plural forms of the character count.
#include "i18n/strings.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace quillpane {
namespace {

using Texts = std::array<std::u16string_view, kLanguageCount>;

// One text in every language; the id is empty for the opacity levels and
// insert commands, which have none.
struct TextCase {
    std::string name;
    std::optional<TextId> id;
    Texts texts{};
};

std::vector<TextCase> AllTexts() {
    std::vector<TextCase> cases;
    const auto add = [&cases](std::string name, std::optional<TextId> id, auto lookup) {
        TextCase& c = cases.emplace_back(std::move(name), id);
        for (int language = 0; language < kLanguageCount; ++language) c.texts[language] = lookup(language);
    };
    for (int index = 0; index < kTextIdCount; ++index) {
        const auto id = static_cast<TextId>(index);
        add("id " + std::to_string(index), id, [id](int language) -> std::u16string_view {
            const char16_t* entry = TextRowOf(id)[language];
            return entry != nullptr ? entry : u"";  // read raw: no English fallback
        });
    }
    for (int level = 0; level < 5; ++level) {
        add("opacity " + std::to_string(level), std::nullopt,
            [level](int language) { return OpacityLevelName(level, language); });
    }
    for (const bool heading : {false, true}) {
        add(heading ? "insert heading" : "insert separator", std::nullopt,
            [heading](int language) { return InsertMarkerText(heading, language); });
    }
    return cases;
}

// Entries that are meant to read exactly as in English.
bool SameAsEnglishOnPurpose(std::optional<TextId> id, int language) {
    return (id == TextId::BytesSuffix && (language == kSpanish || language == kPortugueseBrazil)) ||
           (id == TextId::ReadmeMenu && (language == kPortugueseBrazil || language == kPolish)) ||
           (id == TextId::OkButton && language != kKorean && language != kChineseSimplified &&
            language != kChineseTraditional && language != kSpanish) ||
           (id == TextId::TextSubmenu && language == kGerman);
}

// What a translation must carry over unchanged: the placeholders in order,
// the line breaks and a shortcut suffix such as "(Alt+P)".
std::u16string Shape(std::u16string_view text) {
    std::u16string shape;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::u16string_view rest = text.substr(at);
        if (rest.starts_with(u"%d") || rest.starts_with(u"%s")) {
            shape += rest.substr(0, 2);
        } else if (rest[0] == u'\n') {
            shape += u'\n';
        } else if (rest.starts_with(u"(Alt+") || rest.starts_with(u"(Ctrl+") || rest.starts_with(u"(Win+")) {
            const std::size_t close = rest.find(u')');
            shape += close == std::u16string_view::npos ? rest : rest.substr(0, close + 1);
        }
    }
    return shape;
}

// Texts that also travel in a tray balloon, whose text holds 255 characters.
constexpr TextId kBalloonIds[] = {
    TextId::LoadFailedTooLarge, TextId::LoadFailedUnreadable, TextId::SaveFailed,
    TextId::HotkeyFailed,       TextId::ExitWaitsForSave,     TextId::UnsavedTextKept,
};

std::size_t Count(std::u16string_view text, std::u16string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::u16string_view::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

TEST(Strings, EnglishTextsAreExact) {
    EXPECT_EQ(Text(TextId::WelcomeText, kEnglish),
              u"Welcome to Quillpane\r\n"
              u"Write your notes here. They are saved automatically and will still be here next time.\r\n"
              u"Open Settings from the ⋮ at the top right (to the left of ×).\r\n"
              u"You can delete this text.\r\n");
    EXPECT_EQ(Text(TextId::LoadFailedTooLarge, kEnglish),
              u"This note file is too large to load (64 MB limit). Saving has been temporarily "
              u"disabled to avoid overwriting it. The original file has not been modified.");
    EXPECT_EQ(Text(TextId::LoadFailedUnreadable, kEnglish),
              u"This note file could not be read. Saving has been temporarily disabled to avoid "
              u"overwriting it. The original file has not been modified.");
    EXPECT_EQ(Text(TextId::SaveFailed, kEnglish),
              u"Failed to save the note. Please check that the file isn't open in another program.");
    EXPECT_EQ(Text(TextId::HotkeyFailed, kEnglish),
              u"Failed to register the shortcut key. It may already be in use by another program. "
              u"Please choose a different key.");
}

TEST(Strings, EveryTextIsTranslatedIntoEveryLanguage) {
    for (const TextCase& c : AllTexts()) {
        const std::u16string_view english = c.texts[kEnglish];
        for (int language = 0; language < kLanguageCount; ++language) {
            const std::u16string_view text = c.texts[language];
            EXPECT_FALSE(text.empty()) << c.name << '/' << language;
            if (language != kEnglish && !SameAsEnglishOnPurpose(c.id, language)) {
                EXPECT_NE(text, english) << c.name << '/' << language;
            }
            EXPECT_EQ(Shape(text), Shape(english)) << c.name << '/' << language;
        }
    }
}

TEST(Strings, SimplifiedAndTraditionalChineseDiffer) {
    for (const TextCase& c : AllTexts()) {
        if (c.id == TextId::CancelButton || c.id == TextId::InsertDate) continue;  // written alike in both
        EXPECT_NE(c.texts[kChineseSimplified], c.texts[kChineseTraditional]) << c.name;
    }
}

TEST(Strings, WelcomeTextHasFourCrLfLinesPointingAtTheMenuButton) {
    for (int language = 0; language < kLanguageCount; ++language) {
        const std::u16string_view text = Text(TextId::WelcomeText, language);
        EXPECT_EQ(Count(text, u"\r\n"), 4u) << language;
        EXPECT_EQ(Count(text, u"\r"), 4u) << language;  // no lone CR
        EXPECT_EQ(Count(text, u"\n"), 4u) << language;  // no lone LF
        EXPECT_TRUE(text.ends_with(u"\r\n")) << language;
        EXPECT_EQ(text.find(u"\r\n\r\n"), std::u16string_view::npos) << language;  // no empty line
        EXPECT_EQ(Count(text, u"⋮"), 1u) << language;
        EXPECT_EQ(Count(text, u"×"), 1u) << language;
        EXPECT_EQ(Count(text, u"Quillpane"), 1u) << language;
    }
}

TEST(Strings, MessagesAreSingleLinesThatFitATrayBalloon) {
    for (TextId id : kBalloonIds) {
        for (int language = 0; language < kLanguageCount; ++language) {
            const std::u16string_view text = Text(id, language);
            EXPECT_LE(text.size(), 255u) << static_cast<int>(id) << '/' << language;
            for (char16_t c : text) {
                EXPECT_GE(c, u' ') << static_cast<int>(id) << '/' << language;
            }
            EXPECT_EQ(text.find(u'%'), std::u16string_view::npos);
        }
    }
    for (int language = 0; language < kLanguageCount; ++language) {
        EXPECT_NE(Text(TextId::LoadFailedTooLarge, language).find(u"64"), std::u16string_view::npos)
            << language;
    }
}

TEST(Strings, MissingEntryFallsBackToEnglish) {
    TextRow row{};
    row[kEnglish] = u"Close panel";
    row[kJapanese] = u"パネルを閉じる";
    row[kGerman] = u"";
    EXPECT_EQ(PickText(row, kJapanese), u"パネルを閉じる");
    EXPECT_EQ(PickText(row, kFrench), u"Close panel");  // null entry
    EXPECT_EQ(PickText(row, kGerman), u"Close panel");  // empty entry
    EXPECT_EQ(PickText(row, -1), u"Close panel");
    EXPECT_EQ(PickText(row, kLanguageCount), u"Close panel");
    EXPECT_EQ(Text(TextId::SaveFailed, 99), Text(TextId::SaveFailed, kEnglish));
    EXPECT_EQ(Text(TextId::Count, kGerman), u"");  // not a text: empty, not another text
}

TEST(CharacterCountFormat, PolishHasThreeForms) {
    struct Case {
        int count;
        std::u16string_view form;
    };
    const Case cases[] = {
        {1, u"%d znak"},      {-1, u"%d znak"},     {2, u"%d znaki"},      {3, u"%d znaki"},
        {4, u"%d znaki"},     {22, u"%d znaki"},    {104, u"%d znaki"},    {-23, u"%d znaki"},
        {1002, u"%d znaki"},  {0, u"%d znaków"},    {5, u"%d znaków"},     {11, u"%d znaków"},
        {12, u"%d znaków"},   {13, u"%d znaków"},   {14, u"%d znaków"},    {21, u"%d znaków"},
        {112, u"%d znaków"},  {113, u"%d znaków"},  {1000, u"%d znaków"},  {-12, u"%d znaków"},
        {INT_MIN, u"%d znaków"},  // ...648: magnitude taken without overflow
        {INT_MAX, u"%d znaków"},  // ...647
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharacterCountFormat(c.count, kPolish), c.form) << c.count;
    }
}

TEST(CharacterCountFormat, SingularOnlyForOne) {
    struct Case {
        int language;
        std::u16string_view one;
        std::u16string_view other;
    };
    const Case cases[] = {
        {kEnglish, u"%d character", u"%d characters"},
        {kFrench, u"%d caractère", u"%d caractères"},
        {kItalian, u"%d carattere", u"%d caratteri"},
        {kSpanish, u"%d carácter", u"%d caracteres"},
        {kPortugueseBrazil, u"%d caractere", u"%d caracteres"},
        {kGerman, u"%d Zeichen", u"%d Zeichen"},
        {kJapanese, u"%d文字", u"%d文字"},
        {kKorean, u"%d글자", u"%d글자"},
        {kChineseSimplified, u"%d字", u"%d字"},
        {kChineseTraditional, u"%d字", u"%d字"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharacterCountFormat(1, c.language), c.one) << c.language;
        for (int count : {0, 2, 5, 21, 1000}) {
            EXPECT_EQ(CharacterCountFormat(count, c.language), c.other) << c.language << ':' << count;
        }
    }
    EXPECT_EQ(CharacterCountFormat(2, 42), u"%d characters");  // unknown language: English
}

TEST(CharacterCountFormat, EveryFormHoldsOnePlaceholder) {
    for (int language = 0; language < kLanguageCount; ++language) {
        for (int count : {0, 1, 2, 5}) {
            const std::u16string_view form = CharacterCountFormat(count, language);
            EXPECT_TRUE(form.starts_with(u"%d")) << language;
            EXPECT_EQ(Count(form, u"%"), 1u) << language;
        }
    }
}

TEST(ReplacedCountFormat, OneCountPerLanguageWithPluralForms) {
    for (int language = 0; language < kLanguageCount; ++language) {
        for (const int count : {1, 2, 5, 22}) {
            const std::u16string_view format = ReplacedCountFormat(count, language);
            EXPECT_EQ(Count(format, u"%d"), 1u) << language;
            EXPECT_EQ(Count(format, u"%"), 1u) << language;
            EXPECT_LE(format.size() + 8, 64u) << language;  // room for any count in the tip
        }
    }
    EXPECT_EQ(ReplacedCountFormat(2, kEnglish), u"%d occurrences replaced");
    EXPECT_EQ(ReplacedCountFormat(1, kEnglish), u"%d occurrence replaced");
    EXPECT_EQ(ReplacedCountFormat(22, kPolish), u"%d wystąpienia zamienione");
    EXPECT_EQ(ReplacedCountFormat(12, kPolish), u"%d wystąpień zamienionych");
    EXPECT_EQ(WithCount(ReplacedCountFormat(5000, kChineseSimplified), 5000), u"已替换 5000 处");
    EXPECT_EQ(WithCount(u"%d", 0), u"0");
}

}  // namespace
}  // namespace quillpane

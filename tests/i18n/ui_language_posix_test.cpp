// The POSIX stand-in for the Windows UI language, read from the locale
// variables (native builds only).
#ifndef _WIN32

#include "i18n/language.h"
#include "platform/ui_language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quillpane {
namespace {

// Sets the three locale variables for one test and restores them afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (std::size_t i = 0; i < 3; ++i) {
            const char* value = std::getenv(kNames[i]);
            if (value != nullptr) saved_[i] = value;
        }
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;
    ~LocaleEnvironment() {
        for (std::size_t i = 0; i < 3; ++i) Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }

    void Use(const char* lcAll, const char* lcMessages, const char* lang) {
        Set("LC_ALL", lcAll);
        Set("LC_MESSAGES", lcMessages);
        Set("LANG", lang);
    }

private:
    static void Set(const char* name, const char* value) {
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }

    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

TEST(UserUiLanguageId, MapsLocaleNamesToLangIds) {
    struct Case {
        const char* lang;
        std::uint16_t langId;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", 0x0411}, {"de_DE.UTF-8", 0x0407}, {"de", 0x0407},
        {"zh_TW.UTF-8", 0x0404}, {"zh_HK", 0x0C04},       {"zh_CN.GB18030", 0x0804},
        {"zh_SG", 0x1004},       {"zh", 0x0804},          {"pt_PT.UTF-8", 0x0816},
        {"pt_BR", 0x0416},       {"pl_PL.UTF-8", 0x0415}, {"fr_FR@euro", 0x040C},
        {"ko_KR.EUC-KR", 0x0412}, {"es_ES", 0x0C0A},      {"it_IT", 0x0410},
        {"nl_NL.UTF-8", 0x0413}, {"en_US.UTF-8", 0x0409}, {"C", 0x0409},
        {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},     {"xx_YY", 0x0409},
        {"", 0x0409},
    };
    LocaleEnvironment environment;
    for (const Case& c : cases) {
        environment.Use(nullptr, nullptr, c.lang);
        EXPECT_EQ(platform::UserUiLanguageId(), c.langId) << c.lang;
    }
}

TEST(UserUiLanguageId, FirstSetVariableDecides) {
    LocaleEnvironment environment;
    environment.Use("ja_JP.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8");
    EXPECT_EQ(platform::UserUiLanguageId(), 0x0411);
    environment.Use("", "de_DE.UTF-8", "fr_FR.UTF-8");  // empty counts as unset
    EXPECT_EQ(platform::UserUiLanguageId(), 0x0407);
    environment.Use(nullptr, nullptr, "fr_FR.UTF-8");
    EXPECT_EQ(platform::UserUiLanguageId(), 0x040C);
    environment.Use(nullptr, nullptr, nullptr);
    EXPECT_EQ(platform::UserUiLanguageId(), 0x0409);
}

TEST(OsLanguage, FollowsTheLocale) {
    LocaleEnvironment environment;
    environment.Use(nullptr, nullptr, "zh_HK.UTF-8");
    EXPECT_EQ(OsLanguage(), kChineseTraditional);
    environment.Use(nullptr, nullptr, "pt_PT.UTF-8");
    EXPECT_EQ(OsLanguage(), kPortugueseBrazil);
    environment.Use(nullptr, nullptr, "nl_NL.UTF-8");
    EXPECT_EQ(OsLanguage(), kEnglish);

    ResetLanguageCache();
    environment.Use(nullptr, nullptr, "zh_SG.UTF-8");
    EXPECT_EQ(CurrentLanguage(u""), kChineseSimplified);
    ResetLanguageCache();
    environment.Use(nullptr, nullptr, "pl_PL.UTF-8");
    EXPECT_EQ(CurrentLanguage(u"pt-PT"), kPolish);  // no alias: the OS language
    ResetLanguageCache();
}

}  // namespace
}  // namespace quillpane

#endif  // _WIN32

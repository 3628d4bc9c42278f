// The user's UI language on POSIX systems, read from the locale variables
// and expressed as the LANGID Windows would report for it.
#include "platform/ui_language.h"

#include <cstdlib>
#include <string_view>

namespace quillpane::platform {
namespace {

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

struct LocaleLangId {
    std::string_view locale;  // "ll" or "ll_CC"
    std::uint16_t langId;
};

// Language-and-territory rows come before the bare language they refine.
constexpr LocaleLangId kLocaleLangIds[] = {
    {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"zh_MO", 0x1404}, {"zh_SG", 0x1004},
    {"zh_CN", 0x0804}, {"zh", 0x0804},
    {"pt_PT", 0x0816}, {"pt_BR", 0x0416}, {"pt", 0x0416},
    {"en_GB", 0x0809}, {"en", 0x0409},
    {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"de", 0x0407},
    {"fr_CA", 0x0C0C}, {"fr_BE", 0x080C}, {"fr", 0x040C},
    {"es_MX", 0x080A}, {"es", 0x0C0A},
    {"ja", 0x0411}, {"ko", 0x0412}, {"it", 0x0410}, {"pl", 0x0415},
    {"nl", 0x0413}, {"ru", 0x0419}, {"sv", 0x041D}, {"uk", 0x0422},
};

// The first set variable of LC_ALL, LC_MESSAGES and LANG decides, as in
// setlocale(LC_MESSAGES, "").
std::string_view MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return value;
    }
    return {};
}

// "ll_CC.codeset@modifier" -> "ll_CC".
std::string_view LanguageAndTerritory(std::string_view locale) {
    const std::size_t end = locale.find_first_of(".@");
    return locale.substr(0, end);
}

}  // namespace

std::uint16_t UserUiLanguageId() {
    const std::string_view locale = LanguageAndTerritory(MessagesLocale());
    const std::string_view language = locale.substr(0, locale.find('_'));
    for (const LocaleLangId& row : kLocaleLangIds) {
        if (row.locale == locale || row.locale == language) return row.langId;
    }
    return kEnglishUnitedStates;
}

}  // namespace quillpane::platform

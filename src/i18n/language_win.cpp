// Applies the configured UI language to the thread's preferred UI languages.
#include "i18n/language_win.h"

#include "i18n/language.h"

#include <algorithm>
#include <array>

namespace quillpane {

// A tag from the alias table goes in as a multi-string list of one entry;
// any failure clears the thread's choice rather than leaving an older one.
ThreadLanguageResult ApplyThreadLanguageWith(std::u16string_view configuredLanguage,
                                             SetThreadLanguagesFn setLanguages) {
    if (const std::optional<std::u16string_view> tag = LanguageTagForAlias(configuredLanguage)) {
        std::array<wchar_t, 89> list{};
        if (tag->size() + 2 <= list.size()) {
            std::copy(tag->begin(), tag->end(), list.begin());
            list[tag->size()] = L'\0';
            list[tag->size() + 1] = L'\0';
            ULONG count = 0;
            if (setLanguages(MUI_LANGUAGE_NAME, list.data(), &count)) {
                return ThreadLanguageResult::Set;
            }
        }
    }
    return setLanguages(0, nullptr, nullptr) ? ThreadLanguageResult::Cleared
                                             : ThreadLanguageResult::Failed;
}

ThreadLanguageResult ApplyThreadLanguage(std::u16string_view configuredLanguage) {
    return ApplyThreadLanguageWith(configuredLanguage, &SetThreadPreferredUILanguages);
}

}  // namespace quillpane

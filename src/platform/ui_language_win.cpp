// The Windows user UI language.
#include "platform/ui_language.h"

#include <windows.h>

namespace quillpane::platform {

std::uint16_t UserUiLanguageId() {
    return GetUserDefaultUILanguage();
}

}  // namespace quillpane::platform

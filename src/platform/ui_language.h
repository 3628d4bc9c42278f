// The user's user-interface language as a Windows LANGID.
#pragma once

#include <cstdint>

namespace quillpane::platform {

// Primary language in the low 10 bits, sublanguage in the upper 6 bits.
[[nodiscard]] std::uint16_t UserUiLanguageId();

}  // namespace quillpane::platform

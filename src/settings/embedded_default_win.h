// The default config.ini built into the executable.
#pragma once

#include <string_view>

namespace quillpane {

// The bytes of the RCDATA resource; empty when the module has none.
[[nodiscard]] std::string_view EmbeddedDefaultConfig();

}  // namespace quillpane

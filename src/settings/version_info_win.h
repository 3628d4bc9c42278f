// The ProductVersion string of the program's own version resource.
#pragma once

#include <string>

namespace quillpane {

// Empty when the executable has no version block or any lookup fails.
[[nodiscard]] std::u16string ReadProductVersion();

}  // namespace quillpane

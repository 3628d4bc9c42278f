// Strings of the program's own version resource.
#pragma once

#include <string>
#include <string_view>

namespace quillpane {

// The value of a StringFileInfo entry ("ProductVersion", "Comments", ...)
// in the block's first translation; empty when the executable has no version
// block, the entry is missing or any lookup fails.
[[nodiscard]] std::u16string ReadVersionString(std::u16string_view name);

[[nodiscard]] std::u16string ReadProductVersion();

}  // namespace quillpane

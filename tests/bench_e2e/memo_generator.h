// Memo files for the editor benchmark: UTF-8 with a byte-order mark, CR LF,
// ASCII and Japanese lines, and the divider and heading lines that split a
// memo into sections, so that Quillpane's section scanning gets real work.
#pragma once

#include <cstddef>
#include <string>

namespace quillpane::bench {

// The whole file, BOM included, exactly totalBytes long.
[[nodiscard]] std::string MakeMemo(std::size_t totalBytes);

}  // namespace quillpane::bench

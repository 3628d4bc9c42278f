// Where the user's OneDrive folder is on this machine.
#pragma once

#include <optional>
#include <string>

namespace quillpane {

// The first of %OneDrive%, %OneDriveConsumer% and %OneDriveCommercial% that
// names an existing folder, else the known OneDrive folder; empty when there
// is none.
[[nodiscard]] std::optional<std::u16string> FindOneDriveFolder();

}  // namespace quillpane

// The data and executable folders as Windows reports them.
#pragma once

#include <string>

namespace quillpane {

// The roaming application-data folder ending in '\': the shell folder, else
// %APPDATA%, else the executable's folder. Creates nothing.
[[nodiscard]] std::u16string DataFolder();

// The full path of the running executable; empty on failure.
[[nodiscard]] std::u16string ModulePath();

// The executable's folder up to and including its last '\' or '/'.
[[nodiscard]] std::u16string ExecutableFolder();

}  // namespace quillpane

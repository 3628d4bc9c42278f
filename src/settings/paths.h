// Where the program's files live, and creating the folders along a path.
#pragma once

#include <string>
#include <string_view>

namespace quillpane {

// The program's own folder below the data folder (which ends in a separator):
// dataFolder + "ferrix" + sep + "Quillpn" + sep.
[[nodiscard]] std::u16string ProgramFolderOf(std::u16string_view dataFolder);

// dataFolder + "ferrix" + sep.
[[nodiscard]] std::u16string VendorFolderOf(std::u16string_view dataFolder);

// Creates every folder along path: each prefix longer than 3 characters that
// ends at a '\' or '/', then the whole path. Errors are ignored: existing
// folders are the normal case.
void CreatePathFolders(std::u16string_view path);

// Index just past the last '\' or '/', 0 when there is none.
[[nodiscard]] std::size_t FileNameStart(std::u16string_view path);

}  // namespace quillpane

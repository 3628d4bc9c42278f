// Where the program's files live, and creating the folders along a path.
#include "settings/paths.h"

#include "platform/file_system.h"

namespace quillpane {

std::u16string VendorFolderOf(std::u16string_view dataFolder) {
    std::u16string folder(dataFolder);
    folder += u"ferrix";
    folder.push_back(platform::kPathSeparator);
    return folder;
}

std::u16string ProgramFolderOf(std::u16string_view dataFolder) {
    std::u16string folder = VendorFolderOf(dataFolder);
    folder += u"Quillpn";
    folder.push_back(platform::kPathSeparator);
    return folder;
}

void CreatePathFolders(std::u16string_view path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        if ((path[i] == u'\\' || path[i] == u'/') && i + 1 > 3) {
            (void)platform::CreateDirectoryAt(path.substr(0, i + 1));
        }
    }
    (void)platform::CreateDirectoryAt(path);
}

std::size_t FileNameStart(std::u16string_view path) {
    const std::size_t last = path.find_last_of(u"\\/");
    return last == std::u16string_view::npos ? 0 : last + 1;
}

}  // namespace quillpane

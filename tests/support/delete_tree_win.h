// Removes a folder and everything below it (read-only files included), for
// the drivers that set up and clean up a program's files.
#pragma once

#include <windows.h>

#include <string>

namespace quillpane::testing {

// folder ends in a backslash.
inline void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data {};
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path + L"\\");
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace quillpane::testing

// What the drivers of another process share: removing a folder tree and
// finding that process's top-level windows.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

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

// The top-level windows of the class, of the process (any process for 0).
inline std::vector<HWND> TopWindows(const wchar_t* className, DWORD processId) {
    struct Query {
        const wchar_t* className;
        DWORD processId;
        std::vector<HWND> found;
    } query {className, processId, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lParam);
            wchar_t name[256] {};
            ::GetClassNameW(hwnd, name, 256);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (std::wcscmp(name, q->className) == 0 && (q->processId == 0 || pid == q->processId)) {
                q->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

inline HWND FindTopWindow(const wchar_t* className, DWORD processId) {
    const std::vector<HWND> windows = TopWindows(className, processId);
    return windows.empty() ? nullptr : windows.front();
}

}  // namespace quillpane::testing

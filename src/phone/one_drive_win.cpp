// Where the user's OneDrive folder is on this machine.
#include "phone/one_drive_win.h"

#include "phone/phone_files.h"
#include "platform/wide_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace quillpane {

std::optional<std::u16string> FindOneDriveFolder() {
    for (const wchar_t* name : {L"OneDrive", L"OneDriveConsumer", L"OneDriveCommercial"}) {
        wchar_t value[MAX_PATH + 1] {};
        const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH + 1);
        if (length == 0 || length > MAX_PATH) continue;
        if (auto folder = UsableFolder(FromWide(std::wstring_view(value, length)))) return folder;
    }
    PWSTR known = nullptr;
    std::optional<std::u16string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_SkyDrive, 0, nullptr, &known)) && known != nullptr) {
        folder = UsableFolder(FromWide(known));
    }
    ::CoTaskMemFree(known);
    return folder;
}

}  // namespace quillpane

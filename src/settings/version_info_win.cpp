// Strings of the program's own version resource.
#include "settings/version_info_win.h"

#include "platform/wide_win.h"
#include "settings/paths_win.h"

#include <windows.h>

#include <vector>

namespace quillpane {
namespace {

// "\StringFileInfo\%04x%04x\" followed by the name.
std::wstring StringQuery(WORD language, WORD codePage, std::u16string_view name) {
    constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring query = L"\\StringFileInfo\\";
    for (const WORD part : {language, codePage}) {
        for (int shift = 12; shift >= 0; shift -= 4) query.push_back(kHex[(part >> shift) & 0xF]);
    }
    query += L'\\';
    query += ToWide(name);
    return query;
}

}  // namespace

std::u16string ReadVersionString(std::u16string_view name) {
    const std::u16string path = ModulePath();
    if (path.empty()) return {};
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(WidePtr(path), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(WidePtr(path), 0, size, block.data())) return {};

    void* translation = nullptr;
    UINT translationBytes = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &translationBytes) ||
        translation == nullptr || translationBytes < 4) {
        return {};
    }
    const auto* pair = static_cast<const WORD*>(translation);
    const std::wstring query = StringQuery(pair[0], pair[1], name);

    void* value = nullptr;
    UINT valueLength = 0;  // in characters, usually counting the terminator
    if (!::VerQueryValueW(block.data(), query.c_str(), &value, &valueLength) || value == nullptr ||
        valueLength == 0) {
        return {};
    }
    const auto* text = static_cast<const wchar_t*>(value);
    return FromWide(std::wstring_view(text, ::wcsnlen(text, valueLength)));
}

std::u16string ReadProductVersion() {
    return ReadVersionString(u"ProductVersion");
}

}  // namespace quillpane

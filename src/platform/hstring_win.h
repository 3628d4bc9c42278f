// A Windows Runtime string for the length of a scope.
#pragma once

#include <windows.h>

#include <winstring.h>

#include <cstddef>
#include <cwchar>

namespace quillpane {

class UniqueHstring {
public:
    UniqueHstring(const wchar_t* text, std::size_t length) {
        if (FAILED(::WindowsCreateString(text, static_cast<UINT32>(length), &value_))) value_ = nullptr;
    }
    explicit UniqueHstring(const wchar_t* text) : UniqueHstring(text, std::wcslen(text)) {}
    UniqueHstring(const UniqueHstring&) = delete;
    UniqueHstring& operator=(const UniqueHstring&) = delete;
    ~UniqueHstring() {
        if (value_ != nullptr) ::WindowsDeleteString(value_);
    }
    [[nodiscard]] HSTRING Get() const { return value_; }

private:
    HSTRING value_ = nullptr;
};

}  // namespace quillpane

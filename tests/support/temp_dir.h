// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace quillpane::testing {

class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    // The folder, ending in the platform's path separator.
    [[nodiscard]] const std::u16string& Path() const { return path_; }
    // Path() + name.
    [[nodiscard]] std::u16string File(std::u16string_view name) const;
    [[nodiscard]] std::u16string File(std::string_view asciiName) const;

    // Whole-file helpers for arranging and checking test data.
    void Write(std::string_view asciiName, std::string_view bytes) const;
    [[nodiscard]] std::string Read(std::string_view asciiName) const;
    [[nodiscard]] bool Exists(std::string_view asciiName) const;

private:
    std::u16string path_;
};

}  // namespace quillpane::testing

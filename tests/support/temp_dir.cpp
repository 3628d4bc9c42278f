// A fresh folder per test, removed with everything in it afterwards.
#include "support/temp_dir.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>

namespace quillpane::testing {
namespace {

std::filesystem::path ToFsPath(std::u16string_view path) {
    return std::filesystem::path(std::u16string(path));
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter {0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path base = std::filesystem::temp_directory_path() /
        ("quillpane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(base);
    path_ = base.u16string();
    if (path_.back() != u'/' && path_.back() != u'\\') path_.push_back(platform::kPathSeparator);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(ToFsPath(path_), ignored);
}

std::u16string TempDir::File(std::u16string_view name) const {
    return path_ + std::u16string(name);
}

std::u16string TempDir::File(std::string_view asciiName) const {
    return path_ + AsciiToUtf16(asciiName);
}

void TempDir::Write(std::string_view asciiName, std::string_view bytes) const {
    ASSERT_TRUE(platform::WriteWholeFile(File(asciiName), bytes));
}

std::string TempDir::Read(std::string_view asciiName) const {
    const platform::ReadResult result = platform::ReadWholeFile(File(asciiName), UINT64_MAX);
    EXPECT_EQ(result.status, platform::ReadStatus::Ok) << asciiName;
    return result.bytes;
}

bool TempDir::Exists(std::string_view asciiName) const {
    return platform::GetAttributes(File(asciiName)).has_value();
}

}  // namespace quillpane::testing

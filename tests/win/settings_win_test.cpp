// The Windows lookups of the data folder, the executable and its resources.
#include "platform/file_system.h"
#include "settings/embedded_default_win.h"
#include "settings/paths_win.h"
#include "settings/version_info_win.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(SettingsWin, DataFolderEndsInBackslashAndExists) {
    const std::u16string folder = DataFolder();
    ASSERT_GE(folder.size(), 2u);
    EXPECT_EQ(folder.back(), u'\\');
    const auto attributes = platform::GetAttributes(folder);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(attributes->isDirectory);
}

TEST(SettingsWin, ExecutableFolderHoldsTheRunningProgram) {
    const std::u16string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() == u'\\' || folder.back() == u'/');
    const std::u16string module = ModulePath();
    EXPECT_EQ(module.substr(0, folder.size()), folder);
    EXPECT_TRUE(platform::GetAttributes(module).has_value());
}

TEST(SettingsWin, TestProgramHasNoVersionBlockOrDefaultConfig) {
    EXPECT_EQ(ReadProductVersion(), u"");
    EXPECT_TRUE(EmbeddedDefaultConfig().empty());
}

}  // namespace
}  // namespace quillpane

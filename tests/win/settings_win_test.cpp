// The Windows lookups of the data folder, the executable and its resources.
#include "platform/file_system.h"
#include "platform/wide_win.h"
#include "settings/config.h"
#include "settings/paths.h"
#include "support/temp_dir.h"
#include "settings/embedded_default_win.h"
#include "settings/paths_win.h"
#include "settings/version_info_win.h"

#include <gtest/gtest.h>

#include <windows.h>

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

// A read-only config.default.ini must not make config.ini read-only, or
// every later save fails.
TEST(SettingsWin, ConfigCopiedFromAReadOnlyTemplateCanBeSaved) {
    testing::TempDir data;
    testing::TempDir exe;
    exe.Write("config.default.ini", "[UI]\r\nOpacity=70\r\n");
    const std::wstring templatePath = ToWide(exe.File("config.default.ini"));
    ASSERT_TRUE(::SetFileAttributesW(templatePath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(EnsureConfigFile(data.Path(), exe.Path(), "[UI]\r\n"), EnsureConfigResult::Copied);
    const std::u16string configPath = ConfigPathOf(ProgramFolderOf(data.Path()));
    Config config = LoadConfig(configPath);
    EXPECT_EQ(config.ui.opacity, 70);
    config.ui.opacity = 90;
    EXPECT_TRUE(SaveConfig(config, configPath));
    ::SetFileAttributesW(templatePath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace quillpane

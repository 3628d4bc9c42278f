// The default configuration shipped in the executable's resources.
#include "settings/config.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

// The file lives in the source tree; find it from this test's own path.
std::string ReadDefaultConfig() {
    std::string path = __FILE__;
    path.erase(path.find_last_of("\\/") + 1);
    path += "../../src/resources/default_config.ini";
#ifdef _WIN32
    // Under Wine __FILE__ is a Unix path; drive Z: maps the Unix root.
    if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
#endif
    const platform::ReadResult file = platform::ReadWholeFile(Utf8ToUtf16Lenient(path), kIniMaxBytes);
    EXPECT_EQ(file.status, platform::ReadStatus::Ok) << path;
    return file.bytes;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        lines.push_back(bytes.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

TEST(DefaultConfig, IsUtf8WithLfLineEndsAndNoBom) {
    const std::string bytes = ReadDefaultConfig();
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_TRUE(Utf8ToUtf16Strict(bytes).has_value());

    const std::vector<std::string> lines = SplitLines(bytes);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "; Quillpane \xE2\x80\x94 default settings (UTF-8; saved as UTF-8 with BOM)");
    EXPECT_NE(lines[1].find("%AppData%\\ferrix\\Quillpn\\config.ini"), std::string::npos);
}

TEST(DefaultConfig, CommentsComeFirstAndSectionsAreSeparatedByOneBlankLine) {
    const std::vector<std::string> lines = SplitLines(ReadDefaultConfig());
    bool inSections = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!inSections) {
            if (!line.empty() && line[0] == '[') {
                inSections = true;
            } else {
                EXPECT_TRUE(line.empty() || line[0] == ';') << i + 1 << ": " << line;
            }
            continue;
        }
        if (line.empty()) {
            ASSERT_LT(i + 1, lines.size());
            EXPECT_EQ(lines[i + 1].front(), '[') << i + 2;
            EXPECT_FALSE(lines[i - 1].empty()) << i;
        } else if (line[0] == '[') {
            EXPECT_TRUE(lines[i - 1].empty()) << i + 1;
        } else {
            EXPECT_NE(line.find('='), std::string::npos) << i + 1;
            EXPECT_NE(line[0], ';') << i + 1;
        }
    }
    EXPECT_TRUE(inSections);
}

TEST(DefaultConfig, HoldsExactlyTheShippedKeys) {
    IniFile ini;
    ParseIniText(DecodeIniBytes(ReadDefaultConfig()), ini);
    EXPECT_EQ(ini.sections, (std::vector<std::u16string> {u"Application", u"Note", u"Shortcut", u"Editor", u"UI",
                                                           u"General", u"Backup", u"Sidebar", u"Window"}));
    EXPECT_EQ(FormatIniText(ini),
              u"[Application]\r\nLastRunVersion=\r\nUnsavedCopy=\r\n[Note]\r\nFile=\r\n[Shortcut]\r\nKey=CTRL+F1\r\n"
              u"[Editor]\r\nShowCurrentLineUnderline=false\r\nShowCurrentLineHighlight=true\r\n"
              u"ShowLineNumbers=true\r\nCaretStyle=Line\r\nNoArrowLineCross=false\r\nWordWrap=Wrap\r\n"
              u"MemoFold=0\r\nFontPitch=Proportional\r\nFontSizeStep=0\r\n"
              u"SeparatorLine=------------------------------\r\nHeadingLine=##\r\n"
              u"SectionMarkerRole=Separator\r\nDetectLinks=true\r\nImeOnHighlightLight=\r\n"
              u"ImeOnHighlightDark=\r\nImeOnUnderlineLight=\r\nImeOnUnderlineDark=\r\n"
              u"[UI]\r\nTheme=FollowOs\r\nOpacity=80\r\nTranslucent=0\r\nLanguage=\r\n"
              u"[General]\r\nRunAtStartup=1\r\nCloseOnFocusLost=0\r\nPhoneSync=0\r\nAlwaysOnTop=0\r\n"
              u"[Backup]\r\nEnabled=1\r\nIntervalMinutes=10\r\nMaxGenerations=30\r\n"
              u"[Sidebar]\r\nVisible=1\r\n"
              u"[Window]\r\nPosValid=0\r\nX=-1\r\nY=-1\r\nW=640\r\nH=440\r\nWExcludesSidebar=1");
}

TEST(DefaultConfig, LoadsAsDefaultsExceptWidthExcludingSidebar) {
    IniFile ini;
    ParseIniText(DecodeIniBytes(ReadDefaultConfig()), ini);
    Config expected;
    expected.window.wExcludesSidebar = true;
    EXPECT_EQ(ConfigFromIni(ini), expected);
}

TEST(DefaultConfig, FirstSaveAppendsTheMissingSectionsAndKeys) {
    IniFile ini;
    ParseIniText(DecodeIniBytes(ReadDefaultConfig()), ini);
    WriteConfigToIni(ConfigFromIni(ini), ini);
    EXPECT_EQ(ini.sections, (std::vector<std::u16string> {u"Application", u"Note", u"Shortcut", u"Editor", u"UI",
                                                           u"General", u"Backup", u"Sidebar", u"Window", u"Search",
                                                           u"HeadingList"}));
    EXPECT_EQ(ini.keyOrder.at(u"Sidebar"), (std::vector<std::u16string> {u"Visible", u"Width", u"Folded"}));
    EXPECT_EQ(ini.GetString(u"Shortcut", u"Key", u""), u"VK_F1");
}

}  // namespace
}  // namespace quillpane

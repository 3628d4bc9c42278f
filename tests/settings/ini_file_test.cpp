// The INI dialect: decoding, line rules, number reading, formatting and files.
#include "settings/ini_file.h"

#include "platform/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillpane {
namespace {

using quillpane::testing::TempDir;
using namespace std::string_literals;

IniFile Parse(std::u16string_view text) {
    IniFile ini;
    ParseIniText(text, ini);
    return ini;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST(IniFile, DecodesEveryAcceptedEncoding) {
    const DecodeCase cases[] = {
        {"utf16 with BOM", "\xFF\xFE[\0S\0]\0"s, u"[S]"},
        {"utf16 with BOM, odd byte dropped", "\xFF\xFE[\0S\0]\0\x41"s, u"[S]"},
        {"utf16 BOM and a surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, u"\U0001F600"},
        {"utf16 without BOM", "[\0S\0]\0"s, u"[S]"},
        {"utf16 without BOM needs four bytes", "[\0S"s, u"[\0S"s},
        {"utf8 with BOM", "\xEF\xBB\xBFK=\xC3\xA9"s, u"K=\u00E9"},
        {"utf8 without BOM", "K=\xE6\x97\xA5"s, u"K=\u65E5"},
        {"bytes that are not UTF-8 are read as ANSI", "K=caf\xE9!"s, u"K=caf\u00E9!"},
        {"BOM only is nothing", "\xEF\xBB\xBF"s, u""},
        {"utf16 BOM only is nothing", "\xFF\xFE"s, u""},
        {"utf16 BOM and one byte is nothing", "\xFF\xFE\x41"s, u""},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeIniBytes(c.bytes), c.expected) << c.name;
    }
}

TEST(IniFile, SplitsLinesAtCrLfCrAndLf) {
    const IniFile ini = Parse(u"[S]\r\na=1\rb=2\nc=3\r\n\r\nd=4");
    EXPECT_EQ(ini.keyOrder.at(u"S"), (std::vector<std::u16string> {u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(ini.GetString(u"S", u"d", u"?"), u"4");
}

TEST(IniFile, TrimsOnlySpacesAndTabs) {
    const IniFile ini = Parse(u" \t[S]\t \n \t key \t= \t v a l \t\nnb\u00A0=\u00A0x\u00A0\n\vk=1");
    EXPECT_EQ(ini.GetString(u"S", u"key", u"?"), u"v a l");
    EXPECT_EQ(ini.GetString(u"S", u"nb\u00A0", u"?"), u"\u00A0x\u00A0");
    EXPECT_EQ(ini.GetString(u"S", u"\vk", u"?"), u"1");
}

TEST(IniFile, SemicolonStartsACommentButHashDoesNot) {
    const IniFile ini = Parse(u"[S]\n;a=1\n  ; b=2\n#c=3\nd=4 ; not a comment");
    EXPECT_EQ(ini.keyOrder.at(u"S"), (std::vector<std::u16string> {u"#c", u"d"}));
    EXPECT_EQ(ini.GetString(u"S", u"d", u"?"), u"4 ; not a comment");
}

TEST(IniFile, SectionHeaderNeedsThreeCharacters) {
    const IniFile ini = Parse(u"[S]\n[]\na=1\n[ ]\nb=2\n[x=y]\n[[T]]\nc=3");
    EXPECT_EQ(ini.sections, (std::vector<std::u16string> {u"S", u" ", u"x=y", u"[T]"}));
    EXPECT_EQ(ini.GetString(u"S", u"a", u"?"), u"1");
    EXPECT_EQ(ini.GetString(u" ", u"b", u"?"), u"2");
    EXPECT_EQ(ini.GetString(u"[T]", u"c", u"?"), u"3");
}

TEST(IniFile, KeyBeforeFirstSectionIsIgnored) {
    const IniFile ini = Parse(u"a=1\n[S]\nb=2");
    EXPECT_EQ(ini.sections, std::vector<std::u16string> {u"S"});
    EXPECT_EQ(ini.keyOrder.at(u"S"), std::vector<std::u16string> {u"b"});
}

TEST(IniFile, SplitsAtFirstEqualsAndDropsEmptyKeys) {
    const IniFile ini = Parse(u"[S]\na=b=c\n=x\n \t=y\nnoequals\nempty=\n");
    EXPECT_EQ(ini.keyOrder.at(u"S"), (std::vector<std::u16string> {u"a", u"empty"}));
    EXPECT_EQ(ini.GetString(u"S", u"a", u"?"), u"b=c");
    EXPECT_EQ(ini.GetString(u"S", u"empty", u"?"), u"");
}

TEST(IniFile, LastDuplicateWinsAtFirstPosition) {
    const IniFile ini = Parse(u"[S]\na=1\nb=2\na=3\n[T]\n[S]\nb=4\nc=5");
    EXPECT_EQ(ini.sections, (std::vector<std::u16string> {u"S", u"T"}));
    EXPECT_EQ(ini.keyOrder.at(u"S"), (std::vector<std::u16string> {u"a", u"b", u"c"}));
    EXPECT_EQ(ini.GetString(u"S", u"a", u"?"), u"3");
    EXPECT_EQ(ini.GetString(u"S", u"b", u"?"), u"4");
}

TEST(IniFile, NamesAreCaseSensitive) {
    const IniFile ini = Parse(u"[Editor]\nKey=1\n[editor]\nkey=2");
    EXPECT_EQ(ini.GetString(u"Editor", u"Key", u"?"), u"1");
    EXPECT_EQ(ini.GetString(u"Editor", u"key", u"?"), u"?");
    EXPECT_EQ(ini.GetString(u"editor", u"key", u"?"), u"2");
    EXPECT_EQ(ini.GetString(u"EDITOR", u"Key", u"?"), u"?");
}

TEST(IniFile, GetIntReadsLikeWcstolWithSaturation) {
    struct Case {
        std::u16string_view text;
        int expected;
    };
    const Case cases[] = {
        {u"75", 75}, {u"75%", 75}, {u"  -5", -5}, {u"\t+7x", 7}, {u"\r\n 12", 12},
        {u"abc", 99}, {u"", 99}, {u"-", 99}, {u"+ 1", 99}, {u"1 2", 1}, {u"007", 7},
        {u"2147483647", INT_MAX}, {u"2147483648", INT_MAX}, {u"99999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN}, {u"-2147483649", INT_MIN}, {u"-99999999999999999999", INT_MIN},
        {u"\uFF11", 99},
    };
    for (const Case& c : cases) {
        IniFile ini;
        ini.SetString(u"S", u"k", c.text);
        EXPECT_EQ(ini.GetInt(u"S", u"k", 99), c.expected) << std::string(c.text.begin(), c.text.end());
    }
    IniFile ini;
    EXPECT_EQ(ini.GetInt(u"S", u"k", 42), 42);
}

TEST(IniFile, SetIntWritesPlainDecimal) {
    EXPECT_EQ(FormatIniInt(0), u"0");
    EXPECT_EQ(FormatIniInt(-1), u"-1");
    EXPECT_EQ(FormatIniInt(1440), u"1440");
    EXPECT_EQ(FormatIniInt(INT_MAX), u"2147483647");
    EXPECT_EQ(FormatIniInt(INT_MIN), u"-2147483648");
}

TEST(IniFile, SetStringAppendsNewSectionsAndKeysAndKeepsPlaces) {
    IniFile ini = Parse(u"[A]\nx=1\ny=2");
    ini.SetString(u"A", u"x", u"changed");
    ini.SetString(u"B", u"z", u"3");
    ini.SetString(u"A", u"w", u"4");
    EXPECT_EQ(FormatIniText(ini), u"[A]\r\nx=changed\r\ny=2\r\nw=4\r\n[B]\r\nz=3");
}

TEST(IniFile, FormatHasNoBlankLinesNoSpacesAndNoFinalLineEnd) {
    const IniFile ini = Parse(u"; comment\n[A]\n\n k = v \n[Empty]\n[B]\nq=\n");
    EXPECT_EQ(FormatIniText(ini), u"[A]\r\nk=v\r\n[Empty]\r\n[B]\r\nq=");
    EXPECT_EQ(EncodeIniFile(ini), "\xEF\xBB\xBF[A]\r\nk=v\r\n[Empty]\r\n[B]\r\nq=");
    EXPECT_EQ(EncodeIniFile(IniFile {}), "");
}

TEST(IniFile, LineBreaksInsideValuesCannotForgeLines) {
    IniFile ini;
    ini.SetString(u"S", u"k", u"a\r\n[T]\nx=1\r");
    EXPECT_EQ(FormatIniText(ini), u"[S]\r\nk=a  [T] x=1 ");
    const IniFile reread = Parse(FormatIniText(ini));
    EXPECT_EQ(reread.sections, std::vector<std::u16string> {u"S"});
}

TEST(IniFile, AbsentFileLoadsAsEmptyDocument) {
    TempDir dir;
    IniFile ini;
    ini.path = dir.File("config.ini");
    ini.SetString(u"Stale", u"k", u"v");
    EXPECT_TRUE(ini.Load());
    EXPECT_TRUE(ini.sections.empty());
    EXPECT_TRUE(ini.values.empty());
    EXPECT_TRUE(ini.keyOrder.empty());
}

TEST(IniFile, EmptyOrUndecodableFileFailsToLoad) {
    TempDir dir;
    IniFile ini;
    ini.path = dir.File("config.ini");
    dir.Write("config.ini", "");
    EXPECT_FALSE(ini.Load());
    dir.Write("config.ini", "\xEF\xBB\xBF");
    EXPECT_FALSE(ini.Load());
}

TEST(IniFile, ReadsUpToExactlyTheSizeLimit) {
    TempDir dir;
    const std::string head = "[S]\r\nk=";
    std::string bytes = head + std::string(kIniMaxBytes - head.size(), 'x');
    ASSERT_EQ(bytes.size(), 524288u);
    dir.Write("config.ini", bytes);
    IniFile ini;
    ini.path = dir.File("config.ini");
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetString(u"S", u"k", u"").size(), kIniMaxBytes - head.size());

    dir.Write("config.ini", bytes + "x");
    EXPECT_FALSE(ini.Load());
    EXPECT_TRUE(ini.sections.empty());
}

TEST(IniFile, LoadsUtf16FileAndSavesUtf8WithBomAndCrLf) {
    TempDir dir;
    const std::u16string text = u"[S]\nk=\u65E5\u672C\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    dir.Write("config.ini", bytes);
    IniFile ini;
    ini.path = dir.File("config.ini");
    ASSERT_TRUE(ini.Load());
    ini.SetInt(u"S", u"n", -3);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(dir.Read("config.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE6\x97\xA5\xE6\x9C\xAC\r\nn=-3");
    EXPECT_FALSE(dir.Exists("config.ini.tmp"));
}

TEST(IniFile, SaveDropsCommentsAndKeysBeforeFirstSection) {
    TempDir dir;
    dir.Write("config.ini", "orphan=1\n; note\n[Keep]\nx=1\n");
    IniFile ini;
    ini.path = dir.File("config.ini");
    ASSERT_TRUE(ini.Load());
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(dir.Read("config.ini"), "\xEF\xBB\xBF[Keep]\r\nx=1");
}

TEST(IniFile, EmptyDocumentIsNotSavedAndOldFileStays) {
    TempDir dir;
    dir.Write("config.ini", "[Old]\nk=v");
    IniFile ini;
    ini.path = dir.File("config.ini");
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(dir.Read("config.ini"), "[Old]\nk=v");
    EXPECT_FALSE(dir.Exists("config.ini.tmp"));
}

TEST(IniFile, FailedSaveKeepsOldFile) {
    TempDir dir;
    dir.Write("config.ini", "[Old]\nk=v");
    // A folder in the way of the temporary file makes the write fail.
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("config.ini.tmp")));
    IniFile ini;
    ini.path = dir.File("config.ini");
    ini.SetString(u"New", u"k", u"v");
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(dir.Read("config.ini"), "[Old]\nk=v");
}

TEST(IniFile, FailedReplaceRemovesTemporaryFile) {
    TempDir dir;
    // The target is a folder, so only the final move can fail.
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("config.ini")));
    IniFile ini;
    ini.path = dir.File("config.ini");
    ini.SetString(u"New", u"k", u"v");
    EXPECT_FALSE(ini.Save());
    EXPECT_FALSE(dir.Exists("config.ini.tmp"));
    const auto attributes = platform::GetAttributes(dir.File("config.ini"));
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(attributes->isDirectory);
}

}  // namespace
}  // namespace quillpane

// Config read rules, clamps, marker and list rules, and saving over a file.
#include "settings/config.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "settings/config_schema.h"
#include "settings/paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace quillpane {
namespace {

using quillpane::testing::TempDir;

Config FromText(std::u16string_view text) {
    IniFile ini;
    ParseIniText(text, ini);
    return ConfigFromIni(ini);
}

std::u16string Repeat(std::u16string_view piece, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

TEST(Config, EmptyFileGivesTheDefaultRecord) {
    const Config config = ConfigFromIni(IniFile {});
    EXPECT_EQ(config, Config {});
    EXPECT_EQ(config.shortcut.key, (Hotkey {2, 0x70}));
    EXPECT_EQ(config.editor.separatorLine, u"------------------------------");
    EXPECT_EQ(config.editor.headingLine, u"##");
    EXPECT_TRUE(config.general.runAtStartup);
    EXPECT_EQ(config.window.w, 640);
}

TEST(Config, IntegersAreClamped) {
    struct Case {
        std::u16string_view text;
        std::function<int(const Config&)> field;
        int expected;
    };
    const Case cases[] = {
        {u"[UI]\nOpacity=150", [](const Config& c) { return c.ui.opacity; }, 100},
        {u"[UI]\nOpacity=abc", [](const Config& c) { return c.ui.opacity; }, 80},
        {u"[UI]\nOpacity=75%", [](const Config& c) { return c.ui.opacity; }, 75},
        {u"[UI]\nOpacity=-1", [](const Config& c) { return c.ui.opacity; }, 60},
        {u"[Backup]\nMaxGenerations=0", [](const Config& c) { return c.backup.maxGenerations; }, 1},
        {u"[Backup]\nMaxGenerations=101", [](const Config& c) { return c.backup.maxGenerations; }, 100},
        {u"[Backup]\nIntervalMinutes=-5", [](const Config& c) { return c.backup.intervalMinutes; }, 0},
        {u"[Backup]\nIntervalMinutes=99999999999", [](const Config& c) { return c.backup.intervalMinutes; }, 1440},
        {u"[Window]\nW=100", [](const Config& c) { return c.window.w; }, 240},
        {u"[Window]\nW=5000", [](const Config& c) { return c.window.w; }, 5000},
        {u"[Window]\nH=-7", [](const Config& c) { return c.window.h; }, 160},
        {u"[Window]\nW=2147483647", [](const Config& c) { return c.window.w; }, 32767},
        {u"[Window]\nH=99999999999", [](const Config& c) { return c.window.h; }, 32767},
        {u"[Window]\nX=-3000", [](const Config& c) { return c.window.x; }, -3000},
        {u"[Window]\nY=junk", [](const Config& c) { return c.window.y; }, -1},
        {u"[Editor]\nFontSizeStep=99", [](const Config& c) { return c.editor.fontSizeStep; }, 20},
        {u"[Editor]\nFontSizeStep=-9", [](const Config& c) { return c.editor.fontSizeStep; }, -8},
        {u"[Search]\nDialogWidth=-1", [](const Config& c) { return c.search.dialogWidth; }, 0},
        {u"[HeadingList]\nDialogWidth=4001", [](const Config& c) { return c.headingList.dialogWidth; }, 4000},
        {u"[HeadingList]\nDialogHeight=300", [](const Config& c) { return c.headingList.dialogHeight; }, 300},
        {u"[Sidebar]\nWidth=2001", [](const Config& c) { return c.sidebar.width; }, 2000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.field(FromText(c.text)), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(Config, BooleanWordsAndFlags) {
    EXPECT_TRUE(FromText(u"[Editor]\nShowLineNumbers=yes").editor.showLineNumbers);
    EXPECT_FALSE(FromText(u"[Editor]\nShowLineNumbers=0").editor.showLineNumbers);
    EXPECT_FALSE(FromText(u"[Editor]\nShowLineNumbers=FALSE").editor.showLineNumbers);
    EXPECT_TRUE(FromText(u"[Editor]\nShowCurrentLineUnderline=True").editor.showCurrentLineUnderline);
    EXPECT_FALSE(FromText(u"[Editor]\nDetectLinks=0").editor.detectLinks);
    EXPECT_FALSE(FromText(u"[Editor]\nMemoFold=true").editor.memoFold);
    EXPECT_TRUE(FromText(u"[Editor]\nMemoFold=2").editor.memoFold);
    EXPECT_TRUE(FromText(u"[General]\nRunAtStartup=").general.runAtStartup);
    EXPECT_FALSE(FromText(u"[General]\nRunAtStartup=0").general.runAtStartup);
    EXPECT_TRUE(FromText(u"[General]\nAlwaysOnTop=-1").general.alwaysOnTop);

    EXPECT_TRUE(ParseBoolWord(u"", true));
    EXPECT_FALSE(ParseBoolWord(u"", false));
    EXPECT_TRUE(ParseBoolWord(u"tRuE", false));
    EXPECT_FALSE(ParseBoolWord(u"FaLsE", true));
    EXPECT_TRUE(ParseBoolWord(u"1", false));
    EXPECT_TRUE(ParseBoolWord(u"01", true));
    EXPECT_FALSE(ParseBoolWord(u"01", false));
    EXPECT_FALSE(ParseBoolWord(u"true ", false));
}

TEST(Config, EnumerationWords) {
    EXPECT_EQ(FromText(u"[Editor]\nCaretStyle=block").editor.caretStyle, CaretStyle::Block);
    EXPECT_EQ(FromText(u"[Editor]\nCaretStyle=DOS").editor.caretStyle, CaretStyle::Dos);
    EXPECT_EQ(FromText(u"[Editor]\nCaretStyle=2").editor.caretStyle, CaretStyle::Line);
    EXPECT_EQ(FromText(u"[Editor]\nWordWrap=0").editor.wordWrap, WordWrap::NoWrap);
    EXPECT_EQ(FromText(u"[Editor]\nWordWrap=nowrap").editor.wordWrap, WordWrap::NoWrap);
    EXPECT_EQ(FromText(u"[Editor]\nWordWrap=00").editor.wordWrap, WordWrap::Wrap);
    EXPECT_EQ(FromText(u"[Editor]\nWordWrap=false").editor.wordWrap, WordWrap::Wrap);
    EXPECT_EQ(FromText(u"[Editor]\nFontPitch=FIXED").editor.fontPitch, FontPitch::Fixed);
    EXPECT_EQ(FromText(u"[Editor]\nFontPitch=1").editor.fontPitch, FontPitch::Proportional);
    EXPECT_EQ(FromText(u"[UI]\nTheme=dark").ui.theme, Theme::Dark);
    EXPECT_EQ(FromText(u"[UI]\nTheme=LIGHT").ui.theme, Theme::Light);
    EXPECT_EQ(FromText(u"[UI]\nTheme=Night").ui.theme, Theme::FollowOs);
}

TEST(Config, SectionAndKeyNamesAreCaseSensitive) {
    EXPECT_TRUE(FromText(u"[editor]\nShowLineNumbers=false").editor.showLineNumbers);
    EXPECT_TRUE(FromText(u"[Editor]\nshowlinenumbers=false").editor.showLineNumbers);
}

TEST(Config, MarkerRules) {
    const std::u16string hyphens(30, u'-');
    struct Case {
        std::u16string_view text;
        SectionMarkerRole role;
        std::u16string separator;
        std::u16string heading;
    };
    const Case cases[] = {
        {u"", SectionMarkerRole::Separator, hyphens, u"##"},
        {u"SeparatorLine=##", SectionMarkerRole::Heading, hyphens, u"##"},
        {u"SeparatorLine=###", SectionMarkerRole::Heading, hyphens, u"###"},
        {u"SeparatorLine=", SectionMarkerRole::Separator, u"", u"##"},
        {u"SeparatorLine=#-#", SectionMarkerRole::Separator, u"#-#", u"##"},
        {u"SectionMarkerRole=heading", SectionMarkerRole::Heading, hyphens, u"##"},
        {u"SectionMarkerRole=Heading\nSeparatorLine=***", SectionMarkerRole::Heading, hyphens, u"***"},
        {u"SectionMarkerRole=Separator\nSeparatorLine=###", SectionMarkerRole::Separator, u"###", u"##"},
        {u"SectionMarkerRole=Headings\nSeparatorLine=##", SectionMarkerRole::Separator, u"##", u"##"},
        {u"SectionMarkerRole=\nSeparatorLine=##\nHeadingLine=", SectionMarkerRole::Heading, hyphens, u"##"},
        {u"SectionMarkerRole=Heading\nSeparatorLine=###\nHeadingLine===", SectionMarkerRole::Heading, u"###", u"=="},
        {u"HeadingLine=>>", SectionMarkerRole::Separator, hyphens, u">>"},
    };
    for (const Case& c : cases) {
        const Config config = FromText(u"[Editor]\n" + std::u16string(c.text));
        const std::string name(c.text.begin(), c.text.end());
        EXPECT_EQ(config.editor.sectionMarkerRole, c.role) << name;
        EXPECT_EQ(config.editor.separatorLine, c.separator) << name;
        EXPECT_EQ(config.editor.headingLine, c.heading) << name;
    }
}

TEST(Config, FoldedKeepsValidEntriesInOrder) {
    const Config config = FromText(u"[Sidebar]\nFolded=0a1b:12,0g:3,ff:1x,abc:7");
    EXPECT_EQ(config.sidebar.folded, (std::vector<std::u16string> {u"0a1b:12", u"abc:7"}));

    EXPECT_TRUE(IsFoldEntry(u"0123456789abcdef:0"));
    const std::u16string_view invalid[] = {
        u"", u":1", u"a:", u"A:1", u"0123456789abcdef0:1", u"a:1:2", u" a:1", u"a:1 ", u"a:-1", u"a1",
        u"a:\uFF11",
    };
    for (const std::u16string_view entry : invalid) {
        EXPECT_FALSE(IsFoldEntry(entry)) << std::string(entry.begin(), entry.end());
    }
    EXPECT_EQ(FromText(u"[Sidebar]\nFolded=,,a:1,,b:2,").sidebar.folded,
              (std::vector<std::u16string> {u"a:1", u"b:2"}));
}

TEST(Config, FoldedTakesAtMostOneHundredEntries) {
    const Config config = FromText(u"[Sidebar]\nFolded=x:1," + Repeat(u"a:1,", 100) + u"b:2");
    ASSERT_EQ(config.sidebar.folded.size(), 100u);
    EXPECT_EQ(config.sidebar.folded.back(), u"a:1");
}

TEST(Config, HistoryStopsAtFirstMissingOrEmptyKey) {
    EXPECT_EQ(FromText(u"[Search]\nHistory0=new\nHistory1=\nHistory2=old").search.history,
              std::vector<std::u16string> {u"new"});
    EXPECT_TRUE(FromText(u"[Search]\nHistory1=x").search.history.empty());
    const Config full = FromText(u"[Search]\n"
                                 u"History0=a\nHistory1=b\nHistory2=c\nHistory3=d\n"
                                 u"History4=e\nHistory5=f\nHistory6=g\nHistory7=h\nHistory8=i");
    EXPECT_EQ(full.search.history.size(), 8u);
    EXPECT_EQ(full.search.history.back(), u"h");
}

TEST(Config, LanguageIsTrimmedAndCut) {
    EXPECT_EQ(FromText(u"[UI]\nLanguage=de").ui.language, u"de");
    IniFile ini;
    ini.SetString(u"UI", u"Language", u" \tpt-BR\t ");
    EXPECT_EQ(ConfigFromIni(ini).ui.language, u"pt-BR");
    ini.SetString(u"UI", u"Language", std::u16string(70, u'x'));
    EXPECT_EQ(ConfigFromIni(ini).ui.language, std::u16string(63, u'x'));
    ini.SetString(u"UI", u"Language", std::u16string(62, u'x') + u"\U0001F600");
    EXPECT_EQ(ConfigFromIni(ini).ui.language, std::u16string(62, u'x'));
}

TEST(Config, ShortcutFallsBackToCtrlF1) {
    EXPECT_EQ(FromText(u"[Shortcut]\nKey=Ctrl+Shift+M").shortcut.key, (Hotkey {6, 0x4D}));
    EXPECT_EQ(FromText(u"[Shortcut]\nKey=Alt+VK_OEM_6").shortcut.key, (Hotkey {2, 0x70}));
    EXPECT_EQ(FromText(u"[Shortcut]\nKey=Ctrl+").shortcut.key, (Hotkey {2, 0x70}));
    EXPECT_EQ(FromText(u"[Shortcut]\nKey=").shortcut.key, (Hotkey {2, 0x70}));
    EXPECT_EQ(FromText(u"[Shortcut]\nKey=off").shortcut.key, (Hotkey {2, 0}));
}

TEST(Config, ParseColor) {
    struct Case {
        std::u16string_view text;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {u"#ff0000", 0x0000FFu}, {u" \t#00FF80\t", 0x80FF00u}, {u"#102030", 0x302010u},
        {u"#00000g", 0u}, {u"#12 456", 0x064512u}, {u"#0000g0", std::nullopt}, {u"#gg0000", std::nullopt},
        {u"#12345", std::nullopt}, {u"#1234567", std::nullopt}, {u"#-10000", std::nullopt},
        {u"255,128,0", 0x0080FFu}, {u" 1, 2,\t3", 0x030201u}, {u"1,2,3xyz", 0x030201u}, {u"+1,-0,3", 0x030001u},
        {u"1 ,2,3", std::nullopt}, {u"1,2", std::nullopt}, {u"1,2,", std::nullopt}, {u"256,0,0", std::nullopt},
        {u"-1,0,0", std::nullopt}, {u"99999999999,0,0", std::nullopt}, {u"", std::nullopt},
        {u" \t ", std::nullopt}, {u"red", std::nullopt}, {u"\uFF11,2,3", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

Config NonDefaultConfig() {
    Config config;
    config.application.lastRunVersion = u"1.2.3";
    config.note.file = u"D:\\Memos\\\u65E5\u8A18.txt";
    config.shortcut.key = {kModControl | kModAlt, 0x4D};
    config.editor.showCurrentLineUnderline = true;
    config.editor.showCurrentLineHighlight = false;
    config.editor.showLineNumbers = false;
    config.editor.caretStyle = CaretStyle::Dos;
    config.editor.noArrowLineCross = true;
    config.editor.wordWrap = WordWrap::NoWrap;
    config.editor.memoFold = true;
    config.editor.fontPitch = FontPitch::Fixed;
    config.editor.fontSizeStep = -3;
    config.editor.separatorLine = u"====";
    config.editor.headingLine = u"#";
    config.editor.sectionMarkerRole = SectionMarkerRole::Heading;
    config.editor.detectLinks = false;
    config.editor.imeOnHighlightLight = u"#102030";
    config.editor.imeOnHighlightDark = u"1,2,3";
    config.editor.imeOnUnderlineLight = u"x";
    config.editor.imeOnUnderlineDark = u"#FFFFFF";
    config.ui = {Theme::Dark, 65, true, u"ja"};
    config.general = {false, true, true, true};
    config.backup = {false, 0, 100};
    config.window = {true, -1200, 5, 800, 600, true};
    config.search = {333, {u"newest", u"a = b", u"[x]"}};
    config.headingList = {400, 500};
    config.sidebar = {false, 180, {u"ab:1", u"cd:22"}};
    return config;
}

TEST(Config, SaveAndLoadRoundTrip) {
    TempDir dir;
    const std::u16string path = dir.File("config.ini");
    const Config config = NonDefaultConfig();
    ASSERT_TRUE(SaveConfig(config, path));
    EXPECT_EQ(LoadConfig(path), config);
    EXPECT_FALSE(dir.Exists("config.ini.tmp"));
}

TEST(Config, WritesKeysInTheFixedOrder) {
    IniFile ini;
    WriteConfigToIni(Config {}, ini);
    EXPECT_EQ(ini.sections, (std::vector<std::u16string> {u"Application", u"Note", u"Shortcut", u"Editor", u"UI",
                                                           u"General", u"Backup", u"Window", u"Search",
                                                           u"HeadingList", u"Sidebar"}));
    EXPECT_EQ(ini.keyOrder.at(u"Editor"),
              (std::vector<std::u16string> {u"ShowCurrentLineUnderline", u"ShowCurrentLineHighlight",
                                            u"ShowLineNumbers", u"CaretStyle", u"NoArrowLineCross", u"WordWrap",
                                            u"MemoFold", u"FontPitch", u"FontSizeStep", u"SeparatorLine",
                                            u"HeadingLine", u"SectionMarkerRole", u"DetectLinks",
                                            u"ImeOnHighlightLight", u"ImeOnHighlightDark", u"ImeOnUnderlineLight",
                                            u"ImeOnUnderlineDark"}));
    EXPECT_EQ(ini.keyOrder.at(u"Search"),
              (std::vector<std::u16string> {u"DialogWidth", u"History0", u"History1", u"History2", u"History3",
                                            u"History4", u"History5", u"History6", u"History7"}));
    EXPECT_EQ(ini.keyOrder.at(u"Window"),
              (std::vector<std::u16string> {u"PosValid", u"X", u"Y", u"W", u"H", u"WExcludesSidebar"}));
    EXPECT_EQ(ini.GetString(u"Shortcut", u"Key", u""), u"VK_F1");
    EXPECT_EQ(ini.GetString(u"Editor", u"CaretStyle", u""), u"Line");
    EXPECT_EQ(ini.GetString(u"Editor", u"ShowCurrentLineHighlight", u""), u"true");
    EXPECT_EQ(ini.GetString(u"UI", u"Theme", u""), u"FollowOs");
    EXPECT_EQ(ini.GetString(u"General", u"RunAtStartup", u""), u"1");
    EXPECT_EQ(ini.GetString(u"Window", u"X", u""), u"-1");
}

TEST(Config, SaveKeepsUnknownEntriesAndPlacesButDropsComments) {
    TempDir dir;
    dir.Write("config.ini",
              "orphan=1\n; comment\n[Mine]\nkeep=me\n[Editor]\nExtra=1\nWordWrap=0\n"
              "[UI]\nOpacity=70\n[Search]\nHistory0=a\nHistory1=\nHistory2=c\n");
    const std::u16string path = dir.File("config.ini");
    const Config loaded = LoadConfig(path);
    EXPECT_EQ(loaded.editor.wordWrap, WordWrap::NoWrap);
    ASSERT_TRUE(SaveConfig(loaded, path));

    IniFile saved;
    saved.path = path;
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.sections, (std::vector<std::u16string> {u"Mine", u"Editor", u"UI", u"Search", u"Application",
                                                             u"Note", u"Shortcut", u"General", u"Backup", u"Window",
                                                             u"HeadingList", u"Sidebar"}));
    EXPECT_EQ(saved.GetString(u"Mine", u"keep", u""), u"me");
    EXPECT_EQ(saved.keyOrder.at(u"Editor").front(), u"Extra");
    EXPECT_EQ(saved.keyOrder.at(u"Editor").at(1), u"WordWrap");
    EXPECT_EQ(saved.GetString(u"Editor", u"WordWrap", u""), u"NoWrap");
    EXPECT_EQ(saved.GetString(u"Search", u"History0", u""), u"a");
    for (const char16_t* key : {u"History1", u"History2", u"History7"}) {
        EXPECT_EQ(saved.GetString(u"Search", key, u"?"), u"");
    }
    const std::string bytes = dir.Read("config.ini");
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF[Mine]\r\nkeep=me\r\n[Editor]\r\nExtra=1\r\n", 0), 0u);
    EXPECT_EQ(bytes.find("orphan"), std::string::npos);
    EXPECT_EQ(bytes.find("comment"), std::string::npos);
    EXPECT_NE(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST(Config, HashSeparatorIsCarriedOverIntoHeadingLineOnSave) {
    TempDir dir;
    dir.Write("config.ini", "[Editor]\nSeparatorLine=###\n");
    const std::u16string path = dir.File("config.ini");
    ASSERT_TRUE(SaveConfig(LoadConfig(path), path));
    const std::string bytes = dir.Read("config.ini");
    EXPECT_NE(bytes.find("\r\nSeparatorLine=------------------------------\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nHeadingLine=###\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nSectionMarkerRole=Heading\r\n"), std::string::npos);
}

TEST(Config, UnreadableFilesGiveDefaults) {
    TempDir dir;
    EXPECT_EQ(LoadConfig(dir.File("missing.ini")), Config {});
    dir.Write("big.ini", "[UI]\r\nOpacity=70\r\n" + std::string(kIniMaxBytes, ';'));
    EXPECT_EQ(LoadConfig(dir.File("big.ini")), Config {});
}

// A file that gives no section is moved aside before defaults are saved in
// its place, and an older copy aside is kept rather than replaced.
TEST(Config, UnusableFileIsSetAsideBeforeDefaultsReplaceIt) {
    struct Case {
        const char* name;
        std::string bytes;
        ConfigSource source;
    };
    const Case cases[] = {
        {"usable", "[UI]\r\nOpacity=70", ConfigSource::Usable},
        {"UTF-16 BE", std::string("\xFE\xFF\0[\0U\0I\0]", 10), ConfigSource::Usable},
        {"empty", "", ConfigSource::Unusable},
        {"BOM only", "\xEF\xBB\xBF", ConfigSource::Unusable},
        {"zeros", std::string(4096, '\0'), ConfigSource::Unusable},
        {"over the limit", "[UI]\r\n" + std::string(kIniMaxBytes, ';'), ConfigSource::Unusable},
    };
    constexpr std::uint64_t kDay = 24ull * 3600 * 10'000'000;
    for (const Case& c : cases) {
        TempDir dir;
        dir.Write("config.ini", c.bytes);
        dir.Write("config.ini.bak", "older");
        const std::u16string path = dir.File("config.ini");
        EXPECT_EQ(ReadConfigFile(path).source, c.source) << c.name;
        if (c.source == ConfigSource::Usable) continue;
        const std::uint64_t bakTime = platform::GetAttributes(dir.File("config.ini.bak"))->lastWriteTime;
        ASSERT_TRUE(SetAsideConfig(path, bakTime + kDay)) << c.name;
        EXPECT_FALSE(dir.Exists("config.ini")) << c.name;
        EXPECT_EQ(dir.Read("config.ini.bak"), c.bytes) << c.name;
        EXPECT_EQ(dir.Read("config.ini.1.bak"), "older") << c.name;
        ASSERT_TRUE(SaveConfig(Config {}, path)) << c.name;
    }
}

TEST(Config, ByteOrderMarkMeansUtf8EvenWithABadByte) {
    EXPECT_EQ(DecodeIniBytes("\xEF\xBB\xBF[N]\nF=caf\xC3\xA9 \xFF"), u"[N]\nF=caf\u00E9 \uFFFD");
}

TEST(Config, AnsiFileIsReadAndRewrittenAsUtf8) {
    TempDir dir;
    dir.Write("config.ini", "[UI]\nOpacity=70\n[Note]\nFile=C:\\caf\xE9.txt\n");
    const std::u16string path = dir.File("config.ini");
    const Config config = LoadConfig(path);
    EXPECT_EQ(config.ui.opacity, 70);
    ASSERT_TRUE(SaveConfig(config, path));
    const std::string bytes = dir.Read("config.ini");
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF[UI]\r\nOpacity=70\r\n", 0), 0u);
    EXPECT_TRUE(Utf8ToUtf16Strict(bytes.substr(3)).has_value());
}

// A value of the row's member unlike the one config holds.
void ChangeValue(const SettingRow& row, Config& config) {
    switch (row.kind) {
    case SettingKind::Text:
    case SettingKind::Color: {
        const auto& access = std::get<SettingAccess<std::u16string>>(row.member);
        access.set(config, access.get(config) + u"x");
        break;
    }
    case SettingKind::BoolWord:
    case SettingKind::Flag: {
        const auto& access = std::get<SettingAccess<bool>>(row.member);
        access.set(config, !access.get(config));
        break;
    }
    case SettingKind::Integer: {
        const auto& access = std::get<SettingAccess<int>>(row.member);
        access.set(config, access.get(config) != row.max ? row.max : row.min);
        break;
    }
    case SettingKind::Choice: {
        const auto& access = std::get<SettingAccess<int>>(row.member);
        access.set(config, (access.get(config) + 1) % static_cast<int>(row.names.size()));
        break;
    }
    case SettingKind::Hotkey:
        std::get<SettingAccess<Hotkey>>(row.member).set(config, Hotkey {kModAlt | kModShift, 'Q'});
        break;
    case SettingKind::List:
        break;
    }
}

std::u16string Written(const SettingRow& row, const Config& config) {
    IniFile ini;
    WriteSetting(row, config, ini);
    return FormatIniText(ini);
}

TEST(ConfigTable, EveryRowHasItsOwnKeyAndMemberAndReadsBackWhatItWrites) {
    std::set<std::pair<std::u16string_view, std::u16string_view>> keys;
    for (const SettingRow& row : ConfigSettings()) {
        const std::string name(row.key.begin(), row.key.end());
        EXPECT_TRUE(keys.emplace(row.section, row.key).second) << name;
        if (row.kind == SettingKind::List) continue;
        Config changed;
        ChangeValue(row, changed);
        int rowsChanged = 0;
        for (const SettingRow& other : ConfigSettings()) rowsChanged += Written(other, changed) != Written(other, {});
        EXPECT_EQ(rowsChanged, 1) << name;

        IniFile ini;
        WriteConfigToIni(changed, ini);
        EXPECT_EQ(ConfigFromIni(ini), changed) << name;
    }
}

struct FirstRun {
    TempDir dir;
    std::u16string dataFolder = dir.File("AppData") + platform::kPathSeparator;
    std::u16string exeFolder = dir.File("bin") + platform::kPathSeparator;
    std::u16string configPath = dir.File("AppData") + platform::kPathSeparator + u"ferrix" +
                                platform::kPathSeparator + u"Quillpn" + platform::kPathSeparator + u"config.ini";

    std::string ReadConfig() const { return platform::ReadWholeFile(configPath, UINT64_MAX).bytes; }
};

TEST(EnsureConfigFile, WritesEmbeddedDefaultIntoNewFolders) {
    FirstRun run;
    EXPECT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, "[UI]\nOpacity=90\n"), EnsureConfigResult::WroteDefault);
    EXPECT_EQ(run.ReadConfig(), "[UI]\nOpacity=90\n");
    EXPECT_EQ(ConfigPathOf(ProgramFolderOf(run.dataFolder)), run.configPath);
}

TEST(EnsureConfigFile, NeverReplacesAnExistingFile) {
    FirstRun run;
    ASSERT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, "first"), EnsureConfigResult::WroteDefault);
    ASSERT_TRUE(platform::CreateDirectoryAt(run.exeFolder));
    ASSERT_TRUE(platform::WriteWholeFile(run.exeFolder + u"config.default.ini", "template"));
    EXPECT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, "second"), EnsureConfigResult::Existing);
    EXPECT_EQ(run.ReadConfig(), "first");
}

TEST(EnsureConfigFile, CopiesTemplateBesideExecutable) {
    FirstRun run;
    ASSERT_TRUE(platform::CreateDirectoryAt(run.exeFolder));
    ASSERT_TRUE(platform::WriteWholeFile(run.exeFolder + u"config.default.ini", "[UI]\r\nTheme=Dark"));
    EXPECT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, "embedded"), EnsureConfigResult::Copied);
    EXPECT_EQ(run.ReadConfig(), "[UI]\r\nTheme=Dark");
}

TEST(EnsureConfigFile, FallsBackToEmbeddedWhenTemplateCannotBeCopied) {
    FirstRun run;
    ASSERT_TRUE(platform::CreateDirectoryAt(run.exeFolder));
    ASSERT_TRUE(platform::CreateDirectoryAt(run.exeFolder + u"config.default.ini"));
    EXPECT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, "embedded"), EnsureConfigResult::WroteDefault);
    EXPECT_EQ(run.ReadConfig(), "embedded");
}

TEST(EnsureConfigFile, EmptyEmbeddedDefaultWritesNothing) {
    FirstRun run;
    EXPECT_EQ(EnsureConfigFile(run.dataFolder, run.exeFolder, ""), EnsureConfigResult::Failed);
    EXPECT_FALSE(platform::GetAttributes(run.configPath).has_value());
    EXPECT_TRUE(platform::GetAttributes(ProgramFolderOf(run.dataFolder)).has_value());
}

}  // namespace
}  // namespace quillpane

// Every config.ini value in one record, with its defaults, read rules and saving.
#include "settings/config.h"

#include "platform/file_system.h"
#include "settings/ascii_text.h"
#include "settings/paths.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace quillpane {
namespace {

constexpr std::u16string_view kApplication = u"Application";
constexpr std::u16string_view kNote = u"Note";
constexpr std::u16string_view kShortcut = u"Shortcut";
constexpr std::u16string_view kEditor = u"Editor";
constexpr std::u16string_view kUi = u"UI";
constexpr std::u16string_view kGeneral = u"General";
constexpr std::u16string_view kBackup = u"Backup";
constexpr std::u16string_view kWindow = u"Window";
constexpr std::u16string_view kSearch = u"Search";
constexpr std::u16string_view kHeadingList = u"HeadingList";
constexpr std::u16string_view kSidebar = u"Sidebar";

constexpr std::array<std::u16string_view, kMaxSearchHistory> kHistoryKeys = {
    u"History0", u"History1", u"History2", u"History3", u"History4", u"History5", u"History6", u"History7",
};

// What scanf skips before a number.
constexpr bool IsScanSpace(char16_t c) {
    return c == u' ' || (c >= 0x09 && c <= 0x0D);
}

std::size_t SkipScanSpace(std::u16string_view text, std::size_t pos) {
    while (pos < text.size() && IsScanSpace(text[pos])) ++pos;
    return pos;
}

// One "%02x" field: whitespace, then one or two hex digits (no sign, no "0x").
std::optional<int> ScanHexByte(std::u16string_view text, std::size_t& pos) {
    pos = SkipScanSpace(text, pos);
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos < text.size() && HexDigitValue(text[pos]) >= 0) {
        value = value * 16 + HexDigitValue(text[pos]);
        ++pos;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

// One "%d" field: whitespace, a sign, at least one digit; large magnitudes
// are held at a value past any channel instead of wrapping.
std::optional<long long> ScanDecimal(std::u16string_view text, std::size_t& pos) {
    pos = SkipScanSpace(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    long long value = 0;
    bool any = false;
    while (pos < text.size() && IsAsciiDigit(text[pos])) {
        if (value < 1000000) value = value * 10 + (text[pos] - u'0');
        any = true;
        ++pos;
    }
    if (!any) return std::nullopt;
    return negative ? -value : value;
}

bool ReadBool(const IniFile& ini, std::u16string_view section, std::u16string_view key, bool defaultValue) {
    return ParseBoolWord(ini.GetString(section, key, u""), defaultValue);
}

bool ReadFlag(const IniFile& ini, std::u16string_view section, std::u16string_view key, bool defaultValue) {
    return ini.GetInt(section, key, defaultValue ? 1 : 0) != 0;
}

int ReadClamped(const IniFile& ini, std::u16string_view section, std::u16string_view key, int defaultValue,
                int low, int high) {
    return std::clamp(ini.GetInt(section, key, defaultValue), low, high);
}

bool IsAllHashes(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u'#'; });
}

void ReadMarkers(const IniFile& ini, EditorSettings& editor) {
    editor.separatorLine = ini.GetString(kEditor, u"SeparatorLine", kDefaultSeparatorLine);
    const std::u16string role = ini.GetString(kEditor, u"SectionMarkerRole", u"");
    if (!role.empty()) {
        editor.sectionMarkerRole =
            EqualsAsciiNoCase(role, u"heading") ? SectionMarkerRole::Heading : SectionMarkerRole::Separator;
    } else {
        // Older files set a "##" SeparatorLine to mean headings.
        editor.sectionMarkerRole =
            IsAllHashes(editor.separatorLine) ? SectionMarkerRole::Heading : SectionMarkerRole::Separator;
    }
    std::u16string heading = ini.GetString(kEditor, u"HeadingLine", u"");
    if (heading.empty()) {
        heading = kDefaultHeadingLine;
        if (editor.sectionMarkerRole == SectionMarkerRole::Heading && editor.separatorLine != kDefaultSeparatorLine) {
            heading = editor.separatorLine;
            editor.separatorLine = kDefaultSeparatorLine;
        }
    }
    editor.headingLine = std::move(heading);
}

std::vector<std::u16string> ReadFoldList(std::u16string_view value) {
    std::vector<std::u16string> entries;
    std::size_t start = 0;
    while (start <= value.size() && entries.size() < kMaxFoldEntries) {
        std::size_t end = value.find(u',', start);
        if (end == std::u16string_view::npos) end = value.size();
        const std::u16string_view piece = value.substr(start, end - start);
        if (IsFoldEntry(piece)) entries.emplace_back(piece);
        start = end + 1;
    }
    return entries;
}

std::u16string JoinFoldList(const std::vector<std::u16string>& entries) {
    std::u16string value;
    std::size_t count = 0;
    for (const std::u16string& entry : entries) {
        if (count == kMaxFoldEntries) break;
        if (!IsFoldEntry(entry)) continue;
        if (count++ > 0) value += u',';
        value += entry;
    }
    return value;
}

std::vector<std::u16string> ReadHistory(const IniFile& ini) {
    std::vector<std::u16string> history;
    for (const std::u16string_view key : kHistoryKeys) {
        std::u16string entry = ini.GetString(kSearch, key, u"");
        if (entry.empty()) break;
        history.push_back(std::move(entry));
    }
    return history;
}

std::u16string ReadLanguage(const IniFile& ini) {
    const std::u16string stored = ini.GetString(kUi, u"Language", u"");
    const std::u16string_view language = TrimBlanks(stored);
    std::u16string result(language.substr(0, kMaxLanguageLength));
    // Do not leave half of a surrogate pair behind at the cut.
    if (language.size() > kMaxLanguageLength && result.back() >= 0xD800 && result.back() <= 0xDBFF) result.pop_back();
    return result;
}

template <typename Enum, std::size_t N>
Enum ReadWord(const IniFile& ini, std::u16string_view section, std::u16string_view key,
              const std::array<std::u16string_view, N>& lowerWords) {
    const std::u16string value = ini.GetString(section, key, u"");
    for (std::size_t i = 1; i < N; ++i) {
        if (EqualsAsciiNoCase(value, lowerWords[i])) return static_cast<Enum>(i);
    }
    return static_cast<Enum>(0);
}

// The word of an enumeration value; a value outside the list writes the first word.
template <typename Enum, std::size_t N>
std::u16string_view WordOf(Enum value, const std::array<std::u16string_view, N>& words) {
    const auto index = static_cast<std::size_t>(value);
    return index < N ? words[index] : words[0];
}

std::u16string_view TrueFalse(bool value) {
    return value ? u"true" : u"false";
}

std::u16string_view ZeroOne(bool value) {
    return value ? u"1" : u"0";
}

}  // namespace

bool ParseBoolWord(std::u16string_view text, bool defaultValue) {
    if (text.empty()) return defaultValue;
    if (EqualsAsciiNoCase(text, u"true") || text == u"1") return true;
    if (EqualsAsciiNoCase(text, u"false") || text == u"0") return false;
    return defaultValue;
}

std::optional<std::uint32_t> ParseColor(std::u16string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::array<int, 3> channels {};
    std::size_t pos = 0;
    if (text.size() == 7 && text[0] == u'#') {
        pos = 1;
        for (int& channel : channels) {
            const std::optional<int> value = ScanHexByte(text, pos);
            if (!value) return std::nullopt;
            channel = *value;
        }
    } else {
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (i > 0) {
                if (pos >= text.size() || text[pos] != u',') return std::nullopt;
                ++pos;
            }
            const std::optional<long long> value = ScanDecimal(text, pos);
            if (!value || *value < 0 || *value > 255) return std::nullopt;
            channels[i] = static_cast<int>(*value);
        }
    }
    return static_cast<std::uint32_t>(channels[0]) | (static_cast<std::uint32_t>(channels[1]) << 8) |
           (static_cast<std::uint32_t>(channels[2]) << 16);
}

bool IsFoldEntry(std::u16string_view entry) {
    const std::size_t colon = entry.find(u':');
    if (colon == std::u16string_view::npos || colon == 0 || colon > 16 || colon + 1 == entry.size()) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char16_t c = entry[i];
        if (!IsAsciiDigit(c) && !(c >= u'a' && c <= u'f')) return false;
    }
    for (std::size_t i = colon + 1; i < entry.size(); ++i) {
        if (!IsAsciiDigit(entry[i])) return false;
    }
    return true;
}

Config ConfigFromIni(const IniFile& ini) {
    Config config;
    config.application.lastRunVersion = ini.GetString(kApplication, u"LastRunVersion", u"");
    config.note.file = ini.GetString(kNote, u"File", u"");
    config.shortcut.key = HotkeyFromConfigValue(ini.GetString(kShortcut, u"Key", u"CTRL+F1"));

    EditorSettings& editor = config.editor;
    editor.showCurrentLineUnderline = ReadBool(ini, kEditor, u"ShowCurrentLineUnderline", false);
    editor.showCurrentLineHighlight = ReadBool(ini, kEditor, u"ShowCurrentLineHighlight", true);
    editor.showLineNumbers = ReadBool(ini, kEditor, u"ShowLineNumbers", true);
    editor.caretStyle = ReadWord<CaretStyle>(ini, kEditor, u"CaretStyle",
                                             std::array<std::u16string_view, 3> {u"line", u"block", u"dos"});
    editor.noArrowLineCross = ReadBool(ini, kEditor, u"NoArrowLineCross", false);
    const std::u16string wrap = ini.GetString(kEditor, u"WordWrap", u"");
    editor.wordWrap = (EqualsAsciiNoCase(wrap, u"nowrap") || wrap == u"0") ? WordWrap::NoWrap : WordWrap::Wrap;
    editor.memoFold = ReadFlag(ini, kEditor, u"MemoFold", false);
    editor.fontPitch = ReadWord<FontPitch>(ini, kEditor, u"FontPitch",
                                           std::array<std::u16string_view, 2> {u"proportional", u"fixed"});
    editor.fontSizeStep = ReadClamped(ini, kEditor, u"FontSizeStep", 0, -8, 20);
    ReadMarkers(ini, editor);
    editor.detectLinks = ReadBool(ini, kEditor, u"DetectLinks", true);
    editor.imeOnHighlightLight = ini.GetString(kEditor, u"ImeOnHighlightLight", u"");
    editor.imeOnHighlightDark = ini.GetString(kEditor, u"ImeOnHighlightDark", u"");
    editor.imeOnUnderlineLight = ini.GetString(kEditor, u"ImeOnUnderlineLight", u"");
    editor.imeOnUnderlineDark = ini.GetString(kEditor, u"ImeOnUnderlineDark", u"");

    config.ui.theme = ReadWord<Theme>(ini, kUi, u"Theme",
                                      std::array<std::u16string_view, 3> {u"followos", u"light", u"dark"});
    config.ui.opacity = ReadClamped(ini, kUi, u"Opacity", 80, 60, 100);
    config.ui.translucent = ReadFlag(ini, kUi, u"Translucent", false);
    config.ui.language = ReadLanguage(ini);

    config.general.runAtStartup = ReadFlag(ini, kGeneral, u"RunAtStartup", true);
    config.general.closeOnFocusLost = ReadFlag(ini, kGeneral, u"CloseOnFocusLost", false);
    config.general.phoneSync = ReadFlag(ini, kGeneral, u"PhoneSync", false);
    config.general.alwaysOnTop = ReadFlag(ini, kGeneral, u"AlwaysOnTop", false);

    config.backup.enabled = ReadFlag(ini, kBackup, u"Enabled", true);
    config.backup.intervalMinutes = ReadClamped(ini, kBackup, u"IntervalMinutes", 10, 0, 1440);
    config.backup.maxGenerations = ReadClamped(ini, kBackup, u"MaxGenerations", 30, 1, 100);

    config.window.posValid = ReadFlag(ini, kWindow, u"PosValid", false);
    config.window.x = ini.GetInt(kWindow, u"X", -1);
    config.window.y = ini.GetInt(kWindow, u"Y", -1);
    config.window.w = std::max(ini.GetInt(kWindow, u"W", 640), 240);
    config.window.h = std::max(ini.GetInt(kWindow, u"H", 440), 160);
    config.window.wExcludesSidebar = ReadFlag(ini, kWindow, u"WExcludesSidebar", false);

    config.search.dialogWidth = ReadClamped(ini, kSearch, u"DialogWidth", 0, 0, 4000);
    config.search.history = ReadHistory(ini);
    config.headingList.dialogWidth = ReadClamped(ini, kHeadingList, u"DialogWidth", 0, 0, 4000);
    config.headingList.dialogHeight = ReadClamped(ini, kHeadingList, u"DialogHeight", 0, 0, 4000);

    config.sidebar.visible = ReadFlag(ini, kSidebar, u"Visible", true);
    config.sidebar.width = ReadClamped(ini, kSidebar, u"Width", 0, 0, 2000);
    config.sidebar.folded = ReadFoldList(ini.GetString(kSidebar, u"Folded", u""));
    return config;
}

void WriteConfigToIni(const Config& config, IniFile& ini) {
    ini.SetString(kApplication, u"LastRunVersion", config.application.lastRunVersion);
    ini.SetString(kNote, u"File", config.note.file);
    ini.SetString(kShortcut, u"Key", FormatHotkey(config.shortcut.key));

    const EditorSettings& editor = config.editor;
    constexpr std::array<std::u16string_view, 3> kCaretWords = {u"Line", u"Block", u"Dos"};
    ini.SetString(kEditor, u"ShowCurrentLineUnderline", TrueFalse(editor.showCurrentLineUnderline));
    ini.SetString(kEditor, u"ShowCurrentLineHighlight", TrueFalse(editor.showCurrentLineHighlight));
    ini.SetString(kEditor, u"ShowLineNumbers", TrueFalse(editor.showLineNumbers));
    ini.SetString(kEditor, u"CaretStyle", WordOf(editor.caretStyle, kCaretWords));
    ini.SetString(kEditor, u"NoArrowLineCross", TrueFalse(editor.noArrowLineCross));
    ini.SetString(kEditor, u"WordWrap", editor.wordWrap == WordWrap::NoWrap ? u"NoWrap" : u"Wrap");
    ini.SetString(kEditor, u"MemoFold", ZeroOne(editor.memoFold));
    ini.SetString(kEditor, u"FontPitch", editor.fontPitch == FontPitch::Fixed ? u"Fixed" : u"Proportional");
    ini.SetInt(kEditor, u"FontSizeStep", editor.fontSizeStep);
    ini.SetString(kEditor, u"SeparatorLine", editor.separatorLine);
    ini.SetString(kEditor, u"HeadingLine", editor.headingLine);
    ini.SetString(kEditor, u"SectionMarkerRole",
                  editor.sectionMarkerRole == SectionMarkerRole::Heading ? u"Heading" : u"Separator");
    ini.SetString(kEditor, u"DetectLinks", TrueFalse(editor.detectLinks));
    ini.SetString(kEditor, u"ImeOnHighlightLight", editor.imeOnHighlightLight);
    ini.SetString(kEditor, u"ImeOnHighlightDark", editor.imeOnHighlightDark);
    ini.SetString(kEditor, u"ImeOnUnderlineLight", editor.imeOnUnderlineLight);
    ini.SetString(kEditor, u"ImeOnUnderlineDark", editor.imeOnUnderlineDark);

    constexpr std::array<std::u16string_view, 3> kThemeWords = {u"FollowOs", u"Light", u"Dark"};
    ini.SetString(kUi, u"Theme", WordOf(config.ui.theme, kThemeWords));
    ini.SetInt(kUi, u"Opacity", config.ui.opacity);
    ini.SetString(kUi, u"Translucent", ZeroOne(config.ui.translucent));
    ini.SetString(kUi, u"Language", config.ui.language);

    ini.SetString(kGeneral, u"RunAtStartup", ZeroOne(config.general.runAtStartup));
    ini.SetString(kGeneral, u"CloseOnFocusLost", ZeroOne(config.general.closeOnFocusLost));
    ini.SetString(kGeneral, u"PhoneSync", ZeroOne(config.general.phoneSync));
    ini.SetString(kGeneral, u"AlwaysOnTop", ZeroOne(config.general.alwaysOnTop));

    ini.SetString(kBackup, u"Enabled", ZeroOne(config.backup.enabled));
    ini.SetInt(kBackup, u"IntervalMinutes", config.backup.intervalMinutes);
    ini.SetInt(kBackup, u"MaxGenerations", config.backup.maxGenerations);

    ini.SetString(kWindow, u"PosValid", ZeroOne(config.window.posValid));
    ini.SetInt(kWindow, u"X", config.window.x);
    ini.SetInt(kWindow, u"Y", config.window.y);
    ini.SetInt(kWindow, u"W", config.window.w);
    ini.SetInt(kWindow, u"H", config.window.h);
    ini.SetString(kWindow, u"WExcludesSidebar", ZeroOne(config.window.wExcludesSidebar));

    ini.SetInt(kSearch, u"DialogWidth", config.search.dialogWidth);
    ini.SetInt(kHeadingList, u"DialogWidth", config.headingList.dialogWidth);
    ini.SetInt(kHeadingList, u"DialogHeight", config.headingList.dialogHeight);

    ini.SetString(kSidebar, u"Visible", ZeroOne(config.sidebar.visible));
    ini.SetInt(kSidebar, u"Width", config.sidebar.width);
    ini.SetString(kSidebar, u"Folded", JoinFoldList(config.sidebar.folded));

    for (std::size_t i = 0; i < kHistoryKeys.size(); ++i) {
        const bool present = i < config.search.history.size();
        ini.SetString(kSearch, kHistoryKeys[i], present ? std::u16string_view(config.search.history[i]) : u"");
    }
}

Config LoadConfig(std::u16string_view configPath) {
    IniFile ini;
    ini.path = configPath;
    (void)ini.Load();
    return ConfigFromIni(ini);
}

bool SaveConfig(const Config& config, std::u16string_view configPath) {
    IniFile ini;
    ini.path = configPath;
    (void)ini.Load();
    WriteConfigToIni(config, ini);
    return ini.Save();
}

std::u16string ConfigPathOf(std::u16string_view programFolder) {
    return std::u16string(programFolder) + u"config.ini";
}

EnsureConfigResult EnsureConfigFile(std::u16string_view dataFolder, std::u16string_view exeFolder,
                                    std::string_view embeddedDefault) {
    const std::u16string programFolder = ProgramFolderOf(dataFolder);
    CreatePathFolders(VendorFolderOf(dataFolder));
    CreatePathFolders(programFolder);
    const std::u16string configPath = ConfigPathOf(programFolder);
    if (platform::GetAttributes(configPath)) return EnsureConfigResult::Existing;

    const std::u16string templatePath = std::u16string(exeFolder) + u"config.default.ini";
    if (platform::GetAttributes(templatePath)) {
        if (platform::CopyFileReplacing(templatePath, configPath) && platform::GetAttributes(configPath)) {
            return EnsureConfigResult::Copied;
        }
    }
    if (embeddedDefault.empty()) return EnsureConfigResult::Failed;
    if (platform::WriteWholeFile(configPath, embeddedDefault)) return EnsureConfigResult::WroteDefault;
    // A partial file would be taken as the user's own next time and never
    // replaced; without it the next start tries again.
    platform::DeleteFileAt(configPath);
    return EnsureConfigResult::Failed;
}

}  // namespace quillpane

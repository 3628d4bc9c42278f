// Every config.ini value in one record, with its defaults and saving; the
// keys and their read rules are the table in config_schema.h.
#pragma once

#include "settings/hotkey.h"
#include "settings/ini_file.h"
#include "settings/backup_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

enum class CaretStyle { Line, Block, Dos };
enum class WordWrap { Wrap, NoWrap };
enum class FontPitch { Proportional, Fixed };
enum class SectionMarkerRole { Separator, Heading };
enum class Theme { FollowOs, Light, Dark };

inline constexpr std::u16string_view kDefaultSeparatorLine = u"------------------------------";
inline constexpr std::u16string_view kDefaultHeadingLine = u"##";
inline constexpr std::size_t kMaxSearchHistory = 8;
inline constexpr std::size_t kMaxFoldEntries = 100;
inline constexpr std::size_t kMaxLanguageLength = 63;

struct ApplicationSettings {
    std::u16string lastRunVersion;
    std::u16string unsavedCopy;  // an unsaved text kept at the last end, not yet reported
    bool operator==(const ApplicationSettings&) const = default;
};

struct NoteSettings {
    std::u16string file;  // as configured, never the resolved path
    bool operator==(const NoteSettings&) const = default;
};

struct ShortcutSettings {
    Hotkey key;
    bool operator==(const ShortcutSettings&) const = default;
};

struct EditorSettings {
    bool showCurrentLineUnderline = false;
    bool showCurrentLineHighlight = true;
    bool showLineNumbers = true;
    CaretStyle caretStyle = CaretStyle::Line;
    bool noArrowLineCross = false;
    WordWrap wordWrap = WordWrap::Wrap;
    bool memoFold = false;
    FontPitch fontPitch = FontPitch::Proportional;
    int fontSizeStep = 0;  // -8..20
    std::u16string separatorLine {kDefaultSeparatorLine};
    std::u16string headingLine {kDefaultHeadingLine};
    SectionMarkerRole sectionMarkerRole = SectionMarkerRole::Separator;
    bool detectLinks = true;
    // Colour texts for ParseColor; empty means the built-in colour.
    std::u16string imeOnHighlightLight;
    std::u16string imeOnHighlightDark;
    std::u16string imeOnUnderlineLight;
    std::u16string imeOnUnderlineDark;
    bool operator==(const EditorSettings&) const = default;
};

struct UiSettings {
    Theme theme = Theme::FollowOs;
    int opacity = 80;  // percent, 60..100
    bool translucent = false;
    std::u16string language;  // at most kMaxLanguageLength units
    bool operator==(const UiSettings&) const = default;
};

struct GeneralSettings {
    bool runAtStartup = true;
    bool closeOnFocusLost = false;
    bool phoneSync = false;
    bool alwaysOnTop = false;
    bool operator==(const GeneralSettings&) const = default;
};

struct WindowSettings {
    bool posValid = false;
    int x = -1;
    int y = -1;
    int w = 640;  // at least 240
    int h = 440;  // at least 160
    bool wExcludesSidebar = false;
    bool operator==(const WindowSettings&) const = default;
};

struct SearchSettings {
    int dialogWidth = 0;                  // 0..4000
    std::vector<std::u16string> history;  // newest first, at most kMaxSearchHistory
    bool operator==(const SearchSettings&) const = default;
};

struct HeadingListSettings {
    int dialogWidth = 0;   // 0..4000
    int dialogHeight = 0;  // 0..4000
    bool operator==(const HeadingListSettings&) const = default;
};

struct SidebarSettings {
    bool visible = true;
    int width = 0;                       // 0..2000
    std::vector<std::u16string> folded;  // valid fold entries, at most kMaxFoldEntries
    bool operator==(const SidebarSettings&) const = default;
};

// Default-constructed, it holds the values in force before config.ini is read.
struct Config {
    ApplicationSettings application;
    NoteSettings note;
    ShortcutSettings shortcut;
    EditorSettings editor;
    UiSettings ui;
    GeneralSettings general;
    BackupSettings backup;  // intervalMinutes 0..1440, maxGenerations 1..100
    WindowSettings window;
    SearchSettings search;
    HeadingListSettings headingList;
    SidebarSettings sidebar;
    bool operator==(const Config&) const = default;
};


// Every key with its read rule; missing keys take their defaults.
[[nodiscard]] Config ConfigFromIni(const IniFile& ini);

// Sets every key in the fixed order, so existing keys keep their place and
// new ones go to the end of their section.
void WriteConfigToIni(const Config& config, IniFile& ini);

// Whatever can be read is used; an unreadable file gives the defaults.
[[nodiscard]] Config LoadConfig(std::u16string_view configPath);

// Re-reads the file so keys the program does not use survive, then replaces
// it atomically. Comments are not kept.
// False without writing when the file exists but cannot be read (or is over
// the limit): its unknown keys would be lost.
bool SaveConfig(const Config& config, std::u16string_view configPath);

// Empty text gives defaultValue; "true"/"false" (any case), "1" and "0".
[[nodiscard]] bool ParseBoolWord(std::u16string_view text, bool defaultValue);

// "#rrggbb" or "r,g,b" to a COLORREF (red in the low byte); empty when the
// text names no colour.
[[nodiscard]] std::optional<std::uint32_t> ParseColor(std::u16string_view text);

// One [Sidebar] Folded entry: 1-16 lower-case hex digits, ':', decimal digits.
[[nodiscard]] bool IsFoldEntry(std::u16string_view entry);

[[nodiscard]] std::u16string ConfigPathOf(std::u16string_view programFolder);

enum class ConfigSource {
    Usable,      // at least one section was read
    Missing,     // no config.ini
    Unusable,    // no section came out of it (empty, zeros, a lone BOM, over the limit)
    Unreadable,  // exists but could not be opened or read (held by another program)
};

struct LoadedConfig {
    Config config;  // defaults where the file gave nothing
    ConfigSource source = ConfigSource::Missing;
};

[[nodiscard]] LoadedConfig ReadConfigFile(std::u16string_view configPath);

// A config.ini that exists but gave no section is moved to config.ini.bak
// before anything is saved in its place; a .bak a day old or more (`now` in
// the units of FileAttributes::lastWriteTime) is first moved on to
// config.ini.<n>.bak. False when the file could not be moved: nothing may
// then be saved over it.
[[nodiscard]] bool SetAsideConfig(std::u16string_view configPath, std::uint64_t now);

struct StartedConfig {
    Config config;
    // config.ini could not be read, or not moved aside: never written in
    // this run.
    bool locked = false;
};

// Start-up: makes sure config.ini exists (EnsureConfigFile), reads it, and
// sets an unusable one aside so defaults can be saved in its place.
[[nodiscard]] StartedConfig StartConfig(std::u16string_view dataFolder, std::u16string_view exeFolder,
                                        std::string_view embeddedDefault, std::uint64_t now);

enum class EnsureConfigResult {
    Existing,     // config.ini was there and was left alone
    Copied,       // config.default.ini from the executable's folder
    WroteDefault, // the embedded default
    Failed,
};

// First run: creates the program folder below dataFolder and, when
// config.ini does not exist, fills it from exeFolder's config.default.ini or
// from the embedded default. An existing config.ini is never replaced.
EnsureConfigResult EnsureConfigFile(std::u16string_view dataFolder, std::u16string_view exeFolder,
                                    std::string_view embeddedDefault);

}  // namespace quillpane

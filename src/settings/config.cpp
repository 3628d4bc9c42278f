// Every config.ini value in one record, with its defaults and saving; the
// keys and their read rules are the table in config_schema.h.
#include "settings/config.h"

#include "platform/file_system.h"
#include "settings/ascii_text.h"
#include "settings/config_schema.h"
#include "settings/paths.h"

#include <array>

namespace quillpane {
namespace {

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
    for (const SettingRow& row : ConfigSettings()) ReadSetting(row, ini, config);
    return config;
}

void WriteConfigToIni(const Config& config, IniFile& ini) {
    for (const SettingRow& row : ConfigSettings()) WriteSetting(row, config, ini);
}

Config LoadConfig(std::u16string_view configPath) {
    return ReadConfigFile(configPath).config;
}

LoadedConfig ReadConfigFile(std::u16string_view configPath) {
    IniFile ini;
    ini.path = configPath;
    LoadedConfig loaded;
    switch (ini.Read()) {
    case IniSource::Parsed:
        loaded.source = ini.sections.empty() ? ConfigSource::Unusable : ConfigSource::Usable;
        break;
    case IniSource::Missing:
        loaded.source = ConfigSource::Missing;
        break;
    case IniSource::Empty:
    case IniSource::TooLarge:
        loaded.source = ConfigSource::Unusable;
        break;
    case IniSource::Unreadable:
        loaded.source = ConfigSource::Unreadable;
        break;
    }
    loaded.config = ConfigFromIni(ini);
    return loaded;
}

bool SetAsideConfig(std::u16string_view configPath, std::uint64_t now) {
    constexpr std::uint64_t kDay = 24ull * 3600 * 10'000'000;
    const std::u16string bak = std::u16string(configPath) + u".bak";
    // Moved out of the way first: whatever fails after this, nothing is
    // saved over the user's file and no older copy has been dropped.
    const std::u16string moving = bak + u".new";
    if (!platform::RenameFile(configPath, moving)) return false;
    if (const auto old = platform::GetAttributes(bak)) {
        const bool recent = old->lastWriteTime <= now && now - old->lastWriteTime < kDay;
        bool cleared = recent && platform::DeleteFileAt(bak);
        for (int n = 1; n < 1000 && !cleared; ++n) {
            cleared = platform::RenameFile(bak, std::u16string(configPath) + u"." + FormatIniInt(n) + u".bak");
        }
        if (!cleared) return true;
    }
    (void)platform::RenameFile(moving, bak);
    return true;
}

StartedConfig StartConfig(std::u16string_view dataFolder, std::u16string_view exeFolder,
                          std::string_view embeddedDefault, std::uint64_t now) {
    (void)EnsureConfigFile(dataFolder, exeFolder, embeddedDefault);
    const std::u16string configPath = ConfigPathOf(ProgramFolderOf(dataFolder));
    LoadedConfig loaded = ReadConfigFile(configPath);
    StartedConfig started {std::move(loaded.config)};
    // A file that gave nothing is kept aside before defaults are saved in its
    // place; one that could not be read (or moved) is left alone for the run.
    if (loaded.source == ConfigSource::Unusable) {
        started.locked = !SetAsideConfig(configPath, now);
    } else if (loaded.source == ConfigSource::Unreadable) {
        started.locked = true;
    }
    return started;
}

bool SaveConfig(const Config& config, std::u16string_view configPath) {
    IniFile ini;
    ini.path = configPath;
    const IniSource source = ini.Read();
    if (source == IniSource::Unreadable || source == IniSource::TooLarge) return false;
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

    // Never over an existing file: an attribute query that failed above must
    // not turn the user's config.ini into a default one.
    const std::u16string templatePath = std::u16string(exeFolder) + u"config.default.ini";
    if (platform::GetAttributes(templatePath)) {
        // A read-only template must not make every later save fail.
        if (platform::CopyFileNew(templatePath, configPath) && platform::MakeWritable(configPath)) {
            return EnsureConfigResult::Copied;
        }
    }
    if (embeddedDefault.empty()) return EnsureConfigResult::Failed;
    // A failed write removes its own partial file, which would otherwise be
    // taken as the user's next time.
    if (platform::CreateNewFile(configPath, embeddedDefault, true)) return EnsureConfigResult::WroteDefault;
    return EnsureConfigResult::Failed;
}

}  // namespace quillpane

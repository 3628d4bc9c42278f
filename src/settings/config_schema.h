// The config.ini settings as one table: a row per key, in the order they are
// written. Loading and saving are driven by it, and so can a settings window.
#pragma once

#include "settings/config.h"
#include "settings/hotkey.h"
#include "settings/ini_file.h"

#include <climits>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quillpane {

// The written form of a value, which also decides how it is read back.
enum class SettingKind {
    Text,      // as is
    Color,     // text for ParseColor, kept as written
    BoolWord,  // "true"/"false"; "1"/"0" are read too
    Flag,      // "1"/"0"; any other number reads as true
    Integer,   // decimal, clamped to [min, max] on load
    Choice,    // names[value], matched ignoring ASCII case on load
    Hotkey,    // FormatHotkey / HotkeyFromConfigValue
    List,      // several values through the row's own reader and writer
};

// One member of Config by value; a Choice member as the index of its name.
template <typename T>
struct SettingAccess {
    T (*get)(const Config&) = nullptr;
    void (*set)(Config&, T) = nullptr;
};

using SettingMember = std::variant<std::monostate, SettingAccess<bool>, SettingAccess<int>,
                                   SettingAccess<std::u16string>, SettingAccess<Hotkey>>;

// A further spelling read as a Choice value; it is never written.
struct ChoiceAlias {
    std::u16string_view text;
    int value = 0;
};

struct SettingRow {
    std::u16string_view section;
    std::u16string_view key;
    SettingKind kind = SettingKind::Text;
    SettingMember member;  // empty for List rows
    int min = INT_MIN;     // Integer
    int max = INT_MAX;     // Integer
    std::span<const std::u16string_view> names;  // Choice
    std::span<const ChoiceAlias> aliases;        // Choice
    std::u16string (*normalize)(std::u16string_view) = nullptr;  // Text: applied to a read value
    // For keys that are not read or written alone (lists, rules across keys).
    void (*read)(const SettingRow&, const IniFile&, Config&) = nullptr;
    void (*write)(const SettingRow&, const Config&, IniFile&) = nullptr;
};

// Every row in written order. The defaults are those of Config {}.
[[nodiscard]] std::span<const SettingRow> ConfigSettings();

// Reads into a config holding the defaults: a missing key, and an invalid
// value where the kind says so, leaves the member alone.
void ReadSetting(const SettingRow& row, const IniFile& ini, Config& config);

// Writes the member as it is; clamps apply only on load.
void WriteSetting(const SettingRow& row, const Config& config, IniFile& ini);

}  // namespace quillpane

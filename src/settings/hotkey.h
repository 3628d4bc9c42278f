// The global hotkey value and its text form in config.ini.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

inline constexpr int kModAlt = 1;
inline constexpr int kModControl = 2;
inline constexpr int kModShift = 4;
inline constexpr int kModWin = 8;
inline constexpr int kModNoRepeat = 0x4000;

inline constexpr int kVkOem4 = 0xDB;  // '[' on US layouts
inline constexpr int kVkOem6 = 0xDD;  // ']' on US layouts

// Modifier bits (kMod*) and a virtual-key code 1..255; key 0 means the
// hotkey is switched off. The default is Ctrl+F1.
struct Hotkey {
    int modifiers = kModControl;
    int key = 0x70;

    bool operator==(const Hotkey&) const = default;
};

// Reads the config.ini syntax. On failure out is Ctrl+F1; a missing text
// fails, an empty one gives Ctrl+F1, "none"/"off"/"disabled" switch it off.
[[nodiscard]] bool ParseHotkey(std::optional<std::u16string_view> text, Hotkey& out);

// A single key name, number or character; 0 when it names no key.
[[nodiscard]] int ParseKeyToken(std::u16string_view token);

// The form the program writes back: "none", "VK_F1" for Ctrl alone, else
// "Ctrl+Alt+Shift+Win+" (those present) and the key name.
[[nodiscard]] std::u16string FormatHotkey(const Hotkey& hotkey);

// [Shortcut] Key as read at start-up: values that do not parse, and the
// bracket keys, give Ctrl+F1.
[[nodiscard]] Hotkey HotkeyFromConfigValue(std::u16string_view value);

}  // namespace quillpane

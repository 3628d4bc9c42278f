// The global hotkey value and its text form in config.ini.
#include "settings/hotkey.h"

#include "settings/ascii_text.h"

#include <array>
#include <vector>

namespace quillpane {
namespace {

struct KeyName {
    std::u16string_view name;
    int code;
};

// Searched in this order; names are written exactly as listed.
constexpr std::array<KeyName, 63> kKeyNames = {{
    {u"VK_TAB", 0x09}, {u"VK_RETURN", 0x0D}, {u"VK_ESCAPE", 0x1B}, {u"VK_SPACE", 0x20},
    {u"VK_0", 0x30}, {u"VK_1", 0x31}, {u"VK_2", 0x32}, {u"VK_3", 0x33}, {u"VK_4", 0x34},
    {u"VK_5", 0x35}, {u"VK_6", 0x36}, {u"VK_7", 0x37}, {u"VK_8", 0x38}, {u"VK_9", 0x39},
    {u"VK_A", 0x41}, {u"VK_B", 0x42}, {u"VK_C", 0x43}, {u"VK_D", 0x44}, {u"VK_E", 0x45},
    {u"VK_F", 0x46}, {u"VK_G", 0x47}, {u"VK_H", 0x48}, {u"VK_I", 0x49}, {u"VK_J", 0x4A},
    {u"VK_K", 0x4B}, {u"VK_L", 0x4C}, {u"VK_M", 0x4D}, {u"VK_N", 0x4E}, {u"VK_O", 0x4F},
    {u"VK_P", 0x50}, {u"VK_Q", 0x51}, {u"VK_R", 0x52}, {u"VK_S", 0x53}, {u"VK_T", 0x54},
    {u"VK_U", 0x55}, {u"VK_V", 0x56}, {u"VK_W", 0x57}, {u"VK_X", 0x58}, {u"VK_Y", 0x59},
    {u"VK_Z", 0x5A},
    {u"VK_F1", 0x70}, {u"VK_F2", 0x71}, {u"VK_F3", 0x72}, {u"VK_F4", 0x73}, {u"VK_F5", 0x74},
    {u"VK_F6", 0x75}, {u"VK_F7", 0x76}, {u"VK_F8", 0x77}, {u"VK_F9", 0x78}, {u"VK_F10", 0x79},
    {u"VK_F11", 0x7A}, {u"VK_F12", 0x7B},
    {u"VK_OEM_1", 0xBA}, {u"VK_OEM_PLUS", 0xBB}, {u"VK_OEM_COMMA", 0xBC}, {u"VK_OEM_MINUS", 0xBD},
    {u"VK_OEM_PERIOD", 0xBE}, {u"VK_OEM_2", 0xBF}, {u"VK_OEM_3", 0xC0}, {u"VK_OEM_4", 0xDB},
    {u"VK_OEM_5", 0xDC}, {u"VK_OEM_6", 0xDD}, {u"VK_OEM_7", 0xDE},
}};

// First units of the BMP's runs of ten decimal digits (Unicode category Nd)
// beyond ASCII. Their codes lie past 255, so as key tokens they are rejected.
constexpr std::array<char16_t, 36> kDigitRunStarts = {
    0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0BE6,
    0x0C66, 0x0CE6, 0x0D66, 0x0DE6, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x1090,
    0x17E0, 0x1810, 0x1946, 0x19D0, 0x1A80, 0x1A90, 0x1B50, 0x1BB0, 0x1C40,
    0x1C50, 0xA620, 0xA8D0, 0xA900, 0xA9D0, 0xA9F0, 0xAA50, 0xABF0, 0xFF10,
};

bool IsOtherDecimalDigit(char16_t c) {
    for (const char16_t start : kDigitRunStarts) {
        if (c >= start && c < start + 10) return true;
    }
    return false;
}

bool IsDigitChar(char16_t c) {
    return IsAsciiDigit(c) || IsOtherDecimalDigit(c);
}

// Letters of ASCII and Latin-1; other scripts are not key characters.
bool IsLetterChar(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
    if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
    return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
}

// Simple upper-case mapping of the letters above.
int UpperCaseOf(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0xB5) return 0x39C;
    return c;
}

// Character codes past 255 are no virtual-key codes: such a key could never
// be pressed and would not survive being written back as "0x%02X".
int AsKeyCode(int code) {
    return (code >= 1 && code <= 255) ? code : 0;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() && EqualsAsciiNoCase(text.substr(0, lowerPrefix.size()), lowerPrefix);
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

int ParseHexKey(std::u16string_view digits) {
    int value = 0;
    bool any = false;
    for (const char16_t c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) break;
        any = true;
        if (value <= 0xFFFF) value = value * 16 + digit;
    }
    return any ? AsKeyCode(value) : 0;
}

int ParseDecimalKey(std::u16string_view digits) {
    int value = 0;
    for (const char16_t c : digits) {
        if (value <= 0xFFFF) value = value * 10 + (c - u'0');
    }
    return AsKeyCode(value);
}

int ParseFunctionKey(std::u16string_view token) {
    if (token.size() < 2 || token.size() > 3 || (token[0] != u'F' && token[0] != u'f')) return 0;
    int value = 0;
    for (const char16_t c : token.substr(1)) {
        if (!IsAsciiDigit(c)) return 0;
        value = value * 10 + (c - u'0');
    }
    return (value >= 1 && value <= 24) ? 0x70 + value - 1 : 0;
}

int ModifierOfWord(std::u16string_view word) {
    if (EqualsAsciiNoCase(word, u"ctrl") || EqualsAsciiNoCase(word, u"control")) return kModControl;
    if (EqualsAsciiNoCase(word, u"alt") || EqualsAsciiNoCase(word, u"menu")) return kModAlt;
    if (EqualsAsciiNoCase(word, u"shift")) return kModShift;
    if (EqualsAsciiNoCase(word, u"win") || EqualsAsciiNoCase(word, u"windows") ||
        EqualsAsciiNoCase(word, u"lwin") || EqualsAsciiNoCase(word, u"rwin")) {
        return kModWin;
    }
    return 0;
}

// The pieces between '+' signs, blanks trimmed, each cut to 47 characters.
std::vector<std::u16string_view> SplitHotkeyPieces(std::u16string_view text) {
    constexpr std::size_t kMaxPieces = 16;
    constexpr std::size_t kMaxPieceLength = 47;
    std::vector<std::u16string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size() && pieces.size() < kMaxPieces) {
        std::size_t end = text.find(u'+', start);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view piece = TrimLeadingBlanks(text.substr(start, end - start));
        piece = TrimBlanks(piece.substr(0, kMaxPieceLength));
        if (!piece.empty()) pieces.push_back(piece);
        start = end + 1;
    }
    return pieces;
}

// "%02X".
void AppendHex2(std::u16string& out, unsigned value) {
    constexpr std::u16string_view kHex = u"0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), kHex[value % 16]);
        value /= 16;
    } while (value != 0);
    if (digits.size() < 2) digits.insert(digits.begin(), u'0');
    out += digits;
}

}  // namespace

int ParseKeyToken(std::u16string_view token) {
    if (token.empty()) return 0;
    if (token.size() > 3 && StartsWithNoCase(token, u"vk_")) {
        for (const KeyName& entry : kKeyNames) {
            if (EqualsNoCase(token, entry.name)) return entry.code;
        }
    }
    if (token[0] == u'#') return ParseHexKey(token.substr(1));
    if (StartsWithNoCase(token, u"0x")) return ParseHexKey(token.substr(2));
    bool allDigits = true;
    for (const char16_t c : token) allDigits = allDigits && IsAsciiDigit(c);
    if (allDigits) return ParseDecimalKey(token);
    if (token.size() == 3 && token[0] == u'\'' && token[2] == u'\'') {
        if (IsDigitChar(token[1])) return AsKeyCode(token[1]);
        if (IsLetterChar(token[1])) return AsKeyCode(UpperCaseOf(token[1]));
    }
    if (token.size() == 1) {
        if (IsLetterChar(token[0])) return AsKeyCode(UpperCaseOf(token[0]));
        if (IsOtherDecimalDigit(token[0])) return AsKeyCode(token[0]);
    }
    return ParseFunctionKey(token);
}

bool ParseHotkey(std::optional<std::u16string_view> text, Hotkey& out) {
    out = Hotkey {};
    if (!text) return false;
    const std::u16string_view rest = TrimLeadingBlanks(*text);
    if (rest.empty()) return true;
    if (EqualsAsciiNoCase(rest, u"none") || EqualsAsciiNoCase(rest, u"off") || EqualsAsciiNoCase(rest, u"disabled")) {
        out.key = 0;
        return true;
    }
    if (rest.find(u'+') == std::u16string_view::npos) {
        const int key = ParseKeyToken(rest);
        if (key == 0) return false;
        out.key = key;
        return true;
    }
    if (rest.size() >= 128) return false;
    const std::vector<std::u16string_view> pieces = SplitHotkeyPieces(rest);
    if (pieces.size() < 2) return false;
    int modifiers = 0;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        const int bit = ModifierOfWord(pieces[i]);
        if (bit == 0) return false;
        modifiers |= bit;
    }
    const int key = ParseKeyToken(pieces.back());
    if (key == 0) return false;
    out.modifiers = modifiers;
    out.key = key;
    return true;
}

std::u16string FormatHotkey(const Hotkey& hotkey) {
    if (hotkey.key == 0) return u"none";
    std::u16string name;
    for (const KeyName& entry : kKeyNames) {
        if (entry.code == hotkey.key) {
            name = entry.name;
            break;
        }
    }
    if (name.empty()) {
        name = u"0x";
        AppendHex2(name, static_cast<unsigned>(hotkey.key));
    }
    if (hotkey.modifiers == kModControl) return name;
    std::u16string text;
    constexpr std::array<KeyName, 4> kModifierNames = {{
        {u"Ctrl", kModControl}, {u"Alt", kModAlt}, {u"Shift", kModShift}, {u"Win", kModWin},
    }};
    for (const KeyName& modifier : kModifierNames) {
        if ((hotkey.modifiers & modifier.code) != 0) {
            text += modifier.name;
            text += u'+';
        }
    }
    // Without any modifier the parser would read "+name" as one piece and
    // fail, so the name stands alone (read back as Ctrl plus the key).
    return text + name;
}

Hotkey HotkeyFromConfigValue(std::u16string_view value) {
    Hotkey hotkey;
    if (!ParseHotkey(value, hotkey)) return Hotkey {};
    if (hotkey.key == kVkOem4 || hotkey.key == kVkOem6) return Hotkey {};
    return hotkey;
}

}  // namespace quillpane

// Hotkey text: the accepted syntax, the written form and their round trip.
#include "settings/hotkey.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

constexpr Hotkey kCtrlF1 {kModControl, 0x70};

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

struct ParseCase {
    std::u16string_view text;
    Hotkey expected;
    std::u16string_view written;
};

TEST(Hotkey, AcceptedSpellingsReadAndWriteBack) {
    const Hotkey ctrlAltM {kModControl | kModAlt, 0x4D};
    const ParseCase cases[] = {
        {u"CTRL+ALT+M", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"ctrl + alt + m", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"Control+Menu+VK_M", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"Alt+Ctrl+'M'", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"Alt+Alt+Ctrl+m", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"Ctrl+Alt+M+", ctrlAltM, u"Ctrl+Alt+VK_M"},
        {u"CTRL+F1", kCtrlF1, u"VK_F1"},
        {u"VK_F1", kCtrlF1, u"VK_F1"},
        {u"F1", kCtrlF1, u"VK_F1"},
        {u"0x70", kCtrlF1, u"VK_F1"},
        {u" \tCTRL+F1", kCtrlF1, u"VK_F1"},
        {u"", kCtrlF1, u"VK_F1"},
        {u" \t", kCtrlF1, u"VK_F1"},
        {u"Ctrl+F24", {kModControl, 0x87}, u"0x87"},
        {u"ALT+VK_OEM_3", {kModAlt, 0xC0}, u"Alt+VK_OEM_3"},
        {u"Ctrl+Shift+M", {kModControl | kModShift, 0x4D}, u"Ctrl+Shift+VK_M"},
        {u"win+shift+vk_space", {kModWin | kModShift, 0x20}, u"Shift+Win+VK_SPACE"},
        {u"LWin+RWin+Windows+#41", {kModWin, 0x41}, u"Win+VK_A"},
        {u"++Ctrl++Alt+Shift+Win+VK_OEM_PERIOD++", {15, 0xBE}, u"Ctrl+Alt+Shift+Win+VK_OEM_PERIOD"},
        {u"5", {kModControl, 5}, u"0x05"},
        {u"Ctrl+'5'", {kModControl, 0x35}, u"VK_5"},
        {u"none", {kModControl, 0}, u"none"},
        {u"OFF", {kModControl, 0}, u"none"},
        {u"  Disabled", {kModControl, 0}, u"none"},
    };
    for (const ParseCase& c : cases) {
        Hotkey hotkey {kModAlt, 1};
        EXPECT_TRUE(ParseHotkey(c.text, hotkey)) << Narrow(c.text);
        EXPECT_EQ(hotkey, c.expected) << Narrow(c.text);
        EXPECT_EQ(FormatHotkey(hotkey), c.written) << Narrow(c.text);
    }
}

TEST(Hotkey, RejectedValuesGiveCtrlF1) {
    const std::u16string_view cases[] = {
        u"Ctrl+", u"+M", u"+++", u"Hyper+M", u"Ctrl+0", u"Ctrl+300", u"Ctrl+VK_MM", u"VK_F13",
        u"none ", u"nothing", u"Ctrl+Alt", u"Ctrl+F25", u"Ctrl+0x100", u"Ctrl+#",
        u"CtrlM+", u"Ctrl Alt+M", u"\u00D7",
    };
    for (const std::u16string_view text : cases) {
        Hotkey hotkey {kModAlt, 1};
        EXPECT_FALSE(ParseHotkey(text, hotkey)) << Narrow(text);
        EXPECT_EQ(hotkey, kCtrlF1) << Narrow(text);
    }
    Hotkey hotkey {kModAlt, 1};
    EXPECT_FALSE(ParseHotkey(std::nullopt, hotkey));
    EXPECT_EQ(hotkey, kCtrlF1);
}

TEST(Hotkey, LongTextsAndManyPiecesAreBounded) {
    Hotkey hotkey;
    // 47 characters of a piece are kept: the blanks after the name are cut
    // off together with the junk beyond them.
    EXPECT_TRUE(ParseHotkey(u"Ctrl+VK_A" + std::u16string(43, u' ') + u"junk", hotkey));
    EXPECT_EQ(hotkey, (Hotkey {kModControl, 0x41}));
    EXPECT_FALSE(ParseHotkey(u"Ctrl+VK_A" + std::u16string(42, u' ') + u"junk", hotkey));

    std::u16string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += u"alt+";
    EXPECT_TRUE(ParseHotkey(fifteen + u"M", hotkey));
    EXPECT_EQ(hotkey, (Hotkey {kModAlt, 0x4D}));
    // A seventeenth piece is never looked at, so the last piece taken is a
    // modifier word and not a key.
    EXPECT_FALSE(ParseHotkey(fifteen + u"alt+M", hotkey));

    std::u16string longText = u"Ctrl+M" + std::u16string(121, u' ');
    ASSERT_EQ(longText.size(), 127u);
    EXPECT_TRUE(ParseHotkey(longText, hotkey));
    longText.push_back(u' ');
    EXPECT_FALSE(ParseHotkey(longText, hotkey));
}

TEST(Hotkey, KeyTokens) {
    struct Case {
        std::u16string_view token;
        int code;
    };
    const Case cases[] = {
        {u"", 0}, {u"vk_m", 0x4D}, {u"VK_OEM_PLUS", 0xBB}, {u"vk_return", 0x0D}, {u"VK_", 0},
        {u"VK_MM", 0}, {u"#1", 1}, {u"#ff", 0xFF}, {u"#100", 0}, {u"#", 0}, {u"#zz", 0},
        {u"0X1b", 0x1B}, {u"0x41zz", 0x41}, {u"0x", 0}, {u"0x0", 0}, {u"0xFFFFFFFFFF", 0},
        {u"5", 5}, {u"255", 255}, {u"256", 0}, {u"0", 0}, {u"00065", 0x41}, {u"99999999999", 0},
        {u"'a'", 0x41}, {u"'Z'", 0x5A}, {u"'7'", 0x37}, {u"'\u00E9'", 0xC9}, {u"'\u00FF'", 0},
        {u"'-'", 0}, {u"''", 0},
        {u"m", 0x4D}, {u"M", 0x4D}, {u"\u00E9", 0xC9}, {u"\u00DF", 0xDF}, {u"\u00AA", 0xAA},
        {u"\u00F7", 0}, {u"~", 0}, {u"\u03B1", 0}, {u"\u0663", 0}, {u"\uFF15", 0},
        {u"F1", 0x70}, {u"f12", 0x7B}, {u"F24", 0x87}, {u"F25", 0}, {u"F0", 0}, {u"F01", 0x70},
        {u"F001", 0}, {u"Fx", 0}, {u"F", 0x46},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseKeyToken(c.token), c.code) << Narrow(c.token);
    }
}

TEST(Hotkey, FormatsModifiersInFixedOrderAndUnknownKeysInHex) {
    EXPECT_EQ(FormatHotkey({kModWin | kModAlt, 0x09}), u"Alt+Win+VK_TAB");
    EXPECT_EQ(FormatHotkey({kModShift, 0x1B}), u"Shift+VK_ESCAPE");
    EXPECT_EQ(FormatHotkey({kModControl, 0xA0}), u"0xA0");
    EXPECT_EQ(FormatHotkey({kModAlt, 0x0A}), u"Alt+0x0A");
    EXPECT_EQ(FormatHotkey({kModShift, 0}), u"none");
    EXPECT_EQ(FormatHotkey({0, 0x4D}), u"VK_M");
}

TEST(Hotkey, EveryKeyAndModifierSetSurvivesARoundTrip) {
    for (int key = 1; key <= 255; ++key) {
        for (int modifiers = 1; modifiers <= 15; ++modifiers) {
            const Hotkey original {modifiers, key};
            Hotkey reread;
            ASSERT_TRUE(ParseHotkey(FormatHotkey(original), reread)) << Narrow(FormatHotkey(original));
            ASSERT_EQ(reread, original) << Narrow(FormatHotkey(original));
        }
    }
}

TEST(Hotkey, ConfigValueRejectsBracketKeys) {
    EXPECT_EQ(HotkeyFromConfigValue(u"ALT+VK_OEM_4"), kCtrlF1);
    EXPECT_EQ(HotkeyFromConfigValue(u"Shift+0xDD"), kCtrlF1);
    EXPECT_EQ(HotkeyFromConfigValue(u"ALT+VK_OEM_3"), (Hotkey {kModAlt, 0xC0}));
    EXPECT_EQ(HotkeyFromConfigValue(u"Ctrl+Bogus"), kCtrlF1);
    EXPECT_EQ(HotkeyFromConfigValue(u"off"), (Hotkey {kModControl, 0}));
}

}  // namespace
}  // namespace quillpane

// The hotkey capture's rules: key sequences and what the control then shows and holds.
#include "app/hotkey_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillpane {
namespace {

constexpr int kVkF5 = 0x74;
constexpr int kVkPageUp = 0x21;

const CaptureWords kWords {u"Ctrl", u"Alt", u"Shift", u"None", u"Hold Ctrl or Alt, then a key",
                           u"Ctrl or Alt is required"};

// The platform's names, as far as these cases need them.
std::u16string NameOf(int key) {
    if (key >= 'A' && key <= 'Z') return std::u16string(1, static_cast<char16_t>(key));
    if (key == kVkF5) return u"F5";
    if (key == 0x70) return u"F1";
    return u"";
}

struct Key {
    int vk;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    bool up = false;
};

struct Case {
    const char* what;
    std::vector<Key> keys;
    std::u16string shown;
    Hotkey current;
    bool capturing;
};

TEST(HotkeyCapture, KeySequences) {
    const Hotkey f1 {kModControl, 0x70};
    const Hotkey ctrlK {kModControl, 'K'};
    const Case cases[] = {
        {"nothing yet", {}, u"Hold Ctrl or Alt, then a key", f1, true},
        {"shift alone is refused", {{kVkShift, false, false, true}, {kVkF5, false, false, true}},
         u"Ctrl or Alt is required", f1, true},
        {"the refusal stays after the keys are up",
         {{kVkF5, false, false, true}, {kVkF5, false, false, true, true}, {kVkShift, false, false, false, true}},
         u"Ctrl or Alt is required", f1, true},
        {"ctrl shift F5", {{kVkControl, true}, {kVkShift, true, false, true}, {kVkF5, true, false, true}},
         u"Ctrl + Shift + F5", {kModControl | kModShift, kVkF5}, true},
        {"ctrl and alt held", {{kVkControl, true}, {kVkMenu, true, true}}, u"Ctrl + Alt + ...", f1, true},
        {"held modifiers give way once released", {{kVkControl, true}, {kVkControl, false, false, false, true}},
         u"Hold Ctrl or Alt, then a key", f1, true},
        {"esc before a key restores", {{kVkEscape}}, u"Ctrl + F1", f1, false},
        {"esc after ctrl K keeps it", {{'K', true}, {kVkEscape}}, u"Ctrl + K", ctrlK, false},
        {"a second combination replaces the first", {{'K', true}, {'J', false, true}}, u"Alt + J", {kModAlt, 'J'},
         true},
        {"backspace clears", {{kVkBack}}, u"None", {kModControl, 0}, true},
        {"a clear survives esc", {{kVkDelete}, {kVkEscape}}, u"None", {kModControl, 0}, false},
        {"enter ends without reverting", {{'K', true}, {kVkReturn}}, u"Ctrl + K", ctrlK, false},
        {"shift enter is a key like any other", {{kVkReturn, false, false, true}}, u"Ctrl or Alt is required", f1,
         true},
        {"an unresolved input-method key is no combination", {{kVkProcessKey, true}}, u"Ctrl + ...", f1, true},
        {"packets are ignored", {{kVkPacket, true}}, u"Hold Ctrl or Alt, then a key", f1, true},
        {"a key without a name shows its code", {{kVkPageUp, true}}, u"Ctrl + 33", {kModControl, kVkPageUp}, true},
    };
    for (const Case& c : cases) {
        HotkeyCapture capture = CaptureOf(f1);
        StartCapture(capture);
        for (const Key& key : c.keys) {
            if (key.up) {
                CaptureKeyUp(capture, key.ctrl || key.alt);
            } else {
                CaptureKeyDown(capture, key.vk, CaptureModifiers(key.vk, key.ctrl, key.alt, key.shift));
            }
        }
        EXPECT_EQ(CaptureText(capture, kWords, NameOf(capture.current.key)), c.shown) << c.what;
        EXPECT_EQ(capture.current, c.current) << c.what;
        EXPECT_EQ(capture.capturing, c.capturing) << c.what;
    }
}

TEST(HotkeyCapture, EnterGoesOnAndOutsideKeysAreLeftAlone) {
    HotkeyCapture capture = CaptureOf(Hotkey {});
    EXPECT_EQ(CaptureKeyDown(capture, 'K', kModControl), CaptureKeyResult::Ignored);
    StartCapture(capture);
    EXPECT_EQ(CaptureKeyDown(capture, kVkReturn, 0), CaptureKeyResult::EndedByEnter);
    // Starting again remembers the value it starts from.
    StartCapture(capture);
    CaptureKeyDown(capture, 'K', kModControl);
    StartCapture(capture);
    EndCapture(capture, true);
    EXPECT_EQ(capture.current, (Hotkey {kModControl, 'K'}));
}

TEST(HotkeyCapture, LongNamesAreCut) {
    const std::u16string longName(60, u'n');
    const std::u16string text = CombinationText(kModControl | kModAlt | kModShift, longName, 'N', kWords);
    EXPECT_EQ(text, u"Ctrl + Alt + Shift + " + std::u16string(40, u'n'));
    const CaptureWords wordy {std::u16string_view(u"CtrlCtrlCtrlCtrlCtrlCtrlCtrlCtrlCtrlCtrl"), u"Alt", u"Shift",
                              u"None", u"", u""};
    EXPECT_EQ(CombinationText(kModControl | kModAlt | kModShift, longName, 'N', wordy).size(), kMaxCaptureTextLength);
}

}  // namespace
}  // namespace quillpane

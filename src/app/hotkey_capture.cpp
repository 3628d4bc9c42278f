// The hotkey capture control's rules: which keys make a combination, what
// Enter, Esc and Backspace do while it listens, and the text it shows.
#include "app/hotkey_capture.h"

#include "platform/decimal.h"

namespace quillpane {
namespace {

constexpr int kVkCapital = 0x14;
constexpr int kVkKana = 0x15;  // also Hangul
constexpr int kVkKanji = 0x19;
constexpr int kVkLWin = 0x5B;
constexpr int kVkRWin = 0x5C;
constexpr int kVkNumLock = 0x90;
constexpr int kVkScroll = 0x91;
constexpr int kVkLShift = 0xA0;
constexpr int kVkRShift = 0xA1;
constexpr int kVkLControl = 0xA2;
constexpr int kVkRControl = 0xA3;
constexpr int kVkLMenu = 0xA4;
constexpr int kVkRMenu = 0xA5;

constexpr std::u16string_view kJoin = u" + ";

bool IsCtrlKey(int vk) {
    return vk == kVkControl || vk == kVkLControl || vk == kVkRControl;
}
bool IsAltKey(int vk) {
    return vk == kVkMenu || vk == kVkLMenu || vk == kVkRMenu;
}
bool IsShiftKey(int vk) {
    return vk == kVkShift || vk == kVkLShift || vk == kVkRShift;
}

bool HasCtrlOrAlt(int modifiers) {
    return (modifiers & (kModControl | kModAlt)) != 0;
}

void AppendModifiers(std::u16string& text, int modifiers, const CaptureWords& words) {
    const auto add = [&text](std::u16string_view word) {
        if (!text.empty()) text += kJoin;
        text += word;
    };
    if ((modifiers & kModControl) != 0) add(words.ctrl);
    if ((modifiers & kModAlt) != 0) add(words.alt);
    if ((modifiers & kModShift) != 0) add(words.shift);
}

// Cut without leaving half of a surrogate pair.
void CutTo(std::u16string& text, std::size_t length) {
    if (text.size() <= length) return;
    text.resize(length);
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
}

}  // namespace

HotkeyCapture CaptureOf(const Hotkey& hotkey) {
    HotkeyCapture capture;
    capture.current = hotkey;
    capture.restorePoint = hotkey;
    return capture;
}

void StartCapture(HotkeyCapture& capture) {
    if (capture.capturing) return;
    capture.restorePoint = capture.current;
    capture.acceptedThisTime = false;
    capture.capturing = true;
    capture.shows = CaptureShows::Value;
}

void EndCapture(HotkeyCapture& capture, bool revert) {
    if (!capture.capturing) return;
    if (revert) capture.current = capture.restorePoint;
    capture.capturing = false;
    capture.shows = CaptureShows::Value;
}

int CaptureModifiers(int virtualKey, bool ctrlDown, bool altDown, bool shiftDown) {
    int modifiers = 0;
    if (ctrlDown || IsCtrlKey(virtualKey)) modifiers |= kModControl;
    if (altDown || IsAltKey(virtualKey)) modifiers |= kModAlt;
    if (shiftDown || IsShiftKey(virtualKey)) modifiers |= kModShift;
    return modifiers;
}

bool IsModifierTypeKey(int vk) {
    return IsCtrlKey(vk) || IsAltKey(vk) || IsShiftKey(vk) || vk == kVkCapital || vk == kVkKana ||
           vk == kVkKanji || vk == kVkLWin || vk == kVkRWin || vk == kVkNumLock || vk == kVkScroll;
}

bool IsExtendedNameKey(int vk) {
    switch (vk) {
    case 0x21:  // Page Up
    case 0x22:  // Page Down
    case 0x23:  // End
    case 0x24:  // Home
    case 0x25:  // the four arrows
    case 0x26:
    case 0x27:
    case 0x28:
    case 0x2C:  // Print Screen
    case 0x2D:  // Insert
    case kVkDelete:
    case 0x6F:  // the keypad's Divide
    case kVkNumLock:
    case kVkRControl:
    case kVkRMenu:
        return true;
    default:
        return false;
    }
}

CaptureKeyResult CaptureKeyDown(HotkeyCapture& capture, int vk, int modifiers) {
    if (!capture.capturing) return CaptureKeyResult::Ignored;
    if (vk == kVkReturn && modifiers == 0) {
        EndCapture(capture, false);
        return CaptureKeyResult::EndedByEnter;
    }
    if (vk == kVkBack || vk == kVkDelete) {
        // A clear counts like a combination: Esc or a click elsewhere keeps it.
        capture.current.key = 0;
        capture.restorePoint = capture.current;
        capture.acceptedThisTime = true;
        capture.shows = CaptureShows::Value;
        return CaptureKeyResult::Taken;
    }
    if (vk == kVkEscape) {
        EndCapture(capture, true);
        return CaptureKeyResult::Taken;
    }
    if (vk == kVkPacket) return CaptureKeyResult::Taken;
    // An input method's key it could not resolve says nothing about the combination.
    // Shift alone would make combinations that typing itself produces.
    if (IsModifierTypeKey(vk) || vk == kVkProcessKey) {
        capture.heldModifiers = modifiers;
        capture.shows = HasCtrlOrAlt(modifiers) ? CaptureShows::HeldModifiers : CaptureShows::CtrlOrAltRequired;
        return CaptureKeyResult::Taken;
    }
    if (!HasCtrlOrAlt(modifiers)) {
        capture.shows = CaptureShows::CtrlOrAltRequired;
        return CaptureKeyResult::Taken;
    }
    capture.current = Hotkey {modifiers, vk};
    capture.restorePoint = capture.current;
    capture.acceptedThisTime = true;
    capture.shows = CaptureShows::Value;
    return CaptureKeyResult::Taken;
}

// A refusal stays until the next key, so that it can be read after the keys are up.
void CaptureKeyUp(HotkeyCapture& capture, bool ctrlOrAltHeld) {
    if (capture.capturing && !ctrlOrAltHeld && capture.shows == CaptureShows::HeldModifiers) {
        capture.shows = CaptureShows::Value;
    }
}

std::u16string CombinationText(int modifiers, std::u16string_view keyName, int key, const CaptureWords& words) {
    std::u16string text;
    AppendModifiers(text, modifiers, words);
    std::u16string name = keyName.empty() ? DecimalText(static_cast<unsigned>(key)) : std::u16string(keyName);
    CutTo(name, kMaxKeyNameLength);
    if (!text.empty()) text += kJoin;
    text += name;
    CutTo(text, kMaxCaptureTextLength);
    return text;
}

std::u16string CaptureText(const HotkeyCapture& capture, const CaptureWords& words, std::u16string_view keyName) {
    if (capture.capturing) {
        if (capture.shows == CaptureShows::CtrlOrAltRequired) return std::u16string(words.required);
        if (capture.shows == CaptureShows::HeldModifiers) {
            std::u16string text;
            AppendModifiers(text, capture.heldModifiers, words);
            text += u" + ...";
            return text;
        }
        if (!capture.acceptedThisTime) return std::u16string(words.prompt);
    }
    if (capture.current.key == 0) return std::u16string(words.none);
    return CombinationText(capture.current.modifiers, keyName, capture.current.key, words);
}

}  // namespace quillpane

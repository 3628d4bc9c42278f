// The hotkey capture control's rules: which keys make a combination, what
// Enter, Esc and Backspace do while it listens, and the text it shows.
#pragma once

#include "settings/hotkey.h"

#include <string>
#include <string_view>

namespace quillpane {

// Virtual-key codes the capture tells apart (the Windows values).
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkDelete = 0x2E;
inline constexpr int kVkProcessKey = 0xE5;
inline constexpr int kVkPacket = 0xE7;

// What the control shows besides the plain value.
enum class CaptureShows { Value, HeldModifiers, CtrlOrAltRequired };

struct HotkeyCapture {
    Hotkey current;       // stored on OK
    Hotkey restorePoint;  // what Esc or a click elsewhere returns to
    bool capturing = false;
    bool acceptedThisTime = false;
    CaptureShows shows = CaptureShows::Value;
    int heldModifiers = 0;  // for HeldModifiers
};

// A fresh state holding the working copy's hotkey.
[[nodiscard]] HotkeyCapture CaptureOf(const Hotkey& hotkey);
// Starting again while capturing changes nothing.
void StartCapture(HotkeyCapture& capture);
// Nothing unless capturing; with revert the restore point comes back.
void EndCapture(HotkeyCapture& capture, bool revert);

// The modifiers of a key press: those held plus the key itself when it is
// one. Without Ctrl or Alt among them no combination is made.
[[nodiscard]] int CaptureModifiers(int virtualKey, bool ctrlDown, bool altDown, bool shiftDown);

enum class CaptureKeyResult {
    Ignored,        // not capturing: the key goes on as usual
    Taken,          // the capture used or swallowed it
    EndedByEnter,   // the capture ended; the key goes on as the window's Enter
};
// A key-down or system-key-down while capturing. virtualKey is already
// resolved from the input method's process key where that was possible;
// modifiers come from CaptureModifiers.
CaptureKeyResult CaptureKeyDown(HotkeyCapture& capture, int virtualKey, int modifiers);
// A key-up while capturing: once neither Ctrl nor Alt is held, held
// modifiers give way to the value again.
void CaptureKeyUp(HotkeyCapture& capture, bool ctrlOrAltHeld);

// Keys that only modify (or switch a mode): they never end a combination.
[[nodiscard]] bool IsModifierTypeKey(int virtualKey);
// Keys whose scan code needs the extended flag for their name.
[[nodiscard]] bool IsExtendedNameKey(int virtualKey);

// The words the text is made of, in the UI language.
struct CaptureWords {
    std::u16string_view ctrl;
    std::u16string_view alt;
    std::u16string_view shift;
    std::u16string_view none;
    std::u16string_view prompt;    // while capturing with nothing accepted yet
    std::u16string_view required;  // "Ctrl or Alt is required"
};
inline constexpr std::size_t kMaxKeyNameLength = 40;
inline constexpr std::size_t kMaxCaptureTextLength = 95;
// The control's text; keyName is the platform's name of current's key
// (empty: the key code in decimal).
[[nodiscard]] std::u16string CaptureText(const HotkeyCapture& capture, const CaptureWords& words,
                                         std::u16string_view keyName);
// "Ctrl + Shift + K": the modifiers present, then the key name (cut to 40).
[[nodiscard]] std::u16string CombinationText(int modifiers, std::u16string_view keyName, int key,
                                             const CaptureWords& words);

}  // namespace quillpane

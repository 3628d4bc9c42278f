// The hotkey capture control: the settings window's button that listens to
// a key combination, with the input method detached while it listens.
#include "app/hotkey_capture_win.h"

#include "i18n/strings.h"
#include "platform/wide_win.h"

namespace quillpane {
namespace {

bool Down(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

// The platform's name of the key's scan code, empty when it has none.
std::u16string KeyName(int virtualKey) {
    const UINT scanCode = ::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    LONG lParam = static_cast<LONG>(scanCode << 16);
    if (IsExtendedNameKey(virtualKey)) lParam |= 1L << 24;
    wchar_t name[64] {};
    const int length = scanCode != 0 ? ::GetKeyNameTextW(lParam, name, 64) : 0;
    return length > 0 ? FromWide(std::wstring_view(name, static_cast<std::size_t>(length))) : std::u16string();
}

void ReattachIme(CaptureControl& control) {
    if (!control.imeDetached) return;
    if (control.button != nullptr) ::ImmAssociateContext(control.button, control.detachedContext);
    control.imeDetached = false;
    control.detachedContext = nullptr;
}

bool IsKeyDown(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

bool IsKeyboardMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

}  // namespace

void StartHotkeyCapture(CaptureControl& control) {
    if (control.button == nullptr || !::IsWindowEnabled(control.button)) return;
    if (!control.state.capturing) {
        StartCapture(control.state);
        // Keys then arrive as virtual keys, not as the input method's composition.
        if (!control.imeDetached) {
            control.detachedContext = ::ImmAssociateContext(control.button, nullptr);
            control.imeDetached = true;
        }
    }
    if (::GetFocus() != control.button) ::SetFocus(control.button);
    RefreshHotkeyCapture(control);
}

void EndHotkeyCapture(CaptureControl& control, bool revert) {
    if (!control.state.capturing) return;
    EndCapture(control.state, revert);
    ReattachIme(control);
    RefreshHotkeyCapture(control);
}

void LoadHotkeyCapture(CaptureControl& control, const Hotkey& hotkey) {
    EndHotkeyCapture(control, false);
    control.state = CaptureOf(hotkey);
    RefreshHotkeyCapture(control);
}

// The message state (GetKeyState), not the live one: a quick combination is
// often released before its key-down is read.
CaptureMessage HotkeyCaptureKey(CaptureControl& control, const MSG& message) {
    if (!control.state.capturing || !IsKeyboardMessage(message.message)) return CaptureMessage::NotTaken;
    if (IsKeyDown(message.message)) {
        int key = static_cast<int>(message.wParam);
        if (key == kVkProcessKey) {
            const UINT real = ::ImmGetVirtualKey(message.hwnd);
            if (real != 0 && real != kVkProcessKey) key = static_cast<int>(real);
        }
        const int modifiers = CaptureModifiers(key, Down(VK_CONTROL), Down(VK_MENU), Down(VK_SHIFT));
        const CaptureKeyResult result = CaptureKeyDown(control.state, key, modifiers);
        // Enter and Esc end the capture inside the rules.
        if (!control.state.capturing) ReattachIme(control);
        RefreshHotkeyCapture(control);
        return result == CaptureKeyResult::EndedByEnter ? CaptureMessage::EnterGoesOn : CaptureMessage::Taken;
    }
    if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        const auto key = static_cast<int>(message.wParam);
        // The released key still reads as down in the message state.
        const bool ctrl = Down(VK_CONTROL) && key != VK_CONTROL && key != VK_LCONTROL && key != VK_RCONTROL;
        const bool alt = Down(VK_MENU) && key != VK_MENU && key != VK_LMENU && key != VK_RMENU;
        CaptureKeyUp(control.state, ctrl || alt);
        RefreshHotkeyCapture(control);
    }
    return CaptureMessage::Taken;
}

std::u16string HotkeyCaptureText(const CaptureControl& control) {
    const int language = control.language;
    CaptureWords words;
    words.ctrl = ModifierKeyName(ModifierKey::Ctrl, language);
    words.alt = ModifierKeyName(ModifierKey::Alt, language);
    words.shift = ModifierKeyName(ModifierKey::Shift, language);
    words.none = Text(TextId::NoneChoice, language);
    words.prompt = Text(TextId::HoldCtrlOrAlt, language);
    words.required = Text(TextId::CtrlOrAltRequired, language);
    const int key = control.state.current.key;
    return CaptureText(control.state, words, key != 0 ? KeyName(key) : std::u16string());
}

void RefreshHotkeyCapture(CaptureControl& control) {
    if (control.button == nullptr) return;
    const std::u16string text = HotkeyCaptureText(control);
    ::SetWindowTextW(control.button, WidePtr(text));
    ::InvalidateRect(control.button, nullptr, FALSE);
}

}  // namespace quillpane

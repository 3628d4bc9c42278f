// Registering the global show/hide hotkey.
#include "app/hotkey_win.h"

#include "app/app_win.h"
#include "app/tray_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"

namespace quillpane {

bool RegisterAppHotkey(HWND window, const Hotkey& hotkey) {
    if (hotkey.key == 0) return true;
    return ::RegisterHotKey(window, kHotkeyId, static_cast<UINT>(hotkey.modifiers) | MOD_NOREPEAT,
                            static_cast<UINT>(hotkey.key)) != FALSE;
}

void ChangeHotkey(App& app, const Hotkey& hotkey) {
    const Hotkey previous = app.config.shortcut.key;
    ::UnregisterHotKey(app.panel, kHotkeyId);
    if (RegisterAppHotkey(app.panel, hotkey)) {
        app.config.shortcut.key = hotkey;
        SaveAppConfig(app);
        return;
    }
    (void)RegisterAppHotkey(app.panel, previous);
    ShowWarningBalloon(app, Text(TextId::HotkeyFailed, CurrentLanguage(app.config.ui.language)));
}

}  // namespace quillpane

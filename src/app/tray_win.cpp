// The notification-area icon and its warning balloons.
#include "app/tray_win.h"

#include "app/app_win.h"
#include "app/menu_win.h"
#include "i18n/language.h"
#include "resources/messages.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <algorithm>

namespace quillpane {
namespace {

// Copies at most capacity - 1 characters and terminates.
template <std::size_t N>
void CopyTruncated(wchar_t (&target)[N], std::u16string_view text) {
    const std::size_t count = std::min(text.size(), N - 1);
    std::copy_n(reinterpret_cast<const wchar_t*>(text.data()), count, target);
    target[count] = L'\0';
}

void FillTrayData(App& app) {
    NOTIFYICONDATAW& data = app.tray.data;
    data = {};
    data.cbSize = sizeof(NOTIFYICONDATAW);
    data.hWnd = app.panel;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = PM_TRAYNOTIFY;
    if (!app.tray.icon.Get()) {
        app.tray.icon.Reset(static_cast<HICON>(
            ::LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_TRAY_ICON), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    }
    data.hIcon = app.tray.icon.Get() ? app.tray.icon.Get() : ::LoadIconW(nullptr, IDI_APPLICATION);
    CopyTruncated(data.szTip, u"Quillpane");
}

}  // namespace

bool AddTrayIcon(App& app) {
    FillTrayData(app);
    app.tray.added = ::Shell_NotifyIconW(NIM_ADD, &app.tray.data) != FALSE;
    if (app.tray.added) {
        app.tray.data.uVersion = NOTIFYICON_VERSION_4;
        ::Shell_NotifyIconW(NIM_SETVERSION, &app.tray.data);
        if (!app.tray.pendingBalloon.empty()) {
            const std::u16string pending = std::move(app.tray.pendingBalloon);
            app.tray.pendingBalloon.clear();
            ShowWarningBalloon(app, pending);
        }
    }
    return app.tray.added;
}

void RemoveTrayIcon(App& app) {
    if (!app.tray.added) return;
    ::Shell_NotifyIconW(NIM_DELETE, &app.tray.data);
    app.tray.added = false;
}

void ReAddTrayIcon(App& app) {
    RemoveTrayIcon(app);
    AddTrayIcon(app);
}

void ShowTrayMenu(App& app) {
    const std::vector<MenuItem> items =
        TrayMenuItems(app.shell.shown, app.config, FindDocuments(app), CurrentLanguage(app.config.ui.language));
    POINT cursor {};
    ::GetCursorPos(&cursor);
    TrackPanelMenu(app, BuildPopupMenu(items), cursor, TPM_BOTTOMALIGN);
}

void ShowWarningBalloon(App& app, std::u16string_view text) {
    // Only the latest warning waits: it describes the state that holds now.
    if (!app.tray.added) {
        app.tray.pendingBalloon.assign(text);
        return;
    }
    NOTIFYICONDATAW& data = app.tray.data;
    data.uFlags |= NIF_INFO;
    data.dwInfoFlags = NIIF_WARNING;
    CopyTruncated(data.szInfoTitle, u"Quillpane");
    CopyTruncated(data.szInfo, text);
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) app.tray.pendingBalloon.assign(text);
    data.uFlags &= ~static_cast<UINT>(NIF_INFO);
}

}  // namespace quillpane

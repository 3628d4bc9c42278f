// The About card: a small borderless card with the icon, name, version,
// tagline and publisher lines; a click closes it, a drag moves it.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"

namespace quillpane {

struct App;

inline constexpr wchar_t kAboutClassName[] = L"Quillpn.AboutWindow";

struct AboutCard {
    HWND window = nullptr;
    HWND link = nullptr;
    HWND linkTip = nullptr;
    int dpi = 96;
    UniqueFont titleFont;
    UniqueFont bodyFont;
    UniqueFont italicFont;
    UniqueFont smallFont;
    UniqueIcon icon;
    UniqueBrush background;
    UniquePen framePen;
    UniquePen separatorPen;
    bool buttonDown = false;
    bool dragging = false;
    POINT startCursor {};
    POINT startWindow {};
    bool linkClicked = false;
    bool openedWhileHeld = false;
};

enum class AboutFrom { MoreMenu, TrayMenu };

// IDM_ABOUT (under the panel) and IDM_ABOUT_TRAY (above the taskbar at the
// cursor); an open card is only brought back.
void ShowAbout(App& app, AboutFrom from);

}  // namespace quillpane

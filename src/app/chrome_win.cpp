#include "app/chrome_win.h"

#include "app/app_win.h"
#include "app/focus_win.h"
#include "app/menu_win.h"
#include "app/panel_win.h"
#include "app/search_dialog_win.h"
#include "app/status_label_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "resources/messages.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

namespace quillpane {
namespace {

constexpr std::uint64_t kMoreReopenGuardMs = 400;
constexpr int kSmoothFactor = 4;

// Glyphs of the icon font, by button.
constexpr wchar_t kGlyphs[kTitleButtonCount] = {kGlyphChromeClose, kGlyphMore,    kGlyphShare,
                                                kGlyphOpenWith,    kGlyphPin,     kGlyphSidebar,
                                                kGlyphTranslucent, kGlyphMicrophone, kGlyphSearch};

TextId TooltipOf(TitleButton button) {
    switch (button) {
    case TitleButton::Close: return TextId::ClosePanel;
    case TitleButton::More: return TextId::SettingsButton;
    case TitleButton::Share: return TextId::ShareCommand;
    case TitleButton::OpenWith: return TextId::OpenWithDefaultApp;
    case TitleButton::Pin: return TextId::AlwaysOnTop;
    case TitleButton::Sidebar: return TextId::SidebarButton;
    case TitleButton::Translucent: return TextId::MakeTranslucent;
    case TitleButton::Voice: return TextId::VoiceTyping;
    case TitleButton::Find: return TextId::FindCommand;
    }
    return TextId::ClosePanel;
}

ChromeState& ChromeOf(App& app) {
    return app.chrome;
}

int IndexOf(const ChromeState& chrome, HWND window) {
    for (int i = 0; i < kTitleButtonCount; ++i) {
        if (chrome.buttons[static_cast<std::size_t>(i)] == window) return i;
    }
    return -1;
}

bool IsOn(const App& app, TitleButton button) {
    switch (button) {
    case TitleButton::Pin: return app.config.general.alwaysOnTop;
    case TitleButton::Sidebar: return app.config.sidebar.visible;
    case TitleButton::Translucent: return app.chrome.appliedOpacity < 100;
    default: return false;
    }
}

void EnsureFonts(App& app) {
    ChromeState& chrome = ChromeOf(app);
    const int dpi = app.shell.metrics.dpi;
    if (chrome.fontDpi == dpi && chrome.titleFont) return;
    chrome.fontDpi = dpi;
    chrome.metrics = ComputeChromeMetrics(dpi);
    chrome.titleFont = MakeUiFont(::MulDiv(10, dpi, 72), FW_NORMAL, L"Yu Gothic UI");
    chrome.glyphFont = MakeGlyphFont(Scale(14, dpi));
    chrome.largeGlyphFont = MakeGlyphFont(Scale(14, dpi) * kSmoothFactor);
    chrome.images = {};
}

// The ⋮ glyph stands upright: the icon font's horizontal dots turned 90°.
void DrawMoreGlyph(HDC dc, const RECT& rect, Colour colour, const GlyphFont& font, int dpi) {
    if (!font.found) {
        const int cx = (rect.left + rect.right) / 2;
        const int cy = (rect.top + rect.bottom) / 2;
        const int r = std::max(1, Scale(1, dpi));
        const int step = Scale(5, dpi);
        UniqueBrush brush(::CreateSolidBrush(Ref(colour)));
        SelectGuard selectBrush(dc, brush.Get());
        SelectGuard selectPen(dc, ::GetStockObject(NULL_PEN));
        for (int i = -1; i <= 1; ++i) ::Ellipse(dc, cx - r - 1, cy + i * step - r - 1, cx + r + 1, cy + i * step + r + 1);
        return;
    }
    const int mode = ::SetGraphicsMode(dc, GM_ADVANCED);
    XFORM previous {};
    ::GetWorldTransform(dc, &previous);
    const float cx = static_cast<float>(rect.left + rect.right) / 2;
    const float cy = static_cast<float>(rect.top + rect.bottom) / 2;
    const XFORM turn {0, 1, -1, 0, cx + cy, cy - cx};
    ::SetWorldTransform(dc, &turn);
    DrawGlyph(dc, rect, kGlyphs[static_cast<int>(TitleButton::More)], colour, font, dpi);
    ::SetWorldTransform(dc, &previous);
    ::SetGraphicsMode(dc, mode);
}

// The button's face at a drawing DPI: the strip, the circle when lit, the glyph.
void DrawButtonFace(HDC dc, const RECT& client, TitleButton button, int lit, bool dark, const GlyphFont& font,
                    int dpi) {
    const ChromePalette colours = ChromeColours(dark);
    FillSolid(dc, client, colours.strip);
    if (lit != 0) {
        UniqueBrush brush(::CreateSolidBrush(Ref(lit == 2 ? colours.on : colours.hover)));
        SelectGuard selectBrush(dc, brush.Get());
        SelectGuard selectPen(dc, ::GetStockObject(NULL_PEN));
        const int inset = Scale(1, dpi) > 1 ? Scale(1, dpi) : 1;
        const int d = std::min(client.right, client.bottom) - 2 * inset;
        const int left = (client.right - d) / 2;
        const int top = (client.bottom - d) / 2;
        ::Ellipse(dc, left, top, left + d + 1, top + d + 1);
    }
    RECT glyphArea = client;
    if (button == TitleButton::Close) ::InflateRect(&glyphArea, -Scale(3, dpi), -Scale(3, dpi));
    ::OffsetRect(&glyphArea, 0, Scale(1, dpi));
    if (button == TitleButton::More) {
        DrawMoreGlyph(dc, glyphArea, colours.glyph, font, dpi);
        return;
    }
    const wchar_t glyph = button == TitleButton::Pin && lit == 2 ? kGlyphPinned : kGlyphs[static_cast<int>(button)];
    DrawGlyph(dc, glyphArea, glyph, colours.glyph, font, dpi);
}

// The face drawn four times as large and shrunk with halftone, which smooths
// the circle; kept until the size, state or theme changes.
HBITMAP SmoothFace(App& app, HDC target, int index, int width, int height, int lit) {
    ChromeState& chrome = ChromeOf(app);
    ButtonImage& image = chrome.images[static_cast<std::size_t>(index)];
    if (image.bitmap && image.width == width && image.height == height && image.lit == lit &&
        image.dark == app.theme.isDark) {
        return image.bitmap.Get();
    }
    const int big = kSmoothFactor;
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width * big;
    info.bmiHeader.biHeight = -height * big;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap large(::CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueBitmap small(::CreateCompatibleBitmap(target, width, height));
    UniqueHdc largeDc(::CreateCompatibleDC(target));
    UniqueHdc smallDc(::CreateCompatibleDC(target));
    if (!large || !small || !largeDc || !smallDc) return nullptr;
    {
        SelectGuard selectLarge(largeDc.Get(), large.Get());
        SelectGuard selectSmall(smallDc.Get(), small.Get());
        const RECT area {0, 0, width * big, height * big};
        DrawButtonFace(largeDc.Get(), area, static_cast<TitleButton>(index), lit, app.theme.isDark,
                       chrome.largeGlyphFont, chrome.metrics.dpi * big);
        ::SetStretchBltMode(smallDc.Get(), HALFTONE);
        ::SetBrushOrgEx(smallDc.Get(), 0, 0, nullptr);
        ::StretchBlt(smallDc.Get(), 0, 0, width, height, largeDc.Get(), 0, 0, width * big, height * big, SRCCOPY);
    }
    image = {std::move(small), width, height, lit, app.theme.isDark};
    return image.bitmap.Get();
}

void PaintButton(App& app, HWND hwnd, int index) {
    ChromeState& chrome = ChromeOf(app);
    EnsureFonts(app);
    PaintDc paint(hwnd);
    RECT client {};
    ::GetClientRect(hwnd, &client);
    const auto button = static_cast<TitleButton>(index);
    const int lit = IsOn(app, button) ? 2 : chrome.hover[static_cast<std::size_t>(index)] ? 1 : 0;
    // Translucent buttons key out the strip colour exactly: no blended edges then.
    if (chrome.appliedOpacity >= 100) {
        if (HBITMAP face = SmoothFace(app, paint.Get(), index, client.right, client.bottom, lit)) {
            UniqueHdc source(::CreateCompatibleDC(paint.Get()));
            SelectGuard select(source.Get(), face);
            ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
            return;
        }
    }
    DrawButtonFace(paint.Get(), client, button, lit, app.theme.isDark, chrome.glyphFont, chrome.metrics.dpi);
}

void RefocusEditor(App& app) {
    if (app.shell.shown && app.editor.hwnd != nullptr) ::SetFocus(app.editor.hwnd);
}

void OnClick(App& app, TitleButton button) {
    switch (button) {
    case TitleButton::Close:
        HidePanel(app);
        return;
    case TitleButton::More:
        return;  // opened on the press
    case TitleButton::Share:
        ::PostMessageW(app.panel, WM_COMMAND, IDM_SHARE, 0);
        return;
    case TitleButton::OpenWith:
        ::PostMessageW(app.panel, WM_COMMAND, IDM_OPENWITH, 0);
        break;
    case TitleButton::Pin:
        ::SendMessageW(app.panel, WM_COMMAND, IDM_ALWAYSONTOP, 0);
        break;
    case TitleButton::Sidebar:
        ::SendMessageW(app.panel, PM_TOGGLESIDEBAR, 0, 0);
        break;
    case TitleButton::Translucent:
        ToggleTranslucent(app);
        break;
    case TitleButton::Voice:
        StartVoiceTyping(app);
        return;
    case TitleButton::Find:
        if (SearchDialogOpen(app)) {
            CloseSearch(app);
            break;
        }
        OpenSearch(app);
        return;
    }
    RedrawTitleButtons(app);
    RefocusEditor(app);
}

void OnMorePress(App& app) {
    ChromeState& chrome = ChromeOf(app);
    const std::uint64_t now = ::GetTickCount64();
    if (now - chrome.moreDismissedAt < kMoreReopenGuardMs) return;
    if (chrome.moreMenuOpen || app.shell.menuModal) {
        chrome.moreDismissedAt = now;
        ::SendMessageW(app.panel, WM_CANCELMODE, 0, 0);
        return;
    }
    ::PostMessageW(app.panel, PM_MOREMENU, 0, 0);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<App*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        app = static_cast<App*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    }
    if (app == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return GuardComponentCalls(LRESULT {0}, [&]() -> LRESULT {
        ChromeState& chrome = ChromeOf(*app);
        const int index = IndexOf(chrome, hwnd);
        switch (message) {
        case WM_PAINT:
            if (index >= 0) {
                PaintButton(*app, hwnd, index);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE:
            if (index >= 0 && !chrome.hover[static_cast<std::size_t>(index)]) {
                chrome.hover[static_cast<std::size_t>(index)] = true;
                TRACKMOUSEEVENT track {sizeof(track), TME_LEAVE, hwnd, 0};
                ::TrackMouseEvent(&track);
                ::InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_MOUSELEAVE:
            if (index >= 0) {
                chrome.hover[static_cast<std::size_t>(index)] = false;
                ::InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (::GetForegroundWindow() != app->panel && app->shell.shown) ForceForeground(*app);
            if (index == static_cast<int>(TitleButton::More)) {
                OnMorePress(*app);
                return 0;
            }
            ::SetCapture(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            if (::GetCapture() != hwnd) return 0;
            ::ReleaseCapture();
            POINT point {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client {};
            ::GetClientRect(hwnd, &client);
            if (index >= 0 && ::PtInRect(&client, point)) OnClick(*app, static_cast<TitleButton>(index));
            return 0;
        }
        case WM_ACTIVATE:
            OnPanelActivate(*app, wParam, reinterpret_cast<HWND>(lParam));
            break;
        default:
            break;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    });
}

// Each title button's tool in the UI language: TTM_ADDTOOLW to add them,
// TTM_UPDATETIPTEXTW after a change of language.
void SendTooltipTexts(App& app, UINT message) {
    ChromeState& chrome = ChromeOf(app);
    const int language = CurrentLanguage(app.config.ui.language);
    for (int i = 0; i < kTitleButtonCount; ++i) {
        const std::u16string text(Text(TooltipOf(static_cast<TitleButton>(i)), language));
        TTTOOLINFOW tool {};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = app.panel;
        tool.uId = reinterpret_cast<UINT_PTR>(chrome.buttons[static_cast<std::size_t>(i)]);
        tool.lpszText = const_cast<wchar_t*>(WidePtr(text));
        ::SendMessageW(chrome.tooltip, message, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void AddTooltips(App& app) {
    ChromeState& chrome = ChromeOf(app);
    chrome.tooltip = ::CreateWindowExW(app.config.general.alwaysOnTop ? WS_EX_TOPMOST : 0, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, app.panel, nullptr, app.instance, nullptr);
    if (chrome.tooltip == nullptr) return;
    SendTooltipTexts(app, TTM_ADDTOOLW);
    ::SetWindowTheme(chrome.tooltip, app.theme.isDark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
}

void SetLayered(HWND window, int percent, std::optional<Colour> key) {
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (percent < 100) {
        if ((style & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(window, key ? Ref(*key) : 0, static_cast<BYTE>(OpacityAlpha(percent)),
                                     LWA_ALPHA | (key ? LWA_COLORKEY : 0));
        return;
    }
    if ((style & WS_EX_LAYERED) != 0) {
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

bool CreateTitleButtons(App& app) {
    ChromeState& chrome = ChromeOf(app);
    if (chrome.buttons.back() != nullptr) return true;
    if (!RegisterWindowClass(app.instance, kTitleButtonClassName, ButtonProc)) return false;
    for (HWND& button : chrome.buttons) {
        if (button == nullptr) {
            button = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kTitleButtonClassName, L"", WS_POPUP, 0, 0,
                                       0, 0, app.panel, nullptr, app.instance, &app);
        }
        if (button == nullptr) return false;
    }
    if (chrome.tooltip == nullptr) AddTooltips(app);
    return true;
}

void PlaceTitleButtons(App& app, bool show) {
    ChromeState& chrome = ChromeOf(app);
    if (std::any_of(chrome.buttons.begin(), chrome.buttons.end(), [](HWND b) { return b == nullptr; })) return;
    EnsureFonts(app);
    RECT window {};
    ::GetWindowRect(app.panel, &window);
    const auto positions = TitleButtonPositions(FromRECT(window), chrome.metrics);
    const int size = chrome.metrics.button;
    // Raised when they appear: a window shown after its owner may sit below it.
    const UINT flags = SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_NOSIZE | SWP_NOZORDER);
    HDWP batch = ::BeginDeferWindowPos(kTitleButtonCount);
    for (int i = 0; i < kTitleButtonCount; ++i) {
        const Point at = positions[static_cast<std::size_t>(i)];
        HWND button = chrome.buttons[static_cast<std::size_t>(i)];
        if (batch != nullptr) batch = ::DeferWindowPos(batch, button, HWND_TOP, at.x, at.y, size, size, flags);
        if (batch == nullptr) ::SetWindowPos(button, HWND_TOP, at.x, at.y, size, size, flags);
    }
    if (batch != nullptr) ::EndDeferWindowPos(batch);
}

void HideTitleButtons(App& app) {
    for (HWND button : ChromeOf(app).buttons) {
        if (button != nullptr && ::IsWindowVisible(button)) {
            ::SetWindowPos(button, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void RedrawTitleButtons(App& app) {
    for (HWND button : ChromeOf(app).buttons) {
        if (button != nullptr) ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void PaintTitleStrip(App& app, HDC dc, Size client) {
    ChromeState& chrome = ChromeOf(app);
    EnsureFonts(app);
    const ChromeMetrics& metrics = chrome.metrics;
    const ChromePalette colours = ChromeColours(app.theme.isDark);
    FillSolid(dc, RECT {metrics.border, metrics.border, client.width - metrics.border, metrics.border + metrics.titleHeight},
              colours.strip);
    const Rect textRect = TitleTextRect(client, metrics);
    if (textRect.Width() <= 0) return;
    static constexpr char16_t kTitle[] = u"Quillpane";
    SelectGuard font(dc, chrome.titleFont.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(colours.title));
    RECT area = ToRECT(textRect);
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(kTitle), -1, &area,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
    if (!app.memo.memoDirty) return;
    SIZE size {};
    ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(kTitle), 9, &size);
    if (const std::optional<Rect> dot = UnsavedDotRect(textRect, size.cx, metrics)) {
        UniqueBrush brush(::CreateSolidBrush(Ref(colours.dot)));
        SelectGuard selectBrush(dc, brush.Get());
        SelectGuard selectPen(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, dot->left, dot->top, dot->right + 1, dot->bottom + 1);
    }
}

void ChromeDpiChanged(App& app, int) {
    ChromeOf(app).fontDpi = 0;
    EnsureFonts(app);
    if (app.shell.shown) PlaceTitleButtons(app, true);
    RedrawTitleButtons(app);
}

void RetextTitleTooltips(App& app) {
    if (ChromeOf(app).tooltip != nullptr) SendTooltipTexts(app, TTM_UPDATETIPTEXTW);
}

void ChromeThemeChanged(App& app) {
    ChromeState& chrome = ChromeOf(app);
    if (chrome.tooltip != nullptr) {
        ::SetWindowTheme(chrome.tooltip, app.theme.isDark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
    }
    if (app.shell.shown) ApplyOpacity(app);
    RedrawTitleButtons(app);
}

void ApplyOpacity(App& app) {
    if (!app.shell.shown) return;
    ChromeState& chrome = ChromeOf(app);
    chrome.images = {};
    const int percent = chrome.appliedOpacity >= 100 ? 100 : ClampOpacity(chrome.appliedOpacity);
    SetLayered(app.panel, percent, std::nullopt);
    // The buttons' own background lets the translucent strip show through.
    const Colour key = ChromeColours(app.theme.isDark).strip;
    for (HWND button : chrome.buttons) {
        if (button != nullptr) SetLayered(button, percent, key);
    }
    ApplyLabelOpacity(app, percent);
    RedrawTitleButtons(app);
    if (percent == 100) ::RedrawWindow(app.panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ToggleTranslucent(App& app) {
    ChromeState& chrome = ChromeOf(app);
    const bool opaque = chrome.appliedOpacity >= 100;
    app.config.ui.translucent = opaque;
    chrome.appliedOpacity = opaque ? ClampOpacity(app.config.ui.opacity) : 100;
    SaveAppConfig(app);
    ApplyOpacity(app);
}

void SetOpacityPreset(App& app, int percent) {
    app.config.ui.opacity = percent;
    app.config.ui.translucent = percent < 100;
    ChromeOf(app).appliedOpacity = percent;
    SaveAppConfig(app);
    ApplyOpacity(app);
}

void ShowMoreMenu(App& app) {
    ChromeState& chrome = ChromeOf(app);
    std::vector<MenuItem> items;
    AppendSettingsSection(items, app.config, FindDocuments(app), CurrentLanguage(app.config.ui.language), IDM_ABOUT,
                          true);
    HWND more = chrome.buttons[static_cast<std::size_t>(TitleButton::More)];
    POINT at {};
    UINT alignment = 0;
    if (more != nullptr && ::IsWindowVisible(more)) {
        RECT rect {};
        ::GetWindowRect(more, &rect);
        at = {rect.right, rect.bottom};
        alignment = TPM_RIGHTALIGN;
    } else {
        ::GetCursorPos(&at);
    }
    chrome.moreMenuOpen = true;
    TrackPanelMenu(app, BuildPopupMenu(items), at, alignment);
    chrome.moreMenuOpen = false;
    // The press that closed the menu on its own button must not reopen it.
    POINT cursor {};
    ::GetCursorPos(&cursor);
    RECT rect {};
    if (more != nullptr && ::GetWindowRect(more, &rect) && ::PtInRect(&rect, cursor)) {
        chrome.moreDismissedAt = ::GetTickCount64();
    }
}

void StartVoiceTyping(App& app) {
    if (app.editor.hwnd != nullptr) ::SetFocus(app.editor.hwnd);
    app.shell.holds.voiceGraceUntil = ::GetTickCount64() + kVoiceGraceMs;
    INPUT inputs[4] {};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_LWIN;
    inputs[1].ki.wVk = 'H';
    inputs[2].ki.wVk = 'H';
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_LWIN;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, inputs, sizeof(INPUT));
}

}  // namespace quillpane

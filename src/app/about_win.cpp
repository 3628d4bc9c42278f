// The About card: a small borderless card with the icon, name, version,
// tagline and publisher lines; a click closes it, a drag moves it.
#include "app/about_win.h"

#include "app/about_rules.h"
#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/focus_win.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "resource_ids.h"
#include "settings/version_info_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

namespace quillpane {
namespace {

constexpr COLORREF kTitleColour = RGB(18, 18, 18);
constexpr COLORREF kTextColour = RGB(96, 96, 108);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kColourKey = RGB(255, 0, 255);

AboutCard& CardOf(App& app) {
    return app.about;
}

HWND& WindowOf(App& app) {
    return app.about.window;
}

UniqueFont AboutFont(int height, int weight, bool italic) {
    return UniqueFont(::CreateFontW(-height, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
}

AboutTexts ReadTexts() {
    VersionValues values;
    values.productName = ReadVersionString(u"ProductName");
    values.productVersion = ReadVersionString(u"ProductVersion");
    values.comments = ReadVersionString(u"Comments");
    values.legalCopyright = ReadVersionString(u"LegalCopyright");
    values.createdBy = ReadVersionString(u"CreatedBy");
    values.note = ReadVersionString(u"Note");
    return AboutTextsFrom(values);
}

HWND AddText(App& app, const std::u16string& text, const Rect& rect, HFONT font, DWORD style = 0) {
    // A plain static reports HTTRANSPARENT: a click on the text reaches the card.
    HWND label = ::CreateWindowExW(0, L"STATIC", WidePtr(text), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, rect.left,
                                   rect.top, rect.Width(), rect.Height(), CardOf(app).window, nullptr, app.instance,
                                   nullptr);
    if (label != nullptr) ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

void AddLinkTip(App& app, const Rect& rect) {
    AboutCard& card = CardOf(app);
    card.linkTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, card.window, nullptr,
                                     app.instance, nullptr);
    if (card.linkTip == nullptr) return;
    const std::u16string target(AboutPublisherPage());
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = card.link;
    tool.uId = 1;
    tool.rect = RECT {0, 0, rect.Width(), rect.Height()};
    tool.lpszText = const_cast<wchar_t*>(WidePtr(target));
    ::SendMessageW(card.linkTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void OnCreate(App& app, HWND hwnd) {
    AboutCard& card = CardOf(app);
    const int dpi = card.dpi;
    card.titleFont = AboutFont(Scale(28, dpi), 650, false);
    card.bodyFont = AboutFont(Scale(17, dpi), FW_NORMAL, false);
    card.italicFont = AboutFont(Scale(17, dpi), FW_NORMAL, true);
    card.smallFont = AboutFont(Scale(15, dpi), FW_NORMAL, false);
    card.background.Reset(::CreateSolidBrush(kWhite));
    card.framePen.Reset(::CreatePen(PS_SOLID, 1, RGB(218, 218, 218)));
    card.separatorPen.Reset(::CreatePen(PS_SOLID, 1, RGB(185, 185, 185)));
    ::SetLayeredWindowAttributes(hwnd, kColourKey, 0, LWA_COLORKEY);

    const AboutTexts texts = ReadTexts();
    const AboutLayout layout = LayoutAbout(dpi, TextWidth(card.titleFont.Get(), texts.productName));
    const int iconSize = Scale(64, dpi);
    card.icon.Reset(static_cast<HICON>(::LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                                    iconSize, iconSize, LR_DEFAULTCOLOR)));
    HWND icon = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL,
                                  layout.icon.left, layout.icon.top, iconSize, iconSize, hwnd, nullptr, app.instance,
                                  nullptr);
    if (icon != nullptr && card.icon) ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(card.icon.Get()), 0);

    // One line each; a longer text from another version block ends in an ellipsis.
    constexpr DWORD kOneLine = SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS;
    AddText(app, texts.productName, layout.name, card.titleFont.Get(), kOneLine);
    AddText(app, texts.versionLine, layout.version, card.bodyFont.Get(), kOneLine);
    AddText(app, texts.tagline, layout.tagline, card.italicFont.Get(), kOneLine);
    AddText(app, texts.copyright, layout.copyright, card.smallFont.Get(), kOneLine);
    // Its plain text in the card's grey: asked for through WM_CTLCOLORSTATIC.
    card.link = ::CreateWindowExW(0, WC_LINK, WidePtr(texts.createdBy),
                                  WS_CHILD | WS_VISIBLE | LWS_TRANSPARENT | LWS_USECUSTOMTEXT, layout.createdBy.left,
                                  layout.createdBy.top, layout.createdBy.Width(), layout.createdBy.Height(), hwnd,
                                  nullptr, app.instance, nullptr);
    if (card.link != nullptr) {
        ::SendMessageW(card.link, WM_SETFONT, reinterpret_cast<WPARAM>(card.smallFont.Get()), FALSE);
        AddLinkTip(app, layout.createdBy);
    }
    AddText(app, texts.note, layout.note, card.smallFont.Get());
}

void OnPaint(App& app, HWND hwnd) {
    AboutCard& card = CardOf(app);
    PaintDc paint(hwnd);
    RECT client {};
    ::GetClientRect(hwnd, &client);
    SelectGuard pen(paint.Get(), card.framePen.Get());
    SelectGuard brush(paint.Get(), ::GetStockObject(NULL_BRUSH));
    ::Rectangle(paint.Get(), client.left, client.top, client.right, client.bottom);
    const AboutLayout layout = LayoutAbout(card.dpi, 0);
    SelectGuard separator(paint.Get(), card.separatorPen.Get());
    ::MoveToEx(paint.Get(), layout.separatorFrom.x, layout.separatorFrom.y, nullptr);
    ::LineTo(paint.Get(), layout.separatorTo.x, layout.separatorTo.y);
}

void Close(HWND hwnd) {
    ::DestroyWindow(hwnd);
}

// The first release after the card opened under a held button, or after a
// link click, is not a click on the card.
bool TakeIgnoredRelease(AboutCard& card) {
    if (card.openedWhileHeld || card.linkClicked) {
        card.openedWhileHeld = false;
        card.linkClicked = false;
        return true;
    }
    return false;
}

void OnButtonDown(App& app, HWND hwnd) {
    AboutCard& card = CardOf(app);
    ::SetCapture(hwnd);
    card.buttonDown = true;
    card.dragging = false;
    ::GetCursorPos(&card.startCursor);
    RECT window {};
    ::GetWindowRect(hwnd, &window);
    card.startWindow = POINT {window.left, window.top};
}

void OnMouseMove(App& app, HWND hwnd) {
    AboutCard& card = CardOf(app);
    if (!card.buttonDown) return;
    POINT now {};
    ::GetCursorPos(&now);
    if (!card.dragging && !IsAboutDrag({card.startCursor.x, card.startCursor.y}, {now.x, now.y})) return;
    card.dragging = true;
    ::SetWindowPos(hwnd, nullptr, card.startWindow.x + now.x - card.startCursor.x,
                   card.startWindow.y + now.y - card.startCursor.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnButtonUp(App& app, HWND hwnd) {
    AboutCard& card = CardOf(app);
    const bool wasDown = card.buttonDown;
    const bool dragged = card.dragging;
    card.buttonDown = false;
    card.dragging = false;
    if (::GetCapture() == hwnd) ::ReleaseCapture();
    if (TakeIgnoredRelease(card)) return;
    if (wasDown && !dragged) Close(hwnd);
}

void OnLinkNotify(App& app, const NMHDR& header) {
    AboutCard& card = CardOf(app);
    if (header.hwndFrom != card.link || (header.code != NM_CLICK && header.code != NM_RETURN)) return;
    const auto& link = reinterpret_cast<const NMLINK&>(header);
    ::ShellExecuteW(card.window, L"open", link.item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
    card.linkClicked = true;
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(app, hwnd);
        return 0;
    case WM_ERASEBKGND: {
        RECT client {};
        ::GetClientRect(hwnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, CardOf(app).background.Get());
        return 1;
    }
    case WM_PAINT:
        OnPaint(app, hwnd);
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        const bool title = reinterpret_cast<HFONT>(::SendMessageW(reinterpret_cast<HWND>(lParam), WM_GETFONT, 0, 0)) ==
                           CardOf(app).titleFont.Get();
        ::SetTextColor(dc, title ? kTitleColour : kTextColour);
        return reinterpret_cast<LRESULT>(CardOf(app).background.Get());
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE || wParam == VK_RETURN) Close(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(app, hwnd);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(app, hwnd);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(app, hwnd);
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!TakeIgnoredRelease(CardOf(app))) Close(hwnd);
        return 0;
    case WM_CAPTURECHANGED:
        CardOf(app).buttonDown = false;
        CardOf(app).dragging = false;
        return 0;
    case WM_NOTIFY:
        OnLinkNotify(app, *reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_ACTIVATE:
        OnPanelActivate(app, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE:
        Close(hwnd);
        return 0;
    case WM_DESTROY: {
        AboutCard& card = CardOf(app);
        if (card.linkTip != nullptr) ::DestroyWindow(card.linkTip);
        // The handle stays until WM_NCDESTROY, which forgets it.
        card = AboutCard {};
        card.window = hwnd;
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool AnyButtonHeld() {
    for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
        if ((::GetAsyncKeyState(button) & 0x8000) != 0) return true;
    }
    return false;
}

}  // namespace

void ShowAbout(App& app, AboutFrom from) {
    AboutCard& card = CardOf(app);
    if (card.window != nullptr) {
        ::ShowWindow(card.window, SW_SHOWNORMAL);
        ::SetForegroundWindow(card.window);
        return;
    }
    INITCOMMONCONTROLSEX controls {sizeof(controls), ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(app.instance, kAboutClassName, AppWindowProc<&WindowOf, &HandleMessage>)) return;

    const bool underPanel = from == AboutFrom::MoreMenu && app.panel != nullptr;
    POINT cursor {};
    ::GetCursorPos(&cursor);
    const HMONITOR monitor = underPanel ? ::MonitorFromWindow(app.panel, MONITOR_DEFAULTTONEAREST)
                                        : ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    card.dpi = MonitorDpi(monitor);
    const Size client = AboutClientSize(card.dpi);
    RECT frame {0, 0, client.width, client.height};
    ::AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_TOOLWINDOW);
    std::optional<Rect> owner;
    if (underPanel) {
        RECT panel {};
        ::GetWindowRect(app.panel, &panel);
        owner = FromRECT(panel);
    }
    const Rect place = PlaceAbout({frame.right - frame.left, frame.bottom - frame.top}, owner, {cursor.x, cursor.y},
                                  WorkAreaOf(monitor), card.dpi);
    card.openedWhileHeld = AnyButtonHeld();
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, kAboutClassName, L"About Quillpane", WS_POPUP,
                                    place.left, place.top, place.Width(), place.Height(),
                                    from == AboutFrom::TrayMenu ? nullptr : app.panel, nullptr, app.instance, &app);
    if (window == nullptr) {
        card = AboutCard {};
        return;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::UpdateWindow(window);
    ::SetForegroundWindow(window);
    ::SetFocus(window);
}

}  // namespace quillpane

// The phone QR dialog: the phone page's address as a QR code, shown modally
// when the phone bridge is switched on.
#include "app/phone_qr_win.h"

#include "app/app_win.h"
#include "app/about_rules.h"
#include "app/dialog_look_win.h"
#include "app/focus_win.h"
#include "app/modal_loop_win.h"
#include "app/phone_qr_rules.h"
#include "app/push_button_win.h"
#include "phone/phone_bridge.h"
#include "phone/qr_code.h"
#include "platform/dpi.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"

#include <optional>
#include <string>

namespace quillpane {
namespace {

constexpr int kOkId = 1;

struct QrColours {
    Colour background;
    Colour border;
    Colour title;
    Colour body;
    Colour url;
    Colour focusRing;
};

QrColours ColoursFor(bool dark) {
    if (dark) {
        return {HexColour(0x24262C), HexColour(0x464850), HexColour(0xF0F0F4),
                HexColour(0xA8AAB2), HexColour(0xE6E6EA), HexColour(0x78A9E8)};
    }
    return {HexColour(0xFAFAFC), HexColour(0xDADADE), HexColour(0x16161A),
            HexColour(0x60626C), HexColour(0x282A30), HexColour(0x0072C6)};
}

// One dialog, owned by ShowPhoneQrDialog's frame.
struct QrDialog {
    App* app = nullptr;
    HWND window = nullptr;
    HWND owner = nullptr;
    HWND ok = nullptr;
    int dpi = kDefaultDpi;
    bool dark = false;
    bool closing = false;
    UniqueFont titleFont;
    UniqueFont bodyFont;
    UniqueFont buttonFont;
    UniqueBrush background;
    std::optional<QrSymbol> symbol;
    std::u16string urlLine;
    std::u16string intro;
    std::u16string homeScreen;
    QrDialogLayout layout;
};

int WrappedHeight(HFONT font, const std::u16string& text, int width) {
    HDC dc = ::GetDC(nullptr);
    SelectGuard select(dc, font);
    RECT rect {0, 0, width, 0};
    ::DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::ReleaseDC(nullptr, dc);
    return rect.bottom - rect.top;
}

void Close(QrDialog& dialog) {
    if (dialog.closing || dialog.window == nullptr) return;
    dialog.closing = true;
    if (dialog.owner != nullptr) {
        ::EnableWindow(dialog.owner, TRUE);
        ::SetForegroundWindow(dialog.owner);
    }
    ::DestroyWindow(dialog.window);
}

void PaintText(HDC dc, const std::u16string& text, const Rect& rect, HFONT font, Colour colour, UINT format) {
    SelectGuard select(dc, font);
    ::SetTextColor(dc, Ref(colour));
    RECT r = ToRECT(rect);
    ::DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

void Paint(QrDialog& dialog) {
    PaintDc paint(dialog.window);
    HDC dc = paint.Get();
    const QrColours colours = ColoursFor(dialog.dark);
    RECT client {};
    ::GetClientRect(dialog.window, &client);
    FillSolid(dc, client, colours.background);
    UniqueBrush border(::CreateSolidBrush(Ref(colours.border)));
    ::FrameRect(dc, &client, border.Get());
    ::SetBkMode(dc, TRANSPARENT);
    const QrDialogLayout& layout = dialog.layout;
    constexpr UINT kOneLine = DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER;
    PaintText(dc, u"Quillpane Phone", layout.title, dialog.titleFont.Get(), colours.title, kOneLine);
    PaintText(dc, dialog.intro, layout.intro, dialog.bodyFont.Get(), colours.body, DT_WORDBREAK);
    if (dialog.symbol) DrawQr(dc, layout.qr.left, layout.qr.top, *dialog.symbol, layout.qr.Width());
    PaintText(dc, dialog.urlLine, layout.url, dialog.bodyFont.Get(), colours.url, kOneLine);
    PaintText(dc, dialog.homeScreen, layout.homeScreen, dialog.bodyFont.Get(), colours.body, DT_WORDBREAK);
}

void OnCreate(QrDialog& dialog, HWND hwnd) {
    dialog.window = hwnd;
    StyleDialogWindow(hwnd, dialog.dark);
    dialog.background.Reset(::CreateSolidBrush(Ref(ColoursFor(dialog.dark).background)));
    const Rect& b = dialog.layout.button;
    const std::u16string label = UiLabel(*dialog.app, TextId::OkButton);
    dialog.ok = ::CreateWindowExW(0, L"BUTTON", WidePtr(label), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                  b.left, b.top, b.Width(), b.Height(), hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkId)), dialog.app->instance, nullptr);
    if (dialog.ok == nullptr) return;
    ::SendMessageW(dialog.ok, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.buttonFont.Get()), FALSE);
    ThemePushButton(dialog.ok, dialog.dark);
    AddPushFocusRing(dialog.ok, ColoursFor(dialog.dark).focusRing);
}

LRESULT CALLBACK QrDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    QrDialog* dialog = WindowRecord<QrDialog>(hwnd, message, lParam);
    if (dialog == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        OnCreate(*dialog, hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(*dialog);
        return 0;
    case WM_NCHITTEST: {
        const LRESULT hit = ::DefWindowProcW(hwnd, message, wParam, lParam);
        // The whole card moves the dialog.
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, Ref(ColoursFor(dialog->dark).background));
        return reinterpret_cast<LRESULT>(dialog->background.Get());
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kOkId || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) Close(*dialog);
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(kOkId, DC_HASDEFID);
    case WM_ACTIVATE:
        OnPanelActivate(*dialog->app, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE:
        Close(*dialog);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        dialog->window = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void RunModalLoop(QrDialog& dialog) {
    MSG message {};
    while (dialog.window != nullptr && NextModalMessage(message)) {
        if (message.message == WM_KEYDOWN && (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN)) {
            Close(dialog);
            continue;
        }
        if (!::IsDialogMessageW(dialog.window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace

void DrawQr(HDC dc, int left, int top, const QrSymbol& symbol, int side) {
    const int module = QrModulePixels(side, symbol.size);
    if (module == 0) return;
    const int whole = module * (symbol.size + 8);
    const RECT quiet {left, top, left + whole, top + whole};
    ::FillRect(dc, &quiet, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    for (int row = 0; row < symbol.size; ++row) {
        for (int column = 0; column < symbol.size; ++column) {
            if (!symbol.Dark(column, row)) continue;
            const int x = left + module * (column + 4);
            const int y = top + module * (row + 4);
            const RECT cell {x, y, x + module, y + module};
            ::FillRect(dc, &cell, black);
        }
    }
}

void ShowPhoneQrDialog(App& app) {
    if (::FindWindowW(kPhoneQrClassName, nullptr) != nullptr) return;
    if (!RegisterWindowClass(app.instance, kPhoneQrClassName, QrDialogProc)) return;
    QrDialog dialog;
    dialog.app = &app;
    dialog.owner = app.shell.shown && ::IsWindowVisible(app.panel) ? app.panel : nullptr;
    POINT cursor {};
    ::GetCursorPos(&cursor);
    const HMONITOR monitor = dialog.owner != nullptr ? ::MonitorFromWindow(dialog.owner, MONITOR_DEFAULTTONEAREST)
                                                     : ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    dialog.dpi = MonitorDpi(monitor);
    dialog.dark = app.theme.isDark;
    const auto s = [&dialog](int px) { return Scale(px, dialog.dpi); };
    dialog.titleFont = MakeUiFont(s(18), 650, L"Yu Gothic UI");
    dialog.bodyFont = MakeUiFont(s(13), FW_NORMAL, L"Yu Gothic UI");
    dialog.buttonFont = MakeUiFont(s(13), FW_NORMAL, L"Yu Gothic UI");
    dialog.symbol = EncodeQr(Utf16ToUtf8(kPhonePageUrl));
    dialog.urlLine = u"URL : " + std::u16string(kPhonePageUrl);
    dialog.intro = Text(TextId::PhoneQrIntro, UiLanguage(app));
    dialog.homeScreen = Text(TextId::PhoneQrHomeScreen, UiLanguage(app));
    const int textWidth = QrTextWidth(dialog.dpi);
    const int qrSide = dialog.symbol ? QrDrawnSide(dialog.symbol->size, dialog.dpi) : 0;
    dialog.layout = LayoutQrDialog(dialog.dpi, WrappedHeight(dialog.bodyFont.Get(), dialog.intro, textWidth), qrSide,
                                   WrappedHeight(dialog.bodyFont.Get(), dialog.homeScreen, textWidth));

    std::optional<Rect> ownerRect;
    if (dialog.owner != nullptr) {
        RECT owner {};
        ::GetWindowRect(dialog.owner, &owner);
        ownerRect = FromRECT(owner);
    }
    const Size size = dialog.layout.client;
    const Rect place = PlaceCard(size, ownerRect, {cursor.x, cursor.y}, WorkAreaOf(monitor), dialog.dpi, 40);
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPhoneQrClassName, L"", WS_POPUP, place.left,
                                    place.top, place.Width(), place.Height(), dialog.owner, nullptr, app.instance,
                                    &dialog);
    if (window == nullptr) return;
    if (dialog.owner != nullptr) ::EnableWindow(dialog.owner, FALSE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    if (dialog.ok != nullptr) ::SetFocus(dialog.ok);
    RunModalLoop(dialog);
    if (dialog.window != nullptr) {
        dialog.closing = true;
        ::DestroyWindow(dialog.window);
    }
    if (dialog.owner != nullptr) ::EnableWindow(dialog.owner, TRUE);
}

}  // namespace quillpane

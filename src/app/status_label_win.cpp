#include "app/status_label_win.h"

#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/goto_line_win.h"
#include "app/search_win.h"
#include "app/status_text.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "platform/dpi.h"
#include "platform/system_calls_win.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"

#include <windowsx.h>

#include <algorithm>

namespace quillpane {
namespace {

constexpr int kLabelHeight = 24;
constexpr int kInset = 8;

struct LabelColours {
    Colour background;
    Colour border;
    Colour position;
    Colour positionHover;
    Colour counts;
};

LabelColours ColoursFor(bool dark) {
    if (dark) {
        return {HexColour(0x1E1E1E), HexColour(0x6C6C6C), HexColour(0xAAAAAA), HexColour(0xEBEBEB), HexColour(0xBEBEBE)};
    }
    return {HexColour(0xFFFFFF), HexColour(0xC4C4C4), HexColour(0x787878), HexColour(0x464646), HexColour(0x969696)};
}

StatusLabel& LabelOf(App& app) {
    return app.statusLabel;
}

void EnsureFont(StatusLabel& label, int dpi) {
    if (label.font && label.dpi == dpi) return;
    label.dpi = dpi;
    label.font = MakeUiFont(::MulDiv(9, dpi, 72), FW_NORMAL, L"Yu Gothic UI");
}

// The part of the label that takes the mouse: wide enough for "99999:99999".
int PositionAreaWidth(StatusLabel& label) {
    const int measured = label.font ? TextWidth(label.font.Get(), u"99999:99999") : 0;
    return measured > 0 ? measured + 4 + Scale(kInset, label.dpi) : Scale(72, label.dpi);
}

bool OverPosition(StatusLabel& label, int x) {
    return x >= 0 && x < PositionAreaWidth(label);
}

void Paint(App& app, HWND hwnd) {
    StatusLabel& label = LabelOf(app);
    PaintDc paint(hwnd);
    RECT client {};
    ::GetClientRect(hwnd, &client);
    const LabelColours colours = ColoursFor(app.theme.isDark);
    HDC dc = paint.Get();
    FillSolid(dc, client, colours.background);
    FillSolid(dc, RECT {client.left, client.top, client.right, client.top + 1}, colours.border);
    EnsureFont(label, label.dpi);
    SelectGuard font(dc, label.font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics {};
    ::GetTextMetricsW(dc, &metrics);
    const int textHeight = metrics.tmAscent + metrics.tmDescent;
    int top = client.top + (client.bottom - client.top - textHeight) / 2 + std::max(1, Scale(1, label.dpi)) + 1;
    top = std::max<int>(client.top + 1, std::min<int>(top, client.bottom - textHeight));
    const int inset = Scale(kInset, label.dpi);
    ::SetTextColor(dc, Ref(label.hover ? colours.positionHover : colours.position));
    RECT left {client.left + inset, top, client.right, top + textHeight};
    ::DrawTextW(dc, WidePtr(label.position), static_cast<int>(label.position.size()), &left,
                DT_SINGLELINE | DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
    ::SetTextColor(dc, Ref(colours.counts));
    RECT right {client.left, top, client.right - inset, top + textHeight};
    ::DrawTextW(dc, WidePtr(label.counts), static_cast<int>(label.counts.size()), &right,
                DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX | DT_NOCLIP);
}

// A press on the position: the go-to-line dialog opens there, or closes.
void OnPositionClick(App& app, POINT screen) {
    if (GoToLineOpen(app)) {
        CloseGoToLine(app);
        return;
    }
    ::SetForegroundWindow(app.panel);
    OpenGoToLine(app, screen);
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    StatusLabel& label = LabelOf(app);
    switch (message) {
    case WM_PAINT:
        Paint(app, hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST: {
        POINT point {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(hwnd, &point);
        // Only the position takes the mouse; the rest belongs to the panel below.
        if (!label.pressed && !OverPosition(label, point.x)) return HTTRANSPARENT;
        return HTCLIENT;
    }
    case WM_MOUSEACTIVATE:
        if (!app.shell.inSizeMove) ::SetForegroundWindow(app.panel);
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!label.hover) {
            label.hover = true;
            TRACKMOUSEEVENT track {sizeof(track), TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_MOUSELEAVE:
        label.hover = false;
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        label.pressed = true;
        ::SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP: {
        if (!label.pressed) return 0;
        label.pressed = false;
        ::ReleaseCapture();
        POINT screen {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(hwnd, &screen);
        OnPositionClick(app, screen);
        return 0;
    }
    case WM_CAPTURECHANGED:
        label.pressed = false;
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND& WindowOf(App& app) {
    return app.statusLabel.window;
}

// The editor's counts now, from the text adapter's indexes and the
// component's line table: nothing here reads the whole text.
StatusCounts CountsNow(App& app, std::size_t& line, std::size_t& column) {
    Scintilla::ScintillaCall& sci = app.editor.sci;
    EditorTextState& text = app.editor.text;
    const auto toIndex = [&](Scintilla::Position position) {
        return ToIndex(text.adapter, text.model, static_cast<std::size_t>(position));
    };
    const Scintilla::Position length = sci.Length();
    const Scintilla::Position start = sci.SelectionStart();
    const Scintilla::Position end = sci.SelectionEnd();
    StatusCounts counts;
    counts.bytes = static_cast<std::size_t>(length);
    counts.units = CurrentText(text.adapter, text.model).Length();
    counts.breaks = static_cast<std::size_t>(std::max<Scintilla::Line>(0, sci.LineCount() - 1));
    Scintilla::Position caret = end;
    if (end > start) {
        counts.selection = true;
        counts.selectedBytes = static_cast<std::size_t>(end - start);
        counts.selectedUnits = toIndex(end) - toIndex(start);
        counts.selectedBreaks = static_cast<std::size_t>(sci.LineFromPosition(end) - sci.LineFromPosition(start));
        // A selection ending at a line start shows the line it ends on the break of.
        if (sci.PositionFromLine(sci.LineFromPosition(end)) == end) caret = sci.PositionBefore(end);
    }
    const Scintilla::Line caretLine = sci.LineFromPosition(caret);
    line = static_cast<std::size_t>(caretLine) + 1;
    column = 1 + toIndex(caret) - toIndex(sci.PositionFromLine(caretLine));
    return counts;
}

}  // namespace

bool CreateStatusLabel(App& app) {
    StatusLabel& label = LabelOf(app);
    if (label.window != nullptr) return true;
    if (!RegisterWindowClass(app.instance, kStatusLabelClassName, AppWindowProc<&WindowOf, &HandleMessage>,
                          CS_HREDRAW | CS_VREDRAW)) {
        return false;
    }
    label.window = ::CreateWindowExW(WS_EX_NOACTIVATE, kStatusLabelClassName, L"", WS_POPUP, 0, 0, 0, 0, app.panel,
                                     nullptr, app.instance, &app);
    return label.window != nullptr;
}

void PlaceStatusLabel(App& app) {
    StatusLabel& label = LabelOf(app);
    if (label.window == nullptr || app.editor.hwnd == nullptr) return;
    if (!app.shell.shown) {
        HideStatusLabel(app);
        return;
    }
    RECT editor {};
    ::GetWindowRect(app.editor.hwnd, &editor);
    const int dpi = WindowDpiOf(app.editor.hwnd);
    EnsureFont(label, dpi);
    // Raised when it appears: a window shown after its owner may sit below it.
    const bool appearing = !::IsWindowVisible(label.window);
    ::SetWindowPos(label.window, HWND_TOP, editor.left, editor.bottom, editor.right - editor.left,
                   Scale(kLabelHeight, dpi), SWP_NOACTIVATE | SWP_SHOWWINDOW | (appearing ? 0 : SWP_NOZORDER));
}

void HideStatusLabel(App& app) {
    if (LabelOf(app).window != nullptr) ::ShowWindow(LabelOf(app).window, SW_HIDE);
}

void UpdateStatusLabel(App& app) {
    StatusLabel& label = LabelOf(app);
    // Hidden with the panel; showing it updates it.
    if (label.window == nullptr || !app.shell.shown || !ServesText(app.editor)) return;
    std::size_t line = 1;
    std::size_t column = 1;
    const StatusCounts counts = CountsNow(app, line, column);
    if (std::optional<std::u16string> part = SearchCountPart(app)) label.searchPart = std::move(*part);
    const int language = CurrentLanguage(app.config.ui.language);
    std::u16string position = PositionText(line, column);
    std::u16string countsText =
        CountsText(label.searchPart, counts, Text(TextId::CharsSuffix, language), Text(TextId::BytesSuffix, language));
    if (position == label.position && countsText == label.counts) return;
    label.position = std::move(position);
    label.counts = std::move(countsText);
    ::InvalidateRect(label.window, nullptr, FALSE);
}

void ApplyLabelOpacity(App& app, int percent) {
    HWND window = LabelOf(app).window;
    if (window == nullptr) return;
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (percent < 100) {
        if ((style & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(percent * 255 / 100), LWA_ALPHA);
    } else if ((style & WS_EX_LAYERED) != 0) {
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}

void StatusLabelThemeChanged(App& app) {
    if (LabelOf(app).window != nullptr) ::InvalidateRect(LabelOf(app).window, nullptr, FALSE);
}

}  // namespace quillpane

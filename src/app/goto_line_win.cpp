#include "app/goto_line_win.h"

#include "app/app_win.h"
#include "app/focus_win.h"
#include "app/goto_line_rules.h"
#include "app/search_dialog_rules.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/strings.h"
#include "platform/decimal.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"
#include "search/search_engine.h"
#include "sections/memo_fold_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <string>

namespace quillpane {
namespace {

constexpr int kFieldId = 300;
constexpr int kCloseId = 301;
constexpr UINT_PTR kFieldSubclassId = 1;
constexpr UINT_PTR kCloseSubclassId = 2;
// The field is read this far: enough for any line number.
constexpr int kFieldReadLimit = 31;

GoToLineDialog& DialogOf(App& app) {
    return app.goToLine;
}

SearchDialogPalette Colours(const App& app) {
    return GoToLineColours(app.theme.isDark);
}

std::u16string FieldText(HWND field) {
    wchar_t buffer[kFieldReadLimit + 1] {};
    const int copied = ::GetWindowTextW(field, buffer, kFieldReadLimit + 1);
    return FromWide(std::wstring_view(buffer, static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

void SelectAll(HWND field) {
    ::SendMessageW(field, EM_SETSEL, 0, -1);
}

// ---- look ---------------------------------------------------------------------

void BuildFonts(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    dialog.textFont = MakeUiFont(Scale(14, dialog.dpi), FW_NORMAL, L"Yu Gothic UI");
    dialog.glyphFont = MakeGlyphFont(Scale(15, dialog.dpi));
    if (dialog.field != nullptr) {
        ::SendMessageW(dialog.field, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.textFont.Get()), 0);
    }
}

HBRUSH FieldBrush(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    if (!dialog.fieldBrush || dialog.brushDark != app.theme.isDark) {
        dialog.fieldBrush.Reset(::CreateSolidBrush(Ref(Colours(app).boxFill)));
        dialog.brushDark = app.theme.isDark;
    }
    return dialog.fieldBrush.Get();
}

void ApplyWindowTheme(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    StyleDialogWindow(dialog.window, app.theme.isDark);
    if (dialog.field != nullptr) {
        ::SetWindowTheme(dialog.field, app.theme.isDark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
    }
}

void Layout(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    RECT client {};
    ::GetClientRect(dialog.window, &client);
    const GoToLineLayout layout = LayoutGoToLine(client.right, dialog.dpi);
    const auto put = [](HWND control, const Rect& rect) {
        ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    put(dialog.field, layout.edit);
    RECT text = ToRECT(layout.text);
    ::SendMessageW(dialog.field, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
    put(dialog.closeButton, layout.close);
    ::InvalidateRect(dialog.window, nullptr, FALSE);
}

// ---- the field -------------------------------------------------------------------

void PaintCue(App& app, HWND field) {
    PaintCueText(field, DialogOf(app).textFont.Get(), Colours(app).cue, Text(TextId::LineNumberCue, UiLanguage(app)));
}

LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    App& app = *reinterpret_cast<App*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // Tab leaves the field although it is a multi-line edit.
        return ::DefSubclassProc(hwnd, message, wParam, lParam) &
               ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    case WM_CHAR:
        if (wParam == 1) {  // Ctrl+A
            SelectAll(hwnd);
            return 0;
        }
        // No line breaks or tabs; nor the bell of Ctrl+G, which refills the field.
        if (wParam == u'\r' || wParam == u'\n' || wParam == u'\t' || wParam == 7) return 0;
        break;
    case WM_PASTE:
        if (PasteFirstLine(hwnd)) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == 'G' && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            OpenGoToLine(app, std::nullopt);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        // The accent bar under the field follows the focus.
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        if (DialogOf(app).window != nullptr) ::InvalidateRect(DialogOf(app).window, nullptr, FALSE);
        return result;
    }
    case WM_PAINT: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        PaintCue(app, hwnd);
        return result;
    }
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, FieldProc, kFieldSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- the close button -------------------------------------------------------------

LRESULT CALLBACK CloseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    GoToLineDialog& dialog = DialogOf(*reinterpret_cast<App*>(data));
    switch (message) {
    case WM_MOUSEMOVE:
        if (!dialog.closeHover) {
            dialog.closeHover = true;
            TRACKMOUSEEVENT track {sizeof(track), TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        dialog.closeHover = false;
        ::InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, CloseProc, kCloseSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void DrawCloseButton(App& app, const DRAWITEMSTRUCT& item) {
    const GoToLineDialog& dialog = DialogOf(app);
    const SearchDialogPalette colours = Colours(app);
    const bool focus = ::GetFocus() == item.hwndItem;
    FillSolid(item.hDC, item.rcItem,
              dialog.closeHover ? colours.glyphHover : focus ? colours.glyphFocus : colours.background);
    if (focus) {
        UniqueBrush frame(::CreateSolidBrush(Ref(colours.text)));
        ::FrameRect(item.hDC, &item.rcItem, frame.Get());
    }
    DrawGlyph(item.hDC, item.rcItem, kGlyphCancel, colours.text, dialog.glyphFont, dialog.dpi);
}

// ---- the jump -------------------------------------------------------------------------

std::uint64_t CaretLine(App& app) {
    Scintilla::ScintillaCall& sci = app.editor.sci;
    return static_cast<std::uint64_t>(sci.LineFromPosition(sci.SelectionStart())) + 1;
}

void Jump(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    if (!ServesText(app.editor)) return;
    Scintilla::ScintillaCall& sci = app.editor.sci;
    const std::optional<std::int64_t> line = LineToGoTo(FieldText(dialog.field), sci.LineCount());
    if (!line) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    EditorTextState& text = app.editor.text;
    const auto position = static_cast<std::size_t>(sci.PositionFromLine(static_cast<Scintilla::Line>(*line)));
    const std::size_t index = ToIndex(text.adapter, text.model, position);
    RevealTextIndex(app.editor, app.config.sidebar.folded, index);
    SetSelection16(app.editor, Selection {index, index});
    sci.ScrollCaret();
    AfterCaretMove(app.editor);
    ::InvalidateRect(app.editor.hwnd, nullptr, FALSE);
    CloseGoToLine(app);
}

// ---- the dialog window ------------------------------------------------------------------

void OnPaint(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    PaintDc paint(dialog.window);
    RECT client {};
    ::GetClientRect(dialog.window, &client);
    UniqueHdc memory(::CreateCompatibleDC(paint.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    if (!memory || !bitmap) return;
    SelectGuard selectBitmap(memory.Get(), bitmap.Get());
    HDC dc = memory.Get();
    const SearchDialogPalette colours = Colours(app);
    FillSolid(dc, client, colours.background);
    UniqueBrush border(::CreateSolidBrush(Ref(colours.border)));
    ::FrameRect(dc, &client, border.Get());
    DrawBoxFrame(dc, LayoutGoToLine(client.right, dialog.dpi).frame, ::GetFocus() == dialog.field, colours.boxFrame,
                 colours.boxFill, colours.accent, dialog.dpi);
    ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void OnDpiChanged(App& app, WPARAM wParam) {
    GoToLineDialog& dialog = DialogOf(app);
    dialog.dpi = std::max(1, static_cast<int>(LOWORD(wParam)));
    BuildFonts(app);
    const Size size = GoToLineSize(dialog.dpi);
    ::SetWindowPos(dialog.window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(app);
}

void OnDestroy(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    const bool hadFocus = HoldsFocus(dialog.window);
    dialog = GoToLineDialog {};
    FocusEditorAfterDialog(app, hadFocus);
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    GoToLineDialog& dialog = DialogOf(app);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(app);
        return 0;
    case WM_SIZE:
        Layout(app);
        return 0;
    case WM_LBUTTONDOWN: {
        // The background moves the dialog.
        POINT screen {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(hwnd, &screen);
        ::ReleaseCapture();
        ::PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            if (::IsChild(hwnd, focus)) dialog.lastFocus = focus;
        } else {
            ::SetFocus(::IsWindow(dialog.lastFocus) && ::IsChild(hwnd, dialog.lastFocus) ? dialog.lastFocus
                                                                                          : dialog.field);
        }
        // Moving between the panel and the dialog is not leaving the panel.
        OnPanelActivate(app, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCloseId && HIWORD(wParam) == BN_CLICKED) CloseGoToLine(app);
        return 0;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const SearchDialogPalette colours = Colours(app);
        ::SetTextColor(dc, Ref(colours.text));
        ::SetBkColor(dc, Ref(colours.boxFill));
        return reinterpret_cast<LRESULT>(FieldBrush(app));
    }
    case WM_DRAWITEM:
        if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem == dialog.closeButton) {
            DrawCloseButton(app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(app, wParam);
        return 0;
    case WM_DESTROY:
        OnDestroy(app);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND& WindowOf(App& app) {
    return app.goToLine.window;
}

bool RegisterDialogClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, kGoToLineClassName, AppWindowProc<&WindowOf, &HandleMessage>);
}

bool CreateControls(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    // Multi-line only for its settable text rectangle; line breaks are kept out.
    dialog.field = ::CreateWindowExW(0, L"EDIT", nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_NUMBER, 0,
                                     0, 0, 0, dialog.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                                     app.instance, nullptr);
    const std::u16string close = UiLabel(app, TextId::CloseLabel);
    dialog.closeButton = ::CreateWindowExW(0, L"BUTTON", WidePtr(close), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                           0, 0, 0, 0, dialog.window,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), app.instance,
                                           nullptr);
    if (dialog.field == nullptr || dialog.closeButton == nullptr) return false;
    const auto record = reinterpret_cast<DWORD_PTR>(&app);
    ::SetWindowSubclass(dialog.field, FieldProc, kFieldSubclassId, record);
    ::SetWindowSubclass(dialog.closeButton, CloseProc, kCloseSubclassId, record);
    return true;
}

// Where the dialog goes, and the monitor that gives its DPI: the point's, or
// the panel's when opened by a key (the pointer may be on another monitor).
struct Placement {
    HMONITOR monitor = nullptr;
    GoToLineAnchor anchor;
};

int TextOffset(App& app) {
    // Every margin before the text plus the text's own left margin.
    Scintilla::ScintillaCall& sci = app.editor.sci;
    int offset = static_cast<int>(sci.MarginLeft());
    for (int margin = 0; margin < static_cast<int>(sci.Margins()); ++margin) {
        offset += static_cast<int>(sci.MarginWidthN(margin));
    }
    return offset;
}

Placement PlacementFor(App& app, std::optional<POINT> at) {
    Placement placement;
    RECT owner {};
    ::GetWindowRect(app.panel, &owner);
    placement.anchor.owner = FromRECT(owner);
    placement.monitor = at ? ::MonitorFromPoint(*at, MONITOR_DEFAULTTONEAREST)
                           : ::MonitorFromWindow(app.panel, MONITOR_DEFAULTTONEAREST);
    placement.anchor.work = WorkAreaOf(placement.monitor);
    if (at && ServesText(app.editor)) {
        RECT editor {};
        ::GetWindowRect(app.editor.hwnd, &editor);
        placement.anchor.editor = FromRECT(editor);
        placement.anchor.textOffset = TextOffset(app);
    }
    return placement;
}

bool CreateDialogWindow(App& app, const Placement& placement) {
    GoToLineDialog& dialog = DialogOf(app);
    if (!RegisterDialogClass(app.instance)) return false;
    dialog.dpi = MonitorDpi(placement.monitor);
    BuildFonts(app);
    const Rect place = PlaceGoToLine(placement.anchor, dialog.dpi);
    const std::u16string title = UiLabel(app, TextId::GoToLine);
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kGoToLineClassName, WidePtr(title),
                                    WS_POPUP | WS_CLIPCHILDREN, place.left, place.top, place.Width(), place.Height(),
                                    app.panel, nullptr, app.instance, &app);
    if (window == nullptr) {
        dialog = GoToLineDialog {};
        return false;
    }
    if (!CreateControls(app)) {
        ::DestroyWindow(window);
        return false;
    }
    BuildFonts(app);
    ApplyWindowTheme(app);
    Layout(app);
    return true;
}

}  // namespace

void OpenGoToLine(App& app, std::optional<POINT> at) {
    if (app.panel == nullptr || !ServesText(app.editor)) return;
    GoToLineDialog& dialog = DialogOf(app);
    const Placement placement = PlacementFor(app, at);
    if (dialog.window != nullptr) {
        const Rect place = PlaceGoToLine(placement.anchor, dialog.dpi);
        ::SetWindowPos(dialog.window, nullptr, place.left, place.top, place.Width(), place.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!CreateDialogWindow(app, placement)) {
        return;
    }
    ::SetWindowTextW(dialog.field, WidePtr(DecimalText(CaretLine(app))));
    ::ShowWindow(dialog.window, SW_SHOW);
    ::SetForegroundWindow(dialog.window);
    ::SetFocus(dialog.field);
    SelectAll(dialog.field);
}

void CloseGoToLine(App& app) {
    if (app.goToLine.window != nullptr) ::DestroyWindow(app.goToLine.window);
}

bool GoToLineOpen(const App& app) {
    return app.goToLine.window != nullptr;
}

bool PreTranslateGoToLine(App& app, MSG& message) {
    GoToLineDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return false;
    if (message.hwnd != dialog.window && !::IsChild(dialog.window, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        CloseGoToLine(app);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        GuardComponentCalls(0, [&] {
            Jump(app);
            return 0;
        });
        return true;
    }
    return ::IsDialogMessageW(dialog.window, &message) != FALSE;
}

void GoToLineThemeChanged(App& app) {
    GoToLineDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    FieldBrush(app);
    ApplyWindowTheme(app);
    ::RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace quillpane

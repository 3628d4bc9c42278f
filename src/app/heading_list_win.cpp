#include "app/heading_list_win.h"

#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/focus_win.h"
#include "app/heading_list_rules.h"
#include "app/push_button_win.h"
#include "app/theme_win.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"
#include "sections/markers.h"
#include "sections/memo_fold_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

namespace quillpane {
namespace {

constexpr int kListId = 1;
constexpr int kJumpId = 2;
constexpr int kCancelId = 3;

constexpr TextRow kJumpLabel = {
    u"ジャンプ", u"Jump", u"이동", u"跳转", u"跳至", u"Aller", u"Vai", u"Springen", u"Ir", u"Ir", u"Przejdź",
};
constexpr TextRow kCancelLabel = {
    u"キャンセル", u"Cancel", u"취소", u"取消", u"取消", u"Annuler", u"Annulla", u"Abbrechen", u"Cancelar",
    u"Cancelar", u"Anuluj",
};

HeadingListDialog& DialogOf(App& app) {
    return app.headingList;
}

HeadingListPalette Colours(const App& app) {
    return HeadingListColours(app.theme.isDark);
}

Size ClientSize(HWND window) {
    RECT client {};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

int SelectedRow(const HeadingListDialog& dialog) {
    return static_cast<int>(::SendMessageW(dialog.list, LB_GETCURSEL, 0, 0));
}

// ---- look ----------------------------------------------------------------------

void BuildBrushes(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    if (dialog.background && dialog.brushesDark == app.theme.isDark) return;
    const HeadingListPalette colours = Colours(app);
    dialog.background.Reset(::CreateSolidBrush(Ref(colours.background)));
    dialog.listBackground.Reset(::CreateSolidBrush(Ref(colours.listBackground)));
    dialog.brushesDark = app.theme.isDark;
}

void ApplyLook(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    const bool dark = app.theme.isDark;
    BuildBrushes(app);
    StyleDialogWindow(dialog.window, dark);
    ApplyDialogTheme(dialog.list, dark);
    for (HWND button : {dialog.jump, dialog.cancel}) {
        ThemePushButton(button, dark);
        AddPushFocusRing(button, Colours(app).focusRing);
    }
}

void Layout(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    const HeadingListLayout layout = LayoutHeadingList(ClientSize(dialog.window), dialog.dpi);
    // The list sits inside its 1 px border, which the dialog draws.
    const Rect list {layout.list.left + 1, layout.list.top + 1, layout.list.right - 1, layout.list.bottom - 1};
    HDWP moves = ::BeginDeferWindowPos(3);
    const auto place = [&moves](HWND control, const Rect& rect) {
        if (moves != nullptr && control != nullptr) {
            moves = ::DeferWindowPos(moves, control, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        }
    };
    place(dialog.list, list);
    place(dialog.jump, layout.jump);
    place(dialog.cancel, layout.cancel);
    if (moves != nullptr) ::EndDeferWindowPos(moves);
    // Rows are cut to the list's width: a wider list redraws them whole.
    ::RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Paint(App& app, HDC dc) {
    HeadingListDialog& dialog = DialogOf(app);
    const HeadingListPalette colours = Colours(app);
    const Size size = ClientSize(dialog.window);
    const RECT client {0, 0, size.width, size.height};
    FillSolid(dc, client, colours.background);
    UniqueBrush border(::CreateSolidBrush(Ref(colours.border)));
    ::FrameRect(dc, &client, border.Get());
    const RECT list = ToRECT(LayoutHeadingList(size, dialog.dpi).list);
    ::FrameRect(dc, &list, border.Get());
}

void OnPaint(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    PaintDc paint(dialog.window);
    const Size size = ClientSize(dialog.window);
    UniqueHdc memory(::CreateCompatibleDC(paint.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.Get(), size.width, size.height));
    if (!memory || !bitmap) return;
    SelectGuard selectBitmap(memory.Get(), bitmap.Get());
    Paint(app, memory.Get());
    ::BitBlt(paint.Get(), 0, 0, size.width, size.height, memory.Get(), 0, 0, SRCCOPY);
}

void DrawRowText(HDC dc, const std::u16string& text, const Rect& box, UINT align) {
    RECT rect = ToRECT(box);
    ::DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &rect,
                align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void DrawRow(App& app, const DRAWITEMSTRUCT& item) {
    HeadingListDialog& dialog = DialogOf(app);
    const HeadingListPalette colours = Colours(app);
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= dialog.entries.size()) {
        FillSolid(item.hDC, item.rcItem, colours.listBackground);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillSolid(item.hDC, item.rcItem, selected ? colours.selectedFill : colours.listBackground);
    const SectionEntry& entry = dialog.entries[item.itemID];
    const HeadingRowLayout row = LayoutHeadingRow(FromRECT(item.rcItem), dialog.dpi);
    {
        SelectGuard font(item.hDC, dialog.font.Get());
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, Ref(colours.lineNumber));
        DrawRowText(item.hDC, LineNumberText(entry.titleLine), row.number, DT_RIGHT);
        ::SetTextColor(item.hDC, Ref(colours.text));
        DrawRowText(item.hDC, entry.title, row.title, DT_LEFT);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        ::SetTextColor(item.hDC, Ref(colours.text));
        ::SetBkColor(item.hDC, Ref(selected ? colours.selectedFill : colours.listBackground));
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
}

// ---- the rows ------------------------------------------------------------------

// The memos of the editor's text; the index of the caret's memo (-1 for none).
int ReadEntries(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    dialog.entries.clear();
    if (!ServesText(app.editor)) return -1;
    const std::size_t caret = EditorSelection16(app.editor).Start();
    const std::u16string& text = ReadText(app.editor.text.adapter, app.editor.text.model);
    SectionScan scan = BuildSections(text, MarkerSettingsOf(app.config.editor), caret);
    dialog.entries = std::move(scan.entries);
    return scan.current;
}

void FillList(App& app, int select) {
    HeadingListDialog& dialog = DialogOf(app);
    ::SendMessageW(dialog.list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(dialog.list, LB_RESETCONTENT, 0, 0);
    for (const SectionEntry& entry : dialog.entries) {
        const std::u16string row = HeadingRowText(entry.titleLine, entry.title);
        ::SendMessageW(dialog.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(row)));
    }
    ::SendMessageW(dialog.list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(dialog.list, nullptr, TRUE);
    const int count = static_cast<int>(dialog.entries.size());
    ::SendMessageW(dialog.list, LB_SETCURSEL, static_cast<WPARAM>(HeadingListSelection(select, count)), 0);
    ::EnableWindow(dialog.jump, count > 0 ? TRUE : FALSE);
}

void Refill(App& app) {
    const int current = ReadEntries(app);
    FillList(app, current);
}

// Caret to the chosen memo's title line, scrolled to the middle; then the dialog closes.
void Jump(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr || dialog.entries.empty() || !ServesText(app.editor)) return;
    const int row = SelectedRow(dialog);
    if (row < 0 || static_cast<std::size_t>(row) >= dialog.entries.size()) return;
    Scintilla::ScintillaCall& sci = app.editor.sci;
    const Scintilla::Line line = dialog.entries[static_cast<std::size_t>(row)].titleLine - 1;
    if (line < 0 || line >= sci.LineCount()) {
        // The text changed under the open dialog.
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    EditorTextState& text = app.editor.text;
    const std::size_t index =
        ToIndex(text.adapter, text.model, static_cast<std::size_t>(sci.PositionFromLine(line)));
    RevealTextIndex(app.editor, app.config.sidebar.folded, index);
    SetSelection16(app.editor, Selection {index, index});
    const int visual = static_cast<int>(sci.VisibleFromDocLine(line));
    sci.SetFirstVisibleLine(FirstVisibleLineForJump(visual, static_cast<int>(sci.LinesOnScreen())));
    AfterCaretMove(app.editor);
    ::InvalidateRect(app.editor.hwnd, nullptr, FALSE);
    CloseHeadingList(app);
}

// ---- the window ----------------------------------------------------------------

LRESULT HitTest(const HeadingListDialog& dialog, LPARAM lParam) {
    RECT window {};
    ::GetWindowRect(dialog.window, &window);
    const Point at {GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
    switch (HeadingListEdgeAt(at, {window.right - window.left, window.bottom - window.top}, dialog.dpi)) {
    case HeadingListEdge::Left: return HTLEFT;
    case HeadingListEdge::Right: return HTRIGHT;
    case HeadingListEdge::Top: return HTTOP;
    case HeadingListEdge::Bottom: return HTBOTTOM;
    case HeadingListEdge::TopLeft: return HTTOPLEFT;
    case HeadingListEdge::TopRight: return HTTOPRIGHT;
    case HeadingListEdge::BottomLeft: return HTBOTTOMLEFT;
    case HeadingListEdge::BottomRight: return HTBOTTOMRIGHT;
    case HeadingListEdge::None: break;
    }
    return HTCLIENT;
}

SIZE WindowSize(HWND window) {
    RECT rect {};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void OnExitSizeMove(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    const SIZE size = WindowSize(dialog.window);
    if (size.cx == dialog.sizeAtMoveStart.cx && size.cy == dialog.sizeAtMoveStart.cy) return;
    app.config.headingList.dialogWidth = std::clamp<int>(size.cx, 0, 4000);
    app.config.headingList.dialogHeight = std::clamp<int>(size.cy, 0, 4000);
    SaveAppConfig(app);
}

void OnCommand(App& app, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if ((id == kListId && code == LBN_DBLCLK) || (id == kJumpId && code == BN_CLICKED)) {
        Jump(app);
    } else if (id == kCancelId && code == BN_CLICKED) {
        CloseHeadingList(app);
    }
}

void OnDestroy(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    const bool hadFocus = HoldsFocus(dialog.window);
    dialog = HeadingListDialog {};
    FocusEditorAfterDialog(app, hadFocus);
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HeadingListDialog& dialog = DialogOf(app);
    switch (message) {
    case WM_NCCALCSIZE:
        // No system frame: the dialog draws its border, the edges still size it.
        if (wParam) return 0;
        break;
    case WM_NCHITTEST:
        return HitTest(dialog, lParam);
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return 1;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(app);
        return 0;
    case WM_PRINTCLIENT:
        // Themed buttons ask for what lies behind their rounded corners.
        Paint(app, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SIZE:
        Layout(app);
        return 0;
    case WM_GETMINMAXINFO: {
        const Size least = HeadingListMinSize(dialog.dpi);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {least.width, least.height};
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // The background moves the dialog.
        POINT screen {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(hwnd, &screen);
        ::ReleaseCapture();
        ::PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return 0;
    }
    case WM_ENTERSIZEMOVE:
        dialog.sizeAtMoveStart = WindowSize(hwnd);
        return 0;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove(app);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            if (::IsChild(hwnd, focus)) dialog.lastFocus = focus;
        } else {
            ::SetFocus(::IsWindow(dialog.lastFocus) && ::IsChild(hwnd, dialog.lastFocus) ? dialog.lastFocus
                                                                                          : dialog.list);
        }
        // Moving between the panel and the dialog is not leaving the panel.
        OnPanelActivate(app, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(app, wParam);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(HeadingRowHeight(dialog.dpi));
        return TRUE;
    case WM_DRAWITEM:
        DrawRow(app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        BuildBrushes(app);
        return reinterpret_cast<LRESULT>(dialog.listBackground.Get());
    case WM_CTLCOLORBTN: {
        BuildBrushes(app);
        const HeadingListPalette colours = Colours(app);
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, Ref(colours.text));
        ::SetBkColor(dc, Ref(colours.background));
        return reinterpret_cast<LRESULT>(dialog.background.Get());
    }
    case DM_GETDEFID:
        return MAKELRESULT(::GetFocus() == dialog.cancel ? kCancelId : kJumpId, DC_HASDEFID);
    case WM_DESTROY:
        OnDestroy(app);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND& WindowOf(App& app) {
    return app.headingList.window;
}

bool RegisterDialogClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, kHeadingListClassName, AppWindowProc<&WindowOf, &HandleMessage>);
}

HWND MakeControl(App& app, const wchar_t* className, std::u16string_view text, DWORD style, int id) {
    const std::u16string label(text);
    return ::CreateWindowExW(0, className, WidePtr(label), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0,
                             DialogOf(app).window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance,
                             nullptr);
}

bool CreateControls(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    const int language = UiLanguage(app);
    // In tab order.
    dialog.list = MakeControl(app, L"LISTBOX", u"",
                              WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              kListId);
    dialog.jump = MakeControl(app, L"BUTTON", PickText(kJumpLabel, language), BS_DEFPUSHBUTTON, kJumpId);
    dialog.cancel = MakeControl(app, L"BUTTON", PickText(kCancelLabel, language), BS_PUSHBUTTON, kCancelId);
    if (dialog.list == nullptr || dialog.jump == nullptr || dialog.cancel == nullptr) return false;
    dialog.font = MakeUiFont(Scale(14, dialog.dpi), FW_NORMAL, L"Yu Gothic UI");
    for (HWND control : {dialog.list, dialog.jump, dialog.cancel}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.font.Get()), FALSE);
    }
    ::SendMessageW(dialog.list, LB_SETITEMHEIGHT, 0, HeadingRowHeight(dialog.dpi));
    DefaultWhileFocused(dialog.cancel, dialog.jump);
    return true;
}

bool CreateDialogWindow(App& app, const Rect& place) {
    HeadingListDialog& dialog = DialogOf(app);
    const std::u16string title(Text(TextId::HeadingListLabel, UiLanguage(app)));
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kHeadingListClassName, WidePtr(title),
                                    WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, place.left, place.top, place.Width(),
                                    place.Height(), app.panel, nullptr, app.instance, &app);
    if (window == nullptr) {
        dialog = HeadingListDialog {};
        return false;
    }
    if (!CreateControls(app)) {
        ::DestroyWindow(window);
        return false;
    }
    ApplyLook(app);
    // The frame is gone from here on: the window's size is the client size.
    ::SetWindowPos(window, nullptr, place.left, place.top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Layout(app);
    return true;
}

HMONITOR MonitorUnderPointer() {
    POINT cursor {};
    ::GetCursorPos(&cursor);
    return ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
}

Point PanelTopLeft(const App& app) {
    RECT panel {};
    ::GetWindowRect(app.panel, &panel);
    return {panel.left, panel.top};
}

void BringForward(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    ::SetForegroundWindow(dialog.window);
    ::SetFocus(dialog.list);
}

}  // namespace

void OpenHeadingList(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    if (app.panel == nullptr) return;
    const HMONITOR monitor = MonitorUnderPointer();
    if (dialog.window != nullptr) {
        Refill(app);
        const SIZE size = WindowSize(dialog.window);
        const Rect place = PlaceHeadingList(PanelTopLeft(app), {size.cx, size.cy}, WorkAreaOf(monitor), dialog.dpi);
        ::SetWindowPos(dialog.window, nullptr, place.left, place.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        BringForward(app);
        return;
    }
    if (!RegisterDialogClass(app.instance)) return;
    dialog.dpi = MonitorDpi(monitor);
    const HeadingListSettings& stored = app.config.headingList;
    const Size size = HeadingListSize({stored.dialogWidth, stored.dialogHeight}, dialog.dpi);
    const Rect place = PlaceHeadingList(PanelTopLeft(app), size, WorkAreaOf(monitor), dialog.dpi);
    if (!CreateDialogWindow(app, place)) return;
    Refill(app);
    ::ShowWindow(dialog.window, SW_SHOW);
    BringForward(app);
}

void CloseHeadingList(App& app) {
    if (app.headingList.window != nullptr) ::DestroyWindow(app.headingList.window);
}

bool HeadingListOpen(const App& app) {
    return app.headingList.window != nullptr;
}

bool PreTranslateHeadingList(App& app, MSG& message) {
    HeadingListDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return false;
    if (message.hwnd != dialog.window && !::IsChild(dialog.window, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN) {
        if (message.wParam == VK_ESCAPE) {
            CloseHeadingList(app);
            return true;
        }
        if (message.wParam == VK_RETURN) {
            if (::GetFocus() == dialog.cancel) {
                CloseHeadingList(app);
            } else {
                Jump(app);
            }
            return true;
        }
    }
    if (!::IsDialogMessageW(dialog.window, &message)) return false;
    if (dialog.window != nullptr) MatchDefaultToFocus(dialog.cancel, dialog.jump);
    return true;
}

void HeadingListThemeChanged(App& app) {
    HeadingListDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    ApplyLook(app);
    ::RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace quillpane

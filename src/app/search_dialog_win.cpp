#include "app/search_dialog_win.h"

#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/focus_win.h"
#include "app/search_dialog_rules.h"
#include "app/search_win.h"
#include "app/theme_win.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/strings.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"
#include "search/search_engine.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

namespace quillpane {
namespace {

constexpr int kSearchBoxId = 200;
constexpr int kReplaceBoxId = 201;
constexpr int kButtonIdBase = 100;
constexpr UINT_PTR kTipTimer = 1;
constexpr UINT kTipMs = 3000;
constexpr UINT_PTR kBoxSubclassId = 1;
constexpr UINT_PTR kButtonSubclassId = 2;
constexpr UINT_PTR kHistorySubclassId = 3;
constexpr UINT_PTR kTipToolId = 1;


SearchDialog& DialogOf(App& app) {
    return app.searchDialog;
}

std::u16string BoxText(HWND box) {
    if (box == nullptr) return {};
    const int length = ::GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(std::max(0, length)) + 1, L'\0');
    const int copied = ::GetWindowTextW(box, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return FromWide(text);
}

bool BoxEmpty(HWND box) {
    return box == nullptr || ::GetWindowTextLengthW(box) == 0;
}

void SelectAll(HWND box) {
    ::SendMessageW(box, EM_SETSEL, 0, -1);
}

// ---- fonts, colours ----------------------------------------------------------

// Fonts and the measured button width for the dialog's DPI.
void BuildFonts(App& app) {
    SearchDialog& dialog = DialogOf(app);
    dialog.textFont = MakeUiFont(Scale(14, dialog.dpi), FW_NORMAL, L"Yu Gothic UI");
    dialog.glyphFont = MakeGlyphFont(Scale(15, dialog.dpi));
    const int label = std::max(TextWidth(dialog.textFont.Get(), UiLabel(app, TextId::ReplaceAllLabel)),
                               TextWidth(dialog.textFont.Get(), UiLabel(app, TextId::ReplaceLabel)));
    dialog.buttonWidth = SearchButtonWidth(dialog.dpi, label);
    const auto font = reinterpret_cast<WPARAM>(dialog.textFont.Get());
    for (HWND control : {dialog.searchBox, dialog.replaceBox, dialog.tip}) {
        if (control != nullptr) ::SendMessageW(control, WM_SETFONT, font, 0);
    }
}

SearchDialogPalette Colours(const App& app) {
    return SearchDialogColours(app.theme.isDark);
}

void BuildBrushes(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.brushesBuilt && dialog.brushesDark == app.theme.isDark) return;
    dialog.boxBrush.Reset(::CreateSolidBrush(Ref(Colours(app).boxFill)));
    dialog.brushesDark = app.theme.isDark;
    dialog.brushesBuilt = true;
}

void ApplyWindowTheme(App& app) {
    SearchDialog& dialog = DialogOf(app);
    const bool dark = app.theme.isDark;
    const wchar_t* theme = dark ? L"DarkMode_Explorer" : L"Explorer";
    StyleDialogWindow(dialog.window, dark);
    for (HWND control : {dialog.searchBox, dialog.replaceBox, dialog.tip, dialog.history}) {
        if (control != nullptr) ::SetWindowTheme(control, theme, nullptr);
    }
    if (dialog.tip != nullptr) {
        const SearchDialogPalette colours = Colours(app);
        ::SendMessageW(dialog.tip, TTM_SETTIPBKCOLOR, Ref(colours.boxFill), 0);
        ::SendMessageW(dialog.tip, TTM_SETTIPTEXTCOLOR, Ref(colours.text), 0);
    }
}

// ---- layout --------------------------------------------------------------------

void Place(HWND window, const Rect& rect, bool show) {
    if (window == nullptr) return;
    RECT current {};
    ::GetWindowRect(window, &current);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&current), 2);
    if (show && FromRECT(current) != rect) {
        ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool visible = ::IsWindowVisible(window) != FALSE;
    if (visible != show) ::ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
}

void SetTextRect(HWND box, const Rect& rect) {
    RECT text = ToRECT(rect);
    ::SendMessageW(box, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
}

SearchDialogLayout CurrentLayout(const SearchDialog& dialog) {
    RECT client {};
    ::GetClientRect(dialog.window, &client);
    return LayoutSearchDialog(client.right, dialog.dpi, dialog.buttonWidth, dialog.replaceRow,
                              !BoxEmpty(dialog.searchBox), !BoxEmpty(dialog.replaceBox));
}

void Layout(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    const SearchDialogLayout layout = CurrentLayout(dialog);
    const bool row = dialog.replaceRow;
    Place(dialog.buttons[kToggleButton], layout.toggle, true);
    Place(dialog.buttons[kNextButton], layout.next, true);
    Place(dialog.buttons[kPreviousButton], layout.previous, true);
    Place(dialog.buttons[kCloseButton], layout.close, true);
    Place(dialog.buttons[kGoButton], layout.searchButton, true);
    Place(dialog.buttons[kClearSearchButton], layout.clearSearch, !BoxEmpty(dialog.searchBox));
    Place(dialog.searchBox, layout.searchEdit, true);
    SetTextRect(dialog.searchBox, layout.searchText);
    Place(dialog.replaceBox, layout.replaceEdit, row);
    if (row) SetTextRect(dialog.replaceBox, layout.replaceText);
    Place(dialog.buttons[kClearReplaceButton], layout.clearReplace, row && !BoxEmpty(dialog.replaceBox));
    Place(dialog.buttons[kReplaceButton], layout.replace, row);
    Place(dialog.buttons[kReplaceAllButton], layout.replaceAll, row);
    ::InvalidateRect(dialog.window, nullptr, FALSE);
}

void ResizeToRow(App& app) {
    SearchDialog& dialog = DialogOf(app);
    RECT window {};
    ::GetWindowRect(dialog.window, &window);
    const int width = std::max<int>(window.right - window.left, SearchDialogMinWidth(dialog.dpi, dialog.buttonWidth));
    ::SetWindowPos(dialog.window, nullptr, 0, 0, width, SearchDialogHeight(dialog.dpi, dialog.replaceRow),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(app);
}

void SetReplaceRow(App& app, bool shown) {
    SearchDialog& dialog = DialogOf(app);
    dialog.replaceRow = shown;
    const HWND focus = ::GetFocus();
    if (!shown && (focus == dialog.replaceBox || focus == dialog.buttons[kReplaceButton] ||
                   focus == dialog.buttons[kReplaceAllButton])) {
        ::SetFocus(dialog.searchBox);
    }
    ResizeToRow(app);
    ::InvalidateRect(dialog.buttons[kToggleButton], nullptr, FALSE);
}

// ---- the message tip -------------------------------------------------------------

void CreateTip(App& app) {
    SearchDialog& dialog = DialogOf(app);
    dialog.tip = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, dialog.window, nullptr, app.instance, nullptr);
    if (dialog.tip == nullptr) return;
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = dialog.window;
    tool.uId = kTipToolId;
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(dialog.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(dialog.tip, TTM_SETMAXTIPWIDTH, 0, Scale(300, dialog.dpi));
}

// ---- the history list --------------------------------------------------------------

bool HistoryOpen(const SearchDialog& dialog) {
    return dialog.history != nullptr;
}

void CloseHistory(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.history == nullptr) return;
    HWND history = dialog.history;
    dialog.history = nullptr;
    ::DestroyWindow(history);
}

bool PointerOverHistory(const SearchDialog& dialog) {
    if (dialog.history == nullptr) return false;
    POINT cursor {};
    ::GetCursorPos(&cursor);
    RECT rect {};
    ::GetWindowRect(dialog.history, &rect);
    return ::PtInRect(&rect, cursor) != FALSE;
}

int HistoryHighlight(const SearchDialog& dialog) {
    return dialog.history != nullptr ? static_cast<int>(::SendMessageW(dialog.history, LB_GETCURSEL, 0, 0)) : -1;
}

void PutBoxText(App& app, std::u16string_view text);

void PickHistory(App& app, int index) {
    SearchDialog& dialog = DialogOf(app);
    const std::vector<std::u16string>& history = app.config.search.history;
    CloseHistory(app);
    if (index < 0 || static_cast<std::size_t>(index) >= history.size()) return;
    const std::u16string entry = history[static_cast<std::size_t>(index)];
    PutBoxText(app, entry);
    ::SetFocus(dialog.searchBox);
    SelectAll(dialog.searchBox);
}

LRESULT CALLBACK HistoryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    App& app = *reinterpret_cast<App*>(data);
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
        const LRESULT hit = ::SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) != HistoryHighlight(DialogOf(app))) {
            ::SendMessageW(hwnd, LB_SETCURSEL, LOWORD(hit), 0);
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // Handled here: the list's own click would take the focus.
        const LRESULT hit = ::SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit) == 0) PickHistory(app, LOWORD(hit));
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, HistoryProc, kHistorySubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void OpenHistory(App& app) {
    SearchDialog& dialog = DialogOf(app);
    const std::vector<std::u16string>& history = app.config.search.history;
    if (dialog.history != nullptr || history.empty() || dialog.searchBox == nullptr) return;
    RECT box {};
    ::GetWindowRect(dialog.searchBox, &box);
    const int entries = static_cast<int>(history.size());
    const Rect place = PlaceHistoryList(FromRECT(box), entries,
                                        WorkAreaOf(::MonitorFromWindow(dialog.window, MONITOR_DEFAULTTONEAREST)),
                                        dialog.dpi);
    const DWORD style = WS_POPUP | WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT |
                        (entries > kHistoryVisibleRows ? WS_VSCROLL : 0);
    HWND list = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"LISTBOX", nullptr, style,
                                  place.left, place.top, place.Width(), place.Height(), dialog.window, nullptr,
                                  app.instance, nullptr);
    if (list == nullptr) return;
    dialog.history = list;
    ::SetWindowSubclass(list, HistoryProc, kHistorySubclassId, reinterpret_cast<DWORD_PTR>(&app));
    ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.textFont.Get()), 0);
    ::SendMessageW(list, LB_SETITEMHEIGHT, 0, HistoryRowHeight(dialog.dpi));
    for (const std::u16string& entry : history) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(entry)));
    }
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ::SetWindowTheme(list, app.theme.isDark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
    ::ShowWindow(list, SW_SHOWNOACTIVATE);
}

void MoveHistory(App& app, int delta) {
    SearchDialog& dialog = DialogOf(app);
    const int count = static_cast<int>(::SendMessageW(dialog.history, LB_GETCOUNT, 0, 0));
    const int next = MoveHistoryHighlight(HistoryHighlight(dialog), delta, count);
    ::SendMessageW(dialog.history, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
}

// ---- the boxes -----------------------------------------------------------------------

// The search box's text changed, by typing or from here: the overlay follows.
void OnSearchTextChanged(App& app) {
    SearchDialog& dialog = DialogOf(app);
    Layout(app);
    HideSearchMessage(app);
    SetTermFromDialog(app, BoxText(dialog.searchBox));
}

// Puts a text into the search box with all of it selected; the term follows.
void PutBoxText(App& app, std::u16string_view text) {
    SearchDialog& dialog = DialogOf(app);
    const std::u16string line(FirstLineOf(text));
    dialog.settingText = true;
    ::SetWindowTextW(dialog.searchBox, WidePtr(line));
    dialog.settingText = false;
    SelectAll(dialog.searchBox);
    OnSearchTextChanged(app);
}

void PutEditorCaret(App& app, bool atEnd) {
    if (!ServesText(app.editor)) return;
    const std::size_t end = ReadText(app.editor.text.adapter, app.editor.text.model).size();
    const std::size_t at = atEnd ? end : 0;
    SetSelection16(app.editor, Selection {at, at});
    app.editor.sci.ScrollCaret();
    AfterCaretMove(app.editor);
}

bool CtrlDown() {
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool ShiftDown() {
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

void PaintCue(App& app, HWND box) {
    const SearchDialog& dialog = DialogOf(app);
    const TextId cue = box == dialog.searchBox ? TextId::SearchLabel : TextId::ReplaceLabel;
    PaintCueText(box, dialog.textFont.Get(), Colours(app).cue, UiLabel(app, cue));
}

void InvalidateFrames(App& app) {
    if (DialogOf(app).window != nullptr) ::InvalidateRect(DialogOf(app).window, nullptr, FALSE);
}

bool OnSearchBoxKey(App& app, WPARAM key) {
    SearchDialog& dialog = DialogOf(app);
    switch (key) {
    case VK_DOWN:
        if (app.config.search.history.empty()) return false;
        if (HistoryOpen(dialog)) {
            MoveHistory(app, 1);
        } else {
            OpenHistory(app);
        }
        return true;
    case VK_UP:
        if (!HistoryOpen(dialog)) return false;
        MoveHistory(app, -1);
        return true;
    case VK_HOME:
    case VK_END:
        if (!CtrlDown()) return false;
        PutEditorCaret(app, key == VK_END);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    App& app = *reinterpret_cast<App*>(data);
    SearchDialog& dialog = DialogOf(app);
    const bool searchBox = hwnd == dialog.searchBox;
    switch (message) {
    case WM_GETDLGCODE:
        // Tab moves between controls although the box is a multi-line edit.
        return ::DefSubclassProc(hwnd, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    case WM_CHAR:
        if (wParam == 1) {  // Ctrl+A
            SelectAll(hwnd);
            return 0;
        }
        // Line breaks never enter a box (nor tabs); Ctrl+C/V/X/Z pass on.
        if (wParam == u'\r' || wParam == u'\n' || wParam == u'\t') return 0;
        if (searchBox) {
            CloseHistory(app);
            HideSearchMessage(app);
        }
        break;
    case WM_PASTE:
        if (PasteFirstLine(hwnd)) {
            if (searchBox) {
                CloseHistory(app);
                HideSearchMessage(app);
            }
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (CtrlDown() && (wParam == 'F' || wParam == 'H')) {
            if (wParam == 'F') {
                OpenSearch(app);
            } else {
                OpenReplace(app);
            }
            return 0;
        }
        if (searchBox && OnSearchBoxKey(app, wParam)) return 0;
        break;
    case WM_MOUSEWHEEL:
        if (searchBox && HistoryOpen(dialog)) return ::SendMessageW(dialog.history, message, wParam, lParam);
        break;
    case WM_LBUTTONDOWN:
        if (searchBox && HistoryOpen(dialog)) {
            CloseHistory(app);
            break;
        }
        if (searchBox) {
            const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            if (BoxEmpty(hwnd)) OpenHistory(app);
            return result;
        }
        break;
    case WM_SETFOCUS: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        InvalidateFrames(app);
        if (searchBox && BoxEmpty(hwnd)) OpenHistory(app);
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        InvalidateFrames(app);
        if (searchBox && reinterpret_cast<HWND>(wParam) != dialog.history && !PointerOverHistory(dialog)) {
            CloseHistory(app);
        }
        return result;
    }
    case WM_PAINT: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        PaintCue(app, hwnd);
        return result;
    }
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, BoxProc, kBoxSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- the buttons ------------------------------------------------------------------------

int ButtonIndex(HWND button) {
    const int index = ::GetDlgCtrlID(button) - kButtonIdBase;
    return index >= 0 && index < kSearchButtonCount ? index : -1;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    App& app = *reinterpret_cast<App*>(data);
    SearchDialog& dialog = DialogOf(app);
    const int index = ButtonIndex(hwnd);
    switch (message) {
    case WM_MOUSEMOVE:
        if (index >= 0 && !dialog.hover[static_cast<std::size_t>(index)]) {
            dialog.hover[static_cast<std::size_t>(index)] = true;
            TRACKMOUSEEVENT track {sizeof(track), TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        if (index >= 0) {
            dialog.hover[static_cast<std::size_t>(index)] = false;
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, ButtonProc, kButtonSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

wchar_t GlyphOf(const SearchDialog& dialog, int index) {
    switch (index) {
    case kToggleButton: return dialog.replaceRow ? kGlyphChevronUp : kGlyphChevronDown;
    case kNextButton: return kGlyphDown;
    case kPreviousButton: return kGlyphUp;
    case kGoButton: return kGlyphSearch;
    default: return kGlyphCancel;
    }
}

bool InsideBox(int index) {
    return index == kGoButton || index == kClearSearchButton || index == kClearReplaceButton;
}

void DrawGlyphButton(App& app, const DRAWITEMSTRUCT& item, int index) {
    const SearchDialog& dialog = DialogOf(app);
    const SearchDialogPalette colours = Colours(app);
    const bool hover = dialog.hover[static_cast<std::size_t>(index)];
    const bool focus = ::GetFocus() == item.hwndItem;
    const Colour base = InsideBox(index) ? colours.boxFill : colours.background;
    FillSolid(item.hDC, item.rcItem, hover ? colours.glyphHover : focus ? colours.glyphFocus : base);
    if (focus) {
        UniqueBrush frame(::CreateSolidBrush(Ref(colours.text)));
        ::FrameRect(item.hDC, &item.rcItem, frame.Get());
    }
    const bool clear = index == kClearSearchButton || index == kClearReplaceButton;
    const Colour glyphColour = clear && !hover ? colours.clearGlyph : colours.text;
    DrawGlyph(item.hDC, item.rcItem, GlyphOf(dialog, index), glyphColour, dialog.glyphFont, dialog.dpi);
}

void DrawTextButton(App& app, const DRAWITEMSTRUCT& item, int index) {
    const SearchDialog& dialog = DialogOf(app);
    const SearchDialogPalette colours = Colours(app);
    const bool hover = dialog.hover[static_cast<std::size_t>(index)];
    const bool focus = ::GetFocus() == item.hwndItem;
    FillSolid(item.hDC, item.rcItem, colours.background);
    const Colour fill = focus ? (hover ? colours.buttonFocusHover : colours.buttonFocus)
                              : (hover ? colours.buttonHover : colours.background);
    const int borderWidth = focus ? Scale(2, dialog.dpi) : std::max(1, Scale(1, dialog.dpi));
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, borderWidth, Ref(focus ? colours.text : colours.buttonBorder)));
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    {
        SelectGuard selectPen(item.hDC, pen.Get());
        SelectGuard selectBrush(item.hDC, brush.Get());
        const int corner = Scale(8, dialog.dpi);
        ::RoundRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, corner,
                    corner);
    }
    const std::u16string label = UiLabel(app, index == kReplaceButton ? TextId::ReplaceLabel : TextId::ReplaceAllLabel);
    SelectGuard font(item.hDC, dialog.textFont.Get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, Ref(colours.text));
    RECT rect = item.rcItem;
    ::InflateRect(&rect, -Scale(4, dialog.dpi), 0);
    ::DrawTextW(item.hDC, WidePtr(label), static_cast<int>(label.size()), &rect,
                DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void DrawHistoryItem(App& app, const DRAWITEMSTRUCT& item) {
    const SearchDialog& dialog = DialogOf(app);
    const SearchDialogPalette colours = Colours(app);
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
    FillSolid(item.hDC, item.rcItem, highlighted ? colours.glyphHover : colours.boxFill);
    const std::vector<std::u16string>& history = app.config.search.history;
    if (item.itemID >= history.size()) return;
    const std::u16string& entry = history[item.itemID];
    SelectGuard font(item.hDC, dialog.textFont.Get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, Ref(colours.text));
    RECT rect = item.rcItem;
    rect.left += Scale(6, dialog.dpi);
    rect.right -= Scale(4, dialog.dpi);
    ::DrawTextW(item.hDC, WidePtr(entry), static_cast<int>(entry.size()), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// ---- the dialog window ------------------------------------------------------------------

void DrawFrame(App& app, HDC dc, const Rect& frame, bool focused) {
    const SearchDialogPalette colours = Colours(app);
    DrawBoxFrame(dc, frame, focused, colours.boxFrame, colours.boxFill, colours.accent, DialogOf(app).dpi);
}

void OnPaint(App& app) {
    SearchDialog& dialog = DialogOf(app);
    PaintDc paint(dialog.window);
    RECT client {};
    ::GetClientRect(dialog.window, &client);
    UniqueHdc memory(::CreateCompatibleDC(paint.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    if (!memory || !bitmap) return;
    {
        SelectGuard selectBitmap(memory.Get(), bitmap.Get());
        HDC dc = memory.Get();
        const SearchDialogPalette colours = Colours(app);
        FillSolid(dc, client, colours.background);
        UniqueBrush border(::CreateSolidBrush(Ref(colours.border)));
        ::FrameRect(dc, &client, border.Get());
        const SearchDialogLayout layout = CurrentLayout(dialog);
        const HWND focus = ::GetFocus();
        DrawFrame(app, dc, layout.searchFrame, focus == dialog.searchBox);
        if (dialog.replaceRow) DrawFrame(app, dc, layout.replaceFrame, focus == dialog.replaceBox);
        ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    }
}

void FindFromBox(App& app, bool forward) {
    FindFromDialog(app, BoxText(DialogOf(app).searchBox), forward);
}

void ReplaceFromBoxes(App& app, bool all) {
    SearchDialog& dialog = DialogOf(app);
    const std::u16string term = BoxText(dialog.searchBox);
    const std::u16string replacement = BoxText(dialog.replaceBox);
    const ReplaceResult result = all ? ReplaceAll(app, term, replacement) : ReplaceOne(app, term, replacement);
    switch (result.outcome) {
    case ReplaceOutcome::ReadOnly:
        ShowSearchMessage(app, Text(TextId::NothingReplacedReadOnly, UiLanguage(app)));
        break;
    case ReplaceOutcome::Replaced:
        HideSearchMessage(app);
        if (all) {
            const int count = static_cast<int>(std::min<std::size_t>(result.count, 0x7FFFFFFF));
            ShowSearchMessage(app, WithCount(ReplacedCountFormat(count, UiLanguage(app)), result.count));
        }
        break;
    default:
        break;
    }
}

void OnButton(App& app, int index) {
    SearchDialog& dialog = DialogOf(app);
    switch (index) {
    case kToggleButton:
        SetReplaceRow(app, !dialog.replaceRow);
        break;
    case kNextButton:
        FindFromBox(app, true);
        break;
    case kPreviousButton:
        FindFromBox(app, false);
        break;
    case kCloseButton:
        CloseSearch(app);
        break;
    case kReplaceButton:
        ReplaceFromBoxes(app, false);
        break;
    case kReplaceAllButton:
        ReplaceFromBoxes(app, true);
        break;
    case kGoButton:
        FindFromBox(app, app.search.lastForward);
        break;
    case kClearSearchButton:
        PutBoxText(app, u"");
        ::SetFocus(dialog.searchBox);
        break;
    case kClearReplaceButton:
        ::SetWindowTextW(dialog.replaceBox, L"");
        Layout(app);
        ::SetFocus(dialog.replaceBox);
        break;
    default:
        break;
    }
}

void OnCommand(App& app, WPARAM wParam) {
    SearchDialog& dialog = DialogOf(app);
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == kSearchBoxId && code == EN_CHANGE) {
        if (!dialog.settingText) OnSearchTextChanged(app);
        return;
    }
    if (id == kReplaceBoxId && code == EN_CHANGE) {
        Layout(app);
        return;
    }
    if (code == BN_CLICKED && id >= kButtonIdBase && id < kButtonIdBase + kSearchButtonCount) {
        OnButton(app, id - kButtonIdBase);
    }
}

LRESULT OnHitTest(const SearchDialog& dialog, LPARAM lParam) {
    RECT window {};
    ::GetWindowRect(dialog.window, &window);
    const int x = GET_X_LPARAM(lParam);
    const int strip = Scale(6, dialog.dpi);
    if (x < window.left + strip) return HTLEFT;
    if (x >= window.right - strip) return HTRIGHT;
    return HTCLIENT;
}

void OnExitSizeMove(App& app) {
    SearchDialog& dialog = DialogOf(app);
    RECT window {};
    ::GetWindowRect(dialog.window, &window);
    const int width = std::clamp<int>(window.right - window.left, 0, 4000);
    if (width == app.config.search.dialogWidth) return;
    app.config.search.dialogWidth = width;
    SaveAppConfig(app);
}

void OnDpiChanged(App& app, WPARAM wParam, LPARAM lParam) {
    SearchDialog& dialog = DialogOf(app);
    dialog.dpi = std::max(1, static_cast<int>(LOWORD(wParam)));
    BuildFonts(app);
    if (dialog.tip != nullptr) ::SendMessageW(dialog.tip, TTM_SETMAXTIPWIDTH, 0, Scale(300, dialog.dpi));
    CloseHistory(app);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    const int width = std::max<int>(suggested->right - suggested->left,
                                    SearchDialogMinWidth(dialog.dpi, dialog.buttonWidth));
    ::SetWindowPos(dialog.window, nullptr, 0, 0, width, SearchDialogHeight(dialog.dpi, dialog.replaceRow),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(app);
}

void OnDestroy(App& app) {
    SearchDialog& dialog = DialogOf(app);
    ::KillTimer(dialog.window, kTipTimer);
    CloseHistory(app);
    if (dialog.tip != nullptr) ::DestroyWindow(dialog.tip);
    const bool hadFocus = HoldsFocus(dialog.window);
    dialog.window = nullptr;
    dialog.searchBox = nullptr;
    dialog.replaceBox = nullptr;
    dialog.buttons = {};
    dialog.hover = {};
    dialog.tip = nullptr;
    dialog.lastFocus = nullptr;
    dialog.textFont.Reset();
    dialog.glyphFont = {};
    dialog.boxBrush.Reset();
    dialog.brushesBuilt = false;
    FocusEditorAfterDialog(app, hadFocus);
}

LRESULT HandleMessage(App& app, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SearchDialog& dialog = DialogOf(app);
    switch (message) {
    case WM_NCCALCSIZE:
        if (wParam) return 0;
        break;
    case WM_NCHITTEST:
        return OnHitTest(dialog, lParam);
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return 1;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(app);
        return 0;
    case WM_SIZE:
        Layout(app);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const int height = SearchDialogHeight(dialog.dpi, dialog.replaceRow);
        info->ptMinTrackSize = {SearchDialogMinWidth(dialog.dpi, dialog.buttonWidth), height};
        info->ptMaxTrackSize.y = height;
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // The background moves the dialog.
        CloseHistory(app);
        POINT screen {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(hwnd, &screen);
        ::ReleaseCapture();
        ::PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return 0;
    }
    case WM_ENTERSIZEMOVE:
        CloseHistory(app);
        return 0;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove(app);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            CloseHistory(app);
            const HWND focus = ::GetFocus();
            if (::IsChild(hwnd, focus)) dialog.lastFocus = focus;
        } else {
            ::SetFocus(::IsWindow(dialog.lastFocus) && ::IsChild(hwnd, dialog.lastFocus) ? dialog.lastFocus
                                                                                          : dialog.searchBox);
        }
        // Moving between the panel and the dialog is not leaving the panel.
        OnPanelActivate(app, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(app, wParam);
        return 0;
    case WM_CTLCOLOREDIT: {
        BuildBrushes(app);
        const SearchDialogPalette colours = Colours(app);
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, Ref(colours.text));
        ::SetBkColor(dc, Ref(colours.boxFill));
        return reinterpret_cast<LRESULT>(dialog.boxBrush.Get());
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == dialog.history) {
            DrawHistoryItem(app, item);
            return TRUE;
        }
        const int index = ButtonIndex(item.hwndItem);
        if (index == kReplaceButton || index == kReplaceAllButton) {
            DrawTextButton(app, item, index);
        } else if (index >= 0) {
            DrawGlyphButton(app, item, index);
        }
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kTipTimer) HideSearchMessage(app);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(app, wParam, lParam);
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
    return app.searchDialog.window;
}

bool RegisterDialogClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, kSearchDialogClassName, AppWindowProc<&WindowOf, &HandleMessage>);
}

HWND MakeButton(App& app, int index, const std::u16string& accessibleName, bool tabStop) {
    SearchDialog& dialog = DialogOf(app);
    const DWORD style = WS_CHILD | BS_OWNERDRAW | (tabStop ? WS_TABSTOP : 0);
    HWND button = ::CreateWindowExW(0, L"BUTTON", WidePtr(accessibleName), style, 0, 0, 0, 0, dialog.window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIdBase + index)),
                                    app.instance, nullptr);
    if (button != nullptr) {
        ::SetWindowSubclass(button, ButtonProc, kButtonSubclassId, reinterpret_cast<DWORD_PTR>(&app));
    }
    dialog.buttons[static_cast<std::size_t>(index)] = button;
    return button;
}

HWND MakeBox(App& app, int id) {
    SearchDialog& dialog = DialogOf(app);
    // Multi-line only for its settable text rectangle; line breaks are kept out.
    const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOHSCROLL;
    HWND box = ::CreateWindowExW(0, L"EDIT", nullptr, style, 0, 0, 0, 0, dialog.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance, nullptr);
    if (box != nullptr) ::SetWindowSubclass(box, BoxProc, kBoxSubclassId, reinterpret_cast<DWORD_PTR>(&app));
    return box;
}

bool CreateControls(App& app) {
    SearchDialog& dialog = DialogOf(app);
    const std::u16string search = UiLabel(app, TextId::SearchLabel);
    // The buttons inside the boxes first: above the boxes, which clip them out.
    MakeButton(app, kGoButton, u"", false);
    MakeButton(app, kClearSearchButton, u"", false);
    MakeButton(app, kClearReplaceButton, u"", false);
    // Then in tab order.
    dialog.searchBox = MakeBox(app, kSearchBoxId);
    dialog.replaceBox = MakeBox(app, kReplaceBoxId);
    MakeButton(app, kReplaceButton, UiLabel(app, TextId::ReplaceLabel), true);
    MakeButton(app, kReplaceAllButton, UiLabel(app, TextId::ReplaceAllLabel), true);
    MakeButton(app, kNextButton, u"\u2193 " + search, true);
    MakeButton(app, kPreviousButton, u"\u2191 " + search, true);
    MakeButton(app, kCloseButton, UiLabel(app, TextId::CloseLabel), true);
    MakeButton(app, kToggleButton, UiLabel(app, TextId::ToggleReplaceRow), true);
    return dialog.searchBox != nullptr && dialog.replaceBox != nullptr &&
           std::all_of(dialog.buttons.begin(), dialog.buttons.end(), [](HWND button) { return button != nullptr; });
}

bool CreateDialogWindow(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (app.panel == nullptr || !RegisterDialogClass(app.instance)) return false;
    RECT owner {};
    ::GetWindowRect(app.panel, &owner);
    // The monitor the dialog opens on gives its DPI and keeps it inside.
    HMONITOR monitor = ::MonitorFromWindow(app.panel, MONITOR_DEFAULTTONEAREST);
    dialog.dpi = MonitorDpi(monitor);
    dialog.hover = {};
    BuildFonts(app);
    const int width = std::max(SearchDialogMinWidth(dialog.dpi, dialog.buttonWidth), app.config.search.dialogWidth);
    const Size size {width, SearchDialogHeight(dialog.dpi, dialog.replaceRow)};
    const Rect place = PlaceSearchDialog(Point {owner.left, owner.top}, size, WorkAreaOf(monitor), dialog.dpi);
    const std::u16string title = UiLabel(app, TextId::SearchLabel);
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kSearchDialogClassName, WidePtr(title),
                                    WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, place.left, place.top, place.Width(),
                                    place.Height(), app.panel, nullptr, app.instance, &app);
    if (window == nullptr) {
        dialog = SearchDialog {};
        return false;
    }
    if (!CreateControls(app)) {
        ::DestroyWindow(window);
        return false;
    }
    CreateTip(app);
    BuildFonts(app);
    BuildBrushes(app);
    ApplyWindowTheme(app);
    // The window's own size counts from here: fixed height, at least the minimum width.
    ::SetWindowPos(window, nullptr, place.left, place.top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Layout(app);
    return true;
}

std::u16string InitialText(App& app) {
    if (!ServesText(app.editor)) return {};
    const std::u16string& text = ReadText(app.editor.text.adapter, app.editor.text.model);
    const Selection selection = EditorSelection16(app.editor);
    std::u16string_view selected;
    std::u16string_view word;
    if (!selection.Empty()) {
        selected = std::u16string_view(text).substr(selection.Start(), selection.End() - selection.Start());
    }
    const std::u16string_view line = FirstLineOf(selected);
    if (line.empty() || line.size() > kMaxSearchTerm) {
        if (const std::optional<TextRange> range = WordAtCaret(app.editor)) {
            word = std::u16string_view(text).substr(range->start, range->Length());
        }
    }
    return InitialSearchText(selected, word);
}

// Opens or raises the dialog; false when it cannot be made.
bool Open(App& app, bool replaceRow) {
    SearchDialog& dialog = DialogOf(app);
    const std::u16string initial = InitialText(app);
    if (dialog.window != nullptr) {
        if (dialog.replaceRow != replaceRow) SetReplaceRow(app, replaceRow);
        if (!initial.empty()) PutBoxText(app, initial);
        return true;
    }
    dialog.replaceRow = replaceRow;
    if (!CreateDialogWindow(app)) return false;
    PutBoxText(app, initial.empty() ? std::u16string_view(app.search.term) : std::u16string_view(initial));
    ::ShowWindow(dialog.window, SW_SHOW);
    return true;
}

void FocusBox(HWND box) {
    ::SetFocus(box);
    SelectAll(box);
}

}  // namespace

void OpenSearch(App& app) {
    if (!Open(app, false)) return;
    SearchDialog& dialog = DialogOf(app);
    ::SetForegroundWindow(dialog.window);
    FocusBox(dialog.searchBox);
}

void OpenReplace(App& app) {
    if (!Open(app, true)) return;
    SearchDialog& dialog = DialogOf(app);
    ::SetForegroundWindow(dialog.window);
    FocusBox(BoxEmpty(dialog.searchBox) ? dialog.searchBox : dialog.replaceBox);
}

void CloseSearch(App& app) {
    if (DialogOf(app).window != nullptr) ::DestroyWindow(DialogOf(app).window);
}

bool SearchDialogOpen(const App& app) {
    return app.searchDialog.window != nullptr;
}

bool CloseSearchLayer(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (HistoryOpen(dialog)) {
        CloseHistory(app);
        return true;
    }
    if (dialog.window == nullptr) return false;
    CloseSearch(app);
    return true;
}

bool PreTranslateSearchDialog(App& app, MSG& message) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return false;
    if (message.hwnd != dialog.window && !::IsChild(dialog.window, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
        case VK_ESCAPE:
            CloseSearchLayer(app);
            return true;
        case VK_RETURN: {
            const int highlighted = HistoryHighlight(dialog);
            const HWND focus = ::GetFocus();
            SearchControl control = SearchControl::Other;
            if (focus == dialog.searchBox) control = SearchControl::SearchBox;
            if (focus == dialog.replaceBox) control = SearchControl::ReplaceBox;
            if (focus == dialog.buttons[kNextButton]) control = SearchControl::Next;
            if (focus == dialog.buttons[kPreviousButton]) control = SearchControl::Previous;
            if (focus == dialog.buttons[kReplaceButton]) control = SearchControl::Replace;
            if (focus == dialog.buttons[kReplaceAllButton]) control = SearchControl::ReplaceAll;
            switch (EnterActionFor(control, highlighted >= 0)) {
            case SearchEnter::PickHistory: PickHistory(app, highlighted); break;
            case SearchEnter::FindForward: FindFromBox(app, true); break;
            case SearchEnter::FindBackward: FindFromBox(app, false); break;
            case SearchEnter::Replace: ReplaceFromBoxes(app, false); break;
            case SearchEnter::ReplaceAll: ReplaceFromBoxes(app, true); break;
            case SearchEnter::FindLast: FindFromBox(app, app.search.lastForward); break;
            }
            return true;
        }
        case VK_F3:
            if (CtrlDown()) {
                HighlightSelectionOrWord(app);
            } else {
                FindFromBox(app, !ShiftDown());
            }
            return true;
        default:
            break;
        }
    }
    return ::IsDialogMessageW(dialog.window, &message) != FALSE;
}

void ShowSearchMessage(App& app, std::u16string_view text) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr || dialog.tip == nullptr) return;
    const std::u16string message(text);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog.window;
    tool.uId = kTipToolId;
    tool.lpszText = const_cast<wchar_t*>(WidePtr(message));
    ::SendMessageW(dialog.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT box {};
    ::GetWindowRect(dialog.searchBox, &box);
    // Under the dialog while the replace row shows: it would cover the replace box.
    int below = box.bottom;
    if (dialog.replaceRow) {
        RECT window {};
        ::GetWindowRect(dialog.window, &window);
        below = window.bottom;
    }
    ::SendMessageW(dialog.tip, TTM_TRACKPOSITION, 0, MAKELPARAM(box.left, below + Scale(4, dialog.dpi)));
    ::SendMessageW(dialog.tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    ::SetTimer(dialog.window, kTipTimer, kTipMs, nullptr);
}

void HideSearchMessage(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr || dialog.tip == nullptr) return;
    ::KillTimer(dialog.window, kTipTimer);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog.window;
    tool.uId = kTipToolId;
    ::SendMessageW(dialog.tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void ShowTermInSearchBox(App& app, std::u16string_view term) {
    if (DialogOf(app).window == nullptr) return;
    PutBoxText(app, term);
}

void KeepMatchClearOfDialog(App& app, std::size_t matchStart) {
    if (!ServesText(app.editor)) return;
    SearchDialog& dialog = DialogOf(app);
    Scintilla::ScintillaCall& sci = app.editor.sci;
    EditorTextState& text = app.editor.text;
    const auto start = static_cast<Scintilla::Position>(ToBytePosition(text.adapter, text.model, matchStart));
    const auto end = static_cast<Scintilla::Position>(
        ToBytePosition(text.adapter, text.model, matchStart + app.search.term.size()));
    const int measured = sci.TextHeight(sci.LineFromPosition(start));
    const int lineHeight = measured > 0 ? measured : Scale(16, dialog.window != nullptr ? dialog.dpi : kDefaultDpi);
    RECT client {};
    ::GetClientRect(app.editor.hwnd, &client);
    for (int step = 0; step < kMaxMatchSteps; ++step) {
        MatchView view;
        view.matchTop = sci.PointYFromPosition(start);
        view.lineHeight = lineHeight;
        view.clientTop = client.top;
        view.clientBottom = client.bottom;
        view.firstVisibleLine = static_cast<int>(sci.FirstVisibleLine());
        if (dialog.window != nullptr && ::IsWindowVisible(dialog.window)) {
            RECT over {};
            ::GetWindowRect(dialog.window, &over);
            ::MapWindowPoints(nullptr, app.editor.hwnd, reinterpret_cast<POINT*>(&over), 2);
            const int left = sci.PointXFromPosition(start);
            const int right = std::max(left + 1, sci.PointXFromPosition(end));
            view.dialogOpen = over.left < right && over.right > left;
            view.dialogTop = over.top;
            view.dialogBottom = over.bottom;
        }
        const MatchStep next = NextMatchStep(view);
        if (next.move == MatchMove::Done) return;
        if (next.move == MatchMove::Scroll) {
            sci.LineScroll(0, next.lines);
            // The text could not move further (its end): nothing more to gain.
            if (sci.PointYFromPosition(start) == view.matchTop) return;
            continue;
        }
        RECT window {};
        ::GetWindowRect(dialog.window, &window);
        POINT match {0, view.matchTop};
        ::ClientToScreen(app.editor.hwnd, &match);
        const Rect work = WorkAreaOf(::MonitorFromWindow(dialog.window, MONITOR_DEFAULTTONEAREST));
        const int top = DialogTopClearOf(match.y, match.y + lineHeight, window.top, window.bottom - window.top, work,
                                         dialog.dpi);
        CloseHistory(app);
        ::SetWindowPos(dialog.window, nullptr, window.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
}

void SearchDialogThemeChanged(App& app) {
    SearchDialog& dialog = DialogOf(app);
    if (dialog.window == nullptr) return;
    BuildBrushes(app);
    ApplyWindowTheme(app);
    ::RedrawWindow(dialog.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (dialog.history != nullptr) ::InvalidateRect(dialog.history, nullptr, TRUE);
}

}  // namespace quillpane

// The settings window: a modal page of three columns that edits a working
// copy of the settings; the caller applies the copy when the user confirms.
#include "app/settings_window_win.h"

#include "app/app_win.h"
#include "app/dialog_look_win.h"
#include "app/hotkey_capture_win.h"
#include "app/modal_loop_win.h"
#include "app/push_button_win.h"
#include "app/search_dialog_rules.h"
#include "app/settings_controls_win.h"
#include "i18n/strings.h"
#include "platform/decimal.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"
#include "platform/window_record_win.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <climits>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillpane {
namespace {

constexpr int kIntervalArrowsId = 480;
constexpr int kGenerationsArrowsId = 481;
constexpr int kScrollBarId = 490;
constexpr int kFirstTextId = 500;
constexpr int kInitialHeight = 480;

enum class Kind { Combo, Slider, Check, Box, Capture, Push };

Kind KindOf(SettingsControl control) {
    switch (control) {
    case SettingsControl::Language:
    case SettingsControl::Theme:
    case SettingsControl::Caret:
    case SettingsControl::Font:
    case SettingsControl::Wrap:
    case SettingsControl::Marker:
        return Kind::Combo;
    case SettingsControl::Opacity:
    case SettingsControl::FontSize:
        return Kind::Slider;
    case SettingsControl::Divider:
    case SettingsControl::Heading:
    case SettingsControl::Interval:
    case SettingsControl::Generations:
        return Kind::Box;
    case SettingsControl::Hotkey:
        return Kind::Capture;
    case SettingsControl::OpenBackup:
    case SettingsControl::Ok:
    case SettingsControl::Cancel:
        return Kind::Push;
    default:
        return Kind::Check;
    }
}

// The text of a check box or a push button.
TextId LabelOf(SettingsControl control) {
    switch (control) {
    case SettingsControl::LineNumbers: return TextId::ShowLineNumbers;
    case SettingsControl::Highlight: return TextId::HighlightCurrentLine;
    case SettingsControl::Underline: return TextId::UnderlineCurrentLine;
    case SettingsControl::Sidebar: return TextId::ShowSidebar;
    case SettingsControl::FoldMemos: return TextId::FoldMemos;
    case SettingsControl::CloseOnFocusLost: return TextId::CloseOnFocusLost;
    case SettingsControl::RunAtStartup: return TextId::StartWithWindows;
    case SettingsControl::PhoneSync: return TextId::PhoneSync;
    case SettingsControl::NoHotkey: return TextId::NoneChoice;
    case SettingsControl::OpenBackup: return TextId::OpenBackupFolder;
    case SettingsControl::Ok: return TextId::OkButton;
    case SettingsControl::Cancel: return TextId::CancelButton;
    default: return TextId::Count;
    }
}

// The text beside the controls; the values and counts are filled in later.
TextId TextOf(SettingsText text) {
    switch (text) {
    case SettingsText::AppearanceHeading: return TextId::AppearanceHeading;
    case SettingsText::TextHeading: return TextId::TextHeading;
    case SettingsText::MemoHeading: return TextId::MemoHeading;
    case SettingsText::WindowHeading: return TextId::WindowHeading;
    case SettingsText::BackupHeading: return TextId::BackupHeading;
    case SettingsText::LanguageLabel: return TextId::LanguageLabel;
    case SettingsText::ThemeLabel: return TextId::ThemeLabel;
    case SettingsText::OpacityLabel: return TextId::PanelOpacity;
    case SettingsText::CaretLabel: return TextId::CaretLabel;
    case SettingsText::FontLabel: return TextId::FontLabel;
    case SettingsText::FontSizeLabel: return TextId::FontSizeLabel;
    case SettingsText::WrapLabel: return TextId::WrapLabel;
    case SettingsText::MarkerLabel: return TextId::SectionMarkerLabel;
    case SettingsText::DividerLabel: return TextId::DividerLine;
    case SettingsText::HeadingLabel: return TextId::HeadingLine;
    case SettingsText::ShortcutLabel: return TextId::ShortcutToShowPanel;
    case SettingsText::IntervalLabel: return TextId::IntervalMinutes;
    case SettingsText::GenerationsLabel: return TextId::Generations;
    default: return TextId::Count;
    }
}

bool IsHeading(SettingsText text) {
    return text <= SettingsText::BackupHeading;
}
bool IsCount(SettingsText text) {
    return text == SettingsText::DividerCount || text == SettingsText::HeadingCount;
}
bool IsValue(SettingsText text) {
    return text == SettingsText::OpacityValue || text == SettingsText::FontSizeValue;
}

struct SettingsWindow {
    const SettingsRequest* request = nullptr;
    SettingsCopy* copy = nullptr;
    HWND window = nullptr;
    HWND body = nullptr;
    HWND scrollBar = nullptr;
    std::array<HWND, kSettingsControlCount> controls {};
    std::array<HWND, kSettingsTextCount> texts {};
    HWND intervalArrows = nullptr;
    HWND generationsArrows = nullptr;
    SettingsLook look;
    UniqueFont font;
    UniqueFont bold;
    UniqueBrush background;
    UniqueBrush input;
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
    int controlHeight = 24;
    SettingsLayout layout;
    int scroll = 0;
    CaptureControl capture;
    HWND lastFocus = nullptr;
    HWND seenFocus = nullptr;
    bool result = false;
    bool closed = false;
};

HWND ControlOf(const SettingsWindow& s, SettingsControl control) {
    return s.controls[static_cast<std::size_t>(control)];
}

int DpiOf(const SettingsWindow& s) {
    return s.look.dpi;
}

int Language(const SettingsWindow& s) {
    return s.request->language;
}

std::u16string Label(const SettingsWindow& s, TextId id) {
    return StripAccelerator(Text(id, Language(s)));
}

std::u16string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return FromWide(text);
}

void SetText(HWND window, const std::u16string& text) {
    if (window != nullptr && WindowTextOf(window) != text) ::SetWindowTextW(window, WidePtr(text));
}

// ---- fonts and measures ---------------------------------------------------------------

int LineHeightOf(HFONT font) {
    HDC dc = ::GetDC(nullptr);
    TEXTMETRICW metrics {};
    {
        SelectGuard select(dc, font);
        ::GetTextMetricsW(dc, &metrics);
    }
    ::ReleaseDC(nullptr, dc);
    return std::max(12, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
}

void BuildFonts(SettingsWindow& s) {
    const int dpi = DpiOf(s);
    const int height = ::MulDiv(9, dpi, 72);
    s.font = MakeUiFont(height, FW_NORMAL, L"Yu Gothic UI");
    s.bold = MakeUiFont(height, FW_BOLD, L"Yu Gothic UI");
    s.look.font = s.font.Get();
    s.look.glyphs = MakeGlyphFont(Scale(10, dpi));
    s.look.lineHeight = LineHeightOf(s.font.Get());
    s.controlHeight = ControlHeight(s.look.lineHeight, dpi);
}

// The system's scroll-bar width at the window's DPI.
int ScrollBarWidth(const SettingsWindow& s) {
    HDC dc = ::GetDC(nullptr);
    const int systemDpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(nullptr, dc);
    return ::MulDiv(::GetSystemMetrics(SM_CXVSCROLL), DpiOf(s), std::max(1, systemDpi));
}

int ArrowWidth(const SettingsWindow& s) {
    return std::max(Scale(16, DpiOf(s)), ScrollBarWidth(s));
}

std::u16string CountText(const SettingsWindow& s, int count) {
    return WithCount(CharacterCountFormat(count, Language(s)), static_cast<std::size_t>(count));
}

SettingsMeasures Measures(const SettingsWindow& s) {
    SettingsMeasures m;
    const int dpi = DpiOf(s);
    HFONT font = s.font.Get();
    m.dpi = dpi;
    m.lineHeight = s.look.lineHeight;
    m.headingHeight = LineHeightOf(s.bold.Get());
    m.opacityValueWidth = TextWidth(font, u"100%");
    m.fontSizeValueWidth = TextWidth(font, u"16 pt");
    for (const int count : {0, 1, 2, 5, 22, 200}) {
        m.countWidth = std::max(m.countWidth, TextWidth(font, CountText(s, count)));
    }
    m.noneWidth = CheckTextOffset(dpi) + TextWidth(font, Label(s, TextId::NoneChoice)) + Scale(4, dpi);
    m.arrowWidth = ArrowWidth(s);
    m.openBackupWidth = TextWidth(font, Label(s, TextId::OpenBackupFolder));
    const SettingsWindow* self = &s;
    m.checkHeight = [self](SettingsControl control, int width) {
        return WrappedTextHeight(self->font.Get(), Label(*self, LabelOf(control)), width);
    };
    m.textHeight = [self](SettingsText text, int width) {
        if (IsValue(text) || IsCount(text)) return self->look.lineHeight;
        return WrappedTextHeight(IsHeading(text) ? self->bold.Get() : self->font.Get(), Label(*self, TextOf(text)),
                                 width);
    };
    return m;
}

// ---- combo boxes ----------------------------------------------------------------------------

std::vector<std::u16string> ComboEntries(const SettingsWindow& s, SettingsControl control) {
    const auto labels = [&s](std::initializer_list<TextId> ids) {
        std::vector<std::u16string> entries;
        for (const TextId id : ids) entries.push_back(Label(s, id));
        return entries;
    };
    switch (control) {
    case SettingsControl::Language: {
        std::vector<std::u16string> entries {Label(s, TextId::WindowsDisplayLanguage)};
        for (int entry = 1; entry < kLanguageEntryCount; ++entry) entries.emplace_back(LanguageEntryName(entry));
        return entries;
    }
    case SettingsControl::Theme: return labels({TextId::MatchWindows, TextId::LightTheme, TextId::DarkTheme});
    case SettingsControl::Caret: return labels({TextId::CaretLine, TextId::CaretBlock, TextId::CaretDos});
    case SettingsControl::Font: return labels({TextId::Proportional, TextId::FixedWidth});
    case SettingsControl::Wrap: return labels({TextId::WrapToWindow, TextId::DontWrap});
    case SettingsControl::Marker: return labels({TextId::DividerLine, TextId::HeadingLine});
    default: return {};
    }
}

int VisibleEntries(SettingsControl control) {
    return control == SettingsControl::Language ? kLanguageEntryCount : 8;
}

int ListItemHeight(const SettingsWindow& s, SettingsControl control) {
    return control == SettingsControl::Language ? s.look.lineHeight + Scale(2, DpiOf(s)) : s.controlHeight;
}

int DroppedHeight(const SettingsWindow& s, SettingsControl control) {
    const int entries = static_cast<int>(::SendMessageW(ControlOf(s, control), CB_GETCOUNT, 0, 0));
    return std::min(entries, VisibleEntries(control)) * ListItemHeight(s, control) + Scale(4, DpiOf(s));
}

// The closed field is C high: its item height less what the combo adds around it.
void FitComboHeights(SettingsWindow& s) {
    for (int i = 0; i < kSettingsControlCount; ++i) {
        const auto control = static_cast<SettingsControl>(i);
        HWND combo = ControlOf(s, control);
        if (KindOf(control) != Kind::Combo || combo == nullptr) continue;
        ::SendMessageW(combo, CB_SETITEMHEIGHT, 0, ListItemHeight(s, control));
        int field = s.controlHeight - Scale(6, DpiOf(s));
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        RECT rect {};
        ::GetWindowRect(combo, &rect);
        const int around = (rect.bottom - rect.top) - field;
        field = std::max(1, s.controlHeight - around);
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        ::SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(VisibleEntries(control)), 0);
    }
}

int WidestEntry(const SettingsWindow& s) {
    int widest = 0;
    for (int i = 0; i < kSettingsControlCount; ++i) {
        for (const std::u16string& entry : ComboEntries(s, static_cast<SettingsControl>(i))) {
            widest = std::max(widest, TextWidth(s.font.Get(), entry));
        }
    }
    return widest;
}

// ---- values ---------------------------------------------------------------------------------

int Selection(const SettingsWindow& s, SettingsControl control) {
    return static_cast<int>(::SendMessageW(ControlOf(s, control), CB_GETCURSEL, 0, 0));
}

void Select(SettingsWindow& s, SettingsControl control, int index) {
    ::SendMessageW(ControlOf(s, control), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SliderPosition(const SettingsWindow& s, SettingsControl control) {
    return static_cast<int>(::SendMessageW(ControlOf(s, control), TBM_GETPOS, 0, 0));
}

bool Checked(const SettingsWindow& s, SettingsControl control) {
    return IsChecked(ControlOf(s, control));
}

HWND TextWindow(const SettingsWindow& s, SettingsText text) {
    return s.texts[static_cast<std::size_t>(text)];
}

void UpdateSliderTexts(SettingsWindow& s) {
    const auto opacity = static_cast<unsigned>(SliderPosition(s, SettingsControl::Opacity));
    SetText(TextWindow(s, SettingsText::OpacityValue), DecimalText(opacity) + u"%");
    const int points = FontSizePoints(SliderPosition(s, SettingsControl::FontSize));
    SetText(TextWindow(s, SettingsText::FontSizeValue), DecimalText(static_cast<unsigned>(points)) + u" pt");
}

void UpdateCounts(SettingsWindow& s) {
    SetText(TextWindow(s, SettingsText::DividerCount),
            CountText(s, MarkerCharacterCount(WindowTextOf(ControlOf(s, SettingsControl::Divider)))));
    SetText(TextWindow(s, SettingsText::HeadingCount),
            CountText(s, MarkerCharacterCount(WindowTextOf(ControlOf(s, SettingsControl::Heading)))));
}

struct NumberBox {
    SettingsControl box;
    int emptyValue;
    int min;
    int max;
};
constexpr NumberBox kNumberBoxes[] = {
    {SettingsControl::Interval, kIntervalEmpty, kIntervalMin, kIntervalMax},
    {SettingsControl::Generations, kGenerationsEmpty, kGenerationsMin, kGenerationsMax},
};

HWND ArrowsOf(const SettingsWindow& s, SettingsControl box) {
    return box == SettingsControl::Interval ? s.intervalArrows : s.generationsArrows;
}

int NumberIn(const SettingsWindow& s, const NumberBox& number) {
    return BoxNumber(WindowTextOf(ControlOf(s, number.box)), number.emptyValue, number.min, number.max);
}

void ShowNumber(SettingsWindow& s, const NumberBox& number, int value) {
    SetText(ControlOf(s, number.box), DecimalText(static_cast<unsigned>(value)));
    ::SendMessageW(ArrowsOf(s, number.box), UDM_SETPOS32, 0, value);
}

// Leaving a number box clamps both; an empty one takes its default.
void ClampNumbers(SettingsWindow& s) {
    for (const NumberBox& number : kNumberBoxes) ShowNumber(s, number, NumberIn(s, number));
}

void LoadValues(SettingsWindow& s) {
    const SettingsCopy& copy = *s.copy;
    Select(s, SettingsControl::Language, LanguageEntryFor(copy.language));
    Select(s, SettingsControl::Theme, copy.theme == 1 || copy.theme == 2 ? copy.theme : 0);
    Select(s, SettingsControl::Caret, copy.caretStyle == 1 || copy.caretStyle == 2 ? copy.caretStyle : 0);
    Select(s, SettingsControl::Font, copy.fixedPitch ? 1 : 0);
    Select(s, SettingsControl::Wrap, copy.noWrap ? 1 : 0);
    Select(s, SettingsControl::Marker, copy.headingRole ? 1 : 0);

    HWND opacity = ControlOf(s, SettingsControl::Opacity);
    ::SendMessageW(opacity, TBM_SETRANGE, FALSE, MAKELPARAM(60, 100));
    ::SendMessageW(opacity, TBM_SETPAGESIZE, 0, 5);
    ::SendMessageW(opacity, TBM_SETPOS, TRUE, ClampSettingsOpacity(copy.opacity));
    HWND fontSize = ControlOf(s, SettingsControl::FontSize);
    ::SendMessageW(fontSize, TBM_SETRANGE, FALSE, MAKELPARAM(0, kFontSizePositions - 1));
    ::SendMessageW(fontSize, TBM_SETPAGESIZE, 0, 2);
    ::SendMessageW(fontSize, TBM_SETPOS, TRUE, FontSizePosition(copy.fontSizeStep));

    SetChecked(ControlOf(s, SettingsControl::LineNumbers), copy.lineNumbers);
    SetChecked(ControlOf(s, SettingsControl::Highlight), copy.lineHighlight);
    SetChecked(ControlOf(s, SettingsControl::Underline), copy.lineUnderline);
    SetChecked(ControlOf(s, SettingsControl::Sidebar), copy.sidebar);
    SetChecked(ControlOf(s, SettingsControl::FoldMemos), copy.foldMemos);
    SetChecked(ControlOf(s, SettingsControl::CloseOnFocusLost), copy.closeOnFocusLost);
    SetChecked(ControlOf(s, SettingsControl::RunAtStartup), copy.runAtStartup);
    SetChecked(ControlOf(s, SettingsControl::PhoneSync), copy.phoneSync);

    for (const SettingsControl box : {SettingsControl::Divider, SettingsControl::Heading}) {
        ::SendMessageW(ControlOf(s, box), EM_LIMITTEXT, kMarkerBoxLimit, 0);
    }
    SetText(ControlOf(s, SettingsControl::Divider), copy.dividerText);
    SetText(ControlOf(s, SettingsControl::Heading), copy.headingText);
    ::SendMessageW(ControlOf(s, SettingsControl::Interval), EM_LIMITTEXT, kIntervalDigits, 0);
    ::SendMessageW(ControlOf(s, SettingsControl::Generations), EM_LIMITTEXT, kGenerationsDigits, 0);
    ::SendMessageW(s.intervalArrows, UDM_SETRANGE32, kIntervalMin, kIntervalMax);
    ::SendMessageW(s.generationsArrows, UDM_SETRANGE32, kGenerationsMin, kGenerationsMax);
    ShowNumber(s, kNumberBoxes[0], std::clamp(copy.backupInterval, kIntervalMin, kIntervalMax));
    ShowNumber(s, kNumberBoxes[1], std::clamp(copy.backupGenerations, kGenerationsMin, kGenerationsMax));

    const bool none = copy.hotkey.key == 0;
    SetChecked(ControlOf(s, SettingsControl::NoHotkey), none);
    ::EnableWindow(ControlOf(s, SettingsControl::Hotkey), none ? FALSE : TRUE);
    LoadHotkeyCapture(s.capture, copy.hotkey);
    UpdateSliderTexts(s);
    UpdateCounts(s);
}

void StoreValues(SettingsWindow& s) {
    SettingsCopy& copy = *s.copy;
    copy.theme = std::clamp(Selection(s, SettingsControl::Theme), 0, 2);
    copy.language = LanguageToStore(std::max(0, Selection(s, SettingsControl::Language)), copy.language);
    copy.opacity = SliderPosition(s, SettingsControl::Opacity);
    copy.fontSizeStep = FontSizeStepAt(SliderPosition(s, SettingsControl::FontSize));
    copy.lineNumbers = Checked(s, SettingsControl::LineNumbers);
    copy.lineHighlight = Checked(s, SettingsControl::Highlight);
    copy.lineUnderline = Checked(s, SettingsControl::Underline);
    copy.sidebar = Checked(s, SettingsControl::Sidebar);
    copy.foldMemos = Checked(s, SettingsControl::FoldMemos);
    copy.closeOnFocusLost = Checked(s, SettingsControl::CloseOnFocusLost);
    copy.runAtStartup = Checked(s, SettingsControl::RunAtStartup);
    copy.phoneSync = Checked(s, SettingsControl::PhoneSync);
    copy.fixedPitch = Selection(s, SettingsControl::Font) == 1;
    copy.noWrap = Selection(s, SettingsControl::Wrap) == 1;
    copy.caretStyle = std::clamp(Selection(s, SettingsControl::Caret), 0, 2);
    copy.headingRole = Selection(s, SettingsControl::Marker) == 1;
    copy.dividerText = MarkerFromBox(WindowTextOf(ControlOf(s, SettingsControl::Divider)), kDefaultSeparatorLine);
    copy.headingText = MarkerFromBox(WindowTextOf(ControlOf(s, SettingsControl::Heading)), kDefaultHeadingLine);
    copy.backupInterval = NumberIn(s, kNumberBoxes[0]);
    copy.backupGenerations = NumberIn(s, kNumberBoxes[1]);
    copy.hotkey = HotkeyToStore(Checked(s, SettingsControl::NoHotkey), s.capture.state.current);
}

// ---- look ---------------------------------------------------------------------------------

void ApplyLook(SettingsWindow& s, bool dark) {
    s.look.dark = dark;
    s.look.colours = SettingsColours(dark);
    s.background.Reset(::CreateSolidBrush(Ref(s.look.colours.background)));
    s.input.Reset(::CreateSolidBrush(Ref(s.look.colours.input)));
    StyleDialogWindow(s.window, dark);
    if (s.scrollBar != nullptr) ::SetWindowTheme(s.scrollBar, dark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
    for (const SettingsControl push : {SettingsControl::OpenBackup, SettingsControl::Ok, SettingsControl::Cancel}) {
        AddPushFocusRing(ControlOf(s, push), s.look.colours.accent);
    }
    ::RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// "Match Windows" previews the system's choice; the panel changes only after OK.
void PreviewTheme(SettingsWindow& s) {
    const int selected = Selection(s, SettingsControl::Theme);
    ApplyLook(s, selected == 2 || (selected == 0 && s.request->systemDark));
}

void SetFonts(SettingsWindow& s) {
    const auto set = [](HWND window, HFONT font) {
        if (window != nullptr) ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    for (HWND control : s.controls) set(control, s.font.Get());
    for (int i = 0; i < kSettingsTextCount; ++i) {
        const bool heading = IsHeading(static_cast<SettingsText>(i));
        set(s.texts[static_cast<std::size_t>(i)], heading ? s.bold.Get() : s.font.Get());
    }
}

// ---- layout and scrolling --------------------------------------------------------------------

int BarHeight(const SettingsWindow& s) {
    return Scale(kButtonBarHeight, DpiOf(s));
}

int BodyHeight(const SettingsWindow& s) {
    RECT client {};
    ::GetClientRect(s.window, &client);
    return std::max(1, static_cast<int>(client.bottom) - BarHeight(s));
}

Rect Shifted(const SettingsWindow& s, const Rect& rect) {
    return Rect {rect.left, rect.top - s.scroll, rect.right, rect.bottom - s.scroll};
}

// Where a box's edit sits inside its frame.
Rect EditRectIn(const SettingsWindow& s, SettingsControl control, const Rect& frame) {
    const int dpi = DpiOf(s);
    const int height = s.look.lineHeight + Scale(2, dpi);
    const int top = frame.top + (frame.Height() - height) / 2;
    int right = frame.right - Scale(8, dpi);
    if (control == SettingsControl::Interval || control == SettingsControl::Generations) {
        right = frame.right - ArrowWidth(s) - Scale(4, dpi);
    }
    return Rect {frame.left + Scale(8, dpi), top, std::max(frame.left + Scale(8, dpi) + 1, right), top + height};
}

void PlaceChildren(SettingsWindow& s) {
    HDWP batch = ::BeginDeferWindowPos(kSettingsControlCount + kSettingsTextCount + 2);
    const auto put = [&batch](HWND window, const Rect& rect) {
        if (window == nullptr) return;
        constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (batch != nullptr) {
            batch = ::DeferWindowPos(batch, window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), kFlags);
        }
        if (batch == nullptr) ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), kFlags);
    };
    for (int i = 0; i < kSettingsControlCount; ++i) {
        const auto control = static_cast<SettingsControl>(i);
        if (control == SettingsControl::Ok || control == SettingsControl::Cancel) continue;
        Rect rect = Shifted(s, s.layout.controls[static_cast<std::size_t>(i)]);
        switch (KindOf(control)) {
        case Kind::Combo:
            rect.bottom += DroppedHeight(s, control);
            break;
        case Kind::Box:
            rect = EditRectIn(s, control, rect);
            break;
        default:
            break;
        }
        put(ControlOf(s, control), rect);
    }
    for (int i = 0; i < kSettingsTextCount; ++i) {
        put(s.texts[static_cast<std::size_t>(i)], Shifted(s, s.layout.texts[static_cast<std::size_t>(i)]));
    }
    put(s.intervalArrows, Shifted(s, s.layout.intervalArrows));
    put(s.generationsArrows, Shifted(s, s.layout.generationsArrows));
    if (batch != nullptr) ::EndDeferWindowPos(batch);
    const int thumb = 2 * std::max(Scale(7, DpiOf(s)), 6) + 2;
    for (const SettingsControl slider : {SettingsControl::Opacity, SettingsControl::FontSize}) {
        ::SendMessageW(ControlOf(s, slider), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumb), 0);
    }
}

void UpdateScrollBar(SettingsWindow& s, int clientWidth, int bodyHeight) {
    if (s.scrollBar == nullptr) return;
    if (!s.layout.scrolls) {
        ::ShowWindow(s.scrollBar, SW_HIDE);
        return;
    }
    const int width = ScrollBarWidth(s);
    ::SetWindowPos(s.scrollBar, HWND_TOP, clientWidth - width, 0, width, bodyHeight, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, s.layout.contentHeight - 1);
    info.nPage = static_cast<UINT>(bodyHeight);
    info.nPos = s.scroll;
    ::SetScrollInfo(s.scrollBar, SB_CTL, &info, TRUE);
    ::EnableWindow(s.scrollBar, TRUE);
}

void Layout(SettingsWindow& s) {
    if (s.body == nullptr || ControlOf(s, SettingsControl::Cancel) == nullptr) return;
    RECT client {};
    ::GetClientRect(s.window, &client);
    const int bodyHeight = BodyHeight(s);
    ::SetWindowPos(s.body, nullptr, 0, 0, client.right, bodyHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    s.layout = LayoutSettingsBody(Measures(s), client.right, bodyHeight);
    s.scroll = ClampScroll(s.scroll, s.layout.contentHeight, bodyHeight);
    UpdateScrollBar(s, client.right, bodyHeight);
    PlaceChildren(s);
    const int buttonText = std::max(TextWidth(s.font.Get(), Label(s, TextId::OkButton)),
                                    TextWidth(s.font.Get(), Label(s, TextId::CancelButton)));
    const SettingsBar bar = LayoutSettingsBar({client.right, client.bottom}, s.controlHeight, buttonText, DpiOf(s));
    const auto place = [&s](SettingsControl control, const Rect& rect) {
        ::SetWindowPos(ControlOf(s, control), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(SettingsControl::Ok, bar.ok);
    place(SettingsControl::Cancel, bar.cancel);
    ::InvalidateRect(s.window, nullptr, TRUE);
    ::InvalidateRect(s.body, nullptr, TRUE);
}

void ScrollTo(SettingsWindow& s, int offset) {
    const int clamped = ClampScroll(offset, s.layout.contentHeight, BodyHeight(s));
    if (clamped == s.scroll) return;
    s.scroll = clamped;
    PlaceChildren(s);
    if (s.scrollBar != nullptr) ::SetScrollPos(s.scrollBar, SB_CTL, s.scroll, TRUE);
    ::RedrawWindow(s.body, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The control that holds a window: itself, or the control it belongs to.
std::optional<SettingsControl> ControlHolding(const SettingsWindow& s, HWND window) {
    if (window == nullptr) return std::nullopt;
    for (int i = 0; i < kSettingsControlCount; ++i) {
        HWND control = s.controls[static_cast<std::size_t>(i)];
        if (control != nullptr && (control == window || ::IsChild(control, window))) {
            return static_cast<SettingsControl>(i);
        }
    }
    if (window == s.intervalArrows) return SettingsControl::Interval;
    if (window == s.generationsArrows) return SettingsControl::Generations;
    return std::nullopt;
}

void ShowFocused(SettingsWindow& s) {
    const std::optional<SettingsControl> control = ControlHolding(s, ::GetFocus());
    if (!control || *control == SettingsControl::Ok || *control == SettingsControl::Cancel) return;
    const Rect& rect = s.layout.controls[static_cast<std::size_t>(*control)];
    ScrollTo(s, ScrollToShow(s.scroll, rect, BodyHeight(s), DpiOf(s)));
}

void OnVScroll(SettingsWindow& s, WPARAM wParam) {
    const int body = BodyHeight(s);
    const int dpi = DpiOf(s);
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollTo(s, ScrollBy(s.scroll, ScrollRequest::LineUp, body, dpi)); break;
    case SB_LINEDOWN: ScrollTo(s, ScrollBy(s.scroll, ScrollRequest::LineDown, body, dpi)); break;
    case SB_PAGEUP: ScrollTo(s, ScrollBy(s.scroll, ScrollRequest::PageUp, body, dpi)); break;
    case SB_PAGEDOWN: ScrollTo(s, ScrollBy(s.scroll, ScrollRequest::PageDown, body, dpi)); break;
    case SB_TOP: ScrollTo(s, 0); break;
    case SB_BOTTOM: ScrollTo(s, ScrollBy(s.scroll, ScrollRequest::Bottom, body, dpi)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(s.scrollBar, SB_CTL, &info);
        ScrollTo(s, info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

// ---- closing -----------------------------------------------------------------------------------

void Close(SettingsWindow& s) {
    // The owner first: a modal window that goes while its owner is disabled
    // hands the activation to another program.
    if (s.request->owner != nullptr) ::EnableWindow(s.request->owner, TRUE);
    if (s.window != nullptr) ::DestroyWindow(s.window);
}

void Confirm(SettingsWindow& s) {
    EndHotkeyCapture(s.capture, false);
    ClampNumbers(s);
    StoreValues(s);
    s.result = true;
    Close(s);
}

void OpenBackupFolder(const SettingsWindow& s) {
    const std::u16string& folder = s.request->backupFolder;
    if (folder.empty()) return;
    ::CreateDirectoryW(WidePtr(folder), nullptr);
    ::ShellExecuteW(s.window, L"explore", WidePtr(folder), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- commands ----------------------------------------------------------------------------------

void OnCommand(SettingsWindow& s, int id, int code) {
    const int index = id - kSettingsFirstId;
    if (index < 0 || index >= kSettingsControlCount) return;
    const auto control = static_cast<SettingsControl>(index);
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    switch (KindOf(control)) {
    case Kind::Push:
        if (!clicked) return;
        if (control == SettingsControl::Ok) Confirm(s);
        if (control == SettingsControl::Cancel) Close(s);
        if (control == SettingsControl::OpenBackup) OpenBackupFolder(s);
        return;
    case Kind::Capture:
        if (clicked) StartHotkeyCapture(s.capture);
        return;
    case Kind::Check: {
        if (!clicked) return;
        HWND check = ControlOf(s, control);
        SetChecked(check, !IsChecked(check));
        if (control == SettingsControl::NoHotkey) {
            const bool none = IsChecked(check);
            if (none) EndHotkeyCapture(s.capture, false);
            ::EnableWindow(ControlOf(s, SettingsControl::Hotkey), none ? FALSE : TRUE);
        }
        return;
    }
    case Kind::Combo:
        if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) ::InvalidateRect(ControlOf(s, control), nullptr, FALSE);
        if (code == CBN_SELCHANGE && control == SettingsControl::Theme) PreviewTheme(s);
        return;
    case Kind::Box:
        if (code == EN_CHANGE) UpdateCounts(s);
        if (code == EN_SETFOCUS || code == EN_KILLFOCUS) ::InvalidateRect(s.body, nullptr, FALSE);
        if (code == EN_KILLFOCUS && (control == SettingsControl::Interval || control == SettingsControl::Generations)) {
            ClampNumbers(s);
        }
        return;
    case Kind::Slider:
        return;
    }
}

// An arrow steps from the box's clamped value, within its range.
LRESULT OnArrows(SettingsWindow& s, const NMUPDOWN& change) {
    for (const NumberBox& number : kNumberBoxes) {
        if (change.hdr.hwndFrom != ArrowsOf(s, number.box)) continue;
        const int value = std::clamp(NumberIn(s, number) + change.iDelta, number.min, number.max);
        ShowNumber(s, number, value);
        return TRUE;
    }
    return FALSE;
}

void OnDrawItem(SettingsWindow& s, const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kSettingsFirstId;
    if (index < 0 || index >= kSettingsControlCount) return;
    const auto control = static_cast<SettingsControl>(index);
    switch (KindOf(control)) {
    case Kind::Combo: DrawComboItem(item, s.look); break;
    case Kind::Check: DrawCheckBox(item, s.look); break;
    case Kind::Push: DrawPushButton(item, s.look, control == SettingsControl::Ok); break;
    case Kind::Capture:
        DrawCaptureButton(item, s.look, s.capture.state.capturing, HotkeyCaptureText(s.capture));
        break;
    default: break;
    }
}

void OnMeasureItem(SettingsWindow& s, MEASUREITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kSettingsFirstId;
    if (index < 0 || index >= kSettingsControlCount) return;
    const auto control = static_cast<SettingsControl>(index);
    item.itemHeight = static_cast<UINT>(item.itemID == static_cast<UINT>(-1) ? s.controlHeight - Scale(6, DpiOf(s))
                                                                               : ListItemHeight(s, control));
}

// ---- painting ----------------------------------------------------------------------------------

bool BoxHasFocus(const SettingsWindow& s, SettingsControl box) {
    return ControlHolding(s, ::GetFocus()) == box;
}

void PaintBody(SettingsWindow& s) {
    PaintDc paint(s.body);
    RECT client {};
    ::GetClientRect(s.body, &client);
    FillSolid(paint.Get(), client, s.look.colours.background);
    constexpr SettingsControl kBoxes[] = {SettingsControl::Divider, SettingsControl::Heading,
                                          SettingsControl::Interval, SettingsControl::Generations};
    for (const SettingsControl box : kBoxes) {
        const Rect frame = Shifted(s, s.layout.controls[static_cast<std::size_t>(box)]);
        DrawBoxBackground(paint.Get(), frame, BoxHasFocus(s, box), s.look);
    }
}

void EraseWindow(SettingsWindow& s, HDC dc) {
    RECT client {};
    ::GetClientRect(s.window, &client);
    FillSolid(dc, client, s.look.colours.background);
    const int top = client.bottom - BarHeight(s);
    FillSolid(dc, RECT {0, top, client.right, top + std::max(1, Scale(1, DpiOf(s)))}, s.look.colours.border);
}

LRESULT OnControlColour(SettingsWindow& s, UINT message, HDC dc, HWND control) {
    const SettingsPalette& colours = s.look.colours;
    if (message == WM_CTLCOLORSTATIC) {
        bool secondary = false;
        for (const SettingsText count : {SettingsText::DividerCount, SettingsText::HeadingCount}) {
            secondary = secondary || control == TextWindow(s, count);
        }
        ::SetBkMode(dc, TRANSPARENT);
        ::SetBkColor(dc, Ref(colours.background));
        ::SetTextColor(dc, Ref(secondary ? colours.secondary : colours.text));
        return reinterpret_cast<LRESULT>(s.background.Get());
    }
    ::SetBkColor(dc, Ref(colours.input));
    ::SetTextColor(dc, Ref(colours.text));
    return reinterpret_cast<LRESULT>(s.input.Get());
}

// ---- window procedures ---------------------------------------------------------------------------

// What the body and the window both answer: their children's notifications.
std::optional<LRESULT> OnChildMessage(SettingsWindow& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(s, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(s, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem(s, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return OnControlColour(s, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HSCROLL:
        UpdateSliderTexts(s);
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS) {
            return OnArrows(s, *reinterpret_cast<const NMUPDOWN*>(lParam));
        }
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT CALLBACK BodyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* s = WindowRecord<SettingsWindow>(hwnd, message, lParam);
    if (s == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (const std::optional<LRESULT> result = OnChildMessage(*s, message, wParam, lParam)) return *result;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintBody(*s);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND FirstControl(const SettingsWindow& s) {
    for (HWND control : s.controls) {
        if (control != nullptr && ::IsWindowEnabled(control) && ::IsWindowVisible(control)) return control;
    }
    return nullptr;
}

void OnActivate(SettingsWindow& s, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (::IsChild(s.window, focus)) s.lastFocus = focus;
        return;
    }
    const bool valid = s.lastFocus != nullptr && ::IsWindow(s.lastFocus) && ::IsChild(s.window, s.lastFocus) &&
                       ::IsWindowEnabled(s.lastFocus);
    ::SetFocus(valid ? s.lastFocus : FirstControl(s));
}

void OnDpiChanged(SettingsWindow& s, WPARAM wParam, LPARAM lParam) {
    const int oldDpi = DpiOf(s);
    s.look.dpi = std::max(1, static_cast<int>(LOWORD(wParam)));
    BuildFonts(s);
    SetFonts(s);
    FitComboHeights(s);
    s.scroll = ::MulDiv(s.scroll, s.look.dpi, std::max(1, oldDpi));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(s.window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(s);
}

LRESULT CALLBACK SettingsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* s = WindowRecord<SettingsWindow>(hwnd, message, lParam);
    if (s == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (const std::optional<LRESULT> result = OnChildMessage(*s, message, wParam, lParam)) return *result;
    switch (message) {
    case WM_ERASEBKGND:
        EraseWindow(*s, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SIZE:
        Layout(*s);
        return 0;
    case WM_VSCROLL:
        OnVScroll(*s, wParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(*s, wParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_SIZE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_RESTORE:
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        Close(*s);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(*s, wParam, lParam);
        return 0;
    case WM_DESTROY:
        // Closing ends a capture without reverting it.
        EndHotkeyCapture(s->capture, false);
        s->closed = true;
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        s->window = nullptr;
        s->body = nullptr;
        s->capture.button = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- creation ------------------------------------------------------------------------------------

HWND MakeChild(SettingsWindow& s, HWND parent, const wchar_t* className, const std::u16string& text, DWORD style,
               int id) {
    return ::CreateWindowExW(0, className, WidePtr(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), s.request->instance, nullptr);
}

bool CreateControls(SettingsWindow& s) {
    for (int i = 0; i < kSettingsControlCount; ++i) {
        const auto control = static_cast<SettingsControl>(i);
        const int id = SettingsControlId(control);
        const bool inBar = control == SettingsControl::Ok || control == SettingsControl::Cancel;
        HWND parent = inBar ? s.window : s.body;
        HWND& window = s.controls[static_cast<std::size_t>(i)];
        switch (KindOf(control)) {
        case Kind::Combo:
            window = MakeChild(s, parent, L"COMBOBOX", u"",
                               WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, id);
            if (window != nullptr) {
                for (const std::u16string& entry : ComboEntries(s, control)) {
                    ::SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(entry)));
                }
                StyleCombo(window, &s.look);
            }
            break;
        case Kind::Slider:
            window = MakeChild(s, parent, TRACKBAR_CLASSW, u"",
                               WS_TABSTOP | TBS_HORZ | TBS_NOTICKS | TBS_BOTH | TBS_FIXEDLENGTH, id);
            StyleSlider(window, &s.look);
            break;
        case Kind::Box: {
            const bool number = control == SettingsControl::Interval || control == SettingsControl::Generations;
            window = MakeChild(s, parent, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL | (number ? ES_NUMBER : 0), id);
            if (window != nullptr) ::SendMessageW(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
            break;
        }
        case Kind::Capture:
            window = MakeChild(s, parent, L"BUTTON", u"", WS_TABSTOP | BS_OWNERDRAW, id);
            s.capture.button = window;
            break;
        case Kind::Push:
            window = MakeChild(s, parent, L"BUTTON", Label(s, LabelOf(control)), WS_TABSTOP | BS_OWNERDRAW, id);
            break;
        case Kind::Check:
            window = MakeChild(s, parent, L"BUTTON", Label(s, LabelOf(control)), WS_TABSTOP | BS_OWNERDRAW, id);
            MakeCheckBox(window);
            break;
        }
        if (window == nullptr) return false;
    }
    for (int i = 0; i < kSettingsTextCount; ++i) {
        const auto text = static_cast<SettingsText>(i);
        const DWORD align = IsCount(text) ? SS_RIGHT : IsValue(text) ? SS_RIGHT : SS_LEFT;
        const std::u16string label = IsCount(text) || IsValue(text) ? std::u16string() : Label(s, TextOf(text));
        s.texts[static_cast<std::size_t>(i)] =
            MakeChild(s, s.body, L"STATIC", label, align | SS_NOPREFIX, kFirstTextId + i);
    }
    s.intervalArrows = MakeChild(s, s.body, UPDOWN_CLASSW, u"", 0, kIntervalArrowsId);
    s.generationsArrows = MakeChild(s, s.body, UPDOWN_CLASSW, u"", 0, kGenerationsArrowsId);
    StyleArrows(s.intervalArrows, &s.look);
    StyleArrows(s.generationsArrows, &s.look);
    s.scrollBar = MakeChild(s, s.window, L"SCROLLBAR", u"", SBS_VERT, kScrollBarId);
    if (s.scrollBar != nullptr) ::ShowWindow(s.scrollBar, SW_HIDE);
    return true;
}

void TrimSystemMenu(HWND window) {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    for (const UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
        ::DeleteMenu(menu, command, MF_BYCOMMAND);
    }
    // Move, a separator, Close: whatever else the system put between them goes.
    const int count = ::GetMenuItemCount(menu);
    for (int i = count - 1; i >= 0; --i) {
        const UINT id = ::GetMenuItemID(menu, i);
        if (id != SC_MOVE && id != SC_CLOSE) ::DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    if (::GetMenuItemCount(menu) == 2) ::InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void SetIcons(SettingsWindow& s) {
    const auto load = [&s](int metricX, int metricY) {
        return static_cast<HICON>(::LoadImageW(s.request->instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                               ::GetSystemMetrics(metricX), ::GetSystemMetrics(metricY), 0));
    };
    s.bigIcon.Reset(load(SM_CXICON, SM_CYICON));
    s.smallIcon.Reset(load(SM_CXSMICON, SM_CYSMICON));
    if (s.bigIcon) ::SendMessageW(s.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(s.bigIcon.Get()));
    if (s.smallIcon) ::SendMessageW(s.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(s.smallIcon.Get()));
}

// The owner's monitor when it is on screen, else the one under the pointer.
HMONITOR MonitorFor(HWND owner) {
    if (owner != nullptr && ::IsWindowVisible(owner)) return ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    POINT cursor {};
    ::GetCursorPos(&cursor);
    return ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
}

bool RegisterClasses(HINSTANCE instance) {
    return RegisterWindowClass(instance, kSettingsClassName, SettingsProc) &&
           RegisterWindowClass(instance, kSettingsBodyClassName, BodyProc);
}

bool CreateSettingsWindow(SettingsWindow& s) {
    const SettingsRequest& request = *s.request;
    const HMONITOR monitor = MonitorFor(request.owner);
    s.look.dpi = MonitorDpi(monitor);
    s.capture.language = request.language;
    BuildFonts(s);
    const bool ownerShown = request.owner != nullptr && ::IsWindowVisible(request.owner);
    const std::u16string title = Label(s, TextId::SettingsTitle);
    // Without a visible owner the window needs a taskbar button of its own to be found.
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (ownerShown ? 0 : WS_EX_APPWINDOW);
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    s.window = ::CreateWindowExW(exStyle, kSettingsClassName, WidePtr(title), kStyle, 0, 0, Scale(780, s.look.dpi),
                                 Scale(kInitialHeight, s.look.dpi), request.owner, nullptr, request.instance, &s);
    if (s.window == nullptr) return false;
    s.body = ::CreateWindowExW(WS_EX_CONTROLPARENT, kSettingsBodyClassName, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, s.window, nullptr,
                               request.instance, &s);
    if (s.body == nullptr || !CreateControls(s)) return false;
    SetFonts(s);
    FitComboHeights(s);
    LoadValues(s);
    SetIcons(s);
    TrimSystemMenu(s.window);
    ApplyLook(s, request.dark);

    // The width the widest entry needs; the height the content needs.
    const int width = SettingsClientWidth(DpiOf(s), WidestEntry(s), ArrowWidth(s));
    const SettingsLayout natural = LayoutSettingsBody(Measures(s), width, INT_MAX / 4);
    const int height = natural.contentHeight + BarHeight(s);
    RECT window {};
    RECT client {};
    ::GetWindowRect(s.window, &window);
    ::GetClientRect(s.window, &client);
    const Size frame {(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    std::optional<Rect> owner;
    if (ownerShown) {
        RECT ownerRect {};
        ::GetWindowRect(request.owner, &ownerRect);
        owner = FromRECT(ownerRect);
    }
    const Rect place = PlaceSettingsWindow({width + frame.width, height + frame.height}, owner, WorkAreaOf(monitor),
                                           DpiOf(s));
    ::SetWindowPos(s.window, nullptr, place.left, place.top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(s);
    return true;
}

// ---- the modal loop --------------------------------------------------------------------------------

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
           (message >= WM_NCXBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK) || message == WM_HOTKEY;
}

bool IsPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool IsFramePress(UINT message) {
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

// The window itself, its children, and windows it owns.
bool BelongsToSettings(const SettingsWindow& s, HWND window) {
    if (window == nullptr || s.window == nullptr) return false;
    if (window == s.window || ::IsChild(s.window, window)) return true;
    for (HWND owner = ::GetAncestor(window, GA_ROOT); owner != nullptr; owner = ::GetWindow(owner, GW_OWNER)) {
        if (owner == s.window) return true;
    }
    return false;
}

bool AnyListOpen(const SettingsWindow& s) {
    for (int i = 0; i < kSettingsControlCount; ++i) {
        const auto control = static_cast<SettingsControl>(i);
        if (KindOf(control) == Kind::Combo && ::SendMessageW(ControlOf(s, control), CB_GETDROPPEDSTATE, 0, 0) != 0) {
            return true;
        }
    }
    return false;
}

// Tab and Shift+Tab through the controls in their order, wrapping around.
void MoveFocus(SettingsWindow& s, int step) {
    const std::optional<SettingsControl> current = ControlHolding(s, ::GetFocus());
    int index = current ? static_cast<int>(*current) : (step > 0 ? -1 : 0);
    for (int tried = 0; tried < kSettingsControlCount; ++tried) {
        index = (index + step + kSettingsControlCount) % kSettingsControlCount;
        HWND next = s.controls[static_cast<std::size_t>(index)];
        if (next == nullptr || !::IsWindowEnabled(next) || !::IsWindowVisible(next)) continue;
        ::SetFocus(next);
        if (KindOf(static_cast<SettingsControl>(index)) == Kind::Box) ::SendMessageW(next, EM_SETSEL, 0, -1);
        ShowFocused(s);
        return;
    }
}

bool Held(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Presses end or start a capture before they reach their window.
void OnPress(SettingsWindow& s, const MSG& message) {
    const bool onCapture = message.hwnd == s.capture.button && IsPress(message.message);
    if (onCapture) {
        StartHotkeyCapture(s.capture);
    } else if (!onCapture && s.capture.state.capturing) {
        EndHotkeyCapture(s.capture, true);
    }
}

// True when the window's own keys took the message.
bool OnWindowKey(SettingsWindow& s, const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    const bool ctrl = Held(VK_CONTROL);
    const bool alt = Held(VK_MENU);
    const bool shift = Held(VK_SHIFT);
    switch (message.wParam) {
    case VK_TAB:
        if (ctrl || alt) return false;
        MoveFocus(s, shift ? -1 : 1);
        return true;
    case VK_RETURN: {
        if (ctrl || alt || shift) return false;
        const std::optional<SettingsControl> focus = ControlHolding(s, ::GetFocus());
        if (focus && KindOf(*focus) == Kind::Push) {
            ::SendMessageW(ControlOf(s, *focus), BM_CLICK, 0, 0);
        } else {
            Confirm(s);
        }
        return true;
    }
    case VK_ESCAPE:
        if (ctrl || alt || shift) return false;
        Close(s);
        return true;
    default:
        return false;
    }
}

void RunModalLoop(SettingsWindow& s) {
    MSG message {};
    while (!s.closed && NextModalMessage(message)) {
        if (AnyListOpen(s)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
            continue;
        }
        const bool ours = BelongsToSettings(s, message.hwnd);
        if (IsInput(message.message) && !ours) continue;
        if (IsPress(message.message) || IsFramePress(message.message)) OnPress(s, message);
        const CaptureMessage captured = HotkeyCaptureKey(s.capture, message);
        if (captured == CaptureMessage::Taken) continue;
        if (OnWindowKey(s, message)) continue;
        if (message.message == WM_MOUSEWHEEL && s.layout.scrolls) {
            ScrollTo(s, ScrollByWheel(s.scroll, GET_WHEEL_DELTA_WPARAM(message.wParam)));
            continue;
        }
        if (s.window != nullptr && ::IsDialogMessageW(s.window, &message)) {
            // The dialog keys may have moved the focus.
        } else {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (!s.closed && ::GetFocus() != s.seenFocus) {
            s.seenFocus = ::GetFocus();
            ShowFocused(s);
        }
    }
}

}  // namespace

HWND FindSettingsWindow() {
    HWND found = ::FindWindowW(kSettingsClassName, nullptr);
    if (found == nullptr || ::GetWindowThreadProcessId(found, nullptr) != ::GetCurrentThreadId()) return nullptr;
    return found;
}

bool OpenSettings(const SettingsRequest& request, SettingsCopy* copy) {
    if (copy == nullptr || FindSettingsWindow() != nullptr) return false;
    if (!RegisterClasses(request.instance)) return false;
    INITCOMMONCONTROLSEX controls {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);
    auto state = std::make_unique<SettingsWindow>();
    SettingsWindow& s = *state;
    s.request = &request;
    s.copy = copy;
    if (!CreateSettingsWindow(s)) {
        if (s.window != nullptr) ::DestroyWindow(s.window);
        return false;
    }
    ::ShowWindow(s.window, SW_SHOW);
    if (request.owner != nullptr) ::EnableWindow(request.owner, FALSE);
    ::SetForegroundWindow(s.window);
    ::SetFocus(FirstControl(s));
    s.seenFocus = ::GetFocus();
    RunModalLoop(s);
    if (s.window != nullptr) Close(s);
    if (request.owner != nullptr) {
        ::EnableWindow(request.owner, TRUE);
        if (::IsWindowVisible(request.owner)) ::SetForegroundWindow(request.owner);
    }
    return s.result;
}

}  // namespace quillpane

// The Scintilla window that holds the memo: its creation, every setting the
// program gives it, its layout, and whole-text access.
#include "editor/editor_host_win.h"
#include "editor/links_win.h"

#include "platform/dpi.h"
#include "editor/editor_paint_win.h"
#include "editor/editor_proc_win.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"
#include "resources/messages.h"

#include <Scintilla.h>
#include <imm.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace quillpane {

static_assert(kIndicPlain == INDIC_PLAIN && kIndicRoundBox == INDIC_ROUNDBOX && kIndicTextFore == INDIC_TEXTFORE);
static_assert(kStyleDefault == STYLE_DEFAULT && kStyleLineNumber == STYLE_LINENUMBER &&
              kStyleFoldDisplayText == STYLE_FOLDDISPLAYTEXT);

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(window, message, wParam, lParam);
}

// The room left below the editor for the status label.
int EditorHeightFor(int areaHeight, int dpi) {
    const int height = areaHeight - Scale(24, dpi);
    return height > 0 ? height : areaHeight;
}

int CALLBACK StopAtFirstFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyExists(std::u16string_view face) {
    LOGFONTW query {};
    query.lfCharSet = DEFAULT_CHARSET;
    const std::size_t length = std::min(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
    std::copy_n(face.data(), length, reinterpret_cast<char16_t*>(query.lfFaceName));
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return false;
    ::EnumFontFamiliesExW(screen, &query, StopAtFirstFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

UniqueFont BuildEditorFont(bool fixedPitch, int step, int dpi) {
    const std::u16string_view face = FontFaceFor(fixedPitch, fixedPitch && FontFamilyExists(kFixedFace));
    const std::wstring faceName = ToWide(face);
    const DWORD pitchAndFamily = fixedPitch ? (FIXED_PITCH | FF_MODERN) : 0;
    return UniqueFont(::CreateFontW(FontHeightFor(FontPointSize(step), dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                    pitchAndFamily, faceName.c_str()));
}

// The face the font was asked for, as the component takes it (UTF-8).
std::string FaceNameOf(HFONT font) {
    LOGFONTW logFont {};
    if (font == nullptr || ::GetObjectW(font, sizeof(logFont), &logFont) == 0) return "Yu Gothic UI";
    return Utf16ToUtf8(FromWide(logFont.lfFaceName));
}

bool FixedPitch(const EditorWindow& ed) {
    return SettingsOf(ed).fontPitch == FontPitch::Fixed;
}

void RebuildFont(EditorWindow& ed) {
    EditorLook& look = ed.look;
    const int dpi = WindowDpiOf(ed.hwnd);
    UniqueFont font = BuildEditorFont(FixedPitch(ed), ed.sizeStep, dpi);
    if (!font) return;  // keep the previous font rather than none
    Send(ed.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    look.font = std::move(font);
    look.fontDpi = dpi;
    ed.dpi = dpi;
}

void SendCreationSettings(EditorWindow& ed, bool wrap) {
    ed.sci.SetCodePage(SC_CP_UTF8);
    ed.sci.SetEOLMode(Scintilla::EndOfLine::CrLf);
    ed.sci.SetUndoCollection(false);
    ed.sci.SetWrapMode(wrap ? Scintilla::Wrap::Word : Scintilla::Wrap::None);
    // Layouts of the lines on screen only: a layout per document line costs
    // memory by the size of the memo and a pass over every line per keystroke.
    ed.sci.SetLayoutCache(Scintilla::LineCache::Page);
    ed.sci.SetBufferedDraw(true);
    ed.sci.SetHScrollBar(!wrap);
    ed.sci.SetScrollWidthTracking(true);
    ed.sci.SetUseTabs(true);
    ed.sci.SetTabWidth(4);
    ed.sci.SetMouseSelectionRectangularSwitch(true);
    ed.sci.SetVirtualSpaceOptions(Scintilla::VirtualSpace::RectangularSelection);
    ed.sci.SetAdditionalSelectionTyping(true);
    ed.sci.SetIMEInteraction(Scintilla::IMEInteraction::Inline);
    ed.sci.UsePopUp(Scintilla::PopUp::Never);
    ed.sci.SetModEventMask(Scintilla::ModificationFlags::InsertText | Scintilla::ModificationFlags::DeleteText);
}

bool ReadImeOpen(HWND editor) {
    HIMC context = ::ImmGetContext(editor);
    if (context == nullptr) return false;
    const bool open = ::ImmGetOpenStatus(context) != FALSE;
    ::ImmReleaseContext(editor, context);
    return open;
}

Colour BandColour(const EditorWindow& ed) {
    return CurrentLineCueColours(IsDark(ed), ed.look.imeOpen, SettingsOf(ed)).band;
}

void SwitchBand(EditorWindow& ed, bool on) {
    if (on) {
        ed.sci.SetCaretLineBack(BandColour(ed));
        ed.sci.SetCaretLineBackAlpha(Scintilla::Alpha::NoAlpha);
        ed.sci.SetCaretLineVisible(true);
        // The band stays while the editor has no focus.
        ed.sci.SetCaretLineVisibleAlways(true);
    } else {
        ed.sci.SetCaretLineVisible(false);
        ed.sci.SetCaretLineVisibleAlways(false);
    }
    ed.look.bandOn = on;
}

bool SelectionEmpty(EditorWindow& ed) {
    return ed.sci.SelectionEmpty();
}

void StyleFont(EditorWindow& ed, int style, const std::string& face, int points) {
    ed.sci.StyleSetFont(style, face.c_str());
    ed.sci.StyleSetSize(style, points);
}

void ApplyIndicators(EditorWindow& ed) {
    for (const IndicatorLook& indicator : IndicatorLooks(IsDark(ed))) {
        const int id = indicator.indicator;
        ed.sci.IndicSetStyle(id, static_cast<Scintilla::IndicatorStyle>(indicator.style));
        ed.sci.IndicSetFore(id, indicator.fore);
        ed.sci.IndicSetUnder(id, indicator.under);
        if (indicator.alpha >= 0) ed.sci.IndicSetAlpha(id, static_cast<Scintilla::Alpha>(indicator.alpha));
        if (indicator.outlineAlpha >= 0) {
            ed.sci.IndicSetOutlineAlpha(id, static_cast<Scintilla::Alpha>(indicator.outlineAlpha));
        }
        if (indicator.hoverStyle >= 0) {
            ed.sci.IndicSetHoverStyle(id, static_cast<Scintilla::IndicatorStyle>(indicator.hoverStyle));
            ed.sci.IndicSetHoverFore(id, indicator.hoverFore);
        }
    }
}

void DefineChevron(EditorWindow& ed, int marker, Chevron chevron, int size, Colour colour) {
    const std::vector<std::uint8_t> pixels = ChevronImage(chevron, size, colour);
    ed.sci.RGBAImageSetWidth(size);
    ed.sci.RGBAImageSetHeight(size);
    ed.sci.RGBAImageSetScale(100);
    ed.sci.MarkerDefineRGBAImage(marker, reinterpret_cast<const char*>(pixels.data()));
}

// How the fold margin looks; what a click in it does belongs to the memo folds.
void ApplyFoldMargin(EditorWindow& ed) {
    if (!SettingsOf(ed).memoFold) {
        for (int margin : {1, 2}) {
            ed.sci.SetMarginWidthN(margin, 0);
            ed.sci.SetMarginSensitiveN(margin, false);
        }
        return;
    }
    const Palette& palette = PaletteFor(IsDark(ed));
    const FoldMarginGeometry geometry = FoldMarginFor(ed.look.numberWidth, WindowDpiOf(ed.hwnd));
    ed.sci.SetMarginTypeN(1, Scintilla::MarginType::Colour);
    ed.sci.SetMarginWidthN(1, geometry.spacerWidth);
    ed.sci.SetMarginMaskN(1, 0);
    ed.sci.SetMarginSensitiveN(1, false);
    ed.sci.SetMarginBackN(1, palette.gutter);

    ed.sci.SetMarginTypeN(2, Scintilla::MarginType::Symbol);
    ed.sci.SetMarginWidthN(2, geometry.foldWidth);
    ed.sci.SetMarginMaskN(2, SC_MASK_FOLDERS);
    ed.sci.SetMarginSensitiveN(2, true);
    ed.sci.SetMarginCursorN(2, Scintilla::CursorShape::Arrow);
    ed.sci.SetMarginBackN(2, palette.gutter);
    ed.sci.SetFoldMarginColour(true, palette.gutter);
    ed.sci.SetFoldMarginHiColour(true, palette.gutter);

    for (int marker : {SC_MARKNUM_FOLDEREND, SC_MARKNUM_FOLDEROPENMID, SC_MARKNUM_FOLDERMIDTAIL, SC_MARKNUM_FOLDERTAIL,
                       SC_MARKNUM_FOLDERSUB}) {
        ed.sci.MarkerDefine(marker, Scintilla::MarkerSymbol::Empty);
    }
    DefineChevron(ed, SC_MARKNUM_FOLDER, Chevron::Folded, geometry.markSize, palette.foldMark);
    DefineChevron(ed, SC_MARKNUM_FOLDEROPEN, Chevron::Open, geometry.markSize, palette.foldMark);

    ed.sci.SetAutomaticFold(Scintilla::AutomaticFold::None);
    ed.sci.SetFoldFlags(Scintilla::FoldFlag::None);
    ed.sci.FoldDisplayTextSetStyle(Scintilla::FoldDisplayTextStyle::Standard);
    ed.sci.StyleSetFore(STYLE_FOLDDISPLAYTEXT, palette.foldDisplayText);
    ed.sci.StyleSetBack(STYLE_FOLDDISPLAYTEXT, palette.background);
}

long long LineCount(EditorWindow& ed) {
    return static_cast<long long>(ed.sci.LineCount());
}

int ClientWidth(HWND editor) {
    RECT client {};
    ::GetClientRect(editor, &client);
    return client.right - client.left;
}

ViewSnapshot ReadView(EditorWindow& ed) {
    ViewSnapshot view;
    view.firstVisibleLine = static_cast<int>(ed.sci.FirstVisibleLine());
    const bool measured = SettingsOf(ed).showLineNumbers && ed.look.lineHeight >= 0;
    const int x = AnchorX(measured, ed.look.numberWidth, WindowDpiOf(ed.hwnd));
    view.topPosition = static_cast<int>(ed.sci.CharPositionFromPoint(x, 0));
    view.clientWidth = ClientWidth(ed.hwnd);
    return view;
}

void RestoreView(EditorWindow& ed, const LayoutPlan& plan) {
    if (plan.keepDocumentLine) {
        const LRESULT line = ed.sci.LineFromPosition(plan.source.topPosition);
        ed.sci.SetFirstVisibleLine(ed.sci.VisibleFromDocLine(line));
    } else {
        ed.sci.SetFirstVisibleLine(plan.source.firstVisibleLine);
    }
}

void Repaint(HWND editor) {
    ::RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void ResetCueCaches(EditorLook& look) {
    look.underlineY = -1;
    look.dosCaret.reset();
    look.cueCaretLine = -1;
    look.cueFirstVisibleLine = -1;
}

}  // namespace

void ForgetLineNumbers(EditorWindow& ed) {
    NumberedLines& numbered = ed.look.numbered;
    const long long lines = LineCount(ed);
    const bool loose = numbered.looseEnd > numbered.looseFirst;
    const long long first = loose ? std::min(numbered.first, numbered.looseFirst) : numbered.first;
    const long long end = std::min(lines, loose ? std::max(numbered.End(), numbered.looseEnd) : numbered.End());
    for (long long line = first; line < end; ++line) {
        if (!loose || ed.sci.MarginGetText(line, nullptr) > 0) {
            ed.sci.MarginSetText(line, nullptr);
        }
    }
    numbered = {};
}

namespace {

// Points the process's text state at a new editor window; the history and
// its marks stay, the adapter's caches rebuild for the new window.
void AttachTextState(EditorWindow& ed) {
    EditorTextState& state = ed.text;
    state.model.Bind(ed.hwnd, &ed.sci);
    if (!state.hooks.refreshLineNumbers) {
        EditorWindow* owner = &ed;
        state.hooks.refreshLineNumbers = [owner] { RefreshLineNumbers(*owner); };
        state.hooks.linesShifted = [owner](long long line, long long linesAdded) {
            ShiftNumberedLines(owner->look.numbered, line, linesAdded);
        };
        // Otherwise the load's insertion would leave every line of the new
        // text to be checked for a stale number.
        state.hooks.marginTextsCleared = [owner] { owner->look.numbered = {}; };
        state.hooks.reapplyCaretLook = [owner] {
            ApplyCaret(*owner);
            UpdateCurrentLineCues(*owner);
        };
    }
}

void RebuildDerivedLook(EditorWindow& ed) {
    RebuildFont(ed);
    MeasureEditorFont(ed);
    ApplyMargins(ed);
    ApplyStyles(ed);
    Repaint(ed.hwnd);
}

}  // namespace

bool RegisterEditorClass(HINSTANCE instance) {
    // Scintilla forgets its class atom when asked to register twice.
    WNDCLASSEXW existing {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, L"Scintilla", &existing)) return true;
    return Scintilla_RegisterClasses(instance) != 0;
}

void AttachCallObject(Scintilla::ScintillaCall& call, HWND window) {
    // The two messages that hand out the direct function are the only ones
    // sent to the window itself.
    const auto function = reinterpret_cast<Scintilla::FunctionDirect>(Send(window, SCI_GETDIRECTSTATUSFUNCTION));
    const auto pointer = static_cast<intptr_t>(Send(window, SCI_GETDIRECTPOINTER));
    call.SetFnPtr(function, pointer);
}

bool CreateEditor(EditorWindow& ed, const RECT& rect, std::u16string_view text, bool visible) {
    if (!RegisterEditorClass(ed.instance)) return false;
    const bool wrapOn = SettingsOf(ed).wordWrap == WordWrap::Wrap;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL;
    if (!wrapOn) style |= WS_HSCROLL;
    if (visible) style |= WS_VISIBLE;
    const int areaHeight = rect.bottom - rect.top;
    HWND window = ::CreateWindowExW(0, L"Scintilla", L"", style, rect.left, rect.top, rect.right - rect.left,
                                    EditorHeightFor(areaHeight, WindowDpiOf(ed.parent)), ed.parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)), ed.instance,
                                    nullptr);
    if (window == nullptr) return false;
    ed.hwnd = window;
    // A new window has no link marks and none of the old one's timers.
    ed.links.valid = false;
    ed.links.scanPending = false;
    AttachCallObject(ed.sci, window);
    AttachTextState(ed);
    EditorLook& look = ed.look;
    look.areaRect = rect;
    look.numbered = {};
    ed.sizeStep = ClampFontStep(ed.sizeStep);

    SendCreationSettings(ed, wrapOn);
    RebuildFont(ed);
    MeasureEditorFont(ed);
    (void)InstallEditorProc(ed);

    if (!text.empty()) {
        // Appended with its length so that NUL characters survive.
        const std::string bytes = Utf16ToUtf8(text);
        const bool wasReplacing = ed.replacingText;
        ed.replacingText = true;
        {
            // The copy of a text the history already holds is no edit.
            HistoryLoadingScope loading(ed.text.history);
            ed.sci.AppendText(bytes.size(), bytes.data());
        }
        ed.replacingText = wasReplacing;
    }

    if (!look.backgroundBrush) RebuildThemeBrushes(look, IsDark(ed));
    ApplyMargins(ed);
    look.appliedCaretKind = 0;
    ApplyStyles(ed);
    ResetCueCaches(look);
    return true;
}

bool RecreateEditor(EditorWindow& ed, WordWrap wrap) {
    HWND old = ed.hwnd;
    if (old == nullptr) return false;
    EditorLook& look = ed.look;
    const std::u16string text = GetEditorText(ed.sci);
    const Scintilla::Position anchor = ed.sci.Anchor();
    const Scintilla::Position caret = ed.sci.CurrentPos();
    UniqueFont oldFont = std::move(look.font);
    Scintilla::ScintillaCall oldCall = ed.sci;

    // The new window is made with the wrap asked for; the setting itself is
    // the caller's to store once this succeeded.
    EditorSettings wanted = SettingsOf(ed);
    wanted.wordWrap = wrap;
    const EditorSettings* settings = ed.settings;
    ed.settings = &wanted;
    const bool created = CreateEditor(ed, look.areaRect, text, false);
    ed.settings = settings;
    if (!created) {
        ed.hwnd = old;
        ed.sci = oldCall;
        AttachTextState(ed);
        look.font = std::move(oldFont);
        return false;
    }
    ::DestroyWindow(old);
    oldFont.Reset();
    AttachTextState(ed);

    // The marks stay with the history; the text and so its lines are the same.
    ed.text.history.marks.resize(static_cast<std::size_t>(LineCount(ed)), 0);
    ed.sci.SetSel(anchor, caret);
    ed.sci.ScrollCaret();
    OnThemeChanged(ed);
    return true;
}

void MeasureEditorFont(EditorWindow& ed) {
    HWND editor = ed.hwnd;
    EditorLook& look = ed.look;
    if (editor == nullptr || !look.font) return;
    HDC dc = ::GetDC(editor);
    if (dc == nullptr) return;
    TEXTMETRICW metrics {};
    bool ok = false;
    {
        SelectGuard select(dc, look.font.Get());
        ok = ::GetTextMetricsW(dc, &metrics) != FALSE;
    }
    ::ReleaseDC(editor, dc);
    if (!ok) return;
    look.averageCharWidth = UsableAverageCharWidth(metrics.tmAveCharWidth);
    look.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    look.textHeight = metrics.tmAscent + metrics.tmDescent;
}

void ApplyStyles(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const bool dark = IsDark(ed);
    const Palette& palette = PaletteFor(dark);
    const std::string face = FaceNameOf(look.font.Get());
    const int points = FontPointSize(ed.sizeStep);

    StyleFont(ed, STYLE_DEFAULT, face, points);
    ed.sci.StyleSetFore(STYLE_DEFAULT, palette.text);
    ed.sci.StyleSetBack(STYLE_DEFAULT, palette.background);
    ed.sci.StyleClearAll();

    for (int style : {STYLE_LINENUMBER, kStyleChangedLineNumber}) {
        const bool changed = style == kStyleChangedLineNumber;
        StyleFont(ed, style, face, points);
        ed.sci.StyleSetFore(style, palette.lineNumberText);
        ed.sci.StyleSetBack(style, palette.gutter);
        ed.sci.StyleSetItalic(style, changed);
        ed.sci.StyleSetWeight(style, changed ? Scintilla::FontWeight::SemiBold : Scintilla::FontWeight::Normal);
    }
    ed.sci.SetCaretFore(palette.text);

    look.imeOpen = ReadImeOpen(ed.hwnd);
    SwitchBand(ed, BandWanted(SettingsOf(ed).showCurrentLineHighlight, SelectionEmpty(ed)));

    ed.sci.SetSelFore(true, palette.selectionText);
    ed.sci.SetSelBack(true, palette.selectionBack);
    ed.sci.SetSelAlpha(Scintilla::Alpha::NoAlpha);
    ApplyIndicators(ed);

    RefreshLineNumbers(ed);
    ApplyCaret(ed);
    ApplyFoldMargin(ed);
}

void ApplyMargins(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const int dpi = WindowDpiOf(ed.hwnd);
    const bool numbers = SettingsOf(ed).showLineNumbers;
    look.numberWidth = NumberMarginWidth(numbers, LineCount(ed), look.averageCharWidth, dpi);
    for (int margin = 1; margin <= 4; ++margin) ed.sci.SetMarginWidthN(margin, 0);
    const int textMargin = TextMarginWidth(look.numberWidth > 0, dpi);
    if (look.numberWidth > 0) {
        // Margin texts rather than the component's numbering, so that changed
        // lines can carry a style of their own.
        ed.sci.SetMarginTypeN(0, Scintilla::MarginType::RText);
        ed.sci.SetMarginWidthN(0, look.numberWidth);
        ed.sci.SetMarginSensitiveN(0, true);
        ed.sci.SetMarginCursorN(0, Scintilla::CursorShape::Arrow);
    } else {
        ed.sci.SetMarginWidthN(0, 0);
        ed.sci.SetMarginSensitiveN(0, false);
    }
    ed.sci.SetMarginLeft(textMargin);
    ed.sci.SetMarginRight(textMargin);
    ed.sci.SetExtraAscent(Scale(kExtraAscentDescent, dpi));
    ed.sci.SetExtraDescent(Scale(kExtraAscentDescent, dpi));
    RefreshLineNumbers(ed);
    ApplyFoldMargin(ed);
    ::SetWindowPos(ed.hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RefreshLineNumbers(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    if (!SettingsOf(ed).showLineNumbers) {
        if (!look.numbered.shown.empty()) ForgetLineNumbers(ed);
        return;
    }
    const long long lines = LineCount(ed);
    if (look.numberWidth > 0 &&
        NumberMarginWidth(true, lines, look.averageCharWidth, WindowDpiOf(ed.hwnd)) != look.numberWidth) {
        // A digit more or less: the margin is rebuilt, which comes back here.
        look.numberWidth = 0;
        ApplyMargins(ed);
        return;
    }
    const auto firstShown = static_cast<long long>(ed.sci.DocLineFromVisible(ed.sci.FirstVisibleLine()));
    const auto onScreen = static_cast<long long>(ed.sci.LinesOnScreen());
    const auto lastShown = static_cast<long long>(
        ed.sci.DocLineFromVisible(ed.sci.FirstVisibleLine() + static_cast<LRESULT>(onScreen)));
    const NumberedSpan span = NumberedSpanFor(firstShown, lastShown, lines);
    const NumberingPlan plan = PlanLineNumbers(look.numbered, span.first, span.end, lines, ed.text.history.marks);
    for (const long long line : plan.clear) {
        if (line < lines) ed.sci.MarginSetText(line, nullptr);
    }
    for (const long long line : plan.clearIfAny) {
        if (ed.sci.MarginGetText(line, nullptr) > 0) {
            ed.sci.MarginSetText(line, nullptr);
        }
    }
    char number[24];
    for (const long long line : plan.set) {
        std::snprintf(number, sizeof(number), "%lld", line + 1);
        const auto index = static_cast<std::size_t>(line);
        const std::vector<std::uint8_t>& marks = ed.text.history.marks;
        const bool changed = index < marks.size() && marks[index] != 0;
        ed.sci.MarginSetText(line, number);
        ed.sci.MarginSetStyle(line, changed ? kStyleChangedLineNumber : STYLE_LINENUMBER);
    }
}

void ClearChangedLineMarks(EditorWindow& ed) {
    EditorTextState& state = ed.text;
    if (state.model.Window() == nullptr) {
        state.history.marks.clear();
        return;
    }
    const std::vector<std::uint8_t>& marks = state.history.marks;
    const bool anySet = std::any_of(marks.begin(), marks.end(), [](std::uint8_t mark) { return mark != 0; });
    if (anySet || marks.size() != static_cast<std::size_t>(LineCount(ed))) ClearMarks(ContextOf(state));
}

void ApplyCaret(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const int kind = CaretKindOf(SettingsOf(ed).caretStyle);
    if (kind == look.appliedCaretKind) return;
    const CaretSettings settings = CaretSettingsFor(kind, WindowDpiOf(ed.hwnd));
    const int style = settings.invisible ? CARETSTYLE_INVISIBLE : settings.block ? CARETSTYLE_BLOCK : CARETSTYLE_LINE;
    ed.sci.SetCaretStyle(static_cast<Scintilla::CaretStyle>(style));
    if (settings.width >= 0) ed.sci.SetCaretWidth(settings.width);
    ed.sci.SetCaretPeriod(settings.period);
    look.appliedCaretKind = kind;
}

void UpdateImeCue(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const bool open = ReadImeOpen(ed.hwnd);
    if (open == look.imeOpen) return;
    look.imeOpen = open;
    if (look.bandOn) ed.sci.SetCaretLineBack(BandColour(ed));
    look.underlinePen.Reset();
    InvalidateImeCue(ed);
}

void UpdateCurrentLineCues(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const bool band = BandWanted(SettingsOf(ed).showCurrentLineHighlight, SelectionEmpty(ed));
    if (band != look.bandOn) {
        SwitchBand(ed, band);
        InvalidateUnderline(ed, look.underlineY);
    }
    TrackProgramCues(ed);
    RefreshLineNumbers(ed);
}

void OnEditorNotify(EditorWindow& ed, const NMHDR& header) {
    switch (header.code) {
    case SCN_UPDATEUI:
        UpdateCurrentLineCues(ed);
        OnEditorUpdateUi(ed);
        ScheduleLinkScan(ed);
        break;
    case SCN_PAINTED:
        // A resize or a re-wrap shows other lines without an update.
        ScheduleLinkScan(ed);
        break;
    case SCN_DOUBLECLICK:
        OnEditorDoubleClick(ed, static_cast<long long>(reinterpret_cast<const SCNotification&>(header).position));
        break;
    default:
        break;
    }
}

void OnFontSettingsChanged(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    RebuildDerivedLook(ed);
}

void SetSizeStep(EditorWindow& ed, int step) {
    step = ClampFontStep(step);
    if (step == ed.sizeStep) return;
    ed.sizeStep = step;
    if (ed.hwnd != nullptr) RebuildDerivedLook(ed);
}

void OnThemeChanged(EditorWindow& ed) {
    EditorLook& look = ed.look;
    RebuildThemeBrushes(look, IsDark(ed));
    look.underlinePen.Reset();
    if (ed.hwnd == nullptr) return;
    ApplyStyles(ed);
    Repaint(ed.hwnd);
}

void OnCueSettingsChanged(EditorWindow& ed) {
    ed.look.underlineY = -1;
    if (ed.hwnd == nullptr) return;
    ApplyStyles(ed);
    Repaint(ed.hwnd);
}

void OnLineNumbersChanged(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    MeasureEditorFont(ed);
    ApplyMargins(ed);
    ApplyStyles(ed);
    Repaint(ed.hwnd);
}

void OnCaretStyleChanged(EditorWindow& ed) {
    ed.look.dosCaret.reset();
    if (ed.hwnd == nullptr) return;
    ApplyCaret(ed);
    Repaint(ed.hwnd);
}

bool SetWordWrap(EditorWindow& ed, WordWrap wrap) {
    if (ed.hwnd == nullptr) return false;
    const bool wrapped = ed.sci.WrapMode() != Scintilla::Wrap::None;
    if (wrapped == (wrap == WordWrap::Wrap)) return true;
    const bool readOnly = ed.sci.ReadOnly();
    if (!RecreateEditor(ed, wrap)) return false;
    // The styles came back with the theme; the caret kind was reset with the old window.
    ApplyCaret(ed);
    ::SetWindowTheme(ed.hwnd, WidePtr(std::u16string(ControlThemeName(IsDark(ed)))), nullptr);
    MeasureEditorFont(ed);
    ApplyMargins(ed);
    ::SetWindowPos(ed.hwnd, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (readOnly) ed.sci.SetReadOnly(true);
    ::SetFocus(ed.hwnd);
    return true;
}

void LayoutEditor(EditorWindow& ed, const RECT& rect) {
    EditorLook& look = ed.look;
    look.areaRect = rect;
    HWND editor = ed.hwnd;
    if (editor == nullptr) return;
    const int dpi = WindowDpiOf(editor);
    if (look.fontDpi != dpi) {
        // Moved to a monitor of another DPI: the font follows.
        RebuildFont(ed);
        MeasureEditorFont(ed);
        ApplyStyles(ed);
    }
    const bool wrap = ed.sci.WrapMode() != Scintilla::Wrap::None;
    const bool inSizeMove = ParentSizing(ed);
    RECT window {};
    ::GetWindowRect(editor, &window);
    const ViewSnapshot before = ReadView(ed);
    const int frameWidth = (window.right - window.left) - before.clientWidth;
    const int newWidth = rect.right - rect.left;
    const LayoutPlan plan = PlanLayout(look.anchor, before, newWidth - frameWidth, wrap, inSizeMove);

    if (plan.suspendRedraw) Send(editor, WM_SETREDRAW, FALSE);
    ::SetWindowPos(editor, nullptr, rect.left, rect.top, newWidth, EditorHeightFor(rect.bottom - rect.top, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (look.lineHeight < 0) MeasureEditorFont(ed);
    ApplyMargins(ed);
    RestoreView(ed, plan);
    if (plan.scrollCaretIntoView) ed.sci.ScrollCaret();
    FinishLayout(look.anchor, plan, ReadView(ed), wrap, inSizeMove);
    if (plan.suspendRedraw) Send(editor, WM_SETREDRAW, TRUE);
    ::RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void BeginResizeAnchor(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    ResizeAnchor& anchor = ed.look.anchor;
    anchor.recorded = ReadView(ed);
    anchor.active = true;
    anchor.restorePending = false;
}

void EndResizeAnchor(EditorWindow& ed) {
    ResizeAnchor& anchor = ed.look.anchor;
    if (anchor.active) anchor.restorePending = true;
    anchor.active = false;
}

std::u16string GetEditorText(Scintilla::ScintillaCall& sci) {
    const auto length = static_cast<std::size_t>(sci.Length());
    std::string bytes(length + 1, '\0');
    sci.GetText(static_cast<Scintilla::Position>(length + 1), bytes.data());
    bytes.resize(length);
    return Utf8ToUtf16Lenient(bytes);
}

void SetEditorBytes(Scintilla::ScintillaCall& sci, std::string_view bytes) {
    const bool readOnly = sci.ReadOnly();
    if (readOnly) sci.SetReadOnly(false);
    sci.ClearAll();
    // With no margin text left the component keeps no per-line record of
    // them, instead of one for every line of a large memo.
    sci.MarginTextClearAll();
    if (!bytes.empty()) sci.AppendText(static_cast<Scintilla::Position>(bytes.size()), bytes.data());
    sci.EmptyUndoBuffer();
    sci.GotoPos(0);
    if (readOnly) sci.SetReadOnly(true);
}

}  // namespace quillpane

// The Scintilla window that holds the memo: its creation, every setting the
// program gives it, its layout, and whole-text access.
#include "editor/editor_host_win.h"

#include "app/app_win.h"
#include "app/dpi.h"
#include "app/theme_rules.h"
#include "editor/editor_paint_win.h"
#include "editor/editor_proc_win.h"
#include "platform/utf_convert.h"
#include "platform/wide_win.h"
#include "sections/memo_fold_win.h"

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

LRESULT Call(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(editor, message, wParam, lParam);
}

WPARAM W(int value) {
    return static_cast<WPARAM>(value);
}

LPARAM L(std::intptr_t value) {
    return static_cast<LPARAM>(value);
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

void RebuildFont(App& app, HWND editor) {
    EditorLook& look = app.look;
    const int dpi = WindowDpiOf(editor);
    UniqueFont font = BuildEditorFont(look.fixedPitch, look.sizeStep, dpi);
    if (!font) return;  // keep the previous font rather than none
    ::SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    look.font = std::move(font);
    look.fontDpi = dpi;
}

void SendCreationSettings(HWND editor, bool wrap) {
    Call(editor, SCI_SETCODEPAGE, SC_CP_UTF8);
    Call(editor, SCI_SETEOLMODE, SC_EOL_CRLF);
    Call(editor, SCI_SETUNDOCOLLECTION, 0);
    Call(editor, SCI_SETWRAPMODE, wrap ? SC_WRAP_WORD : SC_WRAP_NONE);
    Call(editor, SCI_SETLAYOUTCACHE, SC_CACHE_DOCUMENT);
    Call(editor, SCI_SETBUFFEREDDRAW, 1);
    Call(editor, SCI_SETHSCROLLBAR, wrap ? 0 : 1);
    Call(editor, SCI_SETSCROLLWIDTHTRACKING, 1);
    Call(editor, SCI_SETUSETABS, 1);
    Call(editor, SCI_SETTABWIDTH, 4);
    Call(editor, SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 1);
    Call(editor, SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION);
    Call(editor, SCI_SETADDITIONALSELECTIONTYPING, 1);
    Call(editor, SCI_SETIMEINTERACTION, SC_IME_INLINE);
    Call(editor, SCI_USEPOPUP, SC_POPUP_NEVER);
    Call(editor, SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
}

bool ReadImeOpen(HWND editor) {
    HIMC context = ::ImmGetContext(editor);
    if (context == nullptr) return false;
    const bool open = ::ImmGetOpenStatus(context) != FALSE;
    ::ImmReleaseContext(editor, context);
    return open;
}

Colour BandColour(const App& app) {
    return CurrentLineCueColours(app.look.dark, app.look.imeOpen, app.config.editor).band;
}

void SwitchBand(App& app, bool on) {
    HWND editor = app.editor;
    if (on) {
        Call(editor, SCI_SETCARETLINEBACK, BandColour(app));
        Call(editor, SCI_SETCARETLINEBACKALPHA, SC_ALPHA_NOALPHA);
        Call(editor, SCI_SETCARETLINEVISIBLE, 1);
        // The band stays while the editor has no focus.
        Call(editor, SCI_SETCARETLINEVISIBLEALWAYS, 1);
    } else {
        Call(editor, SCI_SETCARETLINEVISIBLE, 0);
        Call(editor, SCI_SETCARETLINEVISIBLEALWAYS, 0);
    }
    app.look.bandOn = on;
}

bool SelectionEmpty(HWND editor) {
    return Call(editor, SCI_GETSELECTIONEMPTY) != 0;
}

void StyleFont(HWND editor, int style, const std::string& face, int points) {
    Call(editor, SCI_STYLESETFONT, W(style), reinterpret_cast<LPARAM>(face.c_str()));
    Call(editor, SCI_STYLESETSIZE, W(style), points);
}

void ApplyIndicators(HWND editor, bool dark) {
    for (const IndicatorLook& indicator : IndicatorLooks(dark)) {
        const WPARAM id = W(indicator.indicator);
        Call(editor, SCI_INDICSETSTYLE, id, indicator.style);
        Call(editor, SCI_INDICSETFORE, id, L(indicator.fore));
        Call(editor, SCI_INDICSETUNDER, id, indicator.under ? 1 : 0);
        if (indicator.alpha >= 0) Call(editor, SCI_INDICSETALPHA, id, indicator.alpha);
        if (indicator.outlineAlpha >= 0) Call(editor, SCI_INDICSETOUTLINEALPHA, id, indicator.outlineAlpha);
        if (indicator.hoverStyle >= 0) {
            Call(editor, SCI_INDICSETHOVERSTYLE, id, indicator.hoverStyle);
            Call(editor, SCI_INDICSETHOVERFORE, id, L(indicator.hoverFore));
        }
    }
}

void DefineChevron(HWND editor, int marker, Chevron chevron, int size, Colour colour) {
    const std::vector<std::uint8_t> pixels = ChevronImage(chevron, size, colour);
    Call(editor, SCI_RGBAIMAGESETWIDTH, W(size));
    Call(editor, SCI_RGBAIMAGESETHEIGHT, W(size));
    Call(editor, SCI_RGBAIMAGESETSCALE, 100);
    Call(editor, SCI_MARKERDEFINERGBAIMAGE, W(marker), reinterpret_cast<LPARAM>(pixels.data()));
}

// How the fold margin looks; what a click in it does belongs to the memo folds.
void ApplyFoldMargin(App& app) {
    HWND editor = app.editor;
    if (!app.config.editor.memoFold) {
        for (int margin : {1, 2}) {
            Call(editor, SCI_SETMARGINWIDTHN, W(margin), 0);
            Call(editor, SCI_SETMARGINSENSITIVEN, W(margin), 0);
        }
        return;
    }
    const Palette& palette = PaletteFor(app.look.dark);
    const FoldMarginGeometry geometry = FoldMarginFor(app.look.numberWidth, WindowDpiOf(editor));
    Call(editor, SCI_SETMARGINTYPEN, 1, SC_MARGIN_COLOUR);
    Call(editor, SCI_SETMARGINWIDTHN, 1, geometry.spacerWidth);
    Call(editor, SCI_SETMARGINMASKN, 1, 0);
    Call(editor, SCI_SETMARGINSENSITIVEN, 1, 0);
    Call(editor, SCI_SETMARGINBACKN, 1, L(palette.gutter));

    Call(editor, SCI_SETMARGINTYPEN, 2, SC_MARGIN_SYMBOL);
    Call(editor, SCI_SETMARGINWIDTHN, 2, geometry.foldWidth);
    Call(editor, SCI_SETMARGINMASKN, 2, static_cast<LPARAM>(SC_MASK_FOLDERS));
    Call(editor, SCI_SETMARGINSENSITIVEN, 2, 1);
    Call(editor, SCI_SETMARGINCURSORN, 2, SC_CURSORARROW);
    Call(editor, SCI_SETMARGINBACKN, 2, L(palette.gutter));
    Call(editor, SCI_SETFOLDMARGINCOLOUR, 1, L(palette.gutter));
    Call(editor, SCI_SETFOLDMARGINHICOLOUR, 1, L(palette.gutter));

    for (int marker : {SC_MARKNUM_FOLDEREND, SC_MARKNUM_FOLDEROPENMID, SC_MARKNUM_FOLDERMIDTAIL, SC_MARKNUM_FOLDERTAIL,
                       SC_MARKNUM_FOLDERSUB}) {
        Call(editor, SCI_MARKERDEFINE, W(marker), SC_MARK_EMPTY);
    }
    DefineChevron(editor, SC_MARKNUM_FOLDER, Chevron::Folded, geometry.markSize, palette.foldMark);
    DefineChevron(editor, SC_MARKNUM_FOLDEROPEN, Chevron::Open, geometry.markSize, palette.foldMark);

    Call(editor, SCI_SETAUTOMATICFOLD, 0);
    Call(editor, SCI_SETFOLDFLAGS, 0);
    Call(editor, SCI_FOLDDISPLAYTEXTSETSTYLE, SC_FOLDDISPLAYTEXT_STANDARD);
    Call(editor, SCI_STYLESETFORE, STYLE_FOLDDISPLAYTEXT, L(palette.foldDisplayText));
    Call(editor, SCI_STYLESETBACK, STYLE_FOLDDISPLAYTEXT, L(palette.background));
}

int LineCount(HWND editor) {
    return static_cast<int>(Call(editor, SCI_GETLINECOUNT));
}

int ClientWidth(HWND editor) {
    RECT client {};
    ::GetClientRect(editor, &client);
    return client.right - client.left;
}

ViewSnapshot ReadView(const App& app, HWND editor) {
    ViewSnapshot view;
    view.firstVisibleLine = static_cast<int>(Call(editor, SCI_GETFIRSTVISIBLELINE));
    const bool measured = app.look.showLineNumbers && app.look.lineHeight >= 0;
    const int x = AnchorX(measured, app.look.numberWidth, WindowDpiOf(editor));
    view.topPosition = static_cast<int>(Call(editor, SCI_CHARPOSITIONFROMPOINT, W(x), 0));
    view.clientWidth = ClientWidth(editor);
    return view;
}

void RestoreView(HWND editor, const LayoutPlan& plan) {
    if (plan.keepDocumentLine) {
        const LRESULT line = Call(editor, SCI_LINEFROMPOSITION, W(plan.source.topPosition));
        Call(editor, SCI_SETFIRSTVISIBLELINE, static_cast<WPARAM>(Call(editor, SCI_VISIBLEFROMDOCLINE, line)));
    } else {
        Call(editor, SCI_SETFIRSTVISIBLELINE, W(plan.source.firstVisibleLine));
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

// Points the process's text state at a new editor window; the history and
// its marks stay, the adapter's caches rebuild for the new window.
void AttachTextState(App& app, HWND editor) {
    EditorTextState& state = app.textState;
    state.editor = editor;
    if (!state.hooks.refreshLineNumbers) {
        App* owner = &app;
        state.hooks.refreshLineNumbers = [owner] { RefreshChangedLines(*owner); };
        state.hooks.reapplyCaretLook = [owner] {
            ApplyCaret(*owner);
            UpdateCurrentLineCues(*owner);
        };
    }
}

}  // namespace

int WindowDpiOf(HWND window) {
    using GetDpiFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = (getDpi != nullptr && window != nullptr) ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

void InitEditorLook(EditorLook& look, const EditorSettings& settings, int sizeStep) {
    look.fixedPitch = settings.fontPitch == FontPitch::Fixed;
    look.sizeStep = ClampFontStep(sizeStep);
    look.showLineNumbers = settings.showLineNumbers;
    look.showHighlight = settings.showCurrentLineHighlight;
    look.showUnderline = settings.showCurrentLineUnderline;
    look.caretStyle = settings.caretStyle;
}

bool RegisterEditorClass(HINSTANCE instance) {
    // Scintilla forgets its class atom when asked to register twice.
    WNDCLASSEXW existing {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, L"Scintilla", &existing)) return true;
    return Scintilla_RegisterClasses(instance) != 0;
}

HWND CreateEditor(App& app, const RECT& rect, WordWrap wrap, std::u16string_view text, bool fixedPitch, int sizeStep,
                  bool visible) {
    if (!RegisterEditorClass(app.instance)) return nullptr;
    const bool wrapOn = wrap == WordWrap::Wrap;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL;
    if (!wrapOn) style |= WS_HSCROLL;
    if (visible) style |= WS_VISIBLE;
    const int areaHeight = rect.bottom - rect.top;
    HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", style, rect.left, rect.top, rect.right - rect.left,
                                    EditorHeightFor(areaHeight, WindowDpiOf(app.panel)), app.panel,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)), app.instance,
                                    nullptr);
    if (editor == nullptr) return nullptr;
    app.editor = editor;
    AttachTextState(app, editor);
    EditorLook& look = app.look;
    look.areaRect = rect;
    look.fixedPitch = fixedPitch;
    look.sizeStep = ClampFontStep(sizeStep);

    SendCreationSettings(editor, wrapOn);
    RebuildFont(app, editor);
    MeasureEditorFont(app);
    (void)InstallEditorProc(app, editor);

    if (!text.empty()) {
        // Appended with its length so that NUL characters survive.
        const std::string bytes = Utf16ToUtf8(text);
        const bool wasReplacing = app.replacingEditorText;
        app.replacingEditorText = true;
        {
            // The copy of a text the history already holds is no edit.
            HistoryLoadingScope loading(app.textState.history);
            Call(editor, SCI_APPENDTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
        }
        app.replacingEditorText = wasReplacing;
    }

    if (!look.backgroundBrush) RebuildThemeBrushes(look);
    ApplyMargins(app);
    look.appliedCaretKind = 0;
    ApplyStyles(app);
    ResetCueCaches(look);
    RecomputeMemoFolds(app);
    return editor;
}

HWND CreateEditor(HWND parent, HINSTANCE instance, const RECT& bounds) {
    if (!RegisterEditorClass(instance)) return nullptr;
    HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                    bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)), instance,
                                    nullptr);
    if (editor == nullptr) return nullptr;
    Call(editor, SCI_SETCODEPAGE, SC_CP_UTF8);
    Call(editor, SCI_SETEOLMODE, SC_EOL_CRLF);
    Call(editor, SCI_SETUNDOCOLLECTION, 0);
    Call(editor, SCI_EMPTYUNDOBUFFER);
    return editor;
}

bool RecreateEditor(App& app, WordWrap wrap) {
    HWND old = app.editor;
    if (old == nullptr) return false;
    EditorLook& look = app.look;
    const std::u16string text = GetEditorText(old);
    const LRESULT anchor = Call(old, SCI_GETANCHOR);
    const LRESULT caret = Call(old, SCI_GETCURRENTPOS);
    UniqueFont oldFont = std::move(look.font);

    HWND created = CreateEditor(app, look.areaRect, wrap, text, look.fixedPitch, look.sizeStep, false);
    if (created == nullptr) {
        look.font = std::move(oldFont);
        return false;
    }
    ::DestroyWindow(old);
    oldFont.Reset();

    // The marks stay with the history; the text and so its lines are the same.
    app.textState.history.marks.resize(static_cast<std::size_t>(LineCount(created)), 0);
    Call(created, SCI_SETSEL, static_cast<WPARAM>(anchor), caret);
    Call(created, SCI_SCROLLCARET);
    SetTheme(app, look.dark);
    RecomputeMemoFolds(app);
    return true;
}

void MeasureEditorFont(App& app) {
    HWND editor = app.editor;
    EditorLook& look = app.look;
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

void ApplyStyles(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    const Palette& palette = PaletteFor(look.dark);
    const std::string face = FaceNameOf(look.font.Get());
    const int points = FontPointSize(look.sizeStep);

    StyleFont(editor, STYLE_DEFAULT, face, points);
    Call(editor, SCI_STYLESETFORE, STYLE_DEFAULT, L(palette.text));
    Call(editor, SCI_STYLESETBACK, STYLE_DEFAULT, L(palette.background));
    Call(editor, SCI_STYLECLEARALL);

    for (int style : {STYLE_LINENUMBER, kStyleChangedLineNumber}) {
        const bool changed = style == kStyleChangedLineNumber;
        StyleFont(editor, style, face, points);
        Call(editor, SCI_STYLESETFORE, W(style), L(palette.lineNumberText));
        Call(editor, SCI_STYLESETBACK, W(style), L(palette.gutter));
        Call(editor, SCI_STYLESETITALIC, W(style), changed ? 1 : 0);
        Call(editor, SCI_STYLESETWEIGHT, W(style), changed ? 600 : SC_WEIGHT_NORMAL);
    }
    Call(editor, SCI_SETCARETFORE, L(palette.text));

    look.imeOpen = ReadImeOpen(editor);
    SwitchBand(app, BandWanted(look.showHighlight, SelectionEmpty(editor)));

    Call(editor, SCI_SETSELFORE, 1, L(palette.selectionText));
    Call(editor, SCI_SETSELBACK, 1, L(palette.selectionBack));
    Call(editor, SCI_SETSELALPHA, SC_ALPHA_NOALPHA);
    ApplyIndicators(editor, look.dark);

    if (look.showLineNumbers) RefreshLineNumbers(app);
    ApplyCaret(app);
    ApplyFoldMargin(app);
}

void ApplyMargins(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    const int dpi = WindowDpiOf(editor);
    look.numberWidth = NumberMarginWidth(look.showLineNumbers, LineCount(editor), look.averageCharWidth, dpi);
    for (int margin = 1; margin <= 4; ++margin) Call(editor, SCI_SETMARGINWIDTHN, W(margin), 0);
    const int textMargin = TextMarginWidth(look.numberWidth > 0, dpi);
    if (look.numberWidth > 0) {
        // Margin texts rather than the component's numbering, so that changed
        // lines can carry a style of their own.
        Call(editor, SCI_SETMARGINTYPEN, 0, SC_MARGIN_RTEXT);
        Call(editor, SCI_SETMARGINWIDTHN, 0, look.numberWidth);
        Call(editor, SCI_SETMARGINSENSITIVEN, 0, 1);
        Call(editor, SCI_SETMARGINCURSORN, 0, SC_CURSORARROW);
    } else {
        Call(editor, SCI_SETMARGINWIDTHN, 0, 0);
        Call(editor, SCI_SETMARGINSENSITIVEN, 0, 0);
    }
    Call(editor, SCI_SETMARGINLEFT, 0, textMargin);
    Call(editor, SCI_SETMARGINRIGHT, 0, textMargin);
    Call(editor, SCI_SETEXTRAASCENT, W(Scale(kExtraAscentDescent, dpi)));
    Call(editor, SCI_SETEXTRADESCENT, W(Scale(kExtraAscentDescent, dpi)));
    if (look.showLineNumbers) RefreshLineNumbers(app);
    ApplyFoldMargin(app);
    ::SetWindowPos(editor, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RefreshLineNumbers(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    Call(editor, SCI_MARGINTEXTCLEARALL);
    if (!look.showLineNumbers) {
        look.numberedLineCount = 0;
        return;
    }
    const int lines = LineCount(editor);
    const std::vector<std::uint8_t>& marks = app.textState.history.marks;
    char number[16];
    for (int line = 0; line < lines; ++line) {
        std::snprintf(number, sizeof(number), "%d", line + 1);
        const auto index = static_cast<std::size_t>(line);
        const bool changed = index < marks.size() && marks[index] != 0;
        Call(editor, SCI_MARGINSETTEXT, W(line), reinterpret_cast<LPARAM>(number));
        Call(editor, SCI_MARGINSETSTYLE, W(line), changed ? kStyleChangedLineNumber : STYLE_LINENUMBER);
    }
    look.numberedLineCount = lines;
}

void SyncLineNumbers(App& app) {
    HWND editor = app.editor;
    EditorLook& look = app.look;
    if (editor == nullptr || !look.showLineNumbers) return;
    const int lines = LineCount(editor);
    if (lines == look.numberedLineCount) return;
    if (NumberMarginWidth(true, lines, look.averageCharWidth, WindowDpiOf(editor)) != look.numberWidth) {
        ApplyMargins(app);
    } else {
        RefreshLineNumbers(app);
    }
}

void RefreshChangedLines(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr || !app.look.showLineNumbers) return;
    if (LineCount(editor) != app.look.numberedLineCount) {
        SyncLineNumbers(app);
    } else {
        RefreshLineNumbers(app);
    }
}

void ClearChangedLineMarks(App& app) {
    EditorTextState& state = app.textState;
    if (state.editor == nullptr) {
        state.history.marks.clear();
        return;
    }
    const std::vector<std::uint8_t>& marks = state.history.marks;
    const bool anySet = std::any_of(marks.begin(), marks.end(), [](std::uint8_t mark) { return mark != 0; });
    if (anySet || marks.size() != static_cast<std::size_t>(LineCount(state.editor))) ClearMarks(state);
}

void ApplyCaret(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    const int kind = CaretKindOf(look.caretStyle);
    if (kind == look.appliedCaretKind) return;
    const CaretSettings settings = CaretSettingsFor(kind, WindowDpiOf(editor));
    const int style = settings.invisible ? CARETSTYLE_INVISIBLE : settings.block ? CARETSTYLE_BLOCK : CARETSTYLE_LINE;
    Call(editor, SCI_SETCARETSTYLE, W(style));
    if (settings.width >= 0) Call(editor, SCI_SETCARETWIDTH, W(settings.width));
    Call(editor, SCI_SETCARETPERIOD, W(settings.period));
    look.appliedCaretKind = kind;
}

void UpdateImeCue(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    const bool open = ReadImeOpen(editor);
    if (open == look.imeOpen) return;
    look.imeOpen = open;
    if (look.bandOn) Call(editor, SCI_SETCARETLINEBACK, BandColour(app));
    look.underlinePen.Reset();
    InvalidateImeCue(app);
}

void UpdateCurrentLineCues(App& app) {
    HWND editor = app.editor;
    if (editor == nullptr) return;
    EditorLook& look = app.look;
    const bool band = BandWanted(look.showHighlight, SelectionEmpty(editor));
    if (band != look.bandOn) {
        SwitchBand(app, band);
        InvalidateUnderline(app, look.underlineY);
    }
    TrackProgramCues(app);
    SyncLineNumbers(app);
}

void OnEditorNotify(App& app, const NMHDR& header) {
    switch (header.code) {
    case SCN_UPDATEUI:
        UpdateCurrentLineCues(app);
        OnEditorUpdateUi(app);
        break;
    case SCN_DOUBLECLICK:
        OnEditorDoubleClick(app, static_cast<long long>(reinterpret_cast<const SCNotification&>(header).position));
        break;
    default:
        break;
    }
}

void SetFontPitch(App& app, bool fixedPitch) {
    app.config.editor.fontPitch = fixedPitch ? FontPitch::Fixed : FontPitch::Proportional;
    app.look.fixedPitch = fixedPitch;
    if (app.editor == nullptr) return;
    RebuildFont(app, app.editor);
    MeasureEditorFont(app);
    ApplyMargins(app);
    ApplyStyles(app);
    Repaint(app.editor);
}

void SetSizeStep(App& app, int step, bool persist) {
    step = ClampFontStep(step);
    EditorLook& look = app.look;
    const bool changed = step != look.sizeStep;
    if (changed) {
        look.sizeStep = step;
        app.sessionFontStep = step;
        if (app.editor != nullptr) {
            RebuildFont(app, app.editor);
            MeasureEditorFont(app);
            ApplyMargins(app);
            ApplyStyles(app);
            Repaint(app.editor);
        }
    }
    // A step reached by zooming and then chosen in the settings must still be saved.
    if (persist && app.config.editor.fontSizeStep != step) {
        app.config.editor.fontSizeStep = step;
        SaveAppConfig(app);
    }
}

void SetTheme(App& app, bool dark) {
    EditorLook& look = app.look;
    look.dark = dark;
    RebuildThemeBrushes(look);
    look.underlinePen.Reset();
    if (app.editor == nullptr) return;
    ApplyStyles(app);
    Repaint(app.editor);
}

void SetShowUnderline(App& app, bool show) {
    app.config.editor.showCurrentLineUnderline = show;
    app.look.showUnderline = show;
    app.look.underlineY = -1;
    if (app.editor == nullptr) return;
    ApplyStyles(app);
    Repaint(app.editor);
}

void SetShowHighlight(App& app, bool show) {
    app.config.editor.showCurrentLineHighlight = show;
    app.look.showHighlight = show;
    if (app.editor == nullptr) return;
    ApplyStyles(app);
    Repaint(app.editor);
}

void SetShowLineNumbers(App& app, bool show) {
    app.config.editor.showLineNumbers = show;
    app.look.showLineNumbers = show;
    if (app.editor == nullptr) return;
    MeasureEditorFont(app);
    ApplyMargins(app);
    RefreshLineNumbers(app);
    ApplyStyles(app);
    Repaint(app.editor);
}

void SetCaretStyle(App& app, CaretStyle style) {
    app.config.editor.caretStyle = style;
    app.look.caretStyle = style;
    app.look.dosCaret.reset();
    if (app.editor == nullptr) return;
    ApplyCaret(app);
    Repaint(app.editor);
}

void SetWordWrap(App& app, WordWrap wrap) {
    if (wrap == app.config.editor.wordWrap || app.editor == nullptr) return;
    const bool readOnly = IsEditorReadOnly(app.editor);
    if (!RecreateEditor(app, wrap)) return;
    app.config.editor.wordWrap = wrap;
    HWND editor = app.editor;
    // The styles came back with the theme; the caret kind was reset with the old window.
    ApplyCaret(app);
    ::SetWindowTheme(editor, WidePtr(std::u16string(ControlThemeName(app.look.dark))), nullptr);
    MeasureEditorFont(app);
    ApplyMargins(app);
    ::SetWindowPos(editor, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (readOnly) SetEditorReadOnly(editor, true);
    ::SetFocus(editor);
    SaveAppConfig(app);
}

void LayoutEditor(App& app, const RECT& rect) {
    EditorLook& look = app.look;
    look.areaRect = rect;
    HWND editor = app.editor;
    if (editor == nullptr) return;
    const int dpi = WindowDpiOf(editor);
    if (look.fontDpi != dpi) {
        // Moved to a monitor of another DPI: the font follows.
        RebuildFont(app, editor);
        MeasureEditorFont(app);
        ApplyStyles(app);
    }
    const bool wrap = Call(editor, SCI_GETWRAPMODE) != SC_WRAP_NONE;
    const bool inSizeMove = app.shell.inSizeMove;
    RECT window {};
    ::GetWindowRect(editor, &window);
    const ViewSnapshot before = ReadView(app, editor);
    const int frameWidth = (window.right - window.left) - before.clientWidth;
    const int newWidth = rect.right - rect.left;
    const LayoutPlan plan = PlanLayout(look.anchor, before, newWidth - frameWidth, wrap, inSizeMove);

    if (plan.suspendRedraw) Call(editor, WM_SETREDRAW, FALSE);
    ::SetWindowPos(editor, nullptr, rect.left, rect.top, newWidth, EditorHeightFor(rect.bottom - rect.top, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (look.lineHeight < 0) MeasureEditorFont(app);
    ApplyMargins(app);
    RestoreView(editor, plan);
    if (plan.scrollCaretIntoView) Call(editor, SCI_SCROLLCARET);
    FinishLayout(look.anchor, plan, ReadView(app, editor), wrap, inSizeMove);
    if (plan.suspendRedraw) Call(editor, WM_SETREDRAW, TRUE);
    ::RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void BeginResizeAnchor(App& app) {
    if (app.editor == nullptr) return;
    ResizeAnchor& anchor = app.look.anchor;
    anchor.recorded = ReadView(app, app.editor);
    anchor.active = true;
    anchor.restorePending = false;
}

void EndResizeAnchor(App& app) {
    ResizeAnchor& anchor = app.look.anchor;
    if (anchor.active) anchor.restorePending = true;
    anchor.active = false;
}

std::u16string GetEditorText(HWND editor) {
    const auto length = static_cast<std::size_t>(Call(editor, SCI_GETLENGTH));
    std::string bytes(length + 1, '\0');
    Call(editor, SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(bytes.data()));
    bytes.resize(length);
    return Utf8ToUtf16Lenient(bytes);
}

void SetEditorText(HWND editor, std::u16string_view text) {
    const std::string bytes = Utf16ToUtf8(text);
    const bool readOnly = IsEditorReadOnly(editor);
    if (readOnly) Call(editor, SCI_SETREADONLY, 0);
    Call(editor, SCI_CLEARALL);
    if (!bytes.empty()) Call(editor, SCI_APPENDTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
    Call(editor, SCI_EMPTYUNDOBUFFER);
    Call(editor, SCI_GOTOPOS, 0);
    if (readOnly) Call(editor, SCI_SETREADONLY, 1);
}

void SetEditorReadOnly(HWND editor, bool readOnly) {
    Call(editor, SCI_SETREADONLY, readOnly ? 1 : 0);
}

bool IsEditorReadOnly(HWND editor) {
    return Call(editor, SCI_GETREADONLY) != 0;
}

}  // namespace quillpane

// The Scintilla window that holds the memo: its creation, every setting the
// program gives it, its layout, and whole-text access.
#include "editor/editor_host_win.h"

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
    Sci(ed, SCI_SETCODEPAGE, SC_CP_UTF8);
    Sci(ed, SCI_SETEOLMODE, SC_EOL_CRLF);
    Sci(ed, SCI_SETUNDOCOLLECTION, 0);
    Sci(ed, SCI_SETWRAPMODE, wrap ? SC_WRAP_WORD : SC_WRAP_NONE);
    // Layouts of the lines on screen only: a layout per document line costs
    // memory by the size of the memo and a pass over every line per keystroke.
    Sci(ed, SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    Sci(ed, SCI_SETBUFFEREDDRAW, 1);
    Sci(ed, SCI_SETHSCROLLBAR, wrap ? 0 : 1);
    Sci(ed, SCI_SETSCROLLWIDTHTRACKING, 1);
    Sci(ed, SCI_SETUSETABS, 1);
    Sci(ed, SCI_SETTABWIDTH, 4);
    Sci(ed, SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 1);
    Sci(ed, SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION);
    Sci(ed, SCI_SETADDITIONALSELECTIONTYPING, 1);
    Sci(ed, SCI_SETIMEINTERACTION, SC_IME_INLINE);
    Sci(ed, SCI_USEPOPUP, SC_POPUP_NEVER);
    Sci(ed, SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
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
        Sci(ed, SCI_SETCARETLINEBACK, BandColour(ed));
        Sci(ed, SCI_SETCARETLINEBACKALPHA, SC_ALPHA_NOALPHA);
        Sci(ed, SCI_SETCARETLINEVISIBLE, 1);
        // The band stays while the editor has no focus.
        Sci(ed, SCI_SETCARETLINEVISIBLEALWAYS, 1);
    } else {
        Sci(ed, SCI_SETCARETLINEVISIBLE, 0);
        Sci(ed, SCI_SETCARETLINEVISIBLEALWAYS, 0);
    }
    ed.look.bandOn = on;
}

bool SelectionEmpty(EditorWindow& ed) {
    return Sci(ed, SCI_GETSELECTIONEMPTY) != 0;
}

void StyleFont(EditorWindow& ed, int style, const std::string& face, int points) {
    Sci(ed, SCI_STYLESETFONT, W(style), reinterpret_cast<LPARAM>(face.c_str()));
    Sci(ed, SCI_STYLESETSIZE, W(style), points);
}

void ApplyIndicators(EditorWindow& ed) {
    for (const IndicatorLook& indicator : IndicatorLooks(IsDark(ed))) {
        const WPARAM id = W(indicator.indicator);
        Sci(ed, SCI_INDICSETSTYLE, id, indicator.style);
        Sci(ed, SCI_INDICSETFORE, id, L(indicator.fore));
        Sci(ed, SCI_INDICSETUNDER, id, indicator.under ? 1 : 0);
        if (indicator.alpha >= 0) Sci(ed, SCI_INDICSETALPHA, id, indicator.alpha);
        if (indicator.outlineAlpha >= 0) Sci(ed, SCI_INDICSETOUTLINEALPHA, id, indicator.outlineAlpha);
        if (indicator.hoverStyle >= 0) {
            Sci(ed, SCI_INDICSETHOVERSTYLE, id, indicator.hoverStyle);
            Sci(ed, SCI_INDICSETHOVERFORE, id, L(indicator.hoverFore));
        }
    }
}

void DefineChevron(EditorWindow& ed, int marker, Chevron chevron, int size, Colour colour) {
    const std::vector<std::uint8_t> pixels = ChevronImage(chevron, size, colour);
    Sci(ed, SCI_RGBAIMAGESETWIDTH, W(size));
    Sci(ed, SCI_RGBAIMAGESETHEIGHT, W(size));
    Sci(ed, SCI_RGBAIMAGESETSCALE, 100);
    Sci(ed, SCI_MARKERDEFINERGBAIMAGE, W(marker), reinterpret_cast<LPARAM>(pixels.data()));
}

// How the fold margin looks; what a click in it does belongs to the memo folds.
void ApplyFoldMargin(EditorWindow& ed) {
    if (!SettingsOf(ed).memoFold) {
        for (int margin : {1, 2}) {
            Sci(ed, SCI_SETMARGINWIDTHN, W(margin), 0);
            Sci(ed, SCI_SETMARGINSENSITIVEN, W(margin), 0);
        }
        return;
    }
    const Palette& palette = PaletteFor(IsDark(ed));
    const FoldMarginGeometry geometry = FoldMarginFor(ed.look.numberWidth, WindowDpiOf(ed.hwnd));
    Sci(ed, SCI_SETMARGINTYPEN, 1, SC_MARGIN_COLOUR);
    Sci(ed, SCI_SETMARGINWIDTHN, 1, geometry.spacerWidth);
    Sci(ed, SCI_SETMARGINMASKN, 1, 0);
    Sci(ed, SCI_SETMARGINSENSITIVEN, 1, 0);
    Sci(ed, SCI_SETMARGINBACKN, 1, L(palette.gutter));

    Sci(ed, SCI_SETMARGINTYPEN, 2, SC_MARGIN_SYMBOL);
    Sci(ed, SCI_SETMARGINWIDTHN, 2, geometry.foldWidth);
    Sci(ed, SCI_SETMARGINMASKN, 2, static_cast<LPARAM>(SC_MASK_FOLDERS));
    Sci(ed, SCI_SETMARGINSENSITIVEN, 2, 1);
    Sci(ed, SCI_SETMARGINCURSORN, 2, SC_CURSORARROW);
    Sci(ed, SCI_SETMARGINBACKN, 2, L(palette.gutter));
    Sci(ed, SCI_SETFOLDMARGINCOLOUR, 1, L(palette.gutter));
    Sci(ed, SCI_SETFOLDMARGINHICOLOUR, 1, L(palette.gutter));

    for (int marker : {SC_MARKNUM_FOLDEREND, SC_MARKNUM_FOLDEROPENMID, SC_MARKNUM_FOLDERMIDTAIL, SC_MARKNUM_FOLDERTAIL,
                       SC_MARKNUM_FOLDERSUB}) {
        Sci(ed, SCI_MARKERDEFINE, W(marker), SC_MARK_EMPTY);
    }
    DefineChevron(ed, SC_MARKNUM_FOLDER, Chevron::Folded, geometry.markSize, palette.foldMark);
    DefineChevron(ed, SC_MARKNUM_FOLDEROPEN, Chevron::Open, geometry.markSize, palette.foldMark);

    Sci(ed, SCI_SETAUTOMATICFOLD, 0);
    Sci(ed, SCI_SETFOLDFLAGS, 0);
    Sci(ed, SCI_FOLDDISPLAYTEXTSETSTYLE, SC_FOLDDISPLAYTEXT_STANDARD);
    Sci(ed, SCI_STYLESETFORE, STYLE_FOLDDISPLAYTEXT, L(palette.foldDisplayText));
    Sci(ed, SCI_STYLESETBACK, STYLE_FOLDDISPLAYTEXT, L(palette.background));
}

long long LineCount(EditorWindow& ed) {
    return static_cast<long long>(Sci(ed, SCI_GETLINECOUNT));
}

int ClientWidth(HWND editor) {
    RECT client {};
    ::GetClientRect(editor, &client);
    return client.right - client.left;
}

ViewSnapshot ReadView(EditorWindow& ed) {
    ViewSnapshot view;
    view.firstVisibleLine = static_cast<int>(Sci(ed, SCI_GETFIRSTVISIBLELINE));
    const bool measured = SettingsOf(ed).showLineNumbers && ed.look.lineHeight >= 0;
    const int x = AnchorX(measured, ed.look.numberWidth, WindowDpiOf(ed.hwnd));
    view.topPosition = static_cast<int>(Sci(ed, SCI_CHARPOSITIONFROMPOINT, W(x), 0));
    view.clientWidth = ClientWidth(ed.hwnd);
    return view;
}

void RestoreView(EditorWindow& ed, const LayoutPlan& plan) {
    if (plan.keepDocumentLine) {
        const LRESULT line = Sci(ed, SCI_LINEFROMPOSITION, W(plan.source.topPosition));
        Sci(ed, SCI_SETFIRSTVISIBLELINE, static_cast<WPARAM>(Sci(ed, SCI_VISIBLEFROMDOCLINE, line)));
    } else {
        Sci(ed, SCI_SETFIRSTVISIBLELINE, W(plan.source.firstVisibleLine));
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
        if (!loose || Sci(ed, SCI_MARGINGETTEXT, static_cast<WPARAM>(line), 0) > 0) {
            Sci(ed, SCI_MARGINSETTEXT, static_cast<WPARAM>(line), 0);
        }
    }
    numbered = {};
}

namespace {

// Points the process's text state at a new editor window; the history and
// its marks stay, the adapter's caches rebuild for the new window.
void AttachTextState(EditorWindow& ed) {
    EditorTextState& state = ed.text;
    state.editor = ed.hwnd;
    state.call = &ed.sci;
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
            Sci(ed, SCI_APPENDTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
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

HWND CreateEditor(HWND parent, HINSTANCE instance, const RECT& bounds) {
    if (!RegisterEditorClass(instance)) return nullptr;
    HWND editor = ::CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                    bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)), instance,
                                    nullptr);
    if (editor == nullptr) return nullptr;
    Send(editor, SCI_SETCODEPAGE, SC_CP_UTF8);
    Send(editor, SCI_SETEOLMODE, SC_EOL_CRLF);
    Send(editor, SCI_SETUNDOCOLLECTION, 0);
    Send(editor, SCI_EMPTYUNDOBUFFER);
    return editor;
}

bool RecreateEditor(EditorWindow& ed, WordWrap wrap) {
    HWND old = ed.hwnd;
    if (old == nullptr) return false;
    EditorLook& look = ed.look;
    const std::u16string text = GetEditorText(old);
    const LRESULT anchor = Send(old, SCI_GETANCHOR);
    const LRESULT caret = Send(old, SCI_GETCURRENTPOS);
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
    Sci(ed, SCI_SETSEL, static_cast<WPARAM>(anchor), caret);
    Sci(ed, SCI_SCROLLCARET);
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
    Sci(ed, SCI_STYLESETFORE, STYLE_DEFAULT, L(palette.text));
    Sci(ed, SCI_STYLESETBACK, STYLE_DEFAULT, L(palette.background));
    Sci(ed, SCI_STYLECLEARALL);

    for (int style : {STYLE_LINENUMBER, kStyleChangedLineNumber}) {
        const bool changed = style == kStyleChangedLineNumber;
        StyleFont(ed, style, face, points);
        Sci(ed, SCI_STYLESETFORE, W(style), L(palette.lineNumberText));
        Sci(ed, SCI_STYLESETBACK, W(style), L(palette.gutter));
        Sci(ed, SCI_STYLESETITALIC, W(style), changed ? 1 : 0);
        Sci(ed, SCI_STYLESETWEIGHT, W(style), changed ? 600 : SC_WEIGHT_NORMAL);
    }
    Sci(ed, SCI_SETCARETFORE, L(palette.text));

    look.imeOpen = ReadImeOpen(ed.hwnd);
    SwitchBand(ed, BandWanted(SettingsOf(ed).showCurrentLineHighlight, SelectionEmpty(ed)));

    Sci(ed, SCI_SETSELFORE, 1, L(palette.selectionText));
    Sci(ed, SCI_SETSELBACK, 1, L(palette.selectionBack));
    Sci(ed, SCI_SETSELALPHA, SC_ALPHA_NOALPHA);
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
    for (int margin = 1; margin <= 4; ++margin) Sci(ed, SCI_SETMARGINWIDTHN, W(margin), 0);
    const int textMargin = TextMarginWidth(look.numberWidth > 0, dpi);
    if (look.numberWidth > 0) {
        // Margin texts rather than the component's numbering, so that changed
        // lines can carry a style of their own.
        Sci(ed, SCI_SETMARGINTYPEN, 0, SC_MARGIN_RTEXT);
        Sci(ed, SCI_SETMARGINWIDTHN, 0, look.numberWidth);
        Sci(ed, SCI_SETMARGINSENSITIVEN, 0, 1);
        Sci(ed, SCI_SETMARGINCURSORN, 0, SC_CURSORARROW);
    } else {
        Sci(ed, SCI_SETMARGINWIDTHN, 0, 0);
        Sci(ed, SCI_SETMARGINSENSITIVEN, 0, 0);
    }
    Sci(ed, SCI_SETMARGINLEFT, 0, textMargin);
    Sci(ed, SCI_SETMARGINRIGHT, 0, textMargin);
    Sci(ed, SCI_SETEXTRAASCENT, W(Scale(kExtraAscentDescent, dpi)));
    Sci(ed, SCI_SETEXTRADESCENT, W(Scale(kExtraAscentDescent, dpi)));
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
    const auto firstShown = static_cast<long long>(Sci(ed, SCI_DOCLINEFROMVISIBLE, Sci(ed, SCI_GETFIRSTVISIBLELINE)));
    const auto onScreen = static_cast<long long>(Sci(ed, SCI_LINESONSCREEN));
    const auto lastShown = static_cast<long long>(
        Sci(ed, SCI_DOCLINEFROMVISIBLE, Sci(ed, SCI_GETFIRSTVISIBLELINE) + static_cast<LRESULT>(onScreen)));
    const NumberedSpan span = NumberedSpanFor(firstShown, lastShown, lines);
    const NumberingPlan plan = PlanLineNumbers(look.numbered, span.first, span.end, lines, ed.text.history.marks);
    for (const long long line : plan.clear) {
        if (line < lines) Sci(ed, SCI_MARGINSETTEXT, static_cast<WPARAM>(line), 0);
    }
    for (const long long line : plan.clearIfAny) {
        if (Sci(ed, SCI_MARGINGETTEXT, static_cast<WPARAM>(line), 0) > 0) {
            Sci(ed, SCI_MARGINSETTEXT, static_cast<WPARAM>(line), 0);
        }
    }
    char number[24];
    for (const long long line : plan.set) {
        std::snprintf(number, sizeof(number), "%lld", line + 1);
        const auto index = static_cast<std::size_t>(line);
        const std::vector<std::uint8_t>& marks = ed.text.history.marks;
        const bool changed = index < marks.size() && marks[index] != 0;
        Sci(ed, SCI_MARGINSETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(number));
        Sci(ed, SCI_MARGINSETSTYLE, static_cast<WPARAM>(line), changed ? kStyleChangedLineNumber : STYLE_LINENUMBER);
    }
}

void ClearChangedLineMarks(EditorWindow& ed) {
    EditorTextState& state = ed.text;
    if (state.editor == nullptr) {
        state.history.marks.clear();
        return;
    }
    const std::vector<std::uint8_t>& marks = state.history.marks;
    const bool anySet = std::any_of(marks.begin(), marks.end(), [](std::uint8_t mark) { return mark != 0; });
    if (anySet || marks.size() != static_cast<std::size_t>(LineCount(ed))) ClearMarks(state);
}

void ApplyCaret(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const int kind = CaretKindOf(SettingsOf(ed).caretStyle);
    if (kind == look.appliedCaretKind) return;
    const CaretSettings settings = CaretSettingsFor(kind, WindowDpiOf(ed.hwnd));
    const int style = settings.invisible ? CARETSTYLE_INVISIBLE : settings.block ? CARETSTYLE_BLOCK : CARETSTYLE_LINE;
    Sci(ed, SCI_SETCARETSTYLE, W(style));
    if (settings.width >= 0) Sci(ed, SCI_SETCARETWIDTH, W(settings.width));
    Sci(ed, SCI_SETCARETPERIOD, W(settings.period));
    look.appliedCaretKind = kind;
}

void UpdateImeCue(EditorWindow& ed) {
    if (ed.hwnd == nullptr) return;
    EditorLook& look = ed.look;
    const bool open = ReadImeOpen(ed.hwnd);
    if (open == look.imeOpen) return;
    look.imeOpen = open;
    if (look.bandOn) Sci(ed, SCI_SETCARETLINEBACK, BandColour(ed));
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
    const bool wrapped = Sci(ed, SCI_GETWRAPMODE) != SC_WRAP_NONE;
    if (wrapped == (wrap == WordWrap::Wrap)) return true;
    const bool readOnly = IsEditorReadOnly(ed.hwnd);
    if (!RecreateEditor(ed, wrap)) return false;
    // The styles came back with the theme; the caret kind was reset with the old window.
    ApplyCaret(ed);
    ::SetWindowTheme(ed.hwnd, WidePtr(std::u16string(ControlThemeName(IsDark(ed)))), nullptr);
    MeasureEditorFont(ed);
    ApplyMargins(ed);
    ::SetWindowPos(ed.hwnd, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (readOnly) SetEditorReadOnly(ed.hwnd, true);
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
    const bool wrap = Sci(ed, SCI_GETWRAPMODE) != SC_WRAP_NONE;
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
    if (plan.scrollCaretIntoView) Sci(ed, SCI_SCROLLCARET);
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

std::u16string GetEditorText(HWND editor) {
    const auto length = static_cast<std::size_t>(Send(editor, SCI_GETLENGTH));
    std::string bytes(length + 1, '\0');
    Send(editor, SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(bytes.data()));
    bytes.resize(length);
    return Utf8ToUtf16Lenient(bytes);
}

void SetEditorBytes(HWND editor, std::string_view bytes) {
    const bool readOnly = IsEditorReadOnly(editor);
    if (readOnly) Send(editor, SCI_SETREADONLY, 0);
    Send(editor, SCI_CLEARALL);
    // With no margin text left the component keeps no per-line record of
    // them, instead of one for every line of a large memo.
    Send(editor, SCI_MARGINTEXTCLEARALL);
    if (!bytes.empty()) Send(editor, SCI_APPENDTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
    Send(editor, SCI_EMPTYUNDOBUFFER);
    Send(editor, SCI_GOTOPOS, 0);
    if (readOnly) Send(editor, SCI_SETREADONLY, 1);
}

void SetEditorReadOnly(HWND editor, bool readOnly) {
    Send(editor, SCI_SETREADONLY, readOnly ? 1 : 0);
}

bool IsEditorReadOnly(HWND editor) {
    return Send(editor, SCI_GETREADONLY) != 0;
}

}  // namespace quillpane

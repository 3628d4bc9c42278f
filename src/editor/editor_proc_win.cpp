// The editor's window procedure, layered over Scintilla's own by subclassing.
#include "editor/editor_proc_win.h"

#include "editor/editor_window_win.h"
#include "resources/messages.h"
#include "editor/drop_target_win.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/editor_keys.h"
#include "editor/editor_paint_win.h"
#include "editor/editor_proc_state_win.h"
#include "editor/links_win.h"
#include "editor/text_adapter_win.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>

namespace quillpane {
namespace {

constexpr UINT_PTR kEditorSubclassId = 0x51504544;  // "QPED"
// GetWindowSubclass is missing from MinGW's import library: the state is
// also kept as a window property for the panel's notifications.
constexpr wchar_t kStateProperty[] = L"QpEditorProcState";

LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

LRESULT Default(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(editor, message, wParam, lParam);
}

// The window's client rectangle in window coordinates, and whether a bottom
// strip exists (there is none above a horizontal scroll bar).
struct FrameGeometry {
    Size window;
    Rect client;
    bool bottomStrip = false;
};

FrameGeometry GeometryOf(HWND editor) {
    RECT window {};
    ::GetWindowRect(editor, &window);
    RECT client {};
    ::GetClientRect(editor, &client);
    ::MapWindowPoints(editor, nullptr, reinterpret_cast<POINT*>(&client), 2);
    FrameGeometry geometry;
    geometry.window = {window.right - window.left, window.bottom - window.top};
    geometry.client = {client.left - window.left, client.top - window.top, client.right - window.left,
                       client.bottom - window.top};
    geometry.bottomStrip = (::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL) == 0;
    return geometry;
}

StripHit StripAt(HWND editor, LPARAM screenPoint) {
    RECT window {};
    ::GetWindowRect(editor, &window);
    const FrameGeometry geometry = GeometryOf(editor);
    const Point point {GET_X_LPARAM(screenPoint) - window.left, GET_Y_LPARAM(screenPoint) - window.top};
    return HitTestStrips(point, geometry.window, geometry.client, geometry.bottomStrip);
}

LRESULT OnPaint(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    if (ProgramPaints(ed)) {
        PaintEditor(ed, editor);
        return 0;
    }
    const LRESULT result = Default(editor, WM_PAINT, wParam, lParam);
    PaintInsetStrips(ed, editor);
    return result;
}

LRESULT OnNcCalcSize(HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_NCCALCSIZE, wParam, lParam);
    RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const bool horizontalBar = (::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL) != 0;
    const Rect inset = InsetClient({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                   InsetsFor(horizontalBar, WindowDpiOf(editor)));
    *proposed = RECT {inset.left, inset.top, inset.right, inset.bottom};
    return result;
}

LRESULT OnNcPaint(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_NCPAINT, wParam, lParam);
    PaintInsetStrips(ed, editor);
    return result;
}

LRESULT OnNcHitTest(HWND editor, WPARAM wParam, LPARAM lParam) {
    switch (StripAt(editor, lParam)) {
    case StripHit::TopText:
    case StripHit::BottomText:
        return HTCLIENT;
    case StripHit::TopScrollBar:
    case StripHit::BottomScrollBar:
        return HTVSCROLL;
    case StripHit::None:
        break;
    }
    return Default(editor, WM_NCHITTEST, wParam, lParam);
}

// A press on a strip's scroll-bar part jumps to the top or the bottom.
LRESULT OnNcLButtonDown(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    if (wParam == HTVSCROLL) {
        const StripHit hit = StripAt(editor, lParam);
        if (hit == StripHit::TopScrollBar || hit == StripHit::BottomScrollBar) {
            SuppressUnderlineForScroll(ed, editor);
            ::SendMessageW(editor, WM_VSCROLL, hit == StripHit::TopScrollBar ? SB_TOP : SB_BOTTOM, 0);
            return 0;
        }
    }
    return Default(editor, WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT OnSetFocus(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_SETFOCUS, wParam, lParam);
    if (editor == ed.hwnd) {
        ApplyCaret(ed);
        UpdateImeCue(ed);
        RefreshDosCaret(ed);
    }
    return result;
}

LRESULT OnKillFocus(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_KILLFOCUS, wParam, lParam);
    ForgetDosCaret(ed, editor);
    return result;
}

LRESULT OnImeNotify(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_IME_NOTIFY, wParam, lParam);
    if (wParam == IMN_SETOPENSTATUS && editor == ed.hwnd) UpdateImeCue(ed);
    return result;
}

LRESULT OnScroll(EditorWindow& ed, HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    SuppressUnderlineForScroll(ed, editor);
    return Default(editor, message, wParam, lParam);
}

LRESULT OnSize(EditorWindow& ed, HWND editor, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(editor, WM_SIZE, wParam, lParam);
    if (editor == ed.hwnd && !ParentSizing(ed)) UpdateCurrentLineCues(ed);
    return result;
}

static_assert(static_cast<unsigned>(ComponentCommand::HomeDisplay) == SCI_HOMEDISPLAY &&
              static_cast<unsigned>(ComponentCommand::HomeDisplayExtend) == SCI_HOMEDISPLAYEXTEND &&
              static_cast<unsigned>(ComponentCommand::LineEndDisplay) == SCI_LINEENDDISPLAY &&
              static_cast<unsigned>(ComponentCommand::LineEndDisplayExtend) == SCI_LINEENDDISPLAYEXTEND &&
              static_cast<unsigned>(ComponentCommand::LineDownRectExtend) == SCI_LINEDOWNRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::LineUpRectExtend) == SCI_LINEUPRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::CharLeftRectExtend) == SCI_CHARLEFTRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::CharRightRectExtend) == SCI_CHARRIGHTRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::HomeRectExtend) == SCI_HOMERECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::LineEndRectExtend) == SCI_LINEENDRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::PageUpRectExtend) == SCI_PAGEUPRECTEXTEND &&
              static_cast<unsigned>(ComponentCommand::PageDownRectExtend) == SCI_PAGEDOWNRECTEXTEND);

bool KeyHeld(int key) {
    return ::GetKeyState(key) < 0;
}

// The input method is open and holds a composition string: it keeps its keys.
bool Composing(HWND editor) {
    HIMC context = ::ImmGetContext(editor);
    if (context == nullptr) return false;
    const bool composing = ::ImmGetOpenStatus(context) != FALSE &&
                           ::ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0) > 0;
    ::ImmReleaseContext(editor, context);
    return composing;
}

bool IsOurs(const EditorProcState& state) {
    return state.ed->hwnd == state.editor && state.ed->text.model.Window() == state.editor;
}

KeyEvent MakeKeyEvent(const EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    const EditorWindow& ed = *state.ed;
    KeyEvent event;
    switch (message) {
    case WM_SYSKEYDOWN: event.message = KeyMessage::SysKeyDown; break;
    case WM_SYSCHAR: event.message = KeyMessage::SysChar; break;
    case WM_CHAR: event.message = KeyMessage::Char; break;
    default: event.message = KeyMessage::KeyDown; break;
    }
    event.key = static_cast<unsigned>(wParam);
    event.ctrl = KeyHeld(VK_CONTROL);
    event.shift = KeyHeld(VK_SHIFT);
    // Bit 29: Alt was down when a system key was pressed.
    event.alt = KeyHeld(VK_MENU) || ((message == WM_SYSKEYDOWN || message == WM_SYSCHAR) && (lParam & (1 << 29)) != 0);
    event.autoRepeat = (lParam & (1 << 30)) != 0;
    event.composing = (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && Composing(state.editor);
    event.noArrowLineCross = SettingsOf(ed).noArrowLineCross;
    event.memoFold = SettingsOf(ed).memoFold;
    event.wordWrap = SettingsOf(ed).wordWrap == WordWrap::Wrap;
    return event;
}

// Several ranges, a rectangle, a selection to type over or overtype: the
// component's edit is delete plus insert, recorded here as one step.
bool TypingReplaces(const EditorWindow& ed) {
    const Scintilla::SelectionMode mode = ed.sci.SelectionMode();
    const bool rectangle = mode == Scintilla::SelectionMode::Rectangle || mode == Scintilla::SelectionMode::Thin;
    return rectangle || ed.sci.Selections() > 1 || !ed.sci.SelectionEmpty() || ed.sci.Overtype();
}

std::size_t SelectionsLowest(const EditorWindow& ed) {
    const LRESULT count = ed.sci.Selections();
    LRESULT lowest = ed.sci.SelectionStart();
    for (LRESULT i = 0; i < count; ++i) lowest = std::min(lowest, ed.sci.SelectionNStart(i));
    return lowest > 0 ? static_cast<std::size_t>(lowest) : 0;
}

std::size_t SelectionsHighest(const EditorWindow& ed) {
    const LRESULT count = ed.sci.Selections();
    LRESULT highest = ed.sci.SelectionEnd();
    for (LRESULT i = 0; i < count; ++i) highest = std::max(highest, ed.sci.SelectionNEnd(i));
    return highest > 0 ? static_cast<std::size_t>(highest) : 0;
}

// The component's own processing as one compound step; the lines from the
// old selection start to the new selection end are marked changed.
LRESULT CompoundEdit(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorWindow& ed = *state.ed;
    EditorTextState& text = ed.text;
    HWND editor = state.editor;
    BeforeEdit(ContextOf(text));
    const std::size_t before = SelectionsLowest(ed);
    const LRESULT result = Default(editor, message, wParam, lParam);
    const std::size_t after = SelectionsHighest(ed);
    const std::size_t first = ToIndex(text.adapter, text.model, std::min(before, after));
    const std::size_t last = ToIndex(text.adapter, text.model, std::max(before, after));
    MarkRangeChanged(ContextOf(text), first, last);
    AfterEdit(ContextOf(text), false);
    RefreshLineNumbers(ed);
    return result;
}

void PostToPanel(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    ::PostMessageW(::GetParent(editor), message, wParam, lParam);
}

LRESULT RunKeyAction(EditorProcState& state, const KeyAction& action, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorWindow& ed = *state.ed;
    HWND editor = state.editor;
    switch (action.kind) {
    case KeyActionKind::PassToComponent:
        return Default(editor, message, wParam, lParam);
    case KeyActionKind::Swallow:
        return 0;
    case KeyActionKind::PostToPanel:
        PostToPanel(editor, action.id, static_cast<WPARAM>(action.wParam), 0);
        return 0;
    case KeyActionKind::CommandToPanel:
        PostToPanel(editor, WM_COMMAND, action.id, 0);
        return 0;
    case KeyActionKind::RunLineCommand:
        (void)RunLineCommandOn(ed, action.lineCommand);
        break;
    case KeyActionKind::DeleteWordLeft:
        (void)DeleteWordLeft(ed);
        break;
    case KeyActionKind::DeleteWordRight:
        (void)DeleteWordRight(ed);
        break;
    case KeyActionKind::ToggleFoldAtSelection:
        // Folds are the sections' business: the panel runs them.
        if (SettingsOf(ed).memoFold) ::SendMessageW(ed.parent, PM_TOGGLEFOLD, 0, 0);
        break;
    case KeyActionKind::RunComponentCommand:
        ed.sci.Call(static_cast<Scintilla::Message>(action.componentCommand));
        break;
    case KeyActionKind::CaretToDocumentEdge:
        SetCaret(ed, action.toEnd ? EditorLength16(ed) : 0, action.extend);
        break;
    case KeyActionKind::CaretToLineEdge:
        CaretToLineEdge(ed, action.toEnd);
        break;
    case KeyActionKind::WordMove:
        MoveByWord(ed, action.toEnd, action.extend);
        break;
    case KeyActionKind::ScrollKeepCaret:
        SuppressUnderlineForScroll(ed, editor);
        ScrollKeepingCaret(ed, action.toEnd);
        break;
    case KeyActionKind::ArrowLineCross:
        if (!ArrowStopsHere(ed, action.toEnd, action.extend)) {
            return Default(editor, message, wParam, lParam);
        }
        return 0;
    case KeyActionKind::SelectAll:
        ed.sci.SelectAll();
        break;
    }
    EndEditorDrags(state);
    AfterCaretMove(ed);
    return 0;
}

LRESULT OnKey(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsOurs(state)) return Default(state.editor, message, wParam, lParam);
    const KeyEvent event = MakeKeyEvent(state, message, wParam, lParam);
    const KeyAction action = MapEditorKey(event);
    if (action.kind == KeyActionKind::PassToComponent && state.depth == 1 && !state.composing &&
        IsCompoundEditKey(event, TypingReplaces(*state.ed))) {
        return CompoundEdit(state, message, wParam, lParam);
    }
    return RunKeyAction(state, action, message, wParam, lParam);
}

// Before a message that may edit, or a key or press that ends the capture.
void CaptureStep(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorTextState& text = state.ed->text;
    switch (message) {
    case EM_REPLACESEL:
    case SCI_ADDTEXT:
    case SCI_INSERTTEXT:
    case SCI_REPLACESEL:
    case SCI_CLEAR:
    case SCI_DELETERANGE:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        CaptureBeforeUserEdit(ContextOf(text));
        return;
    case WM_CHAR:
    case WM_KEYDOWN:
        switch (CaptureStepFor(MakeKeyEvent(state, message, wParam, lParam))) {
        case CaptureStep::Capture: CaptureBeforeUserEdit(ContextOf(text)); return;
        case CaptureStep::End: EndCapture(text.history); return;
        case CaptureStep::None: return;
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        EndCapture(text.history);
        return;
    default:
        return;
    }
}

void BeginImeComposition(EditorProcState& state) {
    if (state.composing) return;
    const EditorWindow& ed = *state.ed;
    BeginComposition(ContextOf(state.ed->text));
    // The component's inline composition relies on its own undo.
    ed.sci.SetUndoCollection(true);
    state.overtypeBeforeComposition = ed.sci.Overtype();
    ed.sci.SetOvertype(false);
    state.composing = true;
}

void EndImeComposition(EditorProcState& state) {
    if (!state.composing) return;
    const EditorWindow& ed = *state.ed;
    state.composing = false;
    ed.sci.SetUndoCollection(false);
    ed.sci.EmptyUndoBuffer();
    ed.sci.SetOvertype(state.overtypeBeforeComposition);
    EndComposition(ContextOf(state.ed->text));
    RefreshLineNumbers(*state.ed);
}

LRESULT OnImeComposition(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsOurs(state) || state.depth != 1) return Default(state.editor, message, wParam, lParam);
    const bool started = !state.composing;
    BeginImeComposition(state);
    const LRESULT result = Default(state.editor, message, wParam, lParam);
    // Some input methods commit a result without a composition around it.
    if (message == WM_IME_COMPOSITION && started && (lParam & GCS_RESULTSTR) != 0 && (lParam & GCS_COMPSTR) == 0 &&
        !Composing(state.editor)) {
        EndImeComposition(state);
    }
    return result;
}

LRESULT OnImeEndComposition(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(state.editor, WM_IME_ENDCOMPOSITION, wParam, lParam);
    if (IsOurs(state)) EndImeComposition(state);
    return result;
}

// Cut, paste and clear are one step with their lines marked, whoever sends them.
LRESULT OnClipboardEdit(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsOurs(state) || state.depth != 1 || state.composing) return Default(state.editor, message, wParam, lParam);
    return CompoundEdit(state, message, wParam, lParam);
}

LRESULT OnContextMenu(EditorProcState& state, WPARAM wParam, LPARAM lParam) {
    PostToPanel(state.editor, PM_EDITORMENU, wParam, lParam);
    return 0;
}

LRESULT OnNcDestroy(EditorProcState* state, HWND editor, WPARAM wParam, LPARAM lParam, UINT_PTR id) {
    ::RemoveWindowSubclass(editor, EditorProc, id);
    ::RemovePropW(editor, kStateProperty);
    RevokeEditorDropTarget(state->dropTarget, editor);
    EditorWindow& ed = *state->ed;
    ReleasePaintBuffer(ed.look);
    ed.look.appliedCaretKind = 0;
    ed.look.dosCaret.reset();
    if (ed.text.model.Window() == editor) ed.text.model.Bind(nullptr, nullptr);
    // The call object must never reach a destroyed component.
    if (ed.hwnd == editor) ed.sci.SetFnPtr(nullptr, 0);
    delete state;
    return ::DefSubclassProc(editor, WM_NCDESTROY, wParam, lParam);
}

LRESULT Dispatch(EditorProcState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorWindow& ed = *state.ed;
    HWND editor = state.editor;
    if (const std::optional<LRESULT> mouse = HandleEditorMouse(state, message, wParam, lParam)) return *mouse;
    switch (message) {
    case WM_PAINT:
        return OnPaint(ed, editor, wParam, lParam);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(editor, wParam, lParam);
    case WM_NCPAINT:
        return OnNcPaint(ed, editor, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(editor, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(ed, editor, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(ed, editor, wParam, lParam);
    case WM_KILLFOCUS:
        return OnKillFocus(ed, editor, wParam, lParam);
    case WM_IME_NOTIFY:
        return OnImeNotify(ed, editor, wParam, lParam);
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
        return OnImeComposition(state, message, wParam, lParam);
    case WM_IME_ENDCOMPOSITION:
        return OnImeEndComposition(state, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        return OnKey(state, message, wParam, lParam);
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        return OnClipboardEdit(state, message, wParam, lParam);
    case WM_CONTEXTMENU:
        return OnContextMenu(state, wParam, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
        return OnScroll(ed, editor, message, wParam, lParam);
    case WM_SIZE:
        return OnSize(ed, editor, wParam, lParam);
    case WM_TIMER:
        if (wParam == kLinkTimerId) {
            if (ed.hwnd == editor) RescanLinks(ed);
            return 0;
        }
        break;
    default:
        break;
    }
    return Default(editor, message, wParam, lParam);
}

// Keeps the nesting depth right on every way out.
class DepthScope {
public:
    explicit DepthScope(int& depth) : depth_(depth) { ++depth_; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;
    ~DepthScope() { --depth_; }

private:
    int& depth_;
};

LRESULT OnMessage(EditorProcState* state, UINT message, WPARAM wParam, LPARAM lParam) {
    DepthScope depth(state->depth);
    // A window the record has moved on from (being replaced) is the
    // component's alone: the record's call object reaches the new one.
    const bool ours = IsOurs(*state);
    if (!ours) return Default(state->editor, message, wParam, lParam);
    if (ours && state->depth == 1) CaptureStep(*state, message, wParam, lParam);
    if (ours) {
        EditorTextState& text = state->ed->text;
        // A replacement is delete plus insert for the component: one step.
        const bool replacement = (message == EM_REPLACESEL || message == SCI_REPLACESEL) && state->depth == 1 &&
                                 !state->composing && !text.history.loading && !text.history.applying;
        if (replacement) BeforeEdit(ContextOf(text));
        LRESULT result = 0;
        const bool answered = AnswerEditMessage(text, message, wParam, lParam, &result);
        if (!answered && replacement) result = Dispatch(*state, message, wParam, lParam);
        if (replacement) AfterEdit(ContextOf(text), true);
        if (answered || replacement) return result;
    }
    return Dispatch(*state, message, wParam, lParam);
}

LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* state = reinterpret_cast<EditorProcState*>(data);
    if (message == WM_NCDESTROY) return OnNcDestroy(state, editor, wParam, lParam, id);
    return GuardComponentCalls(LRESULT {0}, [&] { return OnMessage(state, message, wParam, lParam); });
}

}  // namespace

EditorProcState* EditorProcStateOf(HWND editor) {
    if (editor == nullptr) return nullptr;
    return static_cast<EditorProcState*>(::GetPropW(editor, kStateProperty));
}

bool InstallEditorProc(EditorWindow& ed) {
    HWND editor = ed.hwnd;
    auto* state = new EditorProcState;
    state->ed = &ed;
    state->editor = editor;
    if (::SetWindowSubclass(editor, EditorProc, kEditorSubclassId, reinterpret_cast<DWORD_PTR>(state)) == FALSE) {
        delete state;
        return false;
    }
    ::SetPropW(editor, kStateProperty, state);
    state->dropTarget = RegisterEditorDropTarget(ed, editor);
    return true;
}

void OnEditorDoubleClick(EditorWindow& ed, long long position) {
    EditorProcState* state = EditorProcStateOf(ed.hwnd);
    if (state == nullptr || !IsOurs(*state)) return;
    HWND editor = ed.hwnd;
    const LRESULT caret = ed.sci.CurrentPos();
    const std::size_t bytes = static_cast<std::size_t>(position >= 0 ? position : (caret > 0 ? caret : 0));
    switch (SelectWordAt(ed, ToIndex(ed.text.adapter, ed.text.model, bytes))) {
    case DoubleClickMarks::Clear:
        PostToPanel(editor, PM_CLEARHIGHLIGHT, 0, 0);
        break;
    case DoubleClickMarks::MarkWord:
        // Posted: the panel marks what is selected once this click is done.
        PostToPanel(editor, WM_COMMAND, IDM_HIGHLIGHTWORD, 0);
        break;
    case DoubleClickMarks::Keep:
        break;
    }
    // The pointer's place, not the caret's: the caret ends at the word's end,
    // which a third click on the word would rarely hit.
    const DWORD messagePos = ::GetMessagePos();
    POINT point {GET_X_LPARAM(messagePos), GET_Y_LPARAM(messagePos)};
    ::ScreenToClient(editor, &point);
    state->doubleClickValid = true;
    state->doubleClickTime = ::GetTickCount();
    state->doubleClickPoint = point;
}

void OnEditorUpdateUi(EditorWindow& ed) {
    EditorProcState* state = EditorProcStateOf(ed.hwnd);
    if (state == nullptr || !IsOurs(*state)) return;
    HWND editor = ed.hwnd;
    if (!ed.sci.SelectionEmpty()) return;
    const LRESULT caret = ed.sci.CurrentPos();
    const std::size_t position = caret > 0 ? static_cast<std::size_t>(caret) : 0;
    if (state->lastPostedCaret == position) return;
    state->lastPostedCaret = position;
    const LRESULT line = ed.sci.LineFromPosition(position);
    PostToPanel(editor, PM_CARETLINE, static_cast<WPARAM>(line + 1), 0);
}

}  // namespace quillpane

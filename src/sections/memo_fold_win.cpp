// Memo folds shown in the editor, and the section commands of the panel.
#include "sections/memo_fold_win.h"

#include "app/app_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "sections/marker_commands.h"
#include "sections/memo_fold.h"
#include "sections/memo_reorder.h"

#include <Scintilla.h>

#include <optional>
#include <string>
#include <vector>

namespace quillpane {
namespace {

LRESULT Call(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(editor, message, wParam, lParam);
}

WPARAM W(int value) {
    return static_cast<WPARAM>(value);
}

// Scintilla's fold state of the editor, as the fold logic reads it.
class ScintillaFoldView final : public FoldView {
public:
    explicit ScintillaFoldView(HWND editor) : editor_(editor) {}

    [[nodiscard]] int LineCount() const override { return Int(SCI_GETLINECOUNT); }
    [[nodiscard]] int FoldLevel(int line) const override { return Int(SCI_GETFOLDLEVEL, W(line)); }
    [[nodiscard]] bool IsLineVisible(int line) const override { return Int(SCI_GETLINEVISIBLE, W(line)) != 0; }
    [[nodiscard]] bool IsExpanded(int line) const override { return Int(SCI_GETFOLDEXPANDED, W(line)) != 0; }
    [[nodiscard]] int LastChild(int line) const override { return Int(SCI_GETLASTCHILD, W(line), -1); }
    [[nodiscard]] int FoldParent(int line) const override { return Int(SCI_GETFOLDPARENT, W(line)); }
    [[nodiscard]] int NextContracted(int line) const override { return Int(SCI_CONTRACTEDFOLDNEXT, W(line)); }

private:
    [[nodiscard]] int Int(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return static_cast<int>(Call(editor_, message, wParam, lParam));
    }
    HWND editor_;
};

// WM_SETREDRAW works through the WS_VISIBLE bit: switching a hidden editor
// back on would show it, so only a shown editor is switched off.
class RedrawOff {
public:
    explicit RedrawOff(HWND editor) : editor_(::IsWindowVisible(editor) ? editor : nullptr) {
        if (editor_ != nullptr) Call(editor_, WM_SETREDRAW, FALSE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
    ~RedrawOff() {
        if (editor_ != nullptr) Call(editor_, WM_SETREDRAW, TRUE);
    }

private:
    HWND editor_;
};

// The text layer of the editor, or null while there is no editor it serves.
EditorTextState* TextStateOf(App& app) {
    if (app.editor == nullptr || app.textState.editor != app.editor) return nullptr;
    return &app.textState;
}

std::size_t SelectionStartIndex(EditorTextState& state) {
    const auto position = static_cast<std::size_t>(Call(state.editor, SCI_GETSELECTIONSTART));
    return EditorIndexFromPosition(state, position);
}

Selection CurrentSelection(EditorTextState& state) {
    const auto start = static_cast<std::size_t>(Call(state.editor, SCI_GETSELECTIONSTART));
    const auto end = static_cast<std::size_t>(Call(state.editor, SCI_GETSELECTIONEND));
    return Selection {EditorIndexFromPosition(state, start), EditorIndexFromPosition(state, end)};
}

// The view of the document the fold logic works on; its text stays valid
// while the fold operations run (they do not change the text).
FoldDocument DocumentOf(App& app, EditorTextState& state) {
    FoldDocument document;
    document.selectionStart = SelectionStartIndex(state);
    document.text = ReadEditorText(state);
    document.markers = MarkerSettingsOf(app.config.editor);
    document.memoFold = app.config.editor.memoFold;
    document.readOnly = IsEditorReadOnly(app.editor);
    return document;
}

// The margin look follows [Editor] MemoFold; it is rebuilt only when the
// fold margin is not in the state the setting asks for.
void EnsureFoldMarginLook(App& app) {
    const bool shown = Call(app.editor, SCI_GETMARGINWIDTHN, 2) > 0;
    if (shown != app.config.editor.memoFold) ApplyMargins(app);
}

void SendFoldOp(HWND editor, const FoldOp& op) {
    switch (op.kind) {
    case FoldOpKind::ExpandAll:
        Call(editor, SCI_FOLDALL, SC_FOLDACTION_EXPAND);
        break;
    case FoldOpKind::SetLevel:
        Call(editor, SCI_SETFOLDLEVEL, W(op.line), op.level);
        break;
    case FoldOpKind::Expand:
        Call(editor, SCI_FOLDLINE, W(op.line), SC_FOLDACTION_EXPAND);
        break;
    case FoldOpKind::Contract:
        Call(editor, SCI_TOGGLEFOLDSHOWTEXT, W(op.line), reinterpret_cast<LPARAM>(op.text.c_str()));
        break;
    case FoldOpKind::EnsureVisible:
        Call(editor, SCI_ENSUREVISIBLE, W(op.line));
        break;
    }
}

// The sidebar has no fold marks of its own yet; a repaint is all it needs.
void NotifySidebar(App& app) {
    if (app.sidebar != nullptr) ::InvalidateRect(app.sidebar, nullptr, FALSE);
}

void CarryOut(App& app, EditorTextState& state, const FoldPlan& plan) {
    if (plan.Empty()) return;
    HWND editor = app.editor;
    if (!plan.ops.empty()) {
        RedrawOff redraw(editor);
        for (const FoldOp& op : plan.ops) SendFoldOp(editor, op);
    }
    if (plan.caretIndex) {
        const std::size_t position = EditorPositionFromIndex(state, *plan.caretIndex);
        Call(editor, SCI_SETEMPTYSELECTION, position);
        Call(editor, SCI_SCROLLCARET);
    }
    if (plan.foldedChanged) SaveAppConfig(app);
    if (plan.notice || plan.refreshSidebarFolds) NotifySidebar(app);
    ::InvalidateRect(editor, nullptr, FALSE);
}

}  // namespace

void RecomputeMemoFolds(App& app) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr || app.recomputingFolds) return;
    app.recomputingFolds = true;
    ::KillTimer(app.panel, kTimerMemoFolds);
    EnsureFoldMarginLook(app);
    const FoldDocument document = DocumentOf(app, *state);
    const FoldPlan plan =
        RecomputeFolds(app.memoFolds, document, ScintillaFoldView(app.editor), app.config.sidebar.folded);
    CarryOut(app, *state, plan);
    app.recomputingFolds = false;
}

void ToggleFoldAtCaret(App& app) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr) return;
    const LRESULT start = Call(app.editor, SCI_GETSELECTIONSTART);
    const int line = static_cast<int>(Call(app.editor, SCI_LINEFROMPOSITION, static_cast<WPARAM>(start)));
    const FoldDocument document = DocumentOf(app, *state);
    const FoldPlan plan = ToggleFoldAtLine(app.memoFolds, document, ScintillaFoldView(app.editor),
                                           app.config.sidebar.folded, line, std::nullopt);
    CarryOut(app, *state, plan);
}

void OnFoldMarginClick(App& app, int line) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr) return;
    const MouseToggle mouse {::GetTickCount(), ::GetDoubleClickTime()};
    const FoldDocument document = DocumentOf(app, *state);
    const FoldPlan plan = ToggleFoldAtLine(app.memoFolds, document, ScintillaFoldView(app.editor),
                                           app.config.sidebar.folded, line, mouse);
    CarryOut(app, *state, plan);
}

void RevealTextIndex(App& app, std::size_t index) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr) return;
    const FoldDocument document = DocumentOf(app, *state);
    const FoldPlan plan = RevealIndex(document, ScintillaFoldView(app.editor), app.config.sidebar.folded, index);
    CarryOut(app, *state, plan);
}

void OnMemoFoldNotify(App& app, const SCNotification& notification) {
    switch (notification.nmhdr.code) {
    case SCN_MODIFIED:
        // Typing stays fast: the folds follow once it pauses. Nothing to do
        // while folding is off and nothing of it is left in the editor.
        if ((notification.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) != 0 &&
            (app.config.editor.memoFold || !app.memoFolds.appliedSignature.empty())) {
            ::SetTimer(app.panel, kTimerMemoFolds, kMemoFoldDelayMs, nullptr);
        }
        break;
    case SCN_MARGINCLICK:
        if (notification.margin == 2) {
            const auto position = static_cast<WPARAM>(notification.position);
            OnFoldMarginClick(app, static_cast<int>(Call(app.editor, SCI_LINEFROMPOSITION, position)));
        }
        break;
    default:
        break;
    }
}

void OnMemoFoldTimer(App& app) {
    ::KillTimer(app.panel, kTimerMemoFolds);
    RecomputeMemoFolds(app);
}

void InsertMarkerCommand(App& app) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr || IsEditorReadOnly(app.editor)) return;
    const std::optional<TextEdit> edit = InsertMarker(MarkerSettingsOf(app.config.editor), CurrentSelection(*state));
    if (!edit) return;
    ApplyTextEdit(*state, *edit, true);
}

void SelectThisNoteCommand(App& app) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr) return;
    const std::size_t caret = SelectionStartIndex(*state);
    const Selection note = SelectThisNote(ReadEditorText(*state), MarkerSettingsOf(app.config.editor), caret);
    const std::size_t anchor = EditorPositionFromIndex(*state, note.anchor);
    const std::size_t end = EditorPositionFromIndex(*state, note.caret);
    Call(app.editor, SCI_SETSEL, anchor, static_cast<LPARAM>(end));
    Call(app.editor, SCI_SCROLLCARET);
}

void SetRoleCommand(App& app, unsigned commandId) {
    const std::optional<SectionMarkerRole> role = RoleForCommand(commandId);
    if (!role || !SetRole(app.config.editor, *role)) return;
    SaveAppConfig(app);
    RecomputeMemoFolds(app);
    NotifySidebar(app);
}

int MoveMemoCommand(App& app, int from, int to, int expectedCount, std::size_t expectedStart) {
    EditorTextState* state = TextStateOf(app);
    if (state == nullptr || state->history.compoundDepth > 0 || state->history.composition.active ||
        IsEditorReadOnly(app.editor)) {
        return kMoveRefused;
    }
    // A copy: the edit below replaces the adapter's text.
    const std::u16string before = ReadEditorText(*state);
    const MemoMove move = MoveMemo(before, MarkerSettingsOf(app.config.editor), from, to, expectedCount, expectedStart);
    if (move.result < 0) return move.result;

    ApplyTextEdit(*state, move.edit, true);
    const std::u16string& after = ReadEditorText(*state);
    if (after != move.newText) {
        // The component did not take the replacement as planned; whatever it
        // did take must not stay as a half move.
        if (after != before) {
            (void)Undo(*state);
            state->history.redoStack.clear();
        }
        ::InvalidateRect(app.editor, nullptr, FALSE);
        return kMoveRefused;
    }
    // Fold levels and contracted memos follow the blocks at once.
    RecomputeMemoFolds(app);
    return move.result;
}

}  // namespace quillpane

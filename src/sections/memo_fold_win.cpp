// Memo folds shown in the editor.
#include "sections/memo_fold_win.h"

#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "resources/messages.h"
#include "sections/memo_fold.h"

#include <Scintilla.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace quillpane {
namespace {

// Scintilla's fold state of the editor, as the fold logic reads it.
class ScintillaFoldView final : public FoldView {
public:
    explicit ScintillaFoldView(const EditorWindow& editor) : editor_(editor) {}

    [[nodiscard]] int LineCount() const override { return static_cast<int>(Sci().LineCount()); }
    [[nodiscard]] int FoldLevel(int line) const override { return static_cast<int>(Sci().FoldLevel(line)); }
    [[nodiscard]] bool IsLineVisible(int line) const override { return Sci().LineVisible(line); }
    [[nodiscard]] bool IsExpanded(int line) const override { return Sci().FoldExpanded(line); }
    [[nodiscard]] int LastChild(int line) const override {
        return static_cast<int>(Sci().LastChild(line, static_cast<Scintilla::FoldLevel>(-1)));
    }
    [[nodiscard]] int FoldParent(int line) const override { return static_cast<int>(Sci().FoldParent(line)); }
    [[nodiscard]] int NextContracted(int line) const override {
        return static_cast<int>(Sci().ContractedFoldNext(line));
    }

private:
    [[nodiscard]] Scintilla::ScintillaCall& Sci() const { return editor_.sci; }
    const EditorWindow& editor_;
};

// WM_SETREDRAW works through the WS_VISIBLE bit: switching a hidden editor
// back on would show it, so only a shown editor is switched off.
class RedrawOff {
public:
    explicit RedrawOff(HWND editor) : editor_(::IsWindowVisible(editor) ? editor : nullptr) {
        if (editor_ != nullptr) ::SendMessageW(editor_, WM_SETREDRAW, FALSE, 0);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
    ~RedrawOff() {
        if (editor_ != nullptr) ::SendMessageW(editor_, WM_SETREDRAW, TRUE, 0);
    }

private:
    HWND editor_;
};

// The text layer of the editor, or null while there is no editor it serves.
EditorTextState* TextStateOf(EditorWindow& editor) {
    return ServesText(editor) ? &editor.text : nullptr;
}

std::size_t SelectionStartIndex(EditorWindow& editor) {
    const auto position = static_cast<std::size_t>(editor.sci.SelectionStart());
    return ToIndex(editor.text.adapter, editor.text.model, position);
}

// The view of the document the fold logic works on; its text stays valid
// while the fold operations run (they do not change the text).
FoldDocument DocumentOf(EditorWindow& editor) {
    const EditorSettings& settings = SettingsOf(editor);
    FoldDocument document;
    document.selectionStart = SelectionStartIndex(editor);
    document.text = ReadText(editor.text.adapter, editor.text.model);
    document.markers = MarkerSettingsOf(settings);
    document.memoFold = settings.memoFold;
    document.readOnly = editor.sci.ReadOnly();
    return document;
}

// The margin look follows [Editor] MemoFold; it is rebuilt only when the
// fold margin is not in the state the setting asks for.
void EnsureFoldMarginLook(EditorWindow& editor) {
    const bool shown = editor.sci.MarginWidthN(2) > 0;
    if (shown != SettingsOf(editor).memoFold) ApplyMargins(editor);
}

void SendFoldOp(EditorWindow& editor, const FoldOp& op) {
    switch (op.kind) {
    case FoldOpKind::ExpandAll:
        editor.sci.FoldAll(Scintilla::FoldAction::Expand);
        break;
    case FoldOpKind::SetLevel:
        editor.sci.SetFoldLevel(op.line, static_cast<Scintilla::FoldLevel>(op.level));
        break;
    case FoldOpKind::Expand:
        editor.sci.FoldLine(op.line, Scintilla::FoldAction::Expand);
        break;
    case FoldOpKind::Contract:
        editor.sci.ToggleFoldShowText(op.line, op.text.c_str());
        break;
    case FoldOpKind::EnsureVisible:
        editor.sci.EnsureVisible(op.line);
        break;
    }
}

void CarryOut(EditorWindow& editor, const FoldPlan& plan) {
    if (plan.Empty()) return;
    if (!plan.ops.empty()) {
        RedrawOff redraw(editor.hwnd);
        for (const FoldOp& op : plan.ops) SendFoldOp(editor, op);
    }
    if (plan.caretIndex) {
        const std::size_t position = ToBytePosition(editor.text.adapter, editor.text.model, *plan.caretIndex);
        editor.sci.SetEmptySelection(position);
        editor.sci.ScrollCaret();
    }
    // The folded set lives in the configuration, which only the panel writes.
    if (plan.foldedChanged) ::SendMessageW(editor.parent, PM_SAVECONFIG, 0, 0);
    // The sections' views show which memos are folded: they hear of every
    // fold or unfold, not of level changes alone.
    const bool foldsMoved = std::any_of(plan.ops.begin(), plan.ops.end(), [](const FoldOp& op) {
        return op.kind == FoldOpKind::ExpandAll || op.kind == FoldOpKind::Expand || op.kind == FoldOpKind::Contract;
    });
    if (plan.notice || plan.refreshSidebarFolds || foldsMoved) ::SendMessageW(editor.parent, PM_SECTIONSCHANGED, 0, 0);
    ::InvalidateRect(editor.hwnd, nullptr, FALSE);
}

}  // namespace

void RecomputeMemoFolds(EditorWindow& editor, MemoFolds& folds, const std::vector<std::u16string>& folded) {
    if (TextStateOf(editor) == nullptr || folds.recomputing) return;
    ::KillTimer(editor.parent, kTimerMemoFolds);
    EnsureFoldMarginLook(editor);
    // Folding off and nothing of it in the editor: the text is not even read.
    if (!SettingsOf(editor).memoFold && folds.state.appliedSignature.empty()) return;
    folds.recomputing = true;
    const FoldDocument document = DocumentOf(editor);
    const FoldPlan plan = RecomputeFolds(folds.state, document, ScintillaFoldView(editor), folded);
    CarryOut(editor, plan);
    folds.recomputing = false;
}

void ToggleFoldAtCaret(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded) {
    if (TextStateOf(editor) == nullptr) return;
    const LRESULT start = editor.sci.SelectionStart();
    const int line = static_cast<int>(editor.sci.LineFromPosition(start));
    const FoldDocument document = DocumentOf(editor);
    const FoldPlan plan =
        ToggleFoldAtLine(folds.state, document, ScintillaFoldView(editor), folded, line, std::nullopt);
    CarryOut(editor, plan);
}

void OnFoldMarginClick(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded, int line) {
    if (TextStateOf(editor) == nullptr) return;
    const MouseToggle mouse {::GetTickCount(), ::GetDoubleClickTime()};
    const FoldDocument document = DocumentOf(editor);
    const FoldPlan plan = ToggleFoldAtLine(folds.state, document, ScintillaFoldView(editor), folded, line, mouse);
    CarryOut(editor, plan);
}

std::optional<bool> ToggleFoldOfMemo(EditorWindow& editor, std::vector<std::u16string>& folded,
                                     std::size_t startIndex) {
    if (TextStateOf(editor) == nullptr) return std::nullopt;
    const FoldDocument document = DocumentOf(editor);
    const FoldPlan plan = ToggleFoldOfEntry(document, ScintillaFoldView(editor), folded, startIndex);
    CarryOut(editor, plan);
    if (!plan.notice) return std::nullopt;
    return plan.notice->folded;
}

void RevealTextIndex(EditorWindow& editor, std::vector<std::u16string>& folded, std::size_t index) {
    if (TextStateOf(editor) == nullptr) return;
    const FoldDocument document = DocumentOf(editor);
    const FoldPlan plan = RevealIndex(document, ScintillaFoldView(editor), folded, index);
    CarryOut(editor, plan);
}

void OnMemoFoldNotify(EditorWindow& editor, MemoFolds& folds, std::vector<std::u16string>& folded,
                      const SCNotification& notification) {
    switch (notification.nmhdr.code) {
    case SCN_MODIFIED:
        // Typing stays fast: the folds follow once it pauses. Nothing to do
        // while folding is off and nothing of it is left in the editor.
        if ((notification.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) != 0 &&
            (SettingsOf(editor).memoFold || !folds.state.appliedSignature.empty())) {
            ::SetTimer(editor.parent, kTimerMemoFolds, kMemoFoldDelayMs, nullptr);
        }
        break;
    case SCN_MARGINCLICK:
        if (notification.margin == 2) {
            const auto position = static_cast<WPARAM>(notification.position);
            OnFoldMarginClick(editor, folds, folded, static_cast<int>(editor.sci.LineFromPosition(position)));
        }
        break;
    default:
        break;
    }
}

}  // namespace quillpane

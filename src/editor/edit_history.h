// The program's own edit history: undo steps that hold only the changed part
// of the text and of the changed-line marks and restore the selection and the
// view, compound edits, input-method compositions and the last edit location.
#pragma once

#include "editor/editor_model.h"
#include "editor/text_adapter.h"
#include "editor/text_types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

inline constexpr std::size_t kMaxUndoEntries = 128;
// Counting two bytes per code unit of the entries' texts.
inline constexpr std::size_t kMaxUndoTextBytes = 16u * 1024u * 1024u;

// Non-zero = the line was edited since the panel was last shown.
using LineMarks = std::vector<std::uint8_t>;

struct SelectionState {
    std::size_t start = 0;  // UTF-16, as EM_GETSEL reports it
    std::size_t end = 0;
    EditorSelection editor;  // anchor and caret in bytes, mode, rectangle
};

// The way from the document to another state of it: code units
// [start, start + length) become text, and the marks of lines
// [firstLine, firstLine + lineCount) become marks. Everything else is the
// same in both, line for line.
struct HistoryChange {
    bool hasText = false;
    std::size_t start = 0;  // UTF-16
    std::size_t length = 0;
    std::u16string text;
    bool hasMarks = false;
    std::size_t firstLine = 0;
    std::size_t lineCount = 0;
    LineMarks marks;
};

struct HistoryEntry {
    HistoryChange change;  // back to the state before (undo) or after (redo) the step
    SelectionState selection;
};

// One instance for the process, owned by the application record.
struct EditHistory {
    std::vector<HistoryEntry> undoStack;  // oldest first
    std::vector<HistoryEntry> redoStack;

    // The changes since the last recorded state, as the way back to it, and
    // the selection after the last recorded change.
    HistoryChange openStep;
    SelectionState baselineSelection;
    bool baselineValid = false;
    // The text's length as the reported changes add up to, and whether one
    // could not be followed (the caches were stale): when either is off, the
    // steps no longer fit the text and are dropped.
    std::size_t trackedLength = 0;
    bool lostTrack = false;

    // The selection just before a user action.
    std::optional<SelectionState> pendingCapture;

    // Between BeforeEdit and AfterEdit; nested pairs count as one edit.
    int compoundDepth = 0;
    SelectionState compoundSelection;

    bool mayMerge = false;             // the last step may take in the next change
    bool composingAtLastStep = false;  // the input method held a composition string then

    struct Composition {
        bool active = false;
        SelectionState selection;
        std::size_t undoDepth = 0;
        std::vector<HistoryEntry> redoStack;
        std::size_t lastEditLocation = 0;
        bool lastEditValid = false;
    } composition;

    // Set while the program itself puts text into the component.
    bool loading = false;
    // Set while an undo or redo rewrites the text.
    bool applying = false;

    std::size_t lastEditLocation = 0;  // UTF-16
    bool lastEditValid = false;

    // The changed-line marks, one per line of the document.
    LineMarks marks;
};

// The three records the history works on.
struct EditContext {
    EditHistory& history;
    TextAdapter& adapter;
    EditorModel& editor;
};

// Sets the loading flag for its lifetime (the program's own text changes,
// such as loading the memo file, are not edits).
class HistoryLoadingScope {
public:
    explicit HistoryLoadingScope(EditHistory& history) : history_(history), previous_(history.loading) {
        history.loading = true;
    }
    HistoryLoadingScope(const HistoryLoadingScope&) = delete;
    HistoryLoadingScope& operator=(const HistoryLoadingScope&) = delete;
    ~HistoryLoadingScope() { history_.loading = previous_; }

private:
    EditHistory& history_;
    bool previous_;
};

// The selection state now (UTF-16 ends through the adapter).
[[nodiscard]] SelectionState CaptureSelection(EditContext context);

// Before a message that may edit: remembers the selection unless one is
// remembered already, a compound edit runs or the program is loading text.
void CaptureBeforeUserEdit(EditContext context);
// After a non-editing key or a mouse press.
void EndCapture(EditHistory& history);

// Each insertion or deletion the component reports: patches the adapter's
// caches, keeps the marks aligned with the lines (and marks the edited lines
// outside compound edits and compositions) and adds the change to the open
// step, at a cost that follows the change, not the text.
void OnComponentModified(EditContext context, const TextModification& change);
// Each document change, after OnComponentModified: records an undo step.
void OnDocumentChanged(EditContext context);

// Around every edit the program makes itself: one undo step.
void BeforeEdit(EditContext context);
void AfterEdit(EditContext context, bool recomputeMarks);
// Replaces edit.replaced by edit.replacement as one step and selects
// edit.selectionAfter. Without recomputeMarks the lines of the new selection
// are marked changed (a selection ending at a line start leaves that line).
void ApplyTextEdit(EditContext context, const TextEdit& edit, bool recomputeMarks);

// False (and nothing changes) when there is nothing to undo or redo, the
// editor is read-only, or a compound edit or composition is running.
bool Undo(EditContext context);
bool Redo(EditContext context);
[[nodiscard]] bool CanUndo(const EditHistory& history);
[[nodiscard]] bool CanRedo(const EditHistory& history);

[[nodiscard]] bool HasLastEdit(EditContext context);
void GoToLastEdit(EditContext context);

// After the memo file was loaded or reloaded.
void ResetHistory(EditContext context);
// The same after the program put loadedBytes into the component as its whole
// text: the adapter takes them rather than reading a large memo back.
void ResetHistory(EditContext context, std::string loadedBytes);
// The text as last recorded: the current one with any change not yet recorded
// taken back. Builds the whole text; for checks, not for editing.
[[nodiscard]] std::u16string RecordedText(EditContext context);

// Around an input-method composition: one step when committed, none when
// cancelled.
void BeginComposition(EditContext context);
void EndComposition(EditContext context);

// Set marks without repainting (AfterEdit and the callers repaint).
void MarkLineChanged(EditContext context, std::size_t line);
void MarkRangeChanged(EditContext context, std::size_t startIndex, std::size_t endIndex);
// When the panel is shown after having been hidden.
void ClearMarks(EditContext context);

// 64-bit FNV-1a over the line's UTF-16 code units, low byte first.
[[nodiscard]] std::uint64_t HashLine(std::u16string_view line);
// Marks for newText after a rewrite of oldText: a line whose text occurs among
// the old lines takes the mark of the next unused old occurrence; any other
// line is marked changed. Lines are split at CR LF. A compound edit matches
// only the lines its change covers.
[[nodiscard]] LineMarks MatchLineMarks(std::u16string_view oldText, const LineMarks& oldMarks,
                                       std::u16string_view newText);

}  // namespace quillpane

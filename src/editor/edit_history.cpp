// The program's own edit history: undo steps that hold only the changed part
// of the text and of the changed-line marks and restore the selection and the
// view, compound edits, input-method compositions and the last edit location.
#include "editor/edit_history.h"

#include "platform/utf_convert.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace quillpane {
namespace {

void AppendPart(std::u16string& out, const std::u16string& from, std::size_t at, std::size_t count) {
    out.append(from, at, count);
}

void AppendPart(LineMarks& out, const LineMarks& from, std::size_t at, std::size_t count) {
    const auto begin = from.begin() + static_cast<std::ptrdiff_t>(at);
    out.insert(out.end(), begin, begin + static_cast<std::ptrdiff_t>(count));
}

// Marks of lines [from, to); lines past the end count as unmarked.
void AppendMarks(const LineMarks& marks, std::size_t from, std::size_t to, LineMarks& out) {
    const std::size_t end = std::min(to, marks.size());
    if (from < end) AppendPart(out, marks, from, end - from);
    if (to > std::max(from, end)) out.resize(out.size() + to - std::max(from, end), 0);
}

// Joins two differences of one sequence. `older` leads from the sequence as
// it was (D) to some state X over [start, start + length) of D; the newer one
// leads from the sequence now (D') back to D over [newStart, newStart +
// newLength) of D'. The result leads from D' to X over the hull of both;
// read(from, to, out) appends D' elements. Costs the hull, or only the newer
// part when that lies inside or after the older one.
template <typename Sequence, typename Read>
void Chain(bool& active, std::size_t& start, std::size_t& length, Sequence& other, std::size_t newStart,
           std::size_t newLength, Sequence newOther, Read read) {
    if (!active) {
        active = true;
        start = newStart;
        length = newLength;
        other = std::move(newOther);
        return;
    }
    // In D's coordinates; D equals D' outside the newer part, shifted after it.
    const std::size_t newEnd = newStart + newOther.size();
    const auto readOld = [&](std::size_t from, std::size_t to, Sequence& out) {
        if (from >= to) return;
        if (from < newStart) read(from, std::min(to, newStart), out);
        if (to > newStart && from < newEnd) {
            const std::size_t a = std::max(from, newStart);
            AppendPart(out, newOther, a - newStart, std::min(to, newEnd) - a);
        }
        if (to > newEnd) {
            const std::size_t a = std::max(from, newEnd);
            read(a - newEnd + newStart + newLength, to - newEnd + newStart + newLength, out);
        }
    };
    const std::size_t end = start + length;
    const std::size_t hullStart = std::min(start, newStart);
    const std::size_t hullEnd = std::max(end, newEnd);
    if (hullStart == start) {
        readOld(end, hullEnd, other);
    } else {
        Sequence joined;
        readOld(hullStart, start, joined);
        AppendPart(joined, other, 0, other.size());
        readOld(end, hullEnd, joined);
        other = std::move(joined);
    }
    start = hullStart;
    length = hullEnd - hullStart + newLength - newOther.size();
}

// Adds `newer` (from the document now to the state `older` starts from) in
// front of `older`.
void ChainChange(HistoryChange& older, HistoryChange newer, const DualText& text, const LineMarks& marks) {
    if (newer.hasText) {
        Chain(older.hasText, older.start, older.length, older.text, newer.start, newer.length, std::move(newer.text),
              [&](std::size_t from, std::size_t to, std::u16string& out) { text.AppendTextRange(from, to, out); });
    }
    if (newer.hasMarks) {
        Chain(older.hasMarks, older.firstLine, older.lineCount, older.marks, newer.firstLine, newer.lineCount,
              std::move(newer.marks),
              [&](std::size_t from, std::size_t to, LineMarks& out) { AppendMarks(marks, from, to, out); });
    }
}

// Narrows the text part to where the two states really differ, never between
// the halves of a surrogate pair.
void Trim(HistoryChange& change, const DualText& text) {
    if (!change.hasText) return;
    const std::size_t end = std::min(change.start + change.length, text.Length());
    const std::size_t start = std::min(change.start, end);
    const std::size_t length = end - start;
    std::u16string& other = change.text;
    const std::size_t limit = std::min(length, other.size());
    std::size_t prefix = 0;
    while (prefix < limit && text.UnitAt(start + prefix) == other[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && text.UnitAt(end - 1 - suffix) == other[other.size() - 1 - suffix]) ++suffix;
    if (prefix > 0 && IsHighSurrogate(text.UnitAt(start + prefix - 1))) --prefix;
    if (suffix > 0 && IsLowSurrogate(text.UnitAt(end - suffix))) --suffix;
    change.start = start + prefix;
    change.length = length - prefix - suffix;
    other.erase(other.size() - suffix);
    other.erase(0, prefix);
}

bool ChangesText(const HistoryChange& change) {
    return change.hasText && (change.length > 0 || !change.text.empty());
}

std::size_t CountLineFeeds(const DualText& text, std::size_t start, std::size_t end) {
    std::size_t count = 0;
    for (std::size_t i = start; i < end; ++i) count += text.UnitAt(i) == u'\n' ? 1 : 0;
    return count;
}

// Replaces marks [first, first + count) by values.
void SpliceMarks(LineMarks& marks, std::size_t first, std::size_t count, const LineMarks& values) {
    if (marks.size() < first + count) marks.resize(first + count, 0);
    const auto at = marks.begin() + static_cast<std::ptrdiff_t>(first);
    if (count == values.size()) {
        std::copy(values.begin(), values.end(), at);
        return;
    }
    const auto erased = marks.erase(at, at + static_cast<std::ptrdiff_t>(count));
    marks.insert(erased, values.begin(), values.end());
}

bool Tracking(const EditHistory& history) {
    return !history.loading && !history.applying;
}

void StoreState(EditContext context) {
    context.history.baselineSelection = CaptureSelection(context);
}

void SetLastEdit(EditHistory& history) {
    history.lastEditLocation = history.baselineSelection.end;
    history.lastEditValid = true;
}

// Whether the steps still fit the text.
bool OnTrack(EditContext context) {
    const EditHistory& history = context.history;
    return !history.lostTrack && CurrentText(context.adapter, context.editor).Length() == history.trackedLength;
}

// Starts over from the text as it is, without the steps that no longer fit.
void Resynchronize(EditContext context) {
    EditHistory& history = context.history;
    if (!OnTrack(context)) {
        history.undoStack.clear();
        history.redoStack.clear();
        history.composition.redoStack.clear();
        history.composition.undoDepth = 0;
    }
    history.openStep = {};
    history.lostTrack = false;
    history.trackedLength = CurrentText(context.adapter, context.editor).Length();
    history.baselineValid = true;
}

// Drops the oldest entries beyond the limits.
void EnforceLimits(EditHistory& history) {
    std::vector<HistoryEntry>& stack = history.undoStack;
    std::size_t drop = stack.size() > kMaxUndoEntries ? stack.size() - kMaxUndoEntries : 0;
    std::size_t bytes = 0;
    for (std::size_t i = drop; i < stack.size(); ++i) bytes += stack[i].change.text.size() * 2;
    while (stack.size() - drop > 1 && bytes > kMaxUndoTextBytes) {
        bytes -= stack[drop].change.text.size() * 2;
        ++drop;
    }
    stack.erase(stack.begin(), stack.begin() + static_cast<std::ptrdiff_t>(drop));
}

// A new step: on the undo stack, and nothing left to redo.
void RecordStep(EditHistory& history, HistoryEntry entry) {
    history.undoStack.push_back(std::move(entry));
    history.redoStack.clear();
    EnforceLimits(history);
}

void ResizeMarks(EditContext context) {
    context.history.marks.resize(context.editor.LineCount(), 0);
}

void FillMarks(LineMarks& marks, std::size_t first, std::size_t last) {
    std::fill(marks.begin() + static_cast<std::ptrdiff_t>(first), marks.begin() + static_cast<std::ptrdiff_t>(last) + 1,
              std::uint8_t {1});
}

// Lines [first, last] marked, within the document's lines; the open step
// keeps what they were.
void SetMarks(EditContext context, std::size_t first, std::size_t last) {
    EditHistory& history = context.history;
    LineMarks& marks = history.marks;
    ResizeMarks(context);
    if (first >= marks.size()) return;
    last = std::min(last, marks.size() - 1);
    if (Tracking(history)) {
        LineMarks before(marks.begin() + static_cast<std::ptrdiff_t>(first),
                         marks.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        HistoryChange same;
        same.hasMarks = true;
        same.firstLine = first;
        same.lineCount = before.size();
        same.marks = std::move(before);
        ChainChange(history.openStep, std::move(same), context.adapter.text, marks);
    }
    FillMarks(marks, first, last);
}

// Marks for the lines the open step's text change covers, matched against
// the same lines before it.
void MatchChangedLines(EditContext context) {
    EditHistory& history = context.history;
    EditorModel& editor = context.editor;
    const DualText& text = CurrentText(context.adapter, editor);
    HistoryChange& step = history.openStep;
    const std::size_t firstLine = editor.LineFromPosition(text.ToBytePosition(step.start));
    const std::size_t lastLine = editor.LineFromPosition(text.ToBytePosition(step.start + step.length));
    // Taken into the open step first, which keeps their marks as they were.
    SetMarks(context, firstLine, lastLine);
    const std::size_t lineCount = lastLine - firstLine + 1;
    const std::size_t offset = firstLine - step.firstLine;
    const std::size_t linesBefore =
        std::min(lineCount + step.marks.size() - step.lineCount, step.marks.size() - offset);
    const LineMarks oldMarks(step.marks.begin() + static_cast<std::ptrdiff_t>(offset),
                             step.marks.begin() + static_cast<std::ptrdiff_t>(offset + linesBefore));

    // Whole lines, without the break after the last.
    const std::size_t from = text.ToIndex(editor.PositionFromLine(firstLine));
    std::size_t to = lastLine + 1 < editor.LineCount() ? text.ToIndex(editor.PositionFromLine(lastLine + 1))
                                                      : text.Length();
    if (to >= from + 2 && to > step.start + step.length + 1 && text.UnitAt(to - 2) == u'\r' &&
        text.UnitAt(to - 1) == u'\n') {
        to -= 2;
    }
    std::u16string before = text.TextRange(from, step.start);
    before += step.text;
    text.AppendTextRange(step.start + step.length, to, before);
    LineMarks matched = MatchLineMarks(before, oldMarks, text.TextRange(from, to));
    matched.resize(lineCount, 1);
    std::copy(matched.begin(), matched.end(), history.marks.begin() + static_cast<std::ptrdiff_t>(firstLine));
}

// Keeps the caret's screen place when it stays within the lines shown
// before; otherwise centres it.
void RestoreView(EditorModel& editor, const EditorView& before) {
    const std::size_t caretLine = editor.LineFromPosition(editor.GetSelection().caret);
    const std::size_t displayLine = editor.DisplayLineFromLine(caretLine);
    if (displayLine >= before.firstVisibleLine && displayLine < before.firstVisibleLine + before.linesOnScreen) {
        editor.SetFirstVisibleLine(before.firstVisibleLine);
        editor.SetXOffset(before.xOffset);
    } else {
        const std::size_t half = before.linesOnScreen / 2;
        editor.SetFirstVisibleLine(displayLine > half ? displayLine - half : 0);
    }
    editor.ScrollCaret();
}

// Carries out an entry's change; returns the way back.
HistoryChange ApplyEntry(EditContext context, HistoryEntry& entry, bool undo) {
    EditHistory& history = context.history;
    EditorModel& editor = context.editor;
    const EditorView view = editor.GetView();
    HistoryChange& change = entry.change;

    const DualText& current = CurrentText(context.adapter, editor);
    Trim(change, current);
    HistoryChange back;
    back.hasText = change.hasText;
    back.start = change.start;
    back.length = change.text.size();
    back.text = current.TextRange(change.start, change.start + change.length);
    if (change.hasMarks) {
        back.hasMarks = true;
        back.firstLine = change.firstLine;
        back.lineCount = change.marks.size();
        AppendMarks(history.marks, change.firstLine, change.firstLine + change.lineCount, back.marks);
    }
    const std::size_t startByte = current.ToBytePosition(change.start);
    const std::size_t endByte = current.ToBytePosition(change.start + change.length);
    const std::string bytes = Utf16ToUtf8(change.text);

    editor.SetRedraw(false);
    history.applying = true;
    editor.ReplaceRange(startByte, endByte, bytes);
    history.applying = false;

    const EditorSelection& selection = entry.selection.editor;
    if (IsRectangular(selection.mode)) {
        editor.SetRectangularSelection(selection);
    } else {
        // On undo the caret returns to where the step's selection began when
        // that lies in the rewritten part. The part counts from the start of
        // its first line: lines moved past a line with the same beginning
        // share a prefix that would otherwise leave the block start outside.
        const std::size_t replacedEnd = startByte + bytes.size();
        const std::size_t replacedLineStart = editor.PositionFromLine(editor.LineFromPosition(startByte));
        std::size_t caret = replacedEnd;
        const std::size_t selectionStart = std::min(selection.anchor, selection.caret);
        if (undo && (bytes.empty() || (selectionStart >= replacedLineStart && selectionStart <= replacedEnd))) {
            caret = std::min(selectionStart, editor.ByteLength());
        }
        editor.SetSelection(caret, caret);
    }
    RestoreView(editor, view);
    editor.ReapplyCaretLook();

    if (change.hasMarks) SpliceMarks(history.marks, change.firstLine, change.lineCount, change.marks);
    ResizeMarks(context);
    history.openStep = {};
    history.lostTrack = false;
    history.trackedLength = CurrentText(context.adapter, editor).Length();
    history.baselineValid = true;
    StoreState(context);
    SetLastEdit(history);
    history.pendingCapture.reset();
    history.mayMerge = false;
    history.composingAtLastStep = false;
    editor.RefreshLineNumbers();
    editor.SetRedraw(true);
    return back;
}

bool Step(EditContext context, bool undo) {
    EditHistory& history = context.history;
    std::vector<HistoryEntry>& from = undo ? history.undoStack : history.redoStack;
    if (from.empty() || context.editor.IsReadOnly() || history.compoundDepth > 0 || history.composition.active) {
        return false;
    }
    if (!OnTrack(context)) {
        Resynchronize(context);
        StoreState(context);
        return false;
    }
    HistoryEntry target = std::move(from.back());
    from.pop_back();
    // A change not recorded yet is taken back with the step.
    ChainChange(target.change, std::move(history.openStep), context.adapter.text, history.marks);
    HistoryEntry opposite {{}, CaptureSelection(context)};
    opposite.change = ApplyEntry(context, target, undo);
    if (undo) {
        history.redoStack.push_back(std::move(opposite));
    } else {
        history.undoStack.push_back(std::move(opposite));
        EnforceLimits(history);
    }
    return true;
}

// Moves the marks with the lines an insertion or deletion added or removed,
// and marks the edited lines when asked; returns the marks' part of the way
// back.
HistoryChange FollowMarks(EditContext context, const TextModification& change, bool markEdited) {
    EditorModel& editor = context.editor;
    LineMarks& marks = context.history.marks;
    const std::size_t lineCount = editor.LineCount();
    const long long before = static_cast<long long>(lineCount) - change.linesAdded;
    marks.resize(static_cast<std::size_t>(std::max(1LL, before)), 0);

    const std::size_t line = editor.LineFromPosition(change.position);
    const std::size_t at = std::min(change.position > editor.PositionFromLine(line) ? line + 1 : line, marks.size());
    std::size_t last = line;
    if (change.insertion) {
        const std::size_t end = change.position + change.length;
        last = editor.LineFromPosition(end);
        if (last > line && editor.PositionFromLine(last) == end) --last;
    }
    const std::size_t added = change.linesAdded > 0 ? static_cast<std::size_t>(change.linesAdded) : 0;
    const std::size_t removed = std::min(change.linesAdded < 0 ? static_cast<std::size_t>(-change.linesAdded) : 0,
                                         marks.size() - at);

    // Every mark that changes lies in lines [line, windowEnd) now.
    HistoryChange back;
    back.hasMarks = true;
    back.firstLine = line;
    back.lineCount = std::max(markEdited ? last + 1 : line + 1, at + added) - line;
    AppendMarks(marks, line, line + back.lineCount - added + removed, back.marks);

    if (removed > 0) {
        marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(at),
                    marks.begin() + static_cast<std::ptrdiff_t>(at + removed));
    } else if (added > 0) {
        marks.insert(marks.begin() + static_cast<std::ptrdiff_t>(at), added, 0);
    }
    marks.resize(lineCount, 0);
    if (markEdited) FillMarks(marks, line, std::min(last, marks.size() - 1));
    return back;
}

}  // namespace

SelectionState CaptureSelection(EditContext context) {
    SelectionState state;
    state.editor = context.editor.GetSelection();
    const DualText& text = CurrentText(context.adapter, context.editor);
    state.start = text.ToIndex(state.editor.start);
    state.end = std::max(state.start, text.ToIndex(state.editor.end));
    return state;
}

void CaptureBeforeUserEdit(EditContext context) {
    EditHistory& history = context.history;
    if (history.pendingCapture || history.compoundDepth > 0 || history.loading) return;
    history.pendingCapture = CaptureSelection(context);
}

void EndCapture(EditHistory& history) {
    history.pendingCapture.reset();
}

void OnComponentModified(EditContext context, const TextModification& change) {
    EditHistory& history = context.history;
    if (!Tracking(history)) {
        OnTextModified(context.adapter, context.editor, change);
        return;
    }
    // The removed units come from the caches before they are patched: the
    // component does not hand deleted text over.
    std::u16string removed;
    Utf16Change applied;
    if (!OnTextModified(context.adapter, context.editor, change, applied, &removed)) history.lostTrack = true;
    const bool composing = history.composition.active;
    HistoryChange back = FollowMarks(context, change, !composing && history.compoundDepth == 0);
    if (!history.lostTrack) {
        if (applied.removed > 0 || applied.inserted > 0) {
            back.hasText = true;
            back.start = applied.index;
            back.length = applied.inserted;
            back.text = std::move(removed);
        }
        ChainChange(history.openStep, std::move(back), context.adapter.text, history.marks);
        history.trackedLength = history.trackedLength + applied.inserted - applied.removed;
    }
    // A composition repaints its line itself; the numbers follow at its end.
    if (!composing || change.linesAdded != 0) context.editor.RefreshLineNumbers();
}

void OnDocumentChanged(EditContext context) {
    EditHistory& history = context.history;
    ++context.adapter.changeCounter;
    // An undo or redo records itself; a composition is recorded at its end.
    if (history.applying || history.composition.active) return;
    if (!history.baselineValid || history.loading) {
        Resynchronize(context);
        StoreState(context);
        return;
    }
    if (history.compoundDepth > 0) return;
    if (!OnTrack(context)) {
        Resynchronize(context);
        StoreState(context);
        return;
    }
    const DualText& text = CurrentText(context.adapter, context.editor);
    HistoryChange& step = history.openStep;
    Trim(step, text);
    if (!ChangesText(step)) {
        history.openStep = {};
        return;
    }
    SelectionState selection = history.pendingCapture ? *history.pendingCapture : history.baselineSelection;
    history.pendingCapture.reset();
    // Some input methods change the text while they hold a composition
    // string without reporting a composition; such changes join one step.
    const bool merge =
        history.mayMerge && history.composingAtLastStep &&
        CountLineFeeds(text, step.start, step.start + step.length) ==
            static_cast<std::size_t>(std::count(step.text.begin(), step.text.end(), u'\n'));
    if (!merge) {
        RecordStep(history, {std::move(step), std::move(selection)});
    } else if (!history.undoStack.empty()) {
        HistoryChange& last = history.undoStack.back().change;
        ChainChange(last, std::move(step), text, history.marks);
        Trim(last, text);
        EnforceLimits(history);
    }
    history.openStep = {};
    StoreState(context);
    history.mayMerge = true;
    history.composingAtLastStep = context.editor.HasCompositionString();
    SetLastEdit(history);
}

void BeforeEdit(EditContext context) {
    EditHistory& history = context.history;
    if (history.compoundDepth++ > 0) return;
    history.compoundSelection = CaptureSelection(context);
    history.pendingCapture.reset();
}

void AfterEdit(EditContext context, bool recomputeMarks) {
    EditHistory& history = context.history;
    if (history.compoundDepth == 0 || --history.compoundDepth > 0) return;
    history.mayMerge = false;
    if (!OnTrack(context)) {
        Resynchronize(context);
        StoreState(context);
        return;
    }
    Trim(history.openStep, CurrentText(context.adapter, context.editor));
    const bool changed = ChangesText(history.openStep);
    if (changed) {
        if (recomputeMarks) MatchChangedLines(context);
        ResizeMarks(context);
        context.editor.RefreshLineNumbers();
        RecordStep(history, {std::move(history.openStep), history.compoundSelection});
    }
    history.openStep = {};
    StoreState(context);
    if (changed) SetLastEdit(history);
}

void ApplyTextEdit(EditContext context, const TextEdit& edit, bool recomputeMarks) {
    EditorModel& editor = context.editor;
    BeforeEdit(context);
    editor.SetRedraw(false);
    {
        const DualText& text = CurrentText(context.adapter, editor);
        const std::size_t start = text.ToBytePosition(edit.replaced.start);
        const std::size_t end = text.ToBytePosition(std::max(edit.replaced.start, edit.replaced.end));
        editor.ReplaceRange(start, end, Utf16ToUtf8(edit.replacement));
    }
    const DualText& text = CurrentText(context.adapter, editor);
    const std::size_t anchor = text.ToBytePosition(edit.selectionAfter.anchor);
    const std::size_t caret = text.ToBytePosition(edit.selectionAfter.caret);
    if (!recomputeMarks) {
        const std::size_t first = editor.LineFromPosition(std::min(anchor, caret));
        std::size_t last = editor.LineFromPosition(std::max(anchor, caret));
        if (last > first && editor.PositionFromLine(last) == std::max(anchor, caret)) --last;
        SetMarks(context, first, last);
    }
    editor.SetSelection(anchor, caret);
    AfterEdit(context, recomputeMarks);
    editor.ScrollCaret();
    editor.ReapplyCaretLook();
    editor.SetRedraw(true);
}

bool Undo(EditContext context) {
    return Step(context, true);
}

bool Redo(EditContext context) {
    return Step(context, false);
}

bool CanUndo(const EditHistory& history) {
    return !history.undoStack.empty();
}

bool CanRedo(const EditHistory& history) {
    return !history.redoStack.empty();
}

bool HasLastEdit(EditContext context) {
    const EditHistory& history = context.history;
    if (!history.lastEditValid) return false;
    const SelectionState selection = CaptureSelection(context);
    const std::size_t length = CurrentText(context.adapter, context.editor).Length();
    return selection.start != selection.end || selection.start != std::min(history.lastEditLocation, length);
}

void GoToLastEdit(EditContext context) {
    const EditHistory& history = context.history;
    if (!history.lastEditValid) return;
    EditorModel& editor = context.editor;
    const EditorView view = editor.GetView();
    const DualText& text = CurrentText(context.adapter, editor);
    const std::size_t caret = text.ToBytePosition(std::min(text.Length(), history.lastEditLocation));
    editor.SetRedraw(false);
    editor.SetSelection(caret, caret);
    RestoreView(editor, view);
    editor.ReapplyCaretLook();
    editor.SetRedraw(true);
}

void ResetHistory(EditContext context) {
    ResetHistory(context, std::string {});
}

void ResetHistory(EditContext context, std::string loadedBytes) {
    EditHistory& history = context.history;
    history.undoStack.clear();
    history.redoStack.clear();
    history.composition = {};
    history.pendingCapture.reset();
    history.compoundDepth = 0;
    history.openStep = {};
    history.lostTrack = false;
    BumpTextVersion(context.adapter);
    if (!loadedBytes.empty()) AdoptText(context.adapter, context.editor, std::move(loadedBytes));
    ++context.adapter.changeCounter;
    history.marks.assign(context.editor.LineCount(), 0);
    context.editor.RefreshLineNumbers();
    history.trackedLength = CurrentText(context.adapter, context.editor).Length();
    history.baselineValid = true;
    StoreState(context);
    history.lastEditValid = false;
    history.mayMerge = false;
    history.composingAtLastStep = false;
}

std::u16string RecordedText(EditContext context) {
    const DualText& text = CurrentText(context.adapter, context.editor);
    const HistoryChange& step = context.history.openStep;
    if (!step.hasText) return text.TextRange(0, text.Length());
    std::u16string recorded = text.TextRange(0, step.start);
    recorded += step.text;
    text.AppendTextRange(step.start + step.length, text.Length(), recorded);
    return recorded;
}

void BeginComposition(EditContext context) {
    EditHistory& history = context.history;
    EditHistory::Composition& composition = history.composition;
    if (composition.active) return;
    composition.selection = history.pendingCapture ? *history.pendingCapture : CaptureSelection(context);
    history.pendingCapture.reset();
    composition.undoDepth = history.undoStack.size();
    // Moved rather than copied: the first composed character would empty the
    // redo stack of a plain edit anyway, and a cancel puts it back.
    composition.redoStack = std::move(history.redoStack);
    history.redoStack.clear();
    composition.lastEditLocation = history.lastEditLocation;
    composition.lastEditValid = history.lastEditValid;
    composition.active = true;
}

void EndComposition(EditContext context) {
    EditHistory& history = context.history;
    EditHistory::Composition& composition = history.composition;
    if (!composition.active) return;
    composition.active = false;
    if (!OnTrack(context)) {
        Resynchronize(context);
        StoreState(context);
    } else {
        Trim(history.openStep, CurrentText(context.adapter, context.editor));
        if (!ChangesText(history.openStep)) {
            // Cancelled: as if it never happened.
            if (history.undoStack.size() > composition.undoDepth) history.undoStack.resize(composition.undoDepth);
            history.redoStack = std::move(composition.redoStack);
            const HistoryChange& step = history.openStep;
            if (step.hasMarks) SpliceMarks(history.marks, step.firstLine, step.lineCount, step.marks);
            history.openStep = {};
            ResizeMarks(context);
            history.lastEditLocation = composition.lastEditLocation;
            history.lastEditValid = composition.lastEditValid;
            StoreState(context);
            context.editor.RefreshLineNumbers();
        } else {
            const std::size_t caretLine = context.editor.LineFromPosition(context.editor.GetSelection().caret);
            SetMarks(context, caretLine, caretLine);
            RecordStep(history, {std::move(history.openStep), composition.selection});
            history.openStep = {};
            ResizeMarks(context);
            context.editor.RefreshLineNumbers();
            StoreState(context);
            SetLastEdit(history);
        }
    }
    history.composition = {};
    history.mayMerge = false;
    history.composingAtLastStep = false;
}

void MarkLineChanged(EditContext context, std::size_t line) {
    SetMarks(context, line, line);
}

void MarkRangeChanged(EditContext context, std::size_t startIndex, std::size_t endIndex) {
    const DualText& text = CurrentText(context.adapter, context.editor);
    const std::size_t first = context.editor.LineFromPosition(text.ToBytePosition(std::min(startIndex, endIndex)));
    const std::size_t last = context.editor.LineFromPosition(text.ToBytePosition(std::max(startIndex, endIndex)));
    SetMarks(context, first, last);
}

void ClearMarks(EditContext context) {
    EditHistory& history = context.history;
    history.marks.assign(context.editor.LineCount(), 0);
    // The recorded state's marks go too.
    std::fill(history.openStep.marks.begin(), history.openStep.marks.end(), std::uint8_t {0});
    context.editor.RefreshLineNumbers();
}

std::uint64_t HashLine(std::u16string_view line) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char16_t unit : line) {
        for (const unsigned byte : {static_cast<unsigned>(unit & 0xFF), static_cast<unsigned>(unit >> 8)}) {
            hash ^= byte;
            hash *= 0x100000001b3ULL;
        }
    }
    return hash;
}

LineMarks MatchLineMarks(std::u16string_view oldText, const LineMarks& oldMarks, std::u16string_view newText) {
    const auto split = [](std::u16string_view text) {
        std::vector<std::u16string_view> lines;
        std::size_t from = 0;
        for (std::size_t at = text.find(u"\r\n"); at != std::u16string_view::npos; at = text.find(u"\r\n", from)) {
            lines.push_back(text.substr(from, at - from));
            from = at + 2;
        }
        lines.push_back(text.substr(from));
        return lines;
    };
    const std::vector<std::u16string_view> oldLines = split(oldText);
    const std::vector<std::u16string_view> newLines = split(newText);

    // Old lines by hash, in order; each group of equal texts hands out its
    // occurrences front to back.
    struct Group {
        std::vector<std::size_t> lines;
        std::size_t next = 0;
    };
    std::unordered_map<std::uint64_t, std::vector<Group>> groups;
    groups.reserve(oldLines.size());
    for (std::size_t i = 0; i < oldLines.size(); ++i) {
        std::vector<Group>& bucket = groups[HashLine(oldLines[i])];
        const auto same = std::find_if(bucket.begin(), bucket.end(),
                                       [&](const Group& g) { return oldLines[g.lines.front()] == oldLines[i]; });
        if (same != bucket.end()) {
            same->lines.push_back(i);
        } else {
            bucket.push_back({{i}, 0});
        }
    }

    LineMarks marks(newLines.size(), 1);
    for (std::size_t i = 0; i < newLines.size(); ++i) {
        const auto bucket = groups.find(HashLine(newLines[i]));
        if (bucket == groups.end()) continue;
        for (Group& group : bucket->second) {
            if (oldLines[group.lines.front()] != newLines[i]) continue;
            if (group.next < group.lines.size()) {
                const std::size_t old = group.lines[group.next++];
                marks[i] = old < oldMarks.size() ? oldMarks[old] : 0;
            }
            break;
        }
    }
    return marks;
}

}  // namespace quillpane

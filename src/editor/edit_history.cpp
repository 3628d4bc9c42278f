// The program's own edit history: whole-text undo steps that restore the
// selection and the view, changed-line marks, compound edits, input-method
// compositions and the last edit location.
#include "editor/edit_history.h"

#include "platform/utf_convert.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace quillpane {
namespace {

std::size_t CountLineFeeds(std::u16string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'));
}

// Common prefix and suffix lengths, compared a block at a time at memory
// speed before the last block is searched unit by unit.
constexpr std::size_t kCompareBlock = 4096;

std::size_t CommonPrefix(std::u16string_view a, std::u16string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t at = 0;
    while (at + kCompareBlock <= limit &&
           std::memcmp(a.data() + at, b.data() + at, kCompareBlock * sizeof(char16_t)) == 0) {
        at += kCompareBlock;
    }
    while (at < limit && a[at] == b[at]) ++at;
    return at;
}

std::size_t CommonSuffix(std::u16string_view a, std::u16string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t length = 0;
    while (length + kCompareBlock <= limit &&
           std::memcmp(a.data() + a.size() - length - kCompareBlock, b.data() + b.size() - length - kCompareBlock,
                       kCompareBlock * sizeof(char16_t)) == 0) {
        length += kCompareBlock;
    }
    while (length < limit && a[a.size() - 1 - length] == b[b.size() - 1 - length]) ++length;
    return length;
}

// Replaces the baseline, reusing storage (a dropped entry's text) so that a
// large document does not fault in fresh pages on every step.
void StoreBaseline(EditHistory& history, std::u16string_view text, std::u16string storage = {}) {
    EditHistory::Composition& composition = history.composition;
    if (composition.active && composition.sharesBaseline) {
        composition.text = std::move(history.baseline);
        composition.sharesBaseline = false;
    }
    if (history.baseline.capacity() < text.size() && storage.capacity() >= text.size()) history.baseline.swap(storage);
    // Some room to grow, so that the storage still fits when it comes back
    // from a dropped entry a few keystrokes later.
    if (history.baseline.capacity() < text.size()) history.baseline.reserve(text.size() + text.size() / 64 + 64);
    history.baseline.assign(text);
    history.baselineValid = true;
}

// Takes the baseline's text out for an entry (never while a composition
// shares it: compositions record their own step).
std::u16string TakeBaseline(EditHistory& history) {
    history.baselineValid = false;
    history.composition.sharesBaseline = false;
    return std::move(history.baseline);
}

void StoreState(EditContext context) {
    EditHistory& history = context.history;
    history.baselineSelection = CaptureSelection(context);
    history.baselineMarks = history.marks;
}

void SetLastEdit(EditHistory& history) {
    history.lastEditLocation = history.baselineSelection.end;
    history.lastEditValid = true;
}

// Drops the oldest entries beyond the limits; returns the largest dropped
// text for reuse.
std::u16string EnforceLimits(EditHistory& history) {
    std::u16string reusable;
    std::vector<HistoryEntry>& stack = history.undoStack;
    std::size_t drop = stack.size() > kMaxUndoEntries ? stack.size() - kMaxUndoEntries : 0;
    std::size_t bytes = 0;
    for (std::size_t i = drop; i < stack.size(); ++i) bytes += stack[i].text.size() * 2;
    while (stack.size() - drop > 1 && bytes > kMaxUndoTextBytes) {
        bytes -= stack[drop].text.size() * 2;
        ++drop;
    }
    for (std::size_t i = 0; i < drop; ++i) {
        if (stack[i].text.capacity() > reusable.capacity()) reusable = std::move(stack[i].text);
    }
    stack.erase(stack.begin(), stack.begin() + static_cast<std::ptrdiff_t>(drop));
    return reusable;
}

// A new step: on the undo stack, and nothing left to redo.
std::u16string RecordStep(EditHistory& history, HistoryEntry entry) {
    history.undoStack.push_back(std::move(entry));
    history.redoStack.clear();
    return EnforceLimits(history);
}

void ResizeMarks(EditContext context) {
    context.history.marks.resize(context.editor.LineCount(), 0);
}

// Lines [first, last] marked, within the document's lines.
void SetMarks(EditContext context, std::size_t first, std::size_t last) {
    LineMarks& marks = context.history.marks;
    ResizeMarks(context);
    if (first >= marks.size()) return;
    last = std::min(last, marks.size() - 1);
    std::fill(marks.begin() + static_cast<std::ptrdiff_t>(first), marks.begin() + static_cast<std::ptrdiff_t>(last) + 1,
              std::uint8_t {1});
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

// Rewrites the document into entry.text, replacing only the part that differs.
void ApplyEntry(EditContext context, HistoryEntry& entry, bool undo) {
    EditHistory& history = context.history;
    EditorModel& editor = context.editor;
    const EditorView view = editor.GetView();

    const DualText& current = CurrentText(context.adapter, editor);
    const std::u16string_view now = current.Text();
    const std::u16string_view wanted = entry.text;
    std::size_t prefix = CommonPrefix(now, wanted);
    std::size_t suffix = CommonSuffix(now.substr(prefix), wanted.substr(prefix));
    // Never split a surrogate pair at either end of the replaced part.
    if (prefix > 0 && IsHighSurrogate(now[prefix - 1])) --prefix;
    if (suffix > 0 && IsLowSurrogate(now[now.size() - suffix])) --suffix;

    const std::size_t startByte = current.ToBytePosition(prefix);
    const std::size_t endByte = current.ToBytePosition(now.size() - suffix);
    const std::string bytes = Utf16ToUtf8(wanted.substr(prefix, wanted.size() - suffix - prefix));

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

    history.marks = std::move(entry.marks);
    ResizeMarks(context);
    history.baseline = std::move(entry.text);
    history.baselineValid = true;
    StoreState(context);
    SetLastEdit(history);
    history.pendingCapture.reset();
    history.mayMerge = false;
    history.composingAtLastStep = false;
    editor.RefreshLineNumbers();
    editor.SetRedraw(true);
}

bool Step(EditContext context, bool undo) {
    EditHistory& history = context.history;
    std::vector<HistoryEntry>& from = undo ? history.undoStack : history.redoStack;
    if (from.empty() || context.editor.IsReadOnly() || history.compoundDepth > 0 || history.composition.active) {
        return false;
    }
    HistoryEntry current {{}, CaptureSelection(context), history.marks};
    // The baseline normally is the current text: taking it saves a copy.
    const std::u16string& text = ReadText(context.adapter, context.editor);
    if (history.baselineValid && SameText(history.baseline, text)) {
        current.text = TakeBaseline(history);
    } else {
        current.text = text;
    }
    HistoryEntry target = std::move(from.back());
    from.pop_back();
    ApplyEntry(context, target, undo);
    if (undo) {
        history.redoStack.push_back(std::move(current));
    } else {
        history.undoStack.push_back(std::move(current));
        (void)EnforceLimits(history);
    }
    return true;
}

// Moves the marks with the lines an insertion or deletion added or removed.
void FollowMarks(EditContext context, const TextModification& change) {
    EditorModel& editor = context.editor;
    LineMarks& marks = context.history.marks;
    const std::size_t lineCount = editor.LineCount();
    const long long before = static_cast<long long>(lineCount) - change.linesAdded;
    marks.resize(static_cast<std::size_t>(std::max(1LL, before)), 0);

    const std::size_t line = editor.LineFromPosition(change.position);
    const std::size_t at = std::min(change.position > editor.PositionFromLine(line) ? line + 1 : line, marks.size());
    if (change.linesAdded < 0) {
        const std::size_t removed = std::min(static_cast<std::size_t>(-change.linesAdded), marks.size() - at);
        marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(at),
                    marks.begin() + static_cast<std::ptrdiff_t>(at + removed));
    } else if (change.linesAdded > 0) {
        marks.insert(marks.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(change.linesAdded), 0);
    }
    marks.resize(lineCount, 0);

    if (context.history.compoundDepth == 0) {
        std::size_t last = line;
        if (change.insertion) {
            const std::size_t end = change.position + change.length;
            last = editor.LineFromPosition(end);
            if (last > line && editor.PositionFromLine(last) == end) --last;
        }
        SetMarks(context, line, last);
    }
    editor.RefreshLineNumbers();
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
    OnTextModified(context.adapter, context.editor, change);
    const EditHistory& history = context.history;
    if (history.loading || history.applying || history.composition.active) return;
    FollowMarks(context, change);
}

void OnDocumentChanged(EditContext context) {
    EditHistory& history = context.history;
    ++context.adapter.changeCounter;
    // An undo or redo sets the baseline itself; a composition is recorded at
    // its end.
    if (history.applying || history.composition.active) return;
    const std::u16string& text = ReadText(context.adapter, context.editor);
    if (!history.baselineValid || history.loading) {
        StoreBaseline(history, text);
        StoreState(context);
        return;
    }
    if (history.compoundDepth > 0) return;
    if (SameText(text, history.baseline)) {
        history.baselineMarks = history.marks;
        return;
    }
    SelectionState selection = history.pendingCapture ? *history.pendingCapture : history.baselineSelection;
    history.pendingCapture.reset();
    // Some input methods change the text while they hold a composition
    // string without reporting a composition; such changes join one step.
    const bool merge = history.mayMerge && history.composingAtLastStep &&
                       CountLineFeeds(text) == CountLineFeeds(history.baseline);
    std::u16string reusable;
    if (!merge) {
        LineMarks marks = std::move(history.baselineMarks);
        reusable = RecordStep(history, {TakeBaseline(history), std::move(selection), std::move(marks)});
    }
    StoreBaseline(history, text, std::move(reusable));
    StoreState(context);
    history.mayMerge = true;
    history.composingAtLastStep = context.editor.HasCompositionString();
    SetLastEdit(history);
}

void BeforeEdit(EditContext context) {
    EditHistory& history = context.history;
    if (history.compoundDepth++ > 0) return;
    history.compoundText = ReadText(context.adapter, context.editor);
    history.compoundSelection = CaptureSelection(context);
    history.compoundMarks = history.marks;
    history.pendingCapture.reset();
}

void AfterEdit(EditContext context, bool recomputeMarks) {
    EditHistory& history = context.history;
    if (history.compoundDepth == 0 || --history.compoundDepth > 0) return;
    const std::u16string& text = ReadText(context.adapter, context.editor);
    const bool changed = !SameText(text, history.compoundText);
    std::u16string reusable;
    if (changed) {
        if (recomputeMarks) history.marks = MatchLineMarks(history.compoundText, history.compoundMarks, text);
        ResizeMarks(context);
        context.editor.RefreshLineNumbers();
        reusable = RecordStep(history, {std::move(history.compoundText), history.compoundSelection,
                                        std::move(history.compoundMarks)});
    }
    StoreBaseline(history, text, std::move(reusable));
    StoreState(context);
    if (changed) SetLastEdit(history);
    history.mayMerge = false;
    std::u16string().swap(history.compoundText);
    LineMarks().swap(history.compoundMarks);
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
    const std::size_t length = ReadText(context.adapter, context.editor).size();
    return selection.start != selection.end || selection.start != std::min(history.lastEditLocation, length);
}

void GoToLastEdit(EditContext context) {
    const EditHistory& history = context.history;
    if (!history.lastEditValid) return;
    EditorModel& editor = context.editor;
    const EditorView view = editor.GetView();
    const std::size_t length = ReadText(context.adapter, editor).size();
    const std::size_t caret = ToBytePosition(context.adapter, editor, std::min(length, history.lastEditLocation));
    editor.SetRedraw(false);
    editor.SetSelection(caret, caret);
    RestoreView(editor, view);
    editor.ReapplyCaretLook();
    editor.SetRedraw(true);
}

void ResetHistory(EditContext context) {
    EditHistory& history = context.history;
    history.undoStack.clear();
    history.redoStack.clear();
    history.composition = {};
    history.pendingCapture.reset();
    history.compoundDepth = 0;
    std::u16string().swap(history.compoundText);
    BumpTextVersion(context.adapter);
    ++context.adapter.changeCounter;
    history.marks.assign(context.editor.LineCount(), 0);
    context.editor.RefreshLineNumbers();
    StoreBaseline(history, ReadText(context.adapter, context.editor));
    StoreState(context);
    history.lastEditValid = false;
    history.mayMerge = false;
    history.composingAtLastStep = false;
}

void BeginComposition(EditContext context) {
    EditHistory& history = context.history;
    EditHistory::Composition& composition = history.composition;
    if (composition.active) return;
    const std::u16string& text = ReadText(context.adapter, context.editor);
    composition.sharesBaseline = history.baselineValid && SameText(history.baseline, text);
    if (composition.sharesBaseline) {
        composition.text.clear();
    } else {
        composition.text = text;
    }
    composition.selection = history.pendingCapture ? *history.pendingCapture : CaptureSelection(context);
    history.pendingCapture.reset();
    composition.marks = history.marks;
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
    const std::u16string& text = ReadText(context.adapter, context.editor);
    const std::u16string& before = composition.sharesBaseline ? history.baseline : composition.text;
    if (SameText(text, before)) {
        // Cancelled: as if it never happened.
        if (history.undoStack.size() > composition.undoDepth) history.undoStack.resize(composition.undoDepth);
        history.redoStack = std::move(composition.redoStack);
        if (!composition.sharesBaseline) {
            composition.active = false;
            StoreBaseline(history, composition.text);
        }
        history.marks = std::move(composition.marks);
        ResizeMarks(context);
        history.lastEditLocation = composition.lastEditLocation;
        history.lastEditValid = composition.lastEditValid;
        StoreState(context);
        context.editor.RefreshLineNumbers();
    } else {
        composition.active = false;
        std::u16string startText = composition.sharesBaseline ? TakeBaseline(history) : std::move(composition.text);
        std::u16string reusable =
            RecordStep(history, {std::move(startText), composition.selection, std::move(composition.marks)});
        ResizeMarks(context);
        const std::size_t caretLine = context.editor.LineFromPosition(context.editor.GetSelection().caret);
        SetMarks(context, caretLine, caretLine);
        context.editor.RefreshLineNumbers();
        StoreBaseline(history, text, std::move(reusable));
        StoreState(context);
        SetLastEdit(history);
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
    history.baselineMarks = history.marks;
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

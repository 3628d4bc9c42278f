// Commands the program runs on the editor's text and caret: line commands,
// word commands, caret moves and the history commands.
#include "editor/editor_commands_win.h"

#include "editor/editor_window_win.h"
#include "resources/messages.h"
#include "editor/editor_host_win.h"
#include "editor/editor_keys.h"
#include "editor/shell_open_win.h"
#include "editor/shell_text.h"
#include "editor/text_adapter_win.h"
#include "editor/word_boundaries.h"
#include "editor/word_segmenter_win.h"
#include "platform/utf_convert.h"

#include <Scintilla.h>

#include <algorithm>

namespace quillpane {
namespace {

std::size_t ToSize(LRESULT value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

std::optional<LineCommand> LineCommandFor(unsigned id) {
    switch (id) {
    case IDM_SORTASC: return LineCommand::SortAscending;
    case IDM_SORTDESC: return LineCommand::SortDescending;
    case IDM_REMOVEDUPLICATES: return LineCommand::RemoveDuplicateLines;
    case IDM_REMOVEEMPTY: return LineCommand::RemoveEmptyLines;
    case IDM_TRIMTRAILING: return LineCommand::TrimTrailingWhitespace;
    case IDM_DUPLICATELINE: return LineCommand::DuplicateLines;
    case IDM_MOVELINEUP: return LineCommand::MoveLinesUp;
    case IDM_MOVELINEDOWN: return LineCommand::MoveLinesDown;
    case IDM_JOINLINES: return LineCommand::JoinLines;
    default: return std::nullopt;
    }
}

// At most this many bytes on either side of the caret are read for the word
// and line rules: a memo of one enormous line stays as fast as any other.
constexpr std::size_t kWindowReach = 8192;

std::size_t LengthOf(EditorWindow& ed) {
    return EditTextLength(ed.text.adapter, ed.text.model);
}

// The lines around a selection, from the line before it to the line after
// it, in UTF-16 with the index of their first unit: what the word and line
// rules look at instead of the whole memo.
struct TextWindow {
    std::u16string text;
    std::size_t offset = 0;

    [[nodiscard]] Selection Local(Selection selection) const {
        return {selection.anchor - offset, selection.caret - offset};
    }
    [[nodiscard]] Selection Global(Selection selection) const {
        return {selection.anchor + offset, selection.caret + offset};
    }
    [[nodiscard]] TextRange Global(TextRange range) const { return {range.start + offset, range.end + offset}; }
    [[nodiscard]] TextEdit Global(TextEdit edit) const {
        edit.replaced = Global(edit.replaced);
        edit.selectionAfter = Global(edit.selectionAfter);
        return edit;
    }
};

bool StartsCharacter(EditorWindow& ed, std::size_t position) {
    const auto byte = static_cast<unsigned char>(ed.sci.CharAt(position));
    return (byte & 0xC0) != 0x80;
}

TextWindow WindowAround(EditorWindow& ed, std::size_t fromIndex, std::size_t toIndex) {
    EditorTextState& state = ed.text;
    const std::size_t length = ToSize(ed.sci.Length());
    const std::size_t from = ToBytePosition(state.adapter, state.model, std::min(fromIndex, toIndex));
    const std::size_t to = ToBytePosition(state.adapter, state.model, std::max(fromIndex, toIndex));
    const auto firstLine = ToSize(ed.sci.LineFromPosition(from));
    const auto lastLine = ToSize(ed.sci.LineFromPosition(to));
    std::size_t start = ToSize(ed.sci.PositionFromLine(firstLine > 0 ? firstLine - 1 : 0));
    std::size_t end = std::min(length, ToSize(ed.sci.PositionFromLine(lastLine + 2)));
    if (lastLine + 2 >= ToSize(ed.sci.LineCount())) end = length;
    if (from > start + kWindowReach) start = from - kWindowReach;
    if (end > to + kWindowReach) end = to + kWindowReach;
    while (start > 0 && !StartsCharacter(ed, start)) --start;
    while (end < length && !StartsCharacter(ed, end)) ++end;

    std::string bytes(end - start + 1, '\0');
    Sci_TextRangeFull range {};
    range.chrg.cpMin = static_cast<Sci_Position>(start);
    range.chrg.cpMax = static_cast<Sci_Position>(end);
    range.lpstrText = bytes.data();
    bytes.resize(ToSize(ed.sci.GetTextRangeFull(&range)));
    return {Utf8ToUtf16Lenient(bytes), ToIndex(state.adapter, state.model, start)};
}

TextWindow WindowAround(EditorWindow& ed, Selection selection) {
    return WindowAround(ed, selection.Start(), selection.End());
}

// The line commands that look only at the selected lines and their neighbours.
bool IsLocalCommand(LineCommand command) {
    switch (command) {
    case LineCommand::DuplicateLines:
    case LineCommand::DeleteLines:
    case LineCommand::JoinLines:
    case LineCommand::DeleteToLineEnd:
    case LineCommand::MoveLinesUp:
    case LineCommand::MoveLinesDown:
        return true;
    default:
        return false;
    }
}

// Deletes range as one step; the caret stays at its start.
bool DeleteRange(EditorWindow& ed, const std::optional<TextRange>& range);

// Ctrl+Backspace / Ctrl+Delete: the rule judged on the lines around the selection.
using WordRangeRule = std::optional<TextRange> (*)(std::u16string_view, Selection);
bool DeleteWordBy(EditorWindow& ed, WordRangeRule rule) {
    if (!ServesText(ed)) return false;
    const Selection selection = EditorSelection16(ed);
    const TextWindow window = WindowAround(ed, selection);
    const std::optional<TextRange> range = rule(window.text, window.Local(selection));
    return DeleteRange(ed, range ? std::optional<TextRange>(window.Global(*range)) : std::nullopt);
}

// Deletes range as one step; the caret stays at its start.
bool DeleteRange(EditorWindow& ed, const std::optional<TextRange>& range) {
    if (!range || range->start == range->end) return false;
    const TextEdit edit {*range, u"", {range->start, range->start}};
    ApplyTextEdit(ContextOf(ed.text), edit, true);
    AfterCaretMove(ed);
    return true;
}

}  // namespace

std::size_t EditorLength16(EditorWindow& ed) {
    return ServesText(ed) ? LengthOf(ed) : 0;
}

bool ArrowStopsHere(EditorWindow& ed, bool toEnd, bool extend) {
    if (!ServesText(ed)) return false;
    const Selection selection = EditorSelection16(ed);
    const TextWindow window = WindowAround(ed, selection);
    return ArrowStopsAtLineEdge(window.text, window.Local(selection), toEnd, extend);
}

Selection EditorSelection16(EditorWindow& ed) {
    if (!ServesText(ed)) return {};
    EditorTextState& state = ed.text;
    const std::size_t anchor = ToIndex(state.adapter, state.model, ToSize(ed.sci.Anchor()));
    const std::size_t caret = ToIndex(state.adapter, state.model, ToSize(ed.sci.CurrentPos()));
    return {anchor, caret};
}

void AfterCaretMove(EditorWindow& ed) {
    ApplyCaret(ed);
    UpdateCurrentLineCues(ed);
}

void SetSelection16(EditorWindow& ed, Selection selection) {
    if (!ServesText(ed)) return;
    EditorTextState& state = ed.text;
    const std::size_t length = LengthOf(ed);
    const std::size_t anchor = ToBytePosition(state.adapter, state.model, std::min(selection.anchor, length));
    const std::size_t caret = ToBytePosition(state.adapter, state.model, std::min(selection.caret, length));
    ed.sci.SetSel(anchor, caret);
    ed.sci.ChooseCaretX();
    ed.sci.ScrollCaret();
    AfterCaretMove(ed);
}

void SetCaret(EditorWindow& ed, std::size_t index, bool extend) {
    if (!ServesText(ed)) return;
    index = std::min(index, LengthOf(ed));
    std::size_t anchor = index;
    if (extend) {
        const Selection current = EditorSelection16(ed);
        // The end farther from the target stays.
        const std::size_t start = current.Start();
        const std::size_t end = current.End();
        if (index <= start) {
            anchor = end;
        } else if (index >= end) {
            anchor = start;
        } else {
            anchor = index - start >= end - index ? start : end;
        }
    }
    SetSelection16(ed, {anchor, index});
}

bool RunLineCommandOn(EditorWindow& ed, LineCommand command) {
    if (!ServesText(ed)) return false;
    EditorTextState& state = ed.text;
    const Selection selection = EditorSelection16(ed);
    std::optional<TextEdit> edit;
    if (IsLocalCommand(command)) {
        const TextWindow window = WindowAround(ed, selection);
        if (LengthOf(ed) == 0) return false;
        edit = RunLineCommand(command, window.text, window.Local(selection));
        if (edit) edit = window.Global(*edit);
    } else {
        // Sorting and cleaning up take the whole memo when nothing is selected.
        const std::u16string& text = ReadText(state.adapter, state.model);
        if (text.empty()) return false;
        edit = RunLineCommand(command, text, selection);
    }
    if (!edit) return false;
    ApplyTextEdit(ContextOf(state), *edit, MarksByLineMatching(command));
    AfterCaretMove(ed);
    return true;
}

bool CanMoveLinesNow(EditorWindow& ed, int direction) {
    if (!ServesText(ed)) return false;
    const Selection selection = EditorSelection16(ed);
    const TextWindow window = WindowAround(ed, selection);
    return CanMoveLines(window.text, window.Local(selection), direction);
}

bool DeleteWordLeft(EditorWindow& ed) {
    return DeleteWordBy(ed, DeleteWordLeftRange);
}

bool DeleteWordRight(EditorWindow& ed) {
    return DeleteWordBy(ed, DeleteWordRightRange);
}

void MoveByWord(EditorWindow& ed, bool right, bool extend) {
    if (!ServesText(ed)) return;
    const Selection selection = EditorSelection16(ed);
    const TextWindow window = WindowAround(ed, selection);
    SetSelection16(ed, window.Global(WordMove(window.text, window.Local(selection), right, extend)));
}

void ScrollKeepingCaret(EditorWindow& ed, bool down) {
    if (!ServesText(ed)) return;
    const LRESULT caret = ed.sci.CurrentPos();
    const LRESULT x = ed.sci.PointXFromPosition(caret);
    const LRESULT y = ed.sci.PointYFromPosition(caret);
    ed.sci.LineScroll(0, down ? 1 : -1);
    const LRESULT position = ed.sci.PositionFromPoint(x, y);
    if (position >= 0) ed.sci.SetEmptySelection(position);
    AfterCaretMove(ed);
}

void CaretToLineEdge(EditorWindow& ed, bool toEnd) {
    if (!ServesText(ed)) return;
    const std::size_t end = EditorSelection16(ed).End();
    const TextWindow window = WindowAround(ed, end, end);
    const LineRange line = LogicalLineAt(window.text, end - window.offset);
    SetCaret(ed, window.offset + (toEnd ? line.contentEnd : line.start), false);
}

DoubleClickMarks SelectWordAt(EditorWindow& ed, std::size_t index) {
    if (!ServesText(ed)) return DoubleClickMarks::Keep;
    const TextWindow window = WindowAround(ed, index, index);
    const std::size_t local = index - window.offset;
    const std::optional<TextRange> word = WordRangeAt(window.text, local, PlatformSegmentLookup());
    if (word) SetSelection16(ed, window.Global(Selection {word->start, word->end}));
    return DoubleClickMarksAt(window.text, local, word);
}

std::optional<TextRange> WordAtCaret(EditorWindow& ed) {
    if (!ServesText(ed)) return std::nullopt;
    const std::size_t caret = EditorSelection16(ed).caret;
    const TextWindow window = WindowAround(ed, caret, caret);
    const std::optional<TextRange> word = WordAtCaret(window.text, caret - window.offset, PlatformSegmentLookup());
    return word ? std::optional<TextRange>(window.Global(*word)) : std::nullopt;
}

void InsertDateTime(EditorWindow& ed, StampKind kind) {
    if (!ServesText(ed) || ed.sci.ReadOnly()) return;
    SYSTEMTIME now {};
    ::GetLocalTime(&now);
    platform::LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    const Selection selection = EditorSelection16(ed);
    TextEdit edit;
    edit.replaced = {selection.Start(), selection.End()};
    edit.replacement = DateTimeStamp(kind, time);
    const std::size_t caret = selection.Start() + edit.replacement.size();
    edit.selectionAfter = {caret, caret};
    ApplyTextEdit(ContextOf(ed.text), edit, true);
    AfterCaretMove(ed);
}

void SearchWebForSelection(EditorWindow& ed) {
    if (!ServesText(ed)) return;
    const Selection selection = EditorSelection16(ed);
    if (selection.Empty()) return;
    // The first line is enough: no need to read a huge selection whole.
    const std::size_t end = std::min(selection.End(), selection.Start() + 512);
    const std::optional<std::u16string> address =
        WebSearchAddress(ReadTextRange(ed.text.adapter, ed.text.model, selection.Start(), end));
    if (address) (void)ShellOpen(ed.hwnd, *address, false);
}

bool RunEditorCommand(EditorWindow& ed, unsigned id) {
    if (!ServesText(ed)) return false;
    EditorTextState& state = ed.text;
    switch (id) {
    case IDM_UNDO:
        if (Undo(ContextOf(state))) AfterCaretMove(ed);
        return true;
    case IDM_REDO:
        if (Redo(ContextOf(state))) AfterCaretMove(ed);
        return true;
    case IDM_LASTEDIT:
        GoToLastEdit(ContextOf(state));
        AfterCaretMove(ed);
        return true;
    case IDM_INSERTDATETIME:
        InsertDateTime(ed, StampKind::DateAndTime);
        return true;
    case IDM_INSERTDATE:
        InsertDateTime(ed, StampKind::Date);
        return true;
    case IDM_INSERTTIME:
        InsertDateTime(ed, StampKind::Time);
        return true;
    case IDM_WEBSEARCH:
        SearchWebForSelection(ed);
        return true;
    default:
        break;
    }
    if (const std::optional<LineCommand> command = LineCommandFor(id)) {
        (void)RunLineCommandOn(ed, *command);
        return true;
    }
    return false;
}

}  // namespace quillpane

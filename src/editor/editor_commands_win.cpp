// Commands the program runs on the editor's text and caret: line commands,
// word commands, caret moves and the history commands.
#include "editor/editor_commands_win.h"

#include "app/app_win.h"
#include "app/commands.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "editor/word_boundaries.h"
#include "editor/word_segmenter_win.h"

#include <Scintilla.h>

#include <algorithm>

namespace quillpane {
namespace {

LRESULT Call(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(editor, message, wParam, lParam);
}

std::size_t ToSize(LRESULT value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

bool Ready(const App& app) {
    return app.editor != nullptr && app.textState.editor == app.editor;
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

// Deletes range as one step; the caret stays at its start.
bool DeleteRange(App& app, const std::optional<TextRange>& range) {
    if (!range || range->start == range->end) return false;
    const TextEdit edit {*range, u"", {range->start, range->start}};
    ApplyTextEdit(app.textState, edit, true);
    AfterCaretMove(app);
    return true;
}

}  // namespace

Selection EditorSelection16(App& app) {
    if (!Ready(app)) return {};
    EditorTextState& state = app.textState;
    const std::size_t anchor = EditorIndexFromPosition(state, ToSize(Call(app.editor, SCI_GETANCHOR)));
    const std::size_t caret = EditorIndexFromPosition(state, ToSize(Call(app.editor, SCI_GETCURRENTPOS)));
    return {anchor, caret};
}

void AfterCaretMove(App& app) {
    ApplyCaret(app);
    UpdateCurrentLineCues(app);
}

void SetSelection16(App& app, Selection selection) {
    if (!Ready(app)) return;
    EditorTextState& state = app.textState;
    const std::size_t length = ReadEditorText(state).size();
    const std::size_t anchor = EditorPositionFromIndex(state, std::min(selection.anchor, length));
    const std::size_t caret = EditorPositionFromIndex(state, std::min(selection.caret, length));
    Call(app.editor, SCI_SETSEL, static_cast<WPARAM>(anchor), static_cast<LPARAM>(caret));
    Call(app.editor, SCI_CHOOSECARETX);
    Call(app.editor, SCI_SCROLLCARET);
    AfterCaretMove(app);
}

void SetCaret(App& app, std::size_t index, bool extend) {
    if (!Ready(app)) return;
    index = std::min(index, ReadEditorText(app.textState).size());
    std::size_t anchor = index;
    if (extend) {
        const Selection current = EditorSelection16(app);
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
    SetSelection16(app, {anchor, index});
}

bool RunLineCommandOn(App& app, LineCommand command) {
    if (!Ready(app)) return false;
    EditorTextState& state = app.textState;
    const std::u16string& text = ReadEditorText(state);
    if (text.empty()) return false;
    const std::optional<TextEdit> edit = RunLineCommand(command, text, EditorSelection16(app));
    if (!edit) return false;
    ApplyTextEdit(state, *edit, MarksByLineMatching(command));
    AfterCaretMove(app);
    return true;
}

bool CanMoveLinesNow(App& app, int direction) {
    if (!Ready(app)) return false;
    return CanMoveLines(ReadEditorText(app.textState), EditorSelection16(app), direction);
}

bool DeleteWordLeft(App& app) {
    if (!Ready(app)) return false;
    return DeleteRange(app, DeleteWordLeftRange(ReadEditorText(app.textState), EditorSelection16(app)));
}

bool DeleteWordRight(App& app) {
    if (!Ready(app)) return false;
    return DeleteRange(app, DeleteWordRightRange(ReadEditorText(app.textState), EditorSelection16(app)));
}

void MoveByWord(App& app, bool right, bool extend) {
    if (!Ready(app)) return;
    SetSelection16(app, WordMove(ReadEditorText(app.textState), EditorSelection16(app), right, extend));
}

void ScrollKeepingCaret(App& app, bool down) {
    if (!Ready(app)) return;
    HWND editor = app.editor;
    const LRESULT caret = Call(editor, SCI_GETCURRENTPOS);
    const LRESULT x = Call(editor, SCI_POINTXFROMPOSITION, 0, caret);
    const LRESULT y = Call(editor, SCI_POINTYFROMPOSITION, 0, caret);
    Call(editor, SCI_LINESCROLL, 0, down ? 1 : -1);
    const LRESULT position = Call(editor, SCI_POSITIONFROMPOINT, static_cast<WPARAM>(x), y);
    if (position >= 0) Call(editor, SCI_SETEMPTYSELECTION, static_cast<WPARAM>(position));
    AfterCaretMove(app);
}

void CaretToLineEdge(App& app, bool toEnd) {
    if (!Ready(app)) return;
    const std::u16string& text = ReadEditorText(app.textState);
    const LineRange line = LogicalLineAt(text, EditorSelection16(app).End());
    SetCaret(app, toEnd ? line.contentEnd : line.start, false);
}

void SelectWordAt(App& app, std::size_t index) {
    if (!Ready(app)) return;
    const std::u16string& text = ReadEditorText(app.textState);
    if (const std::optional<TextRange> word = WordRangeAt(text, index, PlatformSegmentLookup())) {
        SetSelection16(app, {word->start, word->end});
    }
}

std::optional<TextRange> WordAtCaret(App& app) {
    if (!Ready(app)) return std::nullopt;
    const std::u16string& text = ReadEditorText(app.textState);
    return WordAtCaret(text, EditorSelection16(app).caret, PlatformSegmentLookup());
}

bool RunEditorCommand(App& app, unsigned id) {
    if (!Ready(app)) return false;
    EditorTextState& state = app.textState;
    switch (id) {
    case IDM_UNDO:
        if (Undo(state)) AfterCaretMove(app);
        return true;
    case IDM_REDO:
        if (Redo(state)) AfterCaretMove(app);
        return true;
    case IDM_LASTEDIT:
        GoToLastEdit(state);
        AfterCaretMove(app);
        return true;
    default:
        break;
    }
    if (const std::optional<LineCommand> command = LineCommandFor(id)) {
        (void)RunLineCommandOn(app, *command);
        return true;
    }
    return false;
}

}  // namespace quillpane

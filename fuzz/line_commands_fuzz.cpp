// Line commands applied through the edit history on the in-memory editor:
// only the replaced block changes, and one undo brings the text back.
#include "fuzz_text.h"

#include "editor/edit_history.h"
#include "editor/line_commands.h"
#include "support/fake_editor_model.h"

#include <algorithm>

namespace {

using namespace quillpane;

// The editor never puts the caret between the halves of a pair.
std::size_t OnCharacter(std::u16string_view text, std::size_t index) {
    index = std::min(index, text.size());
    if (index > 0 && index < text.size() && IsHighSurrogate(text[index - 1]) && IsLowSurrogate(text[index])) --index;
    return index;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const auto command = static_cast<LineCommand>(input.Byte() % 11);
    const std::size_t anchor = input.Word();
    const std::size_t caret = input.Word();
    // The editor holds UTF-8, so the text is what survives a trip through it.
    const std::u16string text = fuzz::TakeText(input, false);
    const Selection selection {OnCharacter(text, anchor), OnCharacter(text, caret)};

    const std::optional<TextEdit> edit = RunLineCommand(command, text, selection);
    if (!edit) return 0;
    const TextRange replaced = edit->replaced;
    FUZZ_CHECK(replaced.start <= replaced.end && replaced.end <= text.size());
    const std::u16string after =
        text.substr(0, replaced.start) + edit->replacement + text.substr(replaced.end);
    FUZZ_CHECK(after != text);
    FUZZ_CHECK(edit->selectionAfter.anchor <= after.size() && edit->selectionAfter.caret <= after.size());

    const std::string before = Utf16ToUtf8(text);
    testing::FakeEditorSession session(before);
    const EditContext context = session.Context();
    session.editor.SetSelection(ToBytePosition(session.adapter, session.editor, selection.anchor),
                                ToBytePosition(session.adapter, session.editor, selection.caret));
    ApplyTextEdit(context, *edit, MarksByLineMatching(command));

    const std::u16string edited = Utf8ToUtf16Lenient(session.Bytes());
    FUZZ_CHECK(edited == after);
    // Outside the replaced block nothing moved.
    const std::size_t tail = text.size() - replaced.end;
    FUZZ_CHECK(edited.size() >= replaced.start + tail);
    FUZZ_CHECK(std::u16string_view(edited).substr(0, replaced.start) ==
               std::u16string_view(text).substr(0, replaced.start));
    FUZZ_CHECK(std::u16string_view(edited).substr(edited.size() - tail) ==
               std::u16string_view(text).substr(replaced.end));
    FUZZ_CHECK(session.history.marks.size() == session.editor.LineCount());

    FUZZ_CHECK(Undo(context));
    FUZZ_CHECK(session.Bytes() == before);
    FUZZ_CHECK(Redo(context));
    FUZZ_CHECK(session.Bytes() == Utf16ToUtf8(after));
    return 0;
}

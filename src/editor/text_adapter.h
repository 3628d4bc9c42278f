// The text adapter: the editor seen as a plain edit control counting in UTF-16
// code units, over cached UTF-8 and UTF-16 copies of the document.
#pragma once

#include "platform/text_compare.h"

#include "editor/editor_model.h"
#include "editor/text_types.h"
#include "editor/utf_positions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillpane {

// One instance for the process, owned by the application record.
struct TextAdapter {
    // Bumped whenever the component's text may have changed; the caches are
    // current only while their version equals it.
    std::uint64_t textVersion = 0;
    // Bumped once per document change and by a history reset; the search
    // matches, the line-start cache and the status label's byte count are
    // keyed on it.
    std::uint64_t changeCounter = 0;

    // The caches: the document in UTF-8 and UTF-16 (always filled together).
    const void* cachedWindow = nullptr;
    std::uint64_t cachedVersion = 0;
    bool cacheValid = false;
    DualText text;
};

// The text may have changed in a way the adapter was not told about.
void BumpTextVersion(TextAdapter& adapter);
// The program itself has just put `bytes` (well-formed UTF-8) into the
// component as its whole text: the caches take them instead of reading the
// text back (nothing when the component's length says otherwise).
void AdoptText(TextAdapter& adapter, const EditorModel& editor, std::string bytes);

// The document, read from the component only when the caches are stale.
[[nodiscard]] const DualText& CurrentText(TextAdapter& adapter, const EditorModel& editor);
// The whole text in one piece, which after an edit moves up to all of it: for
// idle-time readers. Per-keystroke code uses CurrentText's length, units and
// ranges (or ReadTextRange) instead.
[[nodiscard]] const std::u16string& ReadText(TextAdapter& adapter, const EditorModel& editor);
// Code units [startIndex, endIndex), clamped.
[[nodiscard]] std::u16string ReadTextRange(TextAdapter& adapter, const EditorModel& editor, std::size_t startIndex,
                                           std::size_t endIndex);

[[nodiscard]] std::size_t ToIndex(TextAdapter& adapter, const EditorModel& editor, std::size_t bytePosition);
[[nodiscard]] std::size_t ToBytePosition(TextAdapter& adapter, const EditorModel& editor, std::size_t index);

// Called for each insertion and deletion the component reports (SCN_MODIFIED).
// Caches that were current are patched around the change instead of being
// read again; a change arriving after the caches were already re-read is
// recognised by the length.
void OnTextModified(TextAdapter& adapter, const EditorModel& editor, const TextModification& change);
// The same; true when the caches took the change in (or it changed nothing),
// with what changed in UTF-16 in applied and, when removedUnits is given, the
// units it replaced appended to it. False when the caches were stale or had
// been read again after the change, so that what it replaced is unknown.
[[nodiscard]] bool OnTextModified(TextAdapter& adapter, const EditorModel& editor, const TextModification& change,
                                  Utf16Change& applied, std::u16string* removedUnits);

// The edit-control messages, in UTF-16 code units.
// WM_SETTEXT.
void SetEditText(TextAdapter& adapter, EditorModel& editor, std::u16string_view text);
// WM_GETTEXT: at most bufferSize - 1 units and a terminating NUL; the count copied.
[[nodiscard]] std::size_t CopyEditText(TextAdapter& adapter, const EditorModel& editor, char16_t* buffer,
                                       std::size_t bufferSize);
// WM_GETTEXTLENGTH.
[[nodiscard]] std::size_t EditTextLength(TextAdapter& adapter, const EditorModel& editor);
// EM_GETSEL: the lower and upper end of the selection.
[[nodiscard]] TextRange GetEditSelection(TextAdapter& adapter, const EditorModel& editor);
// EM_SETSEL: a negative start collapses the selection to the caret; a negative
// end means the end of the text; indices past the end are clamped.
void SetEditSelection(TextAdapter& adapter, EditorModel& editor, long long start, long long end);
// EM_REPLACESEL.
void ReplaceEditSelection(EditorModel& editor, std::u16string_view text);
// EM_LINEFROMCHAR: a negative index means the caret.
[[nodiscard]] std::size_t EditLineFromChar(TextAdapter& adapter, const EditorModel& editor, long long index);
// EM_LINEINDEX: -1 for a negative line or one past the last.
[[nodiscard]] long long EditLineIndex(TextAdapter& adapter, const EditorModel& editor, long long line);

}  // namespace quillpane

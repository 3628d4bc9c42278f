// The text adapter: the editor seen as a plain edit control counting in UTF-16
// code units, over cached UTF-8 and UTF-16 copies of the document.
#include "editor/text_adapter.h"

#include "platform/utf_convert.h"

#include <algorithm>

namespace quillpane {
namespace {

bool CacheCurrent(const TextAdapter& adapter, const EditorModel& editor) {
    // The length check catches a change whose notification has not arrived
    // yet (the component reports EN_CHANGE before SCN_MODIFIED).
    return adapter.cacheValid && adapter.cachedWindow == editor.Identity() &&
           adapter.cachedVersion == adapter.textVersion && adapter.text.ByteLength() == editor.ByteLength();
}

}  // namespace

void BumpTextVersion(TextAdapter& adapter) {
    ++adapter.textVersion;
}

void AdoptText(TextAdapter& adapter, const EditorModel& editor, std::string bytes) {
    if (bytes.size() != editor.ByteLength()) return;
    adapter.text.AssignWellFormed(std::move(bytes));
    adapter.cachedWindow = editor.Identity();
    adapter.cachedVersion = adapter.textVersion;
    adapter.cacheValid = true;
}

const DualText& CurrentText(TextAdapter& adapter, const EditorModel& editor) {
    if (!CacheCurrent(adapter, editor)) {
        adapter.text.Assign(editor.ReadBytes());
        adapter.cachedWindow = editor.Identity();
        adapter.cachedVersion = adapter.textVersion;
        adapter.cacheValid = true;
    }
    return adapter.text;
}

const std::u16string& ReadText(TextAdapter& adapter, const EditorModel& editor) {
    return CurrentText(adapter, editor).Text();
}

std::u16string ReadTextRange(TextAdapter& adapter, const EditorModel& editor, std::size_t startIndex,
                             std::size_t endIndex) {
    return CurrentText(adapter, editor).TextRange(startIndex, endIndex);
}

std::size_t ToIndex(TextAdapter& adapter, const EditorModel& editor, std::size_t bytePosition) {
    return CurrentText(adapter, editor).ToIndex(bytePosition);
}

std::size_t ToBytePosition(TextAdapter& adapter, const EditorModel& editor, std::size_t index) {
    return CurrentText(adapter, editor).ToBytePosition(index);
}

void OnTextModified(TextAdapter& adapter, const EditorModel& editor, const TextModification& change) {
    Utf16Change applied;
    (void)OnTextModified(adapter, editor, change, applied, nullptr);
}

bool OnTextModified(TextAdapter& adapter, const EditorModel& editor, const TextModification& change,
                    Utf16Change& applied, std::u16string* removedUnits) {
    applied = {};
    const bool wasCurrent = adapter.cacheValid && adapter.cachedWindow == editor.Identity() &&
                            adapter.cachedVersion == adapter.textVersion;
    ++adapter.textVersion;
    if (!wasCurrent) return change.length == 0;
    const std::size_t cached = adapter.text.ByteLength();
    const std::size_t now = editor.ByteLength();
    if (change.length == 0 || cached == now) {
        // Nothing changed, or the caches were read after this change.
        adapter.cachedVersion = adapter.textVersion;
        return change.length == 0;
    }
    const std::size_t before = change.insertion ? now - std::min(now, change.length) : now + change.length;
    const bool fits = change.insertion ? change.position + change.length <= now
                                       : change.position + change.length <= cached;
    if (cached != before || !fits) {
        adapter.cacheValid = false;
        return false;
    }
    if (change.insertion) {
        if (change.insertedBytes != nullptr) {
            applied = adapter.text.Replace(change.position, change.position,
                                           std::string_view(change.insertedBytes, change.length), removedUnits);
        } else {
            applied = adapter.text.Replace(change.position, change.position,
                                           editor.ReadByteRange(change.position, change.position + change.length),
                                           removedUnits);
        }
    } else {
        applied = adapter.text.Replace(change.position, change.position + change.length, {}, removedUnits);
    }
    adapter.cachedVersion = adapter.textVersion;
    return true;
}

void SetEditText(TextAdapter& adapter, EditorModel& editor, std::u16string_view text) {
    const std::uint64_t version = adapter.textVersion;
    editor.SetText(Utf16ToUtf8(text));
    // Reported changes kept the caches (and the history) current; only a
    // change nobody reported leaves them to be read again.
    if (adapter.textVersion == version) BumpTextVersion(adapter);
}

std::size_t CopyEditText(TextAdapter& adapter, const EditorModel& editor, char16_t* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    const std::size_t count = CurrentText(adapter, editor).CopyText(0, bufferSize - 1, buffer);
    buffer[count] = u'\0';
    return count;
}

std::size_t EditTextLength(TextAdapter& adapter, const EditorModel& editor) {
    return CurrentText(adapter, editor).Length();
}

TextRange GetEditSelection(TextAdapter& adapter, const EditorModel& editor) {
    const EditorSelection selection = editor.GetSelection();
    const DualText& text = CurrentText(adapter, editor);
    const std::size_t start = text.ToIndex(selection.start);
    return {start, std::max(start, text.ToIndex(selection.end))};
}

void SetEditSelection(TextAdapter& adapter, EditorModel& editor, long long start, long long end) {
    if (start < 0) {
        const std::size_t caret = editor.GetSelection().caret;
        editor.SetSelection(caret, caret);
        return;
    }
    const DualText& text = CurrentText(adapter, editor);
    const std::size_t anchor = text.ToBytePosition(static_cast<std::size_t>(start));
    const std::size_t caret = end < 0 ? text.ByteLength() : text.ToBytePosition(static_cast<std::size_t>(end));
    editor.SetSelection(anchor, caret);
}

void ReplaceEditSelection(EditorModel& editor, std::u16string_view text) {
    editor.ReplaceSelection(Utf16ToUtf8(text));
}

std::size_t EditLineFromChar(TextAdapter& adapter, const EditorModel& editor, long long index) {
    const std::size_t position = index < 0 ? editor.GetSelection().caret
                                           : ToBytePosition(adapter, editor, static_cast<std::size_t>(index));
    return editor.LineFromPosition(position);
}

long long EditLineIndex(TextAdapter& adapter, const EditorModel& editor, long long line) {
    if (line < 0 || static_cast<unsigned long long>(line) >= editor.LineCount()) return -1;
    const std::size_t position = editor.PositionFromLine(static_cast<std::size_t>(line));
    return static_cast<long long>(ToIndex(adapter, editor, position));
}

}  // namespace quillpane

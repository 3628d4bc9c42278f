// The text adapter: the editor seen as a plain edit control counting in UTF-16
// code units, over cached UTF-8 and UTF-16 copies of the document.
#include "editor/text_adapter.h"

#include "platform/utf_convert.h"

#include <algorithm>
#include <cstring>

namespace quillpane {
namespace {

bool CacheCurrent(const TextAdapter& adapter, const EditorModel& editor) {
    // The length check catches a change whose notification has not arrived
    // yet (the component reports EN_CHANGE before SCN_MODIFIED).
    return adapter.cacheValid && adapter.cachedWindow == editor.Identity() &&
           adapter.cachedVersion == adapter.textVersion && adapter.text.Bytes().size() == editor.ByteLength();
}

}  // namespace

void BumpTextVersion(TextAdapter& adapter) {
    ++adapter.textVersion;
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

std::size_t ToIndex(TextAdapter& adapter, const EditorModel& editor, std::size_t bytePosition) {
    return CurrentText(adapter, editor).ToIndex(bytePosition);
}

std::size_t ToBytePosition(TextAdapter& adapter, const EditorModel& editor, std::size_t index) {
    return CurrentText(adapter, editor).ToBytePosition(index);
}

void OnTextModified(TextAdapter& adapter, const EditorModel& editor, const TextModification& change) {
    const bool wasCurrent = adapter.cacheValid && adapter.cachedWindow == editor.Identity() &&
                            adapter.cachedVersion == adapter.textVersion;
    ++adapter.textVersion;
    if (!wasCurrent) return;
    const std::size_t cached = adapter.text.Bytes().size();
    const std::size_t now = editor.ByteLength();
    if (change.length == 0 || cached == now) {
        // Nothing changed, or the caches were read after this change.
        adapter.cachedVersion = adapter.textVersion;
        return;
    }
    const std::size_t before = change.insertion ? now - std::min(now, change.length) : now + change.length;
    const bool fits = change.insertion ? change.position + change.length <= now
                                       : change.position + change.length <= cached;
    if (cached != before || !fits) {
        adapter.cacheValid = false;
        return;
    }
    if (change.insertion) {
        if (change.insertedBytes != nullptr) {
            adapter.text.Replace(change.position, change.position,
                                 std::string_view(change.insertedBytes, change.length));
        } else {
            adapter.text.Replace(change.position, change.position,
                                 editor.ReadByteRange(change.position, change.position + change.length));
        }
    } else {
        adapter.text.Replace(change.position, change.position + change.length, {});
    }
    adapter.cachedVersion = adapter.textVersion;
}

void SetEditText(TextAdapter& adapter, EditorModel& editor, std::u16string_view text) {
    editor.SetText(Utf16ToUtf8(text));
    BumpTextVersion(adapter);
}

std::size_t CopyEditText(TextAdapter& adapter, const EditorModel& editor, char16_t* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    const std::u16string& text = ReadText(adapter, editor);
    const std::size_t count = std::min(text.size(), bufferSize - 1);
    std::memcpy(buffer, text.data(), count * sizeof(char16_t));
    buffer[count] = u'\0';
    return count;
}

std::size_t EditTextLength(TextAdapter& adapter, const EditorModel& editor) {
    return ReadText(adapter, editor).size();
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
    const std::size_t caret = end < 0 ? text.Bytes().size() : text.ToBytePosition(static_cast<std::size_t>(end));
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

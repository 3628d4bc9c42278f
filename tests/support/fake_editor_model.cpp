// An in-memory stand-in for the editing component and a session wiring it to
// the adapter and the history.
#include "support/fake_editor_model.h"

#include <algorithm>

namespace quillpane::testing {
namespace {

// Positions after an edit at [position, position + removed) that inserted
// `inserted` bytes: positions inside the removed part collapse to its start.
std::size_t Moved(std::size_t at, std::size_t position, std::size_t removed, std::size_t inserted) {
    if (at <= position) return at;
    if (at < position + removed) return position;
    return at - removed + inserted;
}

}  // namespace

FakeEditorModel::FakeEditorModel(std::string_view bytes) : bytes_(bytes) {
    UpdateLineStarts(0, 0, bytes_.size());
}

std::string FakeEditorModel::ReadByteRange(std::size_t start, std::size_t end) const {
    start = std::min(start, bytes_.size());
    end = std::clamp(end, start, bytes_.size());
    return bytes_.substr(start, end - start);
}

// A line starts after LF, and after a CR that no LF follows.
void FakeEditorModel::UpdateLineStarts(std::size_t position, std::size_t removed, std::size_t inserted) {
    const auto from = std::lower_bound(lineStarts_.begin() + 1, lineStarts_.end(), position);
    const auto to = std::upper_bound(from, lineStarts_.end(), position + removed);
    for (auto it = to; it != lineStarts_.end(); ++it) *it = *it - removed + inserted;
    std::vector<std::size_t> fresh;
    for (std::size_t start = std::max<std::size_t>(position, 1); start <= position + inserted; ++start) {
        if (start > bytes_.size()) break;
        const char before = bytes_[start - 1];
        if (before == '\n' || (before == '\r' && (start == bytes_.size() || bytes_[start] != '\n'))) {
            fresh.push_back(start);
        }
    }
    const auto at = lineStarts_.erase(from, to);
    lineStarts_.insert(at, fresh.begin(), fresh.end());
}

void FakeEditorModel::Notify(const TextModification& change) {
    if (listener_) listener_(change);
}

TextModification FakeEditorModel::Insert(std::size_t position, std::string_view bytes) {
    position = std::min(position, bytes_.size());
    if (readOnly_ || bytes.empty()) return {true, position, 0, 0, nullptr};
    const std::size_t linesBefore = lineStarts_.size();
    bytes_.insert(position, bytes);
    UpdateLineStarts(position, 0, bytes.size());
    for (std::size_t* at : {&selection_.anchor, &selection_.caret, &selection_.rectangleAnchor,
                            &selection_.rectangleCaret}) {
        *at = Moved(*at, position, 0, bytes.size());
    }
    selection_.start = std::min(selection_.anchor, selection_.caret);
    selection_.end = std::max(selection_.anchor, selection_.caret);
    const TextModification change {true, position, bytes.size(),
                                   static_cast<long long>(lineStarts_.size()) - static_cast<long long>(linesBefore),
                                   nullptr};
    Notify(change);
    return change;
}

TextModification FakeEditorModel::Delete(std::size_t position, std::size_t length) {
    position = std::min(position, bytes_.size());
    length = std::min(length, bytes_.size() - position);
    if (readOnly_ || length == 0) return {false, position, 0, 0, nullptr};
    const std::size_t linesBefore = lineStarts_.size();
    bytes_.erase(position, length);
    UpdateLineStarts(position, length, 0);
    for (std::size_t* at : {&selection_.anchor, &selection_.caret, &selection_.rectangleAnchor,
                            &selection_.rectangleCaret}) {
        *at = Moved(*at, position, length, 0);
    }
    selection_.start = std::min(selection_.anchor, selection_.caret);
    selection_.end = std::max(selection_.anchor, selection_.caret);
    const TextModification change {false, position, length,
                                   static_cast<long long>(lineStarts_.size()) - static_cast<long long>(linesBefore),
                                   nullptr};
    Notify(change);
    return change;
}

void FakeEditorModel::SetText(std::string_view bytes) {
    if (readOnly_) return;
    Delete(0, bytes_.size());
    Insert(0, bytes);
    SetSelection(0, 0);
}

void FakeEditorModel::ReplaceSelection(std::string_view bytes) {
    if (readOnly_) return;
    const std::size_t start = selection_.start;
    Delete(start, selection_.end - start);
    Insert(start, bytes);
    SetSelection(start + bytes.size(), start + bytes.size());
}

void FakeEditorModel::ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) {
    SetSelection(start, end);
    ReplaceSelection(bytes);
}

void FakeEditorModel::SetSelection(std::size_t anchor, std::size_t caret) {
    selection_ = {};
    selection_.anchor = std::min(anchor, bytes_.size());
    selection_.caret = std::min(caret, bytes_.size());
    selection_.start = std::min(selection_.anchor, selection_.caret);
    selection_.end = std::max(selection_.anchor, selection_.caret);
}

void FakeEditorModel::SetRectangularSelection(const EditorSelection& selection) {
    selection_ = {};
    selection_.mode = selection.mode;
    selection_.rectangleAnchor = std::min(selection.rectangleAnchor, bytes_.size());
    selection_.rectangleCaret = std::min(selection.rectangleCaret, bytes_.size());
    selection_.anchorVirtualSpace = selection.anchorVirtualSpace;
    selection_.caretVirtualSpace = selection.caretVirtualSpace;
    selection_.anchor = selection_.rectangleAnchor;
    selection_.caret = selection_.rectangleCaret;
    selection_.start = std::min(selection_.anchor, selection_.caret);
    selection_.end = std::max(selection_.anchor, selection_.caret);
    selection_.count = LineFromPosition(selection_.end) - LineFromPosition(selection_.start) + 1;
}

void FakeEditorModel::SelectRectangle(std::size_t anchor, std::size_t caret) {
    EditorSelection rectangle;
    rectangle.mode = SelectionMode::Rectangle;
    rectangle.rectangleAnchor = anchor;
    rectangle.rectangleCaret = caret;
    SetRectangularSelection(rectangle);
}

void FakeEditorModel::TypeText(std::string_view bytes) {
    if (readOnly_) return;
    if (!IsRectangular(selection_.mode)) {
        ReplaceSelection(bytes);
        return;
    }
    // Every line of the rectangle gets the text at the caret's column (or its
    // end when shorter), bottom line first so the positions above stay put.
    const std::size_t anchorLine = LineFromPosition(selection_.rectangleAnchor);
    const std::size_t caretLine = LineFromPosition(selection_.rectangleCaret);
    const std::size_t column = selection_.rectangleCaret - PositionFromLine(caretLine);
    const std::size_t first = std::min(anchorLine, caretLine);
    const std::size_t last = std::max(anchorLine, caretLine);
    std::vector<std::size_t> columns(last - first + 1);
    for (std::size_t line = last + 1; line-- > first;) {
        const std::size_t lineStart = PositionFromLine(line);
        std::size_t lineEnd = line + 1 < LineCount() ? PositionFromLine(line + 1) : bytes_.size();
        while (lineEnd > lineStart && (bytes_[lineEnd - 1] == '\r' || bytes_[lineEnd - 1] == '\n')) --lineEnd;
        columns[line - first] = std::min(column, lineEnd - lineStart);
        Insert(lineStart + columns[line - first], bytes);
    }
    EditorSelection thin;
    thin.mode = SelectionMode::Thin;
    thin.rectangleAnchor = PositionFromLine(anchorLine) + columns[anchorLine - first] + bytes.size();
    thin.rectangleCaret = PositionFromLine(caretLine) + columns[caretLine - first] + bytes.size();
    SetRectangularSelection(thin);
}

std::size_t FakeEditorModel::LineFromPosition(std::size_t position) const {
    position = std::min(position, bytes_.size());
    return static_cast<std::size_t>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position) -
                                    lineStarts_.begin()) -
           1;
}

std::size_t FakeEditorModel::PositionFromLine(std::size_t line) const {
    return line < lineStarts_.size() ? lineStarts_[line] : bytes_.size();
}

void FakeEditorModel::SetFirstVisibleLine(std::size_t displayLine) {
    view_.firstVisibleLine = std::min(displayLine, LineCount() - 1);
}

void FakeEditorModel::ScrollCaret() {
    const std::size_t line = LineFromPosition(selection_.caret);
    if (line < view_.firstVisibleLine) {
        view_.firstVisibleLine = line;
    } else if (view_.linesOnScreen > 0 && line >= view_.firstVisibleLine + view_.linesOnScreen) {
        view_.firstVisibleLine = line + 1 - view_.linesOnScreen;
    }
}

void FakeEditorModel::SetRedraw(bool on) {
    redrawOn_ = on;
}

FakeEditorSession::FakeEditorSession(std::string_view utf8) : editor(utf8) {
    editor.SetListener([this](const TextModification& change) {
        OnComponentModified(Context(), change);
        OnDocumentChanged(Context());
    });
    ResetHistory(Context());
}

void FakeEditorSession::Type(std::string_view utf8) {
    std::size_t at = 0;
    while (at < utf8.size()) {
        std::size_t length = 1;
        while (at + length < utf8.size() && (static_cast<unsigned char>(utf8[at + length]) & 0xC0) == 0x80) ++length;
        CaptureBeforeUserEdit(Context());
        editor.TypeText(utf8.substr(at, length));
        at += length;
    }
}

}  // namespace quillpane::testing

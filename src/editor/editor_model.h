// The small editor interface the text adapter and the edit history work
// against: the component's bytes, selection, lines and view. The program
// implements it over Scintilla; the tests over an in-memory document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillpane {

// The component's selection modes (SCI_GETSELECTIONMODE values).
enum class SelectionMode : int { Stream = 0, Rectangle = 1, Lines = 2, Thin = 3 };

[[nodiscard]] constexpr bool IsRectangular(SelectionMode mode) {
    return mode == SelectionMode::Rectangle || mode == SelectionMode::Thin;
}

// The component's selection in byte positions.
struct EditorSelection {
    std::size_t anchor = 0;
    std::size_t caret = 0;
    std::size_t start = 0;  // lower end of the selection (SCI_GETSELECTIONSTART)
    std::size_t end = 0;    // upper end (SCI_GETSELECTIONEND)
    SelectionMode mode = SelectionMode::Stream;
    std::size_t rectangleAnchor = 0;
    std::size_t rectangleCaret = 0;
    std::size_t anchorVirtualSpace = 0;
    std::size_t caretVirtualSpace = 0;
    std::size_t count = 1;  // number of selected ranges
    bool operator==(const EditorSelection&) const = default;
};

// One insertion or deletion as the component reports it after the fact.
struct TextModification {
    bool insertion = true;
    std::size_t position = 0;  // bytes
    std::size_t length = 0;    // bytes inserted or deleted
    long long linesAdded = 0;  // negative when lines were removed
    // The inserted bytes when the component hands them over; otherwise the
    // adapter reads them from the component.
    const char* insertedBytes = nullptr;
};

struct EditorView {
    std::size_t firstVisibleLine = 0;  // a display line
    int xOffset = 0;
    std::size_t linesOnScreen = 0;
};

class EditorModel {
public:
    virtual ~EditorModel() = default;

    // Identifies the window the text belongs to; caches are per window.
    [[nodiscard]] virtual const void* Identity() const = 0;

    [[nodiscard]] virtual std::size_t ByteLength() const = 0;
    [[nodiscard]] virtual std::string ReadBytes() const = 0;
    // Bytes [start, end), both within the text.
    [[nodiscard]] virtual std::string ReadByteRange(std::size_t start, std::size_t end) const = 0;
    [[nodiscard]] virtual bool IsReadOnly() const = 0;

    // Replaces the whole text (WM_SETTEXT).
    virtual void SetText(std::string_view bytes) = 0;
    // Replaces the selection (EM_REPLACESEL).
    virtual void ReplaceSelection(std::string_view bytes) = 0;
    // Replaces [start, end) through a stream selection; the caret ends after
    // the inserted bytes. Not recorded by the component.
    virtual void ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) = 0;

    [[nodiscard]] virtual EditorSelection GetSelection() const = 0;
    // A single stream selection.
    virtual void SetSelection(std::size_t anchor, std::size_t caret) = 0;
    // The rectangle of selection (its mode, Rectangle or Thin, included).
    virtual void SetRectangularSelection(const EditorSelection& selection) = 0;

    [[nodiscard]] virtual std::size_t LineCount() const = 0;
    [[nodiscard]] virtual std::size_t LineFromPosition(std::size_t position) const = 0;
    [[nodiscard]] virtual std::size_t PositionFromLine(std::size_t line) const = 0;

    [[nodiscard]] virtual EditorView GetView() const = 0;
    [[nodiscard]] virtual std::size_t DisplayLineFromLine(std::size_t line) const = 0;
    virtual void SetFirstVisibleLine(std::size_t displayLine) = 0;
    virtual void SetXOffset(int xOffset) = 0;
    virtual void ScrollCaret() = 0;
    // Off while the history rewrites the text; on again repaints at once.
    virtual void SetRedraw(bool on) = 0;

    // The input method holds a composition string.
    [[nodiscard]] virtual bool HasCompositionString() const = 0;

    // The history changed the changed-line marks or the line count.
    virtual void RefreshLineNumbers() = 0;
    // The caret moved under the program's control (caret style, cues).
    virtual void ReapplyCaretLook() = 0;
};

}  // namespace quillpane

// An in-memory stand-in for the editing component (UTF-8 text, selection,
// lines, view) that reports each insertion and deletion as the component's
// SCN_MODIFIED does, and a session wiring it to the adapter and the history
// the way the panel does.
#pragma once

#include "editor/edit_history.h"
#include "editor/editor_model.h"
#include "editor/text_adapter.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane::testing {

class FakeEditorModel : public EditorModel {
public:
    using Listener = std::function<void(const TextModification&)>;

    explicit FakeEditorModel(std::string_view bytes = {});

    // Called after every insertion and deletion.
    void SetListener(Listener listener) { listener_ = std::move(listener); }

    [[nodiscard]] const void* Identity() const override { return this; }
    [[nodiscard]] std::size_t ByteLength() const override { return bytes_.size(); }
    [[nodiscard]] std::string ReadBytes() const override {
        ++wholeReads;
        return bytes_;
    }
    [[nodiscard]] std::string ReadByteRange(std::size_t start, std::size_t end) const override;
    [[nodiscard]] bool IsReadOnly() const override { return readOnly_; }
    void SetText(std::string_view bytes) override;
    void ReplaceSelection(std::string_view bytes) override;
    void ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) override;
    [[nodiscard]] EditorSelection GetSelection() const override { return selection_; }
    void SetSelection(std::size_t anchor, std::size_t caret) override;
    void SetRectangularSelection(const EditorSelection& selection) override;
    [[nodiscard]] std::size_t LineCount() const override { return lineStarts_.size(); }
    [[nodiscard]] std::size_t LineFromPosition(std::size_t position) const override;
    [[nodiscard]] std::size_t PositionFromLine(std::size_t line) const override;
    [[nodiscard]] EditorView GetView() const override { return view_; }
    [[nodiscard]] std::size_t DisplayLineFromLine(std::size_t line) const override { return line; }
    void SetFirstVisibleLine(std::size_t displayLine) override;
    void SetXOffset(int xOffset) override { view_.xOffset = xOffset; }
    void ScrollCaret() override;
    void SetRedraw(bool on) override;
    [[nodiscard]] bool HasCompositionString() const override { return composing_; }
    void RefreshLineNumbers() override { ++lineNumberRefreshes; }
    void ReapplyCaretLook() override { ++caretLooks; }

    // The component's own editing, as the user drives it.
    // Types over the selection; into every line of a rectangular selection,
    // which then becomes a thin one after the typed text.
    void TypeText(std::string_view bytes);
    // Raw changes; both return what the component would report.
    TextModification Insert(std::size_t position, std::string_view bytes);
    TextModification Delete(std::size_t position, std::size_t length);
    // A rectangle from anchor to caret (byte positions on their lines).
    void SelectRectangle(std::size_t anchor, std::size_t caret);
    void SetComposing(bool composing) { composing_ = composing; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    void SetLinesOnScreen(std::size_t lines) { view_.linesOnScreen = lines; }

    [[nodiscard]] const std::string& Bytes() const { return bytes_; }
    [[nodiscard]] bool RedrawOn() const { return redrawOn_; }

    mutable int wholeReads = 0;
    int lineNumberRefreshes = 0;
    int caretLooks = 0;

private:
    void UpdateLineStarts(std::size_t position, std::size_t removed, std::size_t inserted);
    void Notify(const TextModification& change);

    std::string bytes_;
    std::vector<std::size_t> lineStarts_ {0};
    EditorSelection selection_;
    EditorView view_ {0, 0, 10};
    bool readOnly_ = false;
    bool composing_ = false;
    bool redrawOn_ = true;
    Listener listener_;
};

// The editor, the adapter and the history wired as the panel wires them:
// every reported change goes to OnComponentModified and then
// OnDocumentChanged.
class FakeEditorSession {
public:
    explicit FakeEditorSession(std::string_view utf8 = {});
    FakeEditorSession(const FakeEditorSession&) = delete;
    FakeEditorSession& operator=(const FakeEditorSession&) = delete;

    [[nodiscard]] EditContext Context() { return {history, adapter, editor}; }

    // Typing one character at a time, each a user action.
    void Type(std::string_view utf8);
    [[nodiscard]] const std::string& Bytes() const { return editor.Bytes(); }
    [[nodiscard]] std::size_t Caret() const { return editor.GetSelection().caret; }

    FakeEditorModel editor;
    TextAdapter adapter;
    EditHistory history;
};

}  // namespace quillpane::testing

// The editor interface of the text adapter and the edit history, implemented
// over a Scintilla window with its documented messages.
#pragma once

#include <windows.h>

#include "editor/editor_model.h"

#include <Scintilla.h>
#include <ScintillaTypes.h>
#include <ScintillaMessages.h>
#include <ScintillaCall.h>

#include <functional>
#include <optional>

struct SCNotification;

namespace quillpane {

// What the history asks of the editor's look (line-number margin, caret
// style, cues); owned with the history, set by whoever draws the editor.
struct EditorViewHooks {
    std::function<void()> refreshLineNumbers;
    // The component moved margin texts: linesAdded lines after `line`.
    std::function<void(long long line, long long linesAdded)> linesShifted;
    // Every margin text is gone (a new text was loaded): nothing to clear.
    std::function<void()> marginTextsCleared;
    std::function<void()> reapplyCaretLook;
};

// Kept for the life of the text state; bound to each new editor window.
class ScintillaModel final : public EditorModel {
public:
    explicit ScintillaModel(const EditorViewHooks* hooks = nullptr) : hooks_(hooks) {}
    ScintillaModel(const ScintillaModel&) = delete;
    ScintillaModel& operator=(const ScintillaModel&) = delete;

    // The window and its call object (owned by the editor record).
    void Bind(HWND editor, Scintilla::ScintillaCall* call) {
        editor_ = editor;
        call_ = call;
        redrawSuspended_ = false;
    }
    [[nodiscard]] HWND Window() const { return editor_; }
    [[nodiscard]] Scintilla::ScintillaCall& Sci() const { return *call_; }

    [[nodiscard]] const void* Identity() const override { return editor_; }
    [[nodiscard]] std::size_t ByteLength() const override;
    [[nodiscard]] std::string ReadBytes() const override;
    [[nodiscard]] std::string ReadByteRange(std::size_t start, std::size_t end) const override;
    [[nodiscard]] bool IsReadOnly() const override;
    void SetText(std::string_view bytes) override;
    void ReplaceSelection(std::string_view bytes) override;
    void ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) override;
    [[nodiscard]] EditorSelection GetSelection() const override;
    void SetSelection(std::size_t anchor, std::size_t caret) override;
    void SetRectangularSelection(const EditorSelection& selection) override;
    [[nodiscard]] std::size_t LineCount() const override;
    [[nodiscard]] std::size_t LineFromPosition(std::size_t position) const override;
    [[nodiscard]] std::size_t PositionFromLine(std::size_t line) const override;
    [[nodiscard]] EditorView GetView() const override;
    [[nodiscard]] std::size_t DisplayLineFromLine(std::size_t line) const override;
    void SetFirstVisibleLine(std::size_t displayLine) override;
    void SetXOffset(int xOffset) override;
    void ScrollCaret() override;
    void SetRedraw(bool on) override;
    [[nodiscard]] bool HasCompositionString() const override;
    void RefreshLineNumbers() override;
    void ReapplyCaretLook() override;

private:
    HWND editor_ = nullptr;
    const EditorViewHooks* hooks_;
    Scintilla::ScintillaCall* call_ = nullptr;
    bool redrawSuspended_ = false;
};

// The insertion or deletion an SCN_MODIFIED notification reports; nothing
// for the component's other modification notices.
[[nodiscard]] std::optional<TextModification> TextModificationOf(const SCNotification& notification);

}  // namespace quillpane

// The editor interface of the text adapter and the edit history, implemented
// over a Scintilla window with its documented messages.
#include "editor/scintilla_model_win.h"

#include <imm.h>

#include <Scintilla.h>

#include <string>

namespace quillpane {
namespace {

std::size_t ToSize(std::intptr_t value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

}  // namespace

std::size_t ScintillaModel::ByteLength() const {
    return ToSize(call_->Length());
}

std::string ScintillaModel::ReadBytes() const {
    const std::size_t length = ByteLength();
    std::string bytes(length + 1, '\0');
    call_->GetText(static_cast<Scintilla::Position>(length + 1), bytes.data());
    bytes.resize(length);
    return bytes;
}

std::string ScintillaModel::ReadByteRange(std::size_t start, std::size_t end) const {
    if (end <= start) return {};
    std::string bytes(end - start + 1, '\0');
    Sci_TextRangeFull range {};
    range.chrg.cpMin = static_cast<Sci_Position>(start);
    range.chrg.cpMax = static_cast<Sci_Position>(end);
    range.lpstrText = bytes.data();
    bytes.resize(ToSize(call_->GetTextRangeFull(&range)));
    return bytes;
}

bool ScintillaModel::IsReadOnly() const {
    return call_->ReadOnly();
}

void ScintillaModel::SetText(std::string_view bytes) {
    const std::string text(bytes);
    call_->SetText(text.c_str());
}

void ScintillaModel::ReplaceSelection(std::string_view bytes) {
    const std::string text(bytes);
    call_->ReplaceSel(text.c_str());
}

void ScintillaModel::ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) {
    // SetSel leaves a single stream selection. The replacement goes through
    // the target with an explicit length, so NUL characters in the memo
    // survive an undo (ReplaceSel stops at the first NUL).
    const auto from = static_cast<Scintilla::Position>(start);
    const auto to = static_cast<Scintilla::Position>(end);
    call_->SetSel(from, to);
    call_->SetTargetRange(from, to);
    call_->ReplaceTarget(static_cast<Scintilla::Position>(bytes.size()), bytes.data());
    const auto caret = static_cast<Scintilla::Position>(start + bytes.size());
    call_->SetSel(caret, caret);
}

EditorSelection ScintillaModel::GetSelection() const {
    Scintilla::ScintillaCall& sci = *call_;
    EditorSelection selection;
    selection.anchor = ToSize(sci.Anchor());
    selection.caret = ToSize(sci.CurrentPos());
    selection.start = ToSize(sci.SelectionStart());
    selection.end = ToSize(sci.SelectionEnd());
    selection.mode = static_cast<SelectionMode>(sci.SelectionMode());
    selection.rectangleAnchor = ToSize(sci.RectangularSelectionAnchor());
    selection.rectangleCaret = ToSize(sci.RectangularSelectionCaret());
    selection.anchorVirtualSpace = ToSize(sci.RectangularSelectionAnchorVirtualSpace());
    selection.caretVirtualSpace = ToSize(sci.RectangularSelectionCaretVirtualSpace());
    selection.count = ToSize(sci.Selections());
    return selection;
}

void ScintillaModel::SetSelection(std::size_t anchor, std::size_t caret) {
    call_->SetSel(static_cast<Scintilla::Position>(anchor), static_cast<Scintilla::Position>(caret));
}

void ScintillaModel::SetRectangularSelection(const EditorSelection& selection) {
    Scintilla::ScintillaCall& sci = *call_;
    sci.SetRectangularSelectionAnchor(static_cast<Scintilla::Position>(selection.rectangleAnchor));
    sci.SetRectangularSelectionAnchorVirtualSpace(static_cast<Scintilla::Position>(selection.anchorVirtualSpace));
    sci.SetRectangularSelectionCaret(static_cast<Scintilla::Position>(selection.rectangleCaret));
    sci.SetRectangularSelectionCaretVirtualSpace(static_cast<Scintilla::Position>(selection.caretVirtualSpace));
    if (selection.mode == SelectionMode::Thin) {
        // Setting a mode also makes caret moves extend the selection;
        // Cancel ends that and keeps the (rectangular) selection.
        sci.SetSelectionMode(Scintilla::SelectionMode::Thin);
        sci.Cancel();
    }
}

std::size_t ScintillaModel::LineCount() const {
    return ToSize(call_->LineCount());
}

std::size_t ScintillaModel::LineFromPosition(std::size_t position) const {
    return ToSize(call_->LineFromPosition(static_cast<Scintilla::Position>(position)));
}

std::size_t ScintillaModel::PositionFromLine(std::size_t line) const {
    const Scintilla::Position position = call_->LineStart(static_cast<Scintilla::Line>(line));
    return position < 0 ? ByteLength() : static_cast<std::size_t>(position);
}

EditorView ScintillaModel::GetView() const {
    return {ToSize(call_->FirstVisibleLine()), call_->XOffset(), ToSize(call_->LinesOnScreen())};
}

std::size_t ScintillaModel::DisplayLineFromLine(std::size_t line) const {
    return ToSize(call_->VisibleFromDocLine(static_cast<Scintilla::Line>(line)));
}

void ScintillaModel::SetFirstVisibleLine(std::size_t displayLine) {
    call_->SetFirstVisibleLine(static_cast<Scintilla::Line>(displayLine));
}

void ScintillaModel::SetXOffset(int xOffset) {
    call_->SetXOffset(xOffset);
}

void ScintillaModel::ScrollCaret() {
    call_->ScrollCaret();
}

void ScintillaModel::SetRedraw(bool on) {
    // WM_SETREDRAW works through the WS_VISIBLE bit: only a window that is
    // shown is switched off, and only what was switched off is switched on.
    if (!on) {
        if (redrawSuspended_ || !::IsWindowVisible(editor_)) return;
        ::SendMessageW(editor_, WM_SETREDRAW, FALSE, 0);
        redrawSuspended_ = true;
    } else if (redrawSuspended_) {
        ::SendMessageW(editor_, WM_SETREDRAW, TRUE, 0);
        redrawSuspended_ = false;
        ::RedrawWindow(editor_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

bool ScintillaModel::HasCompositionString() const {
    HIMC context = ::ImmGetContext(editor_);
    if (context == nullptr) return false;
    const LONG bytes = ::ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    ::ImmReleaseContext(editor_, context);
    return bytes > 0;
}

void ScintillaModel::RefreshLineNumbers() {
    if (hooks_ != nullptr && hooks_->refreshLineNumbers) hooks_->refreshLineNumbers();
}

void ScintillaModel::ReapplyCaretLook() {
    if (hooks_ != nullptr && hooks_->reapplyCaretLook) hooks_->reapplyCaretLook();
}

std::optional<TextModification> TextModificationOf(const SCNotification& notification) {
    const bool insertion = (notification.modificationType & SC_MOD_INSERTTEXT) != 0;
    const bool deletion = (notification.modificationType & SC_MOD_DELETETEXT) != 0;
    if (!insertion && !deletion) return std::nullopt;
    TextModification change;
    change.insertion = insertion;
    change.position = ToSize(notification.position);
    change.length = ToSize(notification.length);
    change.linesAdded = static_cast<long long>(notification.linesAdded);
    change.insertedBytes = insertion ? notification.text : nullptr;
    return change;
}

}  // namespace quillpane

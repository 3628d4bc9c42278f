// The editor interface of the text adapter and the edit history, implemented
// over a Scintilla window with its documented messages.
#include "editor/scintilla_model_win.h"

#include <imm.h>

#include <Scintilla.h>

#include <string>

namespace quillpane {
namespace {

std::size_t ToSize(LRESULT value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

}  // namespace

LRESULT ScintillaModel::Call(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (call_ == nullptr || !call_->IsValid()) return ::SendMessageW(editor_, message, wParam, lParam);
    try {
        return call_->Call(static_cast<Scintilla::Message>(message), wParam, lParam);
    } catch (const Scintilla::Failure&) {
        // Out of memory in the component: answered as nothing done.
        return 0;
    }
}

std::size_t ScintillaModel::ByteLength() const {
    return ToSize(Call(SCI_GETLENGTH));
}

std::string ScintillaModel::ReadBytes() const {
    const std::size_t length = ByteLength();
    std::string bytes(length + 1, '\0');
    Call(SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(bytes.data()));
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
    bytes.resize(ToSize(Call(SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<LPARAM>(&range))));
    return bytes;
}

bool ScintillaModel::IsReadOnly() const {
    return Call(SCI_GETREADONLY) != 0;
}

void ScintillaModel::SetText(std::string_view bytes) {
    const std::string text(bytes);
    Call(SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ScintillaModel::ReplaceSelection(std::string_view bytes) {
    const std::string text(bytes);
    Call(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ScintillaModel::ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) {
    // SCI_SETSEL leaves a single stream selection. The replacement goes
    // through the target with an explicit length, so NUL characters in the
    // memo survive an undo (SCI_REPLACESEL stops at the first NUL).
    Call(SCI_SETSEL, start, static_cast<LPARAM>(end));
    Call(SCI_SETTARGETRANGE, start, static_cast<LPARAM>(end));
    Call(SCI_REPLACETARGET, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
    const std::size_t caret = start + bytes.size();
    Call(SCI_SETSEL, caret, static_cast<LPARAM>(caret));
}

EditorSelection ScintillaModel::GetSelection() const {
    EditorSelection selection;
    selection.anchor = ToSize(Call(SCI_GETANCHOR));
    selection.caret = ToSize(Call(SCI_GETCURRENTPOS));
    selection.start = ToSize(Call(SCI_GETSELECTIONSTART));
    selection.end = ToSize(Call(SCI_GETSELECTIONEND));
    selection.mode = static_cast<SelectionMode>(Call(SCI_GETSELECTIONMODE));
    selection.rectangleAnchor = ToSize(Call(SCI_GETRECTANGULARSELECTIONANCHOR));
    selection.rectangleCaret = ToSize(Call(SCI_GETRECTANGULARSELECTIONCARET));
    selection.anchorVirtualSpace = ToSize(Call(SCI_GETRECTANGULARSELECTIONANCHORVIRTUALSPACE));
    selection.caretVirtualSpace = ToSize(Call(SCI_GETRECTANGULARSELECTIONCARETVIRTUALSPACE));
    selection.count = ToSize(Call(SCI_GETSELECTIONS));
    return selection;
}

void ScintillaModel::SetSelection(std::size_t anchor, std::size_t caret) {
    Call(SCI_SETSEL, anchor, static_cast<LPARAM>(caret));
}

void ScintillaModel::SetRectangularSelection(const EditorSelection& selection) {
    Call(SCI_SETRECTANGULARSELECTIONANCHOR, selection.rectangleAnchor);
    Call(SCI_SETRECTANGULARSELECTIONANCHORVIRTUALSPACE, selection.anchorVirtualSpace);
    Call(SCI_SETRECTANGULARSELECTIONCARET, selection.rectangleCaret);
    Call(SCI_SETRECTANGULARSELECTIONCARETVIRTUALSPACE, selection.caretVirtualSpace);
    if (selection.mode == SelectionMode::Thin) {
        // Setting a mode also makes caret moves extend the selection;
        // SCI_CANCEL ends that and keeps the (rectangular) selection.
        Call(SCI_SETSELECTIONMODE, SC_SEL_THIN);
        Call(SCI_CANCEL);
    }
}

std::size_t ScintillaModel::LineCount() const {
    return ToSize(Call(SCI_GETLINECOUNT));
}

std::size_t ScintillaModel::LineFromPosition(std::size_t position) const {
    return ToSize(Call(SCI_LINEFROMPOSITION, position));
}

std::size_t ScintillaModel::PositionFromLine(std::size_t line) const {
    const LRESULT position = Call(SCI_POSITIONFROMLINE, line);
    return position < 0 ? ByteLength() : static_cast<std::size_t>(position);
}

EditorView ScintillaModel::GetView() const {
    return {ToSize(Call(SCI_GETFIRSTVISIBLELINE)), static_cast<int>(Call(SCI_GETXOFFSET)),
            ToSize(Call(SCI_LINESONSCREEN))};
}

std::size_t ScintillaModel::DisplayLineFromLine(std::size_t line) const {
    return ToSize(Call(SCI_VISIBLEFROMDOCLINE, line));
}

void ScintillaModel::SetFirstVisibleLine(std::size_t displayLine) {
    Call(SCI_SETFIRSTVISIBLELINE, displayLine);
}

void ScintillaModel::SetXOffset(int xOffset) {
    Call(SCI_SETXOFFSET, static_cast<WPARAM>(xOffset));
}

void ScintillaModel::ScrollCaret() {
    Call(SCI_SCROLLCARET);
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

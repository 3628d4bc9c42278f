// The editor's key table, character filter and arrow line-crossing rule.
#include "editor/editor_keys.h"

#include <algorithm>
#include <optional>

namespace quillpane {
namespace {

KeyAction Post(unsigned message, std::intptr_t wParam = 0) {
    KeyAction action;
    action.kind = KeyActionKind::PostToPanel;
    action.id = message;
    action.wParam = wParam;
    return action;
}

KeyAction Command(unsigned id) {
    KeyAction action;
    action.kind = KeyActionKind::CommandToPanel;
    action.id = id;
    return action;
}

KeyAction Run(LineCommand command) {
    KeyAction action;
    action.kind = KeyActionKind::RunLineCommand;
    action.lineCommand = command;
    return action;
}

KeyAction Kind(KeyActionKind kind, bool toEnd = false, bool extend = false) {
    KeyAction action;
    action.kind = kind;
    action.toEnd = toEnd;
    action.extend = extend;
    return action;
}

KeyAction Component(ComponentCommand command) {
    KeyAction action;
    action.kind = KeyActionKind::RunComponentCommand;
    action.componentCommand = command;
    return action;
}

constexpr KeyAction kPass {};

bool IsLetter(unsigned key, char letter) { return key == static_cast<unsigned>(letter); }

// Rows that apply to WM_SYSKEYDOWN as well as WM_KEYDOWN: Alt without Ctrl.
std::optional<KeyAction> MapAltKey(const KeyEvent& e) {
    if (!e.alt || e.ctrl || e.composing) return std::nullopt;
    if (e.key == kVkBack) return Command(e.shift ? IDM_REDO : IDM_UNDO);
    if (e.shift) {
        switch (e.key) {
        case kVkUp: return Component(ComponentCommand::LineUpRectExtend);
        case kVkDown: return Component(ComponentCommand::LineDownRectExtend);
        case kVkLeft: return Component(ComponentCommand::CharLeftRectExtend);
        case kVkRight: return Component(ComponentCommand::CharRightRectExtend);
        case kVkHome: return Component(ComponentCommand::HomeRectExtend);
        case kVkEnd: return Component(ComponentCommand::LineEndRectExtend);
        case kVkPrior: return Component(ComponentCommand::PageUpRectExtend);
        case kVkNext: return Component(ComponentCommand::PageDownRectExtend);
        default: return std::nullopt;
        }
    }
    if (IsLetter(e.key, 'T')) return Command(IDM_ALWAYSONTOP);
    if (IsLetter(e.key, 'P')) return Command(IDM_TRANSLUCENT);
    if (IsLetter(e.key, 'S')) return Command(IDM_MOREMENU);
    if (IsLetter(e.key, 'E')) return Command(IDM_OPENWITH);
    return std::nullopt;
}

// Ctrl with or without Shift, never Alt.
std::optional<KeyAction> MapCtrlKey(const KeyEvent& e) {
    if (!e.ctrl || e.alt) return std::nullopt;
    const bool quiet = !e.composing;
    switch (e.key) {
    case kVkBack:
        if (e.shift) return quiet ? std::optional(Command(IDM_LASTEDIT)) : std::nullopt;
        return Kind(KeyActionKind::DeleteWordLeft);
    case kVkDelete: return Kind(KeyActionKind::DeleteWordRight);
    case kVkOemPlus:
    case kVkAdd: return Post(PM_ZOOMSTEP, +1);
    case kVkOemMinus:
    case kVkSubtract: return Post(PM_ZOOMSTEP, -1);
    case '0':
    case kVkNumpad0: return Post(PM_ZOOMRESET);
    case 'S': return Post(PM_SAVENOW);
    case 'F': return Post(PM_FIND);
    case 'H': return Post(PM_REPLACE);
    case kVkF3: return Command(IDM_HIGHLIGHTWORD);
    case kVkHome: return Kind(KeyActionKind::CaretToDocumentEdge, false, e.shift);
    case kVkEnd: return Kind(KeyActionKind::CaretToDocumentEdge, true, e.shift);
    case kVkUp:
    case kVkDown:
        if (e.shift) return Run(e.key == kVkUp ? LineCommand::MoveLinesUp : LineCommand::MoveLinesDown);
        return Kind(KeyActionKind::ScrollKeepCaret, e.key == kVkDown);
    case kVkLeft:
    case kVkRight:
        if (e.shift) return Kind(KeyActionKind::WordMove, e.key == kVkRight, true);
        return Kind(KeyActionKind::CaretToLineEdge, e.key == kVkRight);
    default: break;
    }
    if (!quiet) return std::nullopt;
    switch (e.key) {
    case 'Z': return Command(e.shift ? IDM_REDO : IDM_UNDO);
    case 'Y': return Command(IDM_REDO);
    case 'G': return Post(PM_GOTOLINE);
    case 'D': return Run(e.shift ? LineCommand::DeleteLines : LineCommand::DuplicateLines);
    case 'A': return e.shift ? Command(IDM_SELECTNOTE) : Kind(KeyActionKind::SelectAll);
    default: break;
    }
    if (e.shift) {
        if (e.key == 'K') return Run(LineCommand::DeleteToLineEnd);
        return std::nullopt;
    }
    switch (e.key) {
    case 'B': return Post(PM_TOGGLESIDEBAR, 1);
    case 'L': return Post(PM_HEADINGLIST);
    case 'J': return Run(LineCommand::JoinLines);
    case kVkOem5:
        if (e.memoFold && !e.autoRepeat) return Kind(KeyActionKind::ToggleFoldAtSelection);
        // Never the component's word-part move: the key folds or does nothing.
        return Kind(KeyActionKind::Swallow);
    default: return std::nullopt;
    }
}

std::optional<KeyAction> MapOtherKey(const KeyEvent& e) {
    switch (e.key) {
    case kVkF2:
        if (!e.ctrl && !e.shift && !e.alt && !e.composing) return Command(IDM_DATETIMEMENU);
        break;
    case kVkF5:
    case kVkF6:
        if (!e.ctrl && !e.alt && !e.composing)
            return Command(e.key == kVkF5 ? IDM_INSERTDATETIME : IDM_INSERTMARKER);
        break;
    case kVkF3:
        if (!e.ctrl || e.alt) return Post(PM_FINDNEXT, e.shift ? 1 : 0);
        break;
    case kVkEscape:
        if (!e.composing) return Post(PM_ESCAPE);
        break;
    case kVkHome:
    case kVkEnd:
        if (!e.ctrl && !e.alt && e.wordWrap) {
            using enum ComponentCommand;
            if (e.key == kVkEnd) return Component(e.shift ? LineEndDisplayExtend : LineEndDisplay);
            return Component(e.shift ? HomeDisplayExtend : HomeDisplay);
        }
        break;
    case kVkLeft:
    case kVkRight:
        // Ctrl+Alt with or without Shift: a word move, extending with Shift.
        if (e.ctrl && e.alt) return Kind(KeyActionKind::WordMove, e.key == kVkRight, e.shift);
        if (!e.ctrl && !e.alt && e.noArrowLineCross)
            return Kind(KeyActionKind::ArrowLineCross, e.key == kVkRight, e.shift);
        break;
    default: break;
    }
    return std::nullopt;
}

}  // namespace

KeyAction MapEditorKey(const KeyEvent& e) {
    switch (e.message) {
    case KeyMessage::Char: return IsSwallowedChar(e.key, e.ctrl) ? Kind(KeyActionKind::Swallow) : kPass;
    case KeyMessage::SysChar:
        // The characters of the Alt shortcuts would only beep.
        switch (e.key) {
        case 'e': case 'E': case 'p': case 'P': case 's': case 'S': case 't': case 'T': case kVkBack:
            return Kind(KeyActionKind::Swallow);
        default: return kPass;
        }
    case KeyMessage::SysKeyDown: return MapAltKey(e).value_or(kPass);
    case KeyMessage::KeyDown: break;
    }
    if (auto action = MapAltKey(e)) return *action;
    if (auto action = MapCtrlKey(e)) return *action;
    if (auto action = MapOtherKey(e)) return *action;
    return kPass;
}

bool IsSwallowedChar(unsigned character, bool ctrl) {
    switch (character) {
    case 0x01: case 0x04: case 0x06: case 0x13: case 0x16: case 0x18: case 0x19: case 0x1A: case 0x1B: case 0x7F:
        return true;
    case 0x02: case 0x07: case 0x08: case 0x0A: case 0x0B: case 0x0C: case 0x1C:
        return ctrl;
    default: return false;
    }
}

bool ArrowStopsAtLineEdge(std::u16string_view text, Selection selection, bool right, bool shift) {
    if (!shift && !selection.Empty()) return false;
    const std::size_t caret = std::min(selection.caret, text.size());
    // Lines are found by their LF and the break is taken to be CR LF.
    const std::size_t lastLf = caret == 0 ? std::u16string_view::npos : text.rfind(u'\n', caret - 1);
    const std::size_t start = lastLf == std::u16string_view::npos ? 0 : lastLf + 1;
    const std::size_t nextLf = text.find(u'\n', caret);
    std::size_t end = text.size();
    if (nextLf != std::u16string_view::npos) end = nextLf > start ? nextLf - 1 : start;
    const std::u16string_view line = text.substr(start, end - start);
    if (line.find_first_not_of(u" \t") == std::u16string_view::npos) return false;
    if (right) return caret == end && end < text.size();
    return caret == start && start > 0;
}

CaptureStep CaptureStepFor(const KeyEvent& e) {
    if (e.message == KeyMessage::Char) return e.key == 0x03 ? CaptureStep::None : CaptureStep::Capture;
    if (e.message != KeyMessage::KeyDown) return CaptureStep::None;
    if (e.ctrl && (IsLetter(e.key, 'C') || e.key == kVkInsert)) return CaptureStep::None;
    if (!e.alt) {
        if (e.key == kVkBack || e.key == kVkTab || e.key == kVkReturn || e.key == kVkDelete)
            return CaptureStep::Capture;
        if (e.ctrl && (IsLetter(e.key, 'V') || IsLetter(e.key, 'X'))) return CaptureStep::Capture;
    }
    return CaptureStep::End;
}

bool IsCompoundEditKey(const KeyEvent& e, bool multiRange) {
    if (e.message == KeyMessage::Char) return multiRange && e.key >= 0x20 && e.key != 0x7F;
    if (e.message != KeyMessage::KeyDown || e.alt) return false;
    if (e.ctrl && (IsLetter(e.key, 'V') || IsLetter(e.key, 'X'))) return true;
    // The component's own text-changing keys (swap lines, case, delete line)
    // make several changes: recorded as one step each.
    if (e.ctrl && (IsLetter(e.key, 'T') || IsLetter(e.key, 'U'))) return true;
    if (e.ctrl && e.shift && IsLetter(e.key, 'L')) return true;
    if (e.shift && !e.ctrl && (e.key == kVkInsert || e.key == kVkDelete)) return true;
    return multiRange && !e.ctrl &&
           (e.key == kVkTab || e.key == kVkReturn || e.key == kVkBack || e.key == kVkDelete);
}

}  // namespace quillpane

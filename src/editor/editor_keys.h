// The editor's shortcut keys as a pure mapping from a key message to what the
// editor procedure does with it, plus the character filter and the arrow
// line-crossing rule.
#pragma once

#include "resources/messages.h"
#include "editor/line_commands.h"
#include "editor/text_types.h"

#include <cstdint>
#include <string_view>

namespace quillpane {

// Virtual keys the table uses (winuser.h values).
inline constexpr unsigned kVkBack = 0x08;
inline constexpr unsigned kVkTab = 0x09;
inline constexpr unsigned kVkReturn = 0x0D;
inline constexpr unsigned kVkEscape = 0x1B;
inline constexpr unsigned kVkPrior = 0x21;
inline constexpr unsigned kVkNext = 0x22;
inline constexpr unsigned kVkEnd = 0x23;
inline constexpr unsigned kVkHome = 0x24;
inline constexpr unsigned kVkLeft = 0x25;
inline constexpr unsigned kVkUp = 0x26;
inline constexpr unsigned kVkRight = 0x27;
inline constexpr unsigned kVkDown = 0x28;
inline constexpr unsigned kVkInsert = 0x2D;
inline constexpr unsigned kVkDelete = 0x2E;
inline constexpr unsigned kVkNumpad0 = 0x60;
inline constexpr unsigned kVkAdd = 0x6B;
inline constexpr unsigned kVkSubtract = 0x6D;
inline constexpr unsigned kVkF2 = 0x71;
inline constexpr unsigned kVkF3 = 0x72;
inline constexpr unsigned kVkF5 = 0x74;
inline constexpr unsigned kVkF6 = 0x75;
inline constexpr unsigned kVkOemPlus = 0xBB;
inline constexpr unsigned kVkOemMinus = 0xBD;
inline constexpr unsigned kVkOem5 = 0xDC;  // '\' on US layouts

// Editing-component commands the keys run; the values are Scintilla's SCI_
// numbers (the Win32 side can static_assert them against Scintilla.h).
enum class ComponentCommand : unsigned {
    None = 0,
    HomeDisplay = 2345,
    HomeDisplayExtend = 2346,
    LineEndDisplay = 2347,
    LineEndDisplayExtend = 2348,
    LineDownRectExtend = 2426,
    LineUpRectExtend = 2427,
    CharLeftRectExtend = 2428,
    CharRightRectExtend = 2429,
    HomeRectExtend = 2430,
    LineEndRectExtend = 2432,
    PageUpRectExtend = 2433,
    PageDownRectExtend = 2434,
};

enum class KeyMessage { KeyDown, SysKeyDown, SysChar, Char };

// One key message with everything the table's conditions read.
struct KeyEvent {
    KeyMessage message = KeyMessage::KeyDown;
    unsigned key = 0;  // virtual key; the character for SysChar and Char
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool composing = false;         // the input method is open and holds a composition
    bool autoRepeat = false;        // bit 30 of lParam
    bool noArrowLineCross = false;  // [Editor] NoArrowLineCross
    bool memoFold = false;          // [Editor] MemoFold
    bool wordWrap = false;          // [Editor] WordWrap is Wrap
};

enum class KeyActionKind {
    PassToComponent,        // not ours: the component handles it
    Swallow,                // consume, do nothing
    PostToPanel,            // PostMessageW(parent, id, wParam, 0)
    CommandToPanel,         // WM_COMMAND id to the parent, lParam 0
    RunLineCommand,         // lineCommand
    DeleteWordLeft,         // DeleteWordLeftRange, replaced by nothing
    DeleteWordRight,        // DeleteWordRightRange, replaced by nothing
    ToggleFoldAtSelection,  // fold of the memo at the selection start's line
    RunComponentCommand,    // componentCommand, then caret look (cues and label too)
    CaretToDocumentEdge,    // SetCaret(toEnd ? length : 0, extend)
    CaretToLineEdge,        // start or content end of LogicalLineAt(selection end); collapses
    WordMove,               // WordMove(text, selection, toEnd, extend)
    ScrollKeepCaret,        // scroll one line (down when toEnd), caret keeps its screen place
    ArrowLineCross,         // ArrowStopsAtLineEdge(text, selection, toEnd, extend) decides
    SelectAll,
};

struct KeyAction {
    KeyActionKind kind = KeyActionKind::PassToComponent;
    unsigned id = 0;           // PM_ message or IDM_ command
    std::intptr_t wParam = 0;  // for PostToPanel
    LineCommand lineCommand = LineCommand::DuplicateLines;
    ComponentCommand componentCommand = ComponentCommand::None;
    bool toEnd = false;   // right, end, down
    bool extend = false;  // Shift held: extend the selection
    bool operator==(const KeyAction&) const = default;
};

// The key table: what the editor procedure does with a key message before
// the component sees it.
[[nodiscard]] KeyAction MapEditorKey(const KeyEvent& event);

// WM_CHAR control characters of shortcuts, never inserted as text.
[[nodiscard]] bool IsSwallowedChar(unsigned character, bool ctrl);

// NoArrowLineCross: true when Left/Right (right selects Right) must be
// swallowed at the edge of a line instead of crossing to the next one.
[[nodiscard]] bool ArrowStopsAtLineEdge(std::u16string_view text, Selection selection, bool right, bool shift);

// What a key or character message does to the edit history's pending capture.
enum class CaptureStep { None, Capture, End };
[[nodiscard]] CaptureStep CaptureStepFor(const KeyEvent& event);

// Whether a key or character message is run as one compound edit: keys that
// edit while several ranges are selected (multiRange), and cut and paste keys
// always.
[[nodiscard]] bool IsCompoundEditKey(const KeyEvent& event, bool multiRange);

}  // namespace quillpane

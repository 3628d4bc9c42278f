// Editor keys: the key table, the character filter, the arrow line-crossing
// rule and the edit-history capture of keys.
#include "editor/editor_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

constexpr unsigned kC = 1, kS = 2, kA = 4, kComposing = 8, kRepeat = 16, kNoCross = 32, kFold = 64, kWrap = 128;

KeyEvent Key(unsigned key, unsigned flags = 0, KeyMessage message = KeyMessage::KeyDown) {
    KeyEvent e;
    e.message = message;
    e.key = key;
    e.ctrl = flags & kC;
    e.shift = flags & kS;
    e.alt = flags & kA;
    e.composing = flags & kComposing;
    e.autoRepeat = flags & kRepeat;
    e.noArrowLineCross = flags & kNoCross;
    e.memoFold = flags & kFold;
    e.wordWrap = flags & kWrap;
    return e;
}

KeyEvent SysKey(unsigned key, unsigned flags) { return Key(key, flags, KeyMessage::SysKeyDown); }

KeyAction Pass() { return {}; }

KeyAction Act(KeyActionKind kind, bool toEnd = false, bool extend = false) {
    KeyAction a;
    a.kind = kind;
    a.toEnd = toEnd;
    a.extend = extend;
    return a;
}

KeyAction Posted(unsigned message, std::intptr_t wParam = 0) {
    KeyAction a = Act(KeyActionKind::PostToPanel);
    a.id = message;
    a.wParam = wParam;
    return a;
}

KeyAction Cmd(unsigned id) {
    KeyAction a = Act(KeyActionKind::CommandToPanel);
    a.id = id;
    return a;
}

KeyAction Line(LineCommand command) {
    KeyAction a = Act(KeyActionKind::RunLineCommand);
    a.lineCommand = command;
    return a;
}

KeyAction Sci(ComponentCommand command) {
    KeyAction a = Act(KeyActionKind::RunComponentCommand);
    a.componentCommand = command;
    return a;
}

struct KeyCase {
    const char* name;
    KeyEvent event;
    KeyAction expected;
};

void ExpectRows(const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        const KeyAction got = MapEditorKey(c.event);
        EXPECT_EQ(got.kind, c.expected.kind) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(EditorKeys, PanelRequests) {
    ExpectRows({
        {"Esc", Key(kVkEscape), Posted(PM_ESCAPE)},
        {"Esc composing", Key(kVkEscape, kComposing), Pass()},
        {"Ctrl+F", Key('F', kC), Posted(PM_FIND)},
        {"Ctrl+F composing", Key('F', kC | kComposing), Posted(PM_FIND)},
        {"Ctrl+Alt+F", Key('F', kC | kA), Pass()},
        {"Ctrl+H", Key('H', kC | kS), Posted(PM_REPLACE)},
        {"F3", Key(kVkF3), Posted(PM_FINDNEXT, 0)},
        {"Shift+F3", Key(kVkF3, kS), Posted(PM_FINDNEXT, 1)},
        {"Ctrl+Alt+Shift+F3", Key(kVkF3, kC | kA | kS), Posted(PM_FINDNEXT, 1)},
        {"Ctrl+F3", Key(kVkF3, kC), Cmd(IDM_HIGHLIGHTWORD)},
        {"Ctrl+plus", Key(kVkOemPlus, kC | kS), Posted(PM_ZOOMSTEP, 1)},
        {"Ctrl+keypad plus", Key(kVkAdd, kC), Posted(PM_ZOOMSTEP, 1)},
        {"Ctrl+minus", Key(kVkOemMinus, kC), Posted(PM_ZOOMSTEP, -1)},
        {"Ctrl+keypad minus", Key(kVkSubtract, kC), Posted(PM_ZOOMSTEP, -1)},
        {"Ctrl+0", Key('0', kC), Posted(PM_ZOOMRESET)},
        {"Ctrl+keypad 0", Key(kVkNumpad0, kC), Posted(PM_ZOOMRESET)},
        {"Ctrl+Alt+0", Key('0', kC | kA), Pass()},
        {"Ctrl+S", Key('S', kC), Posted(PM_SAVENOW)},
        {"Ctrl+G", Key('G', kC | kS), Posted(PM_GOTOLINE)},
        {"Ctrl+B", Key('B', kC), Posted(PM_TOGGLESIDEBAR, 1)},
        {"Ctrl+Shift+B", Key('B', kC | kS), Pass()},
        {"Ctrl+L", Key('L', kC), Posted(PM_HEADINGLIST)},
        {"Ctrl+L composing", Key('L', kC | kComposing), Pass()},
    });
}

TEST(EditorKeys, Commands) {
    ExpectRows({
        {"Ctrl+Z", Key('Z', kC), Cmd(IDM_UNDO)},
        {"Ctrl+Shift+Z", Key('Z', kC | kS), Cmd(IDM_REDO)},
        {"Ctrl+Y", Key('Y', kC), Cmd(IDM_REDO)},
        {"Ctrl+Shift+Y", Key('Y', kC | kS), Cmd(IDM_REDO)},
        {"Ctrl+Z composing", Key('Z', kC | kComposing), Pass()},
        {"Alt+Backspace", SysKey(kVkBack, kA), Cmd(IDM_UNDO)},
        {"Alt+Shift+Backspace", SysKey(kVkBack, kA | kS), Cmd(IDM_REDO)},
        {"Alt+Backspace as keydown", Key(kVkBack, kA), Cmd(IDM_UNDO)},
        {"Ctrl+Shift+Backspace", Key(kVkBack, kC | kS), Cmd(IDM_LASTEDIT)},
        {"Ctrl+Shift+Backspace composing", Key(kVkBack, kC | kS | kComposing), Pass()},
        {"Alt+T", SysKey('T', kA), Cmd(IDM_ALWAYSONTOP)},
        {"Alt+T keydown", Key('T', kA), Cmd(IDM_ALWAYSONTOP)},
        {"Alt+P", SysKey('P', kA), Cmd(IDM_TRANSLUCENT)},
        {"Alt+S", SysKey('S', kA), Cmd(IDM_MOREMENU)},
        {"Alt+E", SysKey('E', kA), Cmd(IDM_OPENWITH)},
        {"Alt+Shift+T", SysKey('T', kA | kS), Pass()},
        {"Alt+T composing", SysKey('T', kA | kComposing), Pass()},
        {"F10 without Alt", SysKey(0x79, 0), Pass()},
        {"Alt+F3 as syskey", SysKey(kVkF3, kA), Pass()},
        {"F2", Key(kVkF2), Cmd(IDM_DATETIMEMENU)},
        {"Shift+F2", Key(kVkF2, kS), Pass()},
        {"F5", Key(kVkF5, kS), Cmd(IDM_INSERTDATETIME)},
        {"Ctrl+F5", Key(kVkF5, kC), Pass()},
        {"F6", Key(kVkF6), Cmd(IDM_INSERTMARKER)},
        {"F6 composing", Key(kVkF6, kComposing), Pass()},
        {"Ctrl+A", Key('A', kC), Act(KeyActionKind::SelectAll)},
        {"Ctrl+Shift+A", Key('A', kC | kS), Cmd(IDM_SELECTNOTE)},
    });
}

TEST(EditorKeys, LineAndWordCommands) {
    ExpectRows({
        {"Ctrl+D", Key('D', kC), Line(LineCommand::DuplicateLines)},
        {"Ctrl+Shift+D", Key('D', kC | kS), Line(LineCommand::DeleteLines)},
        {"Ctrl+D composing", Key('D', kC | kComposing), Pass()},
        {"Ctrl+J", Key('J', kC), Line(LineCommand::JoinLines)},
        {"Ctrl+Shift+J", Key('J', kC | kS), Pass()},
        {"Ctrl+Shift+K", Key('K', kC | kS), Line(LineCommand::DeleteToLineEnd)},
        {"Ctrl+K", Key('K', kC), Pass()},
        {"Ctrl+Shift+Up", Key(kVkUp, kC | kS), Line(LineCommand::MoveLinesUp)},
        {"Ctrl+Shift+Down", Key(kVkDown, kC | kS), Line(LineCommand::MoveLinesDown)},
        {"Ctrl+Backspace", Key(kVkBack, kC), Act(KeyActionKind::DeleteWordLeft)},
        {"Ctrl+Delete", Key(kVkDelete, kC), Act(KeyActionKind::DeleteWordRight)},
        {"Ctrl+Shift+Delete", Key(kVkDelete, kC | kS), Act(KeyActionKind::DeleteWordRight)},
        {"Ctrl+Alt+Delete", Key(kVkDelete, kC | kA), Pass()},
        {"Ctrl+\\ with fold", Key(kVkOem5, kC | kFold), Act(KeyActionKind::ToggleFoldAtSelection)},
        {"Ctrl+\\ without fold", Key(kVkOem5, kC), Act(KeyActionKind::Swallow)},
        {"Ctrl+\\ repeated", Key(kVkOem5, kC | kFold | kRepeat), Act(KeyActionKind::Swallow)},
        {"Ctrl+Shift+\\", Key(kVkOem5, kC | kS | kFold), Pass()},
    });
}

TEST(EditorKeys, CaretMoves) {
    ExpectRows({
        {"Ctrl+Home", Key(kVkHome, kC), Act(KeyActionKind::CaretToDocumentEdge, false, false)},
        {"Ctrl+Shift+End", Key(kVkEnd, kC | kS), Act(KeyActionKind::CaretToDocumentEdge, true, true)},
        {"Ctrl+Left", Key(kVkLeft, kC), Act(KeyActionKind::CaretToLineEdge, false)},
        {"Ctrl+Right", Key(kVkRight, kC), Act(KeyActionKind::CaretToLineEdge, true)},
        {"Ctrl+Shift+Left", Key(kVkLeft, kC | kS), Act(KeyActionKind::WordMove, false, true)},
        {"Ctrl+Alt+Right", Key(kVkRight, kC | kA), Act(KeyActionKind::WordMove, true, false)},
        {"Ctrl+Alt+Shift+Right", Key(kVkRight, kC | kA | kS), Act(KeyActionKind::WordMove, true, true)},
        {"Ctrl+Up", Key(kVkUp, kC), Act(KeyActionKind::ScrollKeepCaret, false)},
        {"Ctrl+Down", Key(kVkDown, kC), Act(KeyActionKind::ScrollKeepCaret, true)},
        {"Ctrl+Alt+Up", Key(kVkUp, kC | kA), Pass()},
        {"Home wrapped", Key(kVkHome, kWrap), Sci(ComponentCommand::HomeDisplay)},
        {"Shift+End wrapped", Key(kVkEnd, kS | kWrap), Sci(ComponentCommand::LineEndDisplayExtend)},
        {"Home unwrapped", Key(kVkHome), Pass()},
        {"Alt+Shift+Up", SysKey(kVkUp, kA | kS), Sci(ComponentCommand::LineUpRectExtend)},
        {"Alt+Shift+Right", SysKey(kVkRight, kA | kS), Sci(ComponentCommand::CharRightRectExtend)},
        {"Alt+Shift+Home", SysKey(kVkHome, kA | kS | kWrap), Sci(ComponentCommand::HomeRectExtend)},
        {"Alt+Shift+Page Down", SysKey(kVkNext, kA | kS), Sci(ComponentCommand::PageDownRectExtend)},
        {"Alt+Shift+Up composing", SysKey(kVkUp, kA | kS | kComposing), Pass()},
        {"Alt+Up", SysKey(kVkUp, kA), Pass()},
        {"Right with line guard", Key(kVkRight, kNoCross), Act(KeyActionKind::ArrowLineCross, true, false)},
        {"Shift+Left with line guard", Key(kVkLeft, kS | kNoCross), Act(KeyActionKind::ArrowLineCross, false, true)},
        {"Right without line guard", Key(kVkRight), Pass()},
        {"Plain letter", Key('Q'), Pass()},
    });
}

TEST(EditorKeys, CharactersOfShortcutsAreSwallowed) {
    for (unsigned c : {0x01u, 0x04u, 0x06u, 0x13u, 0x16u, 0x18u, 0x19u, 0x1Au, 0x1Bu, 0x7Fu}) {
        EXPECT_TRUE(IsSwallowedChar(c, false)) << c;
        EXPECT_EQ(MapEditorKey(Key(c, 0, KeyMessage::Char)).kind, KeyActionKind::Swallow) << c;
    }
    for (unsigned c : {0x02u, 0x07u, 0x08u, 0x0Au, 0x0Bu, 0x0Cu, 0x1Cu}) {
        EXPECT_TRUE(IsSwallowedChar(c, true)) << c;
        EXPECT_FALSE(IsSwallowedChar(c, false)) << c;  // Backspace, LF typed without Ctrl
    }
    for (unsigned c : {0x03u, 0x09u, 0x0Du, 0x20u, 0x41u, 0x3042u}) EXPECT_FALSE(IsSwallowedChar(c, true)) << c;

    for (unsigned c : {unsigned {'e'}, unsigned {'T'}, unsigned {'s'}, unsigned {'P'}, kVkBack}) {
        EXPECT_EQ(MapEditorKey(Key(c, kA, KeyMessage::SysChar)).kind, KeyActionKind::Swallow) << c;
    }
    EXPECT_EQ(MapEditorKey(Key('x', kA, KeyMessage::SysChar)).kind, KeyActionKind::PassToComponent);
}

struct ArrowCase {
    std::u16string_view text;
    Selection selection;
    bool right;
    bool shift;
    bool stops;
};

TEST(ArrowLineCross, StopsAtLineEdgesOfNonBlankLines) {
    const ArrowCase cases[] = {
        {u"abc\r\ndef", {3, 3}, true, false, true},
        {u"abc\r\ndef", {2, 2}, true, false, false},
        {u"abc\r\ndef", {5, 5}, false, false, true},
        {u"abc\r\ndef", {0, 0}, false, false, false},   // document start
        {u"abc\r\ndef", {8, 8}, true, false, false},    // document end
        {u"abc\r\ndef", {3, 3}, false, false, false},   // Left at the end moves inside
        {u"  \r\ndef", {2, 2}, true, false, false},     // a line of blanks is exempt
        {u"\r\ndef", {0, 0}, true, false, false},       // an empty line too
        {u"abc\r\ndef", {1, 3}, true, true, true},      // Shift with a selection is stopped
        {u"abc\r\ndef", {1, 3}, true, false, false},    // without Shift it collapses normally
        {u"abc\r\n\tx\r\n", {5, 5}, false, true, true},
    };
    for (const ArrowCase& c : cases) {
        EXPECT_EQ(ArrowStopsAtLineEdge(c.text, c.selection, c.right, c.shift), c.stops)
            << "caret " << c.selection.caret << (c.right ? " right" : " left");
    }
}

TEST(EditorKeys, HistoryCaptureAndCompoundEdits) {
    EXPECT_EQ(CaptureStepFor(Key('a', 0, KeyMessage::Char)), CaptureStep::Capture);
    EXPECT_EQ(CaptureStepFor(Key(0x03, kC, KeyMessage::Char)), CaptureStep::None);
    EXPECT_EQ(CaptureStepFor(Key(kVkBack)), CaptureStep::Capture);
    EXPECT_EQ(CaptureStepFor(Key(kVkReturn, kS)), CaptureStep::Capture);
    EXPECT_EQ(CaptureStepFor(Key('V', kC)), CaptureStep::Capture);
    EXPECT_EQ(CaptureStepFor(Key('V', kC | kA)), CaptureStep::End);
    EXPECT_EQ(CaptureStepFor(Key(kVkDelete, kC | kA)), CaptureStep::End);
    EXPECT_EQ(CaptureStepFor(Key('C', kC)), CaptureStep::None);
    EXPECT_EQ(CaptureStepFor(Key(kVkInsert, kC)), CaptureStep::None);
    EXPECT_EQ(CaptureStepFor(Key(kVkLeft)), CaptureStep::End);
    EXPECT_EQ(CaptureStepFor(SysKey(kVkBack, kA)), CaptureStep::None);

    EXPECT_TRUE(IsCompoundEditKey(Key('V', kC), false));
    // The component's swap-lines, case and delete-line keys change text in several steps.
    EXPECT_TRUE(IsCompoundEditKey(Key('T', kC), false));
    EXPECT_TRUE(IsCompoundEditKey(Key('U', kC), false));
    EXPECT_TRUE(IsCompoundEditKey(Key('U', kC | kS), false));
    EXPECT_TRUE(IsCompoundEditKey(Key('L', kC | kS), false));
    EXPECT_TRUE(IsCompoundEditKey(Key(kVkInsert, kS), false));
    EXPECT_TRUE(IsCompoundEditKey(Key(kVkDelete, kS), false));
    EXPECT_FALSE(IsCompoundEditKey(Key(kVkDelete), false));
    EXPECT_TRUE(IsCompoundEditKey(Key(kVkDelete), true));
    EXPECT_TRUE(IsCompoundEditKey(Key('x', 0, KeyMessage::Char), true));
    EXPECT_FALSE(IsCompoundEditKey(Key('x', 0, KeyMessage::Char), false));
    EXPECT_FALSE(IsCompoundEditKey(Key(0x08, 0, KeyMessage::Char), true));
    EXPECT_FALSE(IsCompoundEditKey(Key(kVkLeft), true));
}

}  // namespace
}  // namespace quillpane

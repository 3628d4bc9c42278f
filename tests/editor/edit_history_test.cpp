// The edit history against an in-memory editor: steps, merging, compound
// edits, compositions, limits, marks, selection and view on undo and redo.
#include "editor/edit_history.h"

#include "platform/utf_convert.h"
#include "support/fake_editor_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quillpane {
namespace {

using testing::FakeEditorSession;

std::size_t UndoAll(FakeEditorSession& s) {
    std::size_t steps = 0;
    while (Undo(s.Context())) ++steps;
    return steps;
}

TEST(EditHistory, ThreeTypedCharactersAreThreeStepsEachUndoneToItsCaret) {
    FakeEditorSession s("x");
    s.editor.SetSelection(1, 1);
    s.Type("abc");
    ASSERT_EQ(s.Bytes(), "xabc");
    ASSERT_EQ(s.history.undoStack.size(), 3u);
    EXPECT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "xab");
    EXPECT_EQ(s.Caret(), 3u);
    EXPECT_EQ(UndoAll(s), 2u);
    EXPECT_EQ(s.Bytes(), "x");
    EXPECT_EQ(s.Caret(), 1u);
    EXPECT_FALSE(Undo(s.Context()));
}

TEST(EditHistory, RedoReplaysAndANewEditEmptiesIt) {
    FakeEditorSession s;
    s.Type("ab");
    ASSERT_TRUE(Undo(s.Context()));
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_TRUE(Redo(s.Context()));
    EXPECT_EQ(s.Bytes(), "a");
    EXPECT_EQ(s.Caret(), 1u);
    EXPECT_TRUE(CanRedo(s.history));
    s.Type("z");
    EXPECT_FALSE(CanRedo(s.history));
    EXPECT_FALSE(Redo(s.Context()));
    EXPECT_EQ(s.Bytes(), "az");
}

TEST(EditHistory, TypingOverASelectionAsOneCompoundEditUndoesToTheSelectionStart) {
    FakeEditorSession s("hello world");
    s.editor.SetSelection(6, 11);
    BeforeEdit(s.Context());
    s.editor.TypeText("X");  // a deletion and an insertion
    AfterEdit(s.Context(), false);
    ASSERT_EQ(s.Bytes(), "hello X");
    ASSERT_EQ(s.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "hello world");
    EXPECT_EQ(s.Caret(), 6u);
}

TEST(EditHistory, CommittedCompositionIsOneStep) {
    FakeEditorSession s("a");
    s.editor.SetSelection(1, 1);
    s.Type("b");
    CaptureBeforeUserEdit(s.Context());
    BeginComposition(s.Context());
    s.editor.SetComposing(true);
    s.editor.TypeText("k");
    s.editor.SetSelection(2, 3);
    s.editor.TypeText("\xE3\x81\x8B");  // "ka" in kana replaces "k"
    s.editor.SetSelection(2, 5);
    s.editor.TypeText("\xE3\x81\x8B\xE3\x82\x93");
    s.editor.SetComposing(false);
    EndComposition(s.Context());
    ASSERT_EQ(s.Bytes(), "ab\xE3\x81\x8B\xE3\x82\x93");
    EXPECT_EQ(s.history.undoStack.size(), 2u);
    EXPECT_EQ(s.history.marks, LineMarks {1});
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "ab");
    EXPECT_EQ(s.Caret(), 2u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "a");
}

// A composition that adds a line keeps the marks below it on their lines,
// while it runs and once it is committed.
TEST(EditHistory, CompositionAddingALineKeepsTheMarksBelowAligned) {
    FakeEditorSession s("a\r\nb\r\nc");
    MarkLineChanged(s.Context(), 2);
    ASSERT_EQ(s.history.marks, (LineMarks {0, 0, 1}));
    s.editor.SetSelection(1, 1);
    BeginComposition(s.Context());
    s.editor.SetComposing(true);
    s.editor.TypeText("\r\nx");
    ASSERT_EQ(s.history.marks.size(), 4u);
    EXPECT_EQ(s.history.marks[2], 0) << "b";
    EXPECT_EQ(s.history.marks[3], 1) << "c, while composing";
    s.editor.SetComposing(false);
    EndComposition(s.Context());
    ASSERT_EQ(s.Bytes(), "a\r\nx\r\nb\r\nc");
    EXPECT_EQ(s.history.marks[2], 0) << "b";
    EXPECT_EQ(s.history.marks[3], 1) << "c, once committed";
}

TEST(EditHistory, CancelledCompositionLeavesNoStepAndKeepsRedo) {
    FakeEditorSession s;
    s.Type("ab");
    ASSERT_TRUE(Undo(s.Context()));
    BeginComposition(s.Context());
    EXPECT_FALSE(Undo(s.Context()));  // not while composing
    s.editor.TypeText("k");
    s.editor.SetSelection(1, 2);
    s.editor.TypeText("");
    EndComposition(s.Context());
    EXPECT_EQ(s.Bytes(), "a");
    EXPECT_EQ(s.history.undoStack.size(), 1u);
    EXPECT_TRUE(Redo(s.Context()));
    EXPECT_EQ(s.Bytes(), "ab");
}

TEST(EditHistory, ChangesWhileTheInputMethodComposesMergeUnlessLinesChange) {
    FakeEditorSession s;
    s.editor.SetComposing(true);
    s.Type("ab");  // "b" joins "a"
    CaptureBeforeUserEdit(s.Context());
    s.editor.TypeText("\r\n");  // a new line does not join
    s.Type("c");
    s.editor.SetComposing(false);
    EXPECT_EQ(s.history.undoStack.size(), 2u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "ab");
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "");
}

// "ab" moved down past "ac", as the line command replaces it.
TEST(EditHistory, UndoOfALineMoveIsOneStepWithTheCaretAtTheBlockStart) {
    const struct {
        std::size_t anchor;
        std::size_t caret;
        std::size_t caretAfterUndo;
    } cases[] = {{5, 5, 5}, {5, 9, 5}, {9, 5, 5}, {6, 6, 6}};
    for (const auto& c : cases) {
        FakeEditorSession s("one\r\nab\r\nac\r\nend");
        s.editor.SetSelection(c.anchor, c.caret);
        ApplyTextEdit(s.Context(), {{5, 13}, u"ac\r\nab\r\n", {9, 13}}, true);
        ASSERT_EQ(s.Bytes(), "one\r\nac\r\nab\r\nend");
        EXPECT_EQ(s.editor.GetSelection().anchor, 9u);
        ASSERT_EQ(s.history.undoStack.size(), 1u);
        ASSERT_TRUE(Undo(s.Context()));
        EXPECT_EQ(s.Bytes(), "one\r\nab\r\nac\r\nend");
        EXPECT_EQ(s.Caret(), c.caretAfterUndo) << c.anchor << "," << c.caret;
        EXPECT_TRUE(s.editor.GetSelection().start == s.editor.GetSelection().end);
    }
}

TEST(EditHistory, OnlyTheLatest128StepsCanBeUndone) {
    FakeEditorSession s;
    for (int i = 0; i < 129; ++i) s.Type(i == 0 ? "A" : "b");
    EXPECT_EQ(s.history.undoStack.size(), kMaxUndoEntries);
    EXPECT_EQ(UndoAll(s), 128u);
    EXPECT_EQ(s.Bytes(), "A");
}

// The whole text replaced in one step: its entry holds all of the old text.
void ReplaceAll(FakeEditorSession& s, std::string_view bytes) {
    s.editor.SetSelection(0, s.Bytes().size());
    BeforeEdit(s.Context());
    s.editor.TypeText(bytes);
    AfterEdit(s.Context(), false);
}

TEST(EditHistory, EntriesBeyondSixteenMebibytesOfTextAreDropped) {
    // 2.2 million units: 4.4 MB per entry, so three fit and four do not.
    FakeEditorSession s(std::string(2'200'000, 'x'));
    for (int i = 0; i < 4; ++i) ReplaceAll(s, std::string(2'200'000, static_cast<char>('a' + i)));
    EXPECT_EQ(s.history.undoStack.size(), 3u);
    // One entry stays however large it is.
    FakeEditorSession large(std::string(9'000'000, 'x'));
    ReplaceAll(large, std::string(9'000'001, 'y'));
    ReplaceAll(large, "z");
    EXPECT_EQ(large.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(large.Context()));
    EXPECT_EQ(large.Bytes().size(), 9'000'001u);
}

TEST(EditHistory, RectangularTypingIsUndoneWithItsRectangleRestored) {
    FakeEditorSession s("abc\r\ndef\r\nghi");
    s.editor.SelectRectangle(1, 11);
    const EditorSelection before = s.editor.GetSelection();
    // Typing into several ranges is a compound edit of the editor procedure.
    BeforeEdit(s.Context());
    s.editor.TypeText("X");
    MarkRangeChanged(s.Context(), 0, ReadText(s.adapter, s.editor).size());
    AfterEdit(s.Context(), false);
    ASSERT_EQ(s.Bytes(), "aXbc\r\ndXef\r\ngXhi");
    EXPECT_EQ(s.editor.GetSelection().mode, SelectionMode::Thin);
    EXPECT_EQ(s.history.marks, (LineMarks {1, 1, 1}));

    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "abc\r\ndef\r\nghi");
    const EditorSelection after = s.editor.GetSelection();
    EXPECT_EQ(after.mode, SelectionMode::Rectangle);
    EXPECT_EQ(after.rectangleAnchor, before.rectangleAnchor);
    EXPECT_EQ(after.rectangleCaret, before.rectangleCaret);
    EXPECT_EQ(s.history.marks, (LineMarks {0, 0, 0}));

    ASSERT_TRUE(Redo(s.Context()));
    EXPECT_EQ(s.editor.GetSelection().mode, SelectionMode::Thin);
}

TEST(EditHistory, MovingLinesKeepsTheirMarks) {
    FakeEditorSession s("a\r\nb\r\nc");
    s.editor.SetSelection(1, 1);
    s.Type("1");  // marks line "a1"
    ASSERT_EQ(s.history.marks, (LineMarks {1, 0, 0}));
    ApplyTextEdit(s.Context(), {{0, 7}, u"b\r\na1\r\n", {3, 7}}, true);
    ASSERT_EQ(s.Bytes(), "b\r\na1\r\nc");
    EXPECT_EQ(s.history.marks, (LineMarks {0, 1, 0}));
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.history.marks, (LineMarks {1, 0, 0}));
}

TEST(EditHistory, MarksFollowAddedAndRemovedLines) {
    FakeEditorSession s("a\r\nb\r\nc");
    s.editor.SetSelection(4, 4);  // end of "b"
    s.Type("!");
    EXPECT_EQ(s.history.marks, (LineMarks {0, 1, 0}));
    s.editor.SetSelection(0, 0);
    s.Type("\r\n");  // a new, marked, empty first line
    EXPECT_EQ(s.history.marks, (LineMarks {1, 0, 1, 0}));
    (void)s.editor.Delete(0, 2);  // its mark goes; the joined line is marked
    EXPECT_EQ(s.history.marks, (LineMarks {1, 1, 0}));
    (void)s.editor.Delete(1, 4);  // from the end of "a" through "\r\nb!"
    EXPECT_EQ(s.Bytes(), "a\r\nc");
    EXPECT_EQ(s.history.marks, (LineMarks {1, 0}));
    EXPECT_GT(s.editor.lineNumberRefreshes, 0);
}

TEST(EditHistory, LineMatchingHandsOutMarksOfRepeatedLinesInOrder) {
    const struct {
        std::u16string oldText;
        LineMarks oldMarks;
        std::u16string newText;
        LineMarks expected;
    } cases[] = {
        {u"x\r\ny\r\nx", {1, 0, 0}, u"y\r\nx\r\nx", {0, 1, 0}},
        {u"x\r\nx", {0, 1}, u"x\r\nx\r\nx", {0, 1, 1}},
        {u"a\r\nb", {0, 0}, u"a\r\nB", {0, 1}},
        {u"a\r\n", {1, 0}, u"\r\na", {0, 1}},
        {u"a", {}, u"a", {0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchLineMarks(c.oldText, c.oldMarks, c.newText), c.expected);
    }
    EXPECT_EQ(HashLine(u""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(HashLine(u"a"), 0x089be207b544f1e4ULL);
    EXPECT_EQ(HashLine(u"\u65E5\u672C"), 0x404f438b4c18884aULL);
}

TEST(EditHistory, UndoNeverSplitsASurrogatePair) {
    // The two emoji differ only in their low surrogates.
    FakeEditorSession s("x\xF0\x9F\x98\x80y");
    s.editor.SetSelection(1, 5);
    CaptureBeforeUserEdit(s.Context());
    BeforeEdit(s.Context());
    s.editor.TypeText("\xF0\x9F\x98\x81");
    AfterEdit(s.Context(), true);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "x\xF0\x9F\x98\x80y");
    ASSERT_TRUE(Redo(s.Context()));
    EXPECT_EQ(s.Bytes(), "x\xF0\x9F\x98\x81y");
}

TEST(EditHistory, NestedCompoundEditsAndUnchangedOnesRecordOnce) {
    FakeEditorSession s("abc");
    BeforeEdit(s.Context());
    BeforeEdit(s.Context());
    (void)s.editor.Insert(0, "1");
    AfterEdit(s.Context(), true);
    (void)s.editor.Insert(0, "2");
    AfterEdit(s.Context(), true);
    EXPECT_EQ(s.history.undoStack.size(), 1u);
    BeforeEdit(s.Context());
    AfterEdit(s.Context(), true);
    AfterEdit(s.Context(), true);  // unbalanced: ignored
    EXPECT_EQ(s.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "abc");
}

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(EditHistory, UndoKeepsTheViewWhenTheCaretStaysInItAndCentresItOtherwise) {
    FakeEditorSession s(NumberedLines(100));
    s.editor.SetLinesOnScreen(10);
    const std::size_t line90 = s.editor.PositionFromLine(90);
    s.editor.SetFirstVisibleLine(85);
    s.editor.SetSelection(line90, line90);
    s.Type("ab");
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.editor.GetView().firstVisibleLine, 85u);

    s.editor.SetFirstVisibleLine(0);
    s.editor.SetSelection(0, 0);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Caret(), line90);
    EXPECT_EQ(s.editor.GetView().firstVisibleLine, 85u);
    EXPECT_TRUE(s.editor.RedrawOn());
    EXPECT_GT(s.editor.caretLooks, 0);
}

TEST(EditHistory, LastEditLocationLeadsBackToTheLastChange) {
    FakeEditorSession s(NumberedLines(5));
    EXPECT_FALSE(HasLastEdit(s.Context()));
    const std::size_t line3 = s.editor.PositionFromLine(3);
    s.editor.SetSelection(line3, line3);
    s.Type("Q");
    // The location is the selection after the change was reported.
    const std::size_t location = s.history.lastEditLocation;
    EXPECT_EQ(location, line3);
    s.editor.SetSelection(0, 0);
    EXPECT_TRUE(HasLastEdit(s.Context()));
    GoToLastEdit(s.Context());
    EXPECT_EQ(s.Caret(), location);
    EXPECT_FALSE(HasLastEdit(s.Context()));
}

TEST(EditHistory, ResetEmptiesEverythingAndStartsFromTheCurrentText) {
    FakeEditorSession s("a\r\nb");
    s.Type("x");
    ASSERT_TRUE(Undo(s.Context()));
    s.Type("y");
    const auto changes = s.adapter.changeCounter;
    const auto version = s.adapter.textVersion;
    ResetHistory(s.Context());
    EXPECT_FALSE(CanUndo(s.history));
    EXPECT_FALSE(CanRedo(s.history));
    EXPECT_EQ(s.history.marks, (LineMarks {0, 0}));
    EXPECT_EQ(s.adapter.changeCounter, changes + 1);
    EXPECT_GT(s.adapter.textVersion, version);
    EXPECT_FALSE(HasLastEdit(s.Context()));
    EXPECT_EQ(RecordedText(s.Context()), u"ya\r\nb");
}

TEST(EditHistory, LoadingTextIsNotAnEdit) {
    FakeEditorSession s("old");
    {
        HistoryLoadingScope loading(s.history);
        s.editor.SetText("new text");
    }
    ResetHistory(s.Context());
    EXPECT_FALSE(CanUndo(s.history));
    s.Type("!");
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "new text");
}

TEST(EditHistory, AStepChangingSeveralPlacesIsUndoneAndRedoneExactly) {
    const std::string before = "alpha\r\nbeta\r\ngamma\r\ndelta";
    FakeEditorSession s(before);
    s.editor.SetSelection(2, 2);
    BeforeEdit(s.Context());
    (void)s.editor.Insert(s.Bytes().size(), "!");
    (void)s.editor.Delete(7, 6);  // "beta\r\n"
    (void)s.editor.Insert(0, "\xF0\x9F\x98\x80");
    MarkLineChanged(s.Context(), 0);
    AfterEdit(s.Context(), false);
    const std::string after = s.Bytes();
    ASSERT_EQ(after, "\xF0\x9F\x98\x80" "alpha\r\ngamma\r\ndelta!");
    ASSERT_EQ(s.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), before);
    EXPECT_EQ(s.Caret(), 2u);
    EXPECT_EQ(s.history.marks, (LineMarks {0, 0, 0, 0}));
    ASSERT_TRUE(Redo(s.Context()));
    EXPECT_EQ(s.Bytes(), after);
    EXPECT_EQ(s.history.marks, (LineMarks {1, 0, 0}));
}

TEST(EditHistory, AStepThatLeavesTheTextAsItWasRecordsNothing) {
    FakeEditorSession s("abc\r\ndef");
    s.editor.SetSelection(1, 1);
    s.Type("x");
    BeforeEdit(s.Context());
    (void)s.editor.Insert(4, "\xE3\x81\x8B\r\n");
    (void)s.editor.Delete(4, 5);
    AfterEdit(s.Context(), true);
    ApplyTextEdit(s.Context(), {{1, 3}, u"xb", {3, 3}}, false);  // the same text again
    EXPECT_EQ(s.history.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "abc\r\ndef");
}

TEST(EditHistory, AChangeNobodyReportedDropsTheStepsInsteadOfMisplacingThem) {
    FakeEditorSession s("abc");
    s.editor.SetSelection(3, 3);
    s.Type("d");
    s.editor.SetListener(nullptr);
    (void)s.editor.Insert(0, "zz");
    s.editor.SetListener([&](const TextModification& change) {
        OnComponentModified(s.Context(), change);
        OnDocumentChanged(s.Context());
    });
    s.Type("e");
    EXPECT_FALSE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "zzabcde");
    s.Type("f");
    ASSERT_TRUE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "zzabcde");
}

// Positions between the characters of well-formed UTF-8.
std::vector<std::size_t> Boundaries(const std::string& bytes) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) at.push_back(i);
    }
    return at;
}

// Typing, deleting and compound edits that change several places (with and
// without matched marks) at random over CR LF, kana and emoji: undoing every
// step and redoing it passes through every recorded state, marks included,
// and nothing reads the whole text from the component again.
TEST(EditHistory, RandomStepsUndoAndRedoThroughEveryRecordedState) {
    const std::string pieces[] = {"a", "\r\n", "\xE3\x81\x8B", "\xF0\x9F\x98\x80", "b\r\nc"};
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        FakeEditorSession s("one\r\ntwo \xE3\x81\x8B\r\n\xF0\x9F\x98\x80 three\r\nfour");
        const int reads = s.editor.wholeReads;
        const auto change = [&] {
            const std::vector<std::size_t> at = Boundaries(s.Bytes());
            const std::size_t from = random() % at.size();
            if (random() % 2 == 0) {
                (void)s.editor.Insert(at[from], pieces[random() % std::size(pieces)]);
            } else {
                const std::size_t to = std::min(at.size() - 1, from + random() % 4);
                (void)s.editor.Delete(at[from], at[to] - at[from]);
            }
        };
        struct State {
            std::string bytes;
            LineMarks marks;
        };
        std::vector<State> states {{s.Bytes(), s.history.marks}};
        for (int round = 0; round < 90; ++round) {
            const std::size_t steps = s.history.undoStack.size();
            CaptureBeforeUserEdit(s.Context());
            if (round % 3 != 2) {
                change();
            } else {
                BeforeEdit(s.Context());
                for (int i = 0; i < 3; ++i) change();
                AfterEdit(s.Context(), round % 2 == 0);
            }
            if (s.history.undoStack.size() > steps) {
                states.push_back({s.Bytes(), s.history.marks});
            } else {
                ASSERT_EQ(s.Bytes(), states.back().bytes);
                states.back().marks = s.history.marks;
            }
        }
        ASSERT_LT(states.size(), kMaxUndoEntries);
        for (std::size_t i = states.size() - 1; i-- > 0;) {
            ASSERT_TRUE(Undo(s.Context()));
            ASSERT_EQ(s.Bytes(), states[i].bytes) << seed << ": undone to " << i;
            ASSERT_EQ(s.history.marks, states[i].marks) << seed << ": undone to " << i;
        }
        EXPECT_FALSE(Undo(s.Context()));
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(Redo(s.Context()));
            ASSERT_EQ(s.Bytes(), states[i].bytes) << seed << ": redone to " << i;
            ASSERT_EQ(s.history.marks, states[i].marks) << seed << ": redone to " << i;
        }
        EXPECT_EQ(s.editor.wholeReads, reads);
    }
}

TEST(EditHistory, ReadOnlyEditorRefusesUndo) {
    FakeEditorSession s;
    s.Type("ab");
    s.editor.SetReadOnly(true);
    EXPECT_FALSE(Undo(s.Context()));
    EXPECT_EQ(s.Bytes(), "ab");
    EXPECT_EQ(s.history.undoStack.size(), 2u);
}

}  // namespace
}  // namespace quillpane

// The text adapter's edit-control answers in UTF-16 and its caches.
#include "editor/text_adapter.h"

#include "platform/utf_convert.h"
#include "support/fake_editor_model.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

using testing::FakeEditorModel;

// "a", emoji, CR LF, CJK, "b": bytes 0 1 5 6 7 10, units 0 1 3 4 5 6.
const std::u16string kText = u"a\U0001F600\r\n\u65E5b";

struct AdapterFixture {
    FakeEditorModel editor {Utf16ToUtf8(kText)};
    TextAdapter adapter;
};

TEST(TextAdapter, GetTextCopiesAtMostBufferSizeMinusOneUnits) {
    AdapterFixture f;
    char16_t buffer[16];
    EXPECT_EQ(CopyEditText(f.adapter, f.editor, buffer, std::size(buffer)), kText.size());
    EXPECT_EQ(std::u16string(buffer), kText);
    EXPECT_EQ(CopyEditText(f.adapter, f.editor, buffer, 3), 2u);
    EXPECT_EQ(std::u16string(buffer), u"a\xD83D");
    EXPECT_EQ(CopyEditText(f.adapter, f.editor, buffer, 0), 0u);
    EXPECT_EQ(EditTextLength(f.adapter, f.editor), kText.size());
}

TEST(TextAdapter, SelectionIsReportedAndSetInCodeUnits) {
    AdapterFixture f;
    f.editor.SetSelection(7, 1);  // anchor after CR LF, caret before the emoji
    EXPECT_EQ(GetEditSelection(f.adapter, f.editor), (TextRange {1, 5}));

    SetEditSelection(f.adapter, f.editor, 3, 6);
    EXPECT_EQ(f.editor.GetSelection().anchor, 5u);
    EXPECT_EQ(f.editor.GetSelection().caret, 10u);
    // Between the halves of the emoji: back to its start.
    SetEditSelection(f.adapter, f.editor, 2, 2);
    EXPECT_EQ(f.editor.GetSelection().caret, 1u);
    // A negative end means the end; past the end is clamped.
    SetEditSelection(f.adapter, f.editor, 0, -1);
    EXPECT_EQ(f.editor.GetSelection().caret, 11u);
    SetEditSelection(f.adapter, f.editor, 100, 200);
    EXPECT_EQ(f.editor.GetSelection().anchor, 11u);
    // Start -1 collapses to the caret.
    SetEditSelection(f.adapter, f.editor, 1, 5);
    SetEditSelection(f.adapter, f.editor, -1, 0);
    EXPECT_EQ(GetEditSelection(f.adapter, f.editor), (TextRange {5, 5}));
}

TEST(TextAdapter, LinesAreAnsweredInCodeUnits) {
    AdapterFixture f;
    EXPECT_EQ(EditLineFromChar(f.adapter, f.editor, 5), 1u);
    EXPECT_EQ(EditLineFromChar(f.adapter, f.editor, 4), 0u);
    EXPECT_EQ(EditLineFromChar(f.adapter, f.editor, 999), 1u);
    f.editor.SetSelection(7, 7);
    EXPECT_EQ(EditLineFromChar(f.adapter, f.editor, -1), 1u);
    EXPECT_EQ(EditLineIndex(f.adapter, f.editor, 0), 0);
    EXPECT_EQ(EditLineIndex(f.adapter, f.editor, 1), 5);
    EXPECT_EQ(EditLineIndex(f.adapter, f.editor, 2), -1);
    EXPECT_EQ(EditLineIndex(f.adapter, f.editor, -1), -1);
}

TEST(TextAdapter, ReplaceSelectionAndSetTextConvertToUtf8) {
    AdapterFixture f;
    f.editor.SetSelection(1, 5);
    ReplaceEditSelection(f.editor, u"\u00E9");
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"a\u00E9\r\n\u65E5b");
    SetEditText(f.adapter, f.editor, u"x\U0001F600");
    EXPECT_EQ(f.editor.Bytes(), "x\xF0\x9F\x98\x80");
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"x\U0001F600");
}

TEST(TextAdapter, CachesAreReadOnceWhileTheTextIsUnchanged) {
    AdapterFixture f;
    (void)ReadText(f.adapter, f.editor);
    (void)GetEditSelection(f.adapter, f.editor);
    (void)EditLineIndex(f.adapter, f.editor, 1);
    EXPECT_EQ(f.editor.wholeReads, 1);
    BumpTextVersion(f.adapter);
    (void)ReadText(f.adapter, f.editor);
    EXPECT_EQ(f.editor.wholeReads, 2);
}

TEST(TextAdapter, ReportedChangesPatchTheCachesWithoutReadingTheText) {
    AdapterFixture f;
    f.editor.SetListener([&](const TextModification& change) { OnTextModified(f.adapter, f.editor, change); });
    (void)ReadText(f.adapter, f.editor);
    f.editor.SetSelection(5, 7);
    f.editor.TypeText("\xE6\x9C\xAC");  // a deletion and an insertion
    f.editor.Insert(0, "\xF0\x9F\x98\x80");
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"\U0001F600a\U0001F600\u672C\u65E5b");
    EXPECT_EQ(f.editor.wholeReads, 1);
    EXPECT_EQ(f.adapter.textVersion, 3u);
}

TEST(TextAdapter, ChangeReadBeforeItsNotificationIsNotAppliedTwice) {
    // The component reports EN_CHANGE before SCN_MODIFIED: a reader at
    // EN_CHANGE re-reads the text, and the notification must not patch again.
    AdapterFixture f;
    (void)ReadText(f.adapter, f.editor);
    const TextModification change = f.editor.Insert(1, "xy");
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"axy\U0001F600\r\n\u65E5b");
    OnTextModified(f.adapter, f.editor, change);
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"axy\U0001F600\r\n\u65E5b");
    EXPECT_EQ(f.editor.wholeReads, 2);
}

TEST(TextAdapter, APatchTellsWhatItReplacedOrThatThisIsUnknown) {
    AdapterFixture f;
    (void)ReadText(f.adapter, f.editor);
    Utf16Change applied;
    std::u16string removed;
    ASSERT_TRUE(OnTextModified(f.adapter, f.editor, f.editor.Delete(1, 6), applied, &removed));  // emoji, CR LF
    EXPECT_EQ(removed, kText.substr(applied.index, applied.removed));
    EXPECT_NE(removed.find(u"\U0001F600\r\n"), std::u16string::npos);

    // Read again after the change: what it replaced is gone.
    const TextModification change = f.editor.Insert(0, "q");
    (void)ReadText(f.adapter, f.editor);
    EXPECT_FALSE(OnTextModified(f.adapter, f.editor, change, applied, &removed));
    EXPECT_EQ(ReadText(f.adapter, f.editor), u"qa\u65E5b");
}

TEST(TextAdapter, UnreportedChangeOrAnotherWindowIsReadAgain) {
    AdapterFixture f;
    (void)ReadText(f.adapter, f.editor);
    (void)f.editor.Insert(0, "q");  // nobody told the adapter
    EXPECT_EQ(ReadText(f.adapter, f.editor).front(), u'q');

    FakeEditorModel other("other");
    EXPECT_EQ(ReadText(f.adapter, other), u"other");
    EXPECT_EQ(ReadText(f.adapter, f.editor).front(), u'q');
}

}  // namespace
}  // namespace quillpane

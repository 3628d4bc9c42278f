// The memo state machine: dirty tracking, the save lock, the watch rules.
#include "storage/memo_state.h"

#include "platform/utf_convert.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

using quillpane::testing::TempDir;

MemoState LoadedState(const TempDir& dir, std::string_view bytes) {
    dir.Write("memo.txt", bytes);
    MemoState state;
    state.memoPath = dir.File("memo.txt");
    const LoadOutcome outcome = LoadNoteInto(state, ReadNoteFile(state.memoPath));
    EXPECT_TRUE(outcome.Succeeded());
    return state;
}

TEST(MemoState, EditArmsTheTimerAndUndoingBackToSavedTextKillsIt) {
    MemoState state;
    state.lastSavedText = u"abc";
    EXPECT_EQ(OnEditorChanged(state, u"abcd"), SaveTimerAction::Arm);
    EXPECT_TRUE(state.memoDirty);
    EXPECT_EQ(OnEditorChanged(state, u"abcde"), SaveTimerAction::Arm);
    EXPECT_EQ(OnEditorChanged(state, u"abc"), SaveTimerAction::Kill);
    EXPECT_FALSE(state.memoDirty);
    // Exact comparison: a different case or line end is an edit.
    EXPECT_EQ(OnEditorChanged(state, u"ABC"), SaveTimerAction::Arm);
}

TEST(MemoState, SuccessfulLoadSetsSavedTextAndWriteTime) {
    TempDir dir;
    const MemoState state = LoadedState(dir, "\xEF\xBB\xBFone\ntwo");
    EXPECT_EQ(state.lastSavedText, u"one\r\ntwo");
    EXPECT_FALSE(state.memoDirty);
    EXPECT_FALSE(state.saveDisabled);
    EXPECT_EQ(state.memoWriteTime, platform::GetAttributes(state.memoPath)->lastWriteTime);
    // Loading alone never rewrites the file, even with LF line ends.
    EXPECT_EQ(dir.Read("memo.txt"), "\xEF\xBB\xBFone\ntwo");
}

TEST(MemoState, SaveWritesTheTextAndCleansTheState) {
    TempDir dir;
    MemoState state = LoadedState(dir, std::string_view("\xFF\xFEx\0", 4));
    ASSERT_EQ(OnEditorChanged(state, u"xy"), SaveTimerAction::Arm);
    ASSERT_EQ(SaveNoteText(state, u"xy"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("memo.txt"), "\xEF\xBB\xBFxy");
    EXPECT_EQ(state.lastSavedText, u"xy");
    EXPECT_FALSE(state.memoDirty);
    EXPECT_EQ(state.memoWriteTime, platform::GetAttributes(state.memoPath)->lastWriteTime);
    EXPECT_FALSE(ShouldReloadOnWatchTick(state, platform::GetAttributes(state.memoPath)));
}

TEST(MemoState, FailedSaveStaysDirtyAndKeepsSavedText) {
    TempDir dir;
    MemoState state = LoadedState(dir, "old");
    ASSERT_TRUE(platform::CreateDirectoryAt(dir.File("memo.txt.tmp")));  // blocks the write
    (void)OnEditorChanged(state, u"new");
    EXPECT_EQ(SaveNoteText(state, u"new"), SaveResult::Failed);
    EXPECT_TRUE(state.memoDirty);
    EXPECT_EQ(state.lastSavedText, u"old");
    EXPECT_EQ(dir.Read("memo.txt"), "old");
}

TEST(MemoState, FailedLoadDisablesSavingUntilALoadSucceeds) {
    TempDir dir;
    MemoState state = LoadedState(dir, "first");
    state.memoDirty = true;

    NoteReadResult tooLarge;
    tooLarge.status = NoteReadStatus::TooLarge;
    tooLarge.writeTime = 4242;
    const LoadOutcome failed = LoadNoteInto(state, tooLarge);
    EXPECT_EQ(failed.failure, LoadFailure::TooLarge);
    EXPECT_TRUE(failed.text.empty());
    EXPECT_TRUE(state.saveDisabled);
    EXPECT_FALSE(state.memoDirty);
    EXPECT_EQ(state.memoWriteTime, 4242u);

    // The failure text in the editor counts as an edit, but is never written.
    (void)OnEditorChanged(state, u"failure text");
    EXPECT_EQ(SaveNoteText(state, u"failure text"), SaveResult::Disabled);
    EXPECT_FALSE(state.memoDirty);
    EXPECT_EQ(dir.Read("memo.txt"), "first");

    // Unchanged file: the watch leaves it; a changed one is reloaded.
    platform::FileAttributes same;
    same.lastWriteTime = 4242;
    EXPECT_FALSE(ShouldReloadOnWatchTick(state, same));
    dir.Write("memo.txt", "second");
    ASSERT_TRUE(ShouldReloadOnWatchTick(state, platform::GetAttributes(state.memoPath)));
    const LoadOutcome reloaded = LoadNoteInto(state, ReadNoteFile(state.memoPath));
    EXPECT_TRUE(reloaded.Succeeded());
    EXPECT_TRUE(reloaded.saveReenabled);
    EXPECT_EQ(reloaded.text, u"second");
    EXPECT_FALSE(state.saveDisabled);
    EXPECT_EQ(SaveNoteText(state, u"third"), SaveResult::Saved);
}

TEST(MemoState, UnreadableFileIsReportedApartFromTooLarge) {
    TempDir dir;
    MemoState state;
    state.memoPath = dir.File("absent.txt");
    const LoadOutcome outcome = LoadNoteInto(state, ReadNoteFile(state.memoPath));
    EXPECT_EQ(outcome.failure, LoadFailure::Unreadable);
    EXPECT_FALSE(outcome.saveReenabled);
    EXPECT_TRUE(state.saveDisabled);
    EXPECT_EQ(state.memoWriteTime, 0u);
}

TEST(MemoState, WatchTickReloadsOnlyAChangedFileWithoutUnsavedEdits) {
    struct Case {
        const char* name;
        bool fileVisible;
        std::uint64_t fileTime;
        bool dirty;
        bool reload;
    };
    const Case cases[] = {
        {"unchanged", true, 100, false, false},
        {"changed", true, 200, false, true},
        {"changed but dirty", true, 200, true, false},
        {"changed to an older time", true, 50, false, true},
        {"file gone", false, 0, false, false},
    };
    for (const Case& c : cases) {
        MemoState state;
        state.memoWriteTime = 100;
        state.memoDirty = c.dirty;
        std::optional<platform::FileAttributes> attributes;
        if (c.fileVisible) attributes = platform::FileAttributes {false, 1, c.fileTime};
        EXPECT_EQ(ShouldReloadOnWatchTick(state, attributes), c.reload) << c.name;
    }
}

// A file another program holds is retried on every tick, with the failure
// shown once; a failed attribute query never reloads.
TEST(MemoState, HeldFileIsRetriedEveryTickAndReportedOnce) {
    TempDir dir;
    MemoState state = LoadedState(dir, "\xEF\xBB\xBFtext");
    const platform::FileAttributes same {false, 7, state.memoWriteTime};
    NoteReadResult held;
    held.status = NoteReadStatus::Unreadable;
    held.writeTime = state.memoWriteTime + 1;
    EXPECT_FALSE(LoadNoteInto(state, held).repeatedFailure);
    EXPECT_TRUE(ShouldReloadOnWatchTick(state, platform::FileAttributes {false, 7, held.writeTime}));
    EXPECT_TRUE(LoadNoteInto(state, held).repeatedFailure);
    EXPECT_FALSE(ShouldReloadOnWatchTick(state, std::nullopt));

    EXPECT_TRUE(LoadNoteInto(state, ReadNoteFile(state.memoPath)).saveReenabled);
    EXPECT_FALSE(ShouldReloadOnWatchTick(state, same));
}

// What a save must keep first: a file written by someone else since the
// program last saw it, or one not in the program's own encoding.
TEST(MemoState, OutsideOrForeignVersionIsKeptBeforeTheFirstSave) {
    struct Case {
        const char* bytes;
        bool foreign;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF" "line\r\n", false},
        {"\xEF\xBB\xBF", false},
        {"", false},
        {"line\r\n", true},          // no byte-order mark
        {"\xEF\xBB\xBF" "a\nb", true},  // bare LF
        {"caf\xE9", true},            // not UTF-8
    };
    for (const Case& c : cases) {
        TempDir dir;
        MemoState state = LoadedState(dir, c.bytes);
        const auto onDisk = platform::GetAttributes(state.memoPath);
        EXPECT_EQ(DiskVersionNeedsKeeping(state, onDisk), c.foreign) << c.bytes;
        platform::FileAttributes rewritten = *onDisk;
        rewritten.lastWriteTime += 1;
        EXPECT_TRUE(DiskVersionNeedsKeeping(state, rewritten)) << c.bytes;
        ASSERT_EQ(SaveNoteText(state, u"new"), SaveResult::Saved);
        EXPECT_FALSE(DiskVersionNeedsKeeping(state, platform::GetAttributes(state.memoPath))) << c.bytes;
        EXPECT_EQ(state.memoWriteTime, platform::GetAttributes(state.memoPath)->lastWriteTime);
    }
}

// The dirty state followed from the changes alone: equal lengths make it
// compare the changed span, and an edit undone back to the saved text is
// clean again wherever the edits were.
TEST(MemoState, ChangedSpanTracksDirtyWithoutWholeTexts) {
    MemoState state;
    // Several blocks, so that the edits land in different ones.
    std::u16string text = u"h\u00E9llo world" + std::u16string(3 * SavedText::kBlockBytes, u'-') + u"tail";
    state.lastSavedText = text;
    ResetChangedSpan(state);
    std::size_t reads = 0;
    const auto change = [&](std::size_t at, long long delta) {
        return OnEditorEdited(state, at, delta, [&](std::size_t start, std::size_t end, std::size_t block) {
            ++reads;
            const std::string all = Utf16ToUtf8(text);
            EditorBytes span;
            span.startByte = Utf16ToUtf8(text.substr(0, start)).size() / block * block;
            const std::size_t endByte = (Utf16ToUtf8(text.substr(0, end)).size() + block - 1) / block * block;
            span.bytes = all.substr(span.startByte, std::min(endByte, all.size()) - span.startByte);
            span.totalBytes = all.size();
            return span;
        });
    };
    const auto edit = [&](std::size_t at, std::size_t remove, std::u16string_view insert) {
        text.replace(at, remove, insert);
        if (remove > 0 && !insert.empty()) (void)change(at, -static_cast<long long>(remove));
        return change(at, remove > 0 && !insert.empty() ? static_cast<long long>(insert.size())
                                                        : static_cast<long long>(insert.size()) - static_cast<long long>(remove));
    };
    EXPECT_EQ(edit(5, 0, u"!"), SaveTimerAction::Arm);
    EXPECT_EQ(reads, 0u) << "a length change needs no comparison";
    EXPECT_EQ(edit(5, 1, u""), SaveTimerAction::Kill);
    EXPECT_FALSE(state.memoDirty);

    // Same length, other text (one more byte, too): dirty; changed back in
    // two places: clean.
    EXPECT_EQ(edit(0, 1, u"J"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(1, 1, u"e"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(10, 1, u"D"), SaveTimerAction::Arm);
    const std::size_t far = text.size() - 2;
    EXPECT_EQ(edit(far, 1, u"I"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(0, 1, u"h"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(1, 1, u"\u00E9"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(10, 1, u"d"), SaveTimerAction::Arm);
    EXPECT_EQ(edit(far, 1, u"i"), SaveTimerAction::Kill);
    EXPECT_EQ(state.lastSavedText, text);
}

}  // namespace
}  // namespace quillpane

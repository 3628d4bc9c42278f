// Memo folding: blocks, keys, display texts, and fold plans played against a model of the editor's folds.
#include "sections/memo_fold.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

constexpr int kLevelNumberMask = 0x0FFF;

// Scintilla's fold bookkeeping as far as the fold logic relies on it:
// levels, expanded flags, last children, fold parents and visibility.
class FakeEditor : public FoldView {
public:
    explicit FakeEditor(int lineCount)
        : levels(static_cast<std::size_t>(lineCount), kFoldLevelBase), expanded(static_cast<std::size_t>(lineCount), 1) {}

    int LineCount() const override { return static_cast<int>(levels.size()); }
    int FoldLevel(int line) const override { return levels.at(static_cast<std::size_t>(line)); }
    bool IsExpanded(int line) const override { return expanded.at(static_cast<std::size_t>(line)) != 0; }
    int LastChild(int line) const override {
        const int level = FoldLevel(line) & kLevelNumberMask;
        int last = line;
        while (last + 1 < LineCount() && (FoldLevel(last + 1) & kLevelNumberMask) > level) ++last;
        return last;
    }
    int FoldParent(int line) const override {
        const int level = FoldLevel(line) & kLevelNumberMask;
        for (int look = line - 1; look >= 0; --look) {
            if ((FoldLevel(look) & kFoldLevelHeaderFlag) != 0 && (FoldLevel(look) & kLevelNumberMask) < level) return look;
        }
        return -1;
    }
    int NextContracted(int line) const override {
        for (; line < LineCount(); ++line) {
            if (!IsExpanded(line)) return line;
        }
        return -1;
    }
    bool IsLineVisible(int line) const override {
        for (int header = 0; header < line; ++header) {
            if (!IsExpanded(header) && (FoldLevel(header) & kFoldLevelHeaderFlag) != 0 && LastChild(header) >= line) {
                return false;
            }
        }
        return true;
    }

    void Apply(const FoldPlan& plan) {
        for (const FoldOp& op : plan.ops) {
            const auto at = static_cast<std::size_t>(op.line);
            switch (op.kind) {
            case FoldOpKind::ExpandAll:
                std::fill(expanded.begin(), expanded.end(), 1);
                break;
            case FoldOpKind::SetLevel: {
                ++levelsSent;
                const bool wasHeader = (levels.at(at) & kFoldLevelHeaderFlag) != 0;
                levels.at(at) = op.level;
                if (!wasHeader && (op.level & kFoldLevelHeaderFlag) != 0) expanded.at(at) = 1;
                if (wasHeader && (op.level & kFoldLevelHeaderFlag) == 0) expanded.at(at) = 1;
                break;
            }
            case FoldOpKind::Expand:
                expanded.at(at) = 1;
                break;
            case FoldOpKind::Contract:
                EXPECT_TRUE(IsExpanded(op.line)) << "a toggle would unfold line " << op.line;
                expanded.at(at) = 0;
                displayText = op.text;
                break;
            case FoldOpKind::EnsureVisible:
                for (int header = 0; header < op.line; ++header) {
                    if (!IsExpanded(header) && LastChild(header) >= op.line) expanded[static_cast<std::size_t>(header)] = 1;
                }
                break;
            }
        }
    }

    std::vector<int> ContractedLines() const {
        std::vector<int> lines;
        for (int line = NextContracted(0); line >= 0; line = NextContracted(line + 1)) lines.push_back(line);
        return lines;
    }

    std::vector<int> levels;
    std::vector<char> expanded;
    int levelsSent = 0;
    std::string displayText;
};

MarkerSettings Dividers() {
    MarkerSettings settings;
    settings.separatorLine = u"---";
    return settings;
}

MarkerSettings Headings() {
    MarkerSettings settings;
    settings.role = SectionMarkerRole::Heading;
    return settings;
}

FoldDocument Doc(std::u16string_view text, MarkerSettings settings, std::size_t selection = 0) {
    return FoldDocument {text, std::move(settings), true, false, selection};
}

std::vector<FoldItem> Items(std::u16string_view text, const MarkerSettings& settings) {
    const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, BuildSections(text, settings, 0));
    EXPECT_TRUE(items.has_value());
    return items.value_or(std::vector<FoldItem> {});
}

// Lines: 0 Intro, 1 ---, 2 A, 3 a2, 4 ---, 5 B, 6 b2, 7 ---, 8 C, 9 (empty last line).
const std::u16string kThreeMemos = u"Intro\r\n---\r\nA\r\na2\r\n---\r\nB\r\nb2\r\n---\r\nC\r\n";

TEST(Fnv1aHashUtf16, FeedsTheLowByteBeforeTheHighByte) {
    EXPECT_EQ(Fnv1aHashUtf16(u""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(Fnv1aHashUtf16(u"a"), 0x089be207b544f1e4ULL);
    EXPECT_EQ(Fnv1aHashUtf16(u"\u3042"), 0x09130407b5aa520fULL);
    EXPECT_EQ(Fnv1aHashUtf16(u"---\r\nA\r\n"), 0x364ddf2e2a37d351ULL);
}

TEST(FormatFoldKey, IsSixteenLowercaseDigitsAndTheOccurrence) {
    EXPECT_EQ(FormatFoldKey(0x1234, 0), u"0000000000001234:0");
    EXPECT_EQ(FormatFoldKey(0xFFFFFFFFFFFFFFFFULL, 12), u"ffffffffffffffff:12");
    EXPECT_EQ(FormatFoldKey(0xABCDEF0123456789ULL, 100), u"abcdef0123456789:100");
    // The configuration keeps only keys of this form.
    EXPECT_TRUE(IsFoldEntry(FormatFoldKey(0, 0)));
    EXPECT_TRUE(IsFoldEntry(FormatFoldKey(0xFFFFFFFFFFFFFFFFULL, 2147483647)));
}

TEST(ComputeFoldBlocks, SeparatorBlocksRunFromDividerToDivider) {
    const SectionScan scan = BuildSections(kThreeMemos, Dividers(), 0);
    const std::optional<std::vector<FoldBlock>> blocks = ComputeFoldBlocks(kThreeMemos, scan);
    ASSERT_TRUE(blocks.has_value());
    const std::vector<FoldBlock> expected = {
        {0, 7, 0, 0, false}, {7, 19, 1, 3, true}, {19, 31, 4, 6, true}, {31, 39, 7, 8, true}};
    EXPECT_EQ(*blocks, expected);
}

TEST(ComputeFoldBlocks, LastBlockWithoutFinalBreakEndsOnTheLastLine) {
    const std::u16string text = u"## A\r\n## B\r\nb";
    const std::vector<FoldItem> items = Items(text, Headings());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].block, (FoldBlock {0, 6, 0, 0, true}));
    EXPECT_FALSE(items[0].canFold);  // only its marker line
    EXPECT_EQ(items[1].block, (FoldBlock {6, 13, 1, 2, true}));
    EXPECT_TRUE(items[1].canFold);
}

TEST(ComputeFoldBlocks, UntitledDividerMemosLeaveGapsBetweenBlocks) {
    const std::u16string text = u"---\r\nA\r\n---\r\n\r\n---\r\nB\r\n";
    const std::vector<FoldItem> items = Items(text, Dividers());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].block.end, 8u);
    EXPECT_EQ(items[1].block.start, 15u);
}

TEST(ComputeFoldBlocks, RefusesTextsOfTwoToTheThirtyFirstUnits) {
    const std::u16string text = u"---\r\nA\r\nb\r\n";
    const SectionScan scan = BuildSections(text, Dividers(), 0);
    // Only the length is looked at before the refusal, so the view is never read past its buffer.
    const std::u16string_view huge(text.data(), kFoldTextLimit);
    EXPECT_FALSE(ComputeFoldBlocks(huge, scan).has_value());
    const std::u16string_view justBelow(text.data(), text.size());
    EXPECT_TRUE(ComputeFoldBlocks(justBelow, scan).has_value());
}

TEST(BuildFoldItems, IdenticalMemosShareTheHashWithRisingOccurrences) {
    const std::u16string text = u"---\r\nSame\r\nx\r\n---\r\nOther\r\ny\r\n---\r\nSame\r\nx\r\n";
    const std::vector<FoldItem> items = Items(text, Dividers());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].key.substr(0, 17), items[2].key.substr(0, 17));
    EXPECT_EQ(items[0].key.substr(16), u":0");
    EXPECT_EQ(items[1].key.substr(16), u":0");
    EXPECT_EQ(items[2].key.substr(16), u":1");
    EXPECT_EQ(items[0].key, FormatFoldKey(Fnv1aHashUtf16(u"---\r\nSame\r\nx\r\n"), 0));
}

TEST(BuildFoldItems, EveryKeyIsTheHashOfItsBlockWhateverTheBlockLengths) {
    std::u16string text = u"Intro\r\n";
    for (int i = 0; i < 12; ++i) {
        text += u"---\r\nMemo\r\n" + std::u16string(static_cast<std::size_t>(i * 7 % 5 + (i == 6 ? 40 : 0)), u'x') +
                u"\u3042\r\n";
    }
    const std::vector<FoldItem> items = Items(text, Dividers());
    ASSERT_EQ(items.size(), 13u);  // three groups of four and one more
    for (const FoldItem& item : items) {
        const std::u16string_view block = std::u16string_view(text).substr(item.block.start, item.block.end - item.block.start);
        EXPECT_EQ(item.key.substr(0, 16), FormatFoldKey(Fnv1aHashUtf16(block), 0).substr(0, 16));
    }
}

TEST(FoldDisplayText, ShowsTheTitleInTheSeparatorRole) {
    EXPECT_EQ(FoldDisplayText(SectionMarkerRole::Heading, u"Plan"), " \xE2\x80\xA6");
    EXPECT_EQ(FoldDisplayText(SectionMarkerRole::Separator, u"a\tb"), " a b");
    const std::u16string exact(47, u'x');
    EXPECT_EQ(FoldDisplayText(SectionMarkerRole::Separator, exact), " " + std::string(47, 'x'));
    const std::u16string longer(48, u'x');
    EXPECT_EQ(FoldDisplayText(SectionMarkerRole::Separator, longer), " " + std::string(46, 'x') + "\xE2\x80\xA6");
    // A surrogate pair across the cut is dropped whole.
    const std::u16string pairAtCut = std::u16string(45, u'x') + u"\U0001F600" + u"yyyy";
    EXPECT_EQ(FoldDisplayText(SectionMarkerRole::Separator, pairAtCut), " " + std::string(45, 'x') + "\xE2\x80\xA6");
}

TEST(FoldSignature, NamesTheRoleAndItsMarkerText) {
    EXPECT_EQ(FoldSignature(Dividers()), u"S\n---");
    EXPECT_EQ(FoldSignature(Headings()), u"H\n##");
}

TEST(FillFoldStates, MarksEntriesThatCanFoldAndAreFolded) {
    SectionScan scan = BuildSections(kThreeMemos, Dividers(), 0);
    const std::optional<std::vector<FoldItem>> items = BuildFoldItems(kThreeMemos, scan);
    ASSERT_TRUE(items.has_value());
    FillFoldStates(scan.entries, items, {(*items)[0].key, (*items)[2].key});
    EXPECT_FALSE(scan.entries[0].canFold);  // above the first divider
    EXPECT_FALSE(scan.entries[0].folded);
    EXPECT_TRUE(scan.entries[1].canFold);
    EXPECT_FALSE(scan.entries[1].folded);
    EXPECT_TRUE(scan.entries[2].folded);
    FillFoldStates(scan.entries, std::nullopt, {(*items)[2].key});
    EXPECT_FALSE(scan.entries[2].canFold);
    EXPECT_FALSE(scan.entries[2].folded);
}

TEST(RecomputeFolds, LevelsMarkEveryMemoBelowADivider) {
    FakeEditor editor(10);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, {}));
    const std::vector<int> expected = {0x400, 0x2400, 0x401, 0x401, 0x2400, 0x401, 0x401, 0x2400, 0x401, 0x400};
    EXPECT_EQ(editor.levels, expected);
    EXPECT_EQ(state.appliedSignature, u"S\n---");
    // Nothing changed: nothing is sent.
    const FoldPlan again = RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, {});
    EXPECT_TRUE(again.ops.empty());
}

TEST(RecomputeFolds, RestoresRememberedFoldsAfterARestart) {
    const std::vector<FoldItem> items = Items(kThreeMemos, Dividers());
    const std::vector<std::u16string> folded = {items[2].key};
    FakeEditor editor(10);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded));
    EXPECT_EQ(editor.ContractedLines(), (std::vector<int> {4}));
    EXPECT_EQ(editor.displayText, " B");
    EXPECT_FALSE(editor.IsLineVisible(5));
    EXPECT_TRUE(editor.IsLineVisible(7));
}

TEST(RecomputeFolds, EditingAFoldedMemoChangesItsKeySoItUnfolds) {
    const std::vector<FoldItem> items = Items(kThreeMemos, Dividers());
    const std::vector<std::u16string> folded = {items[1].key};
    FakeEditor editor(10);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded));
    ASSERT_EQ(editor.ContractedLines(), (std::vector<int> {1}));
    const std::u16string edited = u"Intro\r\n---\r\nA!\r\na2\r\n---\r\nB\r\nb2\r\n---\r\nC\r\n";
    editor.Apply(RecomputeFolds(state, Doc(edited, Dividers()), editor, folded));
    EXPECT_TRUE(editor.ContractedLines().empty());
}

TEST(RecomputeFolds, KeepsAFoldWhoseMemoIsUnchanged) {
    const std::vector<FoldItem> items = Items(kThreeMemos, Dividers());
    const std::vector<std::u16string> folded = {items[2].key};
    FakeEditor editor(10);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded));
    const FoldPlan again = RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded);
    EXPECT_TRUE(again.ops.empty());
    EXPECT_EQ(editor.ContractedLines(), (std::vector<int> {4}));
}

TEST(RecomputeFolds, AMarkerChangeExpandsAllThenRefoldsMatchingKeys) {
    const std::u16string text = u"## A\r\na\r\n## B\r\nb\r\n";
    const std::vector<FoldItem> items = Items(text, Headings());
    std::vector<std::u16string> folded = {items[0].key, items[1].key};
    FakeEditor editor(5);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(text, Headings()), editor, folded));
    ASSERT_EQ(editor.ContractedLines(), (std::vector<int> {0, 2}));

    // "#" as prefix: "## A" runs on, so there are no memos any more.
    MarkerSettings single = Headings();
    single.headingLine = u"#";
    const FoldPlan plan = RecomputeFolds(state, Doc(text, single), editor, folded);
    ASSERT_FALSE(plan.ops.empty());
    EXPECT_EQ(plan.ops.front().kind, FoldOpKind::ExpandAll);
    editor.Apply(plan);
    EXPECT_TRUE(editor.ContractedLines().empty());
    EXPECT_EQ(state.appliedSignature, u"H\n#");

    // Back to "##": both keys still match, so both fold again.
    editor.Apply(RecomputeFolds(state, Doc(text, Headings()), editor, folded));
    EXPECT_EQ(editor.ContractedLines(), (std::vector<int> {0, 2}));
}

TEST(RecomputeFolds, MemoFoldOffExpandsEverythingButKeepsTheSet) {
    const std::vector<FoldItem> items = Items(kThreeMemos, Dividers());
    const std::vector<std::u16string> folded = {items[1].key};
    FakeEditor editor(10);
    MemoFoldState state;
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded));
    FoldDocument off = Doc(kThreeMemos, Dividers());
    off.memoFold = false;
    editor.Apply(RecomputeFolds(state, off, editor, folded));
    EXPECT_TRUE(editor.ContractedLines().empty());
    EXPECT_EQ(editor.levels, std::vector<int>(10, kFoldLevelBase));
    EXPECT_TRUE(state.appliedSignature.empty());
    EXPECT_TRUE(RecomputeFolds(state, off, editor, folded).ops.empty());
    // On again: the same fold comes back.
    editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded));
    EXPECT_EQ(editor.ContractedLines(), (std::vector<int> {1}));
}

TEST(RecomputeFolds, ReadOnlyOrMismatchedLineCountsFoldNothing) {
    const std::vector<std::u16string> folded = {Items(kThreeMemos, Dividers())[1].key};
    FakeEditor editor(10);
    MemoFoldState state;
    FoldDocument readOnly = Doc(kThreeMemos, Dividers());
    readOnly.readOnly = true;
    EXPECT_TRUE(RecomputeFolds(state, readOnly, editor, folded).Empty());

    FakeEditor shorter(9);
    shorter.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), shorter, folded));
    EXPECT_TRUE(shorter.ContractedLines().empty());
    EXPECT_EQ(shorter.levelsSent, 0);
    EXPECT_TRUE(state.appliedSignature.empty());
}

TEST(RecomputeFolds, MovesACaretOutOfAMemoItFolds) {
    const std::vector<std::u16string> folded = {Items(kThreeMemos, Dividers())[2].key};
    FakeEditor editor(10);
    MemoFoldState state;
    const FoldPlan plan = RecomputeFolds(state, Doc(kThreeMemos, Dividers(), 25), editor, folded);
    EXPECT_EQ(plan.caretIndex, std::optional<std::size_t>(19));
    EXPECT_FALSE(RecomputeFolds(state, Doc(kThreeMemos, Dividers(), 20), editor, folded).caretIndex.has_value());
}

struct Folding {
    FakeEditor editor {10};
    MemoFoldState state;
    std::vector<std::u16string> folded;
    Folding() { editor.Apply(RecomputeFolds(state, Doc(kThreeMemos, Dividers()), editor, folded)); }
    FoldPlan Toggle(int line, std::optional<MouseToggle> mouse = std::nullopt, std::size_t selection = 0) {
        FoldPlan plan = ToggleFoldAtLine(state, Doc(kThreeMemos, Dividers(), selection), editor, folded, line, mouse);
        editor.Apply(plan);
        return plan;
    }
};

TEST(ToggleFoldAtLine, FoldsFromAnyLineOfTheMemoAndUnfoldsFromTheHeader) {
    Folding f;
    const FoldPlan fold = f.Toggle(6, std::nullopt, 28);
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {4}));
    EXPECT_EQ(fold.caretIndex, std::optional<std::size_t>(19));  // the caret was in a line now hidden
    EXPECT_EQ(fold.notice, (FoldNotice {24, true}));
    EXPECT_TRUE(fold.foldedChanged);
    EXPECT_EQ(f.folded, (std::vector<std::u16string> {Items(kThreeMemos, Dividers())[2].key}));

    const FoldPlan unfold = f.Toggle(4);
    EXPECT_TRUE(f.editor.ContractedLines().empty());
    EXPECT_EQ(unfold.notice, (FoldNotice {24, false}));
    EXPECT_TRUE(f.folded.empty());
}

TEST(ToggleFoldAtLine, DoesNothingOutsideFoldableMemos) {
    Folding f;
    EXPECT_TRUE(f.Toggle(0).Empty());   // above the first divider
    EXPECT_TRUE(f.Toggle(9).Empty());   // the empty last line
    EXPECT_TRUE(f.Toggle(10).Empty());  // past the document
    EXPECT_TRUE(f.Toggle(-1).Empty());
    // Levels that no longer sit on a marker line are not trusted.
    f.editor.levels[0] = kFoldLevelHeader;
    f.editor.levels[1] = kFoldLevelBody;
    EXPECT_TRUE(f.Toggle(0).Empty());
}

TEST(ToggleFoldAtLine, ADoubleClickInTheMarginTogglesOnce) {
    Folding f;
    f.Toggle(1, MouseToggle {1000, 500});
    EXPECT_TRUE(f.Toggle(1, MouseToggle {1300, 500}).Empty());
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {1}));
    f.Toggle(1, MouseToggle {1600, 500});
    EXPECT_TRUE(f.editor.ContractedLines().empty());
    // Another line within the time is a separate click.
    f.Toggle(4, MouseToggle {1700, 500});
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {4}));
    // The keyboard is never held back.
    f.Toggle(4);
    EXPECT_TRUE(f.editor.ContractedLines().empty());
}

TEST(ToggleFoldAtLine, TwoIdenticalMemosFoldSeparatelyAcrossARestart) {
    const std::u16string text = u"---\r\nSame\r\n---\r\nSame\r\n";
    FakeEditor editor(5);
    MemoFoldState state;
    std::vector<std::u16string> folded;
    editor.Apply(RecomputeFolds(state, Doc(text, Dividers()), editor, folded));
    editor.Apply(ToggleFoldAtLine(state, Doc(text, Dividers()), editor, folded, 2, std::nullopt));
    ASSERT_EQ(folded.size(), 1u);
    EXPECT_EQ(folded[0].substr(16), u":1");

    FakeEditor restarted(5);
    MemoFoldState fresh;
    restarted.Apply(RecomputeFolds(fresh, Doc(text, Dividers()), restarted, folded));
    EXPECT_EQ(restarted.ContractedLines(), (std::vector<int> {2}));
}

TEST(ToggleFoldAtLine, SetsMissingLevelsBeforeFolding) {
    Folding f;
    f.editor.levels[5] = kFoldLevelBase;
    f.editor.levels[6] = kFoldLevelBase;
    const FoldPlan plan = f.Toggle(4);
    EXPECT_EQ(plan.ops.size(), 3u);  // two levels, then the fold
    EXPECT_EQ(f.editor.levels[5], kFoldLevelBody);
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {4}));
}

TEST(ToggleFoldOfEntry, SetsTheLevelsOfAMemoWithoutFoldMarks) {
    Folding f;
    f.editor.levels.assign(10, kFoldLevelBase);
    f.editor.Apply(ToggleFoldOfEntry(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 24));
    EXPECT_EQ(f.editor.levels[4], kFoldLevelHeader);
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {4}));
}

TEST(ToggleFoldAtLine, PrunesTheSetToLiveKeysPastOneHundred) {
    Folding f;
    for (int i = 0; i < 100; ++i) f.folded.push_back(FormatFoldKey(static_cast<std::uint64_t>(i), 0));
    const std::u16string firstLive = Items(kThreeMemos, Dividers())[1].key;
    f.folded[50] = firstLive;
    f.Toggle(4);
    EXPECT_EQ(f.folded, (std::vector<std::u16string> {firstLive, Items(kThreeMemos, Dividers())[2].key}));
}

TEST(ToggleFoldAtLine, KeepsTheSetAtOneHundredUnpruned) {
    Folding f;
    for (int i = 0; i < 99; ++i) f.folded.push_back(FormatFoldKey(static_cast<std::uint64_t>(i), 0));
    f.Toggle(4);
    EXPECT_EQ(f.folded.size(), 100u);
}

TEST(ToggleFoldAtLine, NothingWithMemoFoldOffOrReadOnly) {
    Folding f;
    FoldDocument document = Doc(kThreeMemos, Dividers());
    document.memoFold = false;
    EXPECT_TRUE(ToggleFoldAtLine(f.state, document, f.editor, f.folded, 1, std::nullopt).Empty());
    document.memoFold = true;
    document.readOnly = true;
    EXPECT_TRUE(ToggleFoldAtLine(f.state, document, f.editor, f.folded, 1, std::nullopt).Empty());
}

TEST(ToggleFoldOfEntry, FindsTheMemoByItsStartIndex) {
    Folding f;
    const FoldPlan plan = ToggleFoldOfEntry(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 12);
    f.editor.Apply(plan);
    EXPECT_EQ(plan.notice, (FoldNotice {12, true}));
    EXPECT_EQ(f.editor.ContractedLines(), (std::vector<int> {1}));
    EXPECT_TRUE(ToggleFoldOfEntry(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 0).Empty());
    EXPECT_TRUE(ToggleFoldOfEntry(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 13).Empty());
}

TEST(RevealIndex, UnfoldsTheMemoAroundAHiddenIndexAndForgetsIt) {
    Folding f;
    f.Toggle(1);
    ASSERT_EQ(f.folded.size(), 1u);
    EXPECT_TRUE(RevealIndex(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 7).Empty());  // the visible header
    const FoldPlan plan = RevealIndex(Doc(kThreeMemos, Dividers()), f.editor, f.folded, 16);
    f.editor.Apply(plan);
    EXPECT_TRUE(f.editor.IsLineVisible(3));
    EXPECT_TRUE(f.folded.empty());
    EXPECT_TRUE(plan.foldedChanged);
    EXPECT_EQ(plan.notice, (FoldNotice {12, false}));
}

TEST(RevealIndex, EnsuresVisibilityOfALineOutsideAnyMemo) {
    // Lines: 0 Intro, 1 more, 2 ---, 3 A, 4 a, 5 (empty); a stale fold hides line 1.
    const std::u16string text = u"Intro\r\nmore\r\n---\r\nA\r\na\r\n";
    FakeEditor editor(6);
    editor.levels[0] = kFoldLevelHeader;
    editor.levels[1] = kFoldLevelBody;
    editor.expanded[0] = 0;
    std::vector<std::u16string> folded;
    const FoldPlan plan = RevealIndex(Doc(text, Dividers()), editor, folded, 8);
    EXPECT_TRUE(plan.refreshSidebarFolds);
    EXPECT_FALSE(plan.notice.has_value());
    editor.Apply(plan);
    EXPECT_TRUE(editor.IsLineVisible(1));
}

}  // namespace
}  // namespace quillpane

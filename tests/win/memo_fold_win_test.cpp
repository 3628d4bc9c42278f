// Memo folds and the section commands against a real Scintilla window set up
// as the panel sets it up.
#include "app/app_win.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "app/editor_settings_win.h"
#include "resources/messages.h"
#include "sections/memo_fold_win.h"
#include "sections/section_commands_win.h"
#include "sections/section_list.h"
#include "settings/config.h"
#include "support/temp_dir.h"

#include <Scintilla.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quillpane {
namespace {

constexpr RECT kArea {4, 30, 636, 436};
constexpr char16_t kDivider[] = u"------------------------------";

std::u16string Div() {
    return kDivider;
}

// Routes the editor's notifications and the fold timer as the panel does.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<App*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (app != nullptr && message == WM_NOTIFY) {
        const auto& notification = *reinterpret_cast<const SCNotification*>(lParam);
        if (notification.nmhdr.hwndFrom == app->editor.hwnd) {
            if (notification.nmhdr.code == SCN_MODIFIED && OnScintillaModified(app->editor.text, notification)) {
                OnDocumentChanged(ContextOf(app->editor.text));
            }
            OnMemoFoldNotify(app->editor, app->folds, app->config.sidebar.folded, notification);
        }
        return 0;
    }
    if (app != nullptr && message == WM_TIMER && wParam == kTimerMemoFolds) {
        ::KillTimer(hwnd, kTimerMemoFolds);
        RefreshMemoFolds(*app);
        return 0;
    }
    if (app != nullptr && OnEditorRequest(*app, message, wParam, lParam)) return 0;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class MemoFoldWin : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QpMemoFoldTestParent";
        ::RegisterClassW(&windowClass);
        ASSERT_TRUE(RegisterEditorClass(windowClass.hInstance));
    }

    void TearDown() override { Close(); }

    // A fresh application record (as after a start) with the editor holding text.
    void Open(const std::u16string& text, const Config& config) {
        Close();
        app_ = std::make_unique<App>();
        app_->instance = ::GetModuleHandleW(nullptr);
        app_->configPath = dir_.File("config.ini");
        app_->config = config;
        app_->panel = ::CreateWindowExW(0, L"QpMemoFoldTestParent", L"", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 640,
                                        440, nullptr, nullptr, app_->instance, nullptr);
        ASSERT_NE(app_->panel, nullptr);
        ::SetWindowLongPtrW(app_->panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app_.get()));
        app_->config.editor.wordWrap = WordWrap::NoWrap;
        WireEditor(*app_);
        ASSERT_TRUE(CreateEditor(app_->editor, kArea, u"", true));
        LoadEditorText(app_->editor.text, text);
        RefreshMemoFolds(*app_);
    }

    void Close() {
        if (app_ != nullptr && app_->panel != nullptr) {
            ::SetWindowLongPtrW(app_->panel, GWLP_USERDATA, 0);
            ::DestroyWindow(app_->panel);
        }
        app_.reset();
    }

    static Config FoldingConfig(SectionMarkerRole role = SectionMarkerRole::Separator) {
        Config config;
        config.editor.memoFold = true;
        config.editor.sectionMarkerRole = role;
        return config;
    }

    LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(app_->editor.hwnd, message, wParam, lParam);
    }
    std::u16string Text() const { return GetEditorText(app_->editor.sci); }
    void PutCaretOnLine(int line) const { Sci(SCI_GOTOPOS, static_cast<WPARAM>(Sci(SCI_POSITIONFROMLINE, line))); }
    bool Visible(int line) const { return Sci(SCI_GETLINEVISIBLE, static_cast<WPARAM>(line)) != 0; }
    bool Expanded(int line) const { return Sci(SCI_GETFOLDEXPANDED, static_cast<WPARAM>(line)) != 0; }
    std::size_t SelectionStart() const {
        return ToIndex(app_->editor.text.adapter, app_->editor.text.model, static_cast<std::size_t>(Sci(SCI_GETSELECTIONSTART)));
    }
    std::size_t SelectionEnd() const {
        return ToIndex(app_->editor.text.adapter, app_->editor.text.model, static_cast<std::size_t>(Sci(SCI_GETSELECTIONEND)));
    }
    [[nodiscard]] std::vector<std::u16string> FoldedOnDisk() const {
        return LoadConfig(app_->configPath).sidebar.folded;
    }

    testing::TempDir dir_;
    std::unique_ptr<App> app_;
};

TEST_F(MemoFoldWin, InsertMarkerPutsTheDividerAndALineBreakAtTheCaretAsOneUndoStep) {
    Open(u"abc", Config {});
    Sci(SCI_GOTOPOS, 1);
    InsertMarkerCommand(app_->editor);
    EXPECT_EQ(Text(), u"a" + Div() + u"\r\nbc");
    EXPECT_EQ(SelectionStart(), 33u);
    EXPECT_EQ(SelectionEnd(), 33u);
    ASSERT_TRUE(Undo(ContextOf(app_->editor.text)));
    EXPECT_EQ(Text(), u"abc");
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
}

TEST_F(MemoFoldWin, InsertMarkerInTheHeadingRoleReplacesTheSelectionWithThePrefixAndASpace) {
    Config config;
    config.editor.sectionMarkerRole = SectionMarkerRole::Heading;
    Open(u"one\r\ntwo", config);
    Sci(SCI_SETSEL, 5, 8);  // "two"
    InsertMarkerCommand(app_->editor);
    EXPECT_EQ(Text(), u"one\r\n## ");
    EXPECT_EQ(SelectionStart(), 8u);
}

TEST_F(MemoFoldWin, InsertMarkerLeavesAReadOnlyEditorAlone) {
    Open(u"abc", Config {});
    app_->editor.sci.SetReadOnly(true);
    InsertMarkerCommand(app_->editor);
    EXPECT_EQ(Text(), u"abc");
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
}

TEST_F(MemoFoldWin, SelectThisNoteOnADividerSelectsTheMemoBelowWithoutTheDivider) {
    const std::u16string text = u"top\r\n" + Div() + u"\r\nfirst\r\nbody\r\n" + Div() + u"\r\nsecond";
    Open(text, Config {});
    PutCaretOnLine(1);
    Sci(SCI_CHARRIGHT);
    SelectThisNoteCommand(app_->editor);
    const std::size_t memoStart = 5 + 32;
    EXPECT_EQ(SelectionStart(), memoStart);
    EXPECT_EQ(SelectionEnd(), text.find(Div(), memoStart));
}

TEST_F(MemoFoldWin, ToggleAtTheCaretFoldsTheMemoMovesTheCaretToItsDividerAndSavesTheKey) {
    const std::u16string text = u"intro\r\n" + Div() + u"\r\nTitle one\r\nbody\r\n" + Div() + u"\r\nTitle two\r\nmore";
    Open(text, FoldingConfig());
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 2) > 0, true) << "fold margin shown with MemoFold on";
    EXPECT_EQ(Sci(SCI_GETFOLDLEVEL, 0), SC_FOLDLEVELBASE) << "the memo above the first divider has no fold";
    EXPECT_NE(Sci(SCI_GETFOLDLEVEL, 1) & SC_FOLDLEVELHEADERFLAG, 0);
    EXPECT_EQ(Sci(SCI_GETFOLDLEVEL, 2), SC_FOLDLEVELBASE + 1);

    PutCaretOnLine(3);
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    EXPECT_FALSE(Expanded(1));
    EXPECT_FALSE(Visible(2));
    EXPECT_FALSE(Visible(3));
    EXPECT_TRUE(Visible(4));
    EXPECT_EQ(Sci(SCI_LINEFROMPOSITION, static_cast<WPARAM>(Sci(SCI_GETCURRENTPOS))), 1) << "caret left the hidden part";
    ASSERT_EQ(app_->config.sidebar.folded.size(), 1u);
    EXPECT_EQ(FoldedOnDisk(), app_->config.sidebar.folded);

    // On the divider line itself Ctrl+\ unfolds again and forgets the key.
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    EXPECT_TRUE(Visible(2));
    EXPECT_TRUE(Expanded(1));
    EXPECT_TRUE(app_->config.sidebar.folded.empty());
    EXPECT_TRUE(FoldedOnDisk().empty());
}

TEST_F(MemoFoldWin, ADoubleClickInTheFoldMarginTogglesOnce) {
    Open(Div() + u"\r\nmemo\r\nbody", FoldingConfig());
    OnFoldMarginClick(app_->editor, app_->folds, app_->config.sidebar.folded, 0);
    OnFoldMarginClick(app_->editor, app_->folds, app_->config.sidebar.folded, 0);
    EXPECT_FALSE(Expanded(0));
    EXPECT_FALSE(Visible(1));
}

TEST_F(MemoFoldWin, AfterARestartTheSecondOfTwoIdenticalMemosIsFoldedAgain) {
    const std::u16string memo = Div() + u"\r\nsame\r\nbody\r\n";
    const std::u16string text = u"top\r\n" + memo + memo;
    Open(text, FoldingConfig());
    PutCaretOnLine(5);
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    ASSERT_EQ(app_->config.sidebar.folded.size(), 1u);
    EXPECT_EQ(app_->config.sidebar.folded[0].substr(16), u":1");

    // A new start: the configuration from disk, a new editor, the same text.
    Open(text, LoadConfig(dir_.File("config.ini")));
    ASSERT_EQ(app_->config.sidebar.folded.size(), 1u);
    EXPECT_TRUE(Expanded(1));
    EXPECT_TRUE(Visible(2));
    EXPECT_FALSE(Expanded(4));
    EXPECT_FALSE(Visible(5));
    EXPECT_FALSE(Visible(6));
    EXPECT_TRUE(Visible(7));
}

TEST_F(MemoFoldWin, EditingAFoldedMemoUnfoldsItAtTheNextRecompute) {
    Open(Div() + u"\r\nmemo\r\nbody\r\n" + Div() + u"\r\nnext\r\nmore", FoldingConfig());
    PutCaretOnLine(0);
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    ASSERT_FALSE(Visible(1));
    Sci(SCI_INSERTTEXT, static_cast<WPARAM>(Sci(SCI_POSITIONFROMLINE, 2)), reinterpret_cast<LPARAM>("x"));
    ASSERT_FALSE(Visible(2)) << "the component leaves showing to the program";
    RefreshMemoFolds(*app_);
    EXPECT_TRUE(Visible(1)) << "its key changed with its text";
}

TEST_F(MemoFoldWin, SwitchingMemoFoldOffShowsEveryLineAndKeepsTheKeys) {
    Open(Div() + u"\r\nmemo\r\nbody", FoldingConfig());
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    ASSERT_FALSE(Visible(1));
    app_->config.editor.memoFold = false;
    RefreshMemoFolds(*app_);
    EXPECT_TRUE(Visible(1));
    EXPECT_EQ(Sci(SCI_GETFOLDLEVEL, 0), SC_FOLDLEVELBASE);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 2), 0);
    EXPECT_EQ(app_->config.sidebar.folded.size(), 1u);

    app_->config.editor.memoFold = true;
    RefreshMemoFolds(*app_);
    EXPECT_FALSE(Visible(1)) << "the same fold comes back";
}

TEST_F(MemoFoldWin, RevealingAnIndexInAFoldedMemoUnfoldsItAndForgetsTheKey) {
    const std::u16string text = Div() + u"\r\nmemo\r\nbody";
    Open(text, FoldingConfig());
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    ASSERT_FALSE(Visible(2));
    RevealTextIndex(app_->editor, app_->config.sidebar.folded, text.find(u"body"));
    EXPECT_TRUE(Visible(2));
    EXPECT_TRUE(FoldedOnDisk().empty());
}

TEST_F(MemoFoldWin, RoleCommandsChangeTheRoleSaveItAndRefold) {
    Open(u"## A\r\ntext\r\n## B\r\nmore", FoldingConfig());
    EXPECT_EQ(Sci(SCI_GETFOLDLEVEL, 0), SC_FOLDLEVELBASE);
    SetRoleCommand(*app_, 1168);
    EXPECT_EQ(app_->config.editor.sectionMarkerRole, SectionMarkerRole::Heading);
    EXPECT_EQ(LoadConfig(app_->configPath).editor.sectionMarkerRole, SectionMarkerRole::Heading);
    EXPECT_NE(Sci(SCI_GETFOLDLEVEL, 0) & SC_FOLDLEVELHEADERFLAG, 0) << "headings fold now";
    SetRoleCommand(*app_, 1167);
    EXPECT_EQ(LoadConfig(app_->configPath).editor.sectionMarkerRole, SectionMarkerRole::Separator);
    EXPECT_EQ(Sci(SCI_GETFOLDLEVEL, 0), SC_FOLDLEVELBASE);
}

TEST_F(MemoFoldWin, MovingTheLastMemoFirstIsOneUndoStep) {
    const std::u16string text = Div() + u"\r\nA\r\n" + Div() + u"\r\nB\r\n" + Div() + u"\r\nC\r\n";
    Open(text, FoldingConfig());
    const SectionScan scan = BuildSections(text, MarkerSettingsOf(app_->config.editor), 0);
    ASSERT_EQ(scan.entries.size(), 3u);
    const std::size_t startOfC = scan.entries[2].startIndex;

    EXPECT_EQ(MoveMemoCommand(app_->editor, app_->folds, app_->config.sidebar.folded, 2, 0, 2, startOfC), -2) << "a stale count is refused";
    EXPECT_EQ(MoveMemoCommand(app_->editor, app_->folds, app_->config.sidebar.folded, 2, 0, 3, startOfC + 1), -2) << "a stale start is refused";
    EXPECT_EQ(MoveMemoCommand(app_->editor, app_->folds, app_->config.sidebar.folded, 1, 2, 3, scan.entries[1].startIndex), -1) << "right after itself";
    EXPECT_FALSE(CanUndo(app_->editor.text.history));

    EXPECT_EQ(MoveMemoCommand(app_->editor, app_->folds, app_->config.sidebar.folded, 2, 0, 3, startOfC), 0);
    EXPECT_EQ(Text(), Div() + u"\r\nC\r\n" + Div() + u"\r\nA\r\n" + Div() + u"\r\nB\r\n");
    EXPECT_EQ(SelectionStart(), 32u) << "caret at the moved memo";
    ASSERT_TRUE(Undo(ContextOf(app_->editor.text)));
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
}

TEST_F(MemoFoldWin, AMovedFoldedMemoStaysFolded) {
    const std::u16string text = Div() + u"\r\nA\r\na\r\n" + Div() + u"\r\nB\r\nb\r\n";
    Open(text, FoldingConfig());
    PutCaretOnLine(3);
    ToggleFoldAtCaret(app_->editor, app_->folds, app_->config.sidebar.folded);
    ASSERT_FALSE(Visible(4));
    const SectionScan scan = BuildSections(text, MarkerSettingsOf(app_->config.editor), 0);
    ASSERT_EQ(MoveMemoCommand(app_->editor, app_->folds, app_->config.sidebar.folded, 1, 0, 2, scan.entries[1].startIndex), 0);
    EXPECT_FALSE(Expanded(0));
    EXPECT_FALSE(Visible(1));
    EXPECT_TRUE(Expanded(3));
    EXPECT_TRUE(Visible(4));
}

// The sidebar's handle drag: press, hold, move, release. A refused move
// (a read-only memo) changes nothing; an allowed one is one undo step.
TEST_F(MemoFoldWin, SidebarHandleDragMovesAMemoUnlessRefused) {
    const std::u16string text = Div() + u"\r\nA\r\n" + Div() + u"\r\nB\r\n" + Div() + u"\r\nC\r\n";
    Open(text, Config {});
    ::ShowWindow(app_->panel, SW_SHOWNOACTIVATE);
    HeadingSidebar& sidebar = app_->sidebar;
    ASSERT_TRUE(CreateSidebar(sidebar, app_->panel, app_->instance));
    PlaceSidebar(sidebar, RECT {400, 30, 636, 436}, true);
    RebuildSidebar(sidebar);
    ASSERT_EQ(::SendMessageW(sidebar.list, LB_GETCOUNT, 0, 0), 3);

    const auto rowPoint = [&](int row, int x, bool lower) {
        RECT rect {};
        ::SendMessageW(sidebar.list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return MAKELPARAM(rect.left + x, lower ? rect.bottom - 3 : rect.top + 3);
    };
    const auto drag = [&](int from, int to) {
        ::SendMessageW(sidebar.list, WM_LBUTTONDOWN, MK_LBUTTON, rowPoint(from, 10, false));
        ::Sleep(250);  // held long enough to arm
        ::SendMessageW(sidebar.list, WM_MOUSEMOVE, MK_LBUTTON, rowPoint(from, 10, true));
        ::SendMessageW(sidebar.list, WM_MOUSEMOVE, MK_LBUTTON, rowPoint(to, 40, false));
        ::SendMessageW(sidebar.list, WM_LBUTTONUP, 0, rowPoint(to, 40, false));
    };

    app_->editor.sci.SetReadOnly(true);
    drag(2, 0);
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
    EXPECT_EQ(::SendMessageW(sidebar.list, LB_GETCOUNT, 0, 0), 3) << "rebuilt after the refusal";

    app_->editor.sci.SetReadOnly(false);
    drag(2, 0);
    EXPECT_EQ(Text(), Div() + u"\r\nC\r\n" + Div() + u"\r\nA\r\n" + Div() + u"\r\nB\r\n");
    EXPECT_EQ(::SendMessageW(sidebar.list, LB_GETCURSEL, 0, 0), 0) << "the moved memo is selected";
    ASSERT_TRUE(Undo(ContextOf(app_->editor.text)));
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
}

// The search on the editor through the same application record.
using SearchWin = MemoFoldWin;

TEST_F(SearchWin, HighlightFindAndCountPerMemoWithoutWrapAround) {
    const std::u16string text = u"aaaa\r\n" + Div() + u"\r\nxAA aa\r\n";
    Open(text, Config {});
    WireSearch(*app_);
    const auto marked = [&](int indicator, std::size_t index) {
        const std::size_t position = ToBytePosition(app_->editor.text.adapter, app_->editor.text.model, index);
        return Sci(SCI_INDICATORVALUEAT, static_cast<WPARAM>(indicator), static_cast<LPARAM>(position)) != 0;
    };
    SetSelection16(app_->editor, Selection {0, 2});
    HighlightSelectionOrWord(*app_);
    EXPECT_EQ(app_->search.term, u"aa");
    EXPECT_EQ(app_->config.search.history, (std::vector<std::u16string> {u"aa"}));
    EXPECT_TRUE(marked(1, 0)) << "the selected match is the current one";
    EXPECT_TRUE(marked(0, 2));
    EXPECT_FALSE(marked(0, 1) && !marked(1, 1)) << "no overlapping match at 1";

    FindInEditor(*app_, true);
    EXPECT_EQ(SelectionStart(), 2u);
    FindInEditor(*app_, true);
    FindInEditor(*app_, true);
    const std::size_t last = text.find(u" aa") + 1;
    EXPECT_EQ(SelectionStart(), last);
    FindInEditor(*app_, true);
    EXPECT_EQ(SelectionStart(), last) << "no wrap-around";
    SetSelection16(app_->editor, Selection {0, 0});
    FindInEditor(*app_, false);
    EXPECT_EQ(SelectionEnd(), 0u);

    SectionList entries = BuildSections(text, MarkerSettingsOf(app_->config.editor), 0).entries;
    ASSERT_EQ(entries.size(), 2u);
    app_->sidebar.countHits(entries);
    EXPECT_EQ(entries[0].hitCount, 2u);
    EXPECT_EQ(entries[1].hitCount, 2u);

    EXPECT_TRUE(ClearHighlight(*app_));
    EXPECT_FALSE(marked(0, 2));
    EXPECT_FALSE(ClearHighlight(*app_)) << "nothing left to clear: Esc hides the panel";
}

TEST_F(SearchWin, ReplaceAndReplaceAllAreOneUndoStepAndRefusedWhenReadOnly) {
    Open(u"aaaa", Config {});
    app_->editor.sci.SetReadOnly(true);
    EXPECT_EQ(ReplaceAll(*app_, u"aa", u"b").outcome, ReplaceOutcome::ReadOnly);
    EXPECT_EQ(ReplaceOne(*app_, u"aa", u"b").outcome, ReplaceOutcome::ReadOnly);
    EXPECT_EQ(Text(), u"aaaa");
    app_->editor.sci.SetReadOnly(false);

    const ReplaceResult all = ReplaceAll(*app_, u"AA\r\nignored", u"b");
    EXPECT_EQ(all.outcome, ReplaceOutcome::Replaced);
    EXPECT_EQ(all.count, 2u);
    EXPECT_EQ(Text(), u"bb");
    ASSERT_TRUE(Undo(ContextOf(app_->editor.text)));
    EXPECT_EQ(Text(), u"aaaa");
    EXPECT_FALSE(CanUndo(app_->editor.text.history));
    EXPECT_EQ(ReplaceAll(*app_, u"zz", u"b").outcome, ReplaceOutcome::NotFound);

    // The selection on an occurrence that differs in case is the one replaced; the next is selected.
    Open(u"x AA aa", Config {});
    SetSelection16(app_->editor, Selection {2, 4});
    EXPECT_EQ(ReplaceOne(*app_, u"aa", u"bbb").outcome, ReplaceOutcome::Replaced);
    EXPECT_EQ(Text(), u"x bbb aa");
    EXPECT_EQ(SelectionStart(), 6u);
    EXPECT_EQ(SelectionEnd(), 8u);
}

}  // namespace
}  // namespace quillpane

// Where the search dialog, its controls, its history list and a found match go.
#include "app/search_dialog_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(SearchDialogRules, LayoutFollowsTheWidthTheRowAndTheClearButton) {
    const int b = 100;
    const SearchDialogLayout plain = LayoutSearchDialog(400, 96, b, false, false, false);
    EXPECT_EQ(plain.searchFrame, (Rect {42, 10, 289, 40}));
    EXPECT_EQ(plain.searchEdit, (Rect {46, 14, 285, 36}));
    EXPECT_EQ(plain.close, (Rect {361, 10, 389, 40}));
    // The text ends 2 px before the search button, or before the clear button once there is text.
    EXPECT_EQ(plain.searchText, (Rect {6, 1, 265 - 2 - 46, 21}));
    EXPECT_EQ(LayoutSearchDialog(400, 96, b, false, true, false).searchText.right, 243 - 2 - 46);
    EXPECT_EQ(plain.replaceAll, Rect {}) << "no replace row";

    const SearchDialogLayout row = LayoutSearchDialog(400, 96, b, true, true, true);
    EXPECT_EQ(row.replaceAll, (Rect {289, 48, 389, 78}));
    EXPECT_EQ(row.replace, (Rect {181, 48, 281, 78}));
    EXPECT_EQ(row.replaceFrame, (Rect {42, 48, 173, 78}));
    EXPECT_EQ(row.clearReplace, (Rect {149, 54, 167, 72}));

    // Too narrow a width is laid out at the minimum: 179 + 2B here.
    EXPECT_EQ(SearchDialogMinWidth(96, 80), 339);
    EXPECT_EQ(SearchDialogMinWidth(96, 40), 300);
    EXPECT_EQ(LayoutSearchDialog(100, 96, 80, false, false, false).close.right, 339 - 11);
    EXPECT_EQ(SearchDialogHeight(144, true), 129);
}

TEST(SearchDialogRules, DialogAndHistoryListStayInsideTheWorkArea) {
    const Rect work {0, 0, 1000, 800};
    EXPECT_EQ(PlaceSearchDialog({100, 100}, {300, 48}, work, 96), (Rect {124, 124, 424, 172}));
    EXPECT_EQ(PlaceSearchDialog({900, 780}, {300, 48}, work, 96), (Rect {692, 744, 992, 792}));
    EXPECT_EQ(PlaceSearchDialog({-500, -50}, {300, 48}, work, 96), (Rect {8, 8, 308, 56}));

    // Six rows at most, under the box or, without room there, above it.
    const Rect box {100, 100, 300, 122};
    EXPECT_EQ(PlaceHistoryList(box, 8, work, 96), (Rect {100, 124, 300, 248}));
    EXPECT_EQ(PlaceHistoryList(box, 2, work, 96).Height(), 44);
    EXPECT_EQ(PlaceHistoryList({100, 700, 300, 722}, 8, work, 96), (Rect {100, 574, 300, 698}));
    EXPECT_EQ(PlaceHistoryList({100, 50, 300, 72}, 8, {0, 0, 1000, 150}, 96).top, 0);

    EXPECT_EQ(MoveHistoryHighlight(0, -1, 8), 0);
    EXPECT_EQ(MoveHistoryHighlight(6, 1, 8), 7);
    EXPECT_EQ(MoveHistoryHighlight(7, 1, 8), 7);
    EXPECT_EQ(MoveHistoryHighlight(-1, 1, 8), 0);
}

TEST(SearchDialogRules, FoundMatchIsScrolledIntoViewAndOutFromUnderTheDialog) {
    struct Case {
        int matchTop;
        bool dialogOpen;
        int firstVisible;
        MatchStep expected;
    };
    // Client 0..400, lines of 20 px, the dialog over 0..48.
    const Case cases[] = {
        {-45, false, 10, {MatchMove::Scroll, -3}},
        {410, false, 0, {MatchMove::Scroll, 2}},
        {200, true, 5, {}},                                // clear of the dialog
        {20, true, 5, {MatchMove::Scroll, -4}},            // (48 - 20) / 20 + 3
        {20, true, 2, {MatchMove::Scroll, -2}},            // no more lines above
        {20, true, 0, {MatchMove::MoveDialog, 0}},         // the text cannot move
        {385, true, 9, {MatchMove::Scroll, 1}},            // half out at the bottom
    };
    for (const Case& c : cases) {
        MatchView view;
        view.matchTop = c.matchTop;
        view.lineHeight = 20;
        view.clientBottom = 400;
        view.dialogOpen = c.dialogOpen;
        view.dialogBottom = 48;
        view.firstVisibleLine = c.firstVisible;
        const MatchStep step = NextMatchStep(view);
        EXPECT_EQ(step.move, c.expected.move) << c.matchTop;
        EXPECT_EQ(step.lines, c.expected.lines) << c.matchTop;
    }
    // Moving the text down would push a covered match out at the bottom: the dialog moves.
    MatchView low;
    low.matchTop = 360;
    low.lineHeight = 20;
    low.clientBottom = 400;
    low.dialogOpen = true;
    low.dialogTop = 340;
    low.dialogBottom = 388;
    low.firstVisibleLine = 50;
    EXPECT_EQ(NextMatchStep(low).move, MatchMove::MoveDialog);

    const Rect work {0, 0, 1000, 800};
    EXPECT_EQ(DialogTopClearOf(100, 120, 90, 48, work, 96), 128) << "below the match";
    EXPECT_EQ(DialogTopClearOf(760, 780, 750, 48, work, 96), 704) << "above it without room below";
    EXPECT_EQ(DialogTopClearOf(30, 50, 20, 48, {0, 0, 1000, 100}, 96), 44) << "kept inside";
}

TEST(SearchDialogRules, AcceleratorsAreTakenOutOfLabels) {
    EXPECT_EQ(StripAccelerator(u"検索(&F)"), u"検索");
    EXPECT_EQ(StripAccelerator(u"Search (&F)"), u"Search");
    EXPECT_EQ(StripAccelerator(u"&Replace All"), u"Replace All");
    EXPECT_EQ(StripAccelerator(u"Fish & Chips & more"), u"Fish  Chips & more");
    EXPECT_EQ(StripAccelerator(u"Close"), u"Close");
}

}  // namespace
}  // namespace quillpane

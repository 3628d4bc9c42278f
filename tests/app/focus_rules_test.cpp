// When losing the foreground hides the panel.
#include "app/focus_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(FocusRules, ProcessesAreRecognisedByFileNameIgnoringCase) {
    EXPECT_EQ(ClassifyProcess(u"C:\\Windows\\System32\\TabTip.EXE"), ProcessKind::InputHost);
    EXPECT_EQ(ClassifyProcess(u"C:\\Windows\\SystemApps\\x\\StartMenuExperienceHost.exe"), ProcessKind::ShellHost);
    EXPECT_EQ(ClassifyProcess(u"C:\\Windows\\explorer.exe"), ProcessKind::Explorer);
    EXPECT_EQ(ClassifyProcess(u"D:\\Tools\\lullshift.exe"), ProcessKind::SiblingTool);
    EXPECT_EQ(ClassifyProcess(u"C:\\Apps\\notepad.exe"), ProcessKind::Other);
    EXPECT_EQ(ClassifyProcess(u"C:\\Apps\\not-ctfmon.exe"), ProcessKind::Other);
    EXPECT_EQ(ClassifyProcess(u""), ProcessKind::Other);
}

TEST(FocusRules, ShellSurfaces) {
    EXPECT_TRUE(IsShellSurface({ProcessKind::Explorer, u"Shell_TrayWnd"}));
    EXPECT_FALSE(IsShellSurface({ProcessKind::Explorer, u"CabinetWClass"}));
    EXPECT_FALSE(IsShellSurface({ProcessKind::Explorer, u"WorkerW"}));
    EXPECT_TRUE(IsShellSurface({ProcessKind::InputHost, u"Any"}));
    EXPECT_FALSE(IsShellSurface({ProcessKind::Other, u"Notepad"}));
    ForeignWindow tool {ProcessKind::Other, u"Tip", false, true, false};
    EXPECT_TRUE(IsShellSurface(tool));
    tool.appWindow = true;
    EXPECT_FALSE(IsShellSurface(tool));
    EXPECT_TRUE(IsShellSurface({ProcessKind::Other, u"Osk", true, false, false}));
}

TEST(FocusRules, WithoutHoldsOnlyOwnWindowsAndShellSurfacesAreExempt) {
    FocusHolds holds;
    EXPECT_FALSE(IsHideExempt(holds, 100, {}));
    EXPECT_TRUE(IsHideExempt(holds, 100, {true, true, 1, false}));
    EXPECT_FALSE(IsHideExempt(holds, 100, {true, false, 2, false}));
    EXPECT_TRUE(IsHideExempt(holds, 100, {true, false, 2, true}));
    holds.voiceGraceUntil = 2600;
    EXPECT_TRUE(IsHideExempt(holds, 2599, {true, false, 2, false}));
    EXPECT_FALSE(IsHideExempt(holds, 2600, {true, false, 2, false}));
}

TEST(FocusRules, ShareHoldRecordsTheSheetAndEndsOnAnUnrelatedWindow) {
    FocusHolds holds;
    holds.shareHold = {true, 5000, 0};
    EXPECT_TRUE(IsHideExempt(holds, 1000, {}));
    EXPECT_TRUE(IsHideExempt(holds, 1000, {true, false, 42, false}));
    EXPECT_EQ(holds.shareHold.windowProcess, 42u);
    // After the 4 s the sheet's process still keeps the panel up...
    EXPECT_TRUE(IsHideExempt(holds, 9000, {true, false, 42, false}));
    // ...another program ends the hold.
    EXPECT_FALSE(IsHideExempt(holds, 9000, {true, false, 7, false}));
    EXPECT_FALSE(holds.shareHold.active);
}

TEST(FocusRules, ExpiredShareHoldEndsOnOwnActivation) {
    FocusHolds holds;
    holds.shareHold = {true, 5000, 0};
    ExpireShareHold(holds, 4999);
    EXPECT_TRUE(holds.shareHold.active);
    ExpireShareHold(holds, 5000);
    EXPECT_FALSE(holds.shareHold.active);
}

}  // namespace
}  // namespace quillpane

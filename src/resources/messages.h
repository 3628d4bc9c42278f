// Private panel messages, command ids and timer ids: the contract between the
// panel, the editor, the sections, the menus and the dialogs.
#pragma once

namespace quillpane {

inline constexpr unsigned kWmApp = 0x8000;

inline constexpr unsigned PM_TRAYNOTIFY = kWmApp + 1;
inline constexpr unsigned PM_SHOWTRAYMENU = kWmApp + 2;
inline constexpr unsigned PM_MOREMENU = kWmApp + 3;
inline constexpr unsigned PM_ESCAPE = kWmApp + 40;
inline constexpr unsigned PM_FIND = kWmApp + 41;
inline constexpr unsigned PM_FINDNEXT = kWmApp + 42;
inline constexpr unsigned PM_EDITORMENU = kWmApp + 43;
inline constexpr unsigned PM_ZOOMSTEP = kWmApp + 44;
inline constexpr unsigned PM_ZOOMRESET = kWmApp + 45;
inline constexpr unsigned PM_SAVENOW = kWmApp + 46;
inline constexpr unsigned PM_REPLACE = kWmApp + 47;
inline constexpr unsigned PM_GOTOLINE = kWmApp + 48;
inline constexpr unsigned PM_HEADINGLIST = kWmApp + 50;
inline constexpr unsigned PM_TOGGLESIDEBAR = kWmApp + 51;
inline constexpr unsigned PM_CARETLINE = kWmApp + 52;
// To the sidebar: the search asks for fresh hit counts.
inline constexpr unsigned PM_SIDEBARRECOUNT = kWmApp + 53;
inline constexpr unsigned PM_SIDEBARDRAG = kWmApp + 54;
// Sent (not posted) by the layers below the panel for what only the panel
// may do: write config.ini, repaint the sections' views, run a fold command.
inline constexpr unsigned PM_SAVECONFIG = kWmApp + 60;
inline constexpr unsigned PM_SECTIONSCHANGED = kWmApp + 61;
// wParam: the line whose memo folds or unfolds; lParam 1 for a margin click
// (double-click rules), 0 for the key at the selection start.
inline constexpr unsigned PM_TOGGLEFOLD = kWmApp + 62;
// Posted on activation: the phone inbox is looked into once the focus settled.
inline constexpr unsigned PM_CHECKINBOX = kWmApp + 63;
// Posted by the editor on a double-click at a line end: the search marks go.
inline constexpr unsigned PM_CLEARHIGHLIGHT = kWmApp + 64;

inline constexpr unsigned IDM_SHOWPANEL = 1001;
inline constexpr unsigned IDM_ABOUT = 1002;
inline constexpr unsigned IDM_EXIT = 1003;
inline constexpr unsigned IDM_CLOSEONFOCUSLOST = 1005;
inline constexpr unsigned IDM_FIND = 1006;
inline constexpr unsigned IDM_OPENWITH = 1007;
inline constexpr unsigned IDM_SHARE = 1008;
inline constexpr unsigned IDM_ALWAYSONTOP = 1009;
inline constexpr unsigned IDM_UNDO = 1010;
inline constexpr unsigned IDM_CUT = 1011;
inline constexpr unsigned IDM_COPY = 1012;
inline constexpr unsigned IDM_PASTE = 1013;
inline constexpr unsigned IDM_DELETE = 1014;
inline constexpr unsigned IDM_SELECTALL = 1015;
inline constexpr unsigned IDM_INSERTDATETIME = 1016;
inline constexpr unsigned IDM_WEBSEARCH = 1017;
inline constexpr unsigned IDM_REDO = 1018;
inline constexpr unsigned IDM_REPLACE = 1019;
inline constexpr unsigned IDM_SORTASC = 1020;
inline constexpr unsigned IDM_SORTDESC = 1021;
inline constexpr unsigned IDM_REMOVEDUPLICATES = 1022;
inline constexpr unsigned IDM_INSERTDATE = 1023;
inline constexpr unsigned IDM_INSERTTIME = 1024;
inline constexpr unsigned IDM_REMOVEEMPTY = 1025;
inline constexpr unsigned IDM_TRIMTRAILING = 1026;
inline constexpr unsigned IDM_GOTOLINE = 1027;
inline constexpr unsigned IDM_INSERTMARKER = 1028;
inline constexpr unsigned IDM_HIGHLIGHTWORD = 1029;
inline constexpr unsigned IDM_LASTEDIT = 1030;
inline constexpr unsigned IDM_DOCREADME = 1031;
inline constexpr unsigned IDM_DATETIMEMENU = 1033;
inline constexpr unsigned IDM_DOCCHANGELOG = 1035;
inline constexpr unsigned IDM_ABOUT_TRAY = 1036;
inline constexpr unsigned IDM_DUPLICATELINE = 1037;
inline constexpr unsigned IDM_MOVELINEUP = 1038;
inline constexpr unsigned IDM_MOVELINEDOWN = 1039;
inline constexpr unsigned IDM_JOINLINES = 1043;
inline constexpr unsigned IDM_HEADINGLIST = 1044;
inline constexpr unsigned IDM_PHONESYNC = 1045;
inline constexpr unsigned IDM_DOCPHONE = 1046;
inline constexpr unsigned IDM_SELECTNOTE = 1047;
inline constexpr unsigned IDM_WRAP = 1110;
inline constexpr unsigned IDM_NOWRAP = 1111;
inline constexpr unsigned IDM_PITCH_PROPORTIONAL = 1130;
inline constexpr unsigned IDM_PITCH_FIXED = 1131;
inline constexpr unsigned IDM_OPACITY_FIRST = 1160;
inline constexpr unsigned IDM_OPACITY_LAST = 1164;
inline constexpr unsigned IDM_TRANSLUCENT = 1165;
inline constexpr unsigned IDM_MOREMENU = 1166;
inline constexpr unsigned IDM_ROLE_SEPARATOR = 1167;
inline constexpr unsigned IDM_ROLE_HEADING = 1168;
inline constexpr unsigned IDM_SETTINGS = 1169;

// The path submenu of the editor's context menu, carried out by the menu
// itself: listed entries, the "more" item, and the path's own commands.
inline constexpr unsigned kPathEntryFirst = 1200;
inline constexpr unsigned kPathMoreEntries = 1230;
inline constexpr unsigned kPathFolderProperties = 1231;
inline constexpr unsigned kPathOpenContaining = 1232;
inline constexpr unsigned kPathFileProperties = 1233;

// Timer ids of the panel window.
inline constexpr unsigned kTimerAutosave = 1;
inline constexpr unsigned kTimerMemoWatch = 2;
inline constexpr unsigned kTimerLayout = 3;
// The phone bridge's passes over the inbox after it starts.
inline constexpr unsigned kTimerPhonePoll = 4;
// Recomputes the memo folds once typing pauses.
inline constexpr unsigned kTimerMemoFolds = 5;
inline constexpr unsigned kMemoFoldDelayMs = 250;
// A second Exit within this time quits although the memo is unsaved.
inline constexpr unsigned kExitInsistMs = 10000;
// Tries a failed configuration save again.
inline constexpr unsigned kTimerConfigRetry = 6;
// The search overlay and counts follow the text once typing pauses.
inline constexpr unsigned kTimerSearchRefresh = 7;
inline constexpr unsigned kConfigRetryMs = 2000;

// wParam values of the single-instance message.
inline constexpr unsigned kToggleFromSecondLaunch = 2;
inline constexpr unsigned kToggleAtPoint = 1;

}  // namespace quillpane

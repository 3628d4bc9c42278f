// Links in the editor: marked with the link indicator for the lines on
// screen once the text or the view settles, found under the pointer, and
// opened with the shell in a way that never starts a program from the memo.
#pragma once

#include <windows.h>

#include "editor/editor_window_win.h"

#include <optional>
#include <string>

namespace quillpane {

// The editor window's timer that rescans the links once the view settles.
inline constexpr UINT_PTR kLinkTimerId = 0x51704C;
inline constexpr UINT kLinkScanDelayMs = 60;

// After the view or the text changed: schedules a rescan unless the marks
// already cover the lines on screen at this change of the text.
void ScheduleLinkScan(EditorWindow& editor);
// The timer's work: marks the links of the lines on screen and a margin.
void RescanLinks(EditorWindow& editor);
// The marks are gone (new window, DetectLinks switched): mark again.
void ForgetLinkMarks(EditorWindow& editor);

struct LinkSpan {
    Scintilla::Position start = 0;  // bytes
    Scintilla::Position end = 0;
};
// The marked link holding the byte position, brought up to date first.
[[nodiscard]] std::optional<LinkSpan> LinkAt(EditorWindow& editor, Scintilla::Position position);
// The link under a client point (the character the point is on).
[[nodiscard]] std::optional<LinkSpan> LinkAtPoint(EditorWindow& editor, POINT client);
// The same without bringing the marks up to date, for the pointer's shape.
[[nodiscard]] bool MarkedLinkAtPoint(EditorWindow& editor, POINT client);

// A double-click's action on the link.
void OpenLink(EditorWindow& editor, LinkSpan link);
// The file-system path of the link under a screen point, or at the caret.
[[nodiscard]] std::optional<std::u16string> LocalPathOfLink(EditorWindow& editor, std::optional<POINT> screen);

}  // namespace quillpane

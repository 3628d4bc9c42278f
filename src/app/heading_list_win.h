// The heading list dialog: the memos with the line of each title; Enter or
// a double click moves the caret to the chosen memo.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"
#include "sections/section_list.h"

namespace quillpane {

struct App;

inline constexpr wchar_t kHeadingListClassName[] = L"Quillpn.HeadingListDialog";

struct HeadingListDialog {
    HWND window = nullptr;
    HWND list = nullptr;
    HWND jump = nullptr;
    HWND cancel = nullptr;
    HWND lastFocus = nullptr;  // given back when the dialog is activated again
    int dpi = 96;              // from the monitor it opened on; kept while open
    SIZE sizeAtMoveStart {};   // a plain move does not store the size
    SectionList entries;       // the rows, read from the editor on every open
    UniqueFont font;
    UniqueBrush background;
    UniqueBrush listBackground;
    bool brushesDark = false;
};

// Ctrl+L and the menus: opens the dialog, or re-reads and re-places an open one.
void OpenHeadingList(App& app);
void CloseHeadingList(App& app);
[[nodiscard]] bool HeadingListOpen(const App& app);
// Enter and Esc aimed at the dialog, then its tab keys; true when handled.
bool PreTranslateHeadingList(App& app, MSG& message);
void HeadingListThemeChanged(App& app);

}  // namespace quillpane

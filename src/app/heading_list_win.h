// The heading list dialog: the memos with the line of each title; Enter or
// a double click moves the caret to the chosen memo.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;

inline constexpr wchar_t kHeadingListClassName[] = L"Quillpn.HeadingListDialog";

struct HeadingListDialog {
    HWND window = nullptr;
};

// Ctrl+L and the menus: opens the dialog, or re-reads and re-places an open one.
void OpenHeadingList(App& app);
void CloseHeadingList(App& app);
[[nodiscard]] bool HeadingListOpen(const App& app);
// Enter and Esc aimed at the dialog, then its tab keys; true when handled.
bool PreTranslateHeadingList(App& app, MSG& message);
void HeadingListThemeChanged(App& app);

}  // namespace quillpane

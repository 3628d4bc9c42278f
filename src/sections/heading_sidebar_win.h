// The heading sidebar: one row per memo at the panel's right-hand side, with
// fold triangles and drag handles that reorder whole memos.
#pragma once

#include <windows.h>

#include "editor/editor_window_win.h"
#include "platform/handles_win.h"
#include "sections/heading_sidebar.h"
#include "sections/memo_fold_win.h"
#include "settings/config.h"

#include <cstddef>
#include <functional>

namespace quillpane {

inline constexpr wchar_t kSidebarClassName[] = L"Quillpn.HeadingSidebar";

// Press on a handle, held 200 ms (armed), moved 4 px (dragging).
enum class SidebarDragPhase { Idle, Candidate, Armed, Dragging };

struct SidebarDrag {
    SidebarDragPhase phase = SidebarDragPhase::Idle;
    int source = -1;
    std::size_t sourceStart = 0;
    int rowCount = 0;
    POINT press {};
    DWORD pressTime = 0;
    int target = -1;
};

struct HeadingSidebar {
    HWND window = nullptr;
    HWND list = nullptr;

    // Read, never owned: the editor and its folds, [Sidebar] (the toggles
    // change Folded; the panel writes it) and the effective theme.
    EditorWindow* editor = nullptr;
    MemoFolds* folds = nullptr;
    SidebarSettings* settings = nullptr;
    const bool* dark = nullptr;
    int dpi = 96;  // the panel's

    SectionList entries;
    bool handlesShown = false;
    bool pendingRecount = false;
    SidebarDrag drag;
    int wheel = 0;

    SidebarMetrics metrics;
    UniqueFont titleFont;
    UniqueFont subtitleFont;
    UniqueBrush background;

    // Fills the hit counts of the entries from the editor's current text
    // (the search's per-memo count); unset, every count stays 0.
    std::function<void(SectionList& entries)> countHits;
};

// Creates the sidebar hidden inside the panel, with its list.
[[nodiscard]] bool CreateSidebar(HeadingSidebar& sidebar, HWND panel, HINSTANCE instance);
// Shows the sidebar at `area` and lays the list out, or hides it; nothing
// while the panel is hidden.
void PlaceSidebar(HeadingSidebar& sidebar, const RECT& area, bool show);
// The rows from the editor's text now.
void RebuildSidebar(HeadingSidebar& sidebar);
// Rebuilds 250 ms after the last call (the panel calls it on every edit).
void ScheduleSidebarRebuild(HeadingSidebar& sidebar);
// Selects the caret's memo; `line` is the caret's 1-based line.
void SyncSidebarToCaret(HeadingSidebar& sidebar, int line);
void SyncSidebarToCaret(HeadingSidebar& sidebar);
// The panel moved: the list keeps inside the work area.
void OnPanelMoved(HeadingSidebar& sidebar);
void SidebarThemeChanged(HeadingSidebar& sidebar);
void SidebarFontChanged(HeadingSidebar& sidebar);
void SetSidebarDpi(HeadingSidebar& sidebar, int dpi);
// The search asks for fresh hit counts (coalesced by pendingRecount).
void RecountSidebarHits(HeadingSidebar& sidebar);
[[nodiscard]] bool SidebarHasFocus(const HeadingSidebar& sidebar);
void FocusSidebarList(HeadingSidebar& sidebar);

}  // namespace quillpane

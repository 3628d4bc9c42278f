// The editor procedure's state, shared by its keyboard and mouse halves.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace quillpane {

struct EditorWindow;
class EditorDropTarget;

// Identifies the drag timer among the component's own timers.
inline constexpr UINT_PTR kDragTimerId = 0x517073;
inline constexpr UINT kDragTimerMs = 50;

struct EditorProcState {
    EditorWindow* ed = nullptr;
    HWND editor = nullptr;
    int depth = 0;  // active calls of the procedure; hooks run at depth 1 only

    // Line selection by the gutter or a triple-click, in byte positions.
    bool lineDrag = false;
    bool lineAnchorValid = false;
    std::size_t anchorLineStart = 0;
    std::size_t anchorLineEnd = 0;
    POINT pressPoint {};
    bool dragMoved = false;  // left the dead zone around pressPoint
    bool textDrag = false;   // the component tracks a press in the text
    bool dragTimer = false;

    // A press on a link, selected on release over the same link.
    bool linkPress = false;
    POINT linkPressPoint {};
    std::size_t linkPressPosition = 0;

    // The last double-click, for the triple-click.
    bool doubleClickValid = false;
    DWORD doubleClickTime = 0;
    POINT doubleClickPoint {};

    // Input-method composition in progress (history snapshot taken).
    bool composing = false;
    bool overtypeBeforeComposition = false;

    std::optional<std::size_t> lastPostedCaret;  // for PM_CARETLINE
    EditorDropTarget* dropTarget = nullptr;
};

// The state of a window with the editor procedure, or null.
[[nodiscard]] EditorProcState* EditorProcStateOf(HWND editor);

// Mouse messages; nothing when the message is not the mouse half's.
[[nodiscard]] std::optional<LRESULT> HandleEditorMouse(EditorProcState& state, UINT message, WPARAM wParam,
                                                       LPARAM lParam);
// Ends line and text drags, the drag timer and the capture this half took.
void EndEditorDrags(EditorProcState& state);

}  // namespace quillpane

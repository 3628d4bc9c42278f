// The next message for a modal window's own loop.
#pragma once

#include <windows.h>

namespace quillpane {

// False when the loop must end: on an error, or on WM_QUIT (Exit or the
// session's end), which is posted again so that the main loop ends too.
[[nodiscard]] inline bool NextModalMessage(MSG& message) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
    return got > 0;
}

}  // namespace quillpane

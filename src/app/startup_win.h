// Start-up, the message loop and the process exit code.
#pragma once

#include <windows.h>

namespace quillpane {

// Runs the program until Exit; returns the process exit code (0 for a second
// instance that handed over, 1 when the panel or the editor could not be made).
int RunApplication(HINSTANCE instance);

}  // namespace quillpane

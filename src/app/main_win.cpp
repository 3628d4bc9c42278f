// Process entry point.
#include "app/startup_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return quillpane::RunApplication(instance);
}

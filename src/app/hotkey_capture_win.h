// The hotkey capture control: the settings window's button that listens to
// a key combination, with the input method detached while it listens.
#pragma once

#include <windows.h>
#include <imm.h>

#include "app/hotkey_capture.h"

#include <string>

namespace quillpane {

struct CaptureControl {
    HWND button = nullptr;
    HotkeyCapture state;
    int language = 1;
    HIMC detachedContext = nullptr;
    bool imeDetached = false;
};

// A click on the control, Space on it, or a press on it seen by the window's loop.
void StartHotkeyCapture(CaptureControl& control);
void EndHotkeyCapture(CaptureControl& control, bool revert);
// Sets the working copy's hotkey and clears the capture flags.
void LoadHotkeyCapture(CaptureControl& control, const Hotkey& hotkey);

enum class CaptureMessage {
    NotTaken,     // the message goes on as usual
    Taken,        // the capture used or swallowed it
    EnterGoesOn,  // the capture ended; the Enter goes on as the window's
};
// Every keyboard message while capturing, before any other handling.
CaptureMessage HotkeyCaptureKey(CaptureControl& control, const MSG& message);

// The control's text; also set as its window text, so that it can be read.
[[nodiscard]] std::u16string HotkeyCaptureText(const CaptureControl& control);
void RefreshHotkeyCapture(CaptureControl& control);

}  // namespace quillpane

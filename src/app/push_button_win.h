// Push buttons with the program's focus ring: a rounded ring in place of the
// dotted rectangle while the button has the keyboard focus. The heading list
// and the settings window use it.
#pragma once

#include <windows.h>

#include "editor/editor_look.h"

namespace quillpane {

// Set on a button while it has the keyboard focus.
inline constexpr wchar_t kPushFocusProperty[] = L"QpPushFocus";

// Draws the ring on the button while it has the focus; called again on the
// same button it only changes the colour. False when it cannot be hooked.
bool AddPushFocusRing(HWND button, Colour ring);
// The light or dark button look; the dotted focus rectangle stays hidden.
void ThemePushButton(HWND button, bool dark);
// While button has the focus it is the default button, otherwise fallback is.
bool DefaultWhileFocused(HWND button, HWND fallback);
// The same rule applied now: after IsDialogMessageW's Tab, which may clear
// every default button.
void MatchDefaultToFocus(HWND button, HWND fallback);

}  // namespace quillpane

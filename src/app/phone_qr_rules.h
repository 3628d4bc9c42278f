// The phone QR dialog's measures: the symbol's drawn size and where each
// part of the dialog goes, at a DPI.
#pragma once

#include "platform/geometry.h"

namespace quillpane {

// The side of a symbol of `modules` modules with its four-module quiet zone
// on each side: whole pixels per module, at least 2, within about s(176).
[[nodiscard]] int QrDrawnSide(int modules, int dpi);
// Pixels per module for a symbol drawn `side` pixels wide; 0 draws nothing.
[[nodiscard]] int QrModulePixels(int side, int modules);

struct QrDialogLayout {
    Size client;
    Rect title;
    Rect intro;
    Rect qr;  // empty without a symbol
    Rect url;
    Rect homeScreen;
    Rect button;
};

[[nodiscard]] int QrDialogWidth(int dpi);
// The width the two texts wrap to.
[[nodiscard]] int QrTextWidth(int dpi);
// From the measured heights of the two wrapped texts and the symbol's side
// (0 without one).
[[nodiscard]] QrDialogLayout LayoutQrDialog(int dpi, int introHeight, int qrSide, int homeScreenHeight);

}  // namespace quillpane

// The phone QR dialog's measures.
#include "app/phone_qr_rules.h"

#include "platform/dpi.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr int kQuietModules = 8;  // four on each side

}  // namespace

int QrDrawnSide(int modules, int dpi) {
    if (modules <= 0) return 0;
    const int total = modules + kQuietModules;
    return total * std::max(2, Scale(176, dpi) / total);
}

int QrModulePixels(int side, int modules) {
    return modules <= 0 ? 0 : side / (modules + kQuietModules);
}

int QrDialogWidth(int dpi) {
    return Scale(400, dpi);
}

int QrTextWidth(int dpi) {
    return QrDialogWidth(dpi) - 2 * Scale(22, dpi);
}

QrDialogLayout LayoutQrDialog(int dpi, int introHeight, int qrSide, int homeScreenHeight) {
    const auto s = [dpi](int px) { return Scale(px, dpi); };
    QrDialogLayout layout;
    const int left = s(22);
    const int width = QrTextWidth(dpi);
    const int right = left + width;
    layout.title = {left, s(18), right, s(18) + s(26)};
    int y = layout.title.top + s(32);
    layout.intro = {left, y, right, y + introHeight};
    y = layout.intro.bottom + s(12);
    if (qrSide > 0) {
        const int qrLeft = left + (width - qrSide) / 2;
        layout.qr = {qrLeft, y, qrLeft + qrSide, y + qrSide};
        y = layout.qr.bottom + s(12);
    }
    layout.url = {left, y, right, y + s(22)};
    y = layout.url.bottom + s(12);
    layout.homeScreen = {left, y, right, y + homeScreenHeight};
    y = layout.homeScreen.bottom + s(16);
    const int clientWidth = QrDialogWidth(dpi);
    layout.button = {clientWidth - s(22) - s(128), y, clientWidth - s(22), y + s(34)};
    layout.client = {clientWidth, layout.button.bottom + s(14)};
    return layout;
}

}  // namespace quillpane

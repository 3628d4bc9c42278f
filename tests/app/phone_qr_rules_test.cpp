// The phone QR dialog's measures.
#include "app/phone_qr_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(PhoneQrRules, ModulesAreWholePixelsOfAtLeastTwo) {
    struct Case {
        int modules, dpi, side;
    };
    for (const Case& c : {Case {25, 96, 165}, Case {25, 192, 330}, Case {21, 96, 174}, Case {41, 96, 147},
                          Case {41, 120, 196}, Case {29, 144, 259}}) {
        EXPECT_EQ(QrDrawnSide(c.modules, c.dpi), c.side) << c.modules << " @" << c.dpi;
        EXPECT_EQ(QrModulePixels(c.side, c.modules) * (c.modules + 8), c.side);
    }
}

TEST(PhoneQrRules, PartsFollowEachOtherAndTheButtonEndsTheDialog) {
    const QrDialogLayout with = LayoutQrDialog(96, 40, 165, 30);
    EXPECT_EQ(with.client.width, 400);
    EXPECT_EQ(with.qr.Width(), 165);
    EXPECT_NEAR(with.qr.left - 22, 400 - 22 - with.qr.right, 1);  // centred between the margins
    EXPECT_LT(with.intro.bottom, with.qr.top);
    EXPECT_LT(with.qr.bottom, with.url.top);
    EXPECT_LT(with.url.bottom, with.homeScreen.top);
    EXPECT_LT(with.homeScreen.bottom, with.button.top);
    EXPECT_EQ(with.button, (Rect {400 - 22 - 128, with.button.top, 400 - 22, with.button.top + 34}));
    EXPECT_EQ(with.client.height, with.button.bottom + 14);

    // Without a symbol nothing is reserved for it.
    const QrDialogLayout without = LayoutQrDialog(96, 40, 0, 30);
    EXPECT_EQ(without.qr, Rect {});
    EXPECT_EQ(without.client.height, with.client.height - 165 - 12);
    EXPECT_EQ(LayoutQrDialog(192, 80, 330, 60).client.width, 800);
}

}  // namespace
}  // namespace quillpane

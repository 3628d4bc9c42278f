// The About card's texts, where it opens, and when a press drags it.
#include "app/about_rules.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(AboutRules, TextsComeFromTheVersionBlockWithDefaults) {
    VersionValues values;
    values.productName = u"Q";  // one character does not count
    values.productVersion = u"2.5.1";
    values.createdBy = u"Made by ferrix in 2026";
    const AboutTexts texts = AboutTextsFrom(values);
    EXPECT_EQ(texts.productName, u"Quillpane");
    EXPECT_EQ(texts.versionLine, u"Version 2.5.1");
    EXPECT_FALSE(texts.tagline.empty());
    const std::u16string link = u"<a href=\"" + std::u16string(AboutPublisherPage()) + u"\">ferrix</a>";
    EXPECT_EQ(texts.createdBy, u"Made by " + link + u" in 2026");
    EXPECT_EQ(AboutTextsFrom(VersionValues {}).versionLine, u"Version");
}

TEST(AboutRules, OpensUnderThePanelOrAboveTheTaskbarInsideTheWorkArea) {
    const Rect work {0, 0, 1600, 860};
    const Size card {500, 200};
    EXPECT_EQ(PlaceAbout(card, Rect {300, 100, 1100, 600}, {}, work, 96), (Rect {450, 128, 950, 328}));
    EXPECT_EQ(PlaceAbout(card, std::nullopt, {800, 850}, work, 96), (Rect {550, 648, 1050, 848}));
    // At the screen's right edge the card stays 12 px inside.
    EXPECT_EQ(PlaceAbout(card, std::nullopt, {1590, 850}, work, 144), (Rect {1082, 642, 1582, 842}));
    // Larger than the area: the upper bounds win.
    EXPECT_EQ(PlaceAbout({2000, 1000}, std::nullopt, {800, 400}, work, 96).left, 1600 - 12 - 2000);

    EXPECT_FALSE(IsAboutDrag({10, 10}, {13, 12}));
    EXPECT_TRUE(IsAboutDrag({10, 10}, {14, 10}));
    EXPECT_TRUE(IsAboutDrag({10, 10}, {7, 7}));
}

}  // namespace
}  // namespace quillpane

// The settings window's rules: the working copy, what the boxes and lists
// store, the layout and the scrolling.
#include "app/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace quillpane {
namespace {

TEST(SettingsRules, TheCopyComesBackIntoConfigUnchangedAndLeavesOtherKeysAlone) {
    Config config;
    config.editor.wordWrap = WordWrap::NoWrap;
    config.editor.memoFold = true;
    config.editor.fontPitch = FontPitch::Fixed;
    config.editor.fontSizeStep = 4;
    config.editor.showCurrentLineHighlight = false;
    config.editor.showCurrentLineUnderline = true;
    config.editor.showLineNumbers = false;
    config.editor.caretStyle = CaretStyle::Dos;
    config.editor.sectionMarkerRole = SectionMarkerRole::Heading;
    config.editor.separatorLine.assign(4, u'=');
    config.editor.headingLine.assign(1, u'#');
    config.ui.theme = Theme::Dark;
    config.ui.opacity = 65;
    config.ui.translucent = true;
    config.ui.language = u"pl";
    config.general = {false, true, true, true};
    config.backup.intervalMinutes = 0;
    config.backup.maxGenerations = 7;
    config.sidebar.visible = false;
    config.window.x = 123;

    Config back;
    back.window.x = 123;
    back.ui.translucent = true;
    back.general.alwaysOnTop = true;
    StoreSettings(CopyOfSettings(config, 4), back);
    EXPECT_EQ(back, config);

    // The slider shows the session's zoom, and OK keeps it.
    StoreSettings(CopyOfSettings(config, -2), back);
    EXPECT_EQ(back.editor.fontSizeStep, -2);
}

TEST(SettingsRules, WhatTheBoxesStore) {
    struct Case {
        std::u16string text;
        int interval;
        int generations;
    };
    const Case cases[] = {
        {u"5000", 1440, 100}, {u"", 10, 30},     {u"abc", 10, 30},   {u"0", 0, 1},
        {u" 7", 7, 7},        {u"12x", 12, 12}, {u"1440", 1440, 100}, {u"99999999999999999999", 1440, 100},
    };
    for (const Case& c : cases) {
        const std::string shown(c.text.begin(), c.text.end());
        EXPECT_EQ(BoxNumber(c.text, kIntervalEmpty, kIntervalMin, kIntervalMax), c.interval) << shown;
        EXPECT_EQ(BoxNumber(c.text, kGenerationsEmpty, kGenerationsMin, kGenerationsMax), c.generations) << shown;
    }

    EXPECT_EQ(MarkerFromBox(u"--\r\n--\n", kDefaultSeparatorLine), u"----");
    EXPECT_EQ(MarkerFromBox(u"\r\n", kDefaultSeparatorLine), kDefaultSeparatorLine);
    EXPECT_EQ(MarkerFromBox(u"", kDefaultHeadingLine), u"##");

    EXPECT_EQ(MarkerCharacterCount(u"a\r\nb"), 2);
    EXPECT_EQ(MarkerCharacterCount(u"x\U0001F600y"), 3);  // a surrogate pair is one character
    EXPECT_EQ(MarkerCharacterCount(std::u16string(250, u'-')), 200);
    std::u16string cut(199, u'-');
    cut += u"\U0001F600";  // its second half is the 201st unit
    EXPECT_EQ(MarkerCharacterCount(cut), 200);

    Config config;
    SettingsCopy copy = CopyOfSettings(config, 0);
    copy.dividerText = u"";
    copy.opacity = 150;
    copy.language = std::u16string(62, u'x') + u"\U0001F600";  // cut inside the pair
    StoreSettings(copy, config);
    EXPECT_EQ(config.editor.separatorLine, kDefaultSeparatorLine);
    EXPECT_EQ(config.ui.opacity, 100);
    EXPECT_EQ(config.ui.language, std::u16string(62, u'x'));
}

TEST(SettingsRules, TheLanguageListNeverPinsALanguageByItself) {
    struct Case {
        std::u16string stored;
        int entry;
    };
    const Case cases[] = {
        {u"", 0},  {u"xx", 0},       {u"zh-HK", 0},  {u"de", 7},     {u"DE-de", 7},
        {u"german", 7}, {u"zh-Hant", 5}, {u"pt", 10}, {u"en-US", 1}, {u"ja", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageEntryFor(c.stored), c.entry) << std::string(c.stored.begin(), c.stored.end());
    }
    for (int entry = 0; entry < kLanguageEntryCount; ++entry) {
        EXPECT_EQ(LanguageEntryFor(LanguageEntryCode(entry)), entry) << entry;
    }
    // OK with the list untouched keeps what was written; a new choice writes its code.
    EXPECT_EQ(LanguageToStore(0, u"xx"), u"xx");
    EXPECT_EQ(LanguageToStore(7, u"german"), u"german");
    EXPECT_EQ(LanguageToStore(0, u"de"), u"");
    EXPECT_EQ(LanguageToStore(2, u""), u"ja");
}

TEST(SettingsRules, SlidersHotkeyAndGroups) {
    EXPECT_EQ(FontSizePosition(-8), 0);
    EXPECT_EQ(FontSizePosition(0), 3);
    EXPECT_EQ(FontSizePosition(20), 8);
    EXPECT_EQ(FontSizeStepAt(0), -3);
    EXPECT_EQ(FontSizePoints(0), 8);
    EXPECT_EQ(FontSizePoints(8), 16);

    const Hotkey ctrlK {kModControl, 'K'};
    EXPECT_EQ(HotkeyToStore(false, ctrlK), ctrlK);
    EXPECT_EQ(HotkeyToStore(true, ctrlK).key, 0);
    EXPECT_EQ(HotkeyToStore(false, Hotkey {kModControl, kVkOem6}), Hotkey {});
    EXPECT_EQ(HotkeyToStore(false, Hotkey {kModAlt, kVkOem4}), Hotkey {});

    const Config before;
    EXPECT_TRUE(ChangedGroups(before, before).empty());
    Config after = before;
    after.editor.caretStyle = CaretStyle::Block;
    after.backup.maxGenerations = 3;
    after.sidebar.visible = false;
    after.sidebar.width = 300;  // not the window's: no group of its own
    EXPECT_EQ(ChangedGroups(before, after),
              (std::vector<SettingsGroup> {SettingsGroup::Editor, SettingsGroup::Backup, SettingsGroup::Sidebar}));
}

// Texts wrap at about 7 px a character, as a real font would.
SettingsMeasures FakeMeasures(int dpi) {
    SettingsMeasures m;
    m.dpi = dpi;
    m.lineHeight = 16 * dpi / 96;
    m.headingHeight = m.lineHeight;
    m.opacityValueWidth = 30 * dpi / 96;
    m.fontSizeValueWidth = 34 * dpi / 96;
    m.countWidth = 80 * dpi / 96;
    m.noneWidth = 60 * dpi / 96;
    m.arrowWidth = 17 * dpi / 96;
    m.openBackupWidth = 110 * dpi / 96;
    const int lineHeight = m.lineHeight;
    const auto wrapped = [lineHeight, dpi](int characters, int width) {
        const int perLine = std::max(1, width / (7 * dpi / 96));
        return lineHeight * ((characters + perLine - 1) / perLine);
    };
    m.checkHeight = [wrapped](SettingsControl control, int width) {
        return wrapped(control == SettingsControl::CloseOnFocusLost ? 45 : 18, width);
    };
    m.textHeight = [wrapped](SettingsText text, int width) {
        return wrapped(text == SettingsText::ShortcutLabel ? 40 : 12, width);
    };
    return m;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(SettingsLayout, NothingOverlapsAndEverythingStaysInsideTheBody) {
    struct Case {
        int dpi;
        int width;
        int height;
    };
    const Case cases[] = {{96, 780, 2000}, {144, 1170, 3000}, {96, 780, 300}, {96, 420, 2000}};
    for (const Case& c : cases) {
        const SettingsLayout layout = LayoutSettingsBody(FakeMeasures(c.dpi), c.width, c.height);
        const std::string where =
            std::to_string(c.dpi) + "/" + std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_EQ(layout.scrolls, layout.contentHeight > c.height) << where;
        std::vector<Rect> placed;
        for (int i = 0; i < kSettingsControlCount; ++i) {
            const auto control = static_cast<SettingsControl>(i);
            if (control == SettingsControl::Ok || control == SettingsControl::Cancel) continue;
            placed.push_back(layout.controls[static_cast<std::size_t>(i)]);
        }
        for (const Rect& text : layout.texts) placed.push_back(text);
        const int reserve = layout.scrolls ? 20 * c.dpi / 96 : 0;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const Rect& a = placed[i];
            EXPECT_GT(a.Width(), 0) << where << " item " << i;
            EXPECT_GT(a.Height(), 0) << where << " item " << i;
            EXPECT_GE(a.left, 24 * c.dpi / 96) << where << " item " << i;
            EXPECT_LE(a.right, c.width - 24 * c.dpi / 96 - reserve) << where << " item " << i;
            EXPECT_LE(a.bottom, layout.contentHeight) << where << " item " << i;
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                EXPECT_FALSE(Overlap(a, placed[j])) << where << " items " << i << " and " << j;
            }
        }
        // The arrows sit inside their boxes.
        const Rect& interval = layout.controls[static_cast<std::size_t>(SettingsControl::Interval)];
        EXPECT_GE(layout.intervalArrows.left, interval.left) << where;
        EXPECT_LE(layout.intervalArrows.right, interval.right) << where;
    }
}

TEST(SettingsLayout, ScrollingKeepsTheFocusInViewAndWithinTheContent) {
    EXPECT_EQ(ClampScroll(-5, 900, 400), 0);
    EXPECT_EQ(ClampScroll(800, 900, 400), 500);
    EXPECT_EQ(ClampScroll(50, 300, 400), 0);

    const Rect below {0, 700, 100, 724};
    EXPECT_EQ(ScrollToShow(0, below, 400, 96), 332);  // bottom + 8 px at the body's bottom
    const Rect above {0, 100, 100, 124};
    EXPECT_EQ(ScrollToShow(300, above, 400, 96), 92);
    EXPECT_EQ(ScrollToShow(50, above, 400, 96), 50);  // in view: stays
    const Rect tall {0, 100, 100, 900};
    EXPECT_EQ(ScrollToShow(0, tall, 400, 96), 92);  // its top wins

    EXPECT_EQ(ScrollBy(100, ScrollRequest::LineDown, 400, 96), 124);
    EXPECT_EQ(ScrollBy(500, ScrollRequest::PageUp, 400, 96), 124);
    EXPECT_EQ(ScrollByWheel(100, -120), 160);
}

TEST(SettingsLayout, WindowIsCentredAndKeptOnTheWorkArea) {
    const Rect work {0, 0, 1600, 900};
    const Rect owner {100, 100, 500, 400};
    EXPECT_EQ(PlaceSettingsWindow({300, 200}, owner, work, 96), (Rect {150, 150, 450, 350}));
    EXPECT_EQ(PlaceSettingsWindow({300, 200}, std::nullopt, work, 96), (Rect {650, 350, 950, 550}));
    // Taller than the work area: limited to it less 8 px a side.
    EXPECT_EQ(PlaceSettingsWindow({800, 2000}, Rect {1500, 0, 1600, 100}, work, 96), (Rect {792, 8, 1592, 892}));
    EXPECT_EQ(SettingsClientWidth(96, 100, 17), 780);
    EXPECT_GT(SettingsClientWidth(96, 300, 17), 780);  // a long entry widens the window
}

}  // namespace
}  // namespace quillpane

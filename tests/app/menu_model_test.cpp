// The tray menu and the settings section as the user reads them.
#include "app/menu_model.h"

#include "i18n/language.h"
#include "i18n/strings.h"
#include "resources/messages.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

std::vector<unsigned> Ids(const std::vector<MenuItem>& items) {
    std::vector<unsigned> ids;
    for (const MenuItem& item : items) ids.push_back(item.kind == MenuItem::Kind::Separator ? 0 : item.id);
    return ids;
}

TEST(MenuModel, TrayMenuFollowsThePanelTheSettingsAndTheDocuments) {
    Config config;
    config.general.closeOnFocusLost = true;
    const std::vector<MenuItem> hidden = TrayMenuItems(false, config, {true, false, true}, kEnglish);
    EXPECT_EQ(Ids(hidden), (std::vector<unsigned> {IDM_SHOWPANEL, 0, IDM_OPENWITH, IDM_SHARE, 0, IDM_SETTINGS,
                                                   IDM_CLOSEONFOCUSLOST, IDM_PHONESYNC, 0, IDM_DOCREADME, 0,
                                                   IDM_ABOUT_TRAY, 0, IDM_EXIT}));
    EXPECT_EQ(hidden[0].text, u"Show panel");
    EXPECT_EQ(hidden[2].text, u"Open with default app\tAlt+E");
    EXPECT_TRUE(hidden[6].checked);
    EXPECT_FALSE(hidden[7].checked);
    EXPECT_FALSE(hidden[9].grayed);
    const MenuItem& help = hidden[10];
    ASSERT_EQ(help.kind, MenuItem::Kind::Submenu);
    EXPECT_TRUE(help.children[1].grayed) << "PHONE.md is missing";
    EXPECT_FALSE(help.children[2].grayed);

    const std::vector<MenuItem> shown = TrayMenuItems(true, config, {}, kJapanese);
    EXPECT_EQ(shown[0].text, u"パネルを閉じる");
    EXPECT_TRUE(shown[9].grayed) << "no README beside the program";
}

TEST(MenuModel, ChoiceSubmenusNameTheirCurrentChoice) {
    Config config;
    config.ui.opacity = 75;  // set by hand: no level matches
    config.editor.fontPitch = FontPitch::Fixed;
    std::vector<MenuItem> menu;
    AppendSettingsSection(menu, config, {}, kEnglish, IDM_ABOUT, true);
    ASSERT_GE(menu.size(), 6u);
    EXPECT_EQ(menu[2].text, u"Wrap (Wrap to window width)");
    EXPECT_EQ(menu[3].text, u"Font (Fixed-width)");
    EXPECT_TRUE(menu[3].children[1].checked && menu[3].children[1].radio);
    EXPECT_EQ(menu[4].text, u"Panel opacity (75%)");
    for (const MenuItem& level : menu[4].children) EXPECT_FALSE(level.checked);
    EXPECT_EQ(menu[5].text, u"Section marker (Divider line)");
    EXPECT_EQ(menu.back().id, IDM_ABOUT);

    config.ui.opacity = 90;
    menu.clear();
    AppendSettingsSection(menu, config, {}, kJapanese, IDM_ABOUT, true);
    EXPECT_TRUE(menu[4].children[1].checked);
    EXPECT_NE(menu[4].text.find(u'\uFF08'), std::u16string::npos) << "full-width brackets in Japanese";

    EXPECT_EQ(DocumentFileOrder(u"README", kJapanese)[0], u"README.md");
    EXPECT_EQ(DocumentFileOrder(u"README", kGerman)[0], u"README.en.md");
}

}  // namespace
}  // namespace quillpane

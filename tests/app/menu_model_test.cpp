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


const MenuItem* FindItem(const std::vector<MenuItem>& items, unsigned id) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
        if (const MenuItem* inner = FindItem(item.children, id)) return inner;
    }
    return nullptr;
}

TEST(MenuModel, EditorMenuGreysWhatCannotRunAndWordsTheHighlight) {
    EditorMenuState state;
    state.textEmpty = false;
    state.canRedo = true;
    state.canMoveDown = true;
    const std::vector<MenuItem> plain = EditorMenuItems(state, kEnglish);
    for (const unsigned id : {IDM_UNDO, IDM_CUT, IDM_COPY, IDM_DELETE, IDM_WEBSEARCH, IDM_PASTE, IDM_LASTEDIT,
                              IDM_MOVELINEUP}) {
        EXPECT_TRUE(FindItem(plain, id)->grayed) << id;
    }
    for (const unsigned id : {IDM_REDO, IDM_SELECTALL, IDM_HIGHLIGHTWORD, IDM_MOVELINEDOWN, IDM_SORTASC}) {
        EXPECT_FALSE(FindItem(plain, id)->grayed) << id;
    }
    EXPECT_EQ(FindItem(plain, IDM_HIGHLIGHTWORD)->text, u"Highlight Word at Caret\tCtrl+F3");
    EXPECT_EQ(FindItem(plain, IDM_INSERTMARKER)->text, u"Insert Separator\tF6");
    EXPECT_EQ(plain.back().kind, MenuItem::Kind::Submenu) << "the line commands come last";

    state.hasSelection = true;
    state.clipboardHasText = true;
    state.headingRole = true;
    const std::vector<MenuItem> selected = EditorMenuItems(state, kGerman);
    for (const unsigned id : {IDM_CUT, IDM_COPY, IDM_DELETE, IDM_WEBSEARCH, IDM_PASTE}) {
        EXPECT_FALSE(FindItem(selected, id)->grayed) << id;
    }
    EXPECT_EQ(FindItem(selected, IDM_HIGHLIGHTWORD)->text, u"Markierten Text hervorheben\tCtrl+F3");
    EXPECT_EQ(FindItem(selected, IDM_INSERTMARKER)->text, u"Überschrift einfügen\tF6");

    state.textEmpty = true;
    const std::vector<MenuItem> dates = DateTimeMenuItems(state, kEnglish);
    EXPECT_EQ(dates[0].id, IDM_INSERTDATE);
    EXPECT_FALSE(dates[1].grayed);
    for (std::size_t i = 3; i < dates.size(); ++i) {
        EXPECT_TRUE(dates[i].kind == MenuItem::Kind::Separator || dates[i].grayed) << "empty text: " << i;
    }
}

TEST(MenuModel, PathSubmenuListsFoldersFirstAndCountsTheRest) {
    std::vector<FolderEntry> entries;
    for (int i = 0; i < 40; ++i) entries.push_back({u"file" + std::u16string(1, static_cast<char16_t>(u'A' + i)), false});
    for (int i = 0; i < 5; ++i) entries.push_back({u"dir" + std::u16string(1, static_cast<char16_t>(u'e' - i)), true});
    PathMenuInfo info;
    info.kind = PathMenuInfo::Kind::Folder;
    info.displayName = u"docs";
    info.listed = true;
    ArrangeFolderEntries(info, entries, [](std::u16string_view a, std::u16string_view b) { return a < b; });
    EXPECT_EQ(info.entries.size(), kListedEntries);
    EXPECT_EQ(info.more, 15u);
    EXPECT_EQ(info.entries[0].name, u"dira");
    EXPECT_EQ(info.entries[5].name, u"fileA");

    const MenuItem folder = PathSubmenu(info, kEnglish);
    EXPECT_EQ(folder.text, u"docs");
    EXPECT_EQ(folder.children[0].text, u"dira\\");
    EXPECT_EQ(folder.children[0].id, kPathEntryFirst);
    EXPECT_EQ(folder.children[30].text, u"15 more…");
    EXPECT_EQ(folder.children[30].id, kPathMoreEntries);
    EXPECT_EQ(folder.children.back().id, kPathFolderProperties);

    info.kind = PathMenuInfo::Kind::File;
    ArrangeFolderEntries(info, {}, [](std::u16string_view a, std::u16string_view b) { return a < b; });
    const MenuItem file = PathSubmenu(info, kEnglish);
    EXPECT_EQ(Ids(file.children), (std::vector<unsigned> {kPathOpenContaining, 0, 0, 0, kPathFileProperties}));
    EXPECT_TRUE(file.children[2].grayed) << "(empty)";

    for (const auto kind : {PathMenuInfo::Kind::Missing, PathMenuInfo::Kind::Network}) {
        info.kind = kind;
        const MenuItem other = PathSubmenu(info, kEnglish);
        EXPECT_TRUE(other.children[0].grayed);
        EXPECT_EQ(FindItem(other.children, kPathFileProperties), nullptr) << "nothing asks another machine";
    }
}

TEST(MenuModel, DateTimeMenuOpensAboveTheCaretNearTheBottom) {
    EXPECT_EQ(DateTimeMenuAnchor(100, 20, 0, 1040, 96).y, 124);
    EXPECT_FALSE(DateTimeMenuAnchor(100, 20, 0, 1040, 96).bottomAligned);
    const MenuAnchor low = DateTimeMenuAnchor(900, 20, 0, 1040, 96);
    EXPECT_TRUE(low.bottomAligned);
    EXPECT_EQ(low.y, 896);
    EXPECT_EQ(DateTimeMenuAnchor(2, 30, 0, 200, 144).y, 6) << "never above the work area";
}

}  // namespace
}  // namespace quillpane

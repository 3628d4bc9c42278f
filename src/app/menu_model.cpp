#include "app/menu_model.h"

#include "i18n/language.h"
#include "i18n/strings.h"
#include "resources/messages.h"

#include <algorithm>
#include <iterator>

namespace quillpane {
namespace {

MenuItem Command(unsigned id, std::u16string_view text, bool checked = false, bool grayed = false) {
    MenuItem item;
    item.id = id;
    item.text = std::u16string(text);
    item.checked = checked;
    item.grayed = grayed;
    return item;
}

MenuItem Separator() {
    MenuItem item;
    item.kind = MenuItem::Kind::Separator;
    return item;
}

// A submenu of radio choices labelled "name (current choice)".
MenuItem Choices(std::u16string_view name, std::u16string_view current, int language, std::vector<MenuItem> choices) {
    MenuItem item;
    item.kind = MenuItem::Kind::Submenu;
    item.text = SubmenuLabel(name, current, language);
    for (MenuItem& choice : choices) choice.radio = true;
    item.children = std::move(choices);
    return item;
}

std::u16string Percent(int value) {
    return WithCount(u"%d%", static_cast<std::size_t>(std::max(0, value)));
}

MenuItem OpacityMenu(const Config& config, int language) {
    const int opacity = config.ui.opacity;
    const auto* const found = std::find(kOpacityLevels.begin(), kOpacityLevels.end(), opacity);
    std::vector<MenuItem> choices;
    for (std::size_t level = 0; level < kOpacityLevels.size(); ++level) {
        const int index = static_cast<int>(level);
        choices.push_back(Command(IDM_OPACITY_FIRST + index, OpacityLevelName(index, language),
                                  found != kOpacityLevels.end() && std::distance(kOpacityLevels.begin(), found) == index));
    }
    // A value set by hand is shown as it is, with no level checked.
    const std::u16string current = found != kOpacityLevels.end()
                                       ? std::u16string(OpacityLevelName(static_cast<int>(found - kOpacityLevels.begin()),
                                                                         language))
                                       : Percent(opacity);
    return Choices(Text(TextId::PanelOpacity, language), current, language, std::move(choices));
}

}  // namespace

void AppendSettingsSection(std::vector<MenuItem>& menu, const Config& config, const DocumentsFound& documents,
                           int language, unsigned aboutId, bool withSubmenus) {
    const auto text = [language](TextId id) { return Text(id, language); };
    menu.push_back(Command(IDM_SETTINGS, text(TextId::SettingsMenu)));
    if (withSubmenus) {
        menu.push_back(Separator());
        const bool wrap = config.editor.wordWrap == WordWrap::Wrap;
        menu.push_back(Choices(text(TextId::WrapLabel), text(wrap ? TextId::WrapToWindow : TextId::DontWrap), language,
                               {Command(IDM_WRAP, text(TextId::WrapToWindow), wrap),
                                Command(IDM_NOWRAP, text(TextId::DontWrap), !wrap)}));
        const bool fixed = config.editor.fontPitch == FontPitch::Fixed;
        menu.push_back(Choices(text(TextId::FontLabel), text(fixed ? TextId::FixedWidth : TextId::Proportional),
                               language,
                               {Command(IDM_PITCH_PROPORTIONAL, text(TextId::Proportional), !fixed),
                                Command(IDM_PITCH_FIXED, text(TextId::FixedWidth), fixed)}));
        menu.push_back(OpacityMenu(config, language));
        const bool heading = config.editor.sectionMarkerRole == SectionMarkerRole::Heading;
        menu.push_back(Choices(text(TextId::SectionMarkerLabel),
                               text(heading ? TextId::HeadingLine : TextId::DividerLine), language,
                               {Command(IDM_ROLE_SEPARATOR, text(TextId::DividerLine), !heading),
                                Command(IDM_ROLE_HEADING, text(TextId::HeadingLine), heading)}));
    }
    menu.push_back(Command(IDM_CLOSEONFOCUSLOST, text(TextId::CloseOnFocusLost), config.general.closeOnFocusLost));
    menu.push_back(Command(IDM_PHONESYNC, text(TextId::PhoneSync), config.general.phoneSync));
    menu.push_back(Separator());
    menu.push_back(Command(IDM_DOCREADME, text(TextId::ReadmeMenu), false, !documents.readme));
    MenuItem help;
    help.kind = MenuItem::Kind::Submenu;
    help.text = std::u16string(text(TextId::HelpMenu));
    help.children = {Command(IDM_DOCREADME, u"README.md", false, !documents.readme),
                     Command(IDM_DOCPHONE, text(TextId::PhoneDocMenu), false, !documents.phone),
                     Command(IDM_DOCCHANGELOG, text(TextId::ChangelogMenu), false, !documents.changelog)};
    menu.push_back(std::move(help));
    menu.push_back(Command(aboutId, text(TextId::AboutApp)));
}

std::vector<MenuItem> TrayMenuItems(bool panelShown, const Config& config, const DocumentsFound& documents,
                                    int language) {
    std::vector<MenuItem> menu;
    menu.push_back(Command(IDM_SHOWPANEL, Text(panelShown ? TextId::ClosePanel : TextId::ShowPanel, language)));
    menu.push_back(Separator());
    menu.push_back(Command(IDM_OPENWITH, std::u16string(Text(TextId::OpenWithDefaultApp, language)) + u"\tAlt+E"));
    menu.push_back(Command(IDM_SHARE, Text(TextId::ShareCommand, language)));
    menu.push_back(Separator());
    AppendSettingsSection(menu, config, documents, language, IDM_ABOUT_TRAY, false);
    menu.push_back(Separator());
    menu.push_back(Command(IDM_EXIT, Text(TextId::ExitApp, language)));
    return menu;
}

std::array<std::u16string, 2> DocumentFileOrder(std::u16string_view stem, int language) {
    std::u16string plain(stem);
    plain += u".md";
    std::u16string english(stem);
    english += u".en.md";
    if (language == kJapanese) return {plain, english};
    return {english, plain};
}

}  // namespace quillpane

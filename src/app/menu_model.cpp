#include "app/menu_model.h"

#include "i18n/language.h"
#include "i18n/strings.h"
#include "platform/dpi.h"
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

namespace {

// "text<tab>shortcut": the shortcut is never translated.
std::u16string WithShortcut(std::u16string_view text, std::u16string_view shortcut) {
    std::u16string label(text);
    label += u'\t';
    label += shortcut;
    return label;
}

std::vector<MenuItem> LineCommandItems(const EditorMenuState& state, int language) {
    const auto text = [language](TextId id) { return Text(id, language); };
    const bool empty = state.textEmpty;
    return {
        Command(IDM_DUPLICATELINE, WithShortcut(text(TextId::DuplicateLine), u"Ctrl+D"), false, empty),
        Command(IDM_JOINLINES, WithShortcut(text(TextId::JoinLines), u"Ctrl+J"), false, empty),
        Command(IDM_MOVELINEUP, WithShortcut(text(TextId::MoveLineUp), u"Ctrl+Shift+Up"), false,
                empty || !state.canMoveUp),
        Command(IDM_MOVELINEDOWN, WithShortcut(text(TextId::MoveLineDown), u"Ctrl+Shift+Down"), false,
                empty || !state.canMoveDown),
        Separator(),
        Command(IDM_SORTASC, text(TextId::SortAscending), false, empty),
        Command(IDM_SORTDESC, text(TextId::SortDescending), false, empty),
        Command(IDM_REMOVEDUPLICATES, text(TextId::RemoveDuplicateLines), false, empty),
        Command(IDM_REMOVEEMPTY, text(TextId::RemoveEmptyLines), false, empty),
        Command(IDM_TRIMTRAILING, text(TextId::TrimTrailingWhitespace), false, empty),
    };
}

}  // namespace

std::vector<MenuItem> EditorMenuItems(const EditorMenuState& state, int language) {
    const auto text = [language](TextId id) { return Text(id, language); };
    const bool selection = state.hasSelection;
    std::vector<MenuItem> menu = {
        Command(IDM_UNDO, WithShortcut(text(TextId::UndoCommand), u"Ctrl+Z"), false, !state.canUndo),
        Command(IDM_REDO, WithShortcut(text(TextId::RedoCommand), u"Ctrl+Y"), false, !state.canRedo),
        Separator(),
        Command(IDM_CUT, WithShortcut(text(TextId::CutCommand), u"Ctrl+X"), false, !selection),
        Command(IDM_COPY, WithShortcut(text(TextId::CopyCommand), u"Ctrl+C"), false, !selection),
        Command(IDM_PASTE, WithShortcut(text(TextId::PasteCommand), u"Ctrl+V"), false, !state.clipboardHasText),
        Command(IDM_DELETE, WithShortcut(text(TextId::DeleteCommand), u"Del"), false, !selection),
        Separator(),
        Command(IDM_SELECTALL, WithShortcut(text(TextId::SelectAllCommand), u"Ctrl+A"), false, state.textEmpty),
        Command(IDM_SELECTNOTE, WithShortcut(text(TextId::SelectThisNote), u"Ctrl+Shift+A"), false, state.textEmpty),
        Command(IDM_INSERTDATETIME, WithShortcut(text(TextId::InsertDateTimeCommand), u"F5")),
        Command(IDM_INSERTMARKER, WithShortcut(InsertMarkerText(state.headingRole, language), u"F6")),
        Separator(),
        Command(IDM_FIND, WithShortcut(text(TextId::FindCommand), u"Ctrl+F")),
        Command(IDM_HIGHLIGHTWORD,
                WithShortcut(text(selection ? TextId::HighlightSelectedText : TextId::HighlightWordAtCaret), u"Ctrl+F3"),
                false, state.textEmpty),
        Command(IDM_WEBSEARCH, text(TextId::SearchWebCommand), false, !selection),
        Command(IDM_REPLACE, WithShortcut(text(TextId::ReplaceCommand), u"Ctrl+H")),
        Command(IDM_GOTOLINE, WithShortcut(text(TextId::GoToLine), u"Ctrl+G")),
        Command(IDM_HEADINGLIST, WithShortcut(text(TextId::HeadingListLabel), u"Ctrl+L")),
        Command(IDM_LASTEDIT, WithShortcut(text(TextId::GoToLastEdit), u"Ctrl+Shift+Backspace"), false,
                !state.hasLastEdit),
        Separator(),
    };
    MenuItem lines;
    lines.kind = MenuItem::Kind::Submenu;
    lines.text = std::u16string(text(TextId::TextSubmenu));
    lines.children = LineCommandItems(state, language);
    menu.push_back(std::move(lines));
    return menu;
}

std::vector<MenuItem> DateTimeMenuItems(const EditorMenuState& state, int language) {
    std::vector<MenuItem> menu = {Command(IDM_INSERTDATE, Text(TextId::InsertDate, language)),
                                  Command(IDM_INSERTTIME, Text(TextId::InsertTime, language)), Separator()};
    for (MenuItem& item : LineCommandItems(state, language)) menu.push_back(std::move(item));
    return menu;
}

void ArrangeFolderEntries(PathMenuInfo& info, std::vector<FolderEntry> entries,
                          const std::function<bool(std::u16string_view, std::u16string_view)>& less) {
    std::sort(entries.begin(), entries.end(), [&less](const FolderEntry& a, const FolderEntry& b) {
        if (a.folder != b.folder) return a.folder;
        return less(a.name, b.name);
    });
    info.more = entries.size() > kListedEntries ? entries.size() - kListedEntries : 0;
    if (entries.size() > kListedEntries) entries.resize(kListedEntries);
    info.entries = std::move(entries);
}

MenuItem PathSubmenu(const PathMenuInfo& info, int language) {
    MenuItem submenu;
    submenu.kind = MenuItem::Kind::Submenu;
    submenu.text = info.displayName;
    std::vector<MenuItem>& items = submenu.children;
    const auto listing = [&] {
        if (info.entries.empty()) {
            items.push_back(Command(0, Text(TextId::FolderEmpty, language), false, true));
            return;
        }
        for (std::size_t index = 0; index < info.entries.size(); ++index) {
            std::u16string label = info.entries[index].name;
            if (info.entries[index].folder) label += u'\\';
            items.push_back(Command(kPathEntryFirst + static_cast<unsigned>(index), label));
        }
        if (info.more > 0) items.push_back(Command(kPathMoreEntries, WithCount(Text(TextId::MoreEntries, language), info.more)));
    };
    switch (info.kind) {
    case PathMenuInfo::Kind::Folder:
        if (info.listed) {
            listing();
            items.push_back(Separator());
        }
        items.push_back(Command(kPathFolderProperties, Text(TextId::Properties, language)));
        break;
    case PathMenuInfo::Kind::File:
        items.push_back(Command(kPathOpenContaining, Text(TextId::OpenContainingFolder, language)));
        if (info.listed) {
            items.push_back(Separator());
            listing();
        }
        items.push_back(Separator());
        items.push_back(Command(kPathFileProperties, Text(TextId::Properties, language)));
        break;
    case PathMenuInfo::Kind::Network:
        // Another machine is reached only when the user asks for it.
        items.push_back(Command(0, Text(TextId::NetworkPathNotListed, language), false, true));
        items.push_back(Command(kPathOpenContaining, Text(TextId::OpenContainingFolder, language)));
        break;
    case PathMenuInfo::Kind::Missing:
        items.push_back(Command(0, Text(TextId::PathNotFound, language), false, true));
        break;
    }
    return submenu;
}

MenuAnchor DateTimeMenuAnchor(int caretY, int lineHeight, int workTop, int workBottom, int dpi) {
    const int gap = Scale(4, dpi);
    const int below = caretY + lineHeight + gap;
    if (below + Scale(280, dpi) <= workBottom) return {below, false};
    return {std::max(caretY - gap, workTop + gap), true};
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

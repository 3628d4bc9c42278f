// The config.ini settings as one table: a row per key, in the order they are
// written. Loading and saving are driven by it, and so can a settings window.
#include "settings/config_schema.h"

#include "settings/ascii_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace quillpane {
namespace {

constexpr std::u16string_view kApplication = u"Application";
constexpr std::u16string_view kNote = u"Note";
constexpr std::u16string_view kShortcut = u"Shortcut";
constexpr std::u16string_view kEditor = u"Editor";
constexpr std::u16string_view kUi = u"UI";
constexpr std::u16string_view kGeneral = u"General";
constexpr std::u16string_view kBackup = u"Backup";
constexpr std::u16string_view kWindow = u"Window";
constexpr int kMaxWindowExtent = 32767;
constexpr std::u16string_view kSearch = u"Search";
constexpr std::u16string_view kHeadingList = u"HeadingList";
constexpr std::u16string_view kSidebar = u"Sidebar";

// The marker keys are read together (see ReadSectionMarkers).
constexpr std::u16string_view kSeparatorLineKey = u"SeparatorLine";
constexpr std::u16string_view kHeadingLineKey = u"HeadingLine";
constexpr std::u16string_view kSectionMarkerRoleKey = u"SectionMarkerRole";

// Choice names are indexed by the enumeration's value.
constexpr std::array<std::u16string_view, 3> kCaretNames = {u"Line", u"Block", u"Dos"};
constexpr std::array<std::u16string_view, 2> kWrapNames = {u"Wrap", u"NoWrap"};
constexpr std::array<ChoiceAlias, 1> kWrapAliases = {{{u"0", static_cast<int>(WordWrap::NoWrap)}}};
constexpr std::array<std::u16string_view, 2> kPitchNames = {u"Proportional", u"Fixed"};
constexpr std::array<std::u16string_view, 2> kMarkerRoleNames = {u"Separator", u"Heading"};
constexpr std::array<std::u16string_view, 3> kThemeNames = {u"FollowOs", u"Light", u"Dark"};

std::optional<std::u16string_view> FindValue(const IniFile& ini, std::u16string_view section,
                                             std::u16string_view key) {
    const auto entries = ini.values.find(section);
    if (entries == ini.values.end()) return std::nullopt;
    const auto value = entries->second.find(key);
    if (value == entries->second.end()) return std::nullopt;
    return std::u16string_view(value->second);
}

constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

std::optional<int> MatchChoice(const SettingRow& row, std::u16string_view text) {
    for (std::size_t i = 0; i < row.names.size(); ++i) {
        if (EqualsIgnoringAsciiCase(text, row.names[i])) return static_cast<int>(i);
    }
    for (const ChoiceAlias& alias : row.aliases) {
        if (EqualsIgnoringAsciiCase(text, alias.text)) return alias.value;
    }
    return std::nullopt;
}

template <typename T>
const SettingAccess<T>& AccessOf(const SettingRow& row) {
    return std::get<SettingAccess<T>>(row.member);
}

bool IsAllHashes(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u'#'; });
}

void ReadSectionMarkers(const SettingRow& row, const IniFile& ini, Config& config) {
    EditorSettings& editor = config.editor;
    if (const auto separator = FindValue(ini, row.section, kSeparatorLineKey)) editor.separatorLine = *separator;
    const std::u16string_view role = FindValue(ini, row.section, kSectionMarkerRoleKey).value_or(u"");
    if (!role.empty()) {
        editor.sectionMarkerRole =
            EqualsIgnoringAsciiCase(role, kMarkerRoleNames[static_cast<std::size_t>(SectionMarkerRole::Heading)])
                ? SectionMarkerRole::Heading
                : SectionMarkerRole::Separator;
    } else {
        // Older files set a "##" SeparatorLine to mean headings.
        editor.sectionMarkerRole =
            IsAllHashes(editor.separatorLine) ? SectionMarkerRole::Heading : SectionMarkerRole::Separator;
    }
    const std::u16string_view heading = FindValue(ini, row.section, kHeadingLineKey).value_or(u"");
    if (!heading.empty()) {
        editor.headingLine = heading;
        return;
    }
    // Such a heading SeparatorLine becomes the HeadingLine.
    editor.headingLine = kDefaultHeadingLine;
    if (editor.sectionMarkerRole == SectionMarkerRole::Heading && editor.separatorLine != kDefaultSeparatorLine) {
        editor.headingLine = std::move(editor.separatorLine);
        editor.separatorLine = kDefaultSeparatorLine;
    }
}

// HeadingLine and SectionMarkerRole are read by ReadSectionMarkers.
void ReadWithSectionMarkers(const SettingRow&, const IniFile&, Config&) {}

std::u16string NormalizeLanguage(std::u16string_view stored) {
    const std::u16string_view language = TrimBlanks(stored);
    std::u16string result(language.substr(0, kMaxLanguageLength));
    // Do not leave half of a surrogate pair behind at the cut.
    if (language.size() > kMaxLanguageLength && result.back() >= 0xD800 && result.back() <= 0xDBFF) result.pop_back();
    return result;
}

// History0, History1, ...: newest first, ending at the first empty one.
static_assert(kMaxSearchHistory <= 10);

std::u16string HistoryKey(const SettingRow& row, std::size_t index) {
    return std::u16string(row.key) + static_cast<char16_t>(u'0' + index);
}

void ReadHistory(const SettingRow& row, const IniFile& ini, Config& config) {
    std::vector<std::u16string> history;
    for (std::size_t i = 0; i < kMaxSearchHistory; ++i) {
        const std::u16string_view entry = FindValue(ini, row.section, HistoryKey(row, i)).value_or(u"");
        if (entry.empty()) break;
        history.emplace_back(entry);
    }
    config.search.history = std::move(history);
}

void WriteHistory(const SettingRow& row, const Config& config, IniFile& ini) {
    const std::vector<std::u16string>& history = config.search.history;
    for (std::size_t i = 0; i < kMaxSearchHistory; ++i) {
        ini.SetString(row.section, HistoryKey(row, i), i < history.size() ? std::u16string_view(history[i]) : u"");
    }
}

// Folded: comma-separated fold entries; invalid ones are dropped both ways.
void ReadFolded(const SettingRow& row, const IniFile& ini, Config& config) {
    const std::u16string_view value = FindValue(ini, row.section, row.key).value_or(u"");
    std::vector<std::u16string> entries;
    std::size_t start = 0;
    while (start <= value.size() && entries.size() < kMaxFoldEntries) {
        std::size_t end = value.find(u',', start);
        if (end == std::u16string_view::npos) end = value.size();
        const std::u16string_view piece = value.substr(start, end - start);
        if (IsFoldEntry(piece)) entries.emplace_back(piece);
        start = end + 1;
    }
    config.sidebar.folded = std::move(entries);
}

void WriteFolded(const SettingRow& row, const Config& config, IniFile& ini) {
    std::u16string value;
    std::size_t count = 0;
    for (const std::u16string& entry : config.sidebar.folded) {
        if (count == kMaxFoldEntries) break;
        if (!IsFoldEntry(entry)) continue;
        if (count++ > 0) value += u',';
        value += entry;
    }
    ini.SetString(row.section, row.key, value);
}

// Row makers: Group and Field name the member as config.*Group.*Field.
template <typename Stored, auto Group, auto Field>
constexpr SettingAccess<Stored> Member() {
    using Type = std::remove_cvref_t<decltype(std::declval<Config&>().*Group.*Field)>;
    return {[](const Config& config) { return static_cast<Stored>((config.*Group).*Field); },
            [](Config& config, Stored value) { (config.*Group).*Field = static_cast<Type>(std::move(value)); }};
}

constexpr SettingRow Row(std::u16string_view section, std::u16string_view key, SettingKind kind,
                         SettingMember member = {}) {
    SettingRow row;
    row.section = section;
    row.key = key;
    row.kind = kind;
    row.member = member;
    return row;
}

template <auto Group, auto Field>
constexpr SettingRow TextRow(std::u16string_view section, std::u16string_view key,
                             std::u16string (*normalize)(std::u16string_view) = nullptr) {
    SettingRow row = Row(section, key, SettingKind::Text, Member<std::u16string, Group, Field>());
    row.normalize = normalize;
    return row;
}

template <auto Group, auto Field>
constexpr SettingRow ColorRow(std::u16string_view section, std::u16string_view key) {
    return Row(section, key, SettingKind::Color, Member<std::u16string, Group, Field>());
}

template <auto Group, auto Field>
constexpr SettingRow BoolWordRow(std::u16string_view section, std::u16string_view key) {
    return Row(section, key, SettingKind::BoolWord, Member<bool, Group, Field>());
}

template <auto Group, auto Field>
constexpr SettingRow FlagRow(std::u16string_view section, std::u16string_view key) {
    return Row(section, key, SettingKind::Flag, Member<bool, Group, Field>());
}

template <auto Group, auto Field>
constexpr SettingRow IntegerRow(std::u16string_view section, std::u16string_view key, int min = INT_MIN,
                                int max = INT_MAX) {
    SettingRow row = Row(section, key, SettingKind::Integer, Member<int, Group, Field>());
    row.min = min;
    row.max = max;
    return row;
}

template <auto Group, auto Field>
constexpr SettingRow ChoiceRow(std::u16string_view section, std::u16string_view key,
                               std::span<const std::u16string_view> names,
                               std::span<const ChoiceAlias> aliases = {}) {
    SettingRow row = Row(section, key, SettingKind::Choice, Member<int, Group, Field>());
    row.names = names;
    row.aliases = aliases;
    return row;
}

template <auto Group, auto Field>
constexpr SettingRow HotkeyRow(std::u16string_view section, std::u16string_view key) {
    return Row(section, key, SettingKind::Hotkey, Member<Hotkey, Group, Field>());
}

constexpr SettingRow ListRow(std::u16string_view section, std::u16string_view key,
                             void (*read)(const SettingRow&, const IniFile&, Config&),
                             void (*write)(const SettingRow&, const Config&, IniFile&)) {
    SettingRow row = Row(section, key, SettingKind::List);
    row.read = read;
    row.write = write;
    return row;
}

constexpr SettingRow ReadBy(SettingRow row, void (*read)(const SettingRow&, const IniFile&, Config&)) {
    row.read = read;
    return row;
}

using C = Config;
using E = EditorSettings;

constexpr std::array kRows = {
    TextRow<&C::application, &ApplicationSettings::lastRunVersion>(kApplication, u"LastRunVersion"),
    TextRow<&C::application, &ApplicationSettings::unsavedCopy>(kApplication, u"UnsavedCopy"),
    TextRow<&C::note, &NoteSettings::file>(kNote, u"File"),
    HotkeyRow<&C::shortcut, &ShortcutSettings::key>(kShortcut, u"Key"),

    BoolWordRow<&C::editor, &E::showCurrentLineUnderline>(kEditor, u"ShowCurrentLineUnderline"),
    BoolWordRow<&C::editor, &E::showCurrentLineHighlight>(kEditor, u"ShowCurrentLineHighlight"),
    BoolWordRow<&C::editor, &E::showLineNumbers>(kEditor, u"ShowLineNumbers"),
    ChoiceRow<&C::editor, &E::caretStyle>(kEditor, u"CaretStyle", kCaretNames),
    BoolWordRow<&C::editor, &E::noArrowLineCross>(kEditor, u"NoArrowLineCross"),
    ChoiceRow<&C::editor, &E::wordWrap>(kEditor, u"WordWrap", kWrapNames, kWrapAliases),
    FlagRow<&C::editor, &E::memoFold>(kEditor, u"MemoFold"),
    ChoiceRow<&C::editor, &E::fontPitch>(kEditor, u"FontPitch", kPitchNames),
    IntegerRow<&C::editor, &E::fontSizeStep>(kEditor, u"FontSizeStep", -8, 20),
    ReadBy(TextRow<&C::editor, &E::separatorLine>(kEditor, kSeparatorLineKey), ReadSectionMarkers),
    ReadBy(TextRow<&C::editor, &E::headingLine>(kEditor, kHeadingLineKey), ReadWithSectionMarkers),
    ReadBy(ChoiceRow<&C::editor, &E::sectionMarkerRole>(kEditor, kSectionMarkerRoleKey, kMarkerRoleNames),
           ReadWithSectionMarkers),
    BoolWordRow<&C::editor, &E::detectLinks>(kEditor, u"DetectLinks"),
    ColorRow<&C::editor, &E::imeOnHighlightLight>(kEditor, u"ImeOnHighlightLight"),
    ColorRow<&C::editor, &E::imeOnHighlightDark>(kEditor, u"ImeOnHighlightDark"),
    ColorRow<&C::editor, &E::imeOnUnderlineLight>(kEditor, u"ImeOnUnderlineLight"),
    ColorRow<&C::editor, &E::imeOnUnderlineDark>(kEditor, u"ImeOnUnderlineDark"),

    ChoiceRow<&C::ui, &UiSettings::theme>(kUi, u"Theme", kThemeNames),
    IntegerRow<&C::ui, &UiSettings::opacity>(kUi, u"Opacity", 60, 100),
    FlagRow<&C::ui, &UiSettings::translucent>(kUi, u"Translucent"),
    TextRow<&C::ui, &UiSettings::language>(kUi, u"Language", NormalizeLanguage),

    FlagRow<&C::general, &GeneralSettings::runAtStartup>(kGeneral, u"RunAtStartup"),
    FlagRow<&C::general, &GeneralSettings::closeOnFocusLost>(kGeneral, u"CloseOnFocusLost"),
    FlagRow<&C::general, &GeneralSettings::phoneSync>(kGeneral, u"PhoneSync"),
    FlagRow<&C::general, &GeneralSettings::alwaysOnTop>(kGeneral, u"AlwaysOnTop"),

    FlagRow<&C::backup, &BackupSettings::enabled>(kBackup, u"Enabled"),
    IntegerRow<&C::backup, &BackupSettings::intervalMinutes>(kBackup, u"IntervalMinutes", 0, 1440),
    IntegerRow<&C::backup, &BackupSettings::maxGenerations>(kBackup, u"MaxGenerations", 1, 100),

    FlagRow<&C::window, &WindowSettings::posValid>(kWindow, u"PosValid"),
    IntegerRow<&C::window, &WindowSettings::x>(kWindow, u"X"),
    IntegerRow<&C::window, &WindowSettings::y>(kWindow, u"Y"),
    // Larger than any screen and small enough that sums stay in range.
    IntegerRow<&C::window, &WindowSettings::w>(kWindow, u"W", 240, kMaxWindowExtent),
    IntegerRow<&C::window, &WindowSettings::h>(kWindow, u"H", 160, kMaxWindowExtent),
    FlagRow<&C::window, &WindowSettings::wExcludesSidebar>(kWindow, u"WExcludesSidebar"),

    IntegerRow<&C::search, &SearchSettings::dialogWidth>(kSearch, u"DialogWidth", 0, 4000),
    ListRow(kSearch, u"History", ReadHistory, WriteHistory),

    IntegerRow<&C::headingList, &HeadingListSettings::dialogWidth>(kHeadingList, u"DialogWidth", 0, 4000),
    IntegerRow<&C::headingList, &HeadingListSettings::dialogHeight>(kHeadingList, u"DialogHeight", 0, 4000),

    FlagRow<&C::sidebar, &SidebarSettings::visible>(kSidebar, u"Visible"),
    IntegerRow<&C::sidebar, &SidebarSettings::width>(kSidebar, u"Width", 0, 2000),
    ListRow(kSidebar, u"Folded", ReadFolded, WriteFolded),
};

}  // namespace

std::span<const SettingRow> ConfigSettings() {
    return kRows;
}

void ReadSetting(const SettingRow& row, const IniFile& ini, Config& config) {
    if (row.read != nullptr) {
        row.read(row, ini, config);
        return;
    }
    const std::optional<std::u16string_view> text = FindValue(ini, row.section, row.key);
    if (!text) return;
    switch (row.kind) {
    case SettingKind::Text:
    case SettingKind::Color:
        AccessOf<std::u16string>(row).set(config, row.normalize ? row.normalize(*text) : std::u16string(*text));
        break;
    case SettingKind::BoolWord: {
        const SettingAccess<bool>& access = AccessOf<bool>(row);
        access.set(config, ParseBoolWord(*text, access.get(config)));
        break;
    }
    case SettingKind::Flag: {
        const SettingAccess<bool>& access = AccessOf<bool>(row);
        access.set(config, ParseIniInt(*text, access.get(config) ? 1 : 0) != 0);
        break;
    }
    case SettingKind::Integer: {
        const SettingAccess<int>& access = AccessOf<int>(row);
        access.set(config, std::clamp(ParseIniInt(*text, access.get(config)), row.min, row.max));
        break;
    }
    case SettingKind::Choice:
        if (const std::optional<int> value = MatchChoice(row, *text)) AccessOf<int>(row).set(config, *value);
        break;
    case SettingKind::Hotkey:
        AccessOf<Hotkey>(row).set(config, HotkeyFromConfigValue(*text));
        break;
    case SettingKind::List:
        break;
    }
}

void WriteSetting(const SettingRow& row, const Config& config, IniFile& ini) {
    if (row.write != nullptr) {
        row.write(row, config, ini);
        return;
    }
    switch (row.kind) {
    case SettingKind::Text:
    case SettingKind::Color:
        ini.SetString(row.section, row.key, AccessOf<std::u16string>(row).get(config));
        break;
    case SettingKind::BoolWord:
        ini.SetString(row.section, row.key, AccessOf<bool>(row).get(config) ? u"true" : u"false");
        break;
    case SettingKind::Flag:
        ini.SetString(row.section, row.key, AccessOf<bool>(row).get(config) ? u"1" : u"0");
        break;
    case SettingKind::Integer:
        ini.SetInt(row.section, row.key, AccessOf<int>(row).get(config));
        break;
    case SettingKind::Choice: {
        // A value outside the names writes the first one.
        const auto index = static_cast<std::size_t>(AccessOf<int>(row).get(config));
        ini.SetString(row.section, row.key, row.names[index < row.names.size() ? index : 0]);
        break;
    }
    case SettingKind::Hotkey:
        ini.SetString(row.section, row.key, FormatHotkey(AccessOf<Hotkey>(row).get(config)));
        break;
    case SettingKind::List:
        break;
    }
}

}  // namespace quillpane

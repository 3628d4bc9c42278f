// Localised texts: one row per text id, one entry per language number, with
// English standing in for every missing entry.
#pragma once

#include "i18n/language.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillpane {

enum class TextId : int {
    WelcomeText,           // a new memo file's text: four lines, each ended by CR LF
    LoadFailedTooLarge,    // the memo file is over the load limit
    LoadFailedUnreadable,  // the memo file exists but could not be read
    SaveFailed,            // tray balloon after a failed save
    HotkeyFailed,          // tray balloon when the hotkey cannot be registered
    ExitWaitsForSave,      // tray balloon when Exit is held back by a failed save
    UnsavedTextKept,       // balloon at start; the kept file's path follows the text
    SearchLabel,          // the search box cue and the search commands
    ReplaceLabel,         // the replace box cue and its button
    ReplaceAllLabel,      // the replace-all button
    CloseLabel,           // a close button
    ToggleReplaceRow,     // the button that shows or hides the replace row
    NotFound,             // a find that found nothing
    NothingReplacedReadOnly, // a replace refused on a read-only memo
    ClosePanel,            // tray menu and title bar
    ShowPanel,             // tray menu
    NoneChoice,            // a setting without a value (hotkey)
    WrapLabel,             // word-wrap submenu
    WrapToWindow,          // word-wrap choice
    DontWrap,              // word-wrap choice
    SectionMarkerLabel,    // section-marker submenu
    DividerLine,           // section-marker choice
    HeadingLine,           // section-marker choice
    FontLabel,             // font submenu
    FixedWidth,            // font choice
    Proportional,          // font choice
    PanelOpacity,          // opacity submenu
    MakeTranslucent,       // title bar
    CloseOnFocusLost,      // menus and settings
    PhoneSync,             // menus and settings
    PhoneQrIntro,          // phone QR dialog
    PhoneQrHomeScreen,     // phone QR dialog
    FindCommand,           // title bar, context menu
    VoiceTyping,           // title bar
    OpenWithDefaultApp,    // tray menu, title bar
    ShareCommand,          // tray menu, title bar
    AlwaysOnTop,           // title bar
    Properties,            // context menu
    CharsSuffix,           // status label, after a number
    BytesSuffix,           // status label, after a number
    HighlightWord,         // status label, before the match count
    GoToLine,              // context menu, go-to-line dialog
    HeadingListLabel,      // context menu, heading list
    SidebarButton,         // title bar
    SettingsButton,        // title bar
    ReadmeMenu,            // tray menu: the guide
    SettingsMenu,          // tray menu
    HelpMenu,              // tray menu submenu
    PhoneDocMenu,          // help submenu: the phone guide
    ChangelogMenu,         // help submenu: the version history
    AboutApp,              // menus
    ExitApp,               // tray menu
    LineNumberCue,         // the go-to-line field while empty
    UndoCommand,            // context menu
    RedoCommand,            // context menu
    CutCommand,             // context menu
    CopyCommand,            // context menu
    PasteCommand,           // context menu
    DeleteCommand,          // context menu
    SelectAllCommand,       // context menu
    SelectThisNote,         // context menu
    InsertDateTimeCommand,  // context menu
    HighlightSelectedText,  // context menu, with a selection
    HighlightWordAtCaret,   // context menu, without a selection
    SearchWebCommand,       // context menu
    ReplaceCommand,         // context menu
    GoToLastEdit,           // context menu
    TextSubmenu,            // context menu: the line commands
    DuplicateLine,          // line command
    JoinLines,              // line command
    MoveLineUp,             // line command
    MoveLineDown,           // line command
    SortAscending,          // line command
    SortDescending,         // line command
    RemoveDuplicateLines,   // line command
    RemoveEmptyLines,       // line command
    TrimTrailingWhitespace, // line command
    InsertDate,             // date and time menu
    InsertTime,             // date and time menu
    OpenContainingFolder,   // path submenu
    PathNotFound,           // path submenu: the path does not exist
    FolderEmpty,            // path submenu: a folder without entries
    MoreEntries,            // path submenu: entries not listed
    NetworkPathNotListed,   // path submenu: a path on another machine
    SettingsTitle,          // the settings window's title
    AppearanceHeading,      // settings: section heading
    TextHeading,            // settings: section heading
    MemoHeading,            // settings: section heading
    WindowHeading,          // settings: section heading
    BackupHeading,          // settings: section heading
    LanguageLabel,          // settings: the language list
    WindowsDisplayLanguage, // settings: the first language entry
    ThemeLabel,             // settings: the theme list
    MatchWindows,           // settings: theme choice
    LightTheme,             // settings: theme choice
    DarkTheme,              // settings: theme choice
    ShowLineNumbers,        // settings: check box
    HighlightCurrentLine,   // settings: check box
    UnderlineCurrentLine,   // settings: check box
    ShowSidebar,            // settings: check box
    CaretLabel,             // settings: the caret list
    CaretLine,              // settings: caret choice
    CaretBlock,             // settings: caret choice
    CaretDos,               // settings: caret choice
    FontSizeLabel,          // settings: the font size slider
    FoldMemos,              // settings: check box
    StartWithWindows,       // settings: check box
    ShortcutToShowPanel,    // settings: the hotkey capture
    IntervalMinutes,        // settings: backup interval box
    Generations,            // settings: backup generations box
    OpenBackupFolder,       // settings: button
    OkButton,               // settings: confirms
    CancelButton,           // settings: discards
    HoldCtrlOrAlt,          // hotkey capture: waiting for a combination
    CtrlOrAltRequired,      // hotkey capture: a key without Ctrl or Alt
    OneDriveNotFound,       // message box: phone sync switched on without OneDrive
    ShareNeedsSave,         // balloon: Share refused because the memo could not be saved
    Count,                 // keep last
};
inline constexpr int kTextIdCount = static_cast<int>(TextId::Count);

// One text in every language, indexed by language number. A null or empty
// entry means "no translation"; the English entry is always present.
using TextRow = std::array<const char16_t*, kLanguageCount>;

// The entry for the language, or the English one when that entry is missing
// or the language number is out of range.
[[nodiscard]] std::u16string_view PickText(const TextRow& row, int language);

// The raw row of an id, for callers that need every language at once.
[[nodiscard]] const TextRow& TextRowOf(TextId id);

// The text of an id in a language (English fallback).
[[nodiscard]] std::u16string_view Text(TextId id, int language);

// The plural category of a count in Polish, the one language with three.
enum class PolishPlural { One, Few, Many };
[[nodiscard]] PolishPlural PolishPluralOf(int count);

// The "%d character(s)" format for the count in the language; the caller
// substitutes the count for "%d".
[[nodiscard]] std::u16string_view CharacterCountFormat(int count, int language);
// The "%d occurrences replaced" format, the same way.
[[nodiscard]] std::u16string_view ReplacedCountFormat(int count, int language);

// The five opacity levels, None to Strong (level clamped to 0..4).
[[nodiscard]] std::u16string_view OpacityLevelName(int level, int language);
// The context menu's insert command for the marker role in use.
[[nodiscard]] std::u16string_view InsertMarkerText(bool heading, int language);
// A submenu's label with its current choice: "%s (%s)", full-width brackets in Japanese.
[[nodiscard]] std::u16string SubmenuLabel(std::u16string_view name, std::u16string_view choice, int language);

// A modifier key's name as the language's keyboards label it.
enum class ModifierKey { Ctrl, Alt, Shift };
[[nodiscard]] std::u16string_view ModifierKeyName(ModifierKey key, int language);

// The format with its first "%d" replaced by the count.
[[nodiscard]] std::u16string WithCount(std::u16string_view format, std::size_t count);

}  // namespace quillpane

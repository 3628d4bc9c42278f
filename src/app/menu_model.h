// The tray menu and the settings section it shares with the title bar's menu,
// as data: what each item says, whether it is checked or greyed, and the
// command it posts.
#pragma once

#include "settings/config.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    unsigned id = 0;
    std::u16string text;
    bool checked = false;
    bool radio = false;  // checked as one of a group
    bool grayed = false;
    std::vector<MenuItem> children;
};

// Which of the documents beside the program were found.
struct DocumentsFound {
    bool readme = false;
    bool phone = false;
    bool changelog = false;
};

// The settings section: Settings, the four choice submenus (title bar only),
// the two switches, the documents and About.
void AppendSettingsSection(std::vector<MenuItem>& menu, const Config& config, const DocumentsFound& documents,
                           int language, unsigned aboutId, bool withSubmenus);

[[nodiscard]] std::vector<MenuItem> TrayMenuItems(bool panelShown, const Config& config,
                                                  const DocumentsFound& documents, int language);

// What the editor's context menu greys and how it words its items.
struct EditorMenuState {
    bool canUndo = false;  // history not empty and the memo not read-only
    bool canRedo = false;
    bool hasSelection = false;
    bool clipboardHasText = false;
    bool textEmpty = true;
    bool headingRole = false;  // the marker command inserts a heading
    bool hasLastEdit = false;
    bool canMoveUp = false;    // the caret's lines do not start the text
    bool canMoveDown = false;  // nor reach its end
};
[[nodiscard]] std::vector<MenuItem> EditorMenuItems(const EditorMenuState& state, int language);
// F2: insert date, insert time and the line commands.
[[nodiscard]] std::vector<MenuItem> DateTimeMenuItems(const EditorMenuState& state, int language);

// One entry of a folder the path submenu lists.
struct FolderEntry {
    std::u16string name;
    bool folder = false;
};
// At most this many entries are listed; the rest are counted.
inline constexpr std::size_t kListedEntries = 30;

// What the path under the pointer is, for its submenu.
struct PathMenuInfo {
    enum class Kind { Folder, File, Missing, Network };
    Kind kind = Kind::Missing;
    std::u16string displayName;
    bool listed = false;  // the folder (a file's own folder) could be read
    std::vector<FolderEntry> entries;  // arranged, at most kListedEntries
    std::size_t more = 0;              // entries not listed
};
// Folders first, then files, each in the order of less; then cut to
// kListedEntries with the rest counted in info.more.
void ArrangeFolderEntries(PathMenuInfo& info, std::vector<FolderEntry> entries,
                          const std::function<bool(std::u16string_view, std::u16string_view)>& less);
[[nodiscard]] MenuItem PathSubmenu(const PathMenuInfo& info, int language);

// Where F2's menu opens: below the caret line, or above it (bottom-aligned)
// when the menu would run past the work area's bottom.
struct MenuAnchor {
    int y = 0;
    bool bottomAligned = false;
};
[[nodiscard]] MenuAnchor DateTimeMenuAnchor(int caretY, int lineHeight, int workTop, int workBottom, int dpi);

// The opacity levels the menu offers, None to Strong.
inline constexpr std::array<int, 5> kOpacityLevels = {100, 90, 80, 70, 60};

// A document beside the program ("README", "PHONE", "CHANGELOG"): the file
// names to look for, first choice first (Japanese prefers the one without ".en").
[[nodiscard]] std::array<std::u16string, 2> DocumentFileOrder(std::u16string_view stem, int language);

}  // namespace quillpane

// The tray menu and the settings section it shares with the title bar's menu,
// as data: what each item says, whether it is checked or greyed, and the
// command it posts.
#pragma once

#include "settings/config.h"

#include <array>
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

// The opacity levels the menu offers, None to Strong.
inline constexpr std::array<int, 5> kOpacityLevels = {100, 90, 80, 70, 60};

// A document beside the program ("README", "PHONE", "CHANGELOG"): the file
// names to look for, first choice first (Japanese prefers the one without ".en").
[[nodiscard]] std::array<std::u16string, 2> DocumentFileOrder(std::u16string_view stem, int language);

}  // namespace quillpane

// The settings window's rules: the working copy and how it comes from and
// goes back to Config, what the boxes and lists mean, where every control
// sits, the scrolling and the colours.
#pragma once

#include "editor/editor_look.h"
#include "platform/geometry.h"
#include "settings/config.h"
#include "settings/hotkey.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// What the window edits; the caller fills it and applies it on OK.
struct SettingsCopy {
    Hotkey hotkey;  // key 0: no hotkey
    bool noWrap = false;
    bool foldMemos = false;
    int theme = 0;  // 0 follow Windows, 1 light, 2 dark
    bool fixedPitch = false;
    int fontSizeStep = 0;
    int opacity = 80;
    bool lineHighlight = true;
    bool lineUnderline = false;
    bool lineNumbers = true;
    bool sidebar = true;
    int caretStyle = 0;  // 0 line, 1 block, 2 DOS
    bool headingRole = false;
    std::u16string dividerText;
    std::u16string headingText;
    bool closeOnFocusLost = false;
    bool phoneSync = false;
    bool runAtStartup = true;
    int backupInterval = 10;
    int backupGenerations = 30;
    std::u16string language;  // empty: the Windows display language
    bool operator==(const SettingsCopy&) const = default;
};

// The copy of the settings as they are; the font size is the session's step.
[[nodiscard]] SettingsCopy CopyOfSettings(const Config& config, int sessionFontStep);
// Writes the copy's values into config; the rest of config stays.
void StoreSettings(const SettingsCopy& copy, Config& config);

// The parts of config.ini that are saved together when they changed.
enum class SettingsGroup { Editor, Ui, General, Backup, Sidebar };
[[nodiscard]] std::vector<SettingsGroup> ChangedGroups(const Config& before, const Config& after);

// ---- the controls' values -------------------------------------------------------

// The language list: "Windows display language" first, then the stored codes.
inline constexpr int kLanguageEntryCount = 12;
[[nodiscard]] std::u16string_view LanguageEntryCode(int entry);
// The entry's own name ("Deutsch"); entry 0 has a localised name instead.
[[nodiscard]] std::u16string_view LanguageEntryName(int entry);
// The entry of a stored value: its language's entry when it is an accepted
// value, else the first one, so that OK never pins a language by accident.
[[nodiscard]] int LanguageEntryFor(std::u16string_view stored);
// What OK stores for the chosen entry: the value as it was when the choice
// still means it, else the entry's code.
[[nodiscard]] std::u16string LanguageToStore(int entry, std::u16string_view stored);

// The font-size slider: positions 0-8 are steps -3..5 and 8..16 pt.
inline constexpr int kFontSizePositions = 9;
[[nodiscard]] int FontSizePosition(int step);
[[nodiscard]] int FontSizeStepAt(int position);
[[nodiscard]] int FontSizePoints(int position);
[[nodiscard]] int ClampSettingsOpacity(int percent);

inline constexpr int kIntervalMin = 0;
inline constexpr int kIntervalMax = 1440;
inline constexpr int kIntervalEmpty = 10;
inline constexpr int kGenerationsMin = 1;
inline constexpr int kGenerationsMax = 100;
inline constexpr int kGenerationsEmpty = 30;
inline constexpr int kIntervalDigits = 4;
inline constexpr int kGenerationsDigits = 3;
// A number box's value: its leading digits (an empty box or one without
// digits gives emptyValue), clamped; huge numbers saturate.
[[nodiscard]] int BoxNumber(std::u16string_view text, int emptyValue, int min, int max);

inline constexpr int kMarkerBoxLimit = 200;
// A marker box's text without line breaks; empty gives the fallback.
[[nodiscard]] std::u16string MarkerFromBox(std::u16string_view text, std::u16string_view fallback);
// Characters that are not CR or LF among the first 200 units (a surrogate pair counts once).
[[nodiscard]] int MarkerCharacterCount(std::u16string_view text);

// The hotkey OK stores: none, or the combination with a bracket key
// (which config.ini cannot hold) replaced by Ctrl+F1.
[[nodiscard]] Hotkey HotkeyToStore(bool none, const Hotkey& current);

// ---- layout ---------------------------------------------------------------------

// Every control in navigation order; a control's id is kSettingsFirstId plus its index.
enum class SettingsControl : int {
    Language,
    Theme,
    Opacity,
    LineNumbers,
    Highlight,
    Underline,
    Sidebar,
    Caret,
    Font,
    FontSize,
    Wrap,
    Marker,
    Divider,
    Heading,
    FoldMemos,
    CloseOnFocusLost,
    RunAtStartup,
    PhoneSync,
    Hotkey,
    NoHotkey,
    Interval,
    Generations,
    OpenBackup,
    Ok,
    Cancel,
};
inline constexpr int kSettingsControlCount = 25;
inline constexpr int kSettingsFirstId = 400;
[[nodiscard]] constexpr int SettingsControlId(SettingsControl control) {
    return kSettingsFirstId + static_cast<int>(control);
}

// The texts beside the controls: headings, labels, slider values, counts.
enum class SettingsText : int {
    AppearanceHeading,
    TextHeading,
    MemoHeading,
    WindowHeading,
    BackupHeading,
    LanguageLabel,
    ThemeLabel,
    OpacityLabel,
    OpacityValue,
    CaretLabel,
    FontLabel,
    FontSizeLabel,
    FontSizeValue,
    WrapLabel,
    MarkerLabel,
    DividerLabel,
    DividerCount,
    HeadingLabel,
    HeadingCount,
    ShortcutLabel,
    IntervalLabel,
    GenerationsLabel,
};
inline constexpr int kSettingsTextCount = 22;

// Lengths measured by the caller, in pixels at the window's DPI.
struct SettingsMeasures {
    int dpi = 96;
    int lineHeight = 16;        // T: text height plus external leading, at least 12
    int headingHeight = 16;     // the bold font's line
    int opacityValueWidth = 0;  // "100%"
    int fontSizeValueWidth = 0; // "16 pt"
    int countWidth = 0;         // the widest character count
    int noneWidth = 0;          // the "None" check box, box and text
    int arrowWidth = 16;        // the up-down arrows
    int openBackupWidth = 0;    // the button's text
    // Wrapped text heights: a check box's text or a label at a width.
    std::function<int(SettingsControl, int)> checkHeight;
    std::function<int(SettingsText, int)> textHeight;
};

// C: the height of combo fields, boxes and push buttons.
[[nodiscard]] int ControlHeight(int lineHeight, int dpi);

// Body coordinates before scrolling.
struct SettingsLayout {
    std::array<Rect, kSettingsControlCount> controls {};  // Ok and Cancel stay empty: they are in the bar
    std::array<Rect, kSettingsTextCount> texts {};
    Rect intervalArrows;
    Rect generationsArrows;
    int columnWidth = 0;
    int contentHeight = 0;
    bool scrolls = false;
};
// The body at its width and height; the scroll-bar reserve is taken only
// when the content is taller than the body.
[[nodiscard]] SettingsLayout LayoutSettingsBody(const SettingsMeasures& measures, int bodyWidth, int bodyHeight);
// A check box's box and the gap before its text.
[[nodiscard]] int CheckBoxSize(int dpi);
[[nodiscard]] int CheckTextOffset(int dpi);

inline constexpr int kButtonBarHeight = 68;
// OK and Cancel in the window's client area.
struct SettingsBar {
    Rect ok;
    Rect cancel;
};
[[nodiscard]] SettingsBar LayoutSettingsBar(Size client, int controlHeight, int buttonTextWidth, int dpi);

// The client width: 780 px, wider when a column needs more for its widest
// list entry (which then is never cut).
[[nodiscard]] int SettingsClientWidth(int dpi, int widestEntry, int arrowWidth);
// Where a list entry's text starts and how much the field keeps on its right.
[[nodiscard]] int ComboTextLeft(int dpi);
[[nodiscard]] int ComboArrowArea(int dpi);

// The window rectangle: its size kept to the work area less 8 px a side,
// centred over a visible owner or else in the work area, then kept inside it.
[[nodiscard]] Rect PlaceSettingsWindow(Size outer, std::optional<Rect> owner, const Rect& work, int dpi);

// ---- scrolling ---------------------------------------------------------------------

[[nodiscard]] int ClampScroll(int offset, int contentHeight, int bodyHeight);
// The offset that shows the control (body coordinates before scrolling)
// with an 8 px margin, or the offset unchanged when it is in view.
[[nodiscard]] int ScrollToShow(int offset, const Rect& control, int bodyHeight, int dpi);
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom };
[[nodiscard]] int ScrollBy(int offset, ScrollRequest request, int bodyHeight, int dpi);
// A wheel turn moves by half its delta in pixels.
[[nodiscard]] int ScrollByWheel(int offset, int wheelDelta);

// ---- colours -------------------------------------------------------------------------

struct SettingsPalette {
    Colour background;
    Colour input;
    Colour text;
    Colour secondary;
    Colour disabled;
    Colour border;
    Colour accent;
    Colour selectedFill;
    Colour selectedText;
    Colour track;
    Colour thumbFill;
    Colour thumbBorder;
    Colour onAccent;  // text on an accent-filled button
};
[[nodiscard]] SettingsPalette SettingsColours(bool dark);

}  // namespace quillpane

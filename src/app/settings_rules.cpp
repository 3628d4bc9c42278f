// The settings window's rules: the working copy and how it comes from and
// goes back to Config, what the boxes and lists mean, where every control
// sits, the scrolling and the colours.
#include "app/settings_rules.h"

#include "i18n/language.h"
#include "platform/dpi.h"

#include <algorithm>
#include <climits>

namespace quillpane {
namespace {

constexpr int kSliderMinStep = -3;
constexpr int kSliderMaxStep = 5;
constexpr int kMinOpacity = 60;
constexpr int kMaxOpacity = 100;

// Entry 0 is the Windows display language; the rest in the list's order.
constexpr std::array<std::u16string_view, kLanguageEntryCount> kEntryCodes = {
    u"", u"en", u"ja", u"ko", u"zh", u"zh-TW", u"fr", u"de", u"it", u"es", u"pt-BR", u"pl",
};
constexpr std::array<std::u16string_view, kLanguageEntryCount> kEntryNames = {
    u"",       u"English",  u"日本語",  u"한국어",  u"中文（简体）",       u"中文（繁體）",
    u"Français", u"Deutsch", u"Italiano", u"Español", u"Português (Brasil)", u"Polski",
};

std::u16string CutLanguage(std::u16string_view value) {
    std::u16string result(value.substr(0, kMaxLanguageLength));
    // No half of a surrogate pair at the cut.
    if (value.size() > kMaxLanguageLength && result.back() >= 0xD800 && result.back() <= 0xDBFF) result.pop_back();
    return result;
}

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

}  // namespace

SettingsCopy CopyOfSettings(const Config& config, int sessionFontStep) {
    const EditorSettings& editor = config.editor;
    SettingsCopy copy;
    copy.hotkey = config.shortcut.key;
    copy.noWrap = editor.wordWrap == WordWrap::NoWrap;
    copy.foldMemos = editor.memoFold;
    copy.theme = static_cast<int>(config.ui.theme);
    copy.fixedPitch = editor.fontPitch == FontPitch::Fixed;
    copy.fontSizeStep = sessionFontStep;
    copy.opacity = config.ui.opacity;
    copy.lineHighlight = editor.showCurrentLineHighlight;
    copy.lineUnderline = editor.showCurrentLineUnderline;
    copy.lineNumbers = editor.showLineNumbers;
    copy.sidebar = config.sidebar.visible;
    copy.caretStyle = static_cast<int>(editor.caretStyle);
    copy.headingRole = editor.sectionMarkerRole == SectionMarkerRole::Heading;
    copy.dividerText = editor.separatorLine;
    copy.headingText = editor.headingLine;
    copy.closeOnFocusLost = config.general.closeOnFocusLost;
    copy.phoneSync = config.general.phoneSync;
    copy.runAtStartup = config.general.runAtStartup;
    copy.backupInterval = config.backup.intervalMinutes;
    copy.backupGenerations = config.backup.maxGenerations;
    copy.language = config.ui.language;
    return copy;
}

// The hotkey is not stored here: it is registered first, and kept only when that works.
void StoreSettings(const SettingsCopy& copy, Config& config) {
    EditorSettings& editor = config.editor;
    editor.wordWrap = copy.noWrap ? WordWrap::NoWrap : WordWrap::Wrap;
    editor.memoFold = copy.foldMemos;
    config.ui.theme = copy.theme == 1 ? Theme::Light : copy.theme == 2 ? Theme::Dark : Theme::FollowOs;
    editor.fontPitch = copy.fixedPitch ? FontPitch::Fixed : FontPitch::Proportional;
    editor.fontSizeStep = std::clamp(copy.fontSizeStep, kMinFontStep, kMaxFontStep);
    config.ui.opacity = ClampSettingsOpacity(copy.opacity);
    editor.showCurrentLineHighlight = copy.lineHighlight;
    editor.showCurrentLineUnderline = copy.lineUnderline;
    editor.showLineNumbers = copy.lineNumbers;
    config.sidebar.visible = copy.sidebar;
    editor.caretStyle = copy.caretStyle == 1   ? CaretStyle::Block
                        : copy.caretStyle == 2 ? CaretStyle::Dos
                                               : CaretStyle::Line;
    editor.sectionMarkerRole = copy.headingRole ? SectionMarkerRole::Heading : SectionMarkerRole::Separator;
    editor.separatorLine = MarkerFromBox(copy.dividerText, kDefaultSeparatorLine);
    editor.headingLine = MarkerFromBox(copy.headingText, kDefaultHeadingLine);
    config.general.closeOnFocusLost = copy.closeOnFocusLost;
    config.general.phoneSync = copy.phoneSync;
    config.general.runAtStartup = copy.runAtStartup;
    config.backup.intervalMinutes = std::clamp(copy.backupInterval, kIntervalMin, kIntervalMax);
    config.backup.maxGenerations = std::clamp(copy.backupGenerations, kGenerationsMin, kGenerationsMax);
    config.ui.language = CutLanguage(copy.language);
}

std::vector<SettingsGroup> ChangedGroups(const Config& before, const Config& after) {
    std::vector<SettingsGroup> groups;
    if (before.editor != after.editor) groups.push_back(SettingsGroup::Editor);
    if (before.ui != after.ui) groups.push_back(SettingsGroup::Ui);
    if (before.general != after.general) groups.push_back(SettingsGroup::General);
    if (before.backup != after.backup) groups.push_back(SettingsGroup::Backup);
    if (before.sidebar.visible != after.sidebar.visible) groups.push_back(SettingsGroup::Sidebar);
    return groups;
}

std::u16string_view LanguageEntryCode(int entry) {
    return entry >= 0 && entry < kLanguageEntryCount ? kEntryCodes[static_cast<std::size_t>(entry)] : u"";
}

std::u16string_view LanguageEntryName(int entry) {
    return entry >= 0 && entry < kLanguageEntryCount ? kEntryNames[static_cast<std::size_t>(entry)] : u"";
}

int LanguageEntryFor(std::u16string_view stored) {
    if (stored.empty()) return 0;
    const std::optional<int> language = LanguageFromAlias(stored);
    if (!language) return 0;
    for (int entry = 1; entry < kLanguageEntryCount; ++entry) {
        if (LanguageFromAlias(kEntryCodes[static_cast<std::size_t>(entry)]) == language) return entry;
    }
    return 0;
}

std::u16string LanguageToStore(int entry, std::u16string_view stored) {
    if (entry == LanguageEntryFor(stored)) return std::u16string(stored);
    return std::u16string(LanguageEntryCode(entry));
}

int FontSizePosition(int step) {
    return std::clamp(step, kSliderMinStep, kSliderMaxStep) - kSliderMinStep;
}

int FontSizeStepAt(int position) {
    return std::clamp(position, 0, kFontSizePositions - 1) + kSliderMinStep;
}

int FontSizePoints(int position) {
    return std::clamp(position, 0, kFontSizePositions - 1) + 8;
}

int ClampSettingsOpacity(int percent) {
    return std::clamp(percent, kMinOpacity, kMaxOpacity);
}

int BoxNumber(std::u16string_view text, int emptyValue, int min, int max) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) ++at;
    long long value = 0;
    bool digits = false;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        digits = true;
        // Saturates well above any limit instead of overflowing.
        value = std::min<long long>(value * 10 + (text[at] - u'0'), INT_MAX);
    }
    if (!digits) return std::clamp(emptyValue, min, max);
    return std::clamp(static_cast<int>(value), min, max);
}

std::u16string MarkerFromBox(std::u16string_view text, std::u16string_view fallback) {
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        if (!IsLineBreak(c)) result.push_back(c);
    }
    return result.empty() ? std::u16string(fallback) : result;
}

int MarkerCharacterCount(std::u16string_view text) {
    const std::u16string_view counted = text.substr(0, kMarkerBoxLimit);
    int count = 0;
    for (std::size_t at = 0; at < counted.size(); ++at) {
        const char16_t c = counted[at];
        if (IsLineBreak(c)) continue;
        ++count;
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && at + 1 < counted.size() && counted[at + 1] >= 0xDC00 && counted[at + 1] <= 0xDFFF) ++at;
    }
    return count;
}

Hotkey HotkeyToStore(bool none, const Hotkey& current) {
    if (none || current.key == 0) return Hotkey {kModControl, 0};
    if (current.key == kVkOem4 || current.key == kVkOem6) return Hotkey {};
    return current;
}

// ---- layout -------------------------------------------------------------------------

int ControlHeight(int lineHeight, int dpi) {
    return lineHeight + Scale(8, dpi);
}

int CheckBoxSize(int dpi) {
    return Scale(16, dpi);
}

int CheckTextOffset(int dpi) {
    return CheckBoxSize(dpi) + Scale(8, dpi);
}

namespace {

// One column filled from the top down.
class Column {
public:
    Column(const SettingsMeasures& m, SettingsLayout& layout, int left, int width, int top)
        : m_(m), layout_(layout), left_(left), width_(width), y_(top) {}

    int Bottom() const { return y_; }
    void MoveTo(int y) { y_ = y; }

    void Heading(SettingsText text) {
        const int height = std::max(m_.headingHeight, m_.textHeight(text, width_));
        Put(text, Rect {left_, y_, left_ + width_, y_ + height});
        y_ += height + Scale(8, m_.dpi);
    }

    // A label above its control; with a count, the count takes the label line's right end.
    void Row(SettingsText label, SettingsControl control, std::optional<SettingsText> count = std::nullopt) {
        const int countWidth = count ? std::min(m_.countWidth, width_ / 2) : 0;
        const int labelWidth = width_ - (count ? countWidth + Scale(8, m_.dpi) : 0);
        const int height = LabelHeight(label, labelWidth);
        Put(label, Rect {left_, y_, left_ + labelWidth, y_ + height});
        if (count) Put(*count, Rect {left_ + width_ - countWidth, y_, left_ + width_, y_ + m_.lineHeight});
        y_ += height + Scale(6, m_.dpi);
        Put(control, Rect {left_, y_, left_ + width_, y_ + C()});
        y_ += C() + Scale(12, m_.dpi);
    }

    // A slider with its value text at the right end of its line.
    void SliderRow(SettingsText label, SettingsControl control, SettingsText value, int valueWidth) {
        const int height = LabelHeight(label, width_);
        Put(label, Rect {left_, y_, left_ + width_, y_ + height});
        y_ += height + Scale(6, m_.dpi);
        const int valueSpace = std::min(valueWidth + Scale(4, m_.dpi), width_ / 2);
        Put(control, Rect {left_, y_, left_ + width_ - valueSpace, y_ + C()});
        const int valueTop = y_ + (C() - m_.lineHeight) / 2;
        Put(value, Rect {left_ + width_ - valueSpace, valueTop, left_ + width_, valueTop + m_.lineHeight});
        y_ += C() + Scale(12, m_.dpi);
    }

    void Check(SettingsControl control) {
        const int height = CheckRowHeight(control, width_);
        Put(control, Rect {left_, y_, left_ + width_, y_ + height});
        y_ += height + Scale(2, m_.dpi);
    }
    // After a run of check boxes: the usual gap before what follows.
    void EndChecks() { y_ += Scale(10, m_.dpi); }

    // The capture button with "None" at its right.
    void HotkeyRow() {
        const int height = LabelHeight(SettingsText::ShortcutLabel, width_);
        Put(SettingsText::ShortcutLabel, Rect {left_, y_, left_ + width_, y_ + height});
        y_ += height + Scale(6, m_.dpi);
        const int noneWidth = std::min(m_.noneWidth, width_ / 2);
        const int noneHeight = std::max(C(), CheckRowHeight(SettingsControl::NoHotkey, noneWidth));
        Put(SettingsControl::Hotkey,
            Rect {left_, y_, std::max(left_ + 1, left_ + width_ - noneWidth - Scale(8, m_.dpi)), y_ + C()});
        Put(SettingsControl::NoHotkey, Rect {left_ + width_ - noneWidth, y_, left_ + width_, y_ + noneHeight});
        y_ += noneHeight + Scale(12, m_.dpi);
    }

    // Interval and generations side by side, each half the column less 6 px.
    void NumberRow() {
        const int boxWidth = std::max(Scale(40, m_.dpi), width_ / 2 - Scale(6, m_.dpi));
        const int secondLeft = left_ + width_ - boxWidth;
        const int height = std::max(LabelHeight(SettingsText::IntervalLabel, boxWidth),
                                    LabelHeight(SettingsText::GenerationsLabel, boxWidth));
        Put(SettingsText::IntervalLabel, Rect {left_, y_, left_ + boxWidth, y_ + height});
        Put(SettingsText::GenerationsLabel, Rect {secondLeft, y_, secondLeft + boxWidth, y_ + height});
        y_ += height + Scale(6, m_.dpi);
        const Rect first {left_, y_, left_ + boxWidth, y_ + C()};
        const Rect second {secondLeft, y_, secondLeft + boxWidth, y_ + C()};
        Put(SettingsControl::Interval, first);
        Put(SettingsControl::Generations, second);
        layout_.intervalArrows = ArrowsIn(first);
        layout_.generationsArrows = ArrowsIn(second);
        y_ += C() + Scale(12, m_.dpi);
    }

    void Button(SettingsControl control, int textWidth) {
        const int width = std::min(width_, std::max(Scale(108, m_.dpi), textWidth + Scale(32, m_.dpi)));
        Put(control, Rect {left_, y_, left_ + width, y_ + C()});
        y_ += C() + Scale(12, m_.dpi);
    }

private:
    int C() const { return ControlHeight(m_.lineHeight, m_.dpi); }
    int LabelHeight(SettingsText text, int width) const { return std::max(m_.lineHeight, m_.textHeight(text, width)); }
    int CheckRowHeight(SettingsControl control, int width) const {
        const int textWidth = std::max(1, width - CheckTextOffset(m_.dpi));
        return std::max(m_.lineHeight, m_.checkHeight(control, textWidth)) + Scale(8, m_.dpi);
    }
    Rect ArrowsIn(const Rect& box) const {
        const int inset = std::max(1, Scale(1, m_.dpi));
        return Rect {box.right - inset - m_.arrowWidth, box.top + inset, box.right - inset, box.bottom - inset};
    }
    void Put(SettingsControl control, const Rect& rect) {
        layout_.controls[static_cast<std::size_t>(control)] = rect;
    }
    void Put(SettingsText text, const Rect& rect) { layout_.texts[static_cast<std::size_t>(text)] = rect; }

    const SettingsMeasures& m_;
    SettingsLayout& layout_;
    int left_;
    int width_;
    int y_;
};

SettingsLayout LayoutWithReserve(const SettingsMeasures& m, int bodyWidth, int reserve) {
    SettingsLayout layout;
    const int margin = Scale(24, m.dpi);
    const int gap = Scale(16, m.dpi);
    layout.columnWidth = std::max(Scale(10, m.dpi), (bodyWidth - 2 * margin - 2 * gap - reserve) / 3);
    const int width = layout.columnWidth;
    const int top = Scale(20, m.dpi);
    Column first(m, layout, margin, width, top);
    Column second(m, layout, margin + width + gap, width, top);
    Column third(m, layout, margin + 2 * (width + gap), width, top);

    first.Heading(SettingsText::AppearanceHeading);
    first.Row(SettingsText::LanguageLabel, SettingsControl::Language);
    first.Row(SettingsText::ThemeLabel, SettingsControl::Theme);
    first.SliderRow(SettingsText::OpacityLabel, SettingsControl::Opacity, SettingsText::OpacityValue,
                    m.opacityValueWidth);

    second.Heading(SettingsText::TextHeading);
    second.Row(SettingsText::FontLabel, SettingsControl::Font);
    second.SliderRow(SettingsText::FontSizeLabel, SettingsControl::FontSize, SettingsText::FontSizeValue,
                     m.fontSizeValueWidth);
    second.Row(SettingsText::WrapLabel, SettingsControl::Wrap);

    third.Heading(SettingsText::WindowHeading);
    third.Check(SettingsControl::CloseOnFocusLost);
    third.Check(SettingsControl::RunAtStartup);
    third.Check(SettingsControl::PhoneSync);
    third.EndChecks();
    third.HotkeyRow();

    // The second groups start together, below the lowest first group.
    const int lower = std::max({first.Bottom(), second.Bottom(), third.Bottom()});
    first.MoveTo(lower);
    second.MoveTo(lower);
    third.MoveTo(lower);

    first.Check(SettingsControl::LineNumbers);
    first.Check(SettingsControl::Highlight);
    first.Check(SettingsControl::Underline);
    first.Check(SettingsControl::Sidebar);
    first.EndChecks();
    first.Row(SettingsText::CaretLabel, SettingsControl::Caret);

    second.Heading(SettingsText::MemoHeading);
    second.Row(SettingsText::MarkerLabel, SettingsControl::Marker);
    second.Row(SettingsText::DividerLabel, SettingsControl::Divider, SettingsText::DividerCount);
    second.Row(SettingsText::HeadingLabel, SettingsControl::Heading, SettingsText::HeadingCount);
    second.Check(SettingsControl::FoldMemos);
    second.EndChecks();

    third.Heading(SettingsText::BackupHeading);
    third.NumberRow();
    third.Button(SettingsControl::OpenBackup, m.openBackupWidth);

    // Each column ends with the gap before a next row; the margin replaces it.
    const int bottom = std::max({first.Bottom(), second.Bottom(), third.Bottom()});
    layout.contentHeight = bottom - Scale(12, m.dpi) + margin;
    return layout;
}

}  // namespace

SettingsLayout LayoutSettingsBody(const SettingsMeasures& measures, int bodyWidth, int bodyHeight) {
    SettingsLayout layout = LayoutWithReserve(measures, bodyWidth, 0);
    if (layout.contentHeight <= bodyHeight) return layout;
    layout = LayoutWithReserve(measures, bodyWidth, Scale(20, measures.dpi));
    layout.scrolls = true;
    return layout;
}

SettingsBar LayoutSettingsBar(Size client, int controlHeight, int buttonTextWidth, int dpi) {
    const int width = std::max(Scale(108, dpi), buttonTextWidth + Scale(24, dpi));
    const int barTop = client.height - Scale(kButtonBarHeight, dpi);
    const int top = barTop + (Scale(kButtonBarHeight, dpi) - controlHeight) / 2;
    SettingsBar bar;
    bar.cancel = Rect {client.width - Scale(24, dpi) - width, top, client.width - Scale(24, dpi), top + controlHeight};
    bar.ok = Rect {bar.cancel.left - Scale(8, dpi) - width, top, bar.cancel.left - Scale(8, dpi), top + controlHeight};
    return bar;
}

int ComboTextLeft(int dpi) {
    return Scale(10, dpi);
}

int ComboArrowArea(int dpi) {
    return Scale(28, dpi);
}

int SettingsClientWidth(int dpi, int widestEntry, int arrowWidth) {
    const int column = ComboTextLeft(dpi) + widestEntry + ComboArrowArea(dpi);
    // Room for the scroll bar too, so that a later reserve still fits the entry.
    const int needed = 3 * column + 2 * Scale(24, dpi) + 2 * Scale(16, dpi) + std::max(arrowWidth, Scale(20, dpi));
    return std::max(Scale(780, dpi), needed);
}

Rect PlaceSettingsWindow(Size outer, std::optional<Rect> owner, const Rect& work, int dpi) {
    const int margin = Scale(8, dpi);
    const int width = std::max(1, std::min(outer.width, work.Width() - 2 * margin));
    const int height = std::max(1, std::min(outer.height, work.Height() - 2 * margin));
    const Rect around = owner.value_or(work);
    int left = around.left + (around.Width() - width) / 2;
    int top = around.top + (around.Height() - height) / 2;
    left = std::max(work.left + margin, std::min(left, work.right - margin - width));
    top = std::max(work.top + margin, std::min(top, work.bottom - margin - height));
    return Rect {left, top, left + width, top + height};
}

int ClampScroll(int offset, int contentHeight, int bodyHeight) {
    return std::clamp(offset, 0, std::max(0, contentHeight - bodyHeight));
}

int ScrollToShow(int offset, const Rect& control, int bodyHeight, int dpi) {
    const int margin = Scale(8, dpi);
    if (control.top - margin < offset) return std::max(0, control.top - margin);
    if (control.bottom + margin > offset + bodyHeight) {
        // A control taller than the body shows its top.
        return std::max(0, std::min(control.top - margin, control.bottom + margin - bodyHeight));
    }
    return offset;
}

int ScrollBy(int offset, ScrollRequest request, int bodyHeight, int dpi) {
    const int line = Scale(24, dpi);
    const int page = std::max(line, bodyHeight - line);
    switch (request) {
    case ScrollRequest::LineUp: return offset - line;
    case ScrollRequest::LineDown: return offset + line;
    case ScrollRequest::PageUp: return offset - page;
    case ScrollRequest::PageDown: return offset + page;
    case ScrollRequest::Top: return 0;
    case ScrollRequest::Bottom: return INT_MAX / 2;
    }
    return offset;
}

int ScrollByWheel(int offset, int wheelDelta) {
    return offset - wheelDelta / 2;
}

SettingsPalette SettingsColours(bool dark) {
    if (dark) {
        return {HexColour(0x202124), HexColour(0x35373A), HexColour(0xE8E8E8), HexColour(0xAEB2B8),
                HexColour(0x8B8F95), HexColour(0x53565A), HexColour(0x78A9E8), HexColour(0x2E4A70),
                HexColour(0xE8E8E8), HexColour(0x383A3E), HexColour(0xE8E8E8), HexColour(0xAEB2B8),
                HexColour(0x202124)};
    }
    return {HexColour(0xF5F5F7), HexColour(0xFFFFFF), HexColour(0x202024), HexColour(0x6E7078),
            HexColour(0x6E7078), HexColour(0xDADADE), HexColour(0x0072C6), HexColour(0x0072C6),
            HexColour(0xFFFFFF), HexColour(0xD0D2D8), HexColour(0xFFFFFF), HexColour(0xA8ACB4),
            HexColour(0xFFFFFF)};
}

}  // namespace quillpane

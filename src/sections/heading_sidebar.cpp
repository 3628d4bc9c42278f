#include "sections/heading_sidebar.h"

#include "platform/dpi.h"
#include "sections/memo_fold.h"

#include <algorithm>
#include <climits>

namespace quillpane {
namespace {

constexpr int kMinStep = -8;
constexpr int kMaxStep = 20;
constexpr unsigned kWheelDelta = 120;
constexpr unsigned kWheelPageScroll = UINT_MAX;

// A length at this DPI, but never below `floor` device pixels.
int AtLeast(int px96, int dpi, int floor) {
    return std::max(Scale(px96, dpi), floor);
}

// The row's visible content: what a repaint is needed for.
bool SameLook(const SectionEntry& a, const SectionEntry& b) {
    return a.hitCount == b.hitCount && a.title == b.title && a.subtitle == b.subtitle &&
           a.startsAtMarker == b.startsAtMarker && a.canFold == b.canFold && a.folded == b.folded;
}

bool DropAllowed(const SectionList& entries, int source, int target) {
    if (target == source || target == source + 1) return true;
    if (!entries[static_cast<std::size_t>(source)].startsAtMarker) return false;
    // Rows between the two positions shift by one; one without a marker must not.
    const int low = std::min(source + 1, target);
    const int high = std::max(source, target);  // exclusive
    for (int row = low; row < high; ++row) {
        if (row != source && !entries[static_cast<std::size_t>(row)].startsAtMarker) return false;
    }
    return true;
}

}  // namespace

SidebarPalette SidebarColours(bool dark) {
    if (dark) {
        return {HexColour(0x2E3036), HexColour(0xE0E0E0), HexColour(0x46464E), HexColour(0x374B69),
                HexColour(0x96B0D6), HexColour(0xBABCC2), HexColour(0x9698A0), HexColour(0xD6D8DE),
                HexColour(0x9698A0), HexColour(0x6E727A)};
    }
    return {HexColour(0xECEEF2), HexColour(0x282828), HexColour(0xC8C8D0), HexColour(0xC8DCF5),
            HexColour(0x406EB0), HexColour(0x484A52), HexColour(0x6E7078), HexColour(0x303238),
            HexColour(0x6E7078), HexColour(0xB0B4BC)};
}

int SidebarPointSize(int sizeStep) {
    return 11 + std::clamp(sizeStep, kMinStep, kMaxStep);
}

int SidebarSubtitlePointSize(int sizeStep) {
    return std::max(SidebarPointSize(sizeStep) - 2, 8);
}

SidebarMetrics ComputeSidebarMetrics(int dpi, int sizeStep) {
    const int points = SidebarPointSize(sizeStep);
    SidebarMetrics m;
    m.rowHeight = std::max(1, Scale((48 * points + 5) / 11, dpi));
    m.handleColumn = AtLeast(32, dpi, 18);
    m.textInset = Scale(10, dpi);
    m.foldColumn = AtLeast(28, dpi, 16);
    m.foldInset = Scale(2, dpi);
    m.triangleHalf = AtLeast(5, dpi, 4);
    m.triangleHitHalf = AtLeast(5, dpi, 4);
    m.handleLineHalf = AtLeast(7, dpi, 6);
    m.handleLineGap = AtLeast(3, dpi, 3);
    m.titleGap = Scale(7, dpi);
    m.countGap = Scale(8, dpi);
    m.countPad = Scale(4, dpi);
    m.focusBar = Scale(3, dpi);
    m.dropBar = AtLeast(2, dpi, 2);
    m.listLeft = Scale(5, dpi);
    m.listMargin = Scale(6, dpi);
    m.resizeStrip = Scale(4, dpi);
    m.dragThreshold = AtLeast(4, dpi, 4);
    m.autoScrollBand = AtLeast(16, dpi, 8);
    return m;
}

SidebarRowLayout LayoutSidebarRow(const SidebarRowInput& input, const SidebarMetrics& m) {
    SidebarRowLayout layout;
    const Rect& row = input.row;
    const int middle = row.top + row.Height() / 2;
    int textLeft = row.left + (input.handlesShown ? m.handleColumn : m.textInset);
    int textRight = row.right - m.textInset;
    if (input.showTriangle) {
        const int foldRight = input.visibleRight - m.foldInset;
        const int foldLeft = foldRight - m.foldColumn;
        textRight = std::min(textRight, foldLeft);
        layout.triangle = true;
        layout.triangleCentre = {foldLeft + m.foldColumn / 2, middle};
    }
    textRight = std::max(textRight, textLeft);
    if (input.handlesShown && input.startsAtMarker) {
        layout.handle = true;
        layout.handleCentre = {row.left + m.handleColumn / 2, middle};
    }
    int titleRight = textRight;
    if (input.countWidth > 0) {
        titleRight = std::max(textLeft, textRight - m.countGap - input.countWidth);
        layout.count = {std::min(titleRight + m.countPad, textRight), row.top + m.titleGap, textRight, middle};
    }
    layout.title = {textLeft, row.top + m.titleGap, titleRight, middle};
    layout.subtitle = {textLeft, middle, textRight, std::max(middle, row.bottom - m.titleGap)};
    return layout;
}

std::u16string HitCountText(unsigned count) {
    if (count == 0) return {};
    if (count >= 1000) return u"999+";
    std::u16string digits;
    for (; count > 0; count /= 10) digits.insert(digits.begin(), static_cast<char16_t>(u'0' + count % 10));
    return digits;
}

SidebarEntries BuildSidebarEntries(std::u16string_view text, const MarkerSettings& settings,
                                   std::size_t selectionStart, bool memoFold,
                                   const std::function<bool(int line)>& contracted) {
    SectionScan scan = BuildSections(text, settings, selectionStart);
    if (memoFold) {
        if (const std::optional<std::vector<FoldBlock>> blocks = ComputeFoldBlocks(text, scan)) {
            for (std::size_t i = 0; i < blocks->size(); ++i) {
                const FoldBlock& block = (*blocks)[i];
                SectionEntry& entry = scan.entries[i];
                entry.canFold = block.startsAtMarker && block.lastLine > block.headerLine;
                entry.folded = entry.canFold && contracted && contracted(block.headerLine);
            }
        }
    }
    return {std::move(scan.entries), scan.current};
}

bool HandlesShown(const SectionList& entries) {
    return std::count_if(entries.begin(), entries.end(), [](const SectionEntry& e) { return e.startsAtMarker; }) > 1;
}

SidebarUpdate PlanSidebarUpdate(const SectionList& before, const SectionList& after, int caretEntry, int keepRow) {
    SidebarUpdate update;
    const int count = static_cast<int>(after.size());
    int target = keepRow >= 0 && keepRow < count ? keepRow : caretEntry;
    update.select = count == 0 ? -1 : std::clamp(target, 0, count - 1);
    if (before.size() != after.size()) {
        update.refill = true;
        update.repaint = true;
        return update;
    }
    update.repaint = !std::equal(before.begin(), before.end(), after.begin(), SameLook);
    return update;
}

int DropPositionFor(int row, bool lowerHalf, int rowCount) {
    return std::clamp(lowerHalf ? row + 1 : row, 0, std::max(rowCount, 0));
}

int AllowedDropPosition(const SectionList& entries, int source, int wanted) {
    const int count = static_cast<int>(entries.size());
    if (source < 0 || source >= count) return source;
    wanted = std::clamp(wanted, 0, count);
    // Nearest first: wanted, wanted - 1, wanted + 1, wanted - 2, ...
    for (int distance = 0; distance <= count; ++distance) {
        for (const int candidate : {wanted - distance, wanted + distance}) {
            if (candidate >= 0 && candidate <= count && DropAllowed(entries, source, candidate)) return candidate;
            if (distance == 0) break;
        }
    }
    return source;
}

bool MovesSomething(int source, int target) {
    return target != source && target != source + 1;
}

WheelScroll ScrollForWheel(int accumulated, unsigned linesSetting, int visibleRows) {
    WheelScroll scroll;
    const int notches = accumulated / static_cast<int>(kWheelDelta);
    scroll.remainder = accumulated - notches * static_cast<int>(kWheelDelta);
    const int perNotch = linesSetting == kWheelPageScroll ? std::max(visibleRows, 1)
                                                          : static_cast<int>(std::min(linesSetting, 1000U));
    // A positive wheel delta turns away from the user: towards the top.
    scroll.rows = -notches * perNotch;
    return scroll;
}

SidebarKey ClassifySidebarKey(unsigned virtualKey, KeyModifiers modifiers) {
    constexpr unsigned kReturn = 0x0D, kEscape = 0x1B, kShift = 0x10, kControl = 0x11, kMenu = 0x12;
    constexpr unsigned kF2 = 0x71, kF5 = 0x74, kF6 = 0x75, kLeftShift = 0xA0, kRightMenu = 0xA5;
    const bool modifierKey = virtualKey == kShift || virtualKey == kControl || virtualKey == kMenu ||
                             (virtualKey >= kLeftShift && virtualKey <= kRightMenu);
    if (modifierKey) return SidebarKey::List;
    if (modifiers.ctrl || modifiers.alt) {
        const bool undoRedo = modifiers.ctrl && !modifiers.alt && (virtualKey == 'Z' || virtualKey == 'Y');
        return undoRedo ? SidebarKey::Pass : SidebarKey::JumpThenPass;
    }
    switch (virtualKey) {
    case kReturn: return SidebarKey::JumpAndFocus;
    case kEscape: return SidebarKey::FocusEditor;
    case kF2: return modifiers.shift ? SidebarKey::List : SidebarKey::JumpThenPass;
    case kF5:
    case kF6: return SidebarKey::JumpThenPass;
    default: return SidebarKey::List;
    }
}

}  // namespace quillpane

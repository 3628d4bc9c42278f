#include "app/search_dialog_rules.h"

#include "platform/dpi.h"

#include <algorithm>

namespace quillpane {
namespace {

Rect Box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// The edit inside a box frame, and its text rectangle ending 2 px before the
// leftmost glyph button shown inside the box.
void PlaceEdit(const Rect& frame, int glyphLeft, int dpi, Rect& edit, Rect& text) {
    const int inset = Scale(4, dpi);
    edit = {frame.left + inset, frame.top + inset, frame.right - inset, frame.bottom - inset};
    const int textHeight = Scale(20, dpi);
    const int top = std::max(0, (edit.Height() - textHeight) / 2);
    const int right = std::max(Scale(6, dpi), glyphLeft - Scale(2, dpi) - edit.left);
    text = {Scale(6, dpi), top, right, top + textHeight};
}

}  // namespace

int SearchButtonWidth(int dpi, int labelWidth) {
    return Scale(20, dpi) + std::max(0, labelWidth);
}

int SearchDialogHeight(int dpi, bool replaceRow) {
    return Scale(replaceRow ? 86 : 48, dpi);
}

int SearchDialogMinWidth(int dpi, int buttonWidth) {
    return std::max(Scale(300, dpi), Scale(179, dpi) + 2 * buttonWidth);
}

SearchDialogLayout LayoutSearchDialog(int width, int dpi, int buttonWidth, bool replaceRow, bool searchHasText,
                                      bool replaceHasText) {
    const auto s = [dpi](int px) { return Scale(px, dpi); };
    const int w = std::max(width, SearchDialogMinWidth(dpi, buttonWidth));
    const int b = buttonWidth;
    SearchDialogLayout layout;
    layout.toggle = Box(s(12), s(15), s(22), s(20));
    layout.searchFrame = {s(42), s(10), w - s(111), s(40)};
    layout.next = {w - s(103), s(10), w - s(75), s(40)};
    layout.previous = {w - s(71), s(10), w - s(43), s(40)};
    layout.close = {w - s(39), s(10), w - s(11), s(40)};
    layout.searchButton = Box(w - s(135), s(16), s(18), s(18));
    layout.clearSearch = Box(w - s(157), s(16), s(18), s(18));
    const int searchGlyphLeft = searchHasText ? layout.clearSearch.left : layout.searchButton.left;
    PlaceEdit(layout.searchFrame, searchGlyphLeft, dpi, layout.searchEdit, layout.searchText);
    if (!replaceRow) return layout;

    layout.replaceAll = {w - s(11) - b, s(48), w - s(11), s(78)};
    layout.replace = {w - s(19) - 2 * b, s(48), w - s(19) - b, s(78)};
    layout.replaceFrame = {s(42), s(48), w - s(27) - 2 * b, s(78)};
    layout.clearReplace = Box(layout.replaceFrame.right - s(6) - s(18), s(54), s(18), s(18));
    const int replaceGlyphLeft = replaceHasText ? layout.clearReplace.left : layout.replaceFrame.right - s(4);
    PlaceEdit(layout.replaceFrame, replaceGlyphLeft, dpi, layout.replaceEdit, layout.replaceText);
    return layout;
}

Rect PlaceNearOwner(Point ownerTopLeft, Point offset, Size size, const Rect& work, int dpi) {
    const int margin = Scale(8, dpi);
    int left = ownerTopLeft.x + Scale(offset.x, dpi);
    int top = ownerTopLeft.y + Scale(offset.y, dpi);
    if (left + size.width > work.right) left = work.right - margin - size.width;
    if (top + size.height > work.bottom) top = work.bottom - margin - size.height;
    if (left < work.left) left = work.left + margin;
    if (top < work.top) top = work.top + margin;
    return Box(left, top, size.width, size.height);
}

Rect PlaceSearchDialog(Point ownerTopLeft, Size size, const Rect& work, int dpi) {
    return PlaceNearOwner(ownerTopLeft, {24, 24}, size, work, dpi);
}

int HistoryRowHeight(int dpi) {
    return Scale(20, dpi);
}

Rect PlaceHistoryList(const Rect& edit, int entries, const Rect& work, int dpi) {
    const int rows = std::clamp(entries, 1, kHistoryVisibleRows);
    const int height = Scale(4, dpi) + HistoryRowHeight(dpi) * rows;
    const int gap = Scale(2, dpi);
    int top = edit.bottom + gap;
    if (top + height > work.bottom) top = std::max(work.top, edit.top - gap - height);
    return Box(edit.left, top, edit.Width(), height);
}

int MoveHistoryHighlight(int current, int delta, int count) {
    if (count <= 0) return -1;
    if (current < 0) return delta > 0 ? 0 : -1;
    return std::clamp(current + delta, 0, count - 1);
}

MatchStep NextMatchStep(const MatchView& view) {
    const int line = std::max(1, view.lineHeight);
    const int top = view.matchTop;
    const int bottom = top + line;
    if (top < view.clientTop) return {MatchMove::Scroll, -((view.clientTop - top) / line + 1)};
    if (bottom > view.clientBottom) return {MatchMove::Scroll, (bottom - view.clientBottom) / line + 1};
    // Covered only when the dialog's span meets the match's line.
    if (!view.dialogOpen || view.dialogBottom <= top || view.dialogTop >= bottom) return {};
    if (view.firstVisibleLine > 0) {
        const int lines = std::min((view.dialogBottom - top) / line + 3, view.firstVisibleLine);
        // Moving the text down must not push the match out at the bottom.
        if (bottom + lines * line <= view.clientBottom) return {MatchMove::Scroll, -lines};
    }
    return {MatchMove::MoveDialog, 0};
}

int DialogTopClearOf(int matchTop, int matchBottom, int dialogTop, int dialogHeight, const Rect& work, int dpi) {
    const int margin = Scale(8, dpi);
    int top = dialogTop < matchBottom ? matchBottom + margin : dialogTop;
    if (top + dialogHeight > work.bottom - margin) {
        // No room below: above the match if it fits there.
        const int above = matchTop - margin - dialogHeight;
        top = above >= work.top + margin ? above : work.bottom - margin - dialogHeight;
    }
    if (top < work.top + margin) top = work.top + margin;
    return top;
}

std::u16string StripAccelerator(std::u16string_view label) {
    const std::size_t open = label.rfind(u"(&");
    if (open != std::u16string_view::npos && label.size() > open && label.back() == u')') {
        std::u16string_view kept = label.substr(0, open);
        while (!kept.empty() && kept.back() == u' ') kept.remove_suffix(1);
        return std::u16string(kept);
    }
    std::u16string text(label);
    if (const std::size_t amp = text.find(u'&'); amp != std::u16string::npos) text.erase(amp, 1);
    return text;
}

SearchDialogPalette SearchDialogColours(bool dark) {
    if (dark) {
        return {HexColour(0x1E1E1E), HexColour(0x5A5A64), HexColour(0xE0E0E0), HexColour(0x2B2D32),
                HexColour(0x64646E), HexColour(0xA5A5B4), HexColour(0x8C8C96), HexColour(0x565961),
                HexColour(0x464950), HexColour(0x8C8C92), HexColour(0x565961), HexColour(0x464950),
                HexColour(0x383A40), HexColour(0x5A5A60)};
    }
    return {HexColour(0xFFFFFF), HexColour(0xB4B4BE), HexColour(0x000000), HexColour(0xF3F4F6),
            HexColour(0xA0A0AA), HexColour(0x5A5A68), HexColour(0x82828C), HexColour(0xC8CBD1),
            HexColour(0xD6D9DE), HexColour(0x828288), HexColour(0xC8CBD1), HexColour(0xD6D9DE),
            HexColour(0xE2E4E8), HexColour(0xBEBEC4)};
}

SearchEnter EnterActionFor(SearchControl focus, bool historyHighlighted) {
    if (historyHighlighted) return SearchEnter::PickHistory;
    switch (focus) {
    case SearchControl::Next: return SearchEnter::FindForward;
    case SearchControl::Previous: return SearchEnter::FindBackward;
    case SearchControl::Replace:
    case SearchControl::ReplaceBox: return SearchEnter::Replace;
    case SearchControl::ReplaceAll: return SearchEnter::ReplaceAll;
    default: return SearchEnter::FindLast;
    }
}

}  // namespace quillpane

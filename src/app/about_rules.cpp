// The About card's rules: its texts from the version block with their
// defaults, where it opens, where its items sit, and when a press drags.
#include "app/about_rules.h"

#include "platform/dpi.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr std::u16string_view kDefaultName = u"Quillpane";
constexpr std::u16string_view kDefaultTagline = u"Your memo, one keystroke away.";
constexpr std::u16string_view kDefaultCopyright = u"Copyright (C) 2026 ferrix";
constexpr std::u16string_view kDefaultCreatedBy = u"Created by ferrix";
constexpr std::u16string_view kDefaultNote = u"Your memo stays on this computer unless you turn on smartphone sync.";
constexpr std::u16string_view kPublisher = u"ferrix";

std::u16string ValueOr(const std::u16string& value, std::u16string_view fallback) {
    return value.size() > 1 ? value : std::u16string(fallback);
}

// The publisher's name in the line becomes the link; a line without it links as a whole.
std::u16string LinkMarkup(std::u16string_view line) {
    const std::u16string open = u"<a href=\"" + std::u16string(AboutPublisherPage()) + u"\">";
    const std::size_t at = line.find(kPublisher);
    if (at == std::u16string_view::npos) return open + std::u16string(line) + u"</a>";
    return std::u16string(line.substr(0, at)) + open + std::u16string(kPublisher) + u"</a>" +
           std::u16string(line.substr(at + kPublisher.size()));
}

}  // namespace

std::u16string_view AboutPublisherPage() {
    return u"https://apps.microsoft.com/search/publisher?name=ferrix";
}

std::u16string AboutVersionLine(std::u16string_view productVersion) {
    if (productVersion.empty()) return u"Version";
    return u"Version " + std::u16string(productVersion);
}

AboutTexts AboutTextsFrom(const VersionValues& values) {
    AboutTexts texts;
    texts.productName = ValueOr(values.productName, kDefaultName);
    texts.versionLine = AboutVersionLine(values.productVersion.size() > 1 ? values.productVersion : u"");
    texts.tagline = ValueOr(values.comments, kDefaultTagline);
    texts.copyright = ValueOr(values.legalCopyright, kDefaultCopyright);
    texts.createdBy = LinkMarkup(ValueOr(values.createdBy, kDefaultCreatedBy));
    texts.note = ValueOr(values.note, kDefaultNote);
    return texts;
}

Size AboutClientSize(int dpi) {
    return {Scale(500, dpi), Scale(200, dpi)};
}

Rect PlaceAbout(Size outer, std::optional<Rect> owner, Point cursor, const Rect& work, int dpi) {
    return PlaceCard(outer, owner, cursor, work, dpi, 28);
}

Rect PlaceCard(Size outer, std::optional<Rect> owner, Point cursor, const Rect& work, int dpi, int belowOwnerTop) {
    const int margin = Scale(12, dpi);
    int left = 0;
    int top = 0;
    if (owner) {
        left = owner->left + (owner->Width() - outer.width) / 2;
        top = owner->top + Scale(belowOwnerTop, dpi);
    } else {
        left = cursor.x - outer.width / 2;
        top = work.bottom - margin - outer.height;
    }
    // The upper bounds win over the lower ones when the card is larger than the area.
    left = std::min(std::max(left, work.left + margin), work.right - margin - outer.width);
    top = std::min(std::max(top, work.top + margin), work.bottom - margin - outer.height);
    return Rect {left, top, left + outer.width, top + outer.height};
}

AboutLayout LayoutAbout(int dpi, int nameWidth) {
    const auto s = [dpi](int px) { return Scale(px, dpi); };
    const auto box = [](int x, int y, int w, int h) { return Rect {x, y, x + w, y + h}; };
    AboutLayout layout;
    layout.icon = box(s(34), s(28), s(64), s(64));
    layout.name = box(s(142), s(30), std::max(s(180), nameWidth), s(36));
    // A longer name pushes the version line along rather than under it.
    const int versionLeft = std::max(s(292), s(142) + nameWidth + s(12));
    layout.version = box(versionLeft, s(39), std::max(s(40), s(468) - versionLeft), s(25));
    layout.tagline = box(s(142), s(62), s(326), s(28));
    layout.copyright = box(s(142), s(105), s(326), s(22));
    layout.createdBy = box(s(142), s(127), s(326), s(22));
    layout.note = box(s(142), s(149), s(326), s(44));
    layout.separatorFrom = {s(142), s(94)};
    layout.separatorTo = {s(468), s(94)};
    return layout;
}

bool IsAboutDrag(Point start, Point now) {
    const long long dx = now.x - start.x;
    const long long dy = now.y - start.y;
    return dx * dx + dy * dy >= 16;
}

}  // namespace quillpane

// The About card's rules: its texts from the version block with their
// defaults, where it opens, where its items sit, and when a press drags.
#pragma once

#include "platform/geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// The card's texts: a version-block value counts when it is longer than one character.
struct AboutTexts {
    std::u16string productName;
    std::u16string versionLine;
    std::u16string tagline;
    std::u16string copyright;
    std::u16string createdBy;  // link markup: the publisher's name as an anchor
    std::u16string note;
};
struct VersionValues {
    std::u16string productName;
    std::u16string productVersion;
    std::u16string comments;
    std::u16string legalCopyright;
    std::u16string createdBy;
    std::u16string note;
};
[[nodiscard]] AboutTexts AboutTextsFrom(const VersionValues& values);
// "Version 1.2.3", or "Version" without one.
[[nodiscard]] std::u16string AboutVersionLine(std::u16string_view productVersion);
// The publisher's page the CreatedBy line links to.
[[nodiscard]] std::u16string_view AboutPublisherPage();

// Client size at the DPI.
[[nodiscard]] Size AboutClientSize(int dpi);
// A small card's window rectangle: centred over the owner s(belowOwnerTop)
// below its top when it has one, else centred on the cursor just above the
// work area's bottom; then kept s(12) inside the work area.
[[nodiscard]] Rect PlaceCard(Size outer, std::optional<Rect> owner, Point cursor, const Rect& work, int dpi,
                             int belowOwnerTop);
// The About card: s(28) below the panel's top.
[[nodiscard]] Rect PlaceAbout(Size outer, std::optional<Rect> owner, Point cursor, const Rect& work, int dpi);

struct AboutLayout {
    Rect icon;
    Rect name;
    Rect version;
    Rect tagline;
    Rect copyright;
    Rect createdBy;
    Rect note;
    Point separatorFrom;
    Point separatorTo;
};
// nameWidth is the product name's measured width: the version line follows it.
[[nodiscard]] AboutLayout LayoutAbout(int dpi, int nameWidth);

// A press becomes a drag once the cursor moved 4 px or more from it.
[[nodiscard]] bool IsAboutDrag(Point start, Point now);

}  // namespace quillpane

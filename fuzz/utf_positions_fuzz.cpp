// Byte positions and UTF-16 indices of the dual text, before and after
// edits: boundaries map onto each other, the rest moves back to a boundary,
// and nothing leaves the text.
#include "fuzz_input.h"

#include "editor/utf_positions.h"
#include "platform/utf_convert.h"

#include <vector>

namespace {

using namespace quillpane;

struct Boundary {
    std::size_t byte;
    std::size_t unit;
};

// Byte and unit at each piece start, and the end.
std::vector<Boundary> Boundaries(std::string_view bytes) {
    std::vector<Boundary> out {{0, 0}};
    out.reserve(bytes.size() + 1);
    while (out.back().byte < bytes.size()) {
        const Utf8Piece piece = Utf8PieceAt(bytes, out.back().byte);
        FUZZ_CHECK(piece.bytes >= 1 && piece.units >= 1 && piece.units <= 2);
        out.push_back({out.back().byte + piece.bytes, out.back().unit + piece.units});
    }
    FUZZ_CHECK(out.back().byte == bytes.size());
    return out;
}

void CheckPositions(const DualText& dual, std::string_view bytes) {
    const std::u16string text = Utf8ToUtf16Lenient(bytes);
    FUZZ_CHECK(dual.ByteLength() == bytes.size());
    FUZZ_CHECK(dual.Length() == text.size());
    FUZZ_CHECK(Utf16LengthOf(bytes) == text.size());
    FUZZ_CHECK(dual.Bytes() == bytes);
    FUZZ_CHECK(dual.Text() == text);

    const std::vector<Boundary> boundaries = Boundaries(bytes);
    FUZZ_CHECK(boundaries.back().unit == text.size());
    // Every piece on a short text; on a long one a spread of them, so that
    // the run stays linear in the text's length.
    const std::size_t step = boundaries.size() / 128 + 1;
    for (std::size_t k = 0; k + 1 < boundaries.size(); k += step) {
        const Boundary at = boundaries[k];
        const Boundary next = boundaries[k + 1];
        FUZZ_CHECK(dual.ToIndex(at.byte) == at.unit);
        FUZZ_CHECK(dual.ToBytePosition(at.unit) == at.byte);
        FUZZ_CHECK(dual.UnitAt(at.unit) == text[at.unit]);
        for (std::size_t b = at.byte + 1; b < next.byte; ++b) FUZZ_CHECK(dual.ToIndex(b) == at.unit);
        if (next.unit - at.unit == 2) FUZZ_CHECK(dual.ToBytePosition(at.unit + 1) == at.byte);
    }
    FUZZ_CHECK(dual.ToIndex(bytes.size()) == text.size());
    FUZZ_CHECK(dual.ToBytePosition(text.size()) == bytes.size());
    FUZZ_CHECK(dual.ToIndex(bytes.size() + 5) == text.size());
    FUZZ_CHECK(dual.ToBytePosition(static_cast<std::size_t>(-1)) == bytes.size());

    // The linear conversions agree (a few positions: they walk the text).
    for (std::size_t k = 0; k < boundaries.size(); k += boundaries.size() / 3 + 1) {
        FUZZ_CHECK(Utf16IndexOf(bytes, boundaries[k].byte) == boundaries[k].unit);
        FUZZ_CHECK(BytePositionOf(bytes, text, boundaries[k].unit) == boundaries[k].byte);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    // Up to three edits, described first; then the text.
    struct Edit {
        std::uint16_t start;
        std::uint16_t length;
        std::string inserted;
    };
    std::vector<Edit> edits(input.Byte() % 4);
    for (Edit& edit : edits) {
        edit.start = input.Word();
        edit.length = input.Word();
        edit.inserted = std::string(input.Take(input.Byte() % 16));
    }
    // Five checkpoints' worth is enough to cross several of them.
    std::string bytes = input.Expanded(5 * DualText::kCheckpointSpacing);

    DualText dual;
    dual.Assign(bytes);
    CheckPositions(dual, bytes);
    if (Utf8ToUtf16Strict(bytes)) {
        DualText wellFormed;
        wellFormed.AssignWellFormed(bytes);
        CheckPositions(wellFormed, bytes);
    }

    for (const Edit& edit : edits) {
        const std::u16string old = Utf8ToUtf16Lenient(bytes);
        const std::size_t start = bytes.empty() ? 0 : edit.start * bytes.size() / 65535;
        const std::size_t end = std::min(bytes.size(), start + edit.length);
        std::u16string removed;
        const Utf16Change change = dual.Replace(start, end, edit.inserted, &removed);
        bytes.replace(start, end - start, edit.inserted);
        CheckPositions(dual, bytes);
        // The reported change turns the old text into the new one.
        const std::u16string now = Utf8ToUtf16Lenient(bytes);
        FUZZ_CHECK(change.index + change.removed <= old.size());
        FUZZ_CHECK(change.index + change.inserted <= now.size());
        FUZZ_CHECK(removed == old.substr(change.index, change.removed));
        FUZZ_CHECK(old.substr(0, change.index) + now.substr(change.index, change.inserted) +
                       old.substr(change.index + change.removed) ==
                   now);
    }
    return 0;
}

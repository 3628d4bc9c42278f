// Memo bytes to text and back: the block-wise counters and the one-pass
// decoder against a plain normaliser, and the CR LF fast path's verdict.
#include "fuzz_input.h"

#include "platform/utf_convert.h"
#include "storage/note_codec.h"

namespace {

using namespace quillpane;

std::u16string PlainNormalize(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += u"\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void CheckDecoding(std::string_view bytes) {
    const std::u16string raw = DecodeNoteBytes(bytes);
    const std::u16string text = DecodeNoteText(bytes);
    const std::u16string expected = PlainNormalize(raw);
    FUZZ_CHECK(text == expected);
    FUZZ_CHECK(NormalizeLineEnds(std::u16string_view(raw)) == expected);
    FUZZ_CHECK(NormalizeLineEnds(std::u16string(raw)) == expected);
    FUZZ_CHECK(fuzz::AllCrLf(text));

    // The fast path looks at the bytes after a UTF-8 byte-order mark, and at
    // bytes without one; UTF-16 files never take it.
    std::string_view payload = bytes;
    if (payload.substr(0, 3) == "\xEF\xBB\xBF") {
        payload.remove_prefix(3);
    } else if (payload.substr(0, 2) == "\xFF\xFE" || payload.substr(0, 2) == "\xFE\xFF") {
        return;
    }
    const std::optional<std::size_t> units = CrLfUtf8Length(payload);
    const bool wellFormed = Utf8ToUtf16Strict(payload).has_value();
    FUZZ_CHECK(units.has_value() == (wellFormed && raw == text));
    if (units) {
        FUZZ_CHECK(*units == text.size());
        FUZZ_CHECK(Utf16ToUtf8(text) == payload);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::string bytes = input.Expanded();

    // The bytes as they are, or behind one of the byte-order marks.
    constexpr std::string_view kMarks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    CheckDecoding(std::string(kMarks[mode % 4]) + bytes);

    // Saving and loading again gives the text back, save for unpaired
    // surrogates, which are written as U+FFFD.
    const std::u16string text = (mode & 4) ? fuzz::Utf16FromPairs(bytes) : DecodeNoteText(bytes);
    const std::string saved = EncodeNoteBytes(text);
    FUZZ_CHECK(saved.size() == 3 + Utf8Length(text));
    FUZZ_CHECK(saved == "\xEF\xBB\xBF" + Utf16ToUtf8(text));
    const std::u16string repaired = fuzz::WellFormed(text);
    FUZZ_CHECK(DecodeNoteBytes(saved) == repaired);
    FUZZ_CHECK(DecodeNoteText(saved) == PlainNormalize(repaired));
    return 0;
}

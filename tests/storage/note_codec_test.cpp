// Memo bytes to text and back: byte-order marks, fallbacks, line ends.
#include "storage/note_codec.h"
#include "support/utf8_reference.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"

#include <gtest/gtest.h>

#include <random>

namespace quillpane {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST(DecodeNoteBytes, ByteOrderMarksPickTheEncoding) {
    const DecodeCase cases[] = {
        {"empty", "", u""},
        {"utf8 bom only", "\xEF\xBB\xBF", u""},
        {"utf8 bom text", "\xEF\xBB\xBFh\xC3\xA9\r\n", u"h\u00E9\r\n"},
        {"utf8 bom invalid is replaced", "\xEF\xBB\xBF" "a\xFF" "b\xE3\x81", u"a\uFFFDb\uFFFD"},
        {"utf8 bom stray continuation bytes", "\xEF\xBB\xBF\x80\x80z\xBF", u"\uFFFD\uFFFDz\uFFFD"},
        {"utf8 bom then another bom", "\xEF\xBB\xBF\xEF\xBB\xBF", u"\uFEFF"},
        {"utf16le bom only", "\xFF\xFE", u""},
        {"utf16le odd byte only", "\xFF\xFE\x41", u""},
        {"utf16le text", Bytes({0xFF, 0xFE, 'A', 0, 0x42, 0x30}), u"A\u3042"},
        {"utf16le odd last byte dropped", Bytes({0xFF, 0xFE, 'A', 0, 'B'}), u"A"},
        {"utf16le surrogate pair", Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}), u"\U0001F600"},
        {"utf16le lone surrogate kept", Bytes({0xFF, 0xFE, 0x00, 0xDE, 'x', 0}), u"\xDE00x"},
        {"utf16be bom only", "\xFE\xFF", u""},
        {"utf16be text", Bytes({0xFE, 0xFF, 0, 'A', 0x30, 0x42}), u"A\u3042"},
        {"utf16be odd last byte dropped", Bytes({0xFE, 0xFF, 0, 'A', 0}), u"A"},
        {"utf16be surrogate pair", Bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}), u"\U0001F600"},
        {"utf8 without bom", "h\xC3\xA9 \xE3\x81\x82 \xF0\x9F\x98\x80", u"h\u00E9 \u3042 \U0001F600"},
        {"nul bytes are text", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeNoteBytes(c.bytes), c.expected) << c.name;
    }
}

TEST(DecodeNoteBytes, BytesThatAreNotUtf8UseTheAnsiCodePage) {
    const std::string cases[] = {
        "caf\xE9",                // Latin-1 e acute
        "\xEF\xBB",               // a cut-off byte-order mark
        "\xC0\xAF",               // overlong slash
        "\xED\xA0\x80",           // encoded surrogate
        "\xF4\x90\x80\x80",       // past U+10FFFF
        "plain text then \xE3\x81",  // truncated at the end
        "0123456789abcdef\x80",   // after a full ASCII block
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(DecodeNoteBytes(bytes), platform::AnsiToUtf16(bytes)) << bytes;
        EXPECT_NE(DecodeNoteBytes(bytes), testing::ReferenceUtf8Lenient(bytes)) << bytes;
    }
}

// Random mixes of ASCII runs (long enough for the block path, at every
// alignment), valid sequences of each length and stray bytes.
std::string RandomUtf8ish(std::mt19937& random, bool allowInvalid) {
    std::string bytes;
    const int pieces = std::uniform_int_distribution<int>(0, 12)(random);
    for (int p = 0; p < pieces; ++p) {
        switch (std::uniform_int_distribution<int>(0, allowInvalid ? 6 : 4)(random)) {
        case 0:
            bytes.append(std::uniform_int_distribution<std::size_t>(0, 40)(random),
                         static_cast<char>(std::uniform_int_distribution<int>(0, 0x7F)(random)));
            break;
        case 1: {
            const char16_t unit = static_cast<char16_t>(std::uniform_int_distribution<int>(0x80, 0xD7FF)(random));
            bytes += Utf16ToUtf8(std::u16string_view(&unit, 1));
            break;
        }
        case 2:
            bytes += Utf16ToUtf8(u"\u3042\u30C6\u30B9\u30C8");
            break;
        case 3: {
            const char32_t point = std::uniform_int_distribution<char32_t>(0x10000, 0x10FFFF)(random) - 0x10000;
            const char16_t pair[] = {static_cast<char16_t>(0xD800 + (point >> 10)),
                                     static_cast<char16_t>(0xDC00 + (point & 0x3FF))};
            bytes += Utf16ToUtf8(std::u16string_view(pair, 2));
            break;
        }
        case 4: {
            const char* const lineEnds[] = {"\r\n", "\n", "\r", "\n\r", "\t"};
            bytes += lineEnds[std::uniform_int_distribution<int>(0, 4)(random)];
            break;
        }
        case 5:
            bytes.push_back(static_cast<char>(std::uniform_int_distribution<int>(0x80, 0xFF)(random)));
            break;
        default: {
            const std::string valid = Utf16ToUtf8(u"\U0001F600");
            bytes += valid.substr(0, std::uniform_int_distribution<std::size_t>(1, 3)(random));
            break;
        }
        }
    }
    return bytes;
}

TEST(DecodeNoteBytes, AgreesWithTheReferenceConverters) {
    std::mt19937 random(12345);
    for (int round = 0; round < 4000; ++round) {
        const std::string body = RandomUtf8ish(random, round % 2 == 0);
        const std::string withBom = "\xEF\xBB\xBF" + body;
        ASSERT_EQ(DecodeNoteBytes(withBom), testing::ReferenceUtf8Lenient(body)) << round;
        const std::string plain = "x" + body;  // never starts like a byte-order mark
        const auto strict = testing::ReferenceUtf8Strict(plain);
        ASSERT_EQ(DecodeNoteBytes(plain), strict ? *strict : platform::AnsiToUtf16(plain)) << round;
    }
}

TEST(DecodeNoteText, EqualsDecodingThenNormalising) {
    std::mt19937 random(4242);
    for (int round = 0; round < 4000; ++round) {
        const std::string body = RandomUtf8ish(random, round % 2 == 0);
        for (const std::string& bytes : {"\xEF\xBB\xBF" + body, "x" + body, body, "\xFF\xFE" + body,
                                         "\xFE\xFF" + body}) {
            ASSERT_EQ(DecodeNoteText(bytes), NormalizeLineEnds(DecodeNoteBytes(bytes))) << round;
        }
    }
}

TEST(DecodeNoteText, LineEndsAtEveryPositionOfAnAsciiBlock) {
    for (std::size_t at = 0; at < 40; ++at) {
        for (const std::string_view lineEnd : {"\n", "\r", "\r\n"}) {
            std::string bytes(40, 'a');
            bytes.replace(at, 0, lineEnd);
            std::u16string expected(40 - at, u'a');
            expected.insert(0, std::u16string(at, u'a') + u"\r\n");
            ASSERT_EQ(DecodeNoteText(bytes), expected) << at;
            ASSERT_EQ(DecodeNoteText("\xEF\xBB\xBF" + bytes), expected) << at;
        }
    }
}

// The file's bytes go to the editor as they are only when they are exactly
// the text's UTF-8; the length agrees with the decoded text.
TEST(CrLfUtf8Length, AcceptsOnlyTheTextsOwnUtf8) {
    const struct {
        std::string_view bytes;
        bool accepted;
    } cases[] = {
        {"a\r\n\xE3\x81\x82\xF0\x9F\x98\x80", true},
        {"", true},
        {"a\nb", false},          // line end made CR LF
        {"a\rb", false},
        {"a\r", false},
        {"a\xFFb", false},        // ill-formed
        {"caf\xE9", false},       // the ANSI code page
        {"\xC0\xAF", false},      // overlong
        {"\xED\xA0\x80", false},  // a surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE3\x81", false},      // cut short
        // Line ends inside and after the eight-byte steps.
        {"aaaaaaaaaaaaaaaaaaaa\r\nbbbbbbbbbbbbbbbbb\xE3\x81\x82", true},
        {"aaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbb", false},
        {"aaaaaaa\rbbbbbbbbbbbbbbbbbbbb", false},
    };
    for (const auto& c : cases) {
        const std::optional<std::size_t> units = CrLfUtf8Length(c.bytes);
        EXPECT_EQ(units.has_value(), c.accepted) << c.bytes;
        if (units) {
            const std::u16string text = DecodeNoteText(c.bytes);
            EXPECT_EQ(*units, text.size()) << c.bytes;
            EXPECT_EQ(Utf16ToUtf8(text), c.bytes);
        }
    }
}

TEST(EncodeNoteBytes, WritesByteOrderMarkAndUtf8) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"", "\xEF\xBB\xBF"},
        {u"a\r\n", "\xEF\xBB\xBF" "a\r\n"},
        {u"\u00E9\u3042", "\xEF\xBB\xBF\xC3\xA9\xE3\x81\x82"},
        {u"\U0001F600", "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
        {u"x\xD83D", "\xEF\xBB\xBFx\xEF\xBF\xBD"},                        // high surrogate at the end
        {u"\xDE00y", "\xEF\xBB\xBF\xEF\xBF\xBDy"},                        // lone low surrogate
        {u"\xD83D\xD83D\xDE00", "\xEF\xBB\xBF\xEF\xBF\xBD\xF0\x9F\x98\x80"},  // high, then a pair
        {u"01234567\U0001F600", "\xEF\xBB\xBF" "01234567\xF0\x9F\x98\x80"},
    };
    for (const auto& [text, bytes] : cases) EXPECT_EQ(EncodeNoteBytes(text), bytes);
}

TEST(EncodeNoteBytes, AgreesWithTheSimpleEncoderAndRoundTrips) {
    std::mt19937 random(777);
    const char16_t palette[] = {u'a', u'\r', u'\n', 0x7F, 0x80, 0x7FF, 0x800, 0x3042, 0xD7FF,
                                0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFF};
    for (int round = 0; round < 4000; ++round) {
        std::u16string text;
        const int length = std::uniform_int_distribution<int>(0, 60)(random);
        const bool asciiHeavy = round % 3 == 0;
        for (int i = 0; i < length; ++i) {
            const int pick = std::uniform_int_distribution<int>(0, asciiHeavy ? 40 : 14)(random);
            text.push_back(pick < 15 ? palette[pick] : static_cast<char16_t>(u'a' + pick % 26));
        }
        const std::string encoded = EncodeNoteBytes(text);
        ASSERT_EQ(encoded, "\xEF\xBB\xBF" + testing::ReferenceUtf16ToUtf8(text)) << round;
        ASSERT_EQ(DecodeNoteBytes(encoded), testing::ReferenceUtf8Lenient(testing::ReferenceUtf16ToUtf8(text))) << round;
    }
}

TEST(NormalizeLineEnds, EveryLineEndBecomesCrLf) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"abc", u"abc"},
        {u"\r", u"\r\n"},
        {u"\n", u"\r\n"},
        {u"\r\n", u"\r\n"},
        {u"\n\r", u"\r\n\r\n"},
        {u"\r\r\n", u"\r\n\r\n"},
        {u"\r\n\n", u"\r\n\r\n"},
        {u"a\rb\nc\r\nd", u"a\r\nb\r\nc\r\nd"},
        {u"line\r", u"line\r\n"},
        {u"\nline", u"\r\nline"},
        {u"\x0B\x0C\x0D\x0E\t", u"\x0B\x0C\r\n\x0E\t"},  // neighbours of CR are plain text
        {u"\u3042\u3044\u3046\u3048\u304A\n\u304B", u"\u3042\u3044\u3046\u3048\u304A\r\n\u304B"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(NormalizeLineEnds(std::u16string_view(input)), expected);
        EXPECT_EQ(NormalizeLineEnds(std::u16string(input)), expected);
    }
}

std::u16string NaiveNormalize(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (text[i] == u'\n') {
            out += u"\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

TEST(NormalizeLineEnds, AgreesWithAPlainLoopOnRandomText) {
    std::mt19937 random(99);
    const char16_t palette[] = {u'\r', u'\n', u'a', 0x0C, 0x0E, 0x3042, 0x800D, 0x000A + 0x8000};
    for (int round = 0; round < 4000; ++round) {
        std::u16string text;
        const int length = std::uniform_int_distribution<int>(0, 50)(random);
        const int lineEndOdds = 1 + round % 12;  // from dense to sparse line ends
        for (int i = 0; i < length; ++i) {
            const int pick = std::uniform_int_distribution<int>(0, 7 + lineEndOdds)(random);
            text.push_back(pick < 8 ? palette[pick] : u'b');
        }
        ASSERT_EQ(NormalizeLineEnds(std::u16string_view(text)), NaiveNormalize(text)) << round;
    }
}

// The counters that size the output add up per block (16,384 units when
// normalising UTF-16, 8,192 bytes when decoding UTF-8): line ends on both
// sides of a block edge, and blocks holding several lone ones.
TEST(NormalizeLineEnds, LineEndsAtBlockEdgesAgreeWithAPlainLoop) {
    const struct {
        const char* name;
        std::size_t at;
        std::u16string breaks;
    } cases[] = {
        {"lone LF opening a UTF-16 block", 16384, u"\n"},
        {"lone CR closing a UTF-16 block", 16383, u"\r"},
        {"CR LF split by a UTF-16 block edge", 16383, u"\r\n"},
        {"LF CR across a UTF-16 block edge", 16383, u"\n\r"},
        {"lone LF opening a UTF-8 block", 8192, u"\n"},
        {"lone CR closing a UTF-8 block", 8191, u"\r"},
        {"CR LF split by a UTF-8 block edge", 8191, u"\r\n"},
        {"two lone breaks in one block", 16400, u"\rx\n"},
        {"a block of lone CRs", 16384, std::u16string(16384, u'\r')},
        {"a block of lone LFs", 8192, std::u16string(16384, u'\n')},
    };
    for (const auto& c : cases) {
        std::u16string text(3 * 16384 + 7, u'a');
        text.replace(c.at, c.breaks.size(), c.breaks);
        const std::u16string expected = NaiveNormalize(text);
        EXPECT_EQ(NormalizeLineEnds(std::u16string_view(text)), expected) << c.name;
        EXPECT_EQ(NormalizeLineEnds(std::u16string(text)), expected) << c.name;
        // ASCII, so byte positions are the same as unit positions.
        const std::string bytes = Utf16ToUtf8(text);
        EXPECT_EQ(DecodeNoteText(bytes), expected) << c.name;
        EXPECT_EQ(DecodeNoteText("\xEF\xBB\xBF" + bytes), expected) << c.name;
        const std::optional<std::size_t> units = CrLfUtf8Length(bytes);
        EXPECT_EQ(units.has_value(), expected == text) << c.name;
        if (units) {
            EXPECT_EQ(*units, text.size()) << c.name;
        }
    }
}

TEST(NormalizeLineEnds, TextAlreadyInCrLfKeepsItsBuffer) {
    std::u16string text(1000, u'x');
    text += u"\r\n";
    const char16_t* buffer = text.data();
    const std::u16string result = NormalizeLineEnds(std::move(text));
    EXPECT_EQ(result.data(), buffer);
    EXPECT_EQ(result.size(), 1002u);
}

}  // namespace
}  // namespace quillpane

// UTF-8 <-> UTF-16 at the boundaries where hand-written decoders go wrong.
#include "platform/utf_convert.h"
#include "support/utf8_reference.h"

#include <random>

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(UtfConvert, RoundTripsEveryPlane) {
    const std::u16string text = u"a\u00E9\u3042\U0001F600\uFFFF\U0010FFFF";
    const std::string bytes = Utf16ToUtf8(text);
    EXPECT_EQ(bytes, "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Utf8ToUtf16Strict(bytes), text);
    EXPECT_EQ(Utf8ToUtf16Lenient(bytes), text);
}

TEST(UtfConvert, StrictRejectsIllFormedInput) {
    const char* const cases[] = {
        "\x80",              // lone continuation
        "\xC0\xAF",          // overlong
        "\xE0\x80\xAF",      // overlong
        "\xED\xA0\x80",      // encoded surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xF5\x80\x80\x80",  // invalid lead
        "abc\xE3\x81",       // truncated at the end
        "\xFF",
    };
    for (const char* bytes : cases) EXPECT_FALSE(Utf8ToUtf16Strict(bytes).has_value()) << bytes;
    EXPECT_EQ(Utf8ToUtf16Strict(""), u"");
}

TEST(UtfConvert, LenientReplacesEachMaximalSubpart) {
    EXPECT_EQ(Utf8ToUtf16Lenient("a\x80" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16Lenient("\xE3\x81" "x"), u"\uFFFDx");         // truncated: one replacement
    EXPECT_EQ(Utf8ToUtf16Lenient("\xC0\xAF"), u"\uFFFD\uFFFD");         // C0 is never a lead
    EXPECT_EQ(Utf8ToUtf16Lenient("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16Lenient("\xF0\x9F\x98"), u"\uFFFD");
}

TEST(UtfConvert, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u"x" + std::u16string(1, char16_t(0xDC00)) + u"y"), "x\xEF\xBF\xBDy");
    std::u16string reversed {char16_t(0xDE00), char16_t(0xD83D)};
    EXPECT_EQ(Utf16ToUtf8(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(UtfConvert, FastDecoderAgreesWithTheSimpleOneOnRandomInput) {
    std::mt19937 random(7);
    const unsigned char pieces[] = {'a', '\r', '\n', 0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xE3, 0xED, 0xEF, 0xF0, 0xF4, 0xFF};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>(pieces[random() % sizeof(pieces)]));
        ASSERT_EQ(Utf8ToUtf16Strict(bytes), testing::ReferenceUtf8Strict(bytes)) << round;
        ASSERT_EQ(Utf8ToUtf16Lenient(bytes), testing::ReferenceUtf8Lenient(bytes)) << round;
    }
}

}  // namespace
}  // namespace quillpane

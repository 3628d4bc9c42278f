// UTF-16 index <-> UTF-8 byte position conversion and the patched dual text.
#include "editor/utf_positions.h"

#include "platform/utf_convert.h"

#include <gtest/gtest.h>

#include <random>

namespace quillpane {
namespace {

// "A", CJK, emoji (surrogate pair), CR LF, two-byte "é", ASCII.
const std::u16string kMixed = u"A\u65E5\u672C\U0001F600\r\n\u00E9z";
// Byte and code-unit offset of each character start, and the end.
struct Boundary {
    std::size_t byte;
    std::size_t unit;
};
const Boundary kMixedBoundaries[] = {{0, 0}, {1, 1}, {4, 2}, {7, 3}, {11, 5}, {12, 6}, {13, 7}, {15, 8}, {16, 9}};

TEST(UtfPositions, MixedTextBoundariesConvertBothWays) {
    const std::string bytes = Utf16ToUtf8(kMixed);
    ASSERT_EQ(bytes.size(), 16u);
    DualText dual;
    dual.Assign(bytes);
    for (const Boundary& b : kMixedBoundaries) {
        EXPECT_EQ(Utf16IndexOf(bytes, b.byte), b.unit) << b.byte;
        EXPECT_EQ(dual.ToIndex(b.byte), b.unit) << b.byte;
        EXPECT_EQ(BytePositionOf(bytes, kMixed, b.unit), b.byte) << b.unit;
        EXPECT_EQ(dual.ToBytePosition(b.unit), b.byte) << b.unit;
    }
}

TEST(UtfPositions, PositionsInsideSequencesMoveBackToTheirStart) {
    const std::string bytes = Utf16ToUtf8(kMixed);
    DualText dual;
    dual.Assign(bytes);
    const struct {
        std::size_t byte;
        std::size_t unit;
    } inside[] = {{2, 1}, {3, 1}, {5, 2}, {8, 3}, {9, 3}, {10, 3}, {14, 7}};
    for (const auto& c : inside) {
        EXPECT_EQ(dual.ToIndex(c.byte), c.unit) << c.byte;
        EXPECT_EQ(Utf16IndexOf(bytes, c.byte), c.unit) << c.byte;
    }
    // Between the halves of the emoji.
    EXPECT_EQ(dual.ToBytePosition(4), 7u);
    EXPECT_EQ(BytePositionOf(bytes, kMixed, 4), 7u);
}

TEST(UtfPositions, OutOfRangeValuesAreClamped) {
    const std::string bytes = Utf16ToUtf8(kMixed);
    DualText dual;
    dual.Assign(bytes);
    EXPECT_EQ(dual.ToIndex(1000), kMixed.size());
    EXPECT_EQ(dual.ToBytePosition(1000), bytes.size());
    EXPECT_EQ(dual.ToBytePosition(static_cast<std::size_t>(-1)), bytes.size());
    DualText empty;
    EXPECT_EQ(empty.ToIndex(5), 0u);
    EXPECT_EQ(empty.ToBytePosition(5), 0u);
}

TEST(UtfPositions, IllFormedBytesCountAsTheLenientDecoderReadsThem) {
    // Each maximal ill-formed subpart is one U+FFFD.
    const std::string bytes = "a\xE3\x81z\x80\x80\xF0\x9F\x98\xC0" "b\xED\xA0\x80";
    const std::u16string text = Utf8ToUtf16Lenient(bytes);
    DualText dual;
    dual.Assign(bytes);
    EXPECT_EQ(dual.Text(), text);
    EXPECT_EQ(Utf16LengthOf(bytes), text.size());
    EXPECT_EQ(dual.ToIndex(3), 2u);  // "z" after the truncated sequence
    EXPECT_EQ(dual.ToBytePosition(2), 3u);
    EXPECT_EQ(dual.ToIndex(bytes.size()), text.size());
}

std::string RandomBytes(std::mt19937& random, std::size_t length) {
    static const char* const pieces[] = {"a", "\r\n", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "\xC3\xA9", "\x80",
                                         "\xE3\x81", "\xF0\x9F", "\xC0", "\xFF", "\xED\xA0\x80", " "};
    std::string bytes;
    while (bytes.size() < length) bytes += pieces[random() % std::size(pieces)];
    return bytes;
}

TEST(UtfPositions, CountingAgreesWithTheDecoderOnRandomBytes) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = RandomBytes(random, random() % 40);
        const std::u16string text = Utf8ToUtf16Lenient(bytes);
        ASSERT_EQ(Utf16LengthOf(bytes), text.size()) << ::testing::PrintToString(bytes);
        // Walking back and forth lands on the same boundaries.
        for (std::size_t index = 0; index <= text.size(); ++index) {
            const std::size_t position = BytePositionOf(bytes, text, index);
            const std::size_t back = Utf16IndexOf(bytes, position);
            EXPECT_TRUE(back == index || (back + 1 == index && IsLowSurrogate(text[index])))
                << ::testing::PrintToString(bytes) << " " << index;
        }
    }
}

// A text long enough for many checkpoints, checked against the linear
// conversions at every position near the edits and at random ones.
void ExpectConsistent(const DualText& dual, std::mt19937& random) {
    const std::string bytes(dual.Bytes());
    ASSERT_EQ(dual.Text(), Utf8ToUtf16Lenient(bytes));
    for (int i = 0; i < 12; ++i) {
        const std::size_t position = random() % (bytes.size() + 2);
        ASSERT_EQ(dual.ToIndex(position), Utf16IndexOf(bytes, position)) << position;
        const std::size_t index = random() % (dual.Text().size() + 2);
        ASSERT_EQ(dual.ToBytePosition(index), BytePositionOf(bytes, dual.Text(), index)) << index;
    }
}

TEST(UtfDualText, RandomEditsMatchAFreshDecodeOfTheBytes) {
    std::mt19937 random(11);
    DualText dual;
    dual.Assign(RandomBytes(random, 3 * DualText::kCheckpointSpacing));
    EXPECT_GT(dual.CheckpointCount(), 2u);
    for (int round = 0; round < 200; ++round) {
        const std::size_t size = dual.Bytes().size();
        const std::size_t start = random() % (size + 1);
        const std::size_t end = start + random() % 6;
        // Mostly small edits; now and then a large insertion or deletion.
        const std::size_t insertLength = round % 40 == 0 ? 2 * DualText::kCheckpointSpacing : random() % 5;
        const std::string inserted = RandomBytes(random, insertLength).substr(0, insertLength);
        if (round % 50 == 0) {
            dual.Replace(start / 2, start / 2 + DualText::kCheckpointSpacing, {});
        } else {
            dual.Replace(start, end, inserted);
        }
        ExpectConsistent(dual, random);
    }
}

TEST(UtfDualText, EditsThatCompleteOrBreakASequenceRedecodeItsNeighbours) {
    DualText dual;
    dual.Assign("x\xE6\x97y");  // truncated sequence: x, U+FFFD, y
    ASSERT_EQ(dual.Text(), u"x\uFFFDy");
    dual.Replace(3, 3, "\xA5");  // completes U+65E5
    EXPECT_EQ(dual.Text(), u"x\u65E5y");
    dual.Replace(2, 3, {});  // removes a middle byte
    EXPECT_EQ(dual.Text(), Utf8ToUtf16Lenient(std::string(dual.Bytes())));
    dual.Assign("\xF0\x9F\x98\x80");
    dual.Replace(2, 2, "a");  // splits the emoji
    EXPECT_EQ(dual.Text(), Utf8ToUtf16Lenient("\xF0\x9F" "a\x98\x80"));
    EXPECT_EQ(dual.ToIndex(3), 2u);
}

TEST(UtfDualText, TypingIntoALargeTextKeepsCheckpointsSpread) {
    std::string bytes;
    for (int i = 0; i < 2000; ++i) bytes += "line \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n";
    DualText dual;
    dual.Assign(bytes);
    const std::size_t checkpoints = dual.CheckpointCount();
    std::mt19937 random(3);
    for (int i = 0; i < 200; ++i) dual.Replace(dual.Bytes().size() / 2, dual.Bytes().size() / 2, "k");
    EXPECT_GE(dual.CheckpointCount() + 1, checkpoints);
    ExpectConsistent(dual, random);
}

// Edits at both ends and in the middle, cut anywhere inside multi-byte
// sequences and surrogate pairs, checked against a plain string and a fresh
// decode without closing the gaps (reading the whole text now and then
// closes them). The reported change must turn the old text into the new, and
// unit reads at any range (edges inside pairs or ill-formed bytes included)
// must match slices of the fresh decode, also right after reads that decoded
// nearby units or the whole text before the edit.
TEST(UtfDualText, GapsFollowEditsAnywhereAndMatchAReference) {
    const struct {
        std::size_t length;
        unsigned seed;
    } cases[] = {{0, 1}, {30, 2}, {3 * DualText::kCheckpointSpacing, 3}};
    for (const auto& c : cases) {
        std::mt19937 random(c.seed);
        std::string reference = RandomBytes(random, c.length);
        DualText dual;
        dual.Assign(reference);
        for (int round = 0; round < 300; ++round) {
            const std::size_t size = reference.size();
            const std::size_t start = round % 4 == 0 ? 0 : round % 4 == 1 ? size : random() % (size + 1);
            const std::size_t end = std::min(size, start + random() % 6);
            const std::size_t insertLength = random() % 6;
            const std::string inserted = RandomBytes(random, insertLength).substr(0, insertLength);
            const std::u16string before = Utf8ToUtf16Lenient(reference);
            const std::size_t startUnit = Utf16IndexOf(reference, start);
            if (startUnit < before.size()) {
                ASSERT_EQ(dual.UnitAt(startUnit), before[startUnit]);
            }
            std::u16string removed;
            const Utf16Change change = dual.Replace(start, end, inserted, &removed);
            reference.replace(start, end - start, inserted);
            const std::u16string after = Utf8ToUtf16Lenient(reference);

            ASSERT_EQ(removed, before.substr(change.index, change.removed));
            ASSERT_EQ(before.substr(0, change.index) + after.substr(change.index, change.inserted) +
                          before.substr(change.index + change.removed),
                      after);
            ASSERT_EQ(dual.ByteRange(0, reference.size()), reference);
            ASSERT_EQ(dual.TextRange(0, after.size()), after);
            for (int i = 0; i < 8; ++i) {
                const std::size_t position = i < 2 ? start + i : random() % (reference.size() + 2);
                ASSERT_EQ(dual.ToIndex(position), Utf16IndexOf(reference, position)) << position;
                const std::size_t index = i < 2 ? change.index + i : random() % (after.size() + 2);
                ASSERT_EQ(dual.ToBytePosition(index), BytePositionOf(reference, after, index)) << index;
            }
            for (int i = 0; i < 6; ++i) {
                const std::size_t from = i < 2 ? change.index + i : random() % (after.size() + 2);
                const std::size_t to = from + random() % (i == 5 ? after.size() + 2 : 12);
                const std::u16string expected = from < after.size() ? after.substr(from, to - from) : u"";
                ASSERT_EQ(dual.TextRange(from, to), expected) << from << " " << to;
                std::u16string copied(expected.size(), u'#');
                ASSERT_EQ(dual.CopyText(from, to - from, copied.data()), expected.size());
                ASSERT_EQ(copied, expected) << from << " " << to;
                if (i < 3 && from < after.size()) {
                    ASSERT_EQ(dual.UnitAt(from), after[from]) << from;
                }
            }
            if (round % 50 == 49) {
                ASSERT_EQ(dual.Text(), after);
            }
        }
    }
}

// Well-formed bytes counted the quick way convert exactly as when decoded.
TEST(DualText, WellFormedAssignAgreesWithTheDecodingOne) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += (i % 7 == 0) ? "\xF0\x9F\x98\x80" : (i % 3 == 0) ? "\xE3\x81\x82" : "ab\r\n";
    DualText decoded;
    decoded.Assign(bytes);
    DualText counted;
    counted.AssignWellFormed(bytes);
    ASSERT_EQ(counted.Length(), decoded.Length());
    for (std::size_t byte = 0; byte <= bytes.size(); byte += 97) {
        EXPECT_EQ(counted.ToIndex(byte), decoded.ToIndex(byte)) << byte;
    }
    for (std::size_t index = 0; index <= decoded.Length(); index += 89) {
        EXPECT_EQ(counted.ToBytePosition(index), decoded.ToBytePosition(index)) << index;
    }
    counted.Replace(5000, 5004, "x");
    decoded.Replace(5000, 5004, "x");
    EXPECT_EQ(counted.Text(), decoded.Text());
}

}  // namespace
}  // namespace quillpane

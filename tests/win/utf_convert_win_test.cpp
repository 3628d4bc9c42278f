// The portable UTF-8 decoder against the system's MultiByteToWideChar.
#include "platform/utf_convert.h"
#include "platform/wide_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

namespace quillpane {
namespace {

std::optional<std::u16string> SystemDecode(std::string_view bytes, DWORD flags) {
    if (bytes.empty()) return std::u16string();
    const int needed = ::MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), text.data(), needed);
    return FromWide(text);
}

std::string SystemEncode(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

std::vector<std::string> Corpus() {
    std::vector<std::string> corpus = {
        "plain ascii",
        "caf\xC3\xA9 \xE3\x81\x82 \xF0\x9F\x98\x80",
        "\x80", "\xBF\xBF", "\xC0\xAF", "\xC1\x81", "\xC2", "\xC2\x41", "\xE0\x80\xAF", "\xE0\xA0",
        "\xE3\x81", "\xE3\x81\x41", "\xED\xA0\x80", "\xED\xBF\xBF", "\xEF\xBF\xBF", "\xF0\x8F\xBF\xBF",
        "\xF0\x9F\x98", "\xF4\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80",
        "\xFE\xFF", "a\xFFz", "\xE3\x81\xF0\x9F\x98\x80",
    };
    // Random short byte strings weighted towards UTF-8 lead and trail bytes.
    std::mt19937 random(12345);
    const unsigned char interesting[] = {0x41, 0x80, 0x9F, 0xA0, 0xBF, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        const int length = 1 + static_cast<int>(random() % 6);
        for (int j = 0; j < length; ++j) bytes.push_back(static_cast<char>(interesting[random() % sizeof(interesting)]));
        corpus.push_back(bytes);
    }
    return corpus;
}

TEST(UtfConvertAgainstSystem, StrictAgreesWithInvalidCharsFlag) {
    for (const std::string& bytes : Corpus()) {
        EXPECT_EQ(Utf8ToUtf16Strict(bytes), SystemDecode(bytes, MB_ERR_INVALID_CHARS)) << ::testing::PrintToString(bytes);
    }
}

// Runs of U+FFFD collapsed to one: Wine 8 and Windows disagree on how many
// replacement characters some ill-formed runs produce.
std::u16string CollapseReplacements(std::u16string_view text) {
    std::u16string out;
    for (const char16_t c : text) {
        if (c == 0xFFFD && !out.empty() && out.back() == 0xFFFD) continue;
        out.push_back(c);
    }
    return out;
}

std::u16string WithoutReplacements(std::u16string_view text) {
    std::u16string out;
    for (const char16_t c : text) {
        if (c != 0xFFFD) out.push_back(c);
    }
    return out;
}

bool IsSubsequence(std::u16string_view part, std::u16string_view whole) {
    std::size_t next = 0;
    for (const char16_t c : whole) {
        if (next < part.size() && part[next] == c) ++next;
    }
    return next == part.size();
}

std::u16string AsciiOf(std::u16string_view text) {
    std::u16string out;
    for (const char16_t c : text) {
        if (c < 0x80) out.push_back(c);
    }
    return out;
}

TEST(UtfConvertAgainstSystem, LenientKeepsWhatTheSystemKeeps) {
    for (const std::string& bytes : Corpus()) {
        const std::u16string ours = Utf8ToUtf16Lenient(bytes);
        const std::u16string system = SystemDecode(bytes, 0).value_or(u"");
        std::u16string inputAscii;
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) inputAscii.push_back(static_cast<char16_t>(c));
        }
        // Every ASCII byte is a character of its own, whatever precedes it.
        EXPECT_EQ(AsciiOf(ours), inputAscii) << ::testing::PrintToString(bytes);
        // Wine 8 swallows valid characters that follow a truncated sequence;
        // Windows keeps them, and so do we. Ours must then hold all of Wine's.
        const std::u16string validOurs = WithoutReplacements(ours);
        const std::u16string validSystem = WithoutReplacements(system);
        if (validOurs != validSystem) {
            EXPECT_TRUE(IsSubsequence(validSystem, validOurs)) << ::testing::PrintToString(bytes);
            continue;
        }
        EXPECT_EQ(CollapseReplacements(ours), CollapseReplacements(system)) << ::testing::PrintToString(bytes);
    }
}

TEST(UtfConvertAgainstSystem, EncodeAgreesIncludingLoneSurrogates) {
    const std::u16string cases[] = {
        u"plain", u"\u00E9\u3042\U0001F600", std::u16string(1, char16_t(0xD800)),
        std::u16string {u'a', char16_t(0xDC00), u'b'}, std::u16string {char16_t(0xDBFF), char16_t(0xD800)},
    };
    for (const auto& text : cases) EXPECT_EQ(Utf16ToUtf8(text), SystemEncode(text));
}

}  // namespace
}  // namespace quillpane

// Links: finding them in memo text, the scheme rules, and the judgements on
// what a link opens.
#include "editor/links.h"

#include "platform/utf_convert.h"

#include <gtest/gtest.h>


namespace quillpane {
namespace {

// Only "qptest" has a handler on this pretend system.
bool QpTestOnly(std::u16string_view scheme) { return scheme == u"qptest"; }

std::vector<std::u16string> LinkTexts(std::u16string_view text, const SchemeQuery& query = QpTestOnly) {
    std::vector<std::u16string> texts;
    for (const TextRange& link : FindLinks(text, query)) texts.emplace_back(text.substr(link.start, link.Length()));
    return texts;
}

struct FindCase {
    std::u16string_view text;
    std::vector<std::u16string> links;
};

TEST(LinkFind, MarksWhatTheRulesAllow) {
    const FindCase cases[] = {
        // Trimming: unmatched brackets and punctuation in either order.
        {u"(https://a.example/x_(y)),", {u"https://a.example/x_(y)"}},
        {u"(see https://a.example/x.)", {u"https://a.example/x"}},
        {u"https://a.example/x).", {u"https://a.example/x"}},
        {u"[https://a.example/]」、", {u"https://a.example/"}},
        // Japanese sentence endings, also behind a bracket or a full stop.
        {u"https://a.example/xです。", {u"https://a.example/x"}},
        {u"https://a.example/でしょうか", {u"https://a.example/"}},
        {u"(https://a.example)ですね", {u"https://a.example"}},
        {u"https://a.example/x.ですです", {u"https://a.example/x"}},
        {u"https://a.example/x。次 https://b.example「c」", {u"https://a.example/x", u"https://b.example"}},
        {u"日本語https://a.example/をご覧", {u"https://a.example/をご覧"}},
        // Boundaries and empty prefixes.
        {u"xhttps://a.b", {}},
        {u"https://", {}},
        {u"https://...", {}},
        {u"HTTP://A.B mailto:a@b.c mailto:", {u"HTTP://A.B", u"mailto:a@b.c"}},
        // Mail addresses.
        {u"a@b", {}},
        {u"a@b.c.", {}},
        {u"a@b.c. Thanks", {u"a@b.c"}},
        {u"(x.y+z@mail.example.jp), @a.b a@.b a@b. c", {u"x.y+z@mail.example.jp"}},
        // Paths: quoted ones keep their spaces, unquoted ones stop there.
        {u"\"C:\\My Dir\\f.txt\" x", {u"C:\\My Dir\\f.txt"}},
        {u"<C:\\a b> C:\\My Dir", {u"C:\\a b", u"C:\\My"}},
        {u"\"C:\\a b\r\nc\"", {u"C:\\a"}},
        {u"d:/x c://x C:\\ xC:\\y", {u"d:/x"}},
        {u"\\\\host\\share \\\\ab \\\\a \\\\\\xy", {u"\\\\host\\share", u"\\\\ab", u"\\\\xy"}},
        // Surrogate pairs around links stay whole.
        {u"😀https://a.b/😀 😀a@b.c😀", {u"https://a.b/😀", u"a@b.c"}},
        // Registered schemes, with a wrapping scheme in front.
        {u"qptest://x other://y qptest://", {u"qptest://x"}},
        {u"other:qptest://x qptest:qptest://y 1qptest://z", {u"qptest://x", u"qptest:qptest://y"}},
    };
    for (const FindCase& c : cases) EXPECT_EQ(LinkTexts(c.text), c.links) << Utf16ToUtf8(c.text);
}

TEST(LinkFind, AsksTheSystemOnlyForUnknownSchemes) {
    std::vector<std::u16string> asked;
    const SchemeQuery recording = [&](std::u16string_view scheme) {
        asked.emplace_back(scheme);
        return scheme == u"qptest";
    };
    const std::u16string_view text = u"QpTest://x http://y ms-msdt://z httpx://w search-ms://v 2x://t Other://u";
    EXPECT_EQ(LinkTexts(text, recording), (std::vector<std::u16string>{u"QpTest://x", u"http://y"}));
    EXPECT_EQ(asked, (std::vector<std::u16string>{u"qptest", u"other"}));
    EXPECT_TRUE(LinkTexts(u"qptest://x", nullptr).empty());
}

TEST(LinkFind, LongNamesAreNotAddresses) {
    const std::u16string name(64, u'a');
    const SchemeQuery anyScheme = [](std::u16string_view) { return true; };
    EXPECT_EQ(LinkTexts(name + u"@b.c"), std::vector<std::u16string>{name + u"@b.c"});
    EXPECT_TRUE(LinkTexts(u"a" + name + u"@b.c").empty());
    EXPECT_EQ(LinkTexts(name + u"://x", anyScheme), std::vector<std::u16string>{name + u"://x"});
    EXPECT_TRUE(LinkTexts(u"a" + name + u"://x", anyScheme).empty());
}

// Texts that make a naive scan quadratic (a look-ahead to the line's end at
// every rejected start, brackets recounted per removal) still give the right
// links; their cost is measured by the benchmark.
TEST(LinkFind, HostileTextGivesTheRightLinks) {
    const std::size_t repeats = 1 << 12;
    std::u16string angles, closers = u"https://a.b/";
    for (std::size_t i = 0; i < repeats; ++i) {
        angles += u"<a:\\";
        closers += u"))))";
    }
    EXPECT_TRUE(FindLinks(angles, QpTestOnly).empty());
    EXPECT_EQ(LinkTexts(closers), std::vector<std::u16string>{u"https://a.b/"});
}

TEST(LinkScheme, FixedVerdicts) {
    const std::u16string longest(64, u'a');
    const struct {
        std::u16string scheme;
        SchemeVerdict verdict;
    } cases[] = {
        {u"http", SchemeVerdict::Link},        {u"file", SchemeVerdict::Link},
        {u"httpx", SchemeVerdict::NotLink},    {u"ftps", SchemeVerdict::NotLink},
        {u"files", SchemeVerdict::NotLink},    {u"ms-msdt", SchemeVerdict::NotLink},
        {u"search", SchemeVerdict::NotLink},   {u"search-ms", SchemeVerdict::NotLink},
        {u"ms-officecmd", SchemeVerdict::NotLink}, {u"ms-appinstaller", SchemeVerdict::NotLink},
        {u"xhttp", SchemeVerdict::AskSystem},  {u"ms-settings", SchemeVerdict::AskSystem},
        {longest, SchemeVerdict::AskSystem},   {longest + u"a", SchemeVerdict::NotLink},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedSchemeVerdict(c.scheme), c.verdict) << Utf16ToUtf8(c.scheme);
}

TEST(LinkMargin, HalfTheScreenAtLeastEight) {
    EXPECT_EQ(LinkMarginLines(0), 8u);
    EXPECT_EQ(LinkMarginLines(17), 8u);
    EXPECT_EQ(LinkMarginLines(18), 9u);
    EXPECT_EQ(LinkMarginLines(50), 25u);
}

TEST(LinkTarget, StripsQuotesAndAddsMailTo) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"", u""}, {u"\"", u"\""}, {u"\"\"", u""}, {u"\"C:\\My Dir\\f.txt\"", u"C:\\My Dir\\f.txt"},
        {u"<http://x>", u"http://x"}, {u"a@b.c", u"mailto:a@b.c"}, {u"mailto:a@b.c", u"mailto:a@b.c"},
        {u"\"a@b.c\"", u"mailto:a@b.c"},
    };
    for (const auto& [link, target] : cases) EXPECT_EQ(LinkTarget(link), target) << Utf16ToUtf8(link);
}

TEST(LinkLocalPath, ConvertsPathsAndFileUrls) {
    const std::pair<std::u16string_view, std::optional<std::u16string>> cases[] = {
        {u"C:/a/b/", u"C:\\a\\b"},
        {u"\"C:\\My Dir\\\\\"", u"C:\\My Dir"},
        {u"C:\\", u"C:\\"},
        {u"\\\\host\\share\\", u"\\\\host\\share"},
        {u"file:///C:/a/b", u"C:\\a\\b"},
        {u"FILE://LocalHost/C:/a", u"C:\\a"},
        {u"file://host/share/x", u"\\\\host\\share\\x"},
        {u"file:/C:/a%20b", u"C:\\a%20b"},
        {u"file:C:/a", u"C:\\a"},
        {u"file:///etc/x", std::nullopt},
        {u"HTTPS://a.b/c", std::nullopt},
        {u"ftp://h/p", std::nullopt},
        {u"mailto:a@b.c", std::nullopt},
        {u"a@b.c", std::nullopt},
        {u"qptest://x", std::nullopt},
        {u"C:a", std::nullopt},
    };
    for (const auto& [link, path] : cases) EXPECT_EQ(LocalPathOfLinkText(link), path) << Utf16ToUtf8(link);
}

TEST(LinkPaths, NetworkPaths) {
    const std::pair<std::u16string_view, bool> cases[] = {
        {u"\\\\host\\share", true}, {u"//host/share", true}, {u"\\\\?\\UNC\\h\\s", true},
        {u"\\\\?\\GLOBALROOT\\Device\\Mup\\h\\s", true}, {u"\\\\?\\C:\\x", false}, {u"\\\\.\\C:\\x", false},
        {u"C:\\x", false}, {u"\\x", false}, {u"", false},
    };
    for (const auto& [path, network] : cases) EXPECT_EQ(IsNetworkPath(path), network) << Utf16ToUtf8(path);
}

TEST(LinkPaths, RunsWhenOpened) {
    const struct {
        std::u16string_view path;
        std::u16string_view pathExt;
        bool runs;
    } cases[] = {
        {u"C:\\a\\b.bat", u"", true},
        {u"C:\\a\\b.BAT. .", u"", true},
        {u"C:\\a\\b.txt", u".COM;.EXE;.BAT", false},
        {u"C:\\a\\b.txt:evil.exe", u"", true},
        {u"C:\\a\\b.txt:x", u"", true},
        {u"\\\\?\\C:\\a\\b.txt", u"", false},
        {u"\\\\?\\C:\\a\\b.lnk", u"", true},
        {u"C:\\a\\b.py", u".COM;; .PY ;", true},
        {u"C:\\a\\b.py", u"PY", true},
        {u"C:\\a\\b.py", u".COM;.PYW", false},
        {u"C:\\a.exe\\b", u"", false},
        {u"C:\\a\\", u"", false},
        {u"C:\\a\\.settingcontent-ms", u"", true},
        {u"C:\\a\\b.\u017Fcr", u"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(RunsWhenOpened(c.path, c.pathExt), c.runs) << Utf16ToUtf8(c.path);
}

TEST(LinkDisplayName, LastComponentCutToForty) {
    const std::u16string forty(40, u'a');
    const std::u16string cut = std::u16string(39, u'a') + u"…";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\a\\b.txt", u"b.txt"},
        {u"//host/share//", u"share"},
        {u"\\\\", u"\\\\"},
        {u"C:\\" + forty, forty},
        {forty + u"a", cut},
        {std::u16string(38, u'a') + u"😀bb", std::u16string(38, u'a') + u"…"},
        {std::u16string(37, u'a') + u"😀bb", std::u16string(37, u'a') + u"😀…"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(LinkDisplayName(path), name) << Utf16ToUtf8(path);
}

}  // namespace
}  // namespace quillpane

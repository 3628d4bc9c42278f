// Links found in UTF-16 memo text, and what opening one would do.
#include "editor/links.h"

#include "editor/utf_positions.h"
#include "settings/ascii_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quillpane {
namespace {

constexpr std::size_t kNone = std::u16string_view::npos;
// Longer scheme names are never links, so a backward walk stops one past it.
constexpr std::size_t kMaxSchemeLength = 64;
// The longest local part a mail address may have.
constexpr std::size_t kMaxLocalPartLength = 64;
constexpr std::size_t kMinMarginLines = 8;
constexpr std::size_t kDisplayNameLimit = 40;

constexpr std::u16string_view kWebSchemes[] = {u"http", u"https", u"ftp", u"file"};
constexpr std::u16string_view kWebPrefixes[] = {u"https://", u"http://", u"ftp://", u"file://"};
constexpr std::u16string_view kMailToPrefix = u"mailto:";

// Handlers that run code straight from a clicked link (Follina and its
// relatives); a memo synced from a phone must not be able to reach them.
constexpr std::u16string_view kAbusedSchemes[] = {u"ms-msdt", u"search-ms", u"search", u"ms-officecmd",
                                                  u"ms-appinstaller"};

// Japanese sentence endings written straight after an address.
constexpr std::u16string_view kSentenceEndings[] = {u"でしょうか", u"でしょう", u"でした", u"ですよ",
                                                    u"ですね",     u"です",     u"ます"};

struct BracketPair {
    char16_t open;
    char16_t close;
};
constexpr BracketPair kBracketPairs[] = {{u'(', u')'}, {u'[', u']'}, {u'{', u'}'}, {0xFF08, 0xFF09}};

struct BracketCount {
    std::size_t open = 0;
    std::size_t close = 0;
};
using BracketCounts = std::array<BracketCount, std::size(kBracketPairs)>;

// Opened by the shell as programs, scripts, installers or shortcuts to them.
constexpr std::u16string_view kRunnableExtensions[] = {
    u".exe", u".com", u".bat", u".cmd", u".scr", u".pif", u".cpl", u".msi", u".msp", u".msc", u".lnk",
    u".url", u".hta", u".js", u".jse", u".vbs", u".vbe", u".wsf", u".wsh", u".ps1", u".psm1", u".psd1",
    u".ps1xml", u".reg", u".jar", u".application", u".appref-ms", u".scf", u".library-ms",
    u".settingcontent-ms", u".gadget", u".inf", u".chm",
};

// ASCII character classes, looked up once per unit on the scan's hot path.
enum AsciiClass : std::uint8_t {
    kLetter = 1,
    kWord = 2,     // letters, digits, "_"
    kScheme = 4,   // letters, digits, "+", "-", "."
    kLocal = 8,    // what a mail address's local part may hold
    kStop = 16,    // ends a link
    kOpener = 32,  // first letter of "http", "ftp", "file", "mailto"
    kTrigger = 64, // an opener, "\\", "@", or ":" (a scheme or drive ends before it)
};

constexpr std::array<std::uint8_t, 128> kAsciiClasses = [] {
    using namespace std::string_view_literals;
    std::array<std::uint8_t, 128> classes{};
    for (char16_t c = 0; c < 0x21; ++c) classes[c] |= kStop;
    for (char16_t c : u"\"'<>`"sv) classes[c] |= kStop;
    for (char16_t c = u'0'; c <= u'9'; ++c) classes[c] |= kWord | kScheme | kLocal;
    for (char16_t c = u'A'; c <= u'Z'; ++c) classes[c] |= kLetter | kWord | kScheme | kLocal;
    for (char16_t c = u'a'; c <= u'z'; ++c) classes[c] |= kLetter | kWord | kScheme | kLocal;
    for (char16_t c : u"hfmHFM"sv) classes[c] |= kOpener;
    classes[u'_'] |= kWord | kLocal;
    for (char16_t c : u"+-."sv) classes[c] |= kScheme | kLocal;
    classes[u'%'] |= kLocal;
    for (char16_t c : u"hfmHFM\\@:"sv) classes[c] |= kTrigger;
    return classes;
}();

bool HasClass(char16_t c, std::uint8_t asciiClass) { return c < 0x80 && (kAsciiClasses[c] & asciiClass) != 0; }

// Without a branch on the script: Japanese and ASCII alternate too often
// for one to be predicted, and the skip over them is the scan's hot loop.
bool IsTrigger(char16_t c) {
    const unsigned asciiMask = c < 0x80 ? 0xFFu : 0u;
    return (kAsciiClasses[c & 0x7F] & kTrigger & asciiMask) != 0;
}

bool IsAsciiLetter(char16_t c) { return HasClass(c, kLetter); }
bool IsAsciiAlnum(char16_t c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }
bool IsWordChar(char16_t c) { return HasClass(c, kWord); }
bool IsSchemeChar(char16_t c) { return HasClass(c, kScheme); }
bool IsLocalPartChar(char16_t c) { return HasClass(c, kLocal); }
bool IsLabelChar(char16_t c) { return IsAsciiAlnum(c) || c == u'-'; }
bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

bool IsStopChar(char16_t c) {
    if (c < 0x80) return (kAsciiClasses[c] & kStop) != 0;
    if (c < 0x3000) return false;
    return c <= 0x3002 || c == 0x300C || c == 0x300E || c == 0xFF01 || c == 0xFF1F;
}

bool IsTrailingPunctuation(char16_t c) {
    switch (c) {
    case u'!': case u',': case u'.': case u':': case u';': case u'?':
    case 0x3001: case 0x3002: case 0x300D: case 0x300F: case 0xFF01: case 0xFF0C: case 0xFF1A: case 0xFF1B:
    case 0xFF1F:
        return true;
    default:
        return false;
    }
}

// The index in kBracketPairs of the pair `c` closes, or kNone.
std::size_t ClosingPairIndex(char16_t c) {
    for (std::size_t k = 0; k < std::size(kBracketPairs); ++k) {
        if (kBracketPairs[k].close == c) return k;
    }
    return kNone;
}

BracketCounts CountBrackets(std::u16string_view range) {
    BracketCounts counts{};
    for (char16_t c : range) {
        for (std::size_t k = 0; k < std::size(kBracketPairs); ++k) {
            if (c == kBracketPairs[k].open) ++counts[k].open;
            if (c == kBracketPairs[k].close) ++counts[k].close;
        }
    }
    return counts;
}

bool IsQuoteOrLineBreak(char16_t c) { return c == u'"' || IsLineBreak(c); }
bool IsAngleCloseOrLineBreak(char16_t c) { return c == u'>' || IsLineBreak(c); }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() && EqualsAsciiNoCase(text.substr(0, lowerPrefix.size()), lowerPrefix);
}

std::u16string AsciiLower(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower) c = FoldAscii(c);
    return lower;
}

// The first unit at or after a position that satisfies IsHit (or the text's
// end). Remembers its last answer: the scan asks again for every rejected
// link start, and on a long line without a hit ("<a:\<a:\...") a fresh
// search each time would be quadratic. The positions asked for hardly ever
// go back; when one does, the search starts afresh.
template <bool (*IsHit)(char16_t)>
class Lookahead {
public:
    explicit Lookahead(std::u16string_view source) : text(source) {}

    [[nodiscard]] std::size_t From(std::size_t position) {
        if (known && position >= searchedFrom && position <= found) return found;
        std::size_t i = position;
        while (i < text.size() && !IsHit(text[i])) ++i;
        known = true;
        searchedFrom = position;
        found = i;
        return found;
    }

private:
    std::u16string_view text;
    bool known = false;
    std::size_t searchedFrom = 0;  // no hit in [searchedFrom, found)
    std::size_t found = 0;
};

class LinkScanner {
public:
    LinkScanner(std::u16string_view source, const SchemeQuery& query)
        : text(source), isRegisteredScheme(query), stops(source), quotes(source), angles(source) {}

    [[nodiscard]] std::vector<TextRange> Run() {
        std::vector<TextRange> links;
        std::size_t c = 0;
        while (c < text.size()) {
            // Most units start no rule and are passed over in this loop.
            std::size_t next = c;
            while (next < text.size() && !IsTrigger(text[next])) ++next;
            if (next == text.size()) break;
            // A ":" is where schemes and drives end: the unit before it is
            // the one to try, unless it was tried already.
            if (text[next] == u':') {
                if (next == c) {
                    ++c;
                    continue;
                }
                --next;
            }
            if (const std::optional<TextRange> link = MatchAt(next)) {
                links.push_back(*link);
                c = link->end;
                floor = c;
            } else {
                c = next + 1;
            }
        }
        return links;
    }

private:
    [[nodiscard]] bool HasBoundary(std::size_t i) const { return i == 0 || !IsWordChar(text[i - 1]); }

    [[nodiscard]] char16_t At(std::size_t i) const { return i < text.size() ? text[i] : char16_t{0}; }

    // The rules in their order of precedence; each rule's first unit is
    // distinct enough to dispatch on.
    [[nodiscard]] std::optional<TextRange> MatchAt(std::size_t c) {
        const char16_t unit = text[c];
        if (unit == u'\\') return UncPath(c);
        if (unit == u'@') return MailAddress(c);
        // Most units end here: inside a word only a ":" next can start a
        // link, at a word start only that or a web or mail prefix.
        const bool colonNext = At(c + 1) == u':';
        if (!IsSchemeChar(unit) || !(colonNext || (HasClass(unit, kOpener) && HasBoundary(c)))) return std::nullopt;
        const bool wordStart = IsAsciiLetter(unit) && HasBoundary(c);
        if (wordStart && !colonNext) {
            if (std::optional<TextRange> link = WebAddress(c)) return link;
            return MailToAddress(c);
        }
        // A letter before "://" is a scheme, never a drive ("c://x").
        if (At(c + 2) == u'/' && At(c + 3) == u'/') return AnySchemeAddress(c);
        return wordStart ? DrivePath(c) : std::nullopt;
    }

    [[nodiscard]] std::optional<TextRange> LinkFrom(std::size_t start, std::size_t bodyStart,
                                                     std::size_t minEnd) {
        const std::size_t end = LinkEnd(start, bodyStart);
        if (end <= minEnd) return std::nullopt;
        return TextRange{start, end};
    }

    [[nodiscard]] std::optional<TextRange> UncPath(std::size_t c) {
        if (At(c + 1) != u'\\' || At(c + 2) == u'\\' || !HasBoundary(c)) return std::nullopt;
        return LinkFrom(c, c + 2, c + 3);
    }

    [[nodiscard]] std::optional<TextRange> WebAddress(std::size_t c) {
        for (std::u16string_view prefix : kWebPrefixes) {
            if (StartsWithNoCase(text.substr(c), prefix)) return LinkFrom(c, c + prefix.size(), c + prefix.size());
        }
        return std::nullopt;
    }

    [[nodiscard]] std::optional<TextRange> AnySchemeAddress(std::size_t c) {
        const std::size_t schemeStart = SchemeStart(c);
        if (schemeStart == kNone || !PassesSchemeTest(schemeStart, c + 1)) return std::nullopt;
        std::size_t start = schemeStart;
        // A wrapping scheme ("view-source:foo://x") belongs to the link.
        if (schemeStart >= floor + 2 && text[schemeStart - 1] == u':') {
            const std::size_t outer = SchemeStart(schemeStart - 2);
            if (outer != kNone && PassesSchemeTest(outer, schemeStart - 1)) start = outer;
        }
        return LinkFrom(start, c + 4, c + 4);
    }

    [[nodiscard]] std::optional<TextRange> MailToAddress(std::size_t c) {
        if (!StartsWithNoCase(text.substr(c), kMailToPrefix)) return std::nullopt;
        return LinkFrom(c, c + kMailToPrefix.size(), c + kMailToPrefix.size());
    }

    [[nodiscard]] std::optional<TextRange> DrivePath(std::size_t c) {
        if (At(c + 1) != u':' || !IsSeparator(At(c + 2))) return std::nullopt;
        return LinkFrom(c, c + 3, c + 3);
    }

    [[nodiscard]] std::optional<TextRange> MailAddress(std::size_t c) {
        std::size_t localStart = c;
        while (localStart > floor && c - localStart < kMaxLocalPartLength && IsLocalPartChar(text[localStart - 1]))
            --localStart;
        if (localStart == c || !HasBoundary(localStart)) return std::nullopt;
        if (localStart > floor && IsLocalPartChar(text[localStart - 1])) return std::nullopt;  // too long

        // Labels of letters, digits and "-", joined by single dots.
        std::size_t p = c + 1;
        bool dotted = false;
        for (bool firstLabel = true;; firstLabel = false) {
            if (!IsAsciiAlnum(At(p))) {
                // "a@" is nothing; "a@b.c." at the very end is nothing
                // either; "a@b.c. Thanks" keeps "a@b.c" after trimming.
                if (firstLabel || p == text.size()) return std::nullopt;
                break;
            }
            dotted = dotted || !firstLabel;
            while (p < text.size() && IsLabelChar(text[p])) ++p;
            if (At(p) != u'.') break;
            ++p;
        }
        if (!dotted) return std::nullopt;
        const std::size_t end = Trim(localStart, p);
        if (end <= c + 1) return std::nullopt;
        return TextRange{localStart, end};
    }

    // The start of the scheme whose last unit is at `last`, or kNone. The
    // walk never enters the previous link and stops one past the longest
    // scheme name, which then fails the scheme test.
    [[nodiscard]] std::size_t SchemeStart(std::size_t last) const {
        if (!IsSchemeChar(text[last])) return kNone;
        std::size_t start = last;
        while (start > floor && last - start < kMaxSchemeLength && IsSchemeChar(text[start - 1])) --start;
        if (!IsAsciiLetter(text[start]) || !HasBoundary(start)) return kNone;
        return start;
    }

    [[nodiscard]] bool PassesSchemeTest(std::size_t start, std::size_t end) const {
        const std::u16string lower = AsciiLower(text.substr(start, end - start));
        switch (FixedSchemeVerdict(lower)) {
        case SchemeVerdict::Link: return true;
        case SchemeVerdict::NotLink: return false;
        case SchemeVerdict::AskSystem: return isRegisteredScheme && isRegisteredScheme(lower);
        }
        return false;
    }

    // A quoted or angle-bracketed link runs to its closing mark on the same
    // line, so paths with spaces work; anything else stops at a stop unit.
    [[nodiscard]] std::size_t LinkEnd(std::size_t start, std::size_t bodyStart) {
        const char16_t before = start > 0 ? text[start - 1] : char16_t{0};
        std::size_t end = kNone;
        if (before == u'"') {
            end = quotes.From(bodyStart);
            if (At(end) != u'"') end = kNone;
        } else if (before == u'<') {
            end = angles.From(bodyStart);
            if (At(end) != u'>') end = kNone;
        }
        if (end == kNone) end = stops.From(bodyStart);
        return Trim(start, end);
    }

    // Punctuation, unmatched closing brackets and sentence endings come off
    // the end until none is left, whatever order they were written in.
    [[nodiscard]] std::size_t Trim(std::size_t start, std::size_t end) const {
        // Counted once and kept up to date: counting again per removed
        // bracket would be quadratic in a run of ")".
        std::optional<BracketCounts> counts;
        for (bool changed = true; changed;) {
            changed = false;
            while (end > start && IsTrailingPunctuation(text[end - 1])) {
                --end;
                changed = true;
            }
            while (end > start) {
                const std::size_t pair = ClosingPairIndex(text[end - 1]);
                if (pair == kNone) break;
                if (!counts) counts = CountBrackets(text.substr(start, end - start));
                BracketCount& count = (*counts)[pair];
                if (count.close <= count.open) break;
                --count.close;
                --end;
                changed = true;
            }
            for (bool removed = true; removed;) {
                removed = false;
                for (std::u16string_view ending : kSentenceEndings) {
                    if (end - start > ending.size() && text.substr(start, end - start).ends_with(ending)) {
                        end -= ending.size();
                        removed = changed = true;
                        break;
                    }
                }
            }
        }
        return end;
    }

    std::u16string_view text;
    const SchemeQuery& isRegisteredScheme;
    std::size_t floor = 0;  // the previous link's end: no link reaches back before it
    Lookahead<IsStopChar> stops;
    Lookahead<IsQuoteOrLineBreak> quotes;
    Lookahead<IsAngleCloseOrLineBreak> angles;
};

std::u16string_view WithoutQuotes(std::u16string_view text) {
    if (text.size() > 1 &&
        ((text.front() == u'"' && text.back() == u'"') || (text.front() == u'<' && text.back() == u'>')))
        return text.substr(1, text.size() - 2);
    return text;
}

// "\\?\" and "\\.\" hand the rest of the path to the object manager as is.
bool HasNamespacePrefix(std::u16string_view path) {
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == u'?' || path[2] == u'.') &&
           IsSeparator(path[3]);
}

bool StartsWithDrive(std::u16string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':';
}

// ASCII folding plus the letters Unicode case mapping takes onto ASCII
// (dotless i, long s, Kelvin sign): Windows does not compare names by
// ASCII alone, so "x.ſcr" is judged as ".scr".
char16_t FoldExtensionUnit(char16_t c) {
    switch (c) {
    case 0x0131: return u'i';
    case 0x017F: return u's';
    case 0x212A: return u'k';
    default: return FoldAscii(c);
    }
}

bool SameExtension(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return FoldExtensionUnit(x) == FoldExtensionUnit(y);
           });
}

bool ListedInPathExt(std::u16string_view extension, std::u16string_view pathExt) {
    while (!pathExt.empty()) {
        const std::size_t semicolon = pathExt.find(u';');
        std::u16string_view entry = TrimBlanks(pathExt.substr(0, semicolon));
        pathExt = semicolon == kNone ? std::u16string_view{} : pathExt.substr(semicolon + 1);
        if (entry.empty()) continue;
        // PATHEXT is typed by hand at times: "EXE" means ".EXE".
        if (entry.front() == u'.' ? SameExtension(extension, entry) : SameExtension(extension.substr(1), entry))
            return true;
    }
    return false;
}

}  // namespace

SchemeVerdict FixedSchemeVerdict(std::u16string_view lowerScheme) {
    if (lowerScheme.empty()) return SchemeVerdict::NotLink;
    for (std::u16string_view web : kWebSchemes) {
        if (lowerScheme == web) return SchemeVerdict::Link;
    }
    // "httpx" or "files" pose as the web schemes.
    for (std::u16string_view web : kWebSchemes) {
        if (lowerScheme.starts_with(web)) return SchemeVerdict::NotLink;
    }
    if (lowerScheme.size() > kMaxSchemeLength) return SchemeVerdict::NotLink;
    for (std::u16string_view abused : kAbusedSchemes) {
        if (lowerScheme == abused) return SchemeVerdict::NotLink;
    }
    return SchemeVerdict::AskSystem;
}

// One pass; every look-back is bounded and every look-ahead is remembered,
// so hostile text ("@@@@", "<a:\<a:\", runs of ")") stays linear.
std::vector<TextRange> FindLinks(std::u16string_view text, const SchemeQuery& isRegisteredScheme) {
    return LinkScanner(text, isRegisteredScheme).Run();
}

std::size_t LinkMarginLines(std::size_t linesOnScreen) {
    return std::max(linesOnScreen / 2, kMinMarginLines);
}

std::u16string LinkTarget(std::u16string_view linkText) {
    const std::u16string_view target = WithoutQuotes(linkText);
    if (target.find(u':') == kNone && target.find(u'@') != kNone)
        return std::u16string(kMailToPrefix) + std::u16string(target);
    return std::u16string(target);
}

// No percent-decoding: "%2e%2e" must not turn into a different path than
// the one the memo shows.
std::optional<std::u16string> LocalPathOfLinkText(std::u16string_view linkText) {
    const std::u16string_view link = WithoutQuotes(linkText);
    for (std::u16string_view prefix : {u"http://", u"https://", u"ftp://", u"mailto:"}) {
        if (StartsWithNoCase(link, prefix)) return std::nullopt;
    }
    if (link.find_first_of(u"\\/") == kNone && link.find(u'@') != kNone) return std::nullopt;

    std::u16string path;
    if (StartsWithNoCase(link, u"file:")) {
        std::u16string_view rest = link.substr(5);
        if (rest.starts_with(u"//")) {
            rest.remove_prefix(2);
            const std::size_t slash = rest.find(u'/');
            const std::u16string_view host = rest.substr(0, slash);
            const std::u16string_view tail = slash == kNone ? std::u16string_view{} : rest.substr(slash);
            if (host.empty() || EqualsAsciiNoCase(host, u"localhost"))
                path = tail.empty() ? std::u16string{} : std::u16string(tail.substr(1));
            else
                path = u"\\\\" + std::u16string(host) + std::u16string(tail);
        } else {
            while (rest.starts_with(u'/')) rest.remove_prefix(1);
            path = rest;
        }
    } else {
        path = link;
    }
    std::replace(path.begin(), path.end(), u'/', u'\\');

    const bool unc = path.starts_with(u"\\\\");
    const bool drive = path.size() >= 3 && StartsWithDrive(path) && path[2] == u'\\';
    if (!unc && !drive) return std::nullopt;
    while (path.size() > 3 && path.back() == u'\\') path.pop_back();
    return path;
}

// Other object-manager paths ("\\?\GLOBALROOT\Device\Mup\...", pipes) can
// reach other machines too, so only a drive or volume behind the prefix
// counts as local.
bool IsNetworkPath(std::u16string_view path) {
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
    if (!HasNamespacePrefix(path)) return true;
    const std::u16string_view rest = path.substr(4);
    const bool drive = StartsWithDrive(rest) && (rest.size() == 2 || IsSeparator(rest[2]));
    return !drive && !StartsWithNoCase(rest, u"volume{");
}

bool RunsWhenOpened(std::u16string_view path, std::u16string_view pathExt) {
    if (HasNamespacePrefix(path)) path.remove_prefix(4);
    // A second ":" names an alternate data stream ("notes.txt:x.exe"); the
    // shell may run the stream whatever the visible extension says.
    const std::size_t colon = path.find(u':');
    if (colon != kNone && !(colon == 1 && StartsWithDrive(path) && path.find(u':', 2) == kNone)) return true;

    const std::size_t separator = path.find_last_of(u"\\/");
    std::u16string_view name = separator == kNone ? path : path.substr(separator + 1);
    // Windows drops trailing dots and spaces: "run.bat. ." opens run.bat.
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
    const std::size_t dot = name.rfind(u'.');
    if (dot == kNone) return false;
    const std::u16string_view extension = name.substr(dot);
    for (std::u16string_view runnable : kRunnableExtensions) {
        if (SameExtension(extension, runnable)) return true;
    }
    return ListedInPathExt(extension, pathExt);
}

std::u16string LinkDisplayName(std::u16string_view path) {
    std::u16string_view trimmed = path;
    while (!trimmed.empty() && IsSeparator(trimmed.back())) trimmed.remove_suffix(1);
    std::u16string_view name = path;
    if (!trimmed.empty()) {
        const std::size_t separator = trimmed.find_last_of(u"\\/");
        name = separator == kNone ? trimmed : trimmed.substr(separator + 1);
    }
    if (name.size() <= kDisplayNameLimit) return std::u16string(name);
    std::size_t cut = kDisplayNameLimit - 1;
    if (IsHighSurrogate(name[cut - 1])) --cut;  // keep a surrogate pair whole
    return std::u16string(name.substr(0, cut)) + u"…";
}

}  // namespace quillpane

#include "editor/shell_text.h"

#include "platform/utf_convert.h"

namespace quillpane {
namespace {

constexpr std::size_t kSearchTermLimit = 300;
constexpr std::size_t kOpenWithLimit = 323;
constexpr std::u16string_view kSearchPrefix = u"https://www.bing.com/search?q=";

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\u00A0' ||
           c == u'\u3000';
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::u16string PercentEncode(std::u16string_view text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string encoded;
    for (const char byte : Utf16ToUtf8(text)) {
        const auto c = static_cast<unsigned char>(byte);
        if (IsUnreserved(c)) {
            encoded += static_cast<char16_t>(c);
        } else {
            encoded += u'%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::optional<std::u16string> WebSearchAddress(std::u16string_view selection) {
    // Any line break ends the first line, a lone LF or CR too.
    std::u16string_view term = selection.substr(0, selection.find_first_of(u"\r\n"));
    if (term.size() > kSearchTermLimit) {
        std::size_t cut = kSearchTermLimit;
        // Never half a surrogate pair.
        if (term[cut - 1] >= 0xD800 && term[cut - 1] <= 0xDBFF) --cut;
        term = term.substr(0, cut);
    }
    while (!term.empty() && IsSpace(term.front())) term.remove_prefix(1);
    while (!term.empty() && IsSpace(term.back())) term.remove_suffix(1);
    if (term.empty()) return std::nullopt;
    return std::u16string(kSearchPrefix) + PercentEncode(term);
}

std::optional<std::u16string> OpenWithParameters(std::u16string_view path) {
    std::u16string parameters = u"shell32.dll,OpenAs_RunDLL ";
    parameters += path;
    if (path.empty() || parameters.size() > kOpenWithLimit) return std::nullopt;
    return parameters;
}

}  // namespace quillpane

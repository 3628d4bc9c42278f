// The web-search address and the "Open with" parameters.
#include "editor/shell_text.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(ShellText, WebSearchSendsTheFirstLineTrimmedAndEncoded) {
    const std::u16string prefix = u"https://www.bing.com/search?q=";
    EXPECT_EQ(WebSearchAddress(u"a b&c"), prefix + u"a%20b%26c");
    EXPECT_EQ(WebSearchAddress(u"  first line \r\nsecond"), prefix + u"first%20line");
    EXPECT_EQ(WebSearchAddress(u"x\ny"), prefix + u"x");
    EXPECT_EQ(WebSearchAddress(u"\u65E5\u672C~-._"), prefix + u"%E6%97%A5%E6%9C%AC~-._");
    EXPECT_EQ(WebSearchAddress(u" \t\u3000"), std::nullopt);
    EXPECT_EQ(WebSearchAddress(u"\r\nonly the second line"), std::nullopt);

    // 299 letters and a surrogate pair straddling the 300th unit: the pair goes whole.
    const std::u16string longTerm = std::u16string(299, u'a') + u"\U0001F600" + u"tail";
    EXPECT_EQ(WebSearchAddress(longTerm), prefix + std::u16string(299, u'a'));
}

TEST(ShellText, OpenWithRefusesAPathItWouldHaveToCut) {
    const std::u16string fits(323 - 26, u'x');
    EXPECT_EQ(OpenWithParameters(fits)->size(), 323u);
    EXPECT_EQ(OpenWithParameters(fits + u"y"), std::nullopt);
    EXPECT_EQ(OpenWithParameters(u""), std::nullopt);
}

}  // namespace
}  // namespace quillpane

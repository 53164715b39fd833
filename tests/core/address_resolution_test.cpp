#include "core/address_resolution.h"
#include "core/url.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(PercentEncodeQueryTest, KeepsTheQueryAllowedSetAndEncodesTheRest) {
    EXPECT_EQ(percentEncodeQuery("AZaz09-._~!$&'()*+,;=:@/?"), "AZaz09-._~!$&'()*+,;=:@/?");
    EXPECT_EQ(percentEncodeQuery(" #%[]^`{|}\"<>\\"), "%20%23%25%5B%5D%5E%60%7B%7C%7D%22%3C%3E%5C");
    EXPECT_EQ(percentEncodeQuery("\xE6\x97\xA5"), "%E6%97%A5");  // one %XX per UTF-8 byte
    EXPECT_EQ(percentEncodeQuery(std::string("a\0b", 3)), "a%00b");
}

TEST(TrimTest, RemovesUnicodeWhitespaceAndNewlinesAtBothEndsOnly) {
    EXPECT_EQ(trimWhitespaceAndNewlines(" \t\r\n x y \n"), "x y");
    EXPECT_EQ(trimWhitespaceAndNewlines("\xC2\xA0x\xE2\x80\xA8"), "x");  // no-break space, line separator
    EXPECT_EQ(trimWhitespaceAndNewlines("\xC2\x85x\xE3\x80\x80"), "x");  // next line, ideographic space
    EXPECT_EQ(trimWhitespaceAndNewlines("\xE2\x80\x8Bx"), "\xE2\x80\x8Bx");  // zero-width space is not whitespace
    EXPECT_EQ(trimWhitespaceAndNewlines(" \xFF "), "\xFF");  // invalid UTF-8 still loses ASCII blanks
    EXPECT_EQ(trimWhitespaceAndNewlines(""), "");
}

TEST(ResolveAddressTextTest, OnlyAPlainSpaceMakesDottedTextASearch) {
    EXPECT_EQ(resolveAddressText("a.b\xC2\xA0" "c", "S="), "https://a.b\xC2\xA0" "c");
    EXPECT_EQ(resolveAddressText("a.b c", "S="), "S=a.b%20c");
}

TEST(UrlTest, AcceptsTheAddressShapesRealPagesUse) {
    struct Case {
        const char* text;
        const char* shown;  // null: not an address
    };
    const Case cases[] = {
        {"https://www.google.com", "https://www.google.com"},
        {"https://x.example/a%20b?q=%41#f", "https://x.example/a%20b?q=%41#f"},
        // Kept as the engine keeps them, so the address field and history show what the page linked to.
        {"https://shop.example/list?f[size]=1|2&sort={a}^b`c", "https://shop.example/list?f[size]=1|2&sort={a}^b`c"},
        {"https://fonts.example/css?family=Roboto|Open+Sans", "https://fonts.example/css?family=Roboto|Open+Sans"},
        {"https://x.example/100%/done?p=5%&q=%zz", "https://x.example/100%/done?p=5%&q=%zz"},
        {"https://x.example/p#a#b", "https://x.example/p#a#b"},
        {"https://x.example/a b\"<c>", "https://x.example/a%20b%22%3Cc%3E"},
        {"http://[::1]:8080/p?x=[1]", "http://[::1]:8080/p?x=[1]"},
        {"http://user:pw@127.0.0.1:8080/p", "http://user:pw@127.0.0.1:8080/p"},
        {"http://localhost:8103/", "http://localhost:8103/"},
        {"about:blank", "about:blank"},
        {"file:///usr/share/doc/index.html", "file:///usr/share/doc/index.html"},
        {"no scheme", nullptr},
        {"https://a b.example", nullptr},
        {"https://a|b.example/", nullptr},
        {"https://[bad.host", nullptr},
        {"https://x.example/\t\x01", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto url = Url::parse(c.text);
        if (!c.shown) {
            EXPECT_FALSE(url) << c.text;
            continue;
        }
        ASSERT_TRUE(url) << c.text;
        EXPECT_EQ(url->absoluteString(), c.shown);
        EXPECT_EQ(Url::parse(url->absoluteString()), url) << "shown form parses to itself: " << c.text;
    }
    EXPECT_EQ(Url::parse("about:blank")->scheme(), "about");
    EXPECT_EQ(Url::parse("http://[::1]:8080/p")->host(), "::1");
    EXPECT_FALSE(Url::parse(std::string("https://a.example/\0x", 19)));
}

TEST(UrlTest, ConvertsInternationalHostsAndEncodesOtherNonAsciiBytes) {
    const auto url = Url::parse("https://user@\xC3\xA4.example:8443/\xC3\xB6");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host(), "xn--4ca.example");
    EXPECT_EQ(url->absoluteString(), "https://user@xn--4ca.example:8443/%C3%B6");
    EXPECT_FALSE(Url::parse("https://\xFF.example"));  // not UTF-8
}

}  // namespace
}  // namespace sarvik

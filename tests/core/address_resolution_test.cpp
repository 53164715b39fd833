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

TEST(UrlTest, ParsesStrictlyAndKeepsTheTextAsWritten) {
    ASSERT_TRUE(Url::parse("https://www.google.com"));
    EXPECT_EQ(Url::parse("https://www.google.com")->absoluteString(), "https://www.google.com");
    EXPECT_EQ(Url::parse("https://x.example/a%20b?q=%41#f")->absoluteString(), "https://x.example/a%20b?q=%41#f");
    EXPECT_EQ(Url::parse("about:blank")->scheme(), "about");
    EXPECT_EQ(Url::parse("http://127.0.0.1:8080/p")->host(), "127.0.0.1");
    EXPECT_FALSE(Url::parse("no scheme"));
    EXPECT_FALSE(Url::parse("https://a b.example"));
    EXPECT_FALSE(Url::parse(""));
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

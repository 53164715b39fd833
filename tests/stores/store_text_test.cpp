#include "stores/history_day_formatter.h"
#include "stores/store_text.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#include <random>

namespace sarvik {
namespace {

TEST(StoreTextTest, LowersAsciiAndUnicodeWithFullCaseMapping) {
    EXPECT_EQ(lowerCased("Hello, WORLD 123"), "hello, world 123");
    EXPECT_EQ(lowerCased("ÜBER ΣΊΣΥΦΟΣ"), "über σίσυφος");  // final sigma
    EXPECT_EQ(lowerCased("İstanbul"), "i\u0307stanbul");       // root rules, not Turkish
    EXPECT_EQ(lowerCased("\u212A"), "k");                       // Kelvin sign
    EXPECT_TRUE(isLowerCased("https://example.com/a?b=c"));
    EXPECT_TRUE(isLowerCased("été"));
    EXPECT_FALSE(isLowerCased("Été"));
    EXPECT_FALSE(isLowerCased("x\u212A"));
}

TEST(StoreTextTest, ValidatesAndRepairsUtf8) {
    EXPECT_TRUE(isValidUtf8("plain ASCII that is long enough for whole words"));
    EXPECT_TRUE(isValidUtf8("é 東京 😀 \xF4\x8F\xBF\xBF"));
    EXPECT_TRUE(isValidUtf8(std::string("a\0b", 3)));
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xC3",
                            "\x80", "abcdefgh\xFF", "\xE6\x9D"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
        EXPECT_TRUE(isValidUtf8(validUtf8(bad)));
    }
    EXPECT_EQ(validUtf8("a\xFF" "b\xC3"), "a\uFFFD" "b\uFFFD");
    EXPECT_EQ(validUtf8("ok é"), "ok é");
}

TEST(StoreTextTest, TitlesAreCutAfterAThousandCharactersNeverInsideOne) {
    std::string wide;  // ten bytes and four characters each time
    for (int i = 0; i < 300; ++i) wide += "a\u00e9\u6771\U0001F600";
    EXPECT_EQ(storedTitle(wide), wide.substr(0, 2500));
    EXPECT_EQ(storedTitle("x" + wide), ("x" + wide).substr(0, 2497)) << "the cut ends before the emoji, not inside it";
    EXPECT_EQ(storedTitle(std::string(3000, '\x80')).size(), 3 * kMaximumTitleCharacters) << "made valid first";
    EXPECT_EQ(storedTitle("Short \xFF"), "Short \uFFFD");
}

// The day cache must give exactly what formatting every date afresh gives,
// also around changes to and from summer time and in zones that skip midnight
// or a whole day.
TEST(HistoryDayFormatterTest, MatchesFreshFormattingAcrossTimeZoneChanges) {
    std::unique_ptr<icu::TimeZone> savedZone(icu::TimeZone::createDefault());
    const icu::Locale savedLocale = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    for (const char* locale : {"en_US", "de_DE", "ja_JP@calendar=japanese"}) {
        for (const char* zone : {"America/New_York", "America/Santiago", "Pacific/Apia", "Australia/Lord_Howe", "Asia/Tehran"}) {
            icu::Locale::setDefault(icu::Locale(locale), status);
            icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(zone));
            std::unique_ptr<icu::DateFormat> fresh(icu::DateFormat::createDateInstance(icu::DateFormat::kMedium));
            HistoryDayFormatter cached;
            std::mt19937 random(3);
            // Newest first, in uneven steps from minutes to days, over 2010 to 2026.
            for (double t = Date::fromUnixTime(1790000000.0).secondsSinceReference;
                 t > Date::fromUnixTime(1262304000.0).secondsSinceReference; t -= 60.0 * (1 + random() % 2000)) {
                icu::UnicodeString text;
                std::string expected;
                fresh->format(Date{t}.unixTime() * 1000.0, text).toUTF8String(expected);
                ASSERT_EQ(cached.format(Date{t}), expected) << locale << " " << zone << " " << t;
            }
        }
    }
    icu::Locale::setDefault(savedLocale, status);
    icu::TimeZone::adoptDefault(savedZone.release());
}

}  // namespace
}  // namespace sarvik

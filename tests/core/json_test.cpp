#include "core/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace sarvik {
namespace {

enum class Fruit { apple, pear };
std::optional<Fruit> fruitFromRaw(std::string_view text) {
    if (text == "Apple") return Fruit::apple;
    if (text == "Pear") return Fruit::pear;
    return std::nullopt;
}

struct Record {
    Uuid id;
    std::string title;
    std::optional<Uuid> parent;
    bool flag = false;
    Date when;
    std::int64_t order = 0;
    Fruit fruit = Fruit::apple;
};

Record decodeRecord(const rapidjson::Value& v) {
    json::ObjectReader r(v);
    return {r.uuid("id"), r.string("title"), r.optionalUuid("parent"), r.boolean("flag"),
            r.date("when"), r.integer("order"), r.enumeration("fruit", fruitFromRaw)};
}

std::vector<Record> decodeRecords(std::string_view text) {
    return json::decodeArray<Record>(json::parse(text), decodeRecord);
}

constexpr const char* kId = "0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B";

std::string recordJson(std::string extra = "") {
    return std::string(R"({"id":")") + kId + R"(","title":"T","flag":true,"when":12.5,"order":3,"fruit":"Pear")" +
           extra + "}";
}

TEST(JsonDecodeTest, ReadsRequiredAndOptionalFieldsInAnyKeyOrder) {
    auto records = decodeRecords("[" + recordJson() + R"(,{"fruit":"Apple","order":1,"when":0,"flag":false,"parent":")" +
                                 kId + R"(","title":"","id":")" + kId + R"("}])");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].id.toString(), kId);
    EXPECT_FALSE(records[0].parent);
    EXPECT_EQ(records[0].when.secondsSinceReference, 12.5);
    EXPECT_EQ(records[0].fruit, Fruit::pear);
    ASSERT_TRUE(records[1].parent);
    EXPECT_EQ(records[1].order, 1);
}

TEST(JsonDecodeTest, AcceptsTheOtherEncodersStyle) {
    // Escaped slashes, whole doubles for integers, lower-case UUIDs, unknown keys and null optionals.
    auto records = decodeRecords(R"([{"id":"0f8e1a2b-3c4d-4e5f-8a9b-0c1d2e3f4a5b","title":"a\/b","flag":true,)"
                                 R"("when":7.0e2,"order":2.0,"fruit":"Pear","extra":{"x":[1]},"parent":null}])");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].title, "a/b");
    EXPECT_EQ(records[0].order, 2);
    EXPECT_EQ(records[0].when.secondsSinceReference, 700.0);
    EXPECT_EQ(records[0].id.toString(), kId);
}

TEST(JsonDecodeTest, RejectsTheWholeInputForAnyBadRecord) {
    const std::string bad[] = {
        "[" + recordJson() + R"(,{"id":")" + kId + R"("}])",               // missing keys
        R"([{"id":")" + std::string(kId) + R"(","title":5,"flag":true,"when":1,"order":1,"fruit":"Pear"}])",
        R"([{"id":"nope","title":"T","flag":true,"when":1,"order":1,"fruit":"Pear"}])",
        R"([{"id":")" + std::string(kId) + R"(","title":"T","flag":1,"when":1,"order":1,"fruit":"Pear"}])",
        R"([{"id":")" + std::string(kId) + R"(","title":"T","flag":true,"when":"1","order":1,"fruit":"Pear"}])",
        R"([{"id":")" + std::string(kId) + R"(","title":"T","flag":true,"when":1,"order":1.5,"fruit":"Pear"}])",
        R"([{"id":")" + std::string(kId) + R"(","title":"T","flag":true,"when":1,"order":1e30,"fruit":"Pear"}])",
        R"([{"id":")" + std::string(kId) + R"(","title":"T","flag":true,"when":1,"order":1,"fruit":"pear"}])",
        "[" + recordJson(),                                                // truncated
        "{}",                                                              // not an array
        "",
        "[\"\xFF\"]",                                                      // not UTF-8
    };
    for (const auto& text : bad) EXPECT_THROW(decodeRecords(text), json::DecodeError) << text;
}

TEST(JsonWriterTest, WritesCompactTextWithAbsentOptionalsLeftOut) {
    json::Writer w;
    const Uuid id = *Uuid::parse(kId);
    w.beginArray().beginObject();
    w.field("id", id).field("title", std::string("a/\"b\"\n")).field("parent", std::optional<Uuid>{});
    w.field("when", Date{1.5}).field("order", std::int64_t{-4}).field("flag", false);
    w.field("number", 1.0).endObject().endArray();
    EXPECT_EQ(w.finish().value(),
              std::string(R"([{"id":")") + kId + R"(","title":"a/\"b\"\n","when":1.5,"order":-4,"flag":false,"number":1.0}])");
}

TEST(JsonWriterTest, RoundTripsDoublesExactly) {
    const double values[] = {0.1, 1.0 / 3.0, 786297600.123456789, -0.0, 1e300, 5e-324};
    for (double v : values) {
        json::Writer w;
        w.beginArray().value(v).endArray();
        const auto doc = json::parse(*w.finish());
        EXPECT_EQ(doc[0].GetDouble(), v);
    }
}

TEST(JsonWriterTest, NonFiniteNumbersFailTheOutput) {
    json::Writer w;
    w.beginArray().value(std::numeric_limits<double>::infinity()).endArray();
    EXPECT_FALSE(w.ok());
    EXPECT_FALSE(w.finish());
    json::Writer incomplete;
    incomplete.beginArray();
    EXPECT_FALSE(incomplete.finish());
}

TEST(UuidTest, RandomIdsAreVersionFourAndPrintUpperCase) {
    const Uuid a = Uuid::random();
    const std::string text = a.toString();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
    EXPECT_EQ(Uuid::parse(text), a);
    EXPECT_NE(Uuid::random(), a);
    EXPECT_FALSE(Uuid::parse("0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5"));
    EXPECT_FALSE(Uuid::parse("0F8E1A2B03C4D-4E5F-8A9B-0C1D2E3F4A5B"));
    EXPECT_FALSE(Uuid::parse("0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5G"));
}

TEST(DateTest, CountsFromTheStartOf2001) {
    EXPECT_EQ(Date::fromUnixTime(978307200.0).secondsSinceReference, 0.0);
    EXPECT_EQ(Date{86400}.unixTime(), 978393600.0);
    const Date now = SystemClock::instance().now();
    EXPECT_GT(now.secondsSinceReference, 7.8e8);  // after 2025
}

}  // namespace
}  // namespace sarvik

namespace sarvik {
namespace {

// Found by fuzzing the favorites loader: a zero mantissa with a large exponent
// takes the parser's full-precision path through a leading-zero count of zero.
TEST(JsonParseTest, ZeroMantissasWithAnyExponentAreZero) {
    const auto document = json::parse("[-0e300,0e300,0.000e-400,0E+308,0e0]");
    ASSERT_TRUE(document.IsArray());
    for (const auto& value : document.GetArray()) {
        ASSERT_TRUE(value.IsNumber());
        EXPECT_EQ(value.GetDouble(), 0.0);
    }
    EXPECT_TRUE(std::signbit(document[0].GetDouble()));
}

TEST(JsonParseTest, NumbersKeepTheirKindAndExactValue) {
    EXPECT_EQ(json::numberFromText("-9223372036854775808"), json::Number(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(json::numberFromText("18446744073709551615"), json::Number(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_EQ(json::numberFromText("-9223372036854775809"), json::Number(-9223372036854775808.0));
    EXPECT_EQ(json::numberFromText("0.1"), json::Number(0.1));
    EXPECT_EQ(json::numberFromText("2.2250738585072011e-308"), json::Number(2.2250738585072011e-308));
    EXPECT_EQ(json::numberFromText("1e-400"), json::Number(0.0));
    EXPECT_EQ(json::numberFromText("1e400"), std::nullopt);
    EXPECT_THROW(json::parse("[1e400]"), json::DecodeError);
}

// Iterative parsing: nesting far deeper than any file holds costs no stack.
TEST(JsonParseTest, DeepNestingIsRejectedOrParsedWithoutExhaustingTheStack) {
    const std::size_t depth = 1'000'000;
    EXPECT_TRUE(json::parse(std::string(depth, '[') + std::string(depth, ']')).IsArray());
    EXPECT_THROW(json::parse(std::string(depth, '[')), json::DecodeError);
    std::string objects;
    for (std::size_t i = 0; i < depth / 10; ++i) objects += "{\"a\":";
    EXPECT_TRUE(json::parse(objects + "1" + std::string(depth / 10, '}')).IsObject());
}

// Found by fuzzing: a low surrogate escape with no high one ahead of it is no
// character; its bytes read as U+FFFD, so what was read can be written and read back.
TEST(JsonParseTest, LoneSurrogateEscapesReadAsReplacementCharacters) {
    const std::string lost = "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD";
    const struct {
        const char* json;
        std::string key;
        std::string value;
    } cases[] = {
        {R"({"t\uDDDD":"a\uDDDDb"})", "t" + lost, "a" + lost + "b"},
        {R"({"k":"\uDC00\uDFFF"})", "k", lost + lost},
        {R"({"k":"\uD83D\uDE00 \uD7FF \uE000"})", "k", "\xF0\x9F\x98\x80 \xED\x9F\xBF \xEE\x80\x80"},
    };
    for (const auto& c : cases) {
        const auto document = json::parse(c.json);
        const auto& member = *document.MemberBegin();
        EXPECT_EQ(std::string(member.name.GetString(), member.name.GetStringLength()), c.key) << c.json;
        EXPECT_EQ(std::string(member.value.GetString(), member.value.GetStringLength()), c.value) << c.json;
    }
}

}  // namespace
}  // namespace sarvik

#include "stores/browser_data_json.h"

#include "core/json.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace sarvik {
namespace {

using namespace sarvik::testing;

// The general document reader, as the other files are read: the streaming
// history reader must agree with it on every input.
std::vector<HistoryItem> decodeWithDocument(std::string_view text) {
    return json::decodeArray<HistoryItem>(json::parse(text), [](const rapidjson::Value& v) {
        const json::ObjectReader r(v);
        return HistoryItem{r.uuid("id"), r.string("title"), r.string("url"), r.date("visitedAt"), r.integer("visitCount")};
    });
}

std::optional<std::vector<HistoryItem>> tryDecode(std::string_view text) {
    try {
        return json::decodeHistory(std::string(text));
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

std::string item(const std::string& fields) { return std::string(R"({"id":")") + kOtherId + "\"," + fields + "}"; }

TEST(HistoryJsonTest, ReadsTheOtherPlatformsEncoderStyle) {
    // Escaped slashes, shuffled keys, integers written as whole doubles, dates without a fraction,
    // lower-case identifiers, unknown keys of every shape and whitespace.
    const std::string text = R"( [ {"visitCount" : 3.0, "url":"https:\/\/example.com\/a?b=c","extra":{"k":[1,{"x":null}]},)"
                             R"("visitedAt":786000000,"title":"A \"quoted\" \u00e9t\u00E9 \ud83d\ude00","list":[[]],)"
                             R"("id":"0f8e1a2b-3c4d-4e5f-8a9b-0c1d2e3f4a5b","flag":true,"n":null},)"
                             R"({"id":"0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B","title":"","url":"","visitedAt":-1.5e2,"visitCount":1} ] )";
    const auto items = json::decodeHistory(text);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], (HistoryItem{*Uuid::parse(kOtherId), "A \"quoted\" été 😀", "https://example.com/a?b=c",
                                     Date{786000000.0}, 3}));
    EXPECT_EQ(items[1].visitedAt, Date{-150.0});
    EXPECT_EQ(items, decodeWithDocument(text));
    EXPECT_TRUE(json::decodeHistory("[]").empty());
}

TEST(HistoryJsonTest, RejectsTheWholeFileForAnyBadRecord) {
    const std::string good = item(R"("title":"T","url":"u","visitedAt":1,"visitCount":1)");
    const std::string bad[] = {
        item(R"("title":"T","url":"u","visitedAt":1)"),                      // missing key
        item(R"("title":"T","url":"u","visitedAt":1,"visitCount":1.5)"),     // fraction
        item(R"("title":"T","url":"u","visitedAt":1,"visitCount":1e30)"),    // out of range
        item(R"("title":"T","url":"u","visitedAt":1,"visitCount":18446744073709551615)"),
        item(R"("title":"T","url":"u","visitedAt":"1","visitCount":1)"),
        item(R"("title":null,"url":"u","visitedAt":1,"visitCount":1)"),
        item(R"("title":["T"],"url":"u","visitedAt":1,"visitCount":1)"),
        item(R"("title":"T","url":{},"visitedAt":1,"visitCount":1)"),
        item(R"("title":"T","url":"u","visitedAt":true,"visitCount":1)"),
        R"({"id":"nope","title":"T","url":"u","visitedAt":1,"visitCount":1})",
        R"({"id":5,"title":"T","url":"u","visitedAt":1,"visitCount":1})",
        "[]",
        "\"text\"",
    };
    ASSERT_TRUE(tryDecode("[" + good + "]"));
    for (const auto& record : bad) {
        SCOPED_TRACE(record);
        EXPECT_FALSE(tryDecode("[" + good + "," + record + "]"));
        EXPECT_THROW(decodeWithDocument("[" + good + "," + record + "]"), json::DecodeError);
    }
    const std::string broken[] = {"", "{}", "5", "[" + good, "[" + good + "]]", "[" + good + "] x", "[" + good + ",]",
                                  "[\"\xFF\"]"};
    for (const auto& text : broken) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tryDecode(text));
    }
    std::string afterNul = "[" + good + "]";
    afterNul += '\0';
    EXPECT_FALSE(tryDecode(afterNul + " []"));  // nothing may follow the array, not even behind a NUL
    EXPECT_FALSE(tryDecode("[" + item("\"title\":\"\xC3\",\"url\":\"u\",\"visitedAt\":1,\"visitCount\":1") + "]"));
}

TEST(HistoryJsonTest, WritesCompactTextWithTheFieldNamesAsKeys) {
    const std::vector<HistoryItem> items = {
        {*Uuid::parse(kOtherId), "Tab\t\"q\" \\ /\x01 é", "https://a.example/x", Date{786000000.125}, 2},
        {*Uuid::parse(kFolderId), "", "", Date{1.0}, 1},
    };
    EXPECT_EQ(*json::encodeHistory(items),
              std::string(R"([{"id":")") + kOtherId +
                  R"(","title":"Tab\t\"q\" \\ /\u0001 é","url":"https://a.example/x","visitedAt":786000000.125,"visitCount":2},)"
                  R"({"id":")" + kFolderId + R"(","title":"","url":"","visitedAt":1.0,"visitCount":1}])");
    EXPECT_EQ(*json::encodeHistory({}), "[]");
    EXPECT_FALSE(json::encodeHistory({{Uuid{}, "", "", Date{std::numeric_limits<double>::infinity()}, 1}}));
}

TEST(HistoryJsonTest, WritesWhatTheGeneralWriterWritesAndReadsItBackExactly) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> dates(-1e9, 1e10);
    std::vector<HistoryItem> items;
    for (int i = 0; i < 500; ++i) {
        std::string title;
        for (int c = 0; c < 12; ++c) title += static_cast<char>(random() % 128);
        items.push_back({Uuid::random(), title, "https://x.example/" + std::to_string(random()),
                         Date{i % 3 == 0 ? std::trunc(dates(random)) : dates(random)},
                         static_cast<std::int64_t>(random() % 1000)});
    }
    items.push_back({Uuid::random(), "edge", "", Date{1e21}, std::numeric_limits<std::int64_t>::max()});
    items.push_back({Uuid::random(), "edge", "", Date{5e-324}, std::numeric_limits<std::int64_t>::min()});
    json::Writer writer;
    writer.beginArray();
    for (const auto& h : items)
        writer.beginObject().field("id", h.id).field("title", h.title).field("url", h.url)
            .field("visitedAt", h.visitedAt).field("visitCount", h.visitCount).endObject();
    writer.endArray();
    const auto text = json::encodeHistory(items);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, *writer.finish());
    EXPECT_EQ(json::decodeHistory(*text), items);
}

TEST(BookmarksJsonTest, ReadsTheOtherStyleAndWritesTheFieldNamesAsKeys) {
    const std::string text = std::string(R"([{"sortOrder":2.0,"createdAt":786000000,"isFolder":false,"parentFolderId":")") +
                             kFolderId + R"(","url":"https:\/\/www.example.com","title":"E","id":")" + kOtherId +
                             R"(","unknown":[1]},{"id":")" + kFolderId +
                             R"(","title":"F","url":"","isFolder":true,"createdAt":0.5,"sortOrder":0,"parentFolderId":null}])";
    const auto bookmarks = json::decodeBookmarks(text);
    ASSERT_EQ(bookmarks.size(), 2u);
    EXPECT_EQ(bookmarks[0], (Bookmark{*Uuid::parse(kOtherId), "E", "https://www.example.com", *Uuid::parse(kFolderId),
                                      false, Date{786000000.0}, 2}));
    EXPECT_FALSE(bookmarks[1].parentFolderId);
    EXPECT_EQ(*json::encodeBookmarks(bookmarks),
              std::string(R"([{"id":")") + kOtherId + R"(","title":"E","url":"https://www.example.com","parentFolderId":")" +
                  kFolderId + R"(","isFolder":false,"createdAt":786000000.0,"sortOrder":2},{"id":")" + kFolderId +
                  R"(","title":"F","url":"","isFolder":true,"createdAt":0.5,"sortOrder":0}])");
}

TEST(BrowserDataJsonTest, EscapedLoneSurrogatesLoadAsReplacementCharacters) {
    const auto history = json::decodeHistory("[" + item(R"("title":"a\udc00b","url":"u","visitedAt":1,"visitCount":1)") + "]");
    EXPECT_EQ(history.at(0).title, "a\uFFFD\uFFFD\uFFFDb");
    EXPECT_EQ(json::decodeHistory(*json::encodeHistory(history)), history);
    const auto bookmarks = json::decodeBookmarks(
        "[" + item(R"("title":"a\udc00b","url":"","isFolder":true,"createdAt":0,"sortOrder":0)") + "]");
    EXPECT_EQ(bookmarks.at(0).title, "a\uFFFD\uFFFD\uFFFDb");
    EXPECT_EQ(json::decodeBookmarks(*json::encodeBookmarks(bookmarks)), bookmarks);
}

TEST(BookmarksJsonTest, RejectsMissingOrMistypedKeys) {
    const std::string fields[] = {R"("title":"T","url":"","isFolder":true,"createdAt":0)",
                                  R"("title":"T","url":"","isFolder":1,"createdAt":0,"sortOrder":0)",
                                  R"("title":"T","url":"","isFolder":true,"createdAt":0,"sortOrder":0,"parentFolderId":"x")"};
    for (const auto& f : fields) EXPECT_THROW(json::decodeBookmarks("[" + item(f) + "]"), json::DecodeError) << f;
}

}  // namespace
}  // namespace sarvik

namespace sarvik {
namespace {

// Found by fuzzing: an edited file's "0e300" is zero, not a garbage date.
TEST(HistoryFileTest, ZeroMantissaWithAHugeExponentIsZero) {
    const auto history = json::decodeHistory(
        R"([{"id":"6A1D2E3F-4B5C-4D6E-8F70-8192A3B4C5D6","title":"t","url":"u","visitedAt":-0e300,"visitCount":1e0}])");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].visitedAt.secondsSinceReference, 0.0);
    EXPECT_EQ(history[0].visitCount, 1);
}

}  // namespace
}  // namespace sarvik

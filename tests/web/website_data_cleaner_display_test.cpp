#include "web/website_data_cleaner.h"

#include "support/display/ui_driver.h"
#include "support/loopback_http_server.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <optional>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

constexpr const char* kCookie = "sarvik_probe=crumb";

// Runs a clearing to its end; what it reported, or nothing if it never finished.
std::optional<bool> clearAndWait(WebsiteDataKind kind) {
    std::optional<bool> result;
    clearWebsiteData(kind, [&](bool succeeded) { result = succeeded; });
    runMainLoopUntil([&] { return result.has_value(); });
    return result;
}

// Whether the default session holds a disk cache entry for 127.0.0.1 right now.
bool engineCachesLoopback() {
    auto* manager = webkit_network_session_get_website_data_manager(webkit_network_session_get_default());
    struct Fetch {
        bool done = false, found = false;
    } fetch;
    webkit_website_data_manager_fetch(
        manager, WEBKIT_WEBSITE_DATA_DISK_CACHE, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* state = static_cast<Fetch*>(data);
            GList* records = webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, nullptr);
            for (GList* item = records; item; item = item->next)
                state->found |= g_strcmp0(webkit_website_data_get_name(static_cast<WebKitWebsiteData*>(item->data)),
                                          "127.0.0.1") == 0;
            g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
            state->done = true;
        },
        &fetch);
    runMainLoopUntil([&] { return fetch.done; });
    return fetch.found;
}

class WebsiteDataCleanerTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.respond("/set", {200, "text/html", {{"Set-Cookie", std::string(kCookie) + "; Path=/"}}, "<p>set</p>"});
        server.respond("/check", {200, "text/html", {}, "<p>check</p>"});
        server.respond("/cached", {200, "text/html", {{"Cache-Control", "max-age=3600"}}, "<p>cached</p>"});
        server.respond("/other", {200, "text/html", {}, "<p>other</p>"});
    }
    // The Cookie header of a fresh request to /check.
    std::string cookieSentNow() {
        EXPECT_TRUE(view.load(server.url("/check")));
        const auto checks = server.requestsFor("/check");
        return checks.empty() ? std::string("<no request>") : checks.back().header("cookie");
    }
    // Loads /cached after another page; how often the server has been asked for it.
    std::size_t loadCachedPage() {
        EXPECT_TRUE(view.load(server.url("/other")));
        EXPECT_TRUE(view.load(server.url("/cached")));
        return server.requestsFor("/cached").size();
    }
    // The engine writes its disk cache a moment after a load; a clearing started
    // before that cannot see the entry, so the test waits for it as a user would.
    bool cached() { return runMainLoopUntil(engineCachesLoopback, std::chrono::seconds(10)); }
    testing::LoopbackHttpServer server;
    testing::LoopbackWebView view;
};

TEST_F(WebsiteDataCleanerTest, EachKindClearsItsOwnDataAndLeavesTheOther) {
    ASSERT_EQ(clearAndWait(WebsiteDataKind::all), true) << "from an engine that keeps nothing from earlier runs";
    EXPECT_EQ(clearAndWait(WebsiteDataKind::cookies), true) << "with nothing stored";
    EXPECT_EQ(clearAndWait(WebsiteDataKind::cache), true);
    ASSERT_TRUE(view.load(server.url("/set")));
    ASSERT_EQ(cookieSentNow(), kCookie);
    ASSERT_EQ(loadCachedPage(), 1u);
    ASSERT_EQ(loadCachedPage(), 1u) << "the engine should answer a fresh page from its cache";
    ASSERT_TRUE(cached());
    ASSERT_EQ(clearAndWait(WebsiteDataKind::cookies), true);
    EXPECT_EQ(cookieSentNow(), "");
    EXPECT_EQ(loadCachedPage(), 1u) << "clearing cookies keeps the cache";
    ASSERT_TRUE(view.load(server.url("/set")));
    ASSERT_EQ(clearAndWait(WebsiteDataKind::cache), true);
    EXPECT_FALSE(engineCachesLoopback());
    EXPECT_EQ(loadCachedPage(), 2u);
    EXPECT_EQ(cookieSentNow(), kCookie) << "clearing the cache keeps cookies";
    ASSERT_TRUE(cached());
    ASSERT_EQ(clearAndWait(WebsiteDataKind::all), true);
    EXPECT_EQ(cookieSentNow(), "");
    EXPECT_EQ(loadCachedPage(), 3u);
    // Without a completion: a later clearing queued behind it shows when the engine is through.
    ASSERT_TRUE(view.load(server.url("/set")));
    clearWebsiteData(WebsiteDataKind::cookies);
    ASSERT_EQ(clearAndWait(WebsiteDataKind::cache), true);
    EXPECT_EQ(cookieSentNow(), "");
}

}  // namespace
}  // namespace sarvik

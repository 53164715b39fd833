#include "web/website_data_cleaner.h"

#include "support/display/gtk_test_environment.h"
#include "support/display/loopback_web_view.h"
#include "support/loopback_http_server.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <chrono>
#include <optional>

namespace sarvik {
namespace {

using testing::LoopbackWebView;
using testing::HttpResponse;
using testing::LoopbackHttpServer;
using testing::runMainLoopUntil;

constexpr const char* kCookie = "sarvik_probe=crumb";

// Runs a clearing to its end; returns what it reported, or nothing if it never finished.
std::optional<bool> clearAndWait(WebsiteDataKind kind) {
    std::optional<bool> result;
    clearWebsiteData(kind, [&](bool succeeded) { result = succeeded; });
    runMainLoopUntil([&] { return result.has_value(); });
    return result;
}

// Whether the default session holds data of these types for 127.0.0.1 right now.
bool engineHoldsLoopbackData(WebKitWebsiteDataTypes types) {
    auto* manager = webkit_network_session_get_website_data_manager(webkit_network_session_get_default());
    struct Fetch {
        bool done = false;
        bool found = false;
        WebKitWebsiteDataTypes types;
    } fetch{false, false, types};
    webkit_website_data_manager_fetch(
        manager, types, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* state = static_cast<Fetch*>(data);
            GList* records = webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, nullptr);
            for (GList* item = records; item; item = item->next) {
                auto* record = static_cast<WebKitWebsiteData*>(item->data);
                if (g_strcmp0(webkit_website_data_get_name(record), "127.0.0.1") == 0 &&
                    (webkit_website_data_get_types(record) & state->types) == state->types)
                    state->found = true;
            }
            g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
            state->done = true;
        },
        &fetch);
    runMainLoopUntil([&] { return fetch.done; });
    return fetch.found;
}

// The engine writes its disk cache a moment after a load; a clearing started
// before that cannot see the entry, so tests wait for it as a user would.
bool waitForDiskCacheEntry() {
    return runMainLoopUntil([] { return engineHoldsLoopbackData(WEBKIT_WEBSITE_DATA_DISK_CACHE); },
                            std::chrono::seconds(10));
}

class WebsiteDataCleanerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_server.respond("/set", {200, "text/html", {{"Set-Cookie", std::string(kCookie) + "; Path=/"}}, "<p>set</p>"});
        m_server.respond("/check", {200, "text/html", {{"Cache-Control", "no-store"}}, "<p>check</p>"});
        m_server.respond("/cached", {200, "text/html", {{"Cache-Control", "max-age=3600"}}, "<p>cached</p>"});
        m_server.respond("/other", {200, "text/html", {{"Cache-Control", "no-store"}}, "<p>other</p>"});
        // Each test starts from an engine that keeps nothing from earlier runs.
        ASSERT_EQ(clearAndWait(WebsiteDataKind::all), true);
    }

    // The Cookie header of a fresh request to /check.
    std::string cookieSentNow() {
        EXPECT_TRUE(m_view.load(m_server.url("/check")));
        const auto checks = m_server.requestsFor("/check");
        return checks.empty() ? std::string("<no request>") : checks.back().header("cookie");
    }

    // Loads /cached after another page; returns how often the server has been asked for it.
    std::size_t loadCachedPage() {
        EXPECT_TRUE(m_view.load(m_server.url("/other")));
        EXPECT_TRUE(m_view.load(m_server.url("/cached")));
        return m_server.requestsFor("/cached").size();
    }

    LoopbackHttpServer m_server;
    LoopbackWebView m_view;
};

TEST_F(WebsiteDataCleanerTest, ClearingCookiesMeansTheNextRequestCarriesNone) {
    ASSERT_TRUE(m_view.load(m_server.url("/set")));
    ASSERT_EQ(cookieSentNow(), kCookie);

    ASSERT_EQ(clearAndWait(WebsiteDataKind::cookies), true);
    EXPECT_EQ(cookieSentNow(), "");
}

TEST_F(WebsiteDataCleanerTest, ClearingCookiesKeepsTheCache) {
    ASSERT_EQ(loadCachedPage(), 1u);
    ASSERT_EQ(loadCachedPage(), 1u) << "the engine should answer a fresh page from its cache";
    ASSERT_TRUE(waitForDiskCacheEntry());

    ASSERT_EQ(clearAndWait(WebsiteDataKind::cookies), true);
    EXPECT_EQ(loadCachedPage(), 1u);
}

TEST_F(WebsiteDataCleanerTest, ClearingTheCacheMakesTheEngineAskAgainButKeepsCookies) {
    ASSERT_TRUE(m_view.load(m_server.url("/set")));
    ASSERT_EQ(loadCachedPage(), 1u);
    ASSERT_EQ(loadCachedPage(), 1u);
    ASSERT_TRUE(waitForDiskCacheEntry());

    ASSERT_EQ(clearAndWait(WebsiteDataKind::cache), true);
    EXPECT_FALSE(engineHoldsLoopbackData(WEBKIT_WEBSITE_DATA_DISK_CACHE));
    EXPECT_EQ(loadCachedPage(), 2u);
    EXPECT_EQ(cookieSentNow(), kCookie);
}

TEST_F(WebsiteDataCleanerTest, ClearingEverythingRemovesCookiesAndCache) {
    ASSERT_TRUE(m_view.load(m_server.url("/set")));
    ASSERT_EQ(loadCachedPage(), 1u);
    ASSERT_TRUE(waitForDiskCacheEntry());

    ASSERT_EQ(clearAndWait(WebsiteDataKind::all), true);
    EXPECT_EQ(cookieSentNow(), "");
    EXPECT_EQ(loadCachedPage(), 2u);
}

TEST_F(WebsiteDataCleanerTest, ClearingWithNothingStoredStillFinishes) {
    EXPECT_EQ(clearAndWait(WebsiteDataKind::cookies), true);
    EXPECT_EQ(clearAndWait(WebsiteDataKind::cache), true);
}

TEST_F(WebsiteDataCleanerTest, ClearingWithoutACompletionIsAllowed) {
    ASSERT_TRUE(m_view.load(m_server.url("/set")));
    clearWebsiteData(WebsiteDataKind::cookies);
    // Nothing reports the end; a later clearing queued behind it shows when the engine is through.
    ASSERT_EQ(clearAndWait(WebsiteDataKind::cache), true);
    EXPECT_EQ(cookieSentNow(), "");
}

}  // namespace
}  // namespace sarvik

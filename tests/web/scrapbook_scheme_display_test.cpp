#include "core/saved_page_address.h"
#include "web/saved_page_guard.h"
#include "web/scrapbook_scheme.h"
#include "web/web_page_archiver.h"

#include "support/display/ui_driver.h"
#include "support/loopback_http_server.h"

#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <memory>

namespace sarvik {
namespace {

using testing::evaluateInPage;
using testing::runMainLoopUntil;

struct ArchiveResult {
    bool done = false;
    std::optional<std::string> bytes;
    std::string error;
};

ArchiveResult archive(WebKitWebView* view) {
    auto result = std::make_shared<ArchiveResult>();
    WebPageArchiver(view).createArchive([result](std::optional<std::string> bytes, std::string error) {
        *result = {true, std::move(bytes), std::move(error)};
    });  // the archiver goes before the engine answers
    runMainLoopUntil([&] { return result->done; });
    return *result;
}

TEST(ScrapbookSchemeTest, AcceptsOnlyOneUuidAndKeepsOnlyTheNewestArchives) {
    const Uuid id = Uuid::random();
    EXPECT_EQ(savedPageId(savedPageAddress(id)), id);
    EXPECT_EQ(savedPageId("scrapbook://" + id.toString()), id);
    for (const std::string& bad : {std::string("scrapbook://../../etc/passwd"), "scrapbook://" + id.toString() + "/x",
                                   "scrapbook://" + id.toString() + "//", "file:///" + id.toString(),
                                   "scrapbook://" + id.toString().substr(1) + "0/",
                                   "scrapbook://%2e%2e/" + id.toString(), std::string("scrapbook://")})
        EXPECT_FALSE(savedPageId(bad)) << bad;
    auto& scheme = ScrapbookScheme::shared();
    const auto kept = [&](const Uuid& page) { return scheme.find(page) ? scheme.find(page)->archive : ""; };
    scheme.publish(id, {"first", ""});
    for (std::size_t i = 0; i < ScrapbookScheme::kKeptArchives - 1; ++i) scheme.publish(Uuid::random(), {"more", ""});
    EXPECT_EQ(kept(id), "first");
    scheme.publish(id, {"again", ""});  // publishing again keeps one copy
    EXPECT_EQ(kept(id), "again");
    scheme.publish(Uuid::random(), {"one too many", ""});
    EXPECT_EQ(kept(id), "");
}

// Its stylesheet lies in another folder and imports one beside it, which imports another.
TEST(ScrapbookSchemeDisplayTest, ASavedPageShowsOfflineWithItsImageAndStyleUnderItsOwnOrigin) {
    auto* closed = WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr)));
    const auto failed = archive(closed);
    g_object_unref(closed);
    EXPECT_TRUE(failed.done && !failed.bytes && !failed.error.empty()) << "archiving a closed view";
    const char* styles = "getComputedStyle(document.getElementById('pic')).borderLeftColor + ' ' + "
                         "getComputedStyle(document.getElementById('text')).borderTopColor";
    testing::LoopbackWebView view;
    std::optional<std::string> bytes;
    {
        testing::LoopbackHttpServer server;
        server.serve("/docs/page", "<!doctype html><title>Kept page</title><link rel=stylesheet href='../static/style.css'>"
                                   "<p id=text>Words worth keeping</p><img id=pic src='/pic.png'>");
        server.serve("/static/style.css", "@import url('imported.css'); #text { color: rgb(1, 2, 3); }", "text/css");
        server.serve("/static/imported.css", "@import 'deeper/last.css'; #pic { border-left: 3px solid rgb(4, 5, 6); }",
                     "text/css");
        server.serve("/static/deeper/last.css", "#text { border-top: 2px solid rgb(7, 8, 9); }", "text/css");
        server.serve("/pic.png", testing::pngImage(37, 21), "image/png");
        ASSERT_TRUE(view.load(server.url("/docs/page")));
        ASSERT_TRUE(runMainLoopUntil([&] {
            return evaluateInPage(view.webView(), "document.getElementById('pic').naturalWidth") == "37" &&
                   evaluateInPage(view.webView(), styles) == "rgb(4, 5, 6) rgb(7, 8, 9)";
        }));
        const auto result = archive(view.webView());
        ASSERT_TRUE(result.bytes) << result.error;
        bytes = result.bytes;
        EXPECT_NE(bytes->find("multipart/related"), std::string::npos);
    }  // the server is gone from here on
    const Url address = ScrapbookScheme::shared().publish(Uuid::random(), {*bytes, ""});
    ASSERT_TRUE(view.load(address.absoluteString()));
    EXPECT_EQ(evaluateInPage(view.webView(), "document.getElementById('text').textContent"), "Words worth keeping");
    EXPECT_EQ(evaluateInPage(view.webView(), "document.getElementById('pic').naturalWidth"), "37");
    EXPECT_EQ(evaluateInPage(view.webView(), "getComputedStyle(document.getElementById('text')).color"), "rgb(1, 2, 3)");
    EXPECT_EQ(evaluateInPage(view.webView(), styles), "rgb(4, 5, 6) rgb(7, 8, 9)");
    EXPECT_EQ(std::string(webkit_web_view_get_uri(view.webView())), address.absoluteString());
    const auto origin = evaluateInPage(view.webView(), "location.origin + ' ' + document.domain");
    ASSERT_TRUE(origin);
    EXPECT_EQ(origin->find("127.0.0.1"), std::string::npos) << "never the live site's origin: " << *origin;
}

// An archive made by hand, as a hostile page could be: a script (inline and external),
// an automatic refresh to elsewhere, a form, an image outside the archive with an error
// handler, and one image that the archive does hold.
TEST(ScrapbookSchemeDisplayTest, ASavedPageRunsNothingGoesNowhereAndAsksTheServerForNothing) {
    testing::LoopbackHttpServer server;
    const char* paths[] = {"/away", "/fetch", "/script-beacon", "/script.js", "/submit", "/beacon.png", "/kept.png"};
    for (const char* path : paths) server.serve(path, "<title>reached</title>");
    server.serve("/script.js", "document.title='external script ran'", "text/javascript");
    const std::string base = server.url("");
    const std::string page =
        "<!doctype html><html><head><title>Inert</title><meta http-equiv='refresh' content='0;url=" + base + "/away'>"
        "<script>document.title='script ran';fetch('" + base + "/fetch');new Image().src='" + base +
        "/script-beacon';</script><script src='" + base + "/script.js'></script></head><body><p id=text>Still here</p>"
        "<form id=form action='" + base + "/submit'><input name=a value=b></form><img id=outside src='" + base +
        "/beacon.png' onerror=\"document.title='handler ran'\"><img id=kept src='" + base + "/kept.png'></body></html>";
    const std::string png = testing::pngImage(23, 9);
    gchar* image = g_base64_encode(reinterpret_cast<const guchar*>(png.data()), png.size());
    const std::string archived =
        "MIME-Version: 1.0\r\nContent-Type: multipart/related; type=\"text/html\"; boundary=\"B\"\r\n\r\n--B\r\n"
        "Content-Type: text/html\r\nContent-Transfer-Encoding: binary\r\nContent-Location: " + base + "/page\r\n\r\n" +
        page + "\r\n--B\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\nContent-Location: " + base +
        "/kept.png\r\n\r\n" + image + "\r\n--B--\r\n";
    g_free(image);
    testing::LoopbackWebView view;
    const Url address = ScrapbookScheme::shared().publish(Uuid::random(), {archived, ""});
    guardSavedPages(view.webView());
    view.load(address.absoluteString());  // stopped, not finished: the outside image never arrives
    EXPECT_TRUE(runMainLoopUntil([&] { return !webkit_web_view_is_loading(view.webView()); }));
    // Time for a refresh, a script or a request to happen, if any would.
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(1500));
    EXPECT_EQ(std::string(webkit_web_view_get_uri(view.webView())), address.absoluteString());
    EXPECT_STREQ(webkit_web_view_get_title(view.webView()), "Inert");
    EXPECT_EQ(evaluateInPage(view.webView(), "document.getElementById('text').textContent"), "Still here");
    EXPECT_EQ(evaluateInPage(view.webView(), "document.getElementById('kept').naturalWidth"), "23");
    // Submitting the form, even from outside the page, goes nowhere.
    evaluateInPage(view.webView(), "document.getElementById('form').submit(); 'sent'");
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(1000));
    EXPECT_EQ(std::string(webkit_web_view_get_uri(view.webView())), address.absoluteString());
    for (const char* path : paths) EXPECT_EQ(server.requestCount(path), 0) << path;
    EXPECT_EQ(server.requestCount("/submit?a=b"), 0);
}

}  // namespace
}  // namespace sarvik

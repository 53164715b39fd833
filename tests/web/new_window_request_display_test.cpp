#include "web/web_view_host.h"

#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtkmm/window.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

std::string page(const std::string& title, const std::string& body = "") {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

constexpr const char* kFloodScript = "for(let i=0;i<100;i++)window.open('/popup','_blank');";

// Pages that ask for a hundred new windows: on load, or from a click anywhere.
class NewWindowRequestDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/popup", page("Popup"));
        server.serve("/second", page("Second"));
        server.serve("/on-load", page("Flooding", std::string("<script>") + kFloodScript +
                                                      "setTimeout(()=>{document.title='Flooded'},100)</script>"));
        server.serve("/on-click",
                     page("Clicking", std::string("<div style='position:fixed;inset:0' onclick=\"") + kFloodScript +
                                          "\">click</div>"));
        window.set_default_size(640, 480);
    }

    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }

    void show(const std::string& path) {
        state.homePage = server.url(path);
        host = std::make_unique<WebViewHost>(state, store, state.activeTabId);
        window.set_child(*host);
        window.present();
    }

    bool titleBecomes(const std::string& title) {
        return runMainLoopUntil([&] { return state.activeTab()->title == title && !state.activeTab()->isLoading; });
    }

    // A later load of our own: whatever the page had queued has run by the time it shows.
    bool settle() {
        state.navigate(server.url("/second"));
        return titleBecomes("Second");
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    BrowserDataStore store{folder.path()};
    Gtk::Window window;
    std::unique_ptr<WebViewHost> host;
};

TEST_F(NewWindowRequestDisplayTest, AHundredOpensOnLoadOpenNothing) {
    show("/on-load");
    ASSERT_TRUE(titleBecomes("Flooded"));
    testing::drainMainLoop();
    EXPECT_EQ(state.activeTab()->title, "Flooded") << "the page stays";
    ASSERT_TRUE(settle());
    EXPECT_EQ(state.tabs->size(), 1u);
    EXPECT_EQ(server.requestCount("/popup"), 0) << "a window the user did not ask for is not followed";
}

TEST_F(NewWindowRequestDisplayTest, AHundredOpensFromOneClickNavigateOnce) {
    show("/on-click");
    ASSERT_TRUE(titleBecomes("Clicking"));
    ASSERT_EQ(std::system("xdotool mousemove 320 240 click 1"), 0);
    ASSERT_TRUE(titleBecomes("Popup"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(state.tabs->size(), 1u);
    EXPECT_EQ(server.requestCount("/popup"), 1);
}

}  // namespace
}  // namespace sarvik

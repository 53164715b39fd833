#include "web/web_view_host.h"

#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

// A thousand alerts, then a confirm and a prompt; the title tells what the page got.
constexpr const char* kFloodingPage =
    "<!doctype html><html><head><title>Asking</title></head><body><script>"
    "addEventListener('load',()=>setTimeout(()=>{let n=0;"
    "for(let i=0;i<1000;i++){alert('again '+i);n++;}"
    "const c=confirm('Sure?');const p=prompt('Name?','Ann');"
    "document.title='done:'+n+':'+c+':'+p;},0));"
    "</script></body></html>";

class ScriptDialogFloodDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/flood", kFloodingPage);
        state.homePage = server.url("/flood");
        host = std::make_unique<WebViewHost>(state, store, state.activeTabId);
        window.set_child(*host);
        window.set_default_size(400, 300);
        window.present();
    }

    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }

    Gtk::Window* nextPanel() {
        Gtk::Window* panel = nullptr;
        runMainLoopUntil([&] { return (panel = testing::findWindow("javascript-panel")) != nullptr; });
        return panel;
    }

    static Gtk::CheckButton* stopChoice(Gtk::Window& panel) {
        return dynamic_cast<Gtk::CheckButton*>(testing::findDescendant(panel, "javascript-panel-stop"));
    }

    // Clicked at once (activating a button clicks it only after a short press animation).
    static void pressOk(Gtk::Window& panel) {
        auto* button = dynamic_cast<Gtk::Button*>(testing::findDescendant(panel, "javascript-panel-ok"));
        ASSERT_NE(button, nullptr);
        g_signal_emit_by_name(button->gobj(), "clicked");
        ASSERT_FALSE(panel.get_visible());
    }

    // Answers the first two panels plainly and stops the page from the third.
    void answerTwoThenStop() {
        for (int shown = 1; shown <= kStoppingPanel; ++shown) {
            Gtk::Window* panel = nextPanel();
            ASSERT_NE(panel, nullptr) << "panel " << shown;
            Gtk::CheckButton* stop = stopChoice(*panel);
            if (shown < kStoppingPanel) {
                EXPECT_EQ(stop, nullptr) << "no offer on panel " << shown;
            } else {
                ASSERT_NE(stop, nullptr) << "the third panel in a row offers to stop";
                EXPECT_EQ(stop->get_label(), "Prevent this page from creating more dialogs");
                EXPECT_FALSE(stop->get_active());
                stop->set_active(true);
            }
            pressOk(*panel);
        }
    }

    static constexpr int kStoppingPanel = 3;

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    BrowserDataStore store{folder.path()};
    Gtk::Window window;
    std::unique_ptr<WebViewHost> host;
};

TEST_F(ScriptDialogFloodDisplayTest, AStoppedPageGetsItsAnswersAtOnceAndTheWindowKeepsRunning) {
    answerTwoThenStop();
    int ticks = 0;
    auto ticker = Glib::signal_timeout().connect([&] { return ++ticks, true; }, 10);
    const bool finished = runMainLoopUntil([&] { return state.activeTab()->title.rfind("done:", 0) == 0; });
    ticker.disconnect();
    ASSERT_TRUE(finished);
    EXPECT_EQ(state.activeTab()->title, "done:1000:false:null") << "alerts returned, confirm false, prompt none";
    EXPECT_GT(ticks, 0) << "the main loop ran while the page was answered";
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr) << "no panel after stopping";
}

TEST_F(ScriptDialogFloodDisplayTest, AReloadedPageMayAskAgain) {
    answerTwoThenStop();
    ASSERT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title.rfind("done:", 0) == 0; }));
    state.navigationCommand = NavigationCommand::reload();
    Gtk::Window* panel = nextPanel();
    ASSERT_NE(panel, nullptr) << "the reloaded page's first alert is shown";
    EXPECT_EQ(stopChoice(*panel), nullptr);
    pressOk(*panel);
}

}  // namespace
}  // namespace sarvik

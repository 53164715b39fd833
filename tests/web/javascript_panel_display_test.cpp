#include "web/web_view_host.h"

#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace sarvik {
namespace {

using testing::findDescendant;
using testing::runMainLoopUntil;

class JavaScriptPanelDisplayTest : public ::testing::Test {
protected:
    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }

    // The page runs `script` once loaded and shows its answer as the title.
    void open(const std::string& script) {
        server.serve("/ask", "<!doctype html><title>Asking</title><script>addEventListener('load',()=>setTimeout(()=>{" +
                                 script + "},0))</script>");
        state.homePage = server.url("/ask");
        host = std::make_unique<WebViewHost>(state, store, state.activeTabId);
        window.set_child(*host);
        window.set_default_size(400, 300);
        window.present();
    }

    static std::string text(Gtk::Window& panel, const char* name) {
        auto* label = dynamic_cast<Gtk::Label*>(findDescendant(panel, name));
        return label && label->get_visible() && label->get_parent() ? std::string(label->get_text()) : "(none)";
    }

    // The panel showing `shown` as its message or its text (each step asks something new).
    static Gtk::Window* panelShowing(const std::string& shown) {
        Gtk::Window* panel = nullptr;
        runMainLoopUntil([&] {
            panel = testing::findWindow("javascript-panel");
            return panel && (text(*panel, "javascript-panel-informative") == shown ||
                             text(*panel, "javascript-panel-message") == shown);
        });
        return panel;
    }

    static void press(Gtk::Window& panel, const char* name) {
        auto* button = dynamic_cast<Gtk::Button*>(findDescendant(panel, name));
        ASSERT_NE(button, nullptr) << name;
        button->activate();
    }

    bool titleBecomes(const std::string& title) {
        return runMainLoopUntil([&] { return state.activeTab()->title == title; });
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    BrowserDataStore store{folder.path()};
    Gtk::Window window;
    std::unique_ptr<WebViewHost> host;
};

TEST_F(JavaScriptPanelDisplayTest, AlertsConfirmsAndPromptsGetTheAnswersGivenByButtonOrKey) {
    struct Step {
        const char* shown;
        const char* field;   // the prompt's text as offered; none for other panels
        const char* answer;  // a button, a real key, or "=text" typed and OK'd
    };
    const Step steps[] = {{"Hello there", nullptr, "ok"}, {"Sure?", nullptr, "ok"},     {"Really?", nullptr, "cancel"},
                          {"First?", nullptr, "Return"},  {"Second?", nullptr, "Escape"}, {"Third", nullptr, "Escape"},
                          {"Your name?", "Ann", "=Bob"},  {"Nick?", "", "cancel"},       {"Fourth?", "", "Escape"}};
    open("const a=[(alert('Hello there'),'done'),confirm('Sure?'),confirm('Really?'),confirm('First?'),"
         "confirm('Second?'),(alert('Third'),'closed'),prompt('Your name?','Ann'),String(prompt('Nick?')),"
         "String(prompt('Fourth?'))];document.title='answer:'+a.join();");

    Gtk::Window* alert = panelShowing("Hello there");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(text(*alert, "javascript-panel-message"), "JavaScript Alert");
    EXPECT_EQ(text(*alert, "javascript-panel-origin"), "http://127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(findDescendant(*alert, "javascript-panel-cancel"), nullptr) << "OK only";
    EXPECT_TRUE(alert->get_modal());
    for (const auto& [shown, field, answer] : steps) {
        Gtk::Window* panel = panelShowing(shown);
        ASSERT_NE(panel, nullptr) << shown;
        auto* entry = dynamic_cast<Gtk::Entry*>(findDescendant(*panel, "javascript-panel-field"));
        ASSERT_EQ(entry != nullptr, field != nullptr) << shown;
        if (field) { EXPECT_EQ(entry->get_text(), field); }
        if (std::string(shown) == "Sure?") { EXPECT_EQ(text(*panel, "javascript-panel-message"), "Confirm"); }
        const std::string how = answer;
        if (how == "ok" || how == "cancel") {
            press(*panel, ("javascript-panel-" + how).c_str());
        } else if (how[0] == '=') {
            entry->set_text(how.substr(1));
            press(*panel, "javascript-panel-ok");
        } else {
            const std::string keys = "xdotool search --name '^" + panel->get_title() + "$' windowfocus --sync key " + how;
            ASSERT_EQ(std::system(keys.c_str()), 0);
        }
    }
    EXPECT_TRUE(titleBecomes("answer:done,true,false,true,false,closed,Bob,null,null"));
}

TEST_F(JavaScriptPanelDisplayTest, AHostThatGoesWhileAskingAnswersThePageAndClosesThePanel) {
    open("confirm('Sure?')");
    ASSERT_NE(panelShowing("Sure?"), nullptr);
    window.unset_child();
    host.reset();
    testing::drainMainLoop();
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr);
}

// The third panel in a row offers to stop the page; once stopped, its next thousand
// alerts, a confirm and a prompt are answered at once, until it is reloaded.
TEST_F(JavaScriptPanelDisplayTest, AFloodingPageCanBeStoppedUntilItIsReloaded) {
    open("let n=0;for(let i=0;i<1000;i++){alert('again '+i);n++;}"
         "const c=confirm('Sure?');const p=prompt('Name?','Ann');document.title='done:'+n+':'+c+':'+p;");
    for (int shown = 1; shown <= 3; ++shown) {
        Gtk::Window* panel = panelShowing("again " + std::to_string(shown - 1));
        ASSERT_NE(panel, nullptr) << "panel " << shown;
        auto* stop = dynamic_cast<Gtk::CheckButton*>(findDescendant(*panel, "javascript-panel-stop"));
        if (shown < 3) {
            EXPECT_EQ(stop, nullptr) << "no offer on panel " << shown;
        } else {
            ASSERT_NE(stop, nullptr);
            EXPECT_EQ(stop->get_label(), "Prevent this page from creating more dialogs");
            EXPECT_FALSE(stop->get_active());
            stop->set_active(true);
        }
        // Clicked at once (activating a button clicks it only after a short press animation).
        g_signal_emit_by_name(findDescendant(*panel, "javascript-panel-ok")->gobj(), "clicked");
        ASSERT_FALSE(panel->get_visible());
    }
    int ticks = 0;
    auto ticker = Glib::signal_timeout().connect([&] { return ++ticks, true; }, 10);
    const bool finished = runMainLoopUntil([&] { return state.activeTab()->title.rfind("done:", 0) == 0; });
    ticker.disconnect();
    ASSERT_TRUE(finished);
    EXPECT_EQ(state.activeTab()->title, "done:1000:false:null") << "alerts returned, confirm false, prompt none";
    EXPECT_GT(ticks, 0) << "the main loop ran while the page was answered";
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr);

    state.navigationCommand = NavigationCommand::reload();
    Gtk::Window* panel = panelShowing("again 0");
    ASSERT_NE(panel, nullptr) << "the reloaded page may ask again";
    EXPECT_EQ(findDescendant(*panel, "javascript-panel-stop"), nullptr);
    g_signal_emit_by_name(findDescendant(*panel, "javascript-panel-ok")->gobj(), "clicked");
}

}  // namespace
}  // namespace sarvik

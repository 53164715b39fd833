#include "web/web_view_host.h"

#include "support/display/gtk_test_environment.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

// The page asks its question once loaded and shows the answer as its title.
std::string askingPage(const std::string& question) {
    return "<!doctype html><html><head><title>Asking</title></head><body><script>"
           "addEventListener('load',()=>setTimeout(()=>{const a=" + question + ";document.title='answer:'+a;},0));"
           "</script></body></html>";
}

class JavaScriptPanelDisplayTest : public ::testing::Test {
protected:
    void TearDown() override {
        window.unset_child();
        host.reset();
        testing::drainMainLoop();
    }

    // Loads the page and waits for its panel.
    Gtk::Window* open(const std::string& question) {
        server.serve("/ask", askingPage(question));
        state.homePage = server.url("/ask");
        host = std::make_unique<WebViewHost>(state, store, state.activeTabId);
        window.set_child(*host);
        window.set_default_size(400, 300);
        window.present();
        Gtk::Window* panel = nullptr;
        runMainLoopUntil([&] { return (panel = testing::findWindow("javascript-panel")) != nullptr; });
        return panel;
    }

    std::string text(Gtk::Window& panel, const char* name) {
        auto* label = dynamic_cast<Gtk::Label*>(testing::findDescendant(panel, name));
        return label && label->get_visible() && label->get_parent() ? std::string(label->get_text()) : "(none)";
    }

    void press(Gtk::Window& panel, const char* name) {
        auto* button = dynamic_cast<Gtk::Button*>(testing::findDescendant(panel, name));
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

TEST_F(JavaScriptPanelDisplayTest, AnAlertShowsItsMessageAndTheAskingOrigin) {
    Gtk::Window* panel = open("(alert('Hello there'), 'done')");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(text(*panel, "javascript-panel-message"), "JavaScript Alert");
    EXPECT_EQ(text(*panel, "javascript-panel-informative"), "Hello there");
    EXPECT_EQ(text(*panel, "javascript-panel-origin"), "http://127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(testing::findDescendant(*panel, "javascript-panel-cancel"), nullptr) << "OK only";
    EXPECT_TRUE(panel->get_modal());
    press(*panel, "javascript-panel-ok");
    EXPECT_TRUE(titleBecomes("answer:done"));
}

TEST_F(JavaScriptPanelDisplayTest, ConfirmIsTrueOnlyForOK) {
    Gtk::Window* panel = open("[confirm('Sure?'), confirm('Really?')].join()");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(text(*panel, "javascript-panel-message"), "Confirm");
    EXPECT_EQ(text(*panel, "javascript-panel-informative"), "Sure?");
    press(*panel, "javascript-panel-ok");
    ASSERT_TRUE(runMainLoopUntil([&] {
        panel = testing::findWindow("javascript-panel");
        return panel && text(*panel, "javascript-panel-informative") == "Really?";
    }));
    press(*panel, "javascript-panel-cancel");
    EXPECT_TRUE(titleBecomes("answer:true,false"));
}

// Real keys, as a user answers: Return is OK, Escape cancels (and dismisses an alert).
TEST_F(JavaScriptPanelDisplayTest, ReturnAnswersOKAndEscapeCancelsEachPanel) {
    const std::pair<const char*, const char*> steps[] = {
        {"First?", "Return"}, {"Second?", "Escape"}, {"Third", "Escape"}, {"Fourth?", "Escape"}};
    Gtk::Window* panel = open("[confirm('First?'), confirm('Second?'), (alert('Third'), 'closed'), String(prompt('Fourth?'))].join()");
    ASSERT_NE(panel, nullptr);
    for (const auto& [question, key] : steps) {
        ASSERT_TRUE(runMainLoopUntil([&, question = question] {
            panel = testing::findWindow("javascript-panel");
            return panel && (text(*panel, "javascript-panel-informative") == question ||
                             text(*panel, "javascript-panel-message") == question);
        })) << question;
        const std::string command = "xdotool search --name '^" + panel->get_title() + "$' windowfocus --sync key " + key;
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    EXPECT_TRUE(titleBecomes("answer:true,false,closed,null"));
}

TEST_F(JavaScriptPanelDisplayTest, APromptReturnsTheEditedTextForOK) {
    Gtk::Window* panel = open("prompt('Your name?', 'Ann')");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(text(*panel, "javascript-panel-message"), "Your name?");
    auto* field = dynamic_cast<Gtk::Entry*>(testing::findDescendant(*panel, "javascript-panel-field"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->get_text(), "Ann");
    field->set_text("Bob");
    press(*panel, "javascript-panel-ok");
    EXPECT_TRUE(titleBecomes("answer:Bob"));
}

TEST_F(JavaScriptPanelDisplayTest, APromptReturnsNothingForCancel) {
    Gtk::Window* panel = open("prompt('Your name?')");
    ASSERT_NE(panel, nullptr);
    auto* field = dynamic_cast<Gtk::Entry*>(testing::findDescendant(*panel, "javascript-panel-field"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->get_text(), "");
    press(*panel, "javascript-panel-cancel");
    EXPECT_TRUE(titleBecomes("answer:null"));
}

TEST_F(JavaScriptPanelDisplayTest, AHostThatGoesWhileAskingAnswersThePageAndClosesThePanel) {
    Gtk::Window* panel = open("confirm('Sure?')");
    ASSERT_NE(panel, nullptr);
    window.unset_child();
    host.reset();
    testing::drainMainLoop();
    EXPECT_EQ(testing::findWindow("javascript-panel"), nullptr);
}

}  // namespace
}  // namespace sarvik

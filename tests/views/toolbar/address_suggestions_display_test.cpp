#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/display/x_input.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/window/main_window.h"

#include <gtkmm/label.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The address field's suggestion list in a real main window, typed into
// through the X server, with pages served on the loopback interface.
namespace sarvik {
namespace {

using testing::runMainLoopUntil;

std::string page(const std::string& title) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + title + "</body></html>";
}

using testing::pointerAt;

// The window with an open popover drawn over it where it stands on screen, as
// `make screenshots` wants the list: a window's own rendering leaves out popovers.
void saveWindowWithPopoverIfRequested(Gtk::Window& window, Gtk::Popover& popover, const std::string& name) {
    const auto directory = testing::screenshotDirectory();
    if (directory.empty()) return;
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(100));
    double windowX = 0, windowY = 0, popoverX = 0, popoverY = 0;
    gtk_native_get_surface_transform(GTK_NATIVE(window.gobj()), &windowX, &windowY);
    gtk_native_get_surface_transform(GTK_NATIVE(popover.gobj()), &popoverX, &popoverY);
    auto* popup = GDK_POPUP(gtk_native_get_surface(GTK_NATIVE(popover.gobj())));
    const auto x = static_cast<float>(gdk_popup_get_position_x(popup) + popoverX - windowX);
    const auto y = static_cast<float>(gdk_popup_get_position_y(popup) + popoverY - windowY);

    GtkSnapshot* snapshot = gtk_snapshot_new();
    for (Gtk::Widget* widget : {static_cast<Gtk::Widget*>(&window), static_cast<Gtk::Widget*>(&popover)}) {
        GdkPaintable* paintable = gtk_widget_paintable_new(widget->gobj());
        const graphene_point_t offset = GRAPHENE_POINT_INIT(x, y);
        if (widget == &popover) gtk_snapshot_translate(snapshot, &offset);
        gdk_paintable_snapshot(paintable, snapshot, widget->get_width(), widget->get_height());
        g_object_unref(paintable);
    }
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(window.get_width()),
                                                      static_cast<float>(window.get_height()));
    GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(GTK_NATIVE(window.gobj())), node, &bounds);
    gsk_render_node_unref(node);
    std::filesystem::create_directories(directory);
    EXPECT_TRUE(gdk_texture_save_to_png(texture, (directory / (name + ".png")).c_str()));
    g_object_unref(texture);
}

void key(const std::string& name) { testing::pressKeys(name); }

class AddressSuggestionsDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* path : {"/home", "/zebra-favorite", "/zebra-once", "/zebra-thrice", "/search"})
            server.serve(path, page(std::string(path).substr(1)));
        state.homePage = server.url("/home");
        state.searchEngine = server.url("/search?q=");
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
        ASSERT_TRUE(loaded("home"));
        auto& store = window->contentView().dataStore();
        store.addBookmark("Zebra favorite", server.url("/zebra-favorite"), std::nullopt);
        store.recordVisit("Zebra once", server.url("/zebra-once"));
        for (int i = 0; i < 3; ++i) store.recordVisit("Zebra thrice", server.url("/zebra-thrice"));
        focusField();
    }

    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    bool loaded(const std::string& title) {
        return runMainLoopUntil([&] {
            const BrowserTab* tab = state.findTab(state.activeTabId);
            return tab && tab->title == title && !tab->isLoading;
        });
    }
    AddressField& field() { return window->contentView().toolbar().expanded().addressField(); }
    AddressSuggestionsPopover& list() { return *field().suggestions(); }

    // Without a window manager the X server sends keys to the window under
    // the pointer: bring pointer and focus to the field, text selected.
    void focusField() {
        testing::sendKeysTo(field().entry());
        ASSERT_TRUE(window->contentView().toolbar().focusAddressField());
        ASSERT_TRUE(runMainLoopUntil([&] { return gtk_widget_get_focus_child(GTK_WIDGET(field().entry().gobj())); }));
    }
    void type(const std::string& text) {
        const std::string before = field().entry().get_text();
        testing::typeText(text);
        ASSERT_TRUE(runMainLoopUntil([&] { return state.addressBarText.get().ends_with(text); })) << text;
        testing::drainMainLoop();
    }
    std::vector<std::string> shownUrls() {
        std::vector<std::string> urls;
        for (const auto& suggestion : list().shown()) urls.push_back(suggestion.url);
        return urls;
    }
    std::vector<Gtk::Widget*> rows() {
        std::vector<Gtk::Widget*> found;
        for (auto* row = list().list().get_first_child(); row; row = row->get_next_sibling())
            if (row->get_mapped() && row->get_first_child()) found.push_back(row);
        return found;
    }
    static std::string rowText(Gtk::Widget& row, const char* name) {
        return dynamic_cast<Gtk::Label&>(*testing::findDescendant(row, name)).get_text();
    }

    testing::LoopbackHttpServer server;
    testing::TemporaryDirectory folder;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    ThemeStylesheet stylesheet{state, Gdk::Display::get_default()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(AddressSuggestionsDisplayTest, TypingShowsTheFavoriteThenHistoryByVisitCount) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen() && list().get_mapped(); }));
    EXPECT_EQ(shownUrls(), (std::vector<std::string>{server.url("/zebra-favorite"), server.url("/zebra-thrice"),
                                                     server.url("/zebra-once")}));
    ASSERT_TRUE(runMainLoopUntil([&] { return rows().size() == 3; }));
    const auto drawn = rows();
    EXPECT_EQ(rowText(*drawn[0], "suggestion-title"), "Zebra favorite");
    EXPECT_EQ(rowText(*drawn[1], "suggestion-url"), server.url("/zebra-thrice"));
    EXPECT_EQ(testing::findDescendant(*drawn[0], "suggestion-star")->get_opacity(), 1.0);
    EXPECT_EQ(testing::findDescendant(*drawn[1], "suggestion-star")->get_opacity(), 0.0);
    EXPECT_FALSE(list().selectedRow());
    // The field keeps the keyboard: typing goes on there and narrows the list.
    type("ra");
    EXPECT_EQ(state.addressBarText.get(), "zebra");
    EXPECT_TRUE(list().isOpen());
    EXPECT_EQ(shownUrls().size(), 3u);
    key("Down");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 0u; }));
    saveWindowWithPopoverIfRequested(*window, list(), "address-suggestions");
    for (auto theme : kAllColorThemes) state.colorTheme = theme;
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);
}

TEST_F(AddressSuggestionsDisplayTest, ArrowsAndEnterLoadTheChosenSuggestion) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    key("Down");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 0u; }));
    key("Down");
    key("Down");
    key("Down");  // stays on the last row
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 2u; }));
    key("Up");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 1u; }));
    EXPECT_EQ(state.addressBarText.get(), "zeb");  // moving does not touch the typed text
    key("Return");
    EXPECT_TRUE(loaded("zebra-thrice"));
    EXPECT_FALSE(list().isOpen());
    EXPECT_EQ(server.requestCount("/search"), 0);
    EXPECT_EQ(state.addressBarText.get(), server.url("/zebra-thrice"));
}

TEST_F(AddressSuggestionsDisplayTest, UpFromTheFirstRowGoesBackToTheFieldAndEnterSearchesAsBefore) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    key("Down");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 0u; }));
    key("Up");
    ASSERT_TRUE(runMainLoopUntil([&] { return !list().selectedRow(); }));
    EXPECT_TRUE(list().isOpen());
    key("Return");
    EXPECT_TRUE(loaded("search"));
    EXPECT_EQ(server.requestsFor("/search").back().target, "/search?q=zeb");
    EXPECT_FALSE(list().isOpen());
}

TEST_F(AddressSuggestionsDisplayTest, AClickOnARowLoadsItsAddress) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen() && rows().size() == 3; }));
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(200));  // placed on screen
    pointerAt(*rows()[2], "click 1");
    EXPECT_TRUE(loaded("zebra-once"));
    EXPECT_FALSE(list().isOpen());
}

TEST_F(AddressSuggestionsDisplayTest, EscapeClosesTheListThenPutsBackTheAddress) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    key("Escape");
    ASSERT_TRUE(runMainLoopUntil([&] { return !list().isOpen(); }));
    EXPECT_EQ(state.addressBarText.get(), "zeb");
    key("Escape");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.addressBarText.get() == server.url("/home"); }));
    EXPECT_FALSE(list().isOpen());
}

TEST_F(AddressSuggestionsDisplayTest, NoListWhenNothingMatches) {
    type("qwxz");
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_FALSE(list().isOpen());
    // A text that stops matching closes an open list.
    key("ctrl+a");
    type("zebr");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    type("q");
    EXPECT_TRUE(runMainLoopUntil([&] { return !list().isOpen(); }));
}

TEST_F(AddressSuggestionsDisplayTest, TextFromElsewhereDoesNotOpenTheList) {
    state.navigate(server.url("/zebra-once"));
    ASSERT_TRUE(loaded("zebra-once"));
    ASSERT_EQ(state.addressBarText.get(), server.url("/zebra-once"));
    state.addressBarText = "zebra";
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_FALSE(list().isOpen());
}

TEST_F(AddressSuggestionsDisplayTest, LeavingTheFieldOrAPageLoadClosesTheList) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    window->contentView().toolbar().expanded().collapseButton().grab_focus();
    EXPECT_TRUE(runMainLoopUntil([&] { return !list().isOpen(); }));
    focusField();
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen(); }));
    state.navigate(server.url("/zebra-once"));
    EXPECT_TRUE(runMainLoopUntil([&] { return !list().isOpen(); }));
}

}  // namespace
}  // namespace sarvik

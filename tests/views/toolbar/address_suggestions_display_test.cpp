#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"

#include <gtest/gtest.h>

// The address field's suggestion list in a real main window, typed into
// through the X server, with pages served on the loopback interface.
namespace sarvik {
namespace {

using testing::pressKeys;
using testing::runMainLoopUntil;

class AddressSuggestionsDisplayTest : public ::testing::Test, public testing::BrowserWindowHarness {
protected:
    void SetUp() override {
        for (const char* path : {"/zebra-favorite", "/zebra-once", "/zebra-thrice", "/search"}) serve(path, path + 1);
        state.searchEngine = server.url("/search?q=");
        ASSERT_TRUE(activeLoaded("Home"));
        auto& store = content().dataStore();
        store.addBookmark("Zebra favorite", server.url("/zebra-favorite"), std::nullopt);
        store.recordVisit("Zebra once", server.url("/zebra-once"));
        for (int i = 0; i < 3; ++i) store.recordVisit("Zebra thrice", server.url("/zebra-thrice"));
        focusField();
    }
    AddressField& field() { return content().toolbar().expanded().addressField(); }
    AddressSuggestionsPopover& list() { return *field().suggestions(); }
    bool opens(std::chrono::milliseconds wait = std::chrono::seconds(20)) {
        return runMainLoopUntil([&] { return list().isOpen(); }, wait);
    }
    bool closes() { return runMainLoopUntil([&] { return !list().isOpen(); }); }
    bool selects(std::optional<std::size_t> row) {
        pressKeys(row ? "Down" : "Up");
        return runMainLoopUntil([&] { return list().selectedRow() == row; });
    }
    // Pointer and keyboard to the field, its text selected.
    void focusField() {
        testing::sendKeysTo(field().entry());
        ASSERT_TRUE(content().toolbar().focusAddressField());
        ASSERT_TRUE(runMainLoopUntil([&] { return gtk_widget_get_focus_child(GTK_WIDGET(field().entry().gobj())); }));
    }
    void type(const std::string& text) {
        testing::typeText(text);
        ASSERT_TRUE(runMainLoopUntil([&] { return state.addressBarText.get().ends_with(text); })) << text;
        testing::drainMainLoop();
    }
    std::vector<Gtk::Widget*> rows() {
        std::vector<Gtk::Widget*> found;
        for (auto* row = list().list().get_first_child(); row; row = row->get_next_sibling())
            if (row->get_mapped() && row->get_first_child()) found.push_back(row);
        return found;
    }
};

TEST_F(AddressSuggestionsDisplayTest, TypingListsTheFavoriteThenHistoryAndTheKeysMoveAndChoose) {
    type("zeb");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen() && list().get_mapped() && rows().size() == 3; }));
    const auto drawn = rows();
    for (std::size_t i = 0; const char* path : {"/zebra-favorite", "/zebra-thrice", "/zebra-once"})
        EXPECT_EQ(testing::named<Gtk::Label>(*drawn[i++], "suggestion-url").get_text().raw(), server.url(path));
    EXPECT_EQ(testing::named<Gtk::Label>(*drawn[0], "suggestion-title").get_text(), "Zebra favorite");
    EXPECT_EQ(testing::named(*drawn[0], "suggestion-star").get_opacity(), 1.0);
    EXPECT_EQ(testing::named(*drawn[1], "suggestion-star").get_opacity(), 0.0);
    EXPECT_FALSE(list().selectedRow());
    // The field keeps the keyboard: typing goes on there and narrows the list.
    type("ra");
    EXPECT_EQ(state.addressBarText.get(), "zebra");
    EXPECT_TRUE(list().isOpen() && list().shown().size() == 3u);
    ASSERT_TRUE(selects(0u));
    testing::saveScreenshotIfRequested(list(), "address-suggestions");
    for (auto theme : kAllColorThemes) state.colorTheme = theme;
    EXPECT_EQ(stylesheet.parseErrorCount(), 0);

    // Up from the first row goes back to the field; Return then searches for the typed text.
    ASSERT_TRUE(selects(std::nullopt));
    EXPECT_TRUE(list().isOpen());
    pressKeys("Return");
    EXPECT_TRUE(activeLoaded("search"));
    EXPECT_EQ(server.requestsFor("/search").back().target, "/search?q=zebra");
    EXPECT_TRUE(closes());

    // Down stops on the last row; moving leaves the typed text; Return loads the chosen row. (Not "zeb":
    // the search just made is in the history now.)
    focusField();
    type("zebra-");
    ASSERT_TRUE(opens());
    for (std::size_t row : {0u, 1u, 2u, 2u}) ASSERT_TRUE(selects(row)) << row;
    pressKeys("Up");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().selectedRow() == 1u; }));
    EXPECT_EQ(state.addressBarText.get(), "zebra-");
    pressKeys("Return");
    EXPECT_TRUE(activeLoaded("zebra-thrice"));
    EXPECT_FALSE(list().isOpen());
    EXPECT_EQ(server.requestsFor("/search").size(), 1u);
    EXPECT_EQ(state.addressBarText.get(), server.url("/zebra-thrice"));

    // A click on a row loads its address.
    focusField();
    type("zebra-");
    ASSERT_TRUE(runMainLoopUntil([&] { return list().isOpen() && rows().size() == 3; }));
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(200));  // placed on screen
    testing::pointerAt(*rows()[2], "click 1");
    EXPECT_TRUE(activeLoaded("zebra-once"));
    EXPECT_FALSE(list().isOpen());
}

TEST_F(AddressSuggestionsDisplayTest, TheListClosesOnEscapeLeavingAPageLoadOrNoMatch) {
    type("zeb");
    ASSERT_TRUE(opens());
    pressKeys("Escape");
    ASSERT_TRUE(closes());
    EXPECT_EQ(state.addressBarText.get(), "zeb");
    pressKeys("Escape");
    ASSERT_TRUE(runMainLoopUntil([&] { return state.addressBarText.get() == server.url("/home"); }));
    EXPECT_FALSE(list().isOpen());
    type("qwxz");
    EXPECT_FALSE(opens(std::chrono::milliseconds(300))) << "nothing matches";
    pressKeys("ctrl+a");
    type("zebr");
    ASSERT_TRUE(opens());
    type("q");
    EXPECT_TRUE(closes()) << "a text that stops matching closes the list";
    pressKeys("ctrl+a");
    type("zeb");
    ASSERT_TRUE(opens());
    content().toolbar().expanded().collapseButton().grab_focus();
    EXPECT_TRUE(closes()) << "leaving the field";
    focusField();
    type("zeb");
    ASSERT_TRUE(opens());
    state.navigate(server.url("/zebra-once"));
    EXPECT_TRUE(closes()) << "a page load";
    ASSERT_TRUE(activeLoaded("zebra-once"));
    state.addressBarText = "zebra";
    EXPECT_FALSE(opens(std::chrono::milliseconds(300))) << "text from elsewhere opens no list";
}

}  // namespace
}  // namespace sarvik

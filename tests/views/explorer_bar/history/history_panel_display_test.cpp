#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "views/explorer_bar/history/history_panel.h"
#include "views/explorer_bar/history/history_row_widget.h"

#include <gtkmm/gestureclick.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/popovermenu.h>

namespace sarvik::testing {
namespace {

using Lines = std::vector<std::string>;

// ICU writes a narrow no-break space before the day period.
std::string at(const std::string& time) { return time + "\u202F"; }

class HistoryPanelTest : public ExplorerBarTest {
protected:
    HistoryPanel& panel() { return shownPanel<HistoryPanel>(); }

    void showHistory() {
        state.selectedExplorerTab = ExplorerBarTab::history;
        showBar();
    }

    // What the list shows, top to bottom: "# day" for headers, "title|url|time|badge|" for entries.
    Lines shown() {
        settle();
        Lines lines;
        if (!panel().listView().get_mapped()) return lines;
        for (auto* row : shownRows<HistoryRowWidget>(panel().listView())) {
            if (row->row().isHeader) {
                lines.push_back("# " + row->row().headerText);
                continue;
            }
            std::string line;
            for (auto* text : textWidgets(*row))
                if (text->get_visible() && text->get_mapped()) line += *shownText(*text) + "|";
            lines.push_back(line);
        }
        return lines;
    }

    HistoryRowWidget& entry(const std::string& url) {
        for (auto* row : shownRows<HistoryRowWidget>(panel().listView()))
            if (!row->row().isHeader && row->row().item.url == url) return *row;
        throw std::runtime_error("no row " + url);
    }

    static Gtk::PopoverMenu* shownMenu(Gtk::Widget& row) {
        auto menus = findAll<Gtk::PopoverMenu>(row);
        return !menus.empty() && menus.front()->get_visible() ? menus.front() : nullptr;
    }

    // Where the entry's row stands in the list's viewport; none when it is not shown.
    std::optional<double> placeOf(const std::string& url) {
        settle();
        double x = 0, y = 0;
        for (auto* row : shownRows<HistoryRowWidget>(panel().listView()))
            if (!row->row().isHeader && row->row().item.url == url && row->translate_coordinates(panel().listView(), 0, 0, x, y))
                return y;
        return std::nullopt;
    }

    void visit(const std::string& title, const std::string& url, double secondsFromNoon) {
        clock.set(kNoon.addingSeconds(secondsFromNoon));
        dataStore().recordVisit(title, url);
    }

    void clearAllAnswering(Gtk::ResponseType response) {
        press(panel().clearAllButton());
        auto* dialog = panel().clearConfirmation();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->property_text().get_value(), "Clear History");
        EXPECT_EQ(dialog->property_secondary_text().get_value(), "Are you sure you want to clear all browsing history?");
        if (response == Gtk::ResponseType::CLOSE)
            g_signal_emit_by_name(dialog->gobj(), "close");  // what Escape does
        else
            dialog->response(response);
        settle();
    }
};

TEST_F(HistoryPanelTest, DaysGroupNewestFirstSearchFiltersAndRowsOpenAndDelete) {
    visit("Two words", "https://old.example/", -24 * 3600);
    visit("", "https://untitled.example/", -3600);
    for (double seconds : {0, 1800, 3600}) visit("Busy", "https://busy.example/", seconds);
    showHistory();
    const Lines all{"# Dec 6, 2026", "Busy|https://busy.example/|" + at("1:00") + "PM|3|",
                    "https://untitled.example/|https://untitled.example/|" + at("11:00") + "AM|", "# Dec 5, 2026",
                    "Two words|https://old.example/|" + at("12:00") + "PM|"};
    EXPECT_EQ(shown(), all);

    EXPECT_FALSE(panel().clearSearchButton().get_visible());
    panel().searchField().set_text("nothing like it");
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(panel().noResultsState().get_mapped());
    EXPECT_TRUE(panel().clearSearchButton().get_visible());
    panel().searchField().set_text(" ");
    EXPECT_EQ(shown(), (Lines{"Two words|https://old.example/|" + at("12:00") + "PM|"})) << "matches, no headers";
    press(panel().clearSearchButton());
    EXPECT_EQ(panel().searchField().get_text(), "");
    EXPECT_EQ(shown(), all);
    EXPECT_FALSE(panel().noResultsState().get_mapped());

    entry("https://old.example/").activate_action("row.delete");
    EXPECT_EQ(shown(), Lines(all.begin(), all.begin() + 3)) << "the day's header goes with its only entry";
    dataStore().waitForSaves();
    EXPECT_EQ(readFile(dataStore().historyFile()).find("old.example"), std::string::npos);

    activateListRow(panel().listView(), 1);
    EXPECT_EQ(loadedUrl(state), "https://busy.example/");
    entry("https://busy.example/").activate_action("row.open-in-new-tab");
    ASSERT_EQ(state.tabs->size(), 2u);
    EXPECT_EQ(state.activeTab()->url->absoluteString(), "https://busy.example/");
    visit("Later", "https://later.example/", 3660);
    EXPECT_EQ(shown().at(1), "Later|https://later.example/|" + at("1:01") + "PM|") << "new visits show at once";
}

TEST_F(HistoryPanelTest, ClearAllAsksFirstAndOnlyClearsWhenConfirmed) {
    showHistory();
    EXPECT_TRUE(panel().emptyState().get_mapped());
    EXPECT_TRUE(panel().clearAllButton().get_mapped());
    clearAllAnswering(Gtk::ResponseType::ACCEPT);
    dataStore().waitForSaves();
    EXPECT_EQ(readFile(dataStore().historyFile()), "[]") << "an empty history is written too";

    visit("Kept", "https://kept.example/", 0);
    EXPECT_EQ(shown().size(), 2u);
    clearAllAnswering(Gtk::ResponseType::CANCEL);
    clearAllAnswering(Gtk::ResponseType::CLOSE);
    EXPECT_EQ(dataStore().history()->size(), 1u);
    EXPECT_EQ(shown().size(), 2u);
    clearAllAnswering(Gtk::ResponseType::ACCEPT);
    EXPECT_TRUE(dataStore().history()->empty());
    dataStore().waitForSaves();
    EXPECT_EQ(readFile(dataStore().historyFile()), "[]");
    EXPECT_TRUE(panel().emptyState().get_mapped());
}

// A visit while a row's menu is open moves the rows under it; the menu still
// acts on the entry it was opened on. Day headers open no menu.
TEST_F(HistoryPanelTest, ARowMenuActsOnItsOwnEntryWhileVisitsMoveTheRowsAndHeadersHaveNone) {
    visit("First", "https://first.example/", 0);
    visit("Second", "https://second.example/", 60);
    showHistory();
    auto& header = *shownRows<HistoryRowWidget>(panel().listView()).front();
    bool pressed = false;
    auto heard = Gtk::GestureClick::create();
    heard->set_button(3);
    heard->signal_pressed().connect([&](int, double, double) { pressed = true; });
    header.add_controller(heard);
    pointerAt(header, "click 3");
    ASSERT_TRUE(runMainLoopUntil([&] { return pressed; }));
    drainMainLoop();
    ASSERT_EQ(shownMenu(header), nullptr);

    auto& second = entry("https://second.example/");
    pointerAt(second, "click 3");
    ASSERT_TRUE(runMainLoopUntil([&] { return shownMenu(second) && shownMenu(second)->get_mapped(); }));
    visit("First", "https://first.example/", 120);
    settle();
    auto* remove = findLabel(*shownMenu(second), "Delete");
    ASSERT_NE(remove, nullptr);
    pointerAt(*remove, "click 1");
    ASSERT_TRUE(runMainLoopUntil([&] { return dataStore().history()->size() == 1; }));
    EXPECT_EQ(dataStore().history()->front().url, "https://first.example/");
}

// A visit keeps the entries on screen where they are, unless the list is at
// its top, where the new entry shows first.
TEST_F(HistoryPanelTest, VisitsKeepTheUsersPlaceUnlessTheListIsAtItsTop) {
    for (int i = 0; i < 60; ++i) visit("Page", "https://" + std::to_string(i) + ".example/", i);
    showHistory();
    auto scroll = panel().listView().get_vadjustment();
    scroll->set_value(scroll->get_upper() / 2);
    settle();
    const auto rows = shownRows<HistoryRowWidget>(panel().listView());
    const std::string watched = rows.at(rows.size() / 2)->row().item.url;
    const auto before = placeOf(watched);
    ASSERT_TRUE(before);
    visit("Page", "https://0.example/", 100);  // from the bottom to the top
    EXPECT_EQ(placeOf(watched), before);
    visit("New", "https://new.example/", 101);
    EXPECT_EQ(placeOf(watched), before);

    scroll->set_value(0);
    settle();
    visit("Tomorrow", "https://tomorrow.example/", 24 * 3600);
    EXPECT_EQ(shown().at(0), "# Dec 7, 2026");
    EXPECT_GT(placeOf("https://tomorrow.example/").value_or(-1), 0);
}

}  // namespace
}  // namespace sarvik::testing

#pragma once

#include "core/browser_state.h"
#include "stores/auction_data.h"
#include "stores/auction_store.h"
#include "stores/manual_timer_scheduler.h"
#include "support/display/gtk_test_environment.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"
#include "themes/auction_panel_css.h"
#include "views/explorer_bar/auctions/auction_manager_panel.h"
#include "views/explorer_bar/auctions/auction_row.h"

#include <gtkmm/button.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/label.h>
#include <gtkmm/stack.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sarvik::testing {

// Every widget under `root` (itself included) for which `match` holds, in tree order.
inline void collectWidgets(Gtk::Widget& root, const std::function<bool(Gtk::Widget&)>& match,
                           std::vector<Gtk::Widget*>& found) {
    if (match(root)) found.push_back(&root);
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        collectWidgets(*child, match, found);
}

inline Gtk::Widget* findNamed(Gtk::Widget& root, const std::string& name) {
    std::vector<Gtk::Widget*> found;
    collectWidgets(root, [&](Gtk::Widget& w) { return std::string(w.get_name()) == name; }, found);
    return found.empty() ? nullptr : found.front();
}

inline std::string labelText(Gtk::Widget& root, const std::string& name) {
    auto* label = dynamic_cast<Gtk::Label*>(findNamed(root, name));
    return label ? std::string(label->get_text()) : std::string("<no label " + name + ">");
}

// A widget counts as shown when it and all its ancestors are visible.
inline bool isShown(Gtk::Widget* widget) {
    for (auto* w = widget; w; w = w->get_parent())
        if (!w->get_visible()) return false;
    return widget != nullptr;
}

inline AuctionItem makeItem(const std::string& title, AuctionSite site, AuctionStatus status, double price,
                            std::optional<Date> endDate, Date now) {
    AuctionItem item;
    item.id = Uuid::random();
    item.title = title;
    item.url = "https://auctions.example/" + title;
    item.site = site;
    item.status = status;
    item.currentPrice = price;
    item.endDate = endDate;
    item.addedAt = now;
    item.lastUpdatedAt = now;
    item.priceHistory.push_back({Uuid::random(), price, now, std::nullopt});
    return item;
}

// A real panel in a real window, on a fake clock, over a temporary data folder.
class AuctionPanelTest : public ::testing::Test {
protected:
    AuctionPanelTest() {
        setenv("TZ", "UTC", 1);
        tzset();
        UErrorCode ignored = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), ignored);
        m_css = Gtk::CssProvider::create();
        m_css->load_from_data(auctionPanelCss(OrvelColorTheme::blueberry));
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), m_css,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }

    ~AuctionPanelTest() override {
        window.unset_child();
        panel.reset();
        Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), m_css);
    }

    // Writes the items as the auctions file, then builds the store and the panel over it.
    void open(const std::vector<AuctionItem>& items = {}) {
        if (!items.empty()) writeFile(dir / "auctions.json", *encodeAuctionData({items, true, 5}));
        store = std::make_unique<AuctionStore>(dir.path(), clock, timers);
        panel = std::make_unique<AuctionManagerPanel>(state, *store);
        window.set_child(*panel);
        window.set_default_size(360, 560);
        window.present();
        ASSERT_TRUE(runMainLoopUntil([&] { return panel->get_mapped() && panel->get_height() > 0; }));
        settle();
    }

    // Lets the list lay out and bind its rows.
    void settle() {
        drainMainLoop();
        // Screenshots and hit tests want the form's cross-fade finished.
        if (auto* stack = dynamic_cast<Gtk::Stack*>(findNamed(*panel, "auction-content")))
            runMainLoopUntil([&] { return !stack->get_transition_running(); }, std::chrono::seconds(2));
        runMainLoopUntil([] { return false; }, std::chrono::milliseconds(60));
        drainMainLoop();
    }

    // A click as the keyboard gives it: GTK shows the button pressed for a
    // moment and then emits "clicked" (an insensitive button does nothing).
    void press(Gtk::Button& button) {
        button.activate();
        runMainLoopUntil([] { return false; }, std::chrono::milliseconds(350));
        settle();
    }

    // The rows on screen, top to bottom.
    std::vector<AuctionRow*> rows() {
        std::vector<Gtk::Widget*> found;
        collectWidgets(panel->listView(), [](Gtk::Widget& w) { return dynamic_cast<AuctionRow*>(&w) != nullptr; },
                       found);
        std::vector<std::pair<double, AuctionRow*>> placed;
        for (auto* widget : found) {
            if (!widget->get_mapped()) continue;
            double x = 0, y = 0;
            widget->translate_coordinates(*panel, 0, 0, x, y);
            placed.emplace_back(y, static_cast<AuctionRow*>(widget));
        }
        std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<AuctionRow*> result;
        for (const auto& [y, row] : placed) result.push_back(row);
        return result;
    }

    AuctionRow* rowTitled(const std::string& title) {
        for (auto* row : rows())
            if (labelText(*row, "auction-title") == title) return row;
        return nullptr;
    }

    void activate(std::string_view action, const std::string& target) {
        panel->activate_action("auction." + std::string(action), Glib::Variant<Glib::ustring>::create(target));
        settle();
    }

    TemporaryDirectory dir;
    FakeClock clock{Date{800000000.0}};
    ManualTimerScheduler timers;
    BrowserState state;
    std::unique_ptr<AuctionStore> store;
    Gtk::Window window;
    std::unique_ptr<AuctionManagerPanel> panel;

private:
    Glib::RefPtr<Gtk::CssProvider> m_css;
};

}  // namespace sarvik::testing

#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "stores/auction_data.h"
#include "views/explorer_bar/auctions/auction_manager_panel.h"
#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "views/explorer_bar/auctions/auction_row.h"
#include "views/common/entry_focus.h"

#include <gdkmm/clipboard.h>
#include <gtkmm/image.h>
#include <gtkmm/stack.h>
#include <gtkmm/togglebutton.h>

#include <tuple>

namespace sarvik::testing {
namespace {

std::string labelText(Gtk::Widget& root, const std::string& name) {
    auto* label = dynamic_cast<Gtk::Label*>(findDescendant(root, name));
    return label ? std::string(label->get_text()) : "<no label " + name + ">";
}
bool shown(Gtk::Widget& root, const std::string& name) {
    auto* widget = findDescendant(root, name);
    return widget && isShown(*widget);
}
bool hasClass(Gtk::Widget& root, const std::string& name, const char* cssClass) {
    auto* widget = findDescendant(root, name);
    return widget && widget->has_css_class(cssClass);
}
// The text of the last label in a named box (a trend's amount, a warning's words).
std::string lastText(Gtk::Widget& root, const std::string& name) {
    auto* label = dynamic_cast<Gtk::Label*>(findDescendant(root, name)->get_last_child());
    return label ? std::string(label->get_text()) : "";
}

// A row as one line: its status class and price, then what else it shows
// (trend, bids, time, "!" for a last-hour time, the max-bid warning).
std::string describe(Gtk::Widget& row) {
    std::string text;
    for (const auto& cssClass : findDescendant(row, "auction-status-icon")->get_css_classes())
        if (cssClass.raw().starts_with("status-")) text = cssClass.raw().substr(7);
    text += "|" + labelText(row, "auction-price");
    if (shown(row, "auction-trend"))
        text += std::string(hasClass(row, "auction-trend", "up") ? "|up " : hasClass(row, "auction-trend", "down") ? "|down " : "|") +
                lastText(row, "auction-trend");
    if (shown(row, "auction-bids")) text += "|" + labelText(row, "auction-bids");
    if (shown(row, "auction-bullet")) text += "|-";
    if (shown(row, "auction-time")) text += "|" + labelText(row, "auction-time") + (hasClass(row, "auction-time", "last-hour") ? "!" : "");
    if (shown(row, "auction-max-bid-warning")) text += "|" + lastText(row, "auction-max-bid-warning");
    if (row.has_css_class("last-hour") || shown(row, "auction-pulse-dot"))
        text += std::string("|") + (row.has_css_class("last-hour") ? "tinted" : "") + (shown(row, "auction-pulse-dot") ? "+pulse" : "");
    return text;
}

class AuctionPanelTest : public ExplorerBarTest {
protected:
    AuctionItem item(const std::string& title, AuctionStatus status, double price, std::optional<double> endsIn,
                     AuctionSite site = AuctionSite::ebay) {
        AuctionItem made;
        made.id = Uuid::random();
        made.title = title;
        made.url = "https://auctions.example/" + title;
        made.site = site;
        made.status = status;
        made.currentPrice = price;
        if (endsIn) made.endDate = clock.now().addingSeconds(*endsIn);
        made.addedAt = made.lastUpdatedAt = clock.now();
        made.priceHistory.push_back({Uuid::random(), price, clock.now(), std::nullopt});
        return made;
    }

    // Writes the items as the auctions file, then builds the store and the panel over it.
    void open(const std::vector<AuctionItem>& items = {}) {
        if (!items.empty()) writeFile(directory / "auctions.json", *encodeAuctionData({items, true, 5}));
        store = std::make_unique<AuctionStore>(directory.path(), clock, timers);
        panel = Gtk::make_managed<AuctionManagerPanel>(state, *store);
        present(*panel, 360);
    }

    // Lets the list bind its rows, and the form's cross-fade finish.
    void settleList() {
        settle();
        auto* stack = dynamic_cast<Gtk::Stack*>(findDescendant(*panel, "auction-content"));
        runMainLoopUntil([&] { return !stack->get_transition_running(); }, std::chrono::seconds(2));
        settle();
    }
    // As the keyboard presses it: an insensitive button does nothing.
    void pressNamed(const std::string& name) {
        click(dynamic_cast<Gtk::Button*>(findDescendant(*panel, name)));
        settleList();
    }
    void showGroup(const char* name) {
        dynamic_cast<Gtk::ToggleButton*>(findDescendant(*panel, name))->set_active(true);
        settleList();
    }

    std::vector<AuctionRow*> rows() {
        settleList();
        return shownRows<AuctionRow>(panel->listView());
    }
    AuctionRow& row(const std::string& title) {
        for (auto* each : rows())
            if (labelText(*each, "auction-title") == title) return *each;
        throw std::runtime_error("no row " + title);
    }
    bool listed(const std::string& title) {
        return std::ranges::any_of(rows(), [&](AuctionRow* each) { return labelText(*each, "auction-title") == title; });
    }

    AuctionItem stored(const std::string& title) {
        for (const auto& each : store->items().get())
            if (each.title == title) return each;
        throw std::runtime_error("no item " + title);
    }
    void activate(std::string_view action, const std::string& target) {
        panel->activate_action("auction." + std::string(action), Glib::Variant<Glib::ustring>::create(target));
        settleList();
    }

    void fill(AuctionSite site, const char* title, const char* url, const char* price, const char* maxBid = "") {
        panel->setAddingItem(true);
        auto& form = panel->addForm();
        form.setSite(site);
        form.titleEntry().set_text(title);
        form.urlEntry().set_text(url);
        form.priceEntry().set_text(price);
        form.maxBidEntry().set_text(maxBid);
        settleList();
    }

    std::unique_ptr<AuctionStore> store;
    AuctionManagerPanel* panel = nullptr;
};

TEST_F(AuctionPanelTest, TheAddFormChecksWhatIsTypedAndTracksTheItem) {
    open();
    EXPECT_TRUE(isShown(panel->emptyState()));
    EXPECT_EQ(labelText(*panel, "auction-empty-title"), "No active auctions");
    EXPECT_FALSE(shown(*panel, "auction-badge"));
    showGroup("auction-group-ended");
    EXPECT_TRUE(panel->isShowingEndedItems());
    EXPECT_EQ(labelText(*panel, "auction-empty-title"), "No ended auctions");
    pressNamed("auction-track-an-auction");
    EXPECT_TRUE(panel->isAddingItem());
    EXPECT_TRUE(panel->addForm().get_mapped());
    auto& toggle = *dynamic_cast<Gtk::Button*>(findDescendant(*panel, "auction-form-toggle"));
    EXPECT_EQ(toggle.get_icon_name(), "window-close-symbolic");
    pressNamed("auction-form-toggle");
    EXPECT_FALSE(panel->isAddingItem());
    EXPECT_EQ(toggle.get_icon_name(), "list-add-symbolic");
    showGroup("auction-group-active");

    auto& form = panel->addForm();
    for (AuctionSite site : kAllAuctionSites) {
        form.setSite(site);
        settleList();
        const std::string sign(currencySign(site));
        EXPECT_EQ(labelText(form, "auction-price-sign"), sign);
        EXPECT_EQ(labelText(form, "auction-max-bid-sign"), sign);
        EXPECT_EQ(shown(form, "auction-price-sign"), !sign.empty());
    }

    fill(AuctionSite::ebay, "Lamp", "", "500");
    EXPECT_FALSE(form.trackButton().get_sensitive()) << "an address is needed";
    pressNamed("auction-track");
    EXPECT_TRUE(store->items()->empty());
    EXPECT_TRUE(panel->isAddingItem());
    form.urlEntry().set_text("x");
    EXPECT_TRUE(form.trackButton().get_sensitive());
    form.titleEntry().set_text("");
    EXPECT_FALSE(form.trackButton().get_sensitive());
    form.titleEntry().set_text(" ");  // a blank title counts as typed
    EXPECT_TRUE(form.trackButton().get_sensitive());
    // The header's toggle keeps what was typed; Cancel empties the form.
    panel->header().signalFormToggled().emit();
    EXPECT_FALSE(panel->isAddingItem());
    panel->header().signalFormToggled().emit();
    EXPECT_EQ(form.titleEntry().get_text(), " ");
    pressNamed("auction-cancel");
    EXPECT_FALSE(panel->isAddingItem());
    EXPECT_EQ(form.titleEntry().get_text(), "");
    EXPECT_EQ(form.site(), AuctionSite::yahooAuctions);

    fill(AuctionSite::ebay, "Unreadable", "u", "abc");
    pressNamed("auction-track");
    EXPECT_TRUE(panel->isAddingItem());
    EXPECT_TRUE(shown(*panel, "auction-form-problem"));
    EXPECT_EQ(labelText(*panel, "auction-form-problem"), "The price is not a number (like 1,234.56).");
    form.priceEntry().set_text("5");
    form.maxBidEntry().set_text("5 dollars");
    pressNamed("auction-track");
    EXPECT_EQ(labelText(*panel, "auction-form-problem"), "The max bid is not a number (like 1,234.56).");
    EXPECT_TRUE(store->items()->empty());
    form.maxBidEntry().set_text("");  // none
    EXPECT_FALSE(shown(*panel, "auction-form-problem"));
    auto& picker = form.endDatePicker();
    picker.calendar().select_day(Glib::DateTime::create_utc(2030, 5, 17, 0, 0, 0));
    picker.hourSpinner().set_value(14);
    picker.minuteSpinner().set_value(45);
    pressNamed("auction-track");
    ASSERT_EQ(store->items()->size(), 1u);
    EXPECT_FALSE(store->items()->front().maxBidPrice.has_value());
    EXPECT_EQ(store->items()->front().endDate,
              Date::fromUnixTime(static_cast<double>(Glib::DateTime::create_utc(2030, 5, 17, 14, 45, 0).to_unix())));

    // Prices read as the locale writes them; the end date defaults to three days on.
    fill(AuctionSite::mercari, "Denim jacket", "https://jp.mercari.example/item/1", "1,200", "1,300.50");
    saveScreenshotIfRequested(window, "auction-panel-add-form");
    pressNamed("auction-track");
    EXPECT_FALSE(panel->isAddingItem());
    ASSERT_EQ(store->items()->size(), 2u);
    const AuctionItem& added = store->items()->back();
    EXPECT_EQ(added.status, AuctionStatus::watching);
    EXPECT_EQ(added.site, AuctionSite::mercari);
    EXPECT_EQ(added.currentPrice, 1200);
    EXPECT_EQ(added.maxBidPrice, 1300.5);
    ASSERT_TRUE(added.endDate.has_value());
    EXPECT_EQ(added.endDate->secondsSince(clock.now()), 259200);
    EXPECT_EQ(describe(row("Denim jacket")), "watching|\u00A51,200|-|3d left");
    EXPECT_EQ(dynamic_cast<Gtk::Image*>(findDescendant(row("Denim jacket"), "auction-status-icon"))->get_icon_name(),
              "view-reveal-symbolic");
    EXPECT_EQ(labelText(row("Denim jacket"), "auction-site-name"), "Mercari");
    EXPECT_NE(readFile(directory / "auctions.json").find("Denim jacket"), std::string::npos);
    panel->setAddingItem(true);
    EXPECT_EQ(form.titleEntry().get_text(), "") << "the form starts over after adding";
    EXPECT_EQ(form.site(), AuctionSite::yahooAuctions);
}

TEST_F(AuctionPanelTest, RowsShowPriceTrendBidsAndTheMaxBidWarning) {
    auto rising = item("Rising", AuctionStatus::active, 150, 2 * 86400);
    rising.priceHistory.front().price = 100.75;
    rising.priceHistory.push_back({Uuid::random(), 150, clock.now(), 4});
    rising.bidCount = 1;
    auto falling = item("Falling", AuctionStatus::active, 800, 3 * 86400, AuctionSite::yahooAuctions);
    falling.priceHistory.front().price = 1000;
    falling.priceHistory.push_back({Uuid::random(), 800, clock.now(), std::nullopt});
    auto capped = item("Capped", AuctionStatus::watching, 1000, 4 * 86400, AuctionSite::yahooAuctions);
    capped.maxBidPrice = 1000;
    auto under = item("Under", AuctionStatus::watching, 999, 5 * 86400, AuctionSite::yahooAuctions);
    under.maxBidPrice = 1000;
    open({rising, falling, capped, under, item("Undated", AuctionStatus::watching, 10, std::nullopt, AuctionSite::custom)});
    saveScreenshotIfRequested(window, "auction-panel-active");

    EXPECT_EQ(describe(row("Rising")), "active|$150|up $49|1 bids|-|2d left");
    EXPECT_EQ(describe(row("Falling")), "active|\u00A5800|down \u00A5200|-|3d left");
    EXPECT_EQ(describe(row("Capped")), "watching|\u00A51,000|-|4d left|Price exceeds max bid (\u00A51000)");
    EXPECT_EQ(describe(row("Under")), "watching|\u00A5999|-|5d left");
    EXPECT_EQ(describe(row("Undated")), "watching|10");
}

TEST_F(AuctionPanelTest, EndingTimesFollowTheFakeClockWhateverTheStatus) {
    open({item("Soon watched", AuctionStatus::watching, 10, 1830, AuctionSite::mercari),
          item("Soon won", AuctionStatus::won, 10, 1859), item("Later", AuctionStatus::active, 10, 7200),
          item("Clocked", AuctionStatus::watching, 5, 3700), item("Overdue", AuctionStatus::active, 5, -1),
          item("Old ended", AuctionStatus::ended, 5, -500)});
    EXPECT_TRUE(shown(*panel, "auction-badge"));
    EXPECT_EQ(labelText(*panel, "auction-badge-count"), "2");
    EXPECT_EQ(describe(row("Soon watched")), "watching|\u00A510|-|30m left!|tinted+pulse");
    EXPECT_EQ(describe(row("Later")), "active|$10|-|2h left");
    EXPECT_EQ(describe(row("Clocked")), "watching|$5|-|1h left");
    EXPECT_EQ(describe(row("Overdue")), "active|$5|-|Ended");
    showGroup("auction-group-ended");
    EXPECT_EQ(describe(row("Soon won")), "won|$10|-|30m left!|tinted+pulse") << "whatever its status";
    showGroup("auction-group-active");

    // Any published change of the browser state redraws the times.
    clock.advance(200);
    state.isToolbarCollapsed = true;
    EXPECT_EQ(describe(row("Clocked")), "watching|$5|-|58m left!|tinted+pulse");
    EXPECT_EQ(labelText(*panel, "auction-badge-count"), "3");

    pressNamed("auction-refresh");
    EXPECT_EQ(stored("Overdue").status, AuctionStatus::ended) << "refresh ends an active item past its end";
    EXPECT_FALSE(listed("Overdue"));
    activate(auction_actions::kSetStatus, auction_actions::setStatusTarget(stored("Later").id, AuctionStatus::won));
    EXPECT_FALSE(listed("Later"));
    showGroup("auction-group-ended");
    std::vector<std::string> titles;
    for (auto* each : rows()) titles.push_back(labelText(*each, "auction-title") + ":" + describe(*each).substr(0, 5));
    EXPECT_EQ(titles, (std::vector<std::string>{"Later:won|$", "Soon won:won|$", "Overdue:ended", "Old ended:ended"}))
        << "the newly won item tops the ended group";
    saveScreenshotIfRequested(window, "auction-panel-ended");
}

TEST_F(AuctionPanelTest, EditingAnItemInTheFormMakesEachChangedPriceABid) {
    auto lamp = item("Lamp", AuctionStatus::active, 100, 2 * 86400);
    lamp.maxBidPrice = 2000;
    open({lamp});
    auto& form = panel->addForm();
    sendKeysTo(form.priceEntry());
    ASSERT_TRUE(runMainLoopUntil([&] { return window.is_active(); }));
    // The form opens filled in; a price typed in the locale's way and Return save it.
    const auto editPrice = [&](const std::string& typed) {
        activate(auction_actions::kEdit, lamp.id.toString());
        ASSERT_TRUE(panel->isAddingItem());
        EXPECT_EQ(textOf(form.trackButton()), "Save Changes");
        EXPECT_EQ(form.titleEntry().get_text(), "Lamp");
        EXPECT_EQ(form.maxBidEntry().get_text(), "2,000");
        EXPECT_EQ(form.site(), AuctionSite::ebay);
        focusWithTextSelected(form.priceEntry());
        typeText(typed);
        pressKeys("Return");
        runMainLoopUntil([&] { return !panel->isAddingItem() || shown(*panel, "auction-form-problem"); });
        settleList();
    };
    editPrice("1,200");
    EXPECT_FALSE(panel->isAddingItem());
    EXPECT_EQ(describe(row("Lamp")), "active|$1,200|up $1100|1 bids|-|2d left");
    clock.advance(60);
    editPrice("1,150.5");
    EXPECT_EQ(describe(row("Lamp")), "active|$1,150.5|down $49|2 bids|-|1d left");
    const AuctionItem saved = decodeAuctionData(readFile(directory / "auctions.json")).items.front();
    std::vector<std::tuple<double, double, std::optional<std::int64_t>>> history;
    for (const auto& entry : saved.priceHistory) history.emplace_back(entry.price, entry.timestamp.secondsSince(kNoon), entry.bidCount);
    EXPECT_EQ(history, (decltype(history){{100, 0, std::nullopt}, {1200, 0, 1}, {1150.5, 60, 2}}));
    EXPECT_EQ(saved.maxBidPrice, 2000) << "the fields left alone stay";
    EXPECT_EQ(saved.endDate, lamp.endDate);

    // A price that is no number is refused with a message, and nothing is saved.
    const std::string file = readFile(directory / "auctions.json");
    editPrice("12abc");
    EXPECT_TRUE(panel->isAddingItem());
    EXPECT_EQ(labelText(*panel, "auction-form-problem"), "The price is not a number (like 1,234.56).");
    EXPECT_EQ(readFile(directory / "auctions.json"), file);
    // Closing drops the edit: "+" opens an empty form that adds.
    pressNamed("auction-form-toggle");
    pressNamed("auction-form-toggle");
    EXPECT_EQ(form.titleEntry().get_text(), "");
    EXPECT_EQ(textOf(form.trackButton()), "Track Auction");
}

// Whether GTK draws the menu entry labelled `text` checked.
bool isCheckedEntry(Gtk::Widget& menu, const std::string& text) {
    auto* label = findLabel(menu, text);
    if (!label) return false;
    for (auto* part : findAll<Gtk::Widget>(*label->get_parent()))
        if ((part->get_state_flags() & Gtk::StateFlags::CHECKED) == Gtk::StateFlags::CHECKED) return true;
    return false;
}

TEST_F(AuctionPanelTest, RowMenusActOnTheirOwnItem) {
    auto menu = item("Menu", AuctionStatus::watching, 5, 9000);
    auto copied = item("Copied", AuctionStatus::watching, 5, std::nullopt, AuctionSite::mercari);
    copied.url = "https://jp.mercari.example/item/m123?ref=panel";
    auto gone = item("Gone", AuctionStatus::active, 5, 9500);
    open({menu, copied, gone});

    activate(auction_actions::kOpen, gone.id.toString());
    EXPECT_EQ(loadedUrl(state), "https://auctions.example/Gone");
    activate(auction_actions::kRemove, gone.id.toString());
    EXPECT_FALSE(listed("Gone"));
    EXPECT_EQ(readFile(directory / "auctions.json").find("Gone"), std::string::npos);
    EXPECT_NE(readFile(directory / "auctions.json").find("Copied"), std::string::npos);
    activate(auction_actions::kCopyUrl, copied.id.toString());
    auto clipboard = panel->get_display()->get_clipboard();
    std::optional<std::string> text;
    clipboard->read_text_async([&](const Glib::RefPtr<Gio::AsyncResult>& result) {
        text = std::string(clipboard->read_text_finish(result));
    });
    ASSERT_TRUE(runMainLoopUntil([&] { return text.has_value(); }));
    EXPECT_EQ(*text, copied.url);

    auto& shownRow = row("Menu");
    pointerAt(shownRow, "click 3");
    ASSERT_TRUE(runMainLoopUntil([&] { return shownRow.contextMenu().get_mapped(); }));
    std::vector<std::string> checked;
    for (AuctionStatus status : kAllAuctionStatuses)
        if (isCheckedEntry(shownRow.contextMenu(), std::string(rawValue(status)))) checked.emplace_back(rawValue(status));
    EXPECT_EQ(checked, std::vector<std::string>{"Watching"});
    settle();
    auto submenus = findAll<Gtk::Label>(shownRow.contextMenu(), [](Gtk::Label& label) {
        return label.get_text() == "Set Status" && label.get_mapped();  // not the title of its own page
    });
    ASSERT_EQ(submenus.size(), 1u);
    pointerAt(*submenus.front(), "click 1");
    auto* won = findLabel(shownRow.contextMenu(), "Won");
    ASSERT_TRUE(runMainLoopUntil([&] { return won->get_mapped(); }));
    settle();
    pointerAt(*won, "click 1");
    EXPECT_TRUE(runMainLoopUntil([&] { return store->items()->front().status == AuctionStatus::won; }));
    EXPECT_EQ(store->items()->back().status, AuctionStatus::watching);
}

TEST_F(AuctionPanelTest, ThousandsOfItemsBuildOnlyTheRowsOnScreen) {
    std::vector<AuctionItem> items;
    for (int i = 0; i < 3000; ++i) items.push_back(item("Lot " + std::to_string(i), AuctionStatus::active, i, 7200 + i * 60.0));
    open(items);
    EXPECT_EQ(panel->listModel()->get_n_items(), 3000u);
    const auto built = findAll<AuctionRow>(panel->listView()).size();
    EXPECT_GT(built, 5u);
    EXPECT_LT(built, 300u);  // GTK 4.8 keeps about 200 rows around the visible ones
    EXPECT_EQ(labelText(*rows().front(), "auction-title"), "Lot 0");
    // A change to one item refills the list in its new order.
    activate(auction_actions::kSetStatus, auction_actions::setStatusTarget(items[0].id, AuctionStatus::lost));
    EXPECT_EQ(panel->listModel()->get_n_items(), 2999u);
    EXPECT_EQ(labelText(*rows().front(), "auction-title"), "Lot 1");
}

}  // namespace
}  // namespace sarvik::testing

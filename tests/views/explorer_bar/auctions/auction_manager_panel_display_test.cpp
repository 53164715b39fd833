#include "views/explorer_bar/auctions/auction_panel_test_fixture.h"

#include "support/display/widget_screenshot.h"
#include "support/display/x_input.h"
#include "views/explorer_bar/auctions/auction_context_menu.h"
#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "support/display/widget_search.h"

#include <gdkmm/clipboard.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/togglebutton.h>

namespace sarvik {
namespace {

using testing::AuctionPanelTest;
using testing::findNamed;
using testing::isShown;
using testing::labelText;
using testing::makeItem;

bool hasClass(Gtk::Widget* widget, const char* cssClass) { return widget && widget->has_css_class(cssClass); }

void clickToggle(Gtk::Widget& root, const char* name) {
    auto* button = dynamic_cast<Gtk::ToggleButton*>(findNamed(root, name));
    ASSERT_NE(button, nullptr) << name;
    button->set_active(true);
}


std::string menuLabel(const Glib::RefPtr<Gio::MenuModel>& menu, int index) {
    const auto value = menu->get_item_attribute(index, Gio::MenuModel::Attribute::LABEL, Glib::VARIANT_TYPE_STRING);
    return Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get();
}

TEST_F(AuctionPanelTest, EmptyGroupsSayNoAuctionsAndOfferTheForm) {
    open();
    EXPECT_TRUE(isShown(&panel->emptyState()));
    EXPECT_EQ(labelText(*panel, "auction-empty-title"), "No active auctions");
    EXPECT_TRUE(isShown(findNamed(*panel, "auction-track-an-auction")));
    EXPECT_FALSE(isShown(findNamed(*panel, "auction-badge")));

    clickToggle(*panel, "auction-group-ended");
    settle();
    EXPECT_TRUE(panel->isShowingEndedItems());
    EXPECT_EQ(labelText(*panel, "auction-empty-title"), "No ended auctions");
    ASSERT_TRUE(isShown(findNamed(*panel, "auction-track-an-auction")));

    press(*dynamic_cast<Gtk::Button*>(findNamed(*panel, "auction-track-an-auction")));
    EXPECT_TRUE(panel->isAddingItem());
    EXPECT_TRUE(panel->addForm().get_mapped());
    auto* toggle = dynamic_cast<Gtk::Button*>(findNamed(*panel, "auction-form-toggle"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->get_icon_name(), "window-close-symbolic");
    press(*toggle);
    EXPECT_FALSE(panel->isAddingItem());
    EXPECT_EQ(toggle->get_icon_name(), "list-add-symbolic");
}

TEST_F(AuctionPanelTest, RowShowsStatusPriceTrendBidsAndMaxBidWarning) {
    const Date now = clock.now();
    auto rising = makeItem("Rising", AuctionSite::ebay, AuctionStatus::active, 150, now.addingSeconds(2 * 86400), now);
    rising.priceHistory.push_back({Uuid::random(), 150, now, 4});
    rising.priceHistory.front().price = 100.75;
    rising.bidCount = 1;
    auto falling = makeItem("Falling", AuctionSite::yahooAuctions, AuctionStatus::active, 800,
                            now.addingSeconds(3 * 86400), now);
    falling.priceHistory.front().price = 1000;
    falling.priceHistory.push_back({Uuid::random(), 800, now, std::nullopt});
    auto capped = makeItem("Capped", AuctionSite::yahooAuctions, AuctionStatus::watching, 1000,
                           now.addingSeconds(4 * 86400), now);
    capped.maxBidPrice = 1000;
    auto under = makeItem("Under", AuctionSite::yahooAuctions, AuctionStatus::watching, 999,
                          now.addingSeconds(5 * 86400), now);
    under.maxBidPrice = 1000;
    open({rising, falling, capped, under});

    auto* row = rowTitled("Rising");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(hasClass(findNamed(*row, "auction-status-icon"), "status-active"));
    EXPECT_EQ(labelText(*row, "auction-price"), "$150");
    auto* trend = findNamed(*row, "auction-trend");
    EXPECT_TRUE(isShown(trend));
    EXPECT_TRUE(hasClass(trend, "up"));
    EXPECT_EQ(std::string(static_cast<Gtk::Label*>(trend->get_last_child())->get_text()), "$49");
    EXPECT_EQ(labelText(*row, "auction-bids"), "1 bids");
    EXPECT_TRUE(isShown(findNamed(*row, "auction-bids")));
    EXPECT_EQ(labelText(*row, "auction-time"), "2d left");
    EXPECT_FALSE(hasClass(row, "last-hour"));
    EXPECT_FALSE(isShown(findNamed(*row, "auction-pulse-dot")));

    row = rowTitled("Falling");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(hasClass(findNamed(*row, "auction-trend"), "down"));
    EXPECT_FALSE(isShown(findNamed(*row, "auction-bids")));

    row = rowTitled("Capped");
    ASSERT_NE(row, nullptr);
    auto* warning = findNamed(*row, "auction-max-bid-warning");
    EXPECT_TRUE(isShown(warning));
    EXPECT_EQ(std::string(static_cast<Gtk::Label*>(warning->get_last_child())->get_text()),
              "Price exceeds max bid (\u00A51000)");
    row = rowTitled("Under");
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(isShown(findNamed(*row, "auction-max-bid-warning")));
}

TEST_F(AuctionPanelTest, LastHourItemIsHighlightedWhateverItsStatus) {
    const Date now = clock.now();
    auto soonWatched = makeItem("Soon watched", AuctionSite::mercari, AuctionStatus::watching, 10,
                                now.addingSeconds(1830), now);
    auto soonWon = makeItem("Soon won", AuctionSite::ebay, AuctionStatus::won, 10, now.addingSeconds(1859), now);
    auto later = makeItem("Later", AuctionSite::ebay, AuctionStatus::active, 10, now.addingSeconds(7200), now);
    auto undated = makeItem("Undated", AuctionSite::custom, AuctionStatus::watching, 10, std::nullopt, now);
    open({soonWatched, soonWon, later, undated});

    EXPECT_TRUE(isShown(findNamed(*panel, "auction-badge")));
    EXPECT_EQ(labelText(*panel, "auction-badge-count"), "2");

    auto check = [&](const std::string& title) {
        auto* row = rowTitled(title);
        ASSERT_NE(row, nullptr) << title;
        EXPECT_EQ(labelText(*row, "auction-time"), "30m left");
        EXPECT_TRUE(hasClass(findNamed(*row, "auction-time"), "last-hour"));
        EXPECT_TRUE(hasClass(row, "last-hour"));
        EXPECT_TRUE(isShown(findNamed(*row, "auction-pulse-dot")));
    };
    check("Soon watched");
    auto* later_row = rowTitled("Later");
    ASSERT_NE(later_row, nullptr);
    EXPECT_EQ(labelText(*later_row, "auction-time"), "2h left");
    EXPECT_FALSE(hasClass(findNamed(*later_row, "auction-time"), "last-hour"));
    EXPECT_FALSE(hasClass(later_row, "last-hour"));

    auto* undatedRow = rowTitled("Undated");
    ASSERT_NE(undatedRow, nullptr);
    EXPECT_FALSE(isShown(findNamed(*undatedRow, "auction-time")));
    EXPECT_FALSE(isShown(findNamed(*undatedRow, "auction-bullet")));

    clickToggle(*panel, "auction-group-ended");
    settle();
    check("Soon won");
}

TEST_F(AuctionPanelTest, TimeTextsFollowTheClockAtTheNextRedraw) {
    const Date now = clock.now();
    open({makeItem("Clocked", AuctionSite::ebay, AuctionStatus::watching, 5, now.addingSeconds(3700), now)});
    ASSERT_NE(rowTitled("Clocked"), nullptr);
    EXPECT_EQ(labelText(*rowTitled("Clocked"), "auction-time"), "1h left");
    EXPECT_FALSE(isShown(findNamed(*panel, "auction-badge")));

    clock.advance(200);
    state.isToolbarCollapsed = true;  // any published change of the browser state redraws
    settle();
    auto* row = rowTitled("Clocked");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(labelText(*row, "auction-time"), "58m left");
    EXPECT_TRUE(hasClass(row, "last-hour"));
    EXPECT_EQ(labelText(*panel, "auction-badge-count"), "1");
}

TEST_F(AuctionPanelTest, SettingWonMovesTheItemToTheTopOfEnded) {
    const Date now = clock.now();
    auto oldEnded = makeItem("Old ended", AuctionSite::ebay, AuctionStatus::ended, 5, now.addingSeconds(-500), now);
    auto running = makeItem("Running", AuctionSite::ebay, AuctionStatus::active, 5, now.addingSeconds(9000), now);
    open({oldEnded, running});
    ASSERT_NE(rowTitled("Running"), nullptr);

    clock.advance(60);
    activate(auction_actions::kSetStatus, auction_actions::setStatusTarget(running.id, AuctionStatus::won));
    EXPECT_EQ(rowTitled("Running"), nullptr);
    EXPECT_EQ(labelText(*panel, "auction-empty-title"), "No active auctions");

    clickToggle(*panel, "auction-group-ended");
    settle();
    const auto shown = rows();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(labelText(*shown[0], "auction-title"), "Running");
    EXPECT_TRUE(hasClass(findNamed(*shown[0], "auction-status-icon"), "status-won"));
    EXPECT_EQ(labelText(*shown[1], "auction-title"), "Old ended");
}

TEST_F(AuctionPanelTest, ContextMenuListsTheActionsOfTheItem) {
    const Uuid id = Uuid::random();
    auto menu = AuctionContextMenu::model(id);
    std::vector<std::string> labels;
    std::vector<std::string> statusLabels;
    for (int section = 0; section < menu->get_n_items(); ++section) {
        auto entries = menu->get_item_link(section, Gio::MenuModel::Link::SECTION);
        for (int i = 0; i < entries->get_n_items(); ++i) {
            labels.push_back(menuLabel(entries, i));
            if (auto submenu = entries->get_item_link(i, Gio::MenuModel::Link::SUBMENU)) {
                for (int s = 0; s < submenu->get_n_items(); ++s) {
                    statusLabels.push_back(menuLabel(submenu, s));
                }
            }
        }
    }
    EXPECT_EQ(menu->get_n_items(), 3);  // sections drawn with dividers between them
    EXPECT_EQ(labels, (std::vector<std::string>{"Open in Browser", "Set Status", "Copy URL", "Remove"}));
    EXPECT_EQ(statusLabels,
              (std::vector<std::string>{"Active", "Ending Soon", "Ended", "Won", "Lost", "Watching"}));
}

TEST_F(AuctionPanelTest, OpenNavigatesAndRemoveRewritesTheFile) {
    const Date now = clock.now();
    auto kept = makeItem("Kept", AuctionSite::ebay, AuctionStatus::active, 5, now.addingSeconds(9000), now);
    auto gone = makeItem("Gone", AuctionSite::ebay, AuctionStatus::active, 5, now.addingSeconds(9500), now);
    open({kept, gone});

    activate(auction_actions::kOpen, gone.id.toString());
    ASSERT_TRUE(state.navigationCommand->has_value());
    const auto* load = std::get_if<NavigationCommand::Load>(&state.navigationCommand.get()->action);
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->url.absoluteString(), "https://auctions.example/Gone");

    activate(auction_actions::kRemove, gone.id.toString());
    EXPECT_EQ(rowTitled("Gone"), nullptr);
    EXPECT_NE(rowTitled("Kept"), nullptr);
    const auto file = testing::readFile(dir / "auctions.json");
    EXPECT_EQ(file.find("Gone"), std::string::npos);
    EXPECT_NE(file.find("Kept"), std::string::npos);
}

TEST_F(AuctionPanelTest, CopyUrlPutsTheAddressOnTheClipboard) {
    const Date now = clock.now();
    auto item = makeItem("Copied", AuctionSite::mercari, AuctionStatus::watching, 5, std::nullopt, now);
    item.url = "https://jp.mercari.example/item/m123?ref=panel";
    open({item});

    activate(auction_actions::kCopyUrl, item.id.toString());
    auto clipboard = panel->get_display()->get_clipboard();
    std::optional<std::string> text;
    clipboard->read_text_async([&](const Glib::RefPtr<Gio::AsyncResult>& result) {
        text = std::string(clipboard->read_text_finish(result));
    });
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return text.has_value(); }));
    EXPECT_EQ(*text, item.url);
}

TEST_F(AuctionPanelTest, RefreshButtonEndsAnActiveItemPastItsEnd) {
    const Date now = clock.now();
    open({makeItem("Overdue", AuctionSite::ebay, AuctionStatus::active, 5, now.addingSeconds(-1), now)});
    ASSERT_NE(rowTitled("Overdue"), nullptr);
    EXPECT_EQ(labelText(*rowTitled("Overdue"), "auction-time"), "Ended");

    press(*dynamic_cast<Gtk::Button*>(findNamed(*panel, "auction-refresh")));
    EXPECT_EQ(store->items()->front().status, AuctionStatus::ended);
    EXPECT_EQ(rowTitled("Overdue"), nullptr);
    EXPECT_TRUE(isShown(&panel->emptyState()));
    clickToggle(*panel, "auction-group-ended");
    settle();
    ASSERT_NE(rowTitled("Overdue"), nullptr);
    EXPECT_TRUE(hasClass(findNamed(*rowTitled("Overdue"), "auction-status-icon"), "status-ended"));
}

TEST_F(AuctionPanelTest, PanelWithItemsInSeveralStates) {
    const Date now = clock.now();
    auto ending = makeItem("Vintage camera, boxed", AuctionSite::yahooAuctions, AuctionStatus::ending, 12500,
                           now.addingSeconds(1820), now);
    ending.priceHistory.front().price = 11000;
    ending.priceHistory.push_back({Uuid::random(), 12500, now, 7});
    ending.bidCount = 7;
    ending.maxBidPrice = 12000;
    auto active = makeItem("Mechanical keyboard", AuctionSite::ebay, AuctionStatus::active, 84.5,
                           now.addingSeconds(5 * 3600), now);
    active.priceHistory.front().price = 90;
    active.priceHistory.push_back({Uuid::random(), 84.5, now, 2});
    active.bidCount = 2;
    auto watched = makeItem("Denim jacket", AuctionSite::mercari, AuctionStatus::watching, 1200,
                            now.addingSeconds(3 * 86400), now);
    auto custom = makeItem("Record collection", AuctionSite::custom, AuctionStatus::watching, 300, std::nullopt, now);
    auto won = makeItem("Film lens", AuctionSite::ebay, AuctionStatus::won, 140, now.addingSeconds(-3600), now);
    open({ending, active, watched, custom, won});
    ASSERT_EQ(rows().size(), 4u);
    testing::saveScreenshotIfRequested(window, "auction-panel-active");

    clickToggle(*panel, "auction-group-ended");
    settle();
    ASSERT_EQ(rows().size(), 1u);
    testing::saveScreenshotIfRequested(window, "auction-panel-ended");
}

TEST_F(AuctionPanelTest, ThousandsOfItemsBuildOnlyTheRowsOnScreen) {
    const Date now = clock.now();
    std::vector<AuctionItem> items;
    for (int i = 0; i < 3000; ++i)
        items.push_back(makeItem("Lot " + std::to_string(i), AuctionSite::ebay, AuctionStatus::active, i,
                                 now.addingSeconds(7200 + i * 60.0), now));
    open(items);
    EXPECT_EQ(panel->listModel()->get_n_items(), 3000u);
    std::vector<Gtk::Widget*> built;
    testing::collectWidgets(
        panel->listView(), [](Gtk::Widget& w) { return dynamic_cast<AuctionRow*>(&w) != nullptr; }, built);
    EXPECT_GT(built.size(), 5u);
    EXPECT_LT(built.size(), 300u);  // GTK 4.8 keeps about 200 rows around the visible ones
    ASSERT_FALSE(rows().empty());
    EXPECT_EQ(labelText(*rows().front(), "auction-title"), "Lot 0");

    // A change to one item refills the list in its new order.
    activate(auction_actions::kSetStatus, auction_actions::setStatusTarget(items[0].id, AuctionStatus::lost));
    EXPECT_EQ(panel->listModel()->get_n_items(), 2999u);
    EXPECT_EQ(labelText(*rows().front(), "auction-title"), "Lot 1");
}

// Whether GTK draws the menu entry labelled `text` checked.
bool isCheckedEntry(Gtk::Widget& menu, const std::string& text) {
    auto* label = testing::findLabel(menu, text);
    if (!label) return false;
    for (auto* part : testing::findAll<Gtk::Widget>(*label->get_parent()))
        if ((part->get_state_flags() & Gtk::StateFlags::CHECKED) == Gtk::StateFlags::CHECKED) return true;
    return false;
}

TEST_F(AuctionPanelTest, SecondaryMenuOpensOnTheRowForItsItemWithItsStatusChecked) {
    const Date now = clock.now();
    auto item = makeItem("Menu", AuctionSite::ebay, AuctionStatus::watching, 5, now.addingSeconds(9000), now);
    open({item});
    auto* row = rowTitled("Menu");
    ASSERT_NE(row, nullptr);
    testing::pointerAt(*row, "click 3");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return row->contextMenu().get_mapped(); }));
    auto model = row->contextMenu().get_menu_model();
    ASSERT_TRUE(model);
    auto first = model->get_item_link(0, Gio::MenuModel::Link::SECTION);
    const auto target = first->get_item_attribute(0, Gio::MenuModel::Attribute::TARGET, Glib::VARIANT_TYPE_STRING);
    EXPECT_EQ(std::string(Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(target).get()), item.id.toString());
    std::vector<std::string> checked;
    for (AuctionStatus status : kAllAuctionStatuses)
        if (isCheckedEntry(row->contextMenu(), std::string(rawValue(status)))) checked.emplace_back(rawValue(status));
    EXPECT_EQ(checked, std::vector<std::string>{"Watching"});

    settle();
    auto submenus = testing::findAll<Gtk::Label>(row->contextMenu(), [](Gtk::Label& label) {
        return label.get_text() == "Set Status" && label.get_mapped();  // not the title of its own page
    });
    ASSERT_EQ(submenus.size(), 1u);
    testing::pointerAt(*submenus.front(), "click 1");
    auto* won = testing::findLabel(row->contextMenu(), "Won");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return won->get_mapped(); }));
    settle();
    testing::pointerAt(*won, "click 1");
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return store->items()->front().status == AuctionStatus::won; }));
}

TEST_F(AuctionPanelTest, PanelCssParsesForEveryTheme) {
    for (OrvelColorTheme theme : kAllColorThemes) {
        auto provider = Gtk::CssProvider::create();
        std::vector<std::string> errors;
        provider->signal_parsing_error().connect(
            [&](const Glib::RefPtr<const Gtk::CssSection>& section, const Glib::Error& error) {
                errors.push_back(std::string(section->to_string()) + ": " + std::string(error.what()));
            });
        provider->load_from_data(auctionPanelCss(theme));
        EXPECT_TRUE(errors.empty()) << rawValue(theme) << ": " << (errors.empty() ? "" : errors.front());
    }
}

}  // namespace
}  // namespace sarvik

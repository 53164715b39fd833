#include "views/explorer_bar/auctions/auction_panel_test_fixture.h"

#include "support/display/widget_screenshot.h"

namespace sarvik {
namespace {

using testing::AuctionPanelTest;
using testing::findNamed;
using testing::isShown;
using testing::labelText;

class AuctionAddFormTest : public AuctionPanelTest {
protected:
    void fill(AuctionSite site, const char* title, const char* url, const char* price, const char* maxBid = "") {
        panel->setAddingItem(true);
        auto& form = panel->addForm();
        form.setSite(site);
        form.titleEntry().set_text(title);
        form.urlEntry().set_text(url);
        form.priceEntry().set_text(price);
        form.maxBidEntry().set_text(maxBid);
        settle();
    }

    void track() {
        press(panel->addForm().trackButton());
    }
};

TEST_F(AuctionAddFormTest, MercariItemAppearsWithYenPriceAndNothingElse) {
    open();
    fill(AuctionSite::mercari, "Denim jacket", "https://jp.mercari.example/item/1", "1200");
    track();

    EXPECT_FALSE(panel->isAddingItem());
    ASSERT_EQ(store->items()->size(), 1u);
    const AuctionItem& added = store->items()->front();
    EXPECT_EQ(added.status, AuctionStatus::watching);
    EXPECT_EQ(added.site, AuctionSite::mercari);
    EXPECT_EQ(added.currentPrice, 1200);
    EXPECT_FALSE(added.maxBidPrice.has_value());
    ASSERT_TRUE(added.endDate.has_value());
    EXPECT_EQ(added.endDate->secondsSince(clock.now()), 259200);

    auto* row = rowTitled("Denim jacket");
    ASSERT_NE(row, nullptr);
    auto* icon = dynamic_cast<Gtk::Image*>(findNamed(*row, "auction-status-icon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->get_icon_name(), "view-reveal-symbolic");
    EXPECT_TRUE(icon->has_css_class("status-watching"));
    EXPECT_EQ(labelText(*row, "auction-price"), "\u00A51,200");
    EXPECT_EQ(labelText(*row, "auction-site-name"), "Mercari");
    EXPECT_FALSE(isShown(findNamed(*row, "auction-trend")));
    EXPECT_FALSE(isShown(findNamed(*row, "auction-bids")));
    EXPECT_FALSE(isShown(findNamed(*row, "auction-max-bid-warning")));
    EXPECT_NE(testing::readFile(dir / "auctions.json").find("Denim jacket"), std::string::npos);

    // The form starts over after adding.
    panel->setAddingItem(true);
    EXPECT_EQ(panel->addForm().titleEntry().get_text(), "");
    EXPECT_EQ(panel->addForm().site(), AuctionSite::yahooAuctions);
}

TEST_F(AuctionAddFormTest, PricesReadAsTheLocaleWritesThemAndAnUnreadableOneIsRefusedWithAMessage) {
    open();
    fill(AuctionSite::mercari, "Grouped", "u1", "1,200", "1,000.50");
    track();
    ASSERT_EQ(store->items()->size(), 1u);
    EXPECT_EQ(store->items()->front().currentPrice, 1200);
    EXPECT_EQ(store->items()->front().maxBidPrice, 1000.5);

    fill(AuctionSite::ebay, "Unreadable", "u2", "abc");
    track();
    EXPECT_TRUE(panel->isAddingItem());
    EXPECT_TRUE(isShown(findNamed(*panel, "auction-form-problem")));
    EXPECT_EQ(labelText(*panel, "auction-form-problem"), "The price is not a number (like 1,234.56).");
    panel->addForm().priceEntry().set_text("5");
    panel->addForm().maxBidEntry().set_text("5 dollars");
    track();
    EXPECT_EQ(labelText(*panel, "auction-form-problem"), "The max bid is not a number (like 1,234.56).");
    EXPECT_EQ(store->items()->size(), 1u);

    panel->addForm().maxBidEntry().set_text("");  // none
    EXPECT_FALSE(isShown(findNamed(*panel, "auction-form-problem")));
    track();
    ASSERT_EQ(store->items()->size(), 2u);
    EXPECT_FALSE(store->items()->back().maxBidPrice.has_value());
}

TEST_F(AuctionAddFormTest, TrackAuctionNeedsTitleAndAddress) {
    open();
    fill(AuctionSite::yahooAuctions, "Lamp", "", "500");
    auto& trackButton = panel->addForm().trackButton();
    EXPECT_FALSE(trackButton.get_sensitive());
    track();
    EXPECT_TRUE(store->items()->empty());
    EXPECT_TRUE(panel->isAddingItem());

    panel->addForm().urlEntry().set_text("x");
    EXPECT_TRUE(trackButton.get_sensitive());
    panel->addForm().titleEntry().set_text("");
    EXPECT_FALSE(trackButton.get_sensitive());
    panel->addForm().titleEntry().set_text(" ");  // a blank title counts as typed
    EXPECT_TRUE(trackButton.get_sensitive());
}

TEST_F(AuctionAddFormTest, CurrencySignsFollowTheChosenSite) {
    open();
    panel->setAddingItem(true);
    auto& form = panel->addForm();
    for (AuctionSite site : kAllAuctionSites) {
        form.setSite(site);
        settle();
        const std::string sign(currencySign(site));
        EXPECT_EQ(labelText(form, "auction-price-sign"), sign);
        EXPECT_EQ(labelText(form, "auction-max-bid-sign"), sign);
        EXPECT_EQ(isShown(findNamed(form, "auction-price-sign")), !sign.empty());
    }
}

TEST_F(AuctionAddFormTest, EndDateComesFromTheCalendarAndSpinners) {
    open();
    fill(AuctionSite::ebay, "Dated", "https://ebay.example/1", "10", "20");
    auto& picker = panel->addForm().endDatePicker();
    picker.calendar().select_day(Glib::DateTime::create_utc(2030, 5, 17, 0, 0, 0));
    picker.hourSpinner().set_value(14);
    picker.minuteSpinner().set_value(45);
    track();
    ASSERT_EQ(store->items()->size(), 1u);
    const Date expected = Date::fromUnixTime(static_cast<double>(Glib::DateTime::create_utc(2030, 5, 17, 14, 45, 0).to_unix()));
    EXPECT_EQ(store->items()->front().endDate, expected);
    EXPECT_EQ(store->items()->front().maxBidPrice, 20);
}

TEST_F(AuctionAddFormTest, CancelClosesAndEmptiesTheFormButTheToggleKeepsIt) {
    open();
    fill(AuctionSite::ebay, "Kept text", "https://x.example", "5");
    panel->header().signalFormToggled().emit();
    EXPECT_FALSE(panel->isAddingItem());
    panel->header().signalFormToggled().emit();
    EXPECT_EQ(panel->addForm().titleEntry().get_text(), "Kept text");

    press(panel->addForm().cancelButton());
    EXPECT_FALSE(panel->isAddingItem());
    EXPECT_EQ(panel->addForm().titleEntry().get_text(), "");
    EXPECT_EQ(panel->addForm().site(), AuctionSite::yahooAuctions);
    EXPECT_TRUE(store->items()->empty());
}

TEST_F(AuctionAddFormTest, FormScreenshot) {
    open();
    fill(AuctionSite::mercari, "Denim jacket", "https://jp.mercari.example/item/1", "1200");
    ASSERT_TRUE(panel->addForm().get_mapped());
    testing::saveScreenshotIfRequested(window, "auction-panel-add-form");
}

}  // namespace
}  // namespace sarvik

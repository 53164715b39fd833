#include "views/explorer_bar/auctions/auction_row.h"

#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "views/explorer_bar/auctions/auction_symbols.h"

#include <giomm/simpleactiongroup.h>
#include <glibmm/variant.h>

#include <cmath>
#include <limits>
#include <string>

namespace sarvik {
namespace {

Glib::ustring text(std::string_view value) { return Glib::ustring(std::string(value)); }

void setClass(Gtk::Widget& widget, const char* cssClass, bool isOn) {
    if (isOn)
        widget.add_css_class(cssClass);
    else
        widget.remove_css_class(cssClass);
}

}  // namespace

long long wholeAmount(double value) {
    if (std::isnan(value)) return 0;
    const double whole = std::trunc(value);
    constexpr double kLimit = 9223372036854775807.0;
    if (whole >= kLimit) return std::numeric_limits<long long>::max();
    if (whole <= -kLimit) return std::numeric_limits<long long>::min();
    return static_cast<long long>(whole);
}

AuctionRow::AuctionRow() : Gtk::Box(Gtk::Orientation::VERTICAL, 0) {
    set_name("auction-row");
    add_css_class("auction-row");
    m_mainLine.add_css_class("auction-main-line");
    buildStatusColumn();
    buildTextColumn();
    buildPriceColumn();
    append(m_mainLine);
    buildWarning();
    m_menu.set_parent(*this);

    m_click = Gtk::GestureClick::create();
    m_click->set_button(0);
    m_click->signal_pressed().connect(sigc::mem_fun(*this, &AuctionRow::onPressed));
    m_click->signal_released().connect(sigc::mem_fun(*this, &AuctionRow::onReleased));
    m_mainLine.add_controller(m_click);
    addKeyActions();
}

// What the list's keys ask of a row: its menu, or what its "Remove" does.
void AuctionRow::addKeyActions() {
    auto actions = Gio::SimpleActionGroup::create();
    actions->add_action("open-menu", [this] { m_menu.popupFor(m_id, m_status, 16, get_height() / 2.0); });
    actions->add_action("delete", [this] {
        activate_action(auction_actions::detailed(auction_actions::kRemove),
                        Glib::Variant<Glib::ustring>::create(m_id.toString()));
    });
    insert_action_group("row", actions);
}

AuctionRow::~AuctionRow() { m_menu.unparent(); }

void AuctionRow::buildStatusColumn() {
    m_statusColumn.set_size_request(20, -1);
    m_statusColumn.set_valign(Gtk::Align::CENTER);
    m_statusIcon.set_name("auction-status-icon");
    m_statusIcon.add_css_class("auction-status-icon");
    m_pulseDot.set_name("auction-pulse-dot");
    m_pulseDot.add_css_class("auction-pulse-dot");
    m_pulseDot.set_halign(Gtk::Align::CENTER);
    m_statusColumn.append(m_statusIcon);
    m_statusColumn.append(m_pulseDot);
    m_mainLine.append(m_statusColumn);
}

void AuctionRow::buildTextColumn() {
    m_textColumn.set_hexpand(true);
    m_textColumn.set_valign(Gtk::Align::CENTER);
    m_title.set_name("auction-title");
    m_title.add_css_class("auction-title");
    m_title.set_xalign(0);
    m_title.set_wrap(true);
    m_title.set_lines(2);
    m_title.set_ellipsize(Pango::EllipsizeMode::END);
    m_siteLine.add_css_class("auction-site-line");
    m_siteName.set_name("auction-site-name");
    m_bullet.set_name("auction-bullet");
    m_time.set_name("auction-time");
    m_time.add_css_class("auction-time");
    m_siteLine.append(m_siteSymbol);
    m_siteLine.append(m_siteName);
    m_siteLine.append(m_bullet);
    m_siteLine.append(m_time);
    m_textColumn.append(m_title);
    m_textColumn.append(m_siteLine);
    m_mainLine.append(m_textColumn);
}

void AuctionRow::buildPriceColumn() {
    m_priceColumn.set_valign(Gtk::Align::CENTER);
    m_priceColumn.set_halign(Gtk::Align::END);
    m_price.set_name("auction-price");
    m_price.add_css_class("auction-price");
    m_price.set_xalign(1);
    m_trend.set_name("auction-trend");
    m_trend.add_css_class("auction-trend");
    m_trend.set_halign(Gtk::Align::END);
    m_trend.append(m_trendIcon);
    m_trend.append(m_trendText);
    m_bids.set_name("auction-bids");
    m_bids.add_css_class("auction-bids");
    m_bids.set_xalign(1);
    m_priceColumn.append(m_price);
    m_priceColumn.append(m_trend);
    m_priceColumn.append(m_bids);
    m_mainLine.append(m_priceColumn);
}

void AuctionRow::buildWarning() {
    m_warning.set_name("auction-max-bid-warning");
    m_warning.add_css_class("auction-max-bid-warning");
    m_warningIcon.set_from_icon_name(std::string(auction_symbols::kWarning));
    m_warningText.set_xalign(0);
    m_warning.append(m_warningIcon);
    m_warning.append(m_warningText);
    append(m_warning);
}

void AuctionRow::bind(const AuctionItem& item, Date now) {
    m_id = item.id;
    m_status = item.status;
    const bool isLastHour = endsWithinTheHour(item, now);
    setClass(*this, "last-hour", isLastHour);
    bindStatus(item, isLastHour);
    bindTexts(item, now, isLastHour);
    bindPrice(item);
    bindWarning(item);
}

void AuctionRow::bindStatus(const AuctionItem& item, bool isLastHour) {
    for (AuctionStatus status : kAllAuctionStatuses)
        m_statusIcon.remove_css_class(std::string(auction_symbols::statusCssClass(status)));
    m_statusIcon.add_css_class(std::string(auction_symbols::statusCssClass(item.status)));
    m_statusIcon.set_from_icon_name(std::string(auction_symbols::statusIcon(item.status)));
    m_statusIcon.set_tooltip_text(text(rawValue(item.status)));
    m_pulseDot.set_visible(isLastHour);
}

void AuctionRow::bindTexts(const AuctionItem& item, Date now, bool isLastHour) {
    m_title.set_text(item.title);
    m_siteSymbol.setSite(item.site);
    m_siteName.set_text(text(rawValue(item.site)));
    const auto left = item.timeRemaining(now);
    m_bullet.set_visible(left.has_value());
    m_time.set_visible(left.has_value());
    m_time.set_text(left ? Glib::ustring(*left) : Glib::ustring());
    setClass(m_time, "last-hour", isLastHour);
}

void AuctionRow::bindPrice(const AuctionItem& item) {
    m_price.set_text(item.formattedPrice());
    const auto change = item.priceChange();
    const bool hasTrend = change && *change != 0;
    m_trend.set_visible(hasTrend);
    if (hasTrend) {
        const bool isUp = *change > 0;
        setClass(m_trend, "up", isUp);
        setClass(m_trend, "down", !isUp);
        m_trendIcon.set_from_icon_name(std::string(isUp ? auction_symbols::kTrendUp : auction_symbols::kTrendDown));
        const long long amount = wholeAmount(std::fabs(*change));
        m_trendText.set_text(std::string(currencySign(item.site)) + std::to_string(amount));
    }
    m_bids.set_visible(item.bidCount >= 1);
    m_bids.set_text(std::to_string(item.bidCount) + " bids");
}

void AuctionRow::bindWarning(const AuctionItem& item) {
    const bool isOverMax = item.maxBidPrice && *item.maxBidPrice <= item.currentPrice;
    m_warning.set_visible(isOverMax);
    if (isOverMax)
        m_warningText.set_text("Price exceeds max bid (" + std::string(currencySign(item.site)) +
                               std::to_string(wholeAmount(*item.maxBidPrice)) + ")");
}

void AuctionRow::onPressed(int, double x, double y) {
    if (m_click->get_current_button() != 3) return;
    double rowX = x, rowY = y;
    m_mainLine.translate_coordinates(*this, x, y, rowX, rowY);
    m_menu.popupFor(m_id, m_status, rowX, rowY);
    m_click->set_state(Gtk::EventSequenceState::CLAIMED);
}

void AuctionRow::onReleased(int pressCount, double, double) {
    if (m_click->get_current_button() != 1 || pressCount != 1) return;
    activate_action(auction_actions::detailed(auction_actions::kOpen),
                    Glib::Variant<Glib::ustring>::create(m_id.toString()));
}

}  // namespace sarvik

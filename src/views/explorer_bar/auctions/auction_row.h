#pragma once

#include "core/date.h"
#include "core/uuid.h"
#include "stores/auction_item.h"
#include "views/explorer_bar/auctions/auction_context_menu.h"
#include "views/explorer_bar/auctions/auction_site_symbol.h"

#include <gtkmm/box.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {

// One auction in the list: status symbol (with the pulsing dot in the last
// hour), title, site and time left, price with trend and bids, and the
// max-bid warning. A click opens the item through the panel's "open" action;
// a secondary click opens its context menu. Rows are reused by the list, so
// bind() sets every part from the item.
class AuctionRow : public Gtk::Box {
public:
    AuctionRow();
    ~AuctionRow() override;

    void bind(const AuctionItem& item, Date now);
    const Uuid& itemId() const { return m_id; }
    AuctionContextMenu& contextMenu() { return m_menu; }

private:
    void addKeyActions();
    void buildStatusColumn();
    void buildTextColumn();
    void buildPriceColumn();
    void buildWarning();
    void bindStatus(const AuctionItem& item, bool isLastHour);
    void bindTexts(const AuctionItem& item, Date now, bool isLastHour);
    void bindPrice(const AuctionItem& item);
    void bindWarning(const AuctionItem& item);
    void onPressed(int pressCount, double x, double y);
    void onReleased(int pressCount, double x, double y);

    Uuid m_id;
    AuctionStatus m_status = AuctionStatus::watching;
    Gtk::Box m_mainLine{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Box m_statusColumn{Gtk::Orientation::VERTICAL, 2};
    Gtk::Image m_statusIcon;
    Gtk::Box m_pulseDot;
    Gtk::Box m_textColumn{Gtk::Orientation::VERTICAL, 2};
    Gtk::Label m_title;
    Gtk::Box m_siteLine{Gtk::Orientation::HORIZONTAL, 4};
    AuctionSiteSymbol m_siteSymbol;
    Gtk::Label m_siteName;
    Gtk::Label m_bullet{"\u2022"};
    Gtk::Label m_time;
    Gtk::Box m_priceColumn{Gtk::Orientation::VERTICAL, 2};
    Gtk::Label m_price;
    Gtk::Box m_trend{Gtk::Orientation::HORIZONTAL, 1};
    Gtk::Image m_trendIcon;
    Gtk::Label m_trendText;
    Gtk::Label m_bids;
    Gtk::Box m_warning{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Image m_warningIcon;
    Gtk::Label m_warningText;
    AuctionContextMenu m_menu;
    Glib::RefPtr<Gtk::GestureClick> m_click;
};

// A whole number for the trend and warning texts: truncated toward zero, and
// clamped to the 64-bit range so that huge values still print.
long long wholeAmount(double value);

}  // namespace sarvik

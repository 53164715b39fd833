#pragma once

#include "core/date.h"
#include "stores/auction_item.h"
#include "views/explorer_bar/auctions/date_time_picker.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <sigc++/signal.h>

#include <optional>
#include <string>

namespace sarvik {

// What the form holds when "Track Auction" is pressed, its prices read as the
// user's locale writes numbers: an empty price is 0, an empty maximum bid none.
struct NewAuction {
    std::string title;
    std::string url;
    AuctionSite site = AuctionSite::yahooAuctions;
    double price = 0.0;
    Date endDate;
    std::optional<double> maxBidPrice;
};

// The form that adds an auction by hand: site, title, address, price, end
// date and maximum bid. "Track Auction" stays disabled while the title or the
// address is empty, and refuses, saying why, a price or maximum bid that is
// not a number; the currency signs follow the chosen site at once.
class AuctionAddForm : public Gtk::Box {
public:
    AuctionAddForm();

    // Empties the texts, chooses the first site and sets the end date.
    void reset(Date endDate);

    AuctionSite site() const;
    void setSite(AuctionSite site);
    NewAuction values() const;
    // Why the form cannot be added as it is (a price that is not a number); empty when it can.
    std::string problem() const;

    Gtk::Entry& titleEntry() { return m_title; }
    Gtk::Entry& urlEntry() { return m_url; }
    Gtk::Entry& priceEntry() { return m_price; }
    Gtk::Entry& maxBidEntry() { return m_maxBid; }
    Gtk::Button& trackButton() { return m_track; }
    Gtk::Button& cancelButton() { return m_cancel; }
    DateTimePicker& endDatePicker() { return m_endDate; }

    sigc::signal<void(const NewAuction&)>& signalTrack() { return m_trackRequested; }
    sigc::signal<void()>& signalCancel() { return m_cancelled; }

private:
    Gtk::Box& addRow(const char* label);
    void setUpEntry(Gtk::Entry& entry, const char* name, const char* placeholder);
    void buildButtons();
    void updateSigns();
    void updateTrackButton();
    void track();

    Gtk::DropDown m_site;
    Gtk::Entry m_title;
    Gtk::Entry m_url;
    Gtk::Label m_priceSign;
    Gtk::Entry m_price;
    DateTimePicker m_endDate;
    Gtk::Label m_maxBidSign;
    Gtk::Entry m_maxBid;
    Gtk::Label m_problem;
    Gtk::Button m_cancel{"Cancel"};
    Gtk::Button m_track;
    sigc::signal<void(const NewAuction&)> m_trackRequested;
    sigc::signal<void()> m_cancelled;
};

}  // namespace sarvik

#pragma once

#include "core/date.h"
#include "stores/auction_item.h"
#include "stores/auction_store.h"
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

// The form that adds an auction by hand, or edits one: site, title, address,
// price, end date and maximum bid. Its button ("Track Auction", or "Save
// Changes" while editing) stays disabled while the title or the address is
// empty, and refuses, saying why, a price or maximum bid that is not a number;
// Return in a field presses it. The currency signs follow the chosen site at once.
class AuctionAddForm : public Gtk::Box {
public:
    AuctionAddForm();

    // For adding: empties the texts, chooses the first site and sets the end date.
    void reset(Date endDate);
    // For editing: the item's fields, its prices as the user's locale writes
    // them; an item without an end date gets `endDate`.
    void fill(const AuctionItem& item, Date endDate);
    bool isEditing() const { return m_filled.has_value(); }

    AuctionSite site() const;
    void setSite(AuctionSite site);
    // The prices read as the user's locale writes numbers: an empty price is 0,
    // an empty maximum bid none. A price left as filled in is the item's own.
    AuctionFields values() const;
    // Why the form cannot be added as it is (a price that is not a number); empty when it can.
    std::string problem() const;

    Gtk::Entry& titleEntry() { return m_title; }
    Gtk::Entry& urlEntry() { return m_url; }
    Gtk::Entry& priceEntry() { return m_price; }
    Gtk::Entry& maxBidEntry() { return m_maxBid; }
    Gtk::Button& trackButton() { return m_track; }
    Gtk::Button& cancelButton() { return m_cancel; }
    DateTimePicker& endDatePicker() { return m_endDate; }

    sigc::signal<void(const AuctionFields&)>& signalTrack() { return m_trackRequested; }
    sigc::signal<void()>& signalCancel() { return m_cancelled; }

private:
    // The prices an edited item had and the texts they were shown as: the text
    // shows fewer decimals than a stored price may have.
    struct FilledPrices {
        std::string price;
        double priceValue = 0.0;
        std::string maxBid;
        std::optional<double> maxBidValue;
    };

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
    Gtk::Label m_trackLabel{"Track Auction"};
    std::optional<FilledPrices> m_filled;
    sigc::signal<void(const AuctionFields&)> m_trackRequested;
    sigc::signal<void()> m_cancelled;
};

}  // namespace sarvik

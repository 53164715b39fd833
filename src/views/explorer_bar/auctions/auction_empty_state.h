#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <sigc++/signal.h>

namespace sarvik {

// What an empty group shows: its symbol, "No active auctions" or "No ended
// auctions", the sites one can track, and the "Track an Auction" button.
class AuctionEmptyState : public Gtk::Box {
public:
    AuctionEmptyState();

    void setShowingEnded(bool isEnded);
    sigc::signal<void()>& signalTrack() { return m_track; }

private:
    Gtk::Image m_icon;
    Gtk::Label m_title;
    Gtk::Label m_subtitle{"Track auctions from\nYahoo! Auctions, eBay, Mercari"};
    Gtk::Button m_trackButton;
    sigc::signal<void()> m_track;
};

}  // namespace sarvik

#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/auction_store.h"
#include "views/common/ending_soon_refresh.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/spinner.h>

// The status bar's items, each observing only what it shows.
namespace sarvik {

// "Loading..." with a spinner while the active tab loads, otherwise "Done"
// with a check mark (also when there is no active tab).
class LoadStateIndicator : public Gtk::Box {
public:
    explicit LoadStateIndicator(BrowserState& browserState);
    const Gtk::Label& label() const { return m_label; }

private:
    void refresh();

    BrowserState& m_browserState;
    Gtk::Spinner m_spinner;
    Gtk::Image m_doneIcon;
    Gtk::Label m_label;
    ConnectionSet m_connections;
};

// "N ending soon", shown only while some auction ends within the hour; a
// click, or Return or Space with the focus on it, opens the explorer bar on
// the Auction Manager. A box of its own height rather than a button, so the
// status bar keeps its height.
class AuctionBadge : public Gtk::Box {
public:
    AuctionBadge(BrowserState& browserState, AuctionStore& auctionStore);
    void refresh();
    void showAuctions();
    const Gtk::Label& label() const { return m_label; }

private:
    BrowserState& m_browserState;
    AuctionStore& m_auctionStore;
    Gtk::Image m_icon;
    Gtk::Label m_label;
    EndingSoonRefresh m_endingSoon;
};

// "N tabs", shown only with two tabs or more.
class TabCountLabel : public Gtk::Label {
public:
    explicit TabCountLabel(BrowserState& browserState);

private:
    void refresh();

    BrowserState& m_browserState;
    ConnectionSet m_connections;
};

// The page zoom in whole percent, shown only when it is not exactly 100 %.
class ZoomBadge : public Gtk::Label {
public:
    explicit ZoomBadge(BrowserState& browserState);

private:
    void refresh();

    BrowserState& m_browserState;
    ConnectionSet m_connections;
};

// A small dot in the theme's primary colour (drawn by the theme's CSS),
// naming the theme in its tooltip.
class ThemeSwatch : public Gtk::Box {
public:
    explicit ThemeSwatch(BrowserState& browserState);

private:
    void refresh();

    BrowserState& m_browserState;
    ConnectionSet m_connections;
};

}  // namespace sarvik

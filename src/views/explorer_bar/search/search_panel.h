#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/image.h>

namespace sarvik {

// The explorer bar's web search panel: a field bound to the shared search
// text and a "Search" button; both run the text through the address rule in
// the active tab. The text is kept after a search, so searching again repeats it.
class SearchPanel : public Gtk::Box {
public:
    explicit SearchPanel(BrowserState& state);

    Gtk::Entry& field() { return m_field; }
    Gtk::Button& searchButton() { return m_searchButton; }
    void search();

private:
    void showSearchText();

    BrowserState& m_state;
    Gtk::Box m_box{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Image m_icon;
    Gtk::Entry m_field;
    Gtk::Button m_searchButton{"Search"};
    ConnectionSet m_connections;
};

}  // namespace sarvik

#pragma once

#include "stores/browser_data_store.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/window.h>

#include <vector>

namespace sarvik {

// File → "Restore Favorites…": the kept daily copies of the favorites, newest
// first, one of which replaces the current favorites. At most a handful of
// copies are kept, so a plain list box holds them.
class RestoreFavoritesDialog : public Gtk::Window {
public:
    RestoreFavoritesDialog(Gtk::Window& parent, BrowserDataStore& dataStore);

    // The copies listed, in their order on screen.
    const std::vector<FavoritesBackup>& backups() const { return m_backups; }
    Gtk::ListBox& list() { return m_list; }
    Gtk::Button& restoreButton() { return m_restore; }
    const Gtk::Label& notice() const { return m_notice; }

private:
    void fillList();
    void restoreSelected();

    BrowserDataStore& m_dataStore;
    std::vector<FavoritesBackup> m_backups;
    Gtk::Box m_content{Gtk::Orientation::VERTICAL, 8};
    Gtk::Label m_notice;
    Gtk::ListBox m_list;
    Gtk::Box m_buttons{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Button m_cancel{"Cancel"};
    Gtk::Button m_restore{"Restore"};
};

}  // namespace sarvik

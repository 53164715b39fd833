#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "views/toolbar/tab_item.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/scrolledwindow.h>

#include <memory>
#include <vector>

namespace sarvik {

// The row of tabs under the main toolbar row, shown only while two or more
// tabs are open; it scrolls sideways without scroll bars. Items are kept per
// tab id: tab-list changes add and remove single items, and field changes
// (a loading tab's progress) update the items in place. Closing is carried out from the main loop, after the close
// button's own click handling has finished with the item it removes.
class TabStrip : public Gtk::ScrolledWindow {
public:
    explicit TabStrip(BrowserState& state);

    std::size_t itemCount() const { return m_items.size(); }
    TabItem& item(std::size_t index) { return *m_items.at(index); }
    Gtk::Button& newTabButton() { return m_newTab; }

private:
    void refresh();
    void apply(const TabListChange& change);
    void insertItem(std::size_t position, const BrowserTab& tab);
    void removeItem(const Uuid& id);
    void moveItem(const Uuid& id, std::size_t position);
    void scrollToActiveSoon();
    TabItem* activeItem();
    std::vector<std::unique_ptr<TabItem>>::iterator findItem(const Uuid& id);
    void scrollTo(TabItem& item);
    void closeLater(const Uuid& id);

    BrowserState& m_state;
    Gtk::Box m_row{Gtk::Orientation::HORIZONTAL, 2};
    Gtk::Button m_newTab;
    std::vector<std::unique_ptr<TabItem>> m_items;
    std::vector<Uuid> m_pendingCloses;
    ScopedConnection m_pendingClose;
    Uuid m_shownActiveId;
    guint m_scrollTick = 0;
    ConnectionSet m_connections;
};

}  // namespace sarvik

#include "views/toolbar/tab_strip.h"

#include "views/toolbar/toolbar_symbols.h"
#include "core/main_loop_hop.h"

#include <gtkmm/adjustment.h>

#include <algorithm>
#include <utility>

namespace sarvik {

TabStrip::TabStrip(BrowserState& state) : m_state(state) {
    set_name("tab-strip");
    set_policy(Gtk::PolicyType::EXTERNAL, Gtk::PolicyType::NEVER);
    set_has_frame(false);
    set_margin_bottom(2);
    m_row.set_margin_start(8);
    m_row.set_margin_end(8);
    m_newTab.set_name("new-tab-button");
    m_newTab.add_css_class("orvel-tab-new");
    m_newTab.set_has_frame(false);
    m_newTab.set_focus_on_click(false);
    m_newTab.set_icon_name(symbols::kNewTab);
    m_newTab.set_valign(Gtk::Align::CENTER);
    m_newTab.signal_clicked().connect([this] { m_state.newTab(); });
    m_row.append(m_newTab);
    set_child(m_row);

    for (std::size_t i = 0; i < m_state.tabs->size(); ++i) insertItem(i, m_state.tabs->at(i));
    m_connections += m_state.tabListChanged().connect(sigc::mem_fun(*this, &TabStrip::apply));
    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &TabStrip::refresh));
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &TabStrip::refresh));
    refresh();
}

// Items are matched by id: during an operation the list may already hold a
// tab whose item arrives with the operation's change record.
void TabStrip::refresh() {
    for (const auto& item : m_items)
        if (const BrowserTab* tab = m_state.findTab(item->tabId()))
            item->show(*tab, tab->id == m_state.activeTabId.get());
    set_visible(m_state.tabs->size() >= 2);
    if (m_state.activeTabId.get() != m_shownActiveId) {
        m_shownActiveId = m_state.activeTabId.get();
        scrollToActiveSoon();
    }
}

// The active item's place is known only once GTK has laid the row out, and a
// moved item's old place may still be on record in the first frame, so the
// strip follows it over two laid-out frames.
void TabStrip::scrollToActiveSoon() {
    if (m_scrollTick) return;
    m_scrollTick = add_tick_callback([this, laidOutFrames = 0](const Glib::RefPtr<Gdk::FrameClock>&) mutable {
        TabItem* active = activeItem();
        const bool laidOut = active && active->get_width() > 0;
        if (laidOut) scrollTo(*active);
        const bool again = active && (!laidOut || ++laidOutFrames < 2);
        if (!again) m_scrollTick = 0;
        return again;
    });
}

TabItem* TabStrip::activeItem() {
    const auto found = findItem(m_state.activeTabId.get());
    return found == m_items.end() ? nullptr : found->get();
}

std::vector<std::unique_ptr<TabItem>>::iterator TabStrip::findItem(const Uuid& id) {
    return std::find_if(m_items.begin(), m_items.end(), [&](const auto& item) { return item->tabId() == id; });
}

void TabStrip::scrollTo(TabItem& item) {
    double x = 0, y = 0;
    if (!item.translate_coordinates(m_row, 0, 0, x, y)) return;
    auto scroll = get_hadjustment();
    const double width = item.get_width(), shown = scroll->get_page_size();
    if (x < scroll->get_value())
        scroll->set_value(x);
    else if (x + width > scroll->get_value() + shown)
        scroll->set_value(x + width - shown);
}

void TabStrip::apply(const TabListChange& change) {
    for (const BrowserTab& tab : change.removed) removeItem(tab.id);
    for (const auto& insertion : change.inserted) insertItem(insertion.position, insertion.tab);
    for (const auto& move : change.moved) moveItem(move.id, move.position);
    refresh();
}

void TabStrip::moveItem(const Uuid& id, std::size_t position) {
    const auto found = findItem(id);
    if (found == m_items.end()) return;
    std::unique_ptr<TabItem> item = std::move(*found);
    m_items.erase(found);
    position = std::min(position, m_items.size());
    if (position == 0)
        m_row.reorder_child_at_start(*item);
    else
        m_row.reorder_child_after(*item, *m_items[position - 1]);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
}

void TabStrip::insertItem(std::size_t position, const BrowserTab& tab) {
    position = std::min(position, m_items.size());
    auto item = std::make_unique<TabItem>(tab);
    // The item's signals die with it, so they need no connection bookkeeping.
    item->selectRequested().connect([this](Uuid id) { m_state.selectTab(id); });
    item->closeRequested().connect([this](Uuid id) { closeLater(id); });
    if (position == 0)
        m_row.prepend(*item);
    else
        m_row.insert_child_after(*item, *m_items[position - 1]);  // the new-tab button stays last
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
}

void TabStrip::removeItem(const Uuid& id) {
    const auto found = findItem(id);
    if (found == m_items.end()) return;
    m_row.remove(**found);
    m_items.erase(found);
}

void TabStrip::closeLater(const Uuid& id) {
    m_pendingCloses.push_back(id);
    if (m_pendingClose.connected()) return;
    m_pendingClose = scheduleSoon([this] {
        const std::vector<Uuid> ids = std::exchange(m_pendingCloses, {});
        for (const Uuid& each : ids) m_state.closeTab(each);
    });
}

}  // namespace sarvik

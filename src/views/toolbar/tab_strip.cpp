#include "views/toolbar/tab_strip.h"

#include "views/toolbar/toolbar_symbols.h"
#include "core/main_loop_hop.h"

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

    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &TabStrip::refresh));
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &TabStrip::refresh));
    refresh();
}

void TabStrip::refresh() {
    const auto& tabs = m_state.tabs.get();
    const bool sameTabs = std::equal(tabs.begin(), tabs.end(), m_items.begin(), m_items.end(),
                                     [](const BrowserTab& tab, const auto& item) { return tab.id == item->tabId(); });
    if (!sameTabs) rebuildItems();
    for (std::size_t i = 0; i < tabs.size(); ++i) m_items[i]->show(tabs[i], tabs[i].id == m_state.activeTabId.get());
    set_visible(tabs.size() >= 2);
}

void TabStrip::rebuildItems() {
    std::vector<std::unique_ptr<TabItem>> previous = std::move(m_items);
    for (const auto& item : previous) m_row.remove(*item);
    m_itemConnections.clear();
    m_items.clear();
    Gtk::Widget* previousItem = nullptr;  // the new-tab button stays last
    for (const auto& tab : m_state.tabs.get()) {
        auto reused = std::find_if(previous.begin(), previous.end(),
                                   [&](const auto& item) { return item && item->tabId() == tab.id; });
        m_items.push_back(reused != previous.end() ? std::move(*reused) : std::make_unique<TabItem>(tab));
        TabItem& item = *m_items.back();
        m_itemConnections += item.selectRequested().connect([this](Uuid id) { m_state.selectTab(id); });
        m_itemConnections += item.closeRequested().connect([this](Uuid id) { closeLater(id); });
        if (previousItem)
            m_row.insert_child_after(item, *previousItem);
        else
            m_row.prepend(item);
        previousItem = &item;
    }
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

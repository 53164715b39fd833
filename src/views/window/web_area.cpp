#include "views/window/web_area.h"

#include "core/main_loop_hop.h"

#include <utility>

namespace sarvik {

WebArea::WebArea(BrowserState& browserState, BrowserDataStore& dataStore)
    : m_browserState(browserState), m_dataStore(dataStore) {
    set_name("web-area");
    set_hexpand(true);
    set_vexpand(true);
    m_stack.set_hexpand(true);
    m_stack.set_vexpand(true);
    m_stack.set_transition_type(Gtk::StackTransitionType::NONE);
    m_stack.add(m_empty);
    append(m_stack);
    m_connections += browserState.activeTabId.changed().connect([this] { scheduleSync(); });
    m_connections += browserState.tabListChanged().connect([this](const TabListChange& change) { queue(change); });
    for (const BrowserTab& tab : browserState.tabs.get()) addHost(tab.id);
    sync();
}

WebArea::~WebArea() {
    m_connections.clear();
    m_pendingSync.disconnect();
    for (auto& [id, host] : m_hosts) m_stack.remove(*host);
}

WebViewHost* WebArea::hostFor(const Uuid& tabId) const {
    const auto found = m_hosts.find(tabId);
    return found == m_hosts.end() ? nullptr : found->second.get();
}

WebViewHost* WebArea::host() const {
    const auto tab = m_browserState.activeTab();
    return tab ? hostFor(tab->id) : nullptr;
}

void WebArea::scheduleSync() {
    if (m_pendingSync.connected()) return;
    m_pendingSync = scheduleSoon([this] { sync(); });
}

void WebArea::queue(const TabListChange& change) {
    m_pendingChanges.push_back(change);
    scheduleSync();
}

void WebArea::addHost(const Uuid& tabId) {
    auto& slot = m_hosts[tabId];
    if (slot) return;
    slot = std::make_unique<WebViewHost>(m_browserState, m_dataStore, tabId);
    m_stack.add(*slot);
}

void WebArea::apply(const TabListChange& change) {
    for (const BrowserTab& tab : change.removed) {
        const auto found = m_hosts.find(tab.id);
        if (found == m_hosts.end()) continue;
        m_stack.remove(*found->second);
        m_hosts.erase(found);
    }
    // A tab opened and closed again before the main loop ran needs no host.
    for (const auto& insertion : change.inserted)
        if (m_browserState.findTab(insertion.tab.id)) addHost(insertion.tab.id);
}

void WebArea::sync() {
    m_pendingSync.disconnect();
    for (const TabListChange& change : std::exchange(m_pendingChanges, {})) apply(change);
    WebViewHost* active = host();
    if (!active) {
        m_stack.set_visible_child(m_empty);
        return;
    }
    m_stack.set_visible_child(*active);
}

}  // namespace sarvik

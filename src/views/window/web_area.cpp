#include "views/window/web_area.h"

#include "core/main_loop_hop.h"

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
    m_connections += browserState.tabs.changed().connect([this] { scheduleSync(); });
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

void WebArea::releaseClosedTabs() {
    for (auto it = m_hosts.begin(); it != m_hosts.end();) {
        if (m_browserState.findTab(it->first)) {
            ++it;
            continue;
        }
        m_stack.remove(*it->second);
        it = m_hosts.erase(it);
    }
}

void WebArea::addMissingHosts() {
    for (const BrowserTab& tab : m_browserState.tabs.get()) {
        auto& slot = m_hosts[tab.id];
        if (slot) continue;
        slot = std::make_unique<WebViewHost>(m_browserState, m_dataStore, tab.id);
        m_stack.add(*slot);
    }
}

void WebArea::sync() {
    m_pendingSync.disconnect();
    releaseClosedTabs();
    addMissingHosts();
    WebViewHost* active = host();
    if (!active) {
        m_stack.set_visible_child(m_empty);
        return;
    }
    m_stack.set_visible_child(*active);
}

}  // namespace sarvik

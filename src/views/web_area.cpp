#include "views/web_area.h"

#include <glibmm/main.h>

namespace sarvik {

WebArea::WebArea(BrowserState& browserState, BrowserDataStore& dataStore)
    : m_browserState(browserState), m_dataStore(dataStore) {
    set_name("web-area");
    set_hexpand(true);
    set_vexpand(true);
    m_connections += browserState.activeTabId.changed().connect([this] { scheduleRebuild(); });
    m_connections += browserState.tabs.changed().connect([this] { scheduleRebuild(); });
    rebuild();
}

WebArea::~WebArea() {
    m_connections.clear();
    m_pendingRebuild.disconnect();
    if (m_host) remove(*m_host);
}

std::optional<Uuid> WebArea::wantedTabId() const {
    if (const auto tab = m_browserState.activeTab()) return tab->id;
    return std::nullopt;
}

void WebArea::scheduleRebuild() {
    const std::optional<Uuid> current = m_host ? std::optional(m_host->tabId()) : std::nullopt;
    if (wantedTabId() == current || m_pendingRebuild.connected()) return;
    m_pendingRebuild = Glib::signal_idle().connect([this] {
        rebuild();
        return false;
    });
}

void WebArea::rebuild() {
    m_pendingRebuild.disconnect();
    const auto wanted = wantedTabId();
    if (m_host && wanted == m_host->tabId()) return;
    if (m_host) {
        remove(*m_host);
        m_host.reset();
    }
    if (!wanted) return;
    m_host = std::make_unique<WebViewHost>(m_browserState, m_dataStore, *wanted);
    append(*m_host);
}

}  // namespace sarvik

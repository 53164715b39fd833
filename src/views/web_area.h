#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "web/web_view_host.h"

#include <gtkmm/box.h>

#include <memory>
#include <optional>

namespace sarvik {

// The space for the web page. It holds one web view host, the active tab's,
// and builds a new one whenever the active tab changes; with no active tab
// it is empty. The switch waits for the main loop, so a host is never torn
// down from inside one of its own engine callbacks (a Ctrl-click that opens
// a tab, for example).
class WebArea : public Gtk::Box {
public:
    WebArea(BrowserState& browserState, BrowserDataStore& dataStore);
    ~WebArea() override;

    // The current host, or none while no tab is active.
    WebViewHost* host() const { return m_host.get(); }

private:
    std::optional<Uuid> wantedTabId() const;
    void scheduleRebuild();
    void rebuild();

    BrowserState& m_browserState;
    BrowserDataStore& m_dataStore;
    std::unique_ptr<WebViewHost> m_host;
    ScopedConnection m_pendingRebuild;
    ConnectionSet m_connections;
};

}  // namespace sarvik

#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "core/uuid.h"
#include "stores/browser_data_store.h"
#include "stores/page_archiver.h"
#include "web/page_finder.h"

#include <gtkmm/box.h>
#include <gtkmm/window.h>

#include <memory>

namespace sarvik {

// The web view of one tab, kept for the tab's whole life: it
// builds and configures the engine's view, starts the first load (the tab's
// address or the home page), executes each navigation command issued while
// its tab is the active one, and reports the engine's progress, title,
// address, loading and back/forward state into the tab's record through a
// TabCoordinator. Finished pages are recorded in history.
//
// Main thread only. Engine notifications hop to the main loop and re-read
// the current value when they run; nothing reaches a host that has gone.
class WebViewHost : public Gtk::Box {
public:
    WebViewHost(BrowserState& browserState, BrowserDataStore& dataStore, Uuid tabId);
    ~WebViewHost() override;
    WebViewHost(const WebViewHost&) = delete;
    WebViewHost& operator=(const WebViewHost&) = delete;

    const Uuid& tabId() const { return m_tabId; }

    // The parts of a tab that the chrome uses; the engine stays behind them.
    // A finder for find in page, and whether a finder searches this tab's page.
    std::unique_ptr<PageFinder> createFinder() const;
    bool shows(const PageFinder& finder) const;
    // Shows the print dialog over `parent` and prints what the user chose.
    void print(Gtk::Window& parent) const;
    // Saves the page as it is shown now, for the scrapbook.
    std::unique_ptr<PageArchiver> createArchiver() const;
    // Gives the keyboard to the page.
    void focusPage();

    struct Engine;

private:
    friend struct WebViewHostTestAccess;

    const Uuid m_tabId;
    std::unique_ptr<Engine> m_engine;
    ConnectionSet m_connections;
};

}  // namespace sarvik

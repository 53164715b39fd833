#pragma once

#include "core/browser_state.h"
#include "core/closed_tab_history.h"
#include "core/scoped_connection.h"
#include "web/web_view_host.h"

#include <gtkmm/window.h>

#include <functional>
#include <vector>

namespace sarvik {

class WebArea;

// The window's answers to File → "Reopen Closed Tab" and File → "Print…":
// the first reopens the most recently closed tab's address in a new active
// tab (up to 20 back, last closed first); the second prints the active tab's
// page through the engine's print dialog.
class PageCommands {
public:
    // Prints one page; the default shows the print dialog over the window.
    using PrintRunner = std::function<void(WebViewHost& host, Gtk::Window& window)>;

    PageCommands(Gtk::Window& window, BrowserState& browserState, WebArea& webArea);

    ClosedTabHistory& closedTabs() { return m_closedTabs; }
    // Tests print into a file instead of opening the dialog.
    void setPrintRunner(PrintRunner runner) { m_printRunner = std::move(runner); }

    void reopenClosedTab();
    void printActivePage();

private:
    Gtk::Window& m_window;
    WebArea& m_webArea;
    ClosedTabHistory m_closedTabs;
    PrintRunner m_printRunner;
};

}  // namespace sarvik

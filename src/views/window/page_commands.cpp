#include "views/window/page_commands.h"

#include "views/window/web_area.h"

namespace sarvik {

PageCommands::PageCommands(Gtk::Window& window, BrowserState& browserState, WebArea& webArea)
    : m_window(window),
      m_webArea(webArea),
      m_closedTabs(browserState),
      m_printRunner([](WebViewHost& host, Gtk::Window& parent) { host.print(parent); }) {}

void PageCommands::reopenClosedTab() { m_closedTabs.reopenMostRecent(); }

void PageCommands::printActivePage() {
    if (WebViewHost* host = m_webArea.host()) m_printRunner(*host, m_window);
}

}  // namespace sarvik

#include "views/page_commands.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "views/command_window.h"
#include "views/web_area.h"
#include "web/page_printer.h"

namespace sarvik {

PageCommands::PageCommands(Gtk::Window& window, BrowserState& browserState, WebArea& webArea)
    : m_window(window),
      m_webArea(webArea),
      m_closedTabs(browserState),
      m_printRunner([](WebKitWebView* view, Gtk::Window& parent) { page_printing::runDialog(view, parent.gobj()); }) {
    auto& center = NotificationCenter::defaultCenter();
    m_subscriptions.push_back(center.subscribe(notifications::kReopenClosedTab, [this](const Notification&) {
        if (isCommandWindow(m_window)) reopenClosedTab();
    }));
    m_subscriptions.push_back(center.subscribe(notifications::kPrintPage, [this](const Notification&) {
        if (isCommandWindow(m_window)) printActivePage();
    }));
}

void PageCommands::reopenClosedTab() { m_closedTabs.reopenMostRecent(); }

void PageCommands::printActivePage() {
    WebViewHost* host = m_webArea.host();
    if (!host || !host->webView()) return;
    m_printRunner(host->webView(), m_window);
}

}  // namespace sarvik

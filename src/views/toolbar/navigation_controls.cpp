#include "views/toolbar/navigation_controls.h"

#include "views/toolbar/toolbar_symbols.h"

namespace sarvik {

NavigationControls::NavigationControls(BrowserState& state, int buttonSize, int spacing)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, spacing),
      m_state(state),
      m_back(symbols::kBack, buttonSize, "back-button"),
      m_forward(symbols::kForward, buttonSize, "forward-button"),
      m_stopOrReload(symbols::kReload, buttonSize, "stop-reload-button") {
    set_valign(Gtk::Align::CENTER);
    append(m_back);
    append(m_forward);
    append(m_stopOrReload);
    m_back.signal_clicked().connect([this] { m_state.navigationCommand = NavigationCommand::goBack(); });
    m_forward.signal_clicked().connect([this] { m_state.navigationCommand = NavigationCommand::goForward(); });
    // Decided at the click, not at the last redraw, so it always matches the tab.
    m_stopOrReload.signal_clicked().connect([this] {
        m_state.navigationCommand = activeTabIsLoading() ? NavigationCommand::stop() : NavigationCommand::reload();
    });
    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &NavigationControls::refresh));
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &NavigationControls::refresh));
    refresh();
}

bool NavigationControls::activeTabIsLoading() const {
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    return tab && tab->isLoading;
}

void NavigationControls::refresh() {
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    m_back.setEnabled(tab && tab->canGoBack);
    m_forward.setEnabled(tab && tab->canGoForward);
    m_stopOrReload.setIcon(tab && tab->isLoading ? symbols::kStop : symbols::kReload);
}

}  // namespace sarvik

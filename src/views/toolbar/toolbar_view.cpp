#include "views/toolbar/toolbar_view.h"

#include <utility>

namespace sarvik {
OrvelToolbarView::OrvelToolbarView(BrowserState& state)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), m_state(state), m_expanded(state), m_collapsed(state) {
    set_name("toolbar");
    add_css_class("orvel-toolbar");
    m_forms.set_name("toolbar-forms");
    m_progressRow.set_name("progress-row");
    m_progressRow.set_margin_start(8);
    m_progressRow.set_margin_end(8);
    m_progressRow.set_margin_bottom(2);
    m_progressRow.append(m_progressBar);
    append(m_forms);
    append(m_progressRow);

    m_expanded.collapseButton().signal_clicked().connect([this] { setCollapsedFromButton(true); });
    m_collapsed.expandButton().signal_clicked().connect([this] { setCollapsedFromButton(false); });
    m_connections += m_state.isToolbarCollapsed.changed().connect(sigc::mem_fun(*this, &OrvelToolbarView::showForm));
    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &OrvelToolbarView::showProgress));
    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &OrvelToolbarView::noteOpenedTab));
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &OrvelToolbarView::focusFieldOfANewBlankTab));
    m_tabCount = m_state.tabs->size();
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &OrvelToolbarView::showProgress));
    showForm();
    showProgress();
}

void OrvelToolbarView::setCollapsedFromButton(bool collapsed) {
    m_nextSwitchOrigin = FormSwitchOrigin::toolbarButton;
    m_state.isToolbarCollapsed = collapsed;
    m_nextSwitchOrigin = FormSwitchOrigin::menuCommand;
}

void OrvelToolbarView::showForm() {
    Gtk::Widget& form = m_state.isToolbarCollapsed.get() ? static_cast<Gtk::Widget&>(m_collapsed)
                                                         : static_cast<Gtk::Widget&>(m_expanded);
    m_forms.show(form, formSwitchDurationMicroseconds(m_nextSwitchOrigin));
}

void OrvelToolbarView::showProgress() {
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    if (!tab || !tab->isLoading) {
        m_progressRow.set_visible(false);
        return;
    }
    // Set while the row is still hidden, a new load starts from its own value
    // instead of gliding back from where the last load ended.
    if (tab->estimatedProgress != m_progressBar.progress()) m_progressBar.setProgress(tab->estimatedProgress);
    m_progressRow.set_visible(true);
}

bool OrvelToolbarView::focusAddressField() {
    if (m_state.isToolbarCollapsed.get()) m_state.isToolbarCollapsed = false;
    m_expanded.addressField().focusAndSelectAll();
    return true;
}

void OrvelToolbarView::noteOpenedTab() {
    const std::size_t count = m_state.tabs->size();
    if (count > std::exchange(m_tabCount, count)) m_openedTab = m_state.tabs->back().id;
}

// A tab opened blank (Ctrl+T, the new-tab button) is for typing an address into.
void OrvelToolbarView::focusFieldOfANewBlankTab() {
    const auto opened = std::exchange(m_openedTab, std::nullopt);
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    if (opened && tab && tab->id == *opened && !tab->url) focusAddressField();
}

}  // namespace sarvik

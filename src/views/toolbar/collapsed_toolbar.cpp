#include "views/toolbar/collapsed_toolbar.h"

#include "views/toolbar/toolbar_symbols.h"

namespace sarvik {
namespace {

constexpr int kButtonSize = 22;
constexpr int kSpacing = 4;

}  // namespace

CollapsedToolbar::CollapsedToolbar(BrowserState& state)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, kSpacing),
      m_state(state),
      m_expand(symbols::kExpand, kButtonSize, "expand-button"),
      m_navigation(state, kButtonSize, kSpacing) {
    set_name("collapsed-toolbar");
    set_margin_start(8);
    set_margin_end(8);
    set_margin_top(4);
    set_margin_bottom(4);
    m_space.set_hexpand(true);
    m_title.set_name("collapsed-title");
    m_title.add_css_class("orvel-collapsed-title");
    m_title.set_valign(Gtk::Align::CENTER);
    append(m_expand);
    append(m_navigation);
    append(m_space);
    append(m_title);

    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &CollapsedToolbar::showTitle));
    m_connections += m_state.activeTabId.changed().connect(sigc::mem_fun(*this, &CollapsedToolbar::showTitle));
    showTitle();
}

void CollapsedToolbar::showTitle() {
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    const std::string title = tab ? tab->title : std::string();
    if (m_title.get_text().raw() != title) m_title.set_text(title);
}

}  // namespace sarvik

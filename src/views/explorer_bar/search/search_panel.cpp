#include "views/explorer_bar/search/search_panel.h"

namespace sarvik {

SearchPanel::SearchPanel(BrowserState& state) : Gtk::Box(Gtk::Orientation::VERTICAL, 12), m_state(state) {
    add_css_class("orvel-search-panel");
    set_margin_top(12);
    m_icon.set_from_icon_name("system-search-symbolic");
    m_icon.add_css_class("orvel-secondary-text");
    m_field.set_placeholder_text("Search the web...");
    m_field.set_has_frame(false);
    m_field.set_hexpand(true);
    m_field.add_css_class("orvel-plain-entry");
    m_box.add_css_class("orvel-web-search-box");
    m_box.set_margin_start(12);
    m_box.set_margin_end(12);
    m_box.append(m_icon);
    m_box.append(m_field);
    m_searchButton.add_css_class("orvel-button");
    m_searchButton.set_halign(Gtk::Align::CENTER);
    append(m_box);
    append(m_searchButton);

    showSearchText();
    m_connections += m_field.signal_changed().connect([this] {
        if (m_field.get_text().raw() != m_state.searchText.get()) m_state.searchText = m_field.get_text();
    });
    m_connections += m_field.signal_activate().connect(sigc::mem_fun(*this, &SearchPanel::search));
    m_connections += m_searchButton.signal_clicked().connect(sigc::mem_fun(*this, &SearchPanel::search));
    m_connections += m_state.searchText.changed().connect(sigc::mem_fun(*this, &SearchPanel::showSearchText));
}

void SearchPanel::showSearchText() {
    if (m_field.get_text().raw() != m_state.searchText.get()) m_field.set_text(m_state.searchText.get());
}

// Emptiness is judged on the text as typed: a lone space still searches.
void SearchPanel::search() {
    if (m_state.searchText.get().empty()) return;
    m_state.navigate(m_state.searchText.get());
}

}  // namespace sarvik

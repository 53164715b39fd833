#include "views/explorer_bar/explorer_bar_view.h"

#include "views/explorer_bar/auctions/auction_manager_panel.h"

#include "views/explorer_bar/favorites/favorites_panel.h"
#include "views/explorer_bar/history/history_panel.h"
#include "views/explorer_bar/scrapbook/scrapbook_panel.h"
#include "views/explorer_bar/search/search_panel.h"

#include <gtkmm/image.h>
#include <gtkmm/overlay.h>
#include <gtkmm/separator.h>

namespace sarvik {
namespace {

const char* tabIconName(ExplorerBarTab tab) {
    switch (tab) {
    case ExplorerBarTab::favorites: return "starred-symbolic";
    case ExplorerBarTab::history: return "document-open-recent-symbolic";
    case ExplorerBarTab::search: return "system-search-symbolic";
    case ExplorerBarTab::scrapbook: return "x-office-document-symbolic";
    case ExplorerBarTab::auction: return "emblem-important-symbolic";
    }
    return "image-missing";
}

}  // namespace

ExplorerBarView::ExplorerBarView(BrowserState& state, BrowserDataStore& dataStore, ScrapbookStore& scrapbookStore,
                                 AuctionStore& auctionStore, ActivePage activePage)
    : FixedWidthBin(kWidth), m_state(state), m_dataStore(dataStore),
      m_scrapbookStore(scrapbookStore), m_auctionStore(auctionStore), m_activePage(std::move(activePage)),
      m_endingSoon(auctionStore, [this] { showEndingSoon(); }) {
    // Styled inside the bin, so that its border counts within the 250 pixels.
    m_column.add_css_class("orvel-explorer-bar");
    setChild(m_column);
    buildHeader();
    m_column.append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL));
    m_panelArea.set_vexpand(true);
    m_panelArea.add_css_class("orvel-explorer-panel-area");
    m_column.append(m_panelArea);

    m_connections += m_state.selectedExplorerTab.changed().connect(
        sigc::mem_fun(*this, &ExplorerBarView::showSelectedPanel));
    m_connections += m_close.signal_clicked().connect([this] { m_state.isExplorerBarVisible = false; });
    // Shown again, the bar counts for now rather than for the last minute tick.
    m_connections += signal_map().connect(sigc::mem_fun(*this, &ExplorerBarView::showEndingSoon));
    showSelectedPanel();
}

// The column is a member, gone before the base would let go of it.
ExplorerBarView::~ExplorerBarView() { unsetChild(); }

void ExplorerBarView::buildHeader() {
    auto* header = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
    header->add_css_class("orvel-explorer-header");
    auto* titleRow = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
    titleRow->set_margin_start(12);
    titleRow->set_margin_end(12);
    titleRow->set_margin_top(8);
    m_title.add_css_class("orvel-explorer-title");
    m_title.set_xalign(0);
    m_title.set_hexpand(true);
    m_title.set_ellipsize(Pango::EllipsizeMode::END);
    m_badge.add_css_class("orvel-explorer-badge");
    m_badge.set_valign(Gtk::Align::CENTER);
    m_close.set_icon_name("window-close-symbolic");
    m_close.set_has_frame(false);
    m_close.set_tooltip_text("Close");
    m_close.add_css_class("orvel-explorer-close");
    m_close.add_css_class("orvel-secondary-text");
    titleRow->append(m_title);
    titleRow->append(m_badge);
    titleRow->append(m_close);
    header->append(*titleRow);
    buildTabStrip(*header);
    m_column.append(*header);
}

void ExplorerBarView::buildTabStrip(Gtk::Box& header) {
    // Equal shares of the bar's width, so no tab is ever out of sight.
    m_tabStrip.set_homogeneous(true);
    m_tabStrip.set_margin_start(8);
    m_tabStrip.set_margin_end(8);
    m_tabStrip.set_margin_bottom(6);
    for (auto tab : kAllExplorerBarTabs) {
        auto* button = makeTabButton(tab);
        m_tabButtons[static_cast<std::size_t>(tab)] = button;
        m_tabStrip.append(*button);
    }
    // The sizes come from the stylesheet, in place once the strip is shown.
    m_connections += m_tabStrip.signal_map().connect(sigc::mem_fun(*this, &ExplorerBarView::fitTabTitles));
    header.append(m_tabStrip);
}

// Titles under the icons where every one fits its share; otherwise icons
// alone, the titles in their tooltips, rather than some titles clipped.
void ExplorerBarView::fitTabTitles() {
    const int spacing = m_tabStrip.get_spacing() * static_cast<int>(m_tabButtons.size() - 1);
    const int share = (kWidth - m_tabStrip.get_margin_start() - m_tabStrip.get_margin_end() - spacing) /
                      static_cast<int>(m_tabButtons.size());
    for (auto* title : m_tabTitles) title->set_visible(true);
    bool fits = true;
    for (auto* button : m_tabButtons) {
        int minimum = 0, natural = 0, ignored = 0;
        button->measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, ignored, ignored);
        fits = fits && natural <= share;
    }
    for (auto* title : m_tabTitles) title->set_visible(fits);
}

Gtk::Button* ExplorerBarView::makeTabButton(ExplorerBarTab tab) {
    auto* label = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(tabIconName(tab));
    auto* title = Gtk::make_managed<Gtk::Label>(std::string(rawValue(tab)));
    title->add_css_class("orvel-explorer-tab-title");
    m_tabTitles[static_cast<std::size_t>(tab)] = title;
    label->append(*icon);
    label->append(*title);
    auto* overlay = Gtk::make_managed<Gtk::Overlay>();
    overlay->set_halign(Gtk::Align::CENTER);  // the dot on the icon's corner, not the share's
    overlay->set_child(*label);
    if (tab == ExplorerBarTab::auction) {
        auto* dot = Gtk::make_managed<Gtk::Box>();
        dot->add_css_class("orvel-explorer-dot");
        dot->set_halign(Gtk::Align::END);
        dot->set_valign(Gtk::Align::START);
        dot->set_can_target(false);
        overlay->add_overlay(*dot);
        m_auctionDot = dot;
    }
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_child(*overlay);
    button->add_css_class("orvel-explorer-tab");
    button->set_tooltip_text(std::string(rawValue(tab)));
    m_connections += button->signal_clicked().connect([this, tab] { m_state.selectedExplorerTab = tab; });
    return button;
}

std::unique_ptr<Gtk::Widget> ExplorerBarView::makePanel(ExplorerBarTab tab) {
    switch (tab) {
    case ExplorerBarTab::favorites: return std::make_unique<FavoritesPanel>(m_state, m_dataStore);
    case ExplorerBarTab::history: return std::make_unique<HistoryPanel>(m_state, m_dataStore);
    case ExplorerBarTab::search: return std::make_unique<SearchPanel>(m_state);
    case ExplorerBarTab::scrapbook:
        return std::make_unique<ScrapbookPanel>(m_state, m_scrapbookStore, m_activePage);
    case ExplorerBarTab::auction: return std::make_unique<AuctionManagerPanel>(m_state, m_auctionStore);
    }
    return std::make_unique<Gtk::Box>(Gtk::Orientation::VERTICAL);
}

// Selecting the tab already shown keeps its panel and that panel's state.
void ExplorerBarView::showSelectedPanel() {
    const ExplorerBarTab tab = m_state.selectedExplorerTab;
    m_title.set_text(std::string(rawValue(tab)));
    for (auto each : kAllExplorerBarTabs) {
        auto& button = tabButton(each);
        if (each == tab)
            button.add_css_class("selected");
        else
            button.remove_css_class("selected");
    }
    if (m_panelTab != tab) {
        if (m_panel) m_panelArea.remove(*m_panel);
        m_panel.reset();
        m_panel = makePanel(tab);
        m_panel->set_vexpand(true);
        m_panel->set_hexpand(true);
        m_panelArea.append(*m_panel);
        m_panelTab = tab;
    }
    showEndingSoon();
}

void ExplorerBarView::showEndingSoon() {
    const auto count = m_auctionStore.endingSoonCount();
    m_badge.set_text(std::to_string(count));
    m_badge.set_visible(count > 0 && m_state.selectedExplorerTab.get() == ExplorerBarTab::auction);
    m_auctionDot->set_visible(count > 0);
}

}  // namespace sarvik

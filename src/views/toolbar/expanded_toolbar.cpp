#include "views/toolbar/expanded_toolbar.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "views/toolbar/toolbar_symbols.h"

namespace sarvik {
namespace {

constexpr int kButtonSize = 32;
constexpr int kCollapseButtonSize = 24;

}  // namespace

ExpandedToolbar::ExpandedToolbar(BrowserState& state)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 4),
      m_state(state),
      m_collapse(symbols::kCollapse, kCollapseButtonSize, "collapse-button"),
      m_navigation(state, kButtonSize, 6),
      m_home(symbols::kHome, kButtonSize, "home-button"),
      m_addressField(state),
      m_favorites(symbols::kFavorites, kButtonSize, "favorites-button"),
      m_scrapbook(symbols::kScrapbook, kButtonSize, "scrapbook-button"),
      m_auction(symbols::kAuction, kButtonSize, "auction-button"),
      m_preferences(symbols::kPreferences, kButtonSize, "preferences-button"),
      m_tabStrip(state) {
    set_name("expanded-toolbar");
    m_mainRow.set_name("main-row");
    m_mainRow.set_margin_start(8);
    m_mainRow.set_margin_end(8);
    m_mainRow.set_margin_top(6);
    m_mainRow.set_margin_bottom(4);
    m_collapse.set_tooltip_text("Collapse Toolbar (Ctrl+B)");
    m_auction.set_tooltip_text("Auction Manager");
    m_preferences.set_tooltip_text("Preferences");

    for (Gtk::Widget* item : {static_cast<Gtk::Widget*>(&m_collapse), static_cast<Gtk::Widget*>(&divider(0)),
                              static_cast<Gtk::Widget*>(&m_navigation), static_cast<Gtk::Widget*>(&m_home),
                              static_cast<Gtk::Widget*>(&divider(1)), static_cast<Gtk::Widget*>(&m_addressField),
                              static_cast<Gtk::Widget*>(&divider(2)), static_cast<Gtk::Widget*>(&m_favorites),
                              static_cast<Gtk::Widget*>(&m_scrapbook), static_cast<Gtk::Widget*>(&m_auction),
                              static_cast<Gtk::Widget*>(&m_preferences)})
        m_mainRow.append(*item);
    append(m_mainRow);
    append(m_tabStrip);

    m_home.signal_clicked().connect([this] { m_state.openAddress(m_state.homePage.get()); });
    m_favorites.signal_clicked().connect([this] { showPanel(ExplorerBarTab::favorites); });
    m_scrapbook.signal_clicked().connect([this] { showPanel(ExplorerBarTab::scrapbook); });
    m_auction.signal_clicked().connect([this] { showPanel(ExplorerBarTab::auction); });
    m_preferences.signal_clicked().connect(
        [] { NotificationCenter::defaultCenter().post(notifications::kOpenPreferences); });
}

Gtk::Separator& ExpandedToolbar::divider(int index) {
    Gtk::Separator& separator = m_dividers[index];
    separator.set_orientation(Gtk::Orientation::VERTICAL);
    separator.add_css_class("orvel-divider");
    separator.set_valign(Gtk::Align::CENTER);
    return separator;
}

// Only ever shows a panel: the bar is never hidden from here, and a panel
// already on show is left as it is.
void ExpandedToolbar::showPanel(ExplorerBarTab panel) {
    if (!m_state.isExplorerBarVisible.get()) m_state.isExplorerBarVisible = true;
    if (m_state.selectedExplorerTab.get() != panel) m_state.selectedExplorerTab = panel;
}

}  // namespace sarvik

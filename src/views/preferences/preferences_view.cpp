#include "views/preferences/preferences_view.h"

#include "views/preferences/preferences_appearance_page.h"
#include "views/preferences/preferences_auction_page.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_privacy_page.h"

#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separator.h>

#include <cstddef>
#include <string>

namespace sarvik {
namespace {

constexpr int kSidebarWidth = 160;
constexpr int kContentWidth = 560;
constexpr int kContentHeight = 420;

Gtk::Button* makeSidebarButton(PreferencesTab tab) {
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* symbol = Gtk::make_managed<Gtk::Image>();
    symbol->set_from_icon_name(symbolName(tab));
    symbol->add_css_class("preferences-sidebar-symbol");
    symbol->set_size_request(20, -1);
    auto* label = Gtk::make_managed<Gtk::Label>(std::string(rawValue(tab)));
    label->add_css_class("preferences-sidebar-label");
    label->set_halign(Gtk::Align::START);
    label->set_hexpand(true);
    row->append(*symbol);
    row->append(*label);
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->add_css_class("preferences-sidebar-button");
    button->set_child(*row);
    return button;
}

}  // namespace

PreferencesView::PreferencesView(BrowserState& state, AuctionStore& auctionStore)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 0) {
    add_css_class("preferences-view");
    // The content's own size: the window and the sheet around it follow it.
    set_size_request(kContentWidth, kContentHeight);
    buildSidebar();
    append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::VERTICAL));

    m_pages = Gtk::make_managed<Gtk::Stack>();
    m_pages->set_hexpand(true);
    m_pages->set_vexpand(true);
    m_pages->set_transition_type(Gtk::StackTransitionType::NONE);
    append(*m_pages);

    m_generalPage = Gtk::make_managed<PreferencesGeneralPage>(state);
    m_appearancePage = Gtk::make_managed<PreferencesAppearancePage>(state);
    m_privacyPage = Gtk::make_managed<PreferencesPrivacyPage>();
    m_auctionPage = Gtk::make_managed<PreferencesAuctionPage>(auctionStore);
    addPage(*m_generalPage, PreferencesTab::general);
    addPage(*m_appearancePage, PreferencesTab::appearance);
    addPage(*m_privacyPage, PreferencesTab::privacy);
    addPage(*m_auctionPage, PreferencesTab::auction);
    selectTab(PreferencesTab::general);
}

void PreferencesView::buildSidebar() {
    auto* sidebar = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
    sidebar->add_css_class("preferences-sidebar");
    sidebar->set_size_request(kSidebarWidth, -1);
    // The labels' free space must not spread the column: the page takes the rest.
    sidebar->set_hexpand(false);
    for (auto tab : kAllPreferencesTabs) {
        auto* button = makeSidebarButton(tab);
        button->signal_clicked().connect([this, tab] { selectTab(tab); });
        m_sidebarButtons[static_cast<std::size_t>(tab)] = button;
        sidebar->append(*button);
    }
    append(*sidebar);
}

void PreferencesView::addPage(Gtk::Widget& page, PreferencesTab tab) {
    auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
    scroller->set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller->set_child(page);
    m_pages->add(*scroller, cssName(tab));
}

void PreferencesView::selectTab(PreferencesTab tab) {
    m_selectedTab = tab;
    m_pages->set_visible_child(cssName(tab));
    for (auto each : kAllPreferencesTabs) {
        auto* button = m_sidebarButtons[static_cast<std::size_t>(each)];
        if (each == tab) button->add_css_class("selected");
        else button->remove_css_class("selected");
    }
}

}  // namespace sarvik

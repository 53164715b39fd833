#include "views/preferences/preferences_general_page.h"

#include <gtkmm/label.h>

#include <cstddef>

namespace sarvik {

PreferencesGeneralPage::PreferencesGeneralPage(BrowserState& state)
    : PreferencesPage(PreferencesTab::general), m_state(state) {
    buildHomePageSection();
    buildSearchEngineSection();
    buildNewTabSection();
    buildStartSection();

    m_homePageField->set_text(m_state.homePage.get());
    // A prefix of no engine keeps the initial choice and writes nothing.
    if (const auto engine = searchEngineWithPrefix(m_state.searchEngine.get())) m_selectedSearchEngine = *engine;
    m_isShowingSelection = true;
    m_engineButtons[static_cast<std::size_t>(m_selectedSearchEngine)]->set_active(true);
    m_isShowingSelection = false;
}

void PreferencesGeneralPage::buildHomePageSection() {
    auto& content = addSection("Home Page");
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    m_homePageField = Gtk::make_managed<Gtk::Entry>();
    m_homePageField->set_placeholder_text(std::string(kDefaultHomePage));
    m_homePageField->add_css_class("preferences-home-field");
    m_homePageField->set_hexpand(true);
    auto* set = Gtk::make_managed<Gtk::Button>("Set");
    set->add_css_class("orvel-button");
    set->add_css_class("small");
    set->set_valign(Gtk::Align::CENTER);
    set->signal_clicked().connect(sigc::mem_fun(*this, &PreferencesGeneralPage::setHomePage));
    m_homePageField->signal_activate().connect(sigc::mem_fun(*this, &PreferencesGeneralPage::setHomePage));
    row->append(*m_homePageField);
    row->append(*set);

    auto* useCurrent = Gtk::make_managed<Gtk::Button>("Use Current");
    useCurrent->add_css_class("preferences-link");
    useCurrent->set_halign(Gtk::Align::START);
    useCurrent->signal_clicked().connect(sigc::mem_fun(*this, &PreferencesGeneralPage::useCurrentPage));
    content.append(*row);
    content.append(*useCurrent);
}

void PreferencesGeneralPage::buildSearchEngineSection() {
    auto& content = addSection("Search Engine");
    content.set_spacing(6);
    Gtk::CheckButton* first = nullptr;
    for (auto engine : kAllSearchEngines) {
        auto* choice = Gtk::make_managed<Gtk::CheckButton>(std::string(rawValue(engine)));
        choice->add_css_class("preferences-engine");
        if (first) choice->set_group(*first);
        else first = choice;
        choice->signal_toggled().connect([this, engine] { onEngineToggled(engine); });
        m_engineButtons[static_cast<std::size_t>(engine)] = choice;
        content.append(*choice);
    }
}

void PreferencesGeneralPage::buildNewTabSection() {
    auto& content = addSection("New Tab");
    auto* note = Gtk::make_managed<Gtk::Label>("New tabs open with: Home Page");
    note->add_css_class("preferences-note");
    note->set_halign(Gtk::Align::START);
    content.append(*note);
}

void PreferencesGeneralPage::buildStartSection() {
    auto& content = addSection("When SarvikBrowser starts:");
    content.set_spacing(6);
    auto* homePage = Gtk::make_managed<Gtk::CheckButton>("Open the home page");
    m_startWithLastTabs = Gtk::make_managed<Gtk::CheckButton>("Open the tabs from last time");
    m_startWithLastTabs->set_group(*homePage);
    (m_state.startPages.get() == StartPages::lastTabs ? m_startWithLastTabs : homePage)->set_active(true);
    m_startWithLastTabs->signal_toggled().connect([this] {
        m_state.startPages = m_startWithLastTabs->get_active() ? StartPages::lastTabs : StartPages::homePage;
    });
    content.append(*homePage);
    content.append(*m_startWithLastTabs);
}

void PreferencesGeneralPage::setHomePage() {
    // Stored as typed: an empty field gives an empty home page, and new tabs then stay blank.
    m_state.homePage = std::string(m_homePageField->get_text());
}

void PreferencesGeneralPage::useCurrentPage() {
    const auto tab = m_state.activeTab();
    if (!tab || !tab->url) return;
    const std::string address = tab->url->absoluteString();
    m_homePageField->set_text(address);
    m_state.homePage = address;
}

void PreferencesGeneralPage::onEngineToggled(SearchEngine engine) {
    if (!m_engineButtons[static_cast<std::size_t>(engine)]->get_active()) return;
    m_selectedSearchEngine = engine;
    if (m_isShowingSelection) return;
    m_state.searchEngine = std::string(searchPrefix(engine));
}

}  // namespace sarvik

#pragma once

#include "core/browser_state.h"
#include "views/preferences/preferences_choices.h"
#include "views/preferences/preferences_page.h"

#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>

#include <array>
#include <string>

namespace sarvik {

// The General page: the home-page field with "Set" and "Use Current", the
// search-engine radio group and the "New Tab" note. The field text and the
// radio selection are the page's own edit state, loaded from the browser
// state when the page is built; only "Set", "Use Current" and choosing an
// engine write back.
class PreferencesGeneralPage : public PreferencesPage {
public:
    explicit PreferencesGeneralPage(BrowserState& state);

    std::string homePageText() const { return m_homePageField->get_text(); }
    SearchEngine selectedSearchEngine() const { return m_selectedSearchEngine; }
    Gtk::CheckButton& startWithLastTabsChoice() { return *m_startWithLastTabs; }

private:
    void buildHomePageSection();
    void buildSearchEngineSection();
    void buildNewTabSection();
    void buildStartSection();
    void setHomePage();
    void useCurrentPage();
    void onEngineToggled(SearchEngine engine);

    BrowserState& m_state;
    SearchEngine m_selectedSearchEngine = SearchEngine::google;
    bool m_isShowingSelection = false;  // set while the page itself moves the radio group
    Gtk::Entry* m_homePageField = nullptr;
    std::array<Gtk::CheckButton*, 4> m_engineButtons{};
    Gtk::CheckButton* m_startWithLastTabs = nullptr;
};

}  // namespace sarvik

#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "views/preferences/preferences_choices.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/stack.h>

#include <array>

namespace sarvik {

class PreferencesGeneralPage;
class PreferencesAppearancePage;
class PreferencesPrivacyPage;
class PreferencesAuctionPage;

// The settings view: a sidebar of the four pages and the selected page beside
// it. It edits the shared browser state and auction store directly and holds
// no settings of its own; its edit state (selected page, home-page text,
// search-engine choice, refresh interval) starts fresh with every instance,
// so whoever shows it builds a new one each time it opens.
class PreferencesView : public Gtk::Box {
public:
    PreferencesView(BrowserState& state, AuctionStore& auctionStore);

    PreferencesTab selectedTab() const { return m_selectedTab; }
    void selectTab(PreferencesTab tab);

    PreferencesGeneralPage& generalPage() const { return *m_generalPage; }
    PreferencesAppearancePage& appearancePage() const { return *m_appearancePage; }
    PreferencesPrivacyPage& privacyPage() const { return *m_privacyPage; }
    PreferencesAuctionPage& auctionPage() const { return *m_auctionPage; }

private:
    void buildSidebar();
    void addPage(Gtk::Widget& page, PreferencesTab tab);

    PreferencesTab m_selectedTab = PreferencesTab::general;
    std::array<Gtk::Button*, kAllPreferencesTabs.size()> m_sidebarButtons{};
    Gtk::Stack* m_pages = nullptr;
    PreferencesGeneralPage* m_generalPage = nullptr;
    PreferencesAppearancePage* m_appearancePage = nullptr;
    PreferencesPrivacyPage* m_privacyPage = nullptr;
    PreferencesAuctionPage* m_auctionPage = nullptr;
};

}  // namespace sarvik

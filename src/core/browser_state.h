#pragma once

#include "core/browser_tab.h"
#include "core/color_theme.h"
#include "core/explorer_bar_tab.h"
#include "core/navigation_command.h"
#include "core/published.h"
#include "core/scoped_connection.h"
#include "core/start_pages.h"
#include "core/uuid.h"

#include <sigc++/signal.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

inline constexpr std::string_view kDefaultHomePage = "https://www.google.com";
inline constexpr std::string_view kDefaultSearchEngine = "https://www.google.com/search?q=";
// The page zoom never leaves these bounds.
inline constexpr double kMinimumZoom = 0.3;
inline constexpr double kMaximumZoom = 3.0;

// What one operation did to the tab list, emitted once the operation is done:
// the tabs it added with their positions (in the list as it is now), the
// records of the tabs it removed (as they were), the active tab's id when
// the operation changed it, and tabs that kept their page but changed place.
// Observers apply it instead of diffing the list.
struct TabListChange {
    struct Insertion {
        std::size_t position;
        BrowserTab tab;
    };
    struct Move {
        Uuid id;
        std::size_t position;
    };
    std::vector<Insertion> inserted;
    std::vector<BrowserTab> removed;
    std::optional<Uuid> activeTabId;
    std::vector<Move> moved;
};

// Everything the browser chrome shows and edits: the tabs, the address and
// search texts, the explorer-bar and toolbar switches, theme, zoom, home page,
// search prefix and the pending one-shot command for the active tab's web view.
//
// Main thread only. Every field is published: each assignment emits that
// field's changed() and then anyChanged(), also when the value is equal.
// The tab list is never empty. Of all this only the settings outlive the
// process (core/browser_settings.h). Tabs join and leave the list only through
// newTab() and closeTab(), which also emit tabListChanged(); updateTab()
// changes fields in place and emits only tabs.changed().
class BrowserState {
public:
    BrowserState();
    BrowserState(const BrowserState&) = delete;
    BrowserState& operator=(const BrowserState&) = delete;

    Published<std::vector<BrowserTab>> tabs;
    Published<Uuid> activeTabId;
    Published<bool> isToolbarCollapsed{false};
    Published<bool> isExplorerBarVisible{true};
    Published<ExplorerBarTab> selectedExplorerTab{ExplorerBarTab::favorites};
    Published<std::optional<std::string>> hoveredLink;
    Published<std::string> addressBarText;
    Published<bool> isAddressBarFocused{false};
    Published<std::string> searchText;
    Published<OrvelColorTheme> colorTheme{OrvelColorTheme::blueberry};
    Published<double> pageZoom{1.0};
    Published<std::string> homePage{std::string(kDefaultHomePage)};
    Published<std::string> searchEngine{std::string(kDefaultSearchEngine)};
    Published<StartPages> startPages{StartPages::homePage};
    Published<std::optional<NavigationCommand>> navigationCommand;

    std::optional<BrowserTab> activeTab() const;
    const BrowserTab* findTab(const Uuid& id) const;

    void newTab(std::optional<Url> url = std::nullopt);
    void closeTab(const Uuid& id);
    // Opens tabs kept from an earlier run after the open ones, the one at `activePosition` active; the
    // others load when first shown. A lone untouched start tab gives way to them. One TabListChange.
    void restoreTabs(std::vector<BrowserTab> restored, std::size_t activePosition);
    void selectTab(const Uuid& id);
    // The tab `step` places after the active one (before it when negative), round the ends.
    void selectTabBeside(int step);
    // The tab at `position` from the left; nothing happens when there is none.
    void selectTabAt(std::size_t position);
    // Moves the active tab `step` places right (left when negative), stopping at the ends.
    void moveActiveTab(int step);
    void navigate(std::string_view text);
    // A stored address (a favorite, a history entry, the home page) loads as
    // it is when it parses as a URL; anything else goes through navigate().
    void openAddress(std::string_view address);
    void zoomIn();
    void zoomOut();
    void resetZoom();

    // Replaces fields of the first tab with this id in place and publishes the
    // list once; returns false (and publishes nothing) when no such tab exists.
    template <typename Mutator>
    bool updateTab(const Uuid& id, Mutator&& mutate) {
        const auto& list = tabs.get();
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].id == id) {
                tabs.modify([&](std::vector<BrowserTab>& all) { mutate(all[i]); });
                return true;
            }
        }
        return false;
    }

    // Emitted after any published field has changed.
    sigc::signal<void()>& anyChanged() { return m_anyChanged; }
    // Emitted once per newTab(), closeTab() or selectTab() that changed
    // something, after every field it set has emitted its own changed().
    sigc::signal<void(const TabListChange&)>& tabListChanged() { return m_tabListChanged; }

private:
    void showAddressOf(const BrowserTab& tab);
    bool isHomePage(const Url& url) const;
    std::optional<std::size_t> activeTabPosition() const;

    sigc::signal<void()> m_anyChanged;
    sigc::signal<void(const TabListChange&)> m_tabListChanged;
    ConnectionSet m_fieldConnections;
};

}  // namespace sarvik

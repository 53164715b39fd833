#pragma once

#include "core/browser_state.h"
#include "core/url.h"
#include "core/uuid.h"
#include "stores/browser_data_store.h"

#include "core/scoped_connection.h"

#include <functional>
#include <optional>
#include <string>

namespace sarvik {

// What the engine reports when a navigation has finished, read from the web
// view at that moment. The title is absent when the engine has none.
struct FinishedNavigation {
    bool canGoBack = false;
    bool canGoForward = false;
    std::optional<std::string> uri;
    std::optional<std::string> title;
};

// A navigation the page asks for, before the engine performs it.
struct NavigationAction {
    bool isLinkActivated = false;
    bool hasPrimaryModifier = false;  // Ctrl held
    unsigned mouseButton = 0;         // 1 left, 2 middle, 0 none
    std::optional<std::string> uri;
};

enum class PolicyAnswer { allow, cancel };

// Who asked for a navigation: the user (or the browser on their behalf), or the page on its own.
enum class NavigationOrigin { user, page };

// Turns one tab's engine events into writes on that tab's record, the
// address-bar text and history. It knows no engine: the web view host feeds
// it plain values, on the main thread, and it writes only its own tab's
// record (nothing when that tab is gone).
class TabCoordinator {
public:
    TabCoordinator(BrowserState& browserState, BrowserDataStore& dataStore, Uuid tabId);

    const Uuid& tabId() const { return m_tabId; }

    // The first page of a new web view: the tab's address, else the home
    // page if it parses, else nothing.
    std::optional<Url> firstLoadUrl() const;
    // Runs `load` with the first page now, or, for a tab restored from an earlier run, once the tab is
    // first shown (its stored title stays until then).
    void loadFirstPage(std::function<void(const Url&)> load);

    // The pending command, when this tab is the active one; otherwise none
    // and the command stays pending for the active tab's host.
    std::optional<NavigationCommand> commandToExecute() const;

    // From now on, runs `execute` for the pending command if it is this
    // tab's, and then once for each command issued while this tab is the
    // active one, after queuing the command's reset on the main loop (so the
    // reset runs ahead of everything the command causes).
    void executeCommands(std::function<void(const NavigationCommand&)> execute);

    void progressChanged(double progress);
    // Cut as the stores keep titles (storedTitle), so a huge one stays cheap to show.
    void titleChanged(const std::optional<std::string>& title);
    void urlChanged(const std::optional<std::string>& uri);
    void loadingChanged(bool isLoading);
    void backForwardChanged(bool canGoBack, bool canGoForward);

    // A finished page is recorded in history with its title. The engine often
    // has no title, or an empty one, when the page finishes; the visit then
    // waits for a non-empty title. When the wait ends without one
    // (the next navigation starts, or titleWaitOver()), the visit is recorded
    // with an empty title: a page without one is still a page the user saw.
    // A page the page itself went to (a script's or a refresh's navigation)
    // always waits, and counts only if still shown at titleWaitOver():
    // a page that navigates itself many times a second leaves no visits, and
    // so no saves of the history.
    void navigationStarted(NavigationOrigin origin = NavigationOrigin::user);
    void navigationFinished(const FinishedNavigation& page);
    // A failure ends loading; with a message, the tab shows it (an error page)
    // until the next navigation starts.
    void navigationFailed(std::optional<std::string> message = std::nullopt);
    // The engine also reports a long title in pieces while it parses the page,
    // and pages retitle themselves once loaded: until the wait ends, a later
    // title of the page replaces the recorded one (the visit counts once).
    bool isAwaitingTitle() const { return m_pendingVisit || m_settlingAddress; }
    void titleWaitOver();

    // Ctrl-click or middle click on a link opens it in a new tab and keeps
    // the current page; everything else goes ahead.
    PolicyAnswer decidePolicy(const NavigationAction& action);

    // Where a request for a new window goes instead: into this tab.
    static std::optional<Url> newWindowTarget(const std::optional<std::string>& uri);

private:
    template <typename Mutator>
    void updateRecord(Mutator&& mutate) {
        m_browserState.updateTab(m_tabId, std::forward<Mutator>(mutate));
    }
    void executePendingCommand();
    void loadOnceShown();
    void recordPendingVisit();

    BrowserState& m_browserState;
    BrowserDataStore& m_dataStore;
    const Uuid m_tabId;
    std::function<void(const NavigationCommand&)> m_execute;
    // The engine often reports a page's title only after the page has
    // finished; the visit then waits here for the title to arrive (a page
    // the page went to itself, for the wait to end).
    struct PendingVisit {
        std::string address;
        std::string title;  // empty until known
        bool askedByUser = true;
    };
    std::optional<PendingVisit> m_pendingVisit;
    std::optional<std::string> m_settlingAddress;  // recorded, its title may still change
    NavigationOrigin m_origin = NavigationOrigin::user;
    ScopedConnection m_commandConnection;
    std::function<void(const Url&)> m_loadFirst;
    ScopedConnection m_firstShowConnection;
};

}  // namespace sarvik

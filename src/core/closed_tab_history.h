#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "core/url.h"
#include "core/uuid.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace sarvik {

// The addresses of the most recently closed tabs of one BrowserState, last
// closed first, so they can be reopened. It watches the tab list and notices
// every tab that leaves it, whoever closed it (menu, shortcut, the tab's own
// close button). Tabs that never had an address (a blank new tab) or only
// "about:blank" leave nothing to reopen and are not kept. At most kLimit
// addresses are kept; older ones fall off. Main thread only.
class ClosedTabHistory {
public:
    static constexpr std::size_t kLimit = 20;

    explicit ClosedTabHistory(BrowserState& state);
    ClosedTabHistory(const ClosedTabHistory&) = delete;
    ClosedTabHistory& operator=(const ClosedTabHistory&) = delete;

    std::size_t size() const { return m_closed.size(); }
    bool empty() const { return m_closed.empty(); }
    // Last closed first.
    std::vector<Url> addresses() const { return {m_closed.begin(), m_closed.end()}; }

    // Opens the most recently closed address in a new active tab and forgets
    // it; returns false (and does nothing) when nothing is left to reopen.
    bool reopenMostRecent();

private:
    void remember(const std::optional<Url>& address);

    BrowserState& m_state;
    std::deque<Url> m_closed;
    ScopedConnection m_tabsConnection;
};

}  // namespace sarvik

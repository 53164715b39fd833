#include "core/closed_tab_history.h"

namespace sarvik {

ClosedTabHistory::ClosedTabHistory(BrowserState& state) : m_state(state) {
    // Several tabs gone at once are remembered in list order, so the last of them reopens first.
    m_tabsConnection = state.tabListChanged().connect([this](const TabListChange& change) {
        for (const BrowserTab& tab : change.removed) remember(tab.url);
    });
}

void ClosedTabHistory::remember(const std::optional<Url>& address) {
    if (!address || address->absoluteString().empty() || address->absoluteString() == "about:blank") return;
    m_closed.push_front(*address);
    if (m_closed.size() > kLimit) m_closed.pop_back();
}

bool ClosedTabHistory::reopenMostRecent() {
    if (m_closed.empty()) return false;
    Url address = m_closed.front();
    m_closed.pop_front();
    m_state.newTab(std::move(address));
    return true;
}

}  // namespace sarvik

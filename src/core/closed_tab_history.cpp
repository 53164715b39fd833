#include "core/closed_tab_history.h"

#include <algorithm>

namespace sarvik {

ClosedTabHistory::ClosedTabHistory(BrowserState& state) : m_state(state) {
    tabsChanged();
    m_tabsConnection = state.tabs.changed().connect([this] { tabsChanged(); });
}

void ClosedTabHistory::tabsChanged() {
    const auto& tabs = m_state.tabs.get();
    // Several tabs gone at once are remembered in list order, so the last of them reopens first.
    for (const auto& known : m_known) {
        const bool stillOpen =
            std::any_of(tabs.begin(), tabs.end(), [&](const BrowserTab& t) { return t.id == known.first; });
        if (!stillOpen) remember(known.second);
    }
    m_known.clear();
    m_known.reserve(tabs.size());
    for (const BrowserTab& tab : tabs) m_known.emplace_back(tab.id, tab.url);
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

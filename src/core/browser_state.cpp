#include "core/browser_state.h"

#include "core/address_resolution.h"

#include <algorithm>
#include <cmath>

namespace sarvik {
namespace {

constexpr double kZoomStep = 0.1;

// Steps of 0.1 in binary floating point drift (0.9 + 0.1 * 17 is 2.5999...),
// and the badge would then show 259 %: the zoom is kept in hundredths.
double hundredths(double zoom) { return std::round(zoom * 100.0) / 100.0; }

}  // namespace

BrowserState::BrowserState() {
    const BrowserTab first = BrowserTab::make();
    tabs.set({first});
    activeTabId.set(first.id);

    const auto relay = [this] { m_anyChanged.emit(); };
    m_fieldConnections += tabs.changed().connect(relay);
    m_fieldConnections += activeTabId.changed().connect(relay);
    m_fieldConnections += isToolbarCollapsed.changed().connect(relay);
    m_fieldConnections += isExplorerBarVisible.changed().connect(relay);
    m_fieldConnections += selectedExplorerTab.changed().connect(relay);
    m_fieldConnections += hoveredLink.changed().connect(relay);
    m_fieldConnections += addressBarText.changed().connect(relay);
    m_fieldConnections += isAddressBarFocused.changed().connect(relay);
    m_fieldConnections += searchText.changed().connect(relay);
    m_fieldConnections += colorTheme.changed().connect(relay);
    m_fieldConnections += pageZoom.changed().connect(relay);
    m_fieldConnections += homePage.changed().connect(relay);
    m_fieldConnections += searchEngine.changed().connect(relay);
    m_fieldConnections += startPages.changed().connect(relay);
    m_fieldConnections += navigationCommand.changed().connect(relay);
}

const BrowserTab* BrowserState::findTab(const Uuid& id) const {
    for (const auto& tab : tabs.get())
        if (tab.id == id) return &tab;
    return nullptr;
}

std::optional<BrowserTab> BrowserState::activeTab() const {
    if (const BrowserTab* tab = findTab(activeTabId)) return *tab;
    return std::nullopt;
}

bool BrowserState::isHomePage(const Url& url) const {
    const std::optional<Url> home = Url::parse(homePage.get());
    return home && url.isSameAddress(*home);
}

void BrowserState::showAddressOf(const BrowserTab& tab) {
    addressBarText = tab.url ? tab.url->absoluteString() : std::string();
}

void BrowserState::newTab(std::optional<Url> url) {
    const BrowserTab tab = BrowserTab::make(std::move(url));
    tabs.modify([&](std::vector<BrowserTab>& all) { all.push_back(tab); });
    activeTabId = tab.id;
    showAddressOf(tab);
    m_tabListChanged.emit(TabListChange{{{tabs->size() - 1, tab}}, {}, tab.id, {}});
}

void BrowserState::closeTab(const Uuid& id) {
    const auto& list = tabs.get();
    if (list.size() < 2) return;
    const auto found = std::find_if(list.begin(), list.end(), [&](const BrowserTab& t) { return t.id == id; });
    if (found == list.end()) return;
    const auto position = static_cast<std::size_t>(found - list.begin());
    TabListChange change{{}, {*found}, std::nullopt, {}};
    tabs.modify([&](std::vector<BrowserTab>& all) { all.erase(all.begin() + static_cast<std::ptrdiff_t>(position)); });
    if (activeTabId.get() == id) {
        const BrowserTab next = tabs->at(std::min(position, tabs->size() - 1));
        activeTabId = next.id;
        showAddressOf(next);
        change.activeTabId = next.id;
    }
    m_tabListChanged.emit(change);
}

void BrowserState::restoreTabs(std::vector<BrowserTab> restored, std::size_t activePosition) {
    if (restored.empty()) return;
    activePosition = std::min(activePosition, restored.size() - 1);
    for (std::size_t i = 0; i < restored.size(); ++i) restored[i].loadsWhenShown = i != activePosition;
    const BrowserTab& start = tabs->front();
    const bool replacesStartTab = tabs->size() == 1 && !start.canGoBack &&
                                  (!start.url || isHomePage(*start.url));
    TabListChange change{{}, {}, restored[activePosition].id, {}};
    if (replacesStartTab) change.removed.push_back(start);
    const std::size_t first = replacesStartTab ? 0 : tabs->size();
    for (std::size_t i = 0; i < restored.size(); ++i) change.inserted.push_back({first + i, restored[i]});
    tabs.modify([&](std::vector<BrowserTab>& all) {
        if (replacesStartTab) all.clear();
        all.insert(all.end(), restored.begin(), restored.end());
    });
    activeTabId = restored[activePosition].id;
    showAddressOf(restored[activePosition]);
    m_tabListChanged.emit(change);
}

void BrowserState::selectTab(const Uuid& id) {
    const bool changed = activeTabId.get() != id;
    activeTabId = id;
    if (const BrowserTab* tab = findTab(id)) showAddressOf(*tab);
    if (changed) m_tabListChanged.emit(TabListChange{{}, {}, id, {}});
}

void BrowserState::selectTabBeside(int step) {
    const auto active = activeTabPosition();
    if (!active) return;
    const auto count = static_cast<long>(tabs->size());
    const long position = ((static_cast<long>(*active) + step) % count + count) % count;
    selectTab(tabs->at(static_cast<std::size_t>(position)).id);
}

std::optional<std::size_t> BrowserState::activeTabPosition() const {
    const auto& list = tabs.get();
    const auto found = std::find_if(list.begin(), list.end(), [&](const BrowserTab& t) { return t.id == activeTabId.get(); });
    if (found == list.end()) return std::nullopt;
    return static_cast<std::size_t>(found - list.begin());
}

void BrowserState::selectTabAt(std::size_t position) {
    if (position < tabs->size()) selectTab(tabs->at(position).id);
}

void BrowserState::moveActiveTab(int step) {
    const auto active = activeTabPosition();
    if (!active) return;
    const auto from = static_cast<long>(*active);
    const long to = std::clamp(from + step, 0L, static_cast<long>(tabs->size()) - 1);
    if (to == from) return;
    tabs.modify([&](std::vector<BrowserTab>& all) {
        const auto at = [&](long i) { return all.begin() + i; };
        if (to > from) std::rotate(at(from), at(from + 1), at(to + 1));
        else std::rotate(at(to), at(from), at(from + 1));
    });
    m_tabListChanged.emit(TabListChange{{}, {}, std::nullopt, {{activeTabId.get(), static_cast<std::size_t>(to)}}});
}

void BrowserState::navigate(std::string_view text) {
    if (auto url = Url::parse(resolveAddressText(text, searchEngine.get())))
        navigationCommand = NavigationCommand::load(std::move(*url));
}

void BrowserState::openAddress(std::string_view address) {
    if (auto url = Url::parse(address)) navigationCommand = NavigationCommand::load(std::move(*url));
    else navigate(address);
}

void BrowserState::zoomIn() {
    const double next = hundredths(pageZoom + kZoomStep);
    pageZoom = next > kMaximumZoom ? kMaximumZoom : next;
    navigationCommand = NavigationCommand::zoom(pageZoom);
}

void BrowserState::zoomOut() {
    const double next = hundredths(pageZoom - kZoomStep);
    pageZoom = next <= kMinimumZoom ? kMinimumZoom : next;
    navigationCommand = NavigationCommand::zoom(pageZoom);
}

void BrowserState::resetZoom() {
    pageZoom = 1.0;
    navigationCommand = NavigationCommand::zoom(1.0);
}

}  // namespace sarvik

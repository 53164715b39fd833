#include "web/tab_coordinator.h"

#include "core/main_loop_hop.h"
#include "stores/store_text.h"

#include <utility>

namespace sarvik {
namespace {

constexpr unsigned kMiddleButton = 2;
constexpr std::string_view kBlankPage = "about:blank";

std::optional<Url> parseOptional(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return Url::parse(*text);
}

}  // namespace

TabCoordinator::TabCoordinator(BrowserState& browserState, BrowserDataStore& dataStore, Uuid tabId)
    : m_browserState(browserState), m_dataStore(dataStore), m_tabId(tabId) {}

std::optional<Url> TabCoordinator::firstLoadUrl() const {
    if (const BrowserTab* tab = m_browserState.findTab(m_tabId); tab && tab->url) return tab->url;
    return Url::parse(m_browserState.homePage.get());
}

void TabCoordinator::loadFirstPage(std::function<void(const Url&)> load) {
    m_loadFirst = std::move(load);
    const BrowserTab* tab = m_browserState.findTab(m_tabId);
    if (!tab || !tab->loadsWhenShown) {
        if (const auto first = firstLoadUrl()) m_loadFirst(*first);
        return;
    }
    m_firstShowConnection = m_browserState.activeTabId.changed().connect([this] { loadOnceShown(); });
    loadOnceShown();
}

void TabCoordinator::loadOnceShown() {
    if (m_browserState.activeTabId.get() != m_tabId) return;
    m_firstShowConnection.disconnect();
    updateRecord([](BrowserTab& tab) { tab.loadsWhenShown = false; });
    if (const auto first = firstLoadUrl()) m_loadFirst(*first);
}

std::optional<NavigationCommand> TabCoordinator::commandToExecute() const {
    if (!m_browserState.navigationCommand.get()) return std::nullopt;
    if (m_browserState.activeTabId.get() != m_tabId) return std::nullopt;
    return m_browserState.navigationCommand.get();
}

void TabCoordinator::executeCommands(std::function<void(const NavigationCommand&)> execute) {
    m_execute = std::move(execute);
    // Each assignment is one command; other published changes never run it again.
    m_commandConnection = m_browserState.navigationCommand.changed().connect([this] { executePendingCommand(); });
    executePendingCommand();
}

void TabCoordinator::executePendingCommand() {
    const auto command = commandToExecute();
    if (!command) return;
    // Cleared on the next turn only if still the command run: one issued meanwhile
    // (a load for a tab opened in the same turn) waits for its own host.
    runSoon([&state = m_browserState, ran = *command] {
        if (state.navigationCommand.get() == ran) state.navigationCommand = std::nullopt;
    });
    m_execute(*command);
}

void TabCoordinator::progressChanged(double progress) {
    updateRecord([&](BrowserTab& tab) { tab.estimatedProgress = progress; });
}

void TabCoordinator::titleChanged(const std::optional<std::string>& title) {
    // Pages clear their title while the next one loads; the tab keeps the last real one.
    if (!title || title->empty()) return;
    if (title && !title->empty()) {
        if (m_pendingVisit) {
            m_pendingVisit->title = *title;
            if (m_pendingVisit->askedByUser) recordPendingVisit();
        } else if (m_settlingAddress) {
            m_dataStore.retitleVisit(*m_settlingAddress, *title);
        }
    }
    updateRecord([&](BrowserTab& tab) { tab.title = storedTitle(*title); });
}

void TabCoordinator::urlChanged(const std::optional<std::string>& uri) {
    const std::optional<Url> url = parseOptional(uri);
    updateRecord([&](BrowserTab& tab) { tab.url = url; });
    // A page that changes its address itself has left the recorded one.
    if (m_settlingAddress && (!url || url->absoluteString() != *m_settlingAddress)) m_settlingAddress.reset();
    if (m_browserState.activeTabId.get() == m_tabId)
        m_browserState.addressBarText = url ? url->absoluteString() : std::string();
}

void TabCoordinator::loadingChanged(bool isLoading) {
    updateRecord([&](BrowserTab& tab) { tab.isLoading = isLoading; });
}

void TabCoordinator::backForwardChanged(bool canGoBack, bool canGoForward) {
    updateRecord([&](BrowserTab& tab) {
        tab.canGoBack = canGoBack;
        tab.canGoForward = canGoForward;
    });
}

void TabCoordinator::titleWaitOver() {
    recordPendingVisit();
    m_settlingAddress.reset();
}

void TabCoordinator::recordPendingVisit() {
    const auto visit = std::exchange(m_pendingVisit, std::nullopt);
    if (!visit) return;
    m_dataStore.recordVisit(visit->title, visit->address);
    m_settlingAddress = visit->address;
}

void TabCoordinator::navigationStarted(NavigationOrigin origin) {
    // Left by then, the page the page went to was only passing through.
    if (m_pendingVisit && !m_pendingVisit->askedByUser) m_pendingVisit.reset();
    titleWaitOver();
    m_origin = origin;
    updateRecord([](BrowserTab& tab) {
        tab.isLoading = true;
        tab.estimatedProgress = 0.0;
        tab.loadError.reset();
    });
}

void TabCoordinator::navigationFinished(const FinishedNavigation& page) {
    updateRecord([&](BrowserTab& tab) {
        tab.isLoading = false;
        tab.estimatedProgress = 1.0;
        tab.canGoBack = page.canGoBack;
        tab.canGoForward = page.canGoForward;
    });
    titleWaitOver();
    if (!page.uri) return;
    const std::optional<Url> url = Url::parse(*page.uri);
    std::string address = url ? url->absoluteString() : *page.uri;
    if (address.empty() || address == kBlankPage) return;
    m_pendingVisit = PendingVisit{std::move(address), page.title.value_or(""), m_origin == NavigationOrigin::user};
    if (m_pendingVisit->askedByUser && !m_pendingVisit->title.empty()) recordPendingVisit();
}

void TabCoordinator::navigationFailed(std::optional<std::string> message) {
    updateRecord([&](BrowserTab& tab) {
        tab.isLoading = false;
        tab.loadError = std::move(message);
    });
}

PolicyAnswer TabCoordinator::decidePolicy(const NavigationAction& action) {
    if (!action.isLinkActivated) return PolicyAnswer::allow;
    if (!action.hasPrimaryModifier && action.mouseButton != kMiddleButton) return PolicyAnswer::allow;
    std::optional<Url> url = parseOptional(action.uri);
    if (!url) return PolicyAnswer::allow;
    m_browserState.newTab(std::move(url));
    return PolicyAnswer::cancel;
}

std::optional<Url> TabCoordinator::newWindowTarget(const std::optional<std::string>& uri) {
    return parseOptional(uri);
}

}  // namespace sarvik

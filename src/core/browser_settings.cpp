#include "core/browser_settings.h"

namespace sarvik {

BrowserSettings settingsOf(const BrowserState& state) {
    return {state.homePage, state.searchEngine, state.colorTheme, state.pageZoom, state.isExplorerBarVisible, state.startPages};
}

void applySettings(const BrowserSettings& settings, BrowserState& state) {
    state.homePage = settings.homePage;
    state.searchEngine = settings.searchEngine;
    state.colorTheme = settings.colorTheme;
    state.pageZoom = settings.pageZoom;
    state.isExplorerBarVisible = settings.isExplorerBarVisible;
    state.startPages = settings.startPages;
}

void observeSettings(BrowserState& state, const sigc::slot<void()>& changed, ConnectionSet& connections) {
    connections += state.homePage.changed().connect(changed);
    connections += state.searchEngine.changed().connect(changed);
    connections += state.colorTheme.changed().connect(changed);
    connections += state.pageZoom.changed().connect(changed);
    connections += state.isExplorerBarVisible.changed().connect(changed);
    connections += state.startPages.changed().connect(changed);
}

}  // namespace sarvik

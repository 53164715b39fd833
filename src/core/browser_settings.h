#pragma once

#include "core/browser_state.h"
#include "core/color_theme.h"
#include "core/scoped_connection.h"
#include "core/start_pages.h"

#include <sigc++/functors/slot.h>

#include <string>

namespace sarvik {

// The part of the browser state that the user sets in Preferences and that
// outlives the process. A default record is what a first start shows, the
// same as a fresh BrowserState. A new setting is a member here, a line in
// each function below and a key in stores/settings_text.cpp.
struct BrowserSettings {
    std::string homePage{kDefaultHomePage};
    std::string searchEngine{kDefaultSearchEngine};
    OrvelColorTheme colorTheme = OrvelColorTheme::blueberry;
    double pageZoom = 1.0;
    bool isExplorerBarVisible = true;  // "Show Explorer Bar on launch"
    StartPages startPages = StartPages::homePage;

    bool operator==(const BrowserSettings&) const = default;
};

BrowserSettings settingsOf(const BrowserState& state);
// Assigns every setting to its state field (each field announces itself).
void applySettings(const BrowserSettings& settings, BrowserState& state);
// Calls `changed` after any settings field of `state` is assigned, for as long
// as `connections` holds.
void observeSettings(BrowserState& state, const sigc::slot<void()>& changed, ConnectionSet& connections);

}  // namespace sarvik

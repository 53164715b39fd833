#pragma once

#include "core/browser_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// The text of the settings file: a GLib key file with one group, [Settings],
// and one key a setting. A key that is missing or holds a value this build
// does not accept (a theme it does not know, a zoom out of bounds, a search
// prefix that is no web address) keeps its own default; keys it does not know
// are ignored. Only text that is no key file at all gives none.
std::optional<BrowserSettings> readSettingsText(std::string_view text);
std::string settingsText(const BrowserSettings& settings);

}  // namespace sarvik

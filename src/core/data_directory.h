#pragma once

#include <filesystem>

namespace sarvik {

// The user's data folder for the browser: $XDG_DATA_HOME (or ~/.local/share)
// followed by "SarvikBrowser".
std::filesystem::path defaultDataDirectory();

// The user's settings folder for the browser: $XDG_CONFIG_HOME (or ~/.config)
// followed by "SarvikBrowser".
std::filesystem::path defaultConfigDirectory();

// Creates a folder with all missing parents; failure is ignored (later reads
// and writes then fail on their own).
void ensureDirectory(const std::filesystem::path& folder);

}  // namespace sarvik

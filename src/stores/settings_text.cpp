#include "stores/settings_text.h"

#include "core/url.h"

#include <glib.h>

#include <cmath>
#include <memory>

namespace sarvik {
namespace {

constexpr const char* kGroup = "Settings";
constexpr const char* kHomePageKey = "HomePage";
constexpr const char* kSearchEngineKey = "SearchEngine";
constexpr const char* kColorThemeKey = "ColorTheme";
constexpr const char* kPageZoomKey = "PageZoom";
constexpr const char* kExplorerBarKey = "ShowExplorerBarOnLaunch";
constexpr const char* kStartPagesKey = "OnStart";
constexpr const char* kHomePageStart = "HomePage";
constexpr const char* kLastTabsStart = "LastTabs";

using KeyFile = std::unique_ptr<GKeyFile, decltype(&g_key_file_unref)>;

KeyFile newKeyFile() { return KeyFile(g_key_file_new(), &g_key_file_unref); }

// GLib reports a missing key, a value of another type and text that is not
// UTF-8 alike, through the error: each of them reads as no value.
std::optional<std::string> stringAt(GKeyFile* file, const char* key) {
    g_autoptr(GError) error = nullptr;
    g_autofree gchar* value = g_key_file_get_string(file, kGroup, key, &error);
    if (error) return std::nullopt;
    return std::string(value);
}

std::optional<double> numberAt(GKeyFile* file, const char* key) {
    g_autoptr(GError) error = nullptr;
    const double value = g_key_file_get_double(file, kGroup, key, &error);
    if (error) return std::nullopt;
    return value;
}

std::optional<bool> booleanAt(GKeyFile* file, const char* key) {
    g_autoptr(GError) error = nullptr;
    const bool value = g_key_file_get_boolean(file, kGroup, key, &error);
    if (error) return std::nullopt;
    return value;
}

// A search runs as the prefix with the words appended, so it has to be a web address.
bool isSearchPrefix(const std::string& text) {
    const auto url = Url::parse(text);
    return url && (url->scheme() == "https" || url->scheme() == "http");
}

bool isPageZoom(double zoom) { return std::isfinite(zoom) && zoom >= kMinimumZoom && zoom <= kMaximumZoom; }

BrowserSettings settingsIn(GKeyFile* file) {
    BrowserSettings settings;
    if (auto home = stringAt(file, kHomePageKey)) settings.homePage = *home;
    if (auto prefix = stringAt(file, kSearchEngineKey); prefix && isSearchPrefix(*prefix)) settings.searchEngine = *prefix;
    if (auto name = stringAt(file, kColorThemeKey))
        settings.colorTheme = colorThemeFromRawValue(*name).value_or(settings.colorTheme);
    if (auto zoom = numberAt(file, kPageZoomKey); zoom && isPageZoom(*zoom)) settings.pageZoom = *zoom;
    if (auto shown = booleanAt(file, kExplorerBarKey)) settings.isExplorerBarVisible = *shown;
    if (stringAt(file, kStartPagesKey) == kLastTabsStart) settings.startPages = StartPages::lastTabs;
    return settings;
}

}  // namespace

std::optional<BrowserSettings> readSettingsText(std::string_view text) {
    const KeyFile file = newKeyFile();
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) return std::nullopt;
    return settingsIn(file.get());
}

std::string settingsText(const BrowserSettings& settings) {
    const KeyFile file = newKeyFile();
    g_key_file_set_string(file.get(), kGroup, kHomePageKey, settings.homePage.c_str());
    g_key_file_set_string(file.get(), kGroup, kSearchEngineKey, settings.searchEngine.c_str());
    g_key_file_set_string(file.get(), kGroup, kColorThemeKey, std::string(rawValue(settings.colorTheme)).c_str());
    g_key_file_set_double(file.get(), kGroup, kPageZoomKey, settings.pageZoom);
    g_key_file_set_boolean(file.get(), kGroup, kExplorerBarKey, settings.isExplorerBarVisible);
    g_key_file_set_string(file.get(), kGroup, kStartPagesKey,
                          settings.startPages == StartPages::lastTabs ? kLastTabsStart : kHomePageStart);
    gsize length = 0;
    g_autofree gchar* text = g_key_file_to_data(file.get(), &length, nullptr);
    return std::string(text, length);
}

}  // namespace sarvik

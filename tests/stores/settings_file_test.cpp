#include "stores/settings_file.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace sarvik {
namespace {

namespace fs = std::filesystem;

BrowserSettings with(void (*change)(BrowserSettings&)) {
    BrowserSettings settings;
    change(settings);
    return settings;
}

TEST(SettingsFileTest, EachKeyReadsOnItsOwnAndADamagedFileIsKeptAsideForTheDefaults) {
    const struct {
        const char* name;
        std::optional<std::string> text;  // none: no file
        std::optional<BrowserSettings> read;
        bool keptAside = false;
    } table[] = {
        {"no file: first start", std::nullopt, std::nullopt},
        {"every key", "[Settings]\nHomePage=https://start.example/\nSearchEngine=https://www.bing.com/search?q=\n"
                      "ColorTheme=Grape\nPageZoom=1.2\nShowExplorerBarOnLaunch=false\nOnStart=LastTabs\n",
         BrowserSettings{"https://start.example/", "https://www.bing.com/search?q=", OrvelColorTheme::grape, 1.2, false,
                         StartPages::lastTabs}},
        {"empty home page, unknown keys and groups", "[Settings]\nHomePage=\nLater=1\n[Other]\nPageZoom=2\n",
         with([](BrowserSettings& s) { s.homePage = ""; })},
        {"bad values keep their own defaults",
         "[Settings]\nHomePage=\xff\nSearchEngine=javascript:alert(1)\nColorTheme=grape\nPageZoom=3.01\n"
         "ShowExplorerBarOnLaunch=maybe\nOnStart=lasttabs\n",
         BrowserSettings{}},
        {"zoom below the bounds", "[Settings]\nPageZoom=0.29\n", BrowserSettings{}},
        {"zoom nan", "[Settings]\nPageZoom=nan\nSearchEngine=\n", BrowserSettings{}},
        {"zoom at the bounds", "[Settings]\nPageZoom=0.3\nColorTheme=PowerBook\n",
         with([](BrowserSettings& s) { s.pageZoom = 0.3, s.colorTheme = OrvelColorTheme::powerbook; })},
        {"no key file", "HomePage=https://start.example/\n", BrowserSettings{}, true},
        {"broken group", "[Settings\nPageZoom=2\n", BrowserSettings{}, true},
    };
    for (const auto& row : table) {
        testing::TemporaryDirectory folder;
        const fs::path path = folder / "settings.ini";
        if (row.text) testing::writeFile(path, *row.text);
        EXPECT_EQ(SettingsFile(path).load(), row.read) << row.name;
        EXPECT_EQ(fs::exists(path.string() + ".damaged-1"), row.keptAside) << row.name;
        if (row.keptAside) {
            EXPECT_EQ(testing::readFile(path.string() + ".damaged-1"), *row.text) << row.name;
            EXPECT_FALSE(fs::exists(path)) << "the next start is a first start: " << row.name;
        }
    }
}

TEST(SettingsFileTest, WhatIsSavedReadsBackTheSameAndAFolderInItsPlaceStaysUntouched) {
    testing::TemporaryDirectory folder;
    const fs::path path = folder / "config" / "SarvikBrowser" / "settings.ini";
    const BrowserSettings chosen{"  start.example/page \t\n", "https://duckduckgo.com/?q=", OrvelColorTheme::lime, 0.9, false, StartPages::lastTabs};
    ASSERT_TRUE(SettingsFile(path).save(chosen)) << "the folder is made";
    EXPECT_EQ(SettingsFile(path).load(), chosen);
    EXPECT_EQ(settingsOf(BrowserState()), BrowserSettings()) << "the defaults are a fresh state's";

    fs::remove(path);
    fs::create_directory(path);  // readable as no file, and not to be kept aside
    EXPECT_EQ(SettingsFile(path).load(), BrowserSettings());
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_FALSE(SettingsFile(path).save(chosen));
}

}  // namespace
}  // namespace sarvik

#include "support/display/browser_window_harness.h"
#include "support/display/gtk_test_environment.h"
#include "support/file_helpers.h"

#include <gtest/gtest.h>
#include <gtkmm/label.h>

#include <algorithm>

namespace sarvik {
namespace {

class FavoritesFileCommandsTest : public ::testing::Test {
protected:
    BrowserDataStore& store() { return browser.content().dataStore(); }
    FavoritesFileCommands& commands() { return browser.window->favoritesFileCommands(); }
    std::size_t favoriteCount() {
        const auto& all = store().bookmarks().get();
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [](const Bookmark& b) { return !b.isFolder; }));
    }
    void restoreFirst(RestoreFavoritesDialog& dialog) {
        dialog.list().select_row(*dialog.list().get_row_at_index(0));
        ASSERT_TRUE(dialog.restoreButton().get_sensitive());
        g_signal_emit_by_name(dialog.restoreButton().gobj(), "clicked");
    }

    testing::BrowserWindowHarness browser;
    testing::TemporaryDirectory files;
};

TEST_F(FavoritesFileCommandsTest, ExportThenImportRoundTripsTheTreeAndADamagedOrMissingFileAddsNothing) {
    commands().showImportChooser();
    ASSERT_NE(commands().chooser(), nullptr);
    EXPECT_EQ(commands().chooser()->get_action(), Gtk::FileChooser::Action::OPEN);
    commands().chooser()->hide();
    commands().showExportChooser();
    EXPECT_EQ(commands().chooser()->get_action(), Gtk::FileChooser::Action::SAVE);
    commands().chooser()->hide();

    const auto top = store().bookmarksInFolder(std::nullopt).front().id;
    store().addFolder("Inner <&>", top);
    store().addBookmark("Deep", "https://deep.example/", store().bookmarks()->back().id);
    const auto exported = files.path() / "my favorites.html";
    ASSERT_TRUE(commands().exportTo(exported));
    EXPECT_TRUE(testing::readFile(exported).starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    const auto before = store().bookmarks()->size();
    ASSERT_TRUE(commands().importFrom(exported));
    EXPECT_EQ(store().bookmarks()->size(), 2 * before + 1);
    const auto imported = store().bookmarksInFolder(std::nullopt).back();
    EXPECT_EQ(imported.title, "my favorites");
    const auto toolbar = store().bookmarksInFolder(imported.id);
    ASSERT_EQ(toolbar.size(), 1u);
    EXPECT_EQ(toolbar[0].title, "Toolbar Favorites");
    const auto inner = store().bookmarksInFolder(toolbar[0].id).back();
    EXPECT_EQ(inner.title, "Inner <&>");
    ASSERT_EQ(store().bookmarksInFolder(inner.id).size(), 1u);
    EXPECT_EQ(store().bookmarksInFolder(inner.id)[0].url, "https://deep.example/");
    EXPECT_EQ(BrowserDataStore(browser.folder.path()).bookmarks()->size(), store().bookmarks()->size()) << "saved";
    EXPECT_EQ(commands().message(), nullptr);

    const auto kept = store().bookmarks().get();
    const auto damaged = files.path() / "damaged.html";
    testing::writeFile(damaged, "<html><body>\xFF\xFE<a href=\"https://x.example/\">not a bookmark file");
    EXPECT_FALSE(commands().importFrom(damaged));
    ASSERT_NE(commands().message(), nullptr);
    EXPECT_TRUE(commands().message()->get_visible());
    EXPECT_NE(std::string(commands().message()->property_text().get_value()).find("is not a bookmark file"),
              std::string::npos);
    EXPECT_FALSE(commands().importFrom(files.path() / "missing.html"));
    EXPECT_EQ(store().bookmarks().get(), kept);
}

TEST_F(FavoritesFileCommandsTest, RestoringTodaysCopyBringsBackDeletedFavoritesUnlessItCanNoLongerBeRead) {
    store().addBookmark("Keep me", "https://keep.example/", std::nullopt);  // a save, so today's copy exists
    ASSERT_EQ(store().favoritesBackups().size(), 1u);
    const std::size_t keptCount = store().favoritesBackups()[0].favoriteCount;
    ASSERT_GT(keptCount, 0u);
    for (const auto& top : store().bookmarksInFolder(std::nullopt)) store().deleteBookmark(top.id);
    ASSERT_EQ(favoriteCount(), 0u);

    commands().showRestoreDialog();
    auto* dialog = commands().restoreDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->backups().size(), 1u) << "the same day keeps one copy";
    const auto* rowLabel = dynamic_cast<const Gtk::Label*>(dialog->list().get_row_at_index(0)->get_child());
    ASSERT_NE(rowLabel, nullptr);
    EXPECT_NE(std::string(rowLabel->get_text()).find(std::to_string(keptCount) + " favorite"), std::string::npos);
    dialog->list().unselect_all();
    EXPECT_FALSE(dialog->restoreButton().get_sensitive()) << "nothing chosen";
    const std::string copy = testing::readFile(dialog->backups()[0].file);
    testing::writeFile(dialog->backups()[0].file, "{ damaged");
    restoreFirst(*dialog);
    EXPECT_TRUE(dialog->get_visible());
    EXPECT_NE(std::string(dialog->notice().get_text()).find("can no longer be read"), std::string::npos);
    EXPECT_EQ(favoriteCount(), 0u);

    testing::writeFile(dialog->backups()[0].file, copy);
    restoreFirst(*dialog);
    EXPECT_FALSE(dialog->get_visible());
    EXPECT_EQ(favoriteCount(), keptCount);
}

}  // namespace
}  // namespace sarvik

#include "views/main_window.h"

#include "support/display/gtk_test_environment.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>
#include <gtkmm/label.h>

#include <algorithm>

namespace sarvik {
namespace {

class FavoritesFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.homePage = "about:blank";
        window = std::make_unique<MainWindow>(state, auctions, folder.path());
        window->present();
    }
    void TearDown() override {
        window.reset();
        testing::drainMainLoop();
    }

    BrowserDataStore& store() { return window->contentView().dataStore(); }
    FavoritesFileCommands& commands() { return window->favoritesFileCommands(); }

    testing::TemporaryDirectory folder;
    testing::TemporaryDirectory files;
    BrowserState state;
    AuctionStore auctions{folder.path()};
    std::unique_ptr<MainWindow> window;
};

TEST_F(FavoritesFileCommandsTest, ExportThenImportRoundTripsTheNestedTreeUnderAFolderNamedAfterTheFile) {
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
    // Saved through the store: a new store over the same folder sees it.
    BrowserDataStore reloaded(folder.path());
    EXPECT_EQ(reloaded.bookmarks()->size(), store().bookmarks()->size());
    EXPECT_EQ(commands().message(), nullptr);
}

TEST_F(FavoritesFileCommandsTest, ADamagedOrForeignFileAddsNothingAndSaysSo) {
    const auto before = store().bookmarks().get();
    const auto damaged = files.path() / "damaged.html";
    testing::writeFile(damaged, "<html><body>\xFF\xFE<a href=\"https://x.example/\">not a bookmark file");
    EXPECT_FALSE(commands().importFrom(damaged));
    ASSERT_NE(commands().message(), nullptr);
    EXPECT_TRUE(commands().message()->get_visible());
    EXPECT_NE(std::string(commands().message()->property_text().get_value()).find("is not a bookmark file"),
              std::string::npos);
    EXPECT_FALSE(commands().importFrom(files.path() / "missing.html"));
    EXPECT_EQ(store().bookmarks().get(), before);
}

TEST_F(FavoritesFileCommandsTest, TheChoosersOpenAndCloseWithoutActing) {
    commands().showImportChooser();
    ASSERT_NE(commands().chooser(), nullptr);
    EXPECT_EQ(commands().chooser()->get_action(), Gtk::FileChooser::Action::OPEN);
    commands().chooser()->hide();
    commands().showExportChooser();
    EXPECT_EQ(commands().chooser()->get_action(), Gtk::FileChooser::Action::SAVE);
    commands().chooser()->hide();
}

TEST_F(FavoritesFileCommandsTest, RestoringTodaysCopyBringsBackADeletedFavorite) {
    store().addBookmark("Keep me", "https://keep.example/", std::nullopt);
    const auto kept = store().bookmarks()->back();
    const auto countWithIt = store().bookmarks()->size();
    store().deleteBookmark(kept.id);  // same day: the copy made with it stays the newest
    ASSERT_EQ(store().bookmarks()->size(), countWithIt - 1);

    commands().showRestoreDialog();
    auto* dialog = commands().restoreDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->backups().size(), 1u);
    const auto* rowLabel = dynamic_cast<const Gtk::Label*>(dialog->list().get_row_at_index(0)->get_child());
    ASSERT_NE(rowLabel, nullptr);
    EXPECT_NE(std::string(rowLabel->get_text()).find(std::to_string(dialog->backups()[0].favoriteCount) + " favorites"),
              std::string::npos);
    EXPECT_FALSE(dialog->restoreButton().get_sensitive()) << "nothing chosen yet";
    dialog->list().select_row(*dialog->list().get_row_at_index(0));
    ASSERT_TRUE(dialog->restoreButton().get_sensitive());
    dialog->restoreButton().signal_clicked().emit();

    EXPECT_FALSE(dialog->get_visible());
    const auto& restored = store().bookmarks().get();
    EXPECT_EQ(restored.size(), countWithIt);
    EXPECT_NE(std::find_if(restored.begin(), restored.end(), [&](const Bookmark& b) { return b.id == kept.id; }),
              restored.end());
}

TEST_F(FavoritesFileCommandsTest, ACopyThatCanNoLongerBeReadChangesNothingAndSaysSo) {
    store().addBookmark("Keep me", "https://keep.example/", std::nullopt);
    commands().showRestoreDialog();
    auto* dialog = commands().restoreDialog();
    ASSERT_EQ(dialog->backups().size(), 1u);
    testing::writeFile(dialog->backups()[0].file, "{ damaged");
    const auto before = store().bookmarks().get();
    dialog->list().select_row(*dialog->list().get_row_at_index(0));
    dialog->restoreButton().signal_clicked().emit();
    EXPECT_TRUE(dialog->get_visible());
    EXPECT_NE(std::string(dialog->notice().get_text()).find("can no longer be read"), std::string::npos);
    EXPECT_EQ(store().bookmarks().get(), before);
}

}  // namespace
}  // namespace sarvik

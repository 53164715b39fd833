#include "views/explorer_bar/scrapbook/scrapbook_panel.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "stores/page_archiver.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/loopback_web_view.h"
#include "support/display/widget_screenshot.h"
#include "support/display/x_input.h"
#include "support/loopback_http_server.h"
#include "support/temporary_directory.h"
#include "themes/explorer_bar_css.h"
#include "themes/scrapbook_panel_css.h"
#include "views/explorer_bar/explorer_bar_test_fixture.h"
#include "views/explorer_bar/scrapbook/scrapbook_row.h"
#include "support/display/widget_search.h"

#include "web/web_page_archiver.h"

#include <gtest/gtest.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/popovermenu.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>
#include <webkit/webkit.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sarvik {
namespace {

using testing::runMainLoopUntil;

const char* kPage = "<!doctype html><html><head><title>Kept Page</title></head>"
                    "<body><p>Saved words</p></body></html>";

// Canned archive bytes, for tests about the list rather than the engine.
class CannedArchiver final : public PageArchiver {
public:
    void createArchive(Completion completion) override { completion(std::string("MIME-Version: 1.0\r\n"), ""); }
};

class ScrapbookPanelTest : public ::testing::Test {
protected:
    ScrapbookPanelTest() {
        setenv("TZ", "UTC", 1);
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
    }

    ~ScrapbookPanelTest() override {
        if (window) window->destroy();
        panel.reset();
        if (m_css) Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), m_css);
        testing::drainMainLoop();
    }

    void show(ScrapbookPanel::ActivePage activePage = {}) {
        m_css = Gtk::CssProvider::create();
        m_css->load_from_data(explorerBarCss(state.colorTheme) + scrapbookPanelCss(state.colorTheme));
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), m_css,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(250, 480);
        panel = std::make_unique<ScrapbookPanel>(state, store, std::move(activePage));
        window->set_child(*panel);
        window->present();
        settle();
    }

    void settle() {
        testing::drainMainLoop();
        runMainLoopUntil([this] { return window->get_mapped(); }, std::chrono::seconds(5));
        for (int frame = 0; frame < 3; ++frame) testing::waitForDrawnFrame(*window);
        testing::drainMainLoop();
    }

    // Adds a page to the store's top level, saved at `seconds` past noon.
    Uuid addPage(const std::string& title, double seconds = 0) {
        clock.set(testing::kNoon.addingSeconds(seconds));
        CannedArchiver archiver;
        bool done = false;
        store.savePage(archiver, title, "http://127.0.0.1:1/" + title, [&](bool) { done = true; });
        runMainLoopUntil([&] { return done; });
        return itemTitled(title).id;
    }

    Uuid folderId(const std::string& title) const {
        for (const auto& folder : store.folders().get())
            if (folder.title == title) return folder.id;
        ADD_FAILURE() << "no folder " << title;
        return {};
    }

    std::vector<ScrapbookRow*> rows() {
        settle();
        return testing::shownRows<ScrapbookRow>(panel->listView());
    }

    // The list as text: "[Folder] n" for a folder header, "  Title" inside a
    // folder, "Title" at the top level.
    std::vector<std::string> listed() {
        std::vector<std::string> lines;
        for (auto* row : rows()) {
            const auto& entry = row->entry();
            if (entry->record().isFolder)
                lines.push_back("[" + entry->record().folder.title + "] " + row->countLabel().get_text());
            else
                lines.push_back((entry->record().item.folderId ? "  " : "") + row->titleLabel().get_text());
        }
        return lines;
    }

    ScrapbookRow* rowTitled(const std::string& title) {
        for (auto* row : rows())
            if (row->titleLabel().get_text().raw() == title) return row;
        return nullptr;
    }

    ScrapbookItem itemTitled(const std::string& title) const {
        for (const auto& item : store.items().get())
            if (item.title == title) return item;
        ADD_FAILURE() << "no item " << title;
        return {};
    }

    testing::TemporaryDirectory directory;
    testing::FakeClock clock;
    BrowserState state;
    ScrapbookStore store{directory.path(), clock};
    std::unique_ptr<Gtk::Window> window;
    std::unique_ptr<ScrapbookPanel> panel;

private:
    Glib::RefPtr<Gtk::CssProvider> m_css;
};

void pointActiveTabAt(BrowserState& state, const std::string& url, const std::string& title) {
    state.updateTab(state.activeTabId, [&](BrowserTab& tab) {
        tab.url = Url::parse(url);
        tab.title = title;
    });
}

TEST_F(ScrapbookPanelTest, SavingAServedPageAddsARowAndItsArchive) {
    testing::LoopbackHttpServer server;
    server.serve("/page", kPage);
    testing::LoopbackWebView page;
    ASSERT_TRUE(page.load(server.url("/page")));
    pointActiveTabAt(state, server.url("/page"), "Kept Page");
    show([&page] { return std::make_unique<WebPageArchiver>(page.webView()); });
    EXPECT_FALSE(panel->header().resultRevealer().get_reveal_child());

    testing::click(panel->header().saveButton());
    EXPECT_TRUE(panel->isSaving());
    EXPECT_FALSE(panel->header().saveButton().get_sensitive());
    EXPECT_EQ(panel->header().saveButton().get_child(), &panel->header().spinner());
    ASSERT_TRUE(runMainLoopUntil([&] { return panel->saveSuccess().has_value(); }, std::chrono::seconds(20)));

    EXPECT_EQ(panel->saveSuccess(), true);
    EXPECT_TRUE(panel->header().saveButton().get_sensitive());
    EXPECT_TRUE(panel->header().resultIcon().has_css_class("success"));
    EXPECT_TRUE(panel->header().resultRevealer().get_reveal_child());
    ASSERT_EQ(store.items()->size(), 1u);
    const auto item = store.items()->front();
    EXPECT_EQ(item.url, server.url("/page"));
    EXPECT_TRUE(std::filesystem::is_regular_file(store.archiveDir() / item.archiveFilename));
    EXPECT_EQ(listed(), (std::vector<std::string>{"Kept Page"}));
    EXPECT_FALSE(panel->emptyNotice().get_visible());

    // The result goes after two seconds.
    EXPECT_TRUE(runMainLoopUntil([&] { return !panel->saveSuccess(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(panel->header().resultRevealer().get_reveal_child());
}

TEST_F(ScrapbookPanelTest, APanelClosedDuringASaveLeavesTheSaveToTheStore) {
    testing::LoopbackHttpServer server;
    server.serve("/page", kPage);
    testing::LoopbackWebView page;
    ASSERT_TRUE(page.load(server.url("/page")));
    pointActiveTabAt(state, server.url("/page"), "Kept Page");
    show([&page] { return std::make_unique<WebPageArchiver>(page.webView()); });

    testing::click(panel->header().saveButton());
    ASSERT_TRUE(panel->isSaving());
    window->unset_child();
    panel.reset();  // another explorer-bar tab was chosen
    EXPECT_TRUE(runMainLoopUntil([&] { return !store.items()->empty(); }, std::chrono::seconds(20)));
}

TEST_F(ScrapbookPanelTest, AFailedSaveShowsTheFailureIconAndAddsNoRow) {
    // A view that never showed anything has no page to archive.
    auto* empty = WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr)));
    pointActiveTabAt(state, "http://127.0.0.1:1/nothing", "Nothing");
    show([empty] { return std::make_unique<WebPageArchiver>(empty); });

    ::testing::internal::CaptureStdout();
    testing::click(panel->header().saveButton());
    const bool finished = runMainLoopUntil([&] { return panel->saveSuccess().has_value(); }, std::chrono::seconds(20));
    ::testing::internal::GetCapturedStdout();
    g_object_unref(empty);
    ASSERT_TRUE(finished);

    EXPECT_EQ(panel->saveSuccess(), false);
    EXPECT_TRUE(panel->header().resultIcon().has_css_class("failure"));
    EXPECT_FALSE(panel->header().resultIcon().has_css_class("success"));
    EXPECT_TRUE(store.items()->empty());
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(panel->emptyNotice().get_visible());
}

TEST_F(ScrapbookPanelTest, WithoutAWebViewOrAnAddressTheSaveButtonDoesNothing) {
    show();
    testing::click(panel->header().saveButton());
    EXPECT_FALSE(panel->isSaving());
    EXPECT_FALSE(panel->saveSuccess());
}

TEST_F(ScrapbookPanelTest, FoldersListTheirCountsAndTheNewFolderRowCreatesThem) {
    show();
    EXPECT_TRUE(panel->emptyNotice().get_visible());
    EXPECT_FALSE(panel->newFolderRow().get_visible());

    testing::click(panel->header().newFolderButton());
    EXPECT_TRUE(panel->newFolderRow().get_visible());
    testing::click(panel->confirmFolderButton());  // empty: only closes
    EXPECT_FALSE(panel->newFolderRow().get_visible());
    EXPECT_TRUE(store.folders()->empty());

    testing::click(panel->header().newFolderButton());
    panel->newFolderField().set_text("  ");
    testing::pressReturn(panel->newFolderField());
    EXPECT_FALSE(panel->newFolderRow().get_visible());
    ASSERT_EQ(store.folders()->size(), 1u);
    EXPECT_EQ(store.folders()->front().title, "  ");
    EXPECT_FALSE(panel->emptyNotice().get_visible());
    EXPECT_EQ(panel->newFolderField().get_text().raw(), "");

    store.addFolder("Work");
    const auto first = addPage("First", 10);
    const auto second = addPage("Second", 20);
    const auto third = addPage("Third", 30);
    for (const auto& id : {first, second, third}) store.moveItem(id, folderId("Work"));
    addPage("Loose", 40);
    EXPECT_EQ(listed(), (std::vector<std::string>{"[  ] 0", "[Work] 3", "  Third", "  Second", "  First", "Loose"}));
    auto* row = rowTitled("Third");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->has_css_class("in-folder"));
    EXPECT_EQ(row->detailLabel().get_text().raw(), panel->dateText(testing::kNoon.addingSeconds(30)));
    EXPECT_FALSE(row->detailLabel().get_text().empty());
    EXPECT_FALSE(rowTitled("Loose")->has_css_class("in-folder"));
}

TEST_F(ScrapbookPanelTest, ItemsMoveIntoAFolderAndBackToTheRoot) {
    store.addFolder("Work");
    store.addFolder("my_folder");
    addPage("Page");
    show();

    auto* row = rowTitled("Page");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->contextMenu().labels(),
              (std::vector<std::string>{"Open", "Open Original URL", "Move to Work", "Move to my_folder", "Delete"}));
    // The folder's name is shown as typed, underscore and all.
    testing::pointerAt(*row, "click 3");
    Gtk::PopoverMenu* menu = nullptr;
    ASSERT_TRUE(runMainLoopUntil([&] {
        auto menus = testing::findAll<Gtk::PopoverMenu>(*row);
        menu = menus.empty() ? nullptr : menus.front();
        return menu && menu->get_mapped();
    }));
    EXPECT_NE(testing::findLabel(*menu, "Move to my_folder"), nullptr);
    menu->popdown();
    ASSERT_TRUE(row->contextMenu().activate("Move to my_folder"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"[Work] 0", "[my_folder] 1", "  Page"}));

    row = rowTitled("Page");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->contextMenu().labels(), (std::vector<std::string>{"Open", "Open Original URL", "Move to Work",
                                                                     "Move to my_folder", "Move to Root", "Delete"}));
    ASSERT_TRUE(row->contextMenu().activate("Move to Root"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"[Work] 0", "[my_folder] 0", "Page"}));
    EXPECT_FALSE(itemTitled("Page").folderId);
}

TEST_F(ScrapbookPanelTest, DeletingAFolderMovesItsItemsToTheRoot) {
    store.addFolder("Work");
    const auto id = addPage("Inside");
    store.moveItem(id, folderId("Work"));
    show();
    ASSERT_EQ(listed(), (std::vector<std::string>{"[Work] 1", "  Inside"}));

    auto* header = rows().front();
    ASSERT_TRUE(header->entry()->record().isFolder);
    EXPECT_EQ(header->contextMenu().labels(), (std::vector<std::string>{"Delete Folder"}));
    ASSERT_TRUE(header->contextMenu().activate("Delete Folder"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"Inside"}));
    EXPECT_TRUE(store.folders()->empty());
}

TEST_F(ScrapbookPanelTest, DeletingAnItemRemovesItsRowAndFile) {
    addPage("Doomed");
    const auto file = store.archiveDir() / itemTitled("Doomed").archiveFilename;
    ASSERT_TRUE(std::filesystem::exists(file));
    show();

    auto* row = rowTitled("Doomed");
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->contextMenu().activate("Delete"));
    EXPECT_TRUE(listed().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(panel->emptyNotice().get_visible());
}

TEST_F(ScrapbookPanelTest, OpeningAnItemPostsItsArchiveAndSelectsItsRow) {
    addPage("Other", 5);
    addPage("Readable", 10);
    show();
    std::vector<UserInfo> posted;
    auto subscription = NotificationCenter::defaultCenter().subscribe(
        notifications::kLoadScrapbookArchive, [&](const Notification& note) { posted.push_back(note.userInfo); });

    testing::activateListRow(panel->listView(), 0);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].at("data"), "MIME-Version: 1.0\r\n");
    EXPECT_EQ(posted[0].at("url"), "http://127.0.0.1:1/Readable");
    ASSERT_TRUE(panel->selectedItem());
    EXPECT_EQ(panel->selectedItem()->title, "Readable");
    EXPECT_TRUE(rowTitled("Readable")->has_css_class("selected"));
    EXPECT_FALSE(rowTitled("Other")->has_css_class("selected"));

    ASSERT_TRUE(rowTitled("Readable")->contextMenu().activate("Open Original URL"));
    EXPECT_EQ(testing::loadedUrl(state), "http://127.0.0.1:1/Readable");
}

TEST_F(ScrapbookPanelTest, OpeningAnItemWhoseFileWentSelectsItAndPostsNothing) {
    addPage("Gone");
    std::filesystem::remove(store.archiveDir() / store.items()->front().archiveFilename);
    show();
    int posts = 0;
    auto subscription = NotificationCenter::defaultCenter().subscribe(notifications::kLoadScrapbookArchive,
                                                                      [&](const Notification&) { ++posts; });

    auto* row = rowTitled("Gone");
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->contextMenu().activate("Open"));
    EXPECT_EQ(posts, 0);
    ASSERT_TRUE(panel->selectedItem());
    EXPECT_EQ(panel->selectedItem()->title, "Gone");
    EXPECT_TRUE(rowTitled("Gone")->has_css_class("selected"));
}

TEST_F(ScrapbookPanelTest, TheLastOfFiveHundredPagesShowsWhenScrolledToTheEnd) {
    for (int i = 0; i < 500; ++i) addPage("Page " + std::to_string(i), i);
    show();
    auto scroll = testing::findAll<Gtk::ScrolledWindow>(*panel).front()->get_vadjustment();
    EXPECT_TRUE(runMainLoopUntil([&] {
        scroll->set_value(scroll->get_upper());
        return rowTitled("Page 0") != nullptr;
    }, std::chrono::seconds(10)));
}

TEST_F(ScrapbookPanelTest, ScreenshotWithFoldersAndItems) {
    store.addFolder("Research");
    store.addFolder("Recipes");
    const auto a = addPage("GTK 4 list views", 60);
    const auto b = addPage("Layout managers", 120);
    addPage("Weekend bread", 180);
    store.moveItem(a, folderId("Research"));
    store.moveItem(b, folderId("Research"));
    store.moveItem(itemTitled("Weekend bread").id, folderId("Recipes"));
    addPage("Release notes", 240);
    addPage("Coffee brewing guide", 300);
    show();
    panel->openItem(itemTitled("Release notes").id);
    ASSERT_EQ(listed().size(), 7u);
    EXPECT_TRUE(rowTitled("Release notes")->has_css_class("selected"));
    testing::saveScreenshotIfRequested(*window, "scrapbook_panel");
}

}  // namespace
}  // namespace sarvik

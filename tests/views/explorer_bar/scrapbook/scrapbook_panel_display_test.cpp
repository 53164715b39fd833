#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "stores/page_archiver.h"
#include "stores/scrapbook_data.h"
#include "views/explorer_bar/scrapbook/scrapbook_panel.h"
#include "views/explorer_bar/scrapbook/scrapbook_row.h"
#include "web/web_page_archiver.h"

#include <gtkmm/popovermenu.h>
#include <gtkmm/scrolledwindow.h>
#include <webkit/webkit.h>

#include <filesystem>

namespace sarvik::testing {
namespace {

using Lines = std::vector<std::string>;

class ScrapbookPanelTest : public ExplorerBarTest {
protected:
    void show(ScrapbookPanel::ActivePage activePage = {}) {
        panel = Gtk::make_managed<ScrapbookPanel>(state, store, std::move(activePage));
        present(*panel);
    }

    // Adds a page to the top level, saved at `seconds` past noon.
    Uuid addPage(const std::string& title, double seconds = 0) {
        clock.set(kNoon.addingSeconds(seconds));
        savePage(store, title);
        return item(title).id;
    }

    Uuid folderId(const std::string& title) const {
        for (const auto& folder : store.folders().get())
            if (folder.title == title) return folder.id;
        throw std::runtime_error("no folder " + title);
    }

    ScrapbookItem item(const std::string& title) const {
        for (const auto& each : store.items().get())
            if (each.title == title) return each;
        throw std::runtime_error("no item " + title);
    }

    std::vector<ScrapbookRow*> rows() {
        settle();
        return shownRows<ScrapbookRow>(panel->listView());
    }

    // "[Folder] count" for a folder, "  Title" inside one, "Title" at the top level.
    Lines listed() {
        Lines lines;
        for (auto* row : rows()) {
            const auto& record = row->entry()->record();
            lines.push_back(record.isFolder ? "[" + record.folder.title + "] " + row->countLabel().get_text()
                                            : (record.item.folderId ? "  " : "") + row->titleLabel().get_text());
        }
        return lines;
    }

    ScrapbookRow& row(const std::string& title) {
        for (auto* each : rows())
            if (each->titleLabel().get_text().raw() == title ||
                (each->entry()->record().isFolder && each->entry()->record().folder.title == title))
                return *each;
        throw std::runtime_error("no row " + title);
    }

    void choose(const std::string& title, const std::string& entry) { ASSERT_TRUE(row(title).contextMenu().activate(entry)); }

    ScrapbookStore& store = scrapbookStore;
    ScrapbookPanel* panel = nullptr;
};

TEST_F(ScrapbookPanelTest, WithoutAPageSavingDoesNothingAndAFailedSaveShowsTheFailure) {
    show();
    press(panel->header().saveButton());
    EXPECT_FALSE(panel->isSaving());
    EXPECT_FALSE(panel->saveSuccess());

    // A view that never showed anything has no page to archive.
    auto* empty = WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr)));
    state.updateTab(state.activeTabId, [&](BrowserTab& tab) {
        tab.url = Url::parse("http://127.0.0.1:1/nothing");
        tab.title = "Nothing";
    });
    window.unset_child();
    show([empty] { return std::make_unique<WebPageArchiver>(empty); });
    ::testing::internal::CaptureStdout();
    press(panel->header().saveButton());
    const bool finished = runMainLoopUntil([&] { return panel->saveSuccess().has_value(); });
    const std::string printed = ::testing::internal::GetCapturedStdout();
    g_object_unref(empty);
    ASSERT_TRUE(finished);
    EXPECT_EQ(printed.rfind("Failed to create webarchive: ", 0), 0u) << printed;
    EXPECT_EQ(panel->saveSuccess(), false);
    EXPECT_TRUE(panel->header().resultIcon().has_css_class("failure"));
    EXPECT_FALSE(panel->header().resultIcon().has_css_class("success"));
    EXPECT_TRUE(store.items()->empty());
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(panel->emptyNotice().get_visible());
}

TEST_F(ScrapbookPanelTest, FoldersHoldMoveOpenAndDeletePages) {
    show();
    EXPECT_TRUE(panel->emptyNotice().get_visible());
    EXPECT_FALSE(panel->newFolderRow().get_visible());
    press(panel->header().newFolderButton());
    EXPECT_TRUE(panel->newFolderRow().get_visible());
    press(panel->confirmFolderButton());  // empty: only closes
    EXPECT_FALSE(panel->newFolderRow().get_visible());
    EXPECT_TRUE(store.folders()->empty());
    press(panel->header().newFolderButton());
    panel->newFolderField().set_text("  ");
    pressReturn(panel->newFolderField());
    EXPECT_FALSE(panel->newFolderRow().get_visible());
    ASSERT_EQ(store.folders()->size(), 1u);
    EXPECT_EQ(store.folders()->front().title, "  ");
    EXPECT_FALSE(panel->emptyNotice().get_visible());
    EXPECT_EQ(panel->newFolderField().get_text().raw(), "");

    store.addFolder("my_folder");
    for (const char* title : {"First", "Second", "Third"}) store.moveItem(addPage(title, title[0]), folderId("my_folder"));
    addPage("Loose", 100);
    EXPECT_EQ(listed(), (Lines{"[  ] 0", "[my_folder] 3", "  Third", "  Second", "  First", "Loose"}));
    EXPECT_TRUE(row("Third").has_css_class("in-folder"));
    EXPECT_FALSE(row("Loose").has_css_class("in-folder"));
    EXPECT_EQ(row("Third").detailLabel().get_text().raw(), panel->dateText(kNoon.addingSeconds('T')));
    EXPECT_FALSE(row("Third").detailLabel().get_text().empty());
    saveScreenshotIfRequested(window, "scrapbook_panel");

    EXPECT_EQ(row("Loose").contextMenu().labels(),
              (Lines{"Open", "Open Original URL", "Move to   ", "Move to my_folder", "Rename", "Delete"}));
    // The folder's name shows as typed, underscore and all.
    pointerAt(row("Loose"), "click 3");
    Gtk::PopoverMenu* menu = nullptr;
    ASSERT_TRUE(runMainLoopUntil([&] {
        auto menus = findAll<Gtk::PopoverMenu>(row("Loose"));
        menu = menus.empty() ? nullptr : menus.front();
        return menu && menu->get_mapped();
    }));
    EXPECT_NE(findLabel(*menu, "Move to my_folder"), nullptr);
    menu->popdown();
    choose("Loose", "Move to my_folder");
    EXPECT_EQ(listed(), (Lines{"[  ] 0", "[my_folder] 4", "  Loose", "  Third", "  Second", "  First"}));
    EXPECT_EQ(row("Loose").contextMenu().labels(),
              (Lines{"Open", "Open Original URL", "Move to   ", "Move to my_folder", "Move to Root", "Rename", "Delete"}));
    choose("Loose", "Move to Root");
    EXPECT_FALSE(item("Loose").folderId);
    EXPECT_EQ(row("my_folder").contextMenu().labels(), (Lines{"Rename", "Delete Folder"}));
    choose("my_folder", "Delete Folder");
    EXPECT_EQ(listed(), (Lines{"[  ] 0", "Loose", "Third", "Second", "First"})) << "its pages go to the top level";

    std::vector<UserInfo> posted;
    auto subscription = NotificationCenter::defaultCenter().subscribe(
        notifications::kLoadScrapbookArchive, [&](const Notification& note) { posted.push_back(note.userInfo); });
    activateListRow(panel->listView(), 2);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].at("data"), "MIME-Version: 1.0\r\n");
    EXPECT_EQ(posted[0].at("url"), "http://127.0.0.1:1/Third");
    ASSERT_TRUE(panel->selectedItem());
    EXPECT_EQ(panel->selectedItem()->title, "Third");
    EXPECT_TRUE(row("Third").has_css_class("selected"));
    EXPECT_FALSE(row("Loose").has_css_class("selected"));
    choose("Third", "Open Original URL");
    EXPECT_EQ(loadedUrl(state), "http://127.0.0.1:1/Third");

    // A page whose file went is selected, and nothing is posted.
    std::filesystem::remove(store.archiveDir() / item("First").archiveFilename);
    choose("First", "Open");
    EXPECT_EQ(posted.size(), 1u);
    EXPECT_EQ(panel->selectedItem()->title, "First");
    EXPECT_TRUE(row("First").has_css_class("selected"));

    const auto file = store.archiveDir() / item("Second").archiveFilename;
    ASSERT_TRUE(std::filesystem::exists(file));
    choose("Second", "Delete");
    EXPECT_FALSE(std::filesystem::exists(file));
    choose("  ", "Delete Folder");
    for (const char* title : {"Loose", "Third", "First"}) choose(title, "Delete");
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(panel->emptyNotice().get_visible());
}

TEST_F(ScrapbookPanelTest, PagesAndFoldersAreRenamedInPlaceReturnKeepingTheNameAndEscapeTheOldOne) {
    store.addFolder("Reading");
    store.moveItem(addPage("Recipe"), folderId("Reading"));
    addPage("Loose", 10);
    show();
    sendKeysTo(panel->listView());
    ASSERT_TRUE(runMainLoopUntil([&] { return window.is_active(); }));
    // "Rename" opens the field over the title with the keyboard in it; typing replaces the selected title.
    const auto renameByKeys = [&](const std::string& title, const std::string& typed, const char* key) {
        choose(title, "Rename");
        ScrapbookRow& renamed = row(title);
        ASSERT_TRUE(runMainLoopUntil([&] { return hasFocusWithin(renamed.renameField()); }));
        EXPECT_FALSE(renamed.titleLabel().get_visible());
        EXPECT_EQ(renamed.renameField().get_text().raw(), title);
        typeText(typed);
        pressKeys(key);
        // A rename refills the list, which may drop the row's widget.
        ASSERT_TRUE(runMainLoopUntil([&] {
            return std::ranges::none_of(rows(), [](ScrapbookRow* each) { return each->renameField().get_visible(); });
        }, std::chrono::seconds(5)));
    };
    const auto savedTitles = [&] {
        const ScrapbookData saved = decodeScrapbookData(readFile(store.metadataFile()));
        Lines titles;
        for (const auto& folder : saved.folders) titles.push_back("[" + folder.title + "]");
        for (const auto& page : saved.items) titles.push_back(page.title);
        return titles;
    };
    renameByKeys("Recipe", "Soup", "Return");
    EXPECT_EQ(listed(), (Lines{"[Reading] 1", "  Soup", "Loose"}));
    renameByKeys("Reading", "Kitchen", "Return");
    EXPECT_EQ(listed(), (Lines{"[Kitchen] 1", "  Soup", "Loose"}));
    EXPECT_EQ(savedTitles(), (Lines{"[Kitchen]", "Soup", "Loose"}));
    EXPECT_EQ(store.readArchive(item("Soup")), "MIME-Version: 1.0\r\n") << "the page keeps its archive";
    const std::string file = readFile(store.metadataFile());
    renameByKeys("Loose", "Never", "Escape");
    EXPECT_EQ(listed(), (Lines{"[Kitchen] 1", "  Soup", "Loose"}));
    EXPECT_TRUE(row("Loose").titleLabel().get_visible());
    EXPECT_EQ(readFile(store.metadataFile()), file);
}

TEST_F(ScrapbookPanelTest, TheLastOfFiveHundredPagesShowsWhenScrolledToTheEnd) {
    for (int i = 0; i < 500; ++i) addPage("Page " + std::to_string(i), i);
    show();
    auto scroll = findAll<Gtk::ScrolledWindow>(*panel).front()->get_vadjustment();
    EXPECT_TRUE(runMainLoopUntil([&] {
        scroll->set_value(scroll->get_upper());
        return std::ranges::any_of(rows(), [](ScrapbookRow* row) { return row->titleLabel().get_text() == "Page 0"; });
    }, std::chrono::seconds(10)));
}

}  // namespace
}  // namespace sarvik::testing

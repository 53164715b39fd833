#include "views/explorer_bar/explorer_bar_test_fixture.h"

#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_panel.h"

#include <gtkmm/dragsource.h>
#include <gtkmm/popovermenu.h>

namespace sarvik::testing {
namespace {

// A row as shown: its title ("[title]" while renamed) and indentation.
struct ShownRow {
    std::string title;
    int indent;
    friend bool operator==(const ShownRow&, const ShownRow&) = default;
};
void PrintTo(const ShownRow& row, std::ostream* out) { *out << row.title << "@" << row.indent; }
using Rows = std::vector<ShownRow>;

class FavoritesPanelTest : public ExplorerBarTest {
protected:
    FavoritesPanel& panel() { return shownPanel<FavoritesPanel>(); }

    Rows shown() {
        settle();
        Rows rows;
        for (auto* row : shownRows<FavoriteRowWidget>(panel().listView()))
            rows.push_back({row->titleLabel().get_visible() ? std::string(row->titleLabel().get_text())
                                                            : "[" + std::string(row->renameField().get_text()) + "]",
                            row->get_margin_start()});
        return rows;
    }

    FavoriteRowWidget& row(const std::string& title) {
        for (auto* widget : shownRows<FavoriteRowWidget>(panel().listView()))
            if (widget->bookmark().title == title) return *widget;
        throw std::runtime_error("no row " + title);
    }

    void clickRow(const std::string& title) {
        auto tree = panel().tree();
        for (guint i = 0; i < tree->get_n_items(); ++i) {
            auto item = std::dynamic_pointer_cast<BookmarkObject>(tree->get_row(i)->get_item());
            if (item && item->record().title == title) activateListRow(panel().listView(), i);
        }
        settle();
    }

    // The tree as the saved file holds it: "title(children),title".
    std::string savedTree() {
        BrowserDataStore reloaded(directory.path(), clock);
        const auto text = [&](const auto& self, const std::optional<Uuid>& folder) -> std::string {
            std::string out;
            for (const auto& b : reloaded.bookmarksInFolder(folder))
                out += (out.empty() ? "" : ",") + (b.title.empty() ? b.url : b.title) +
                       (b.isFolder ? "(" + self(self, b.id) + ")" : "");
            return out;
        };
        return text(text, std::nullopt);
    }

    // The mapped label with that text in the open menu of the row.
    Gtk::Label* menuEntry(FavoriteRowWidget& row, const std::string& text) {
        auto* menu = row.contextMenu().popover();
        auto found = menu ? findAll<Gtk::Label>(*menu, [&](Gtk::Label& l) { return l.get_text().raw() == text && l.get_mapped(); })
                          : std::vector<Gtk::Label*>{};
        return found.size() == 1 ? found.front() : nullptr;
    }

    // Chooses "Move to" and then the entry in the row's menu, with the pointer.
    void moveByMenu(const std::string& title, const std::string& target) {
        pointerAt(row(title), "click 3");
        ASSERT_TRUE(runMainLoopUntil([&] { return menuEntry(row(title), "Move to"); }));
        settle();
        pointerAt(*menuEntry(row(title), "Move to"), "click 1");
        ASSERT_TRUE(runMainLoopUntil([&] { return menuEntry(row(title), target); })) << target;
        settle();
        const std::string before = readFile(dataStore().bookmarksFile());
        pointerAt(*menuEntry(row(title), target), "click 1");
        EXPECT_TRUE(runMainLoopUntil([&] { return readFile(dataStore().bookmarksFile()) != before; }));
        settle();
    }

    // A real drag: pressed on one row, moved in steps, let go at that fraction of
    // another row's height; returns once the drag has ended, moved or not.
    void drag(const std::string& title, const std::string& onto, double heightFraction) {
        bool ended = false;
        ScopedConnection onEnd = listDragSource().signal_drag_end().connect(
            [&](const Glib::RefPtr<Gdk::Drag>&, bool) { ended = true; });
        pointerAt(row(title), "mousedown 1");
        settle();
        for (double step : {-0.1, -0.05, 0.0}) {
            pointerAt(row(onto), "", heightFraction + step);
            settle();
        }
        pointerAt(row(onto), "mouseup 1", heightFraction);
        EXPECT_TRUE(runMainLoopUntil([&] { return ended; })) << title << " onto " << onto;
        settle();
    }

    Gtk::DragSource& listDragSource() {
        auto controllers = panel().listView().observe_controllers();
        for (guint i = 0; i < controllers->get_n_items(); ++i)
            if (auto source = std::dynamic_pointer_cast<Gtk::DragSource>(controllers->get_object(i))) return *source;
        throw std::runtime_error("the list has no drag source");
    }

    void rename(const std::string& title, const std::string& to) {
        row(title).activate_action("row.rename");
        settle();
        row(title).renameField().set_text(to);
        pressReturn(row(title).renameField());
    }
};

TEST_F(FavoritesPanelTest, AUserOpensAddsFilesRenamesAndDeletesFavorites) {
    showBar();
    EXPECT_EQ(shown(), (Rows{{"Toolbar Favorites", 8}}));
    clickRow("Toolbar Favorites");
    EXPECT_EQ(shown(), (Rows{{"Toolbar Favorites", 8}, {"Google", 24}, {"Apple", 24}, {"Wikipedia", 24}}));
    clickRow("Apple");
    EXPECT_EQ(loadedUrl(state), "https://www.apple.com");
    EXPECT_EQ(state.tabs->size(), 1u);
    // A change from elsewhere redraws the tree and keeps the open folder open.
    dataStore().addBookmark("Added", "https://added.example/", dataStore().bookmarks()->front().id);
    EXPECT_EQ(shown().size(), 5u);
    EXPECT_EQ(shown().back(), (ShownRow{"Added", 24}));
    clickRow("Toolbar Favorites");
    EXPECT_EQ(shown().size(), 1u);
    // A click below the rows leaves no folder selected for "Add page".
    EXPECT_TRUE(row("Toolbar Favorites").has_css_class("selected"));
    pointerAt(panel().listView(), "click 1", 0.9);
    EXPECT_TRUE(runMainLoopUntil([&] { return !row("Toolbar Favorites").has_css_class("selected"); }));

    press(panel().addPageButton());
    EXPECT_EQ(shown().size(), 1u) << "a new tab without an address adds nothing";
    state.updateTab(state.activeTabId.get(), [&](BrowserTab& tab) {
        tab.url = Url::parse("https://example.com/a");
        tab.title = "Example A";
    });
    press(panel().addPageButton());
    press(panel().addPageButton());
    EXPECT_EQ(shown(), (Rows{{"Toolbar Favorites", 8}, {"Example A", 8}, {"Example A", 8}}));
    EXPECT_EQ(dataStore().bookmarks()->back().url, "https://example.com/a");

    EXPECT_FALSE(panel().newFolderRow().get_visible());
    press(panel().newFolderButton());
    EXPECT_TRUE(panel().newFolderRow().get_visible());
    press(panel().confirmFolderButton());
    EXPECT_FALSE(panel().newFolderRow().get_visible());
    EXPECT_EQ(dataStore().bookmarks()->size(), 7u) << "an empty name makes no folder";
    // Typed at once: the field has the focus as it opens.
    sendKeysTo(panel().newFolderButton());
    pointerAt(panel().newFolderButton(), "click 1");
    ASSERT_TRUE(runMainLoopUntil([&] { return panel().newFolderRow().get_visible(); }));
    typeText(" Work ");
    pressKeys("Return");
    ASSERT_TRUE(runMainLoopUntil([&] { return !panel().newFolderRow().get_visible(); }, std::chrono::seconds(5)));
    EXPECT_EQ(shown(), (Rows{{"Toolbar Favorites", 8}, {"Example A", 8}, {"Example A", 8}, {" Work ", 8}}));
    EXPECT_TRUE(dataStore().bookmarks()->back().isFolder);
    press(panel().newFolderButton());
    EXPECT_EQ(panel().newFolderField().get_text(), "") << "the name is not kept for the next folder";

    // Folders nested three deep indent each level by sixteen.
    dataStore().addFolder("Two", dataStore().bookmarks()->back().id);
    dataStore().addFolder("Three", dataStore().bookmarks()->back().id);
    dataStore().addBookmark("Deep", "https://deep.example/", dataStore().bookmarks()->back().id);
    for (const char* folder : {" Work ", "Two", "Three"}) clickRow(folder);
    auto rows = shown();
    EXPECT_EQ(Rows(rows.begin() + 3, rows.end()), (Rows{{" Work ", 8}, {"Two", 24}, {"Three", 40}, {"Deep", 56}}));

    // Renaming selects the title; another rename drops the first; an empty name keeps the old title.
    clickRow("Toolbar Favorites");
    EXPECT_EQ(selectedWhenFocused(row("Google").renameField(), [&] { row("Google").activate_action("row.rename"); }),
              true);
    settle();
    row("Google").renameField().set_text("Search");
    row("Apple").activate_action("row.rename");
    rows = shown();
    EXPECT_EQ(Rows(rows.begin(), rows.begin() + 4),
              (Rows{{"Toolbar Favorites", 8}, {"Google", 24}, {"[Apple]", 24}, {"Wikipedia", 24}}));
    row("Apple").renameField().set_text("");
    pressReturn(row("Apple").renameField());
    EXPECT_EQ(shown()[2], (ShownRow{"Apple", 24}));
    rename("Wikipedia", "Encyclopedia");
    EXPECT_EQ(shown()[3], (ShownRow{"Encyclopedia", 24}));
    EXPECT_NE(readFile(dataStore().bookmarksFile()).find("Encyclopedia"), std::string::npos);

    // Deleting an open folder takes its pages with it.
    const auto before = dataStore().bookmarks()->size();
    row("Toolbar Favorites").activate_action("row.delete");
    EXPECT_EQ(dataStore().bookmarks()->size(), before - 5);
    EXPECT_EQ(shown().front(), (ShownRow{"Example A", 8}));
    EXPECT_EQ(readFile(dataStore().bookmarksFile()).find("Encyclopedia"), std::string::npos);
    for (const auto& top : dataStore().bookmarksInFolder(std::nullopt)) row(top.title).activate_action("row.delete");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(readFile(dataStore().bookmarksFile()), "[]");
}

TEST_F(FavoritesPanelTest, AUserFilesFavoritesByMenuByDraggingAndByAddingIntoTheSelectedFolder) {
    dataStore().addFolder("Work", std::nullopt);
    dataStore().addFolder("Deep", dataStore().bookmarks()->back().id);
    dataStore().addBookmark("", "https://untitled.example/", std::nullopt);
    const std::string longTitle(120, 'L');
    dataStore().addBookmark(longTitle, "https://long.example/", std::nullopt);
    showBar();
    clickRow("Toolbar Favorites");
    clickRow("Work");
    EXPECT_EQ(row("").titleLabel().get_text(), "https://untitled.example/") << "untitled: known by its address";
    EXPECT_EQ(row("Google").tooltipText(), std::nullopt) << "a title that fits has no tooltip";
    pointerAt(row(longTitle), "");
    EXPECT_TRUE(runMainLoopUntil([&] {
        return !findAll<Gtk::Label>(window, [&](Gtk::Label& label) {
                    return label.get_text().raw() == longTitle && label.get_mapped() && !label.is_ancestor(row(longTitle));
                }).empty();
    })) << "a title cut short shows whole as the tooltip";
    row(longTitle).activate_action("row.delete");
    settle();

    moveByMenu("Google", "Work \u203a Deep");
    EXPECT_EQ(savedTree(), "Toolbar Favorites(Apple,Wikipedia),Work(Deep(Google)),https://untitled.example/");
    // A folder is offered neither itself nor what lies inside it.
    pointerAt(row("Work"), "click 3");
    ASSERT_TRUE(runMainLoopUntil([&] { return row("Work").contextMenu().isOpen(); }));
    EXPECT_EQ(row("Work").contextMenu().submenuLabels("Move to"),
              (std::vector<std::string>{"Favorites", "Toolbar Favorites"}));
    row("Work").contextMenu().popover()->popdown();
    settle();

    drag("Apple", "Work", 0.5);
    EXPECT_EQ(savedTree(), "Toolbar Favorites(Wikipedia),Work(Deep(Google),Apple),https://untitled.example/");
    drag("", "Toolbar Favorites", 0.05);
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(Wikipedia),Work(Deep(Google),Apple)");
    drag("Wikipedia", "Apple", 0.85);
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(),Work(Deep(Google),Apple,Wikipedia)");
    const std::string beforeCycle = readFile(dataStore().bookmarksFile());
    drag("Work", "Deep", 0.5);
    EXPECT_EQ(readFile(dataStore().bookmarksFile()), beforeCycle) << "a folder dropped into its own child stays";
    moveByMenu("Deep", "Favorites");
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(),Work(Apple,Wikipedia),Deep(Google)");
    clickRow("Deep");
    drag("Google", "Work", 0.95);
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(),Work(Google,Apple,Wikipedia),Deep()")
        << "just below an open folder's row is its first place";

    // "Add page" adds into the selected folder, or beside the selected favorite.
    state.updateTab(state.activeTabId.get(), [&](BrowserTab& tab) {
        tab.url = Url::parse("https://example.com/new");
        tab.title = "New";
    });
    clickRow("Toolbar Favorites");
    press(panel().addPageButton());
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(New),Work(Google,Apple,Wikipedia),Deep()");
    EXPECT_TRUE(row("New").get_mapped()) << "the folder opens to show it";
    clickRow("Apple");
    press(panel().addPageButton());
    EXPECT_EQ(savedTree(), "https://untitled.example/,Toolbar Favorites(New),Work(Google,Apple,Wikipedia,New),Deep()");
}

TEST_F(FavoritesPanelTest, AnAddressThatIsNoUrlOpensAsTextOrAsAnEmptyNewTab) {
    dataStore().addBookmark("Odd", "not a url", std::nullopt);
    showBar();
    settle();
    row("Odd").activate_action("row.open-in-new-tab");
    ASSERT_EQ(state.tabs->size(), 2u);
    ASSERT_TRUE(state.activeTab());
    EXPECT_FALSE(state.activeTab()->url);

    row("Odd").activate_action("row.open");
    EXPECT_EQ(loadedUrl(state), "https://www.google.com/search?q=not%20a%20url");
    EXPECT_EQ(state.tabs->size(), 2u);
}

TEST_F(FavoritesPanelTest, AFolderListedInsideItselfOpensOnceAndNewFoldersAreStillSaved) {
    const char* loop = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
    const auto folder = [&](const std::string& title, const std::string& parent) {
        return R"({"id":")" + std::string(loop) + R"(","title":")" + title + R"(","url":"","parentFolderId":)" + parent +
               R"(,"isFolder":true,"createdAt":0,"sortOrder":0})";
    };
    writeFile(directory.path() / "bookmarks.json",
              "[" + folder("Loop", "null") + "," + folder("Loop again", std::string("\"") + loop + "\"") + "]");
    showBar();
    clickRow("Loop");
    EXPECT_EQ(shown(), (Rows{{"Loop", 8}}));
    dataStore().addFolder("Docs", std::nullopt);
    EXPECT_EQ(shown(), (Rows{{"Loop", 8}, {"Docs", 8}}));
    EXPECT_NE(readFile(dataStore().bookmarksFile()).find("Docs"), std::string::npos);
}

}  // namespace
}  // namespace sarvik::testing

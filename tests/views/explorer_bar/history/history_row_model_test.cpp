#include "views/explorer_bar/history/history_row_model.h"

#include <gio/gio.h>
#include <giomm/init.h>
#include <gtest/gtest.h>


namespace sarvik {
namespace {

struct Change {
    guint position;
    guint removed;
    guint added;
    friend bool operator==(const Change&, const Change&) = default;
};

HistoryItem entry(const std::string& url, double visitedAt, std::int64_t visits = 1) {
    return {Uuid::random(), "Title of " + url, url, Date{visitedAt}, visits};
}

// The model over a history the test changes as the store would, with the
// list changes it announces and the row objects a list view would hold.
class HistoryRowModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_signal_connect(model.listModel()->gobj(), "items-changed", G_CALLBACK(+[](GListModel*, guint p, guint r,
                                                                                     guint a, gpointer changes) {
                             static_cast<std::vector<Change>*>(changes)->push_back({p, r, a});
                         }),
                         &changes);
    }

    HistoryRowList allNewestLast() const {
        std::vector<std::size_t> positions;
        for (std::size_t i = history.size(); i-- > 0;) positions.push_back(i);
        return resultRows(history, positions);
    }

    void holdAll() {
        held.clear();
        for (guint i = 0; i < model.size(); ++i) held.push_back(model.objectAt(i));
    }

    // Every held object shows the row now at its place, as the model reports it.
    void expectHeldObjectsCurrent() {
        const guint count = g_list_model_get_n_items(model.listModel()->gobj());
        ASSERT_EQ(count, model.size());
        for (guint i = 0; i < count; ++i) {
            auto* item = static_cast<GObject*>(g_list_model_get_item(model.listModel()->gobj(), i));
            auto object = model.objectAt(i);
            EXPECT_EQ(item, G_OBJECT(object->gobj())) << i;
            EXPECT_EQ(object->row(), model.rowAt(i)) << i;
            g_object_unref(item);
        }
    }

    struct GioReady {
        GioReady() { Gio::init(); }
    } gioReady;  // before the model, which wraps its list
    std::vector<HistoryItem> history{entry("https://a.example/", 100), entry("https://b.example/", 200),
                                     entry("https://c.example/", 300)};
    std::vector<Change> changes;  // outlives the model, which announces its end
    HistoryRowModel model{history};
    std::vector<Glib::RefPtr<HistoryRowObject>> held;
};

TEST_F(HistoryRowModelTest, GroupedRowsPutAHeaderBeforeEachDayAndReadTheirEntriesFromTheHistory) {
    model.setRows(groupedRows(history, {{"Today", {2, 1}}, {"Yesterday", {0}}}));
    ASSERT_EQ(model.size(), 5u);
    EXPECT_EQ(changes, (std::vector<Change>{{0, 0, 5}}));
    EXPECT_EQ(model.rowAt(0), (HistoryRow{true, "Today", {}}));
    EXPECT_EQ(model.rowAt(1), (HistoryRow{false, {}, history[2]}));
    EXPECT_EQ(model.rowAt(3), (HistoryRow{true, "Yesterday", {}}));
    EXPECT_EQ(model.rowAt(4).item.url, "https://a.example/");
    EXPECT_EQ(model.rowAt(5), HistoryRow{});
}

TEST_F(HistoryRowModelTest, ARevisitInPlaceReachesTheHeldObjectWithoutAnnouncingAChange) {
    model.setRows(allNewestLast());
    holdAll();
    int heard = 0;
    held[0]->changed().connect([&] { ++heard; });
    held[1]->changed().connect([&] { ++heard; });
    changes.clear();

    history[2].visitCount = 5;  // the newest entry, revisited: it stays on top
    history[2].title = "Retitled";
    model.setRows(allNewestLast());
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(held[0]->row().item.title, "Retitled");
    EXPECT_EQ(held[0]->row().item.visitCount, 5);
    EXPECT_EQ(heard, 1);  // the unchanged row's widget is left alone
    expectHeldObjectsCurrent();
}

TEST_F(HistoryRowModelTest, NewMovedAndDeletedEntriesAreAnnouncedWhereTheyAreAndHeldObjectsMoveWithTheirRows) {
    model.setRows(allNewestLast());
    holdAll();
    changes.clear();

    history.push_back(entry("https://d.example/", 400));
    model.setRows(allNewestLast());
    EXPECT_EQ(changes, (std::vector<Change>{{0, 0, 1}}));
    EXPECT_EQ(held[0]->row().item.url, "https://c.example/");  // the old objects keep their rows
    expectHeldObjectsCurrent();

    changes.clear();
    holdAll();
    history.erase(history.begin() + 1);  // b: positions after it shift
    model.setRows(allNewestLast());
    EXPECT_EQ(changes, (std::vector<Change>{{2, 1, 0}}));
    EXPECT_EQ(held[3]->row().item.url, "https://a.example/");
    expectHeldObjectsCurrent();

    changes.clear();
    holdAll();
    model.setRows(resultRows(history, {0, 2, 1}));  // a, revisited, moves up over d and c
    EXPECT_EQ(changes, (std::vector<Change>{{0, 0, 1}, {3, 1, 0}}));
    EXPECT_EQ(held[0]->row().item.url, "https://d.example/");
    expectHeldObjectsCurrent();
}

TEST_F(HistoryRowModelTest, ANewSearchReplacesRowsInPlaceAndAnnouncesOnlyTheDifferenceInLength) {
    model.setRows(groupedRows(history, {{"Today", {2, 1, 0}}}));
    holdAll();
    changes.clear();
    model.setRows(resultRows(history, {1}));
    EXPECT_EQ(changes, (std::vector<Change>{{1, 3, 0}}));
    EXPECT_EQ(held[0]->row().item.url, "https://b.example/");
    expectHeldObjectsCurrent();

    changes.clear();
    model.setRows(resultRows(history, {}));
    EXPECT_EQ(changes, (std::vector<Change>{{0, 1, 0}}));
    EXPECT_EQ(model.size(), 0u);
}

TEST_F(HistoryRowModelTest, AKeyWhoseEntryMovedShowsAnEmptyRowUntilTheRowsAreRenewed) {
    model.setRows(allNewestLast());
    history.erase(history.begin());
    EXPECT_EQ(model.rowAt(0), HistoryRow{});  // c was at 2, past the end now
    EXPECT_EQ(model.rowAt(1), HistoryRow{});  // b was at 1, where c is now
    model.setRows(allNewestLast());
    EXPECT_EQ(model.rowAt(1).item.url, "https://b.example/");
}

}  // namespace
}  // namespace sarvik

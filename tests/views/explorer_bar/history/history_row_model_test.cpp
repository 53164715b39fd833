#include "views/explorer_bar/history/history_row_model.h"

#include <gio/gio.h>
#include <giomm/init.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

using Changes = std::vector<std::array<guint, 3>>;  // position, removed, added

HistoryItem entry(const std::string& url, double visitedAt) { return {Uuid::random(), "Title of " + url, url, Date{visitedAt}, 1}; }

// The model over a history the test changes as the store would, with the list
// changes it announces and the row objects a list view would hold.
class HistoryRowModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_signal_connect(model.listModel()->gobj(), "items-changed",
                         G_CALLBACK(+[](GListModel*, guint p, guint r, guint a, gpointer to) {
                             static_cast<Changes*>(to)->push_back({p, r, a});
                         }),
                         &changes);
    }
    // Renews the rows (newest first, or the given positions) and returns what was announced.
    Changes renew(std::optional<std::vector<std::size_t>> positions = std::nullopt) {
        held.clear();
        for (guint i = 0; i < model.size(); ++i) held.push_back(model.objectAt(i));
        changes.clear();
        if (!positions) {
            positions.emplace();
            for (std::size_t i = history.size(); i-- > 0;) positions->push_back(i);
        }
        model.setRows(resultRows(history, *positions));
        // Every object a list holds shows the row now at its place.
        EXPECT_EQ(g_list_model_get_n_items(model.listModel()->gobj()), model.size());
        for (guint i = 0; i < model.size(); ++i) {
            auto* item = static_cast<GObject*>(g_list_model_get_item(model.listModel()->gobj(), i));
            EXPECT_EQ(item, G_OBJECT(model.objectAt(i)->gobj())) << i;
            EXPECT_EQ(model.objectAt(i)->row(), model.rowAt(i)) << i;
            g_object_unref(item);
        }
        return changes;
    }

    struct GioReady {
        GioReady() { Gio::init(); }
    } gioReady;  // before the model, which wraps its list
    std::vector<HistoryItem> history{entry("https://a.example/", 100), entry("https://b.example/", 200),
                                     entry("https://c.example/", 300)};
    Changes changes;  // outlives the model, which announces its end
    HistoryRowModel model{history};
    std::vector<Glib::RefPtr<HistoryRowObject>> held;
};

TEST_F(HistoryRowModelTest, GroupedRowsPutAHeaderBeforeEachDayAndANewSearchReplacesRowsInPlace) {
    model.setRows(groupedRows(history, {{"Today", {2, 1}}, {"Yesterday", {0}}}));
    EXPECT_EQ(changes, (Changes{{0, 0, 5}}));
    EXPECT_EQ(model.rowAt(0), (HistoryRow{true, "Today", {}}));
    EXPECT_EQ(model.rowAt(1), (HistoryRow{false, {}, history[2]}));
    EXPECT_EQ(model.rowAt(3), (HistoryRow{true, "Yesterday", {}}));
    EXPECT_EQ(model.rowAt(4).item.url, "https://a.example/");
    EXPECT_EQ(model.rowAt(5), HistoryRow{});
    EXPECT_EQ(renew(std::vector<std::size_t>{1}), (Changes{{1, 4, 0}}));
    EXPECT_EQ(held[0]->row().item.url, "https://b.example/");
    EXPECT_EQ(renew(std::vector<std::size_t>{}), (Changes{{0, 1, 0}}));
    EXPECT_EQ(model.size(), 0u);
}

TEST_F(HistoryRowModelTest, ChangesAreAnnouncedWhereTheyAreAndHeldObjectsKeepTheirRows) {
    renew();
    int heard = 0;
    const std::vector watched{model.objectAt(0), model.objectAt(1)};
    for (const auto& object : watched) object->changed().connect([&] { ++heard; });
    history[2].visitCount = 5;  // the newest entry, revisited: it stays on top
    history[2].title = "Retitled";
    EXPECT_TRUE(renew().empty());
    EXPECT_EQ(held[0]->row().item.title, "Retitled");
    EXPECT_EQ(held[0]->row().item.visitCount, 5);
    EXPECT_EQ(heard, 1);  // the unchanged row's widget is left alone

    history.push_back(entry("https://d.example/", 400));
    EXPECT_EQ(renew(), (Changes{{0, 0, 1}}));
    EXPECT_EQ(held[0]->row().item.url, "https://c.example/");
    history.erase(history.begin() + 1);  // b: positions after it shift
    EXPECT_EQ(renew(), (Changes{{2, 1, 0}}));
    EXPECT_EQ(held[3]->row().item.url, "https://a.example/");
    EXPECT_EQ(renew(std::vector<std::size_t>{0, 2, 1}), (Changes{{0, 0, 1}, {3, 1, 0}})) << "a, revisited, moves up";
    EXPECT_EQ(held[0]->row().item.url, "https://d.example/");

    // A key whose entry moved shows an empty row until the rows are renewed.
    history.erase(history.begin());
    EXPECT_EQ(model.rowAt(0), HistoryRow{});
    renew();
    EXPECT_EQ(model.rowAt(1).item.url, "https://c.example/");
}

}  // namespace
}  // namespace sarvik

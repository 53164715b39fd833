#include "stores/auction_store.h"

#include "core/scoped_connection.h"
#include "manual_timer_scheduler.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sarvik {
namespace {

using testing::FakeClock;
using testing::ManualTimerScheduler;
using testing::readFile;
using testing::TemporaryDirectory;
using testing::writeFile;
namespace fs = std::filesystem;

constexpr const char* kItemId = "6F9619FF-8B86-D011-B42D-00C04FC964FF";

// One item object as another encoder might write it: different key order, escaped slashes.
std::string itemJson(const std::string& status, const std::string& extra = "") {
    return std::string(R"({"url":"https:\/\/page.auctions.example\/jp\/auction\/x1","id":")") + kItemId +
           R"(","title":"Camera","site":"Yahoo! Auctions","status":")" + status +
           R"(","currentPrice":1200,"bidCount":2,"notes":"","addedAt":100.5,"lastUpdatedAt":200,)"
           R"("priceHistory":[{"id":"0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B","price":1000,"timestamp":100.5,"bidCount":1}],)"
           R"("isNotificationsEnabled":false)" + extra + "}";
}

std::string withUnknownSite(std::string item) {
    return item.replace(item.find("Yahoo! Auctions"), 15, "Rakuten");
}

std::string withoutHistoryEntryId(std::string item) {
    const std::string key = R"("id":"0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B",)";
    return item.replace(item.find(key), key.size(), "");
}

std::string fileJson(const std::string& items, const std::string& settings = R"("isAutoRefreshEnabled":true,"refreshIntervalMinutes":5)") {
    return R"({"items":[)" + items + "]," + settings + "}";
}

class AuctionStoreTest : public ::testing::Test {
protected:
    fs::path file() const { return m_dir / "auctions.json"; }
    std::unique_ptr<AuctionStore> makeStore() { return std::make_unique<AuctionStore>(m_dir.path(), m_clock, m_timers); }

    // Builds a store holding items in the given statuses with end dates the given seconds from now.
    std::unique_ptr<AuctionStore> storeWith(const std::vector<std::pair<AuctionStatus, std::optional<double>>>& specs) {
        auto store = makeStore();
        for (const auto& [status, secondsAhead] : specs) {
            store->addItem("t", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
            const Uuid id = store->items()->back().id;
            store->setStatus(id, status);
        }
        // End dates can only come from the form, which always sets one; drop or move them through a file round trip.
        AuctionData data = decodeAuctionData(readFile(file()));
        for (std::size_t i = 0; i < specs.size(); ++i) {
            const auto ahead = specs[i].second;
            data.items[i].endDate = ahead ? std::optional<Date>(m_clock.now().addingSeconds(*ahead)) : std::nullopt;
        }
        store.reset();
        writeFile(file(), *encodeAuctionData(data));
        return makeStore();
    }

    std::vector<AuctionStatus> statuses(const AuctionStore& store) const {
        std::vector<AuctionStatus> result;
        for (const auto& item : store.items().get()) result.push_back(item.status);
        return result;
    }

    TemporaryDirectory m_dir;
    FakeClock m_clock;
    ManualTimerScheduler m_timers;
};

TEST_F(AuctionStoreTest, FirstStartHasTheDefaultsARunningTimerAndNoFile) {
    auto store = makeStore();
    EXPECT_TRUE(store->items()->empty());
    EXPECT_TRUE(store->isAutoRefreshEnabled().get());
    EXPECT_EQ(store->refreshIntervalMinutes().get(), 5);
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(300));
    EXPECT_FALSE(fs::exists(file()));
    m_timers.elapsePeriod();
    EXPECT_EQ(readFile(file()), R"({"items":[],"isAutoRefreshEnabled":true,"refreshIntervalMinutes":5})");
    store.reset();
    EXPECT_EQ(m_timers.runningCount(), 0);
}

TEST_F(AuctionStoreTest, AddItemAppendsAWatchedItemAndSavesIt) {
    auto store = makeStore();
    const Date end = m_clock.now().addingSeconds(259200);
    store->addItem("Lens", "not a url", AuctionSite::mercari, 1500, end, 2000.0);
    m_clock.advance(10);
    store->addItem("Watch", "https://e.example/2", AuctionSite::ebay, 9.99, end, std::nullopt);

    ASSERT_EQ(store->items()->size(), 2u);
    const AuctionItem& item = store->items()->front();
    EXPECT_EQ(item.title, "Lens");
    EXPECT_EQ(item.url, "not a url");
    EXPECT_EQ(item.site, AuctionSite::mercari);
    EXPECT_EQ(item.status, AuctionStatus::watching);
    EXPECT_EQ(item.currentPrice, 1500);
    EXPECT_EQ(item.bidCount, 0);
    EXPECT_EQ(item.endDate, end);
    EXPECT_EQ(item.maxBidPrice, 2000.0);
    EXPECT_EQ(item.addedAt, Date{700000000.0});
    EXPECT_EQ(item.lastUpdatedAt, item.addedAt);
    EXPECT_TRUE(item.isNotificationsEnabled);
    EXPECT_TRUE(item.notes.empty());
    EXPECT_FALSE(item.startPrice || item.buyNowPrice || item.imageURL || item.sellerName);
    ASSERT_EQ(item.priceHistory.size(), 1u);
    EXPECT_EQ(item.priceHistory[0].price, 1500);
    EXPECT_EQ(item.priceHistory[0].timestamp, item.addedAt);
    EXPECT_FALSE(item.priceHistory[0].bidCount);
    EXPECT_NE(item.priceHistory[0].id, item.id);
    EXPECT_EQ(store->items()->back().title, "Watch");

    const auto saved = store->items().get();
    store.reset();
    EXPECT_EQ(makeStore()->items().get(), saved);
}

TEST_F(AuctionStoreTest, ReadsAnotherEncodersFileAndWritesEveryFieldBack) {
    writeFile(file(), fileJson(itemJson("Active", R"(,"startPrice":900,"buyNowPrice":5000.25,"endDate":3000,)"
                                                  R"("imageURL":"https:\/\/img.example\/a.jpg","sellerName":"Seller",)"
                                                  R"("maxBidPrice":1500,"unknownKey":[1,2])"),
                               R"("refreshIntervalMinutes":15,"isAutoRefreshEnabled":false,"extra":{})"));
    auto store = makeStore();
    ASSERT_EQ(store->items()->size(), 1u);
    const AuctionItem item = store->items()->front();
    EXPECT_EQ(item.id.toString(), kItemId);
    EXPECT_EQ(item.url, "https://page.auctions.example/jp/auction/x1");
    EXPECT_EQ(item.status, AuctionStatus::active);
    EXPECT_EQ(item.startPrice, 900.0);
    EXPECT_EQ(item.buyNowPrice, 5000.25);
    EXPECT_EQ(item.endDate, Date{3000});
    EXPECT_EQ(item.imageURL, "https://img.example/a.jpg");
    EXPECT_EQ(item.sellerName, "Seller");
    EXPECT_EQ(item.bidCount, 2);
    EXPECT_EQ(item.addedAt, Date{100.5});
    EXPECT_FALSE(item.isNotificationsEnabled);
    EXPECT_EQ(item.priceHistory.at(0).bidCount, 1);
    EXPECT_FALSE(store->isAutoRefreshEnabled().get());
    EXPECT_EQ(store->refreshIntervalMinutes().get(), 15);
    EXPECT_EQ(m_timers.runningCount(), 0);
    // Construction neither refreshes nor writes: the passed end date waits for the first refresh.
    EXPECT_EQ(store->items()->front().status, AuctionStatus::active);

    store->removeItem(Uuid::random());
    const std::string written = readFile(file());
    EXPECT_EQ(written.find('\n'), std::string::npos);
    EXPECT_EQ(written.find("\": "), std::string::npos);
    EXPECT_EQ(written.find(", \""), std::string::npos);
    EXPECT_EQ(written.find("unknownKey"), std::string::npos);
    store.reset();
    auto reloaded = makeStore();
    EXPECT_EQ(reloaded->items()->front(), item);
    EXPECT_EQ(reloaded->refreshIntervalMinutes().get(), 15);
}

TEST_F(AuctionStoreTest, AbsentOptionalsAreLeftOutOfTheFile) {
    writeFile(file(), fileJson(itemJson("Watching")));
    auto store = makeStore();
    store->removeItem(Uuid::random());
    const std::string written = readFile(file());
    for (const char* key : {"startPrice", "buyNowPrice", "endDate", "imageURL", "sellerName", "maxBidPrice", "null"})
        EXPECT_EQ(written.find(key), std::string::npos) << key;
    EXPECT_NE(written.find(R"("bidCount":1)"), std::string::npos);
}

TEST_F(AuctionStoreTest, OneBadElementRejectsTheWholeFileAndTheNextSaveKeepsIt) {
    const std::string good = itemJson("Active");
    const std::vector<std::string> damaged = {
        fileJson(good + "," + itemJson("Pending")),
        fileJson(withUnknownSite(good)),
        fileJson(good, R"("isAutoRefreshEnabled":true)"),
        fileJson(good, R"("isAutoRefreshEnabled":"yes","refreshIntervalMinutes":5)"),
        fileJson(good, R"("isAutoRefreshEnabled":true,"refreshIntervalMinutes":5.5)"),
        fileJson(R"({"id":"x"})"),
        fileJson(withoutHistoryEntryId(good)),
        "{\"items\":[",
        "",
    };
    for (const auto& text : damaged) {
        TemporaryDirectory dir;
        writeFile(dir / "auctions.json", text);
        AuctionStore store(dir.path(), m_clock, m_timers);
        EXPECT_TRUE(store.items()->empty()) << text;
        EXPECT_TRUE(store.isAutoRefreshEnabled().get());
        EXPECT_EQ(store.refreshIntervalMinutes().get(), 5);
        EXPECT_EQ(readFile(dir / "auctions.json"), text);  // untouched until a save

        store.addItem("New", "u", AuctionSite::custom, 1, m_clock.now(), std::nullopt);
        EXPECT_EQ(readFile(dir / "auctions.json.damaged-1"), text);
        store.addItem("Newer", "u", AuctionSite::custom, 2, m_clock.now(), std::nullopt);
        EXPECT_FALSE(fs::exists(dir / "auctions.json.damaged-2"));
        EXPECT_EQ(decodeAuctionData(readFile(dir / "auctions.json")).items.size(), 2u);
    }
}

TEST_F(AuctionStoreTest, RefreshMovesStatusesAtTheHourAndEndBoundaries) {
    using S = AuctionStatus;
    auto store = storeWith({{S::active, 1800},  {S::active, 3600},  {S::active, 3599}, {S::active, 0},
                            {S::active, -1},    {S::ending, -1},    {S::ending, 7200}, {S::watching, -100},
                            {S::won, -100},     {S::lost, 60},      {S::active, std::nullopt},
                            {S::ended, 100}});
    const auto stamps = [&] {
        std::vector<Date> result;
        for (const auto& item : store->items().get()) result.push_back(item.lastUpdatedAt);
        return result;
    };
    const auto before = stamps();
    store->updateStatuses();
    EXPECT_EQ(statuses(*store), (std::vector<S>{S::ending, S::active, S::ending, S::active, S::ended, S::ended,
                                                S::ending, S::watching, S::won, S::lost, S::active, S::ended}));
    EXPECT_EQ(stamps(), before);
    EXPECT_EQ(decodeAuctionData(readFile(file())).items, store->items().get());

    m_clock.advance(3601);
    store->updateStatuses();
    EXPECT_EQ(statuses(*store), (std::vector<S>{S::ended, S::ended, S::ended, S::ended, S::ended, S::ended,
                                                S::ending, S::watching, S::won, S::lost, S::active, S::ended}));
    m_clock.advance(1e6);
    store->updateStatuses();
    EXPECT_EQ(store->items()->at(7).status, S::watching);
    EXPECT_EQ(store->items()->at(7).timeRemaining(m_clock.now()), "Ended");
}

TEST_F(AuctionStoreTest, ARefreshThatMovesNothingPublishesNothingButStillSaves) {
    auto store = storeWith({{AuctionStatus::watching, -5}, {AuctionStatus::active, 7200}});
    int published = 0;
    ScopedConnection observation = store->items().changed().connect([&] { ++published; });
    fs::remove(file());
    store->updateStatuses();
    EXPECT_EQ(published, 0);
    EXPECT_TRUE(fs::exists(file()));
    m_clock.advance(3700);
    store->updateStatuses();
    EXPECT_EQ(published, 1);
}

TEST_F(AuctionStoreTest, EndingSoonCountIgnoresStatus) {
    using S = AuctionStatus;
    auto store = storeWith({{S::won, 1800}, {S::watching, 10}, {S::ended, 3599}, {S::lost, 0},
                            {S::active, 3600}, {S::active, -10}, {S::ending, std::nullopt}});
    EXPECT_EQ(store->endingSoonCount(), 3);
    m_clock.advance(10);  // the watched item's end arrives; the active one enters its last hour
    EXPECT_EQ(store->endingSoonCount(), 3);
    m_clock.advance(1790);
    EXPECT_EQ(store->endingSoonCount(), 2);
}

TEST_F(AuctionStoreTest, DerivedListsSortStablyWithUndatedItemsLast) {
    using S = AuctionStatus;
    auto store = storeWith({{S::watching, std::nullopt}, {S::active, 500}, {S::ended, 1}, {S::ending, 100},
                            {S::watching, 500}, {S::won, 1}, {S::active, std::nullopt}, {S::lost, 1}});
    const auto positions = [&](const std::vector<AuctionItem>& list) {
        std::vector<std::size_t> indices;
        for (const auto& item : list)
            for (std::size_t i = 0; i < store->items()->size(); ++i)
                if (store->items()->at(i).id == item.id) indices.push_back(i);
        return indices;
    };
    EXPECT_EQ(positions(store->activeItems()), (std::vector<std::size_t>{3, 1, 4, 0, 6}));
    // All three closed items were stamped at the same moment: they keep their order.
    EXPECT_EQ(positions(store->endedItems()), (std::vector<std::size_t>{2, 5, 7}));
    m_clock.advance(5);
    store->setStatus(store->items()->at(7).id, S::lost);
    m_clock.advance(5);
    store->setStatus(store->items()->at(5).id, S::won);
    EXPECT_EQ(positions(store->endedItems()), (std::vector<std::size_t>{5, 7, 2}));
}

TEST_F(AuctionStoreTest, RemoveItemAlwaysSavesAndSetStatusOnlyForAKnownItem) {
    auto store = makeStore();
    store->addItem("a", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    store->addItem("b", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    const Uuid first = store->items()->front().id;
    fs::remove(file());

    store->setStatus(Uuid::random(), AuctionStatus::won);
    EXPECT_FALSE(fs::exists(file()));
    store->removeItem(Uuid::random());
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.size(), 2u);

    m_clock.advance(42);
    store->setStatus(first, AuctionStatus::won);
    EXPECT_EQ(store->items()->front().status, AuctionStatus::won);
    EXPECT_EQ(store->items()->front().lastUpdatedAt, m_clock.now());
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.front().status, AuctionStatus::won);

    store->removeItem(first);
    ASSERT_EQ(store->items()->size(), 1u);
    EXPECT_EQ(store->items()->front().title, "b");
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.size(), 1u);
}

TEST_F(AuctionStoreTest, TicksRefreshAndTheTimerRestartsAndStops) {
    auto store = storeWith({{AuctionStatus::active, 1800}});
    fs::remove(file());
    m_timers.elapsePeriod();
    EXPECT_EQ(store->items()->front().status, AuctionStatus::ending);
    EXPECT_TRUE(fs::exists(file()));

    store->refreshIntervalMinutes() = 10;
    store->restartRefreshTimer();
    EXPECT_EQ(m_timers.runningCount(), 1);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(600));

    store->isAutoRefreshEnabled() = false;
    store->restartRefreshTimer();
    EXPECT_FALSE(store->isRefreshTimerRunning());
    EXPECT_EQ(m_timers.runningCount(), 0);
    m_clock.advance(3600);
    m_timers.elapsePeriod();
    EXPECT_EQ(store->items()->front().status, AuctionStatus::ending);

    store->isAutoRefreshEnabled() = true;
    store->restartRefreshTimer();
    m_timers.elapsePeriod();
    EXPECT_EQ(store->items()->front().status, AuctionStatus::ended);
}

TEST_F(AuctionStoreTest, SettingsReachTheFileOnlyWithTheNextSave) {
    auto store = makeStore();
    store->addItem("a", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    const std::string before = readFile(file());
    store->isAutoRefreshEnabled() = false;
    store->refreshIntervalMinutes() = 30;
    EXPECT_EQ(readFile(file()), before);
    store->removeItem(Uuid::random());
    const AuctionData data = decodeAuctionData(readFile(file()));
    EXPECT_FALSE(data.isAutoRefreshEnabled);
    EXPECT_EQ(data.refreshIntervalMinutes, 30);
}

TEST_F(AuctionStoreTest, AnIntervalOutsideTheTimersRangeIsFlooredOrCappedButKept) {
    EXPECT_EQ(refreshTimerPeriod(1), std::chrono::seconds(60));
    EXPECT_EQ(refreshTimerPeriod(0), std::chrono::seconds(60));
    EXPECT_EQ(refreshTimerPeriod(-30), std::chrono::seconds(60));
    EXPECT_EQ(refreshTimerPeriod(std::numeric_limits<std::int64_t>::min()), std::chrono::seconds(60));
    const std::int64_t largest = std::numeric_limits<std::int64_t>::max() / 60;
    EXPECT_EQ(refreshTimerPeriod(largest).count(), largest * 60);
    EXPECT_EQ(refreshTimerPeriod(largest + 1).count(), largest * 60);
    EXPECT_EQ(refreshTimerPeriod(std::numeric_limits<std::int64_t>::max()).count(), largest * 60);

    writeFile(file(), fileJson("", R"("isAutoRefreshEnabled":true,"refreshIntervalMinutes":0)"));
    auto store = makeStore();
    EXPECT_EQ(store->refreshIntervalMinutes().get(), 0);
    EXPECT_EQ(m_timers.runningPeriod(), std::chrono::seconds(60));
    store->removeItem(Uuid::random());
    EXPECT_EQ(decodeAuctionData(readFile(file())).refreshIntervalMinutes, 0);
}

TEST_F(AuctionStoreTest, ANonFinitePriceNeverBlocksSaving) {
    auto store = makeStore();
    store->addItem("a", "u", AuctionSite::ebay, std::nan(""), m_clock.now(), std::numeric_limits<double>::infinity());
    ASSERT_TRUE(fs::exists(file()));
    const AuctionData data = decodeAuctionData(readFile(file()));
    ASSERT_EQ(data.items.size(), 1u);
    EXPECT_EQ(data.items[0].currentPrice, 0.0);
    EXPECT_EQ(data.items[0].priceHistory.at(0).price, 0.0);
    EXPECT_FALSE(data.items[0].maxBidPrice);
    store->addItem("b", "u", AuctionSite::ebay, 5, m_clock.now(), std::nullopt);
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.size(), 2u);
}

TEST_F(AuctionStoreTest, ConstructionRemovesTemporariesOfAnInterruptedSave) {
    writeFile(m_dir / "auctions.json.tmp-0123456789abcdef", "partial");
    writeFile(m_dir / "other.tmp-0123456789abcdef", "not ours");
    auto store = makeStore();
    EXPECT_FALSE(fs::exists(m_dir / "auctions.json.tmp-0123456789abcdef"));
    EXPECT_TRUE(fs::exists(m_dir / "other.tmp-0123456789abcdef"));
}

TEST_F(AuctionStoreTest, PublishesEveryListChangeAfterItIsInPlace) {
    auto store = makeStore();
    std::vector<std::size_t> sizes;
    ScopedConnection observation = store->items().changed().connect([&] { sizes.push_back(store->items()->size()); });
    store->addItem("a", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    store->setStatus(store->items()->front().id, AuctionStatus::active);
    store->removeItem(store->items()->front().id);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 1, 0}));
}

}  // namespace
}  // namespace sarvik

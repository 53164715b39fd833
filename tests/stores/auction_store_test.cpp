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
    ASSERT_EQ(item.priceHistory.size(), 1u);
    EXPECT_NE(item.priceHistory[0].id, item.id);
    const Date added{700000000.0};
    EXPECT_EQ(item, (AuctionItem{item.id, "Lens", "not a url", AuctionSite::mercari, AuctionStatus::watching, 1500,
                                 std::nullopt, std::nullopt, 0, end, std::nullopt, std::nullopt, "", added, added,
                                 {{item.priceHistory[0].id, 1500, added, std::nullopt}}, 2000.0, true}));
    EXPECT_EQ(store->items()->back().title, "Watch");

    const auto saved = store->items().get();
    store.reset();
    EXPECT_EQ(makeStore()->items().get(), saved);
}

TEST_F(AuctionStoreTest, ReadsAnotherEncodersFileAndWritesEveryFieldBackLeavingAbsentOptionalsOut) {
    writeFile(file(), fileJson(itemJson("Active", R"(,"startPrice":900,"buyNowPrice":5000.25,"endDate":3000,)"
                                                  R"("imageURL":"https:\/\/img.example\/a.jpg","sellerName":"Seller",)"
                                                  R"("maxBidPrice":1500,"unknownKey":[1,2])"),
                               R"("refreshIntervalMinutes":15,"isAutoRefreshEnabled":false,"extra":{})"));
    auto store = makeStore();
    ASSERT_EQ(store->items()->size(), 1u);
    const AuctionItem item = store->items()->front();
    EXPECT_EQ(item, (AuctionItem{*Uuid::parse(kItemId), "Camera", "https://page.auctions.example/jp/auction/x1",
                                 AuctionSite::yahooAuctions, AuctionStatus::active, 1200, 900.0, 5000.25, 2, Date{3000},
                                 "https://img.example/a.jpg", "Seller", "", Date{100.5}, Date{200},
                                 {{*Uuid::parse("0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B"), 1000, Date{100.5}, 1}}, 1500.0,
                                 false}));
    EXPECT_FALSE(store->isAutoRefreshEnabled().get());
    EXPECT_EQ(store->refreshIntervalMinutes().get(), 15);
    EXPECT_EQ(m_timers.runningCount(), 0);
    // Construction neither refreshes nor writes: the passed end date waits for the first refresh.
    EXPECT_EQ(store->items()->front().status, AuctionStatus::active);

    store->removeItem(Uuid::random());
    std::string written = readFile(file());
    EXPECT_EQ(written.find('\n'), std::string::npos);
    EXPECT_EQ(written.find("\": "), std::string::npos);
    EXPECT_EQ(written.find(", \""), std::string::npos);
    EXPECT_EQ(written.find("unknownKey"), std::string::npos);
    store.reset();
    auto reloaded = makeStore();
    EXPECT_EQ(reloaded->items()->front(), item);
    EXPECT_EQ(reloaded->refreshIntervalMinutes().get(), 15);
    reloaded.reset();

    writeFile(file(), fileJson(itemJson("Watching")));
    store = makeStore();
    store->removeItem(Uuid::random());
    written = readFile(file());
    for (const char* key : {"startPrice", "buyNowPrice", "endDate", "imageURL", "sellerName", "maxBidPrice", "null"})
        EXPECT_EQ(written.find(key), std::string::npos) << key;
    EXPECT_NE(written.find(R"("bidCount":1)"), std::string::npos);
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
    std::vector<std::size_t> sizes;  // published after each change is in place
    ScopedConnection observation = store->items().changed().connect([&] { sizes.push_back(store->items()->size()); });
    store->addItem("a", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    store->addItem("b", "u", AuctionSite::ebay, 1, m_clock.now(), std::nullopt);
    const Uuid first = store->items()->front().id;
    fs::remove(file());

    store->setStatus(Uuid::random(), AuctionStatus::won);
    EXPECT_FALSE(fs::exists(file()));
    store->removeItem(Uuid::random());
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.size(), 2u);

    m_clock.advance(42);
    sizes.clear();
    store->setStatus(first, AuctionStatus::won);
    EXPECT_EQ(store->items()->front().status, AuctionStatus::won);
    EXPECT_EQ(store->items()->front().lastUpdatedAt, m_clock.now());
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.front().status, AuctionStatus::won);

    store->removeItem(first);
    ASSERT_EQ(store->items()->size(), 1u);
    EXPECT_EQ(store->items()->front().title, "b");
    EXPECT_EQ(decodeAuctionData(readFile(file())).items.size(), 1u);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 1}));
}

TEST_F(AuctionStoreTest, UpdateReplacesTheFieldsAndAChangedPriceIsOneMoreBidInTheHistory) {
    auto store = makeStore();
    store->addItem("Lamp", "u", AuctionSite::ebay, 100, m_clock.now(), 500);
    const AuctionItem added = store->items()->front();
    const Date later = m_clock.now().addingSeconds(3600);
    struct Case {
        Uuid id;
        double price;
        bool updated;
        std::int64_t bids;
        std::vector<double> history;
        std::optional<double> change;
    };
    for (const auto& [id, price, updated, bids, history, change] : std::vector<Case>{
             {added.id, 100, true, 0, {100}, std::nullopt},
             {added.id, 150, true, 1, {100, 150}, 50},
             {added.id, 120, true, 2, {100, 150, 120}, -30},
             {added.id, std::nan(""), true, 2, {100, 150, 120}, -30},
             {Uuid::random(), 999, false, 2, {100, 150, 120}, -30},
         }) {
        SCOPED_TRACE(price);
        m_clock.advance(10);
        fs::remove(file());
        EXPECT_EQ(store->updateItem(id, {"Desk lamp", "v", AuctionSite::mercari, price, later, std::nullopt}), updated);
        EXPECT_EQ(fs::exists(file()), updated);
        const AuctionItem& item = store->items()->front();
        std::vector<double> prices;
        for (const auto& entry : item.priceHistory) prices.push_back(entry.price);
        EXPECT_EQ(prices, history);
        EXPECT_EQ(item.bidCount, bids);
        EXPECT_EQ(item.priceHistory.back().bidCount, bids ? std::optional<std::int64_t>(bids) : std::nullopt);
        EXPECT_EQ(item.priceChange(), change);
        if (updated) {
            EXPECT_EQ(decodeAuctionData(readFile(file())).items.front(), item);
        }
    }
    const AuctionItem& item = store->items()->front();
    EXPECT_EQ(item.title, "Desk lamp");
    EXPECT_EQ(item.url, "v");
    EXPECT_EQ(item.site, AuctionSite::mercari);
    EXPECT_EQ(item.endDate, later);
    EXPECT_FALSE(item.maxBidPrice);
    EXPECT_EQ(item.status, added.status);
    EXPECT_EQ(item.addedAt, added.addedAt);
    EXPECT_EQ(item.lastUpdatedAt, m_clock.now().addingSeconds(-10)) << "the unknown id stamps nothing";
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

TEST_F(AuctionStoreTest, AnIntervalOutsideTheTimersRangeIsFlooredOrCappedButKept) {
    for (std::int64_t low : {std::int64_t{1}, std::int64_t{0}, std::int64_t{-30}, std::numeric_limits<std::int64_t>::min()})
        EXPECT_EQ(refreshTimerPeriod(low), std::chrono::seconds(60)) << low;
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
    // Settings reach the file only with the next save.
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

}  // namespace
}  // namespace sarvik

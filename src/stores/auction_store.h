#pragma once

#include "core/data_directory.h"
#include "core/date.h"
#include "core/published.h"
#include "core/uuid.h"
#include "stores/store_file.h"
#include "stores/auction_data.h"
#include "stores/auction_item.h"
#include "stores/repeating_timer.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// What the user types about an auction, when adding it or editing it.
struct AuctionFields {
    std::string title;
    std::string url;
    AuctionSite site = AuctionSite::yahooAuctions;
    double price = 0.0;
    Date endDate;
    std::optional<double> maxBidPrice;
};

// Auctions tracked by hand, kept in "auctions.json" in the data folder, and
// the two settings of the status refresh: a repeating timer that moves
// statuses on as end dates approach and pass. Main thread only.
//
// Every list operation writes the whole file before it returns. The two
// settings are written directly (by Preferences) without saving; they reach
// the file with the next save. The file is read once, at construction; one
// that is there but cannot be read or decoded is kept aside before the first
// save (StoreFile). `files` is where saves go through, so tests can make a
// step fail.
class AuctionStore {
public:
    explicit AuctionStore(std::filesystem::path directory = defaultDataDirectory(),
                          const Clock& clock = SystemClock::instance(),
                          TimerScheduler& timers = TimerScheduler::mainLoop(), FileLayer& files = FileLayer::system());
    AuctionStore(const AuctionStore&) = delete;
    AuctionStore& operator=(const AuctionStore&) = delete;

    const Published<std::vector<AuctionItem>>& items() const { return m_items; }
    Published<bool>& isAutoRefreshEnabled() { return m_isAutoRefreshEnabled; }
    const Published<bool>& isAutoRefreshEnabled() const { return m_isAutoRefreshEnabled; }
    Published<std::int64_t>& refreshIntervalMinutes() { return m_refreshIntervalMinutes; }
    const Published<std::int64_t>& refreshIntervalMinutes() const { return m_refreshIntervalMinutes; }

    const std::filesystem::path& dataDir() const { return m_dataDir; }
    const std::filesystem::path& metadataFile() const { return m_metadataFile.path(); }
    bool isRefreshTimerRunning() const { return m_refreshTimer != nullptr; }

    void addItem(std::string_view title, std::string_view url, AuctionSite site, double price, Date endDate,
                 std::optional<double> maxBidPrice);
    // Replaces the typed fields of the item with that id and stamps it. A
    // changed price is one more bid: it is appended to the price history with
    // the new bid count. False, and nothing saved, for an unknown id.
    bool updateItem(const Uuid& id, AuctionFields fields);
    void removeItem(const Uuid& id);
    void setStatus(const Uuid& id, AuctionStatus status);
    void updateStatuses();
    void restartRefreshTimer();
    void save();

    // Active, ending and watched items, soonest end first (undated last).
    std::vector<AuctionItem> activeItems() const;
    // Ended, won and lost items, most recently updated first.
    std::vector<AuctionItem> endedItems() const;
    // Items of any status whose end date lies within the coming hour.
    std::int64_t endingSoonCount() const;

    // The store's clock, for the item values that depend on the time (timeRemaining).
    Date now() const { return m_clock.now(); }
    // The store's timers, for views that must follow that clock (endingSoonCount).
    TimerScheduler& timers() const { return m_timers; }

private:
    void load();

    const Clock& m_clock;
    TimerScheduler& m_timers;
    std::filesystem::path m_dataDir;
    StoreFile m_metadataFile;
    Published<std::vector<AuctionItem>> m_items;
    Published<bool> m_isAutoRefreshEnabled{true};
    Published<std::int64_t> m_refreshIntervalMinutes{5};
    std::unique_ptr<RepeatingTimer> m_refreshTimer;  // last: it goes first, so no tick sees a half-destroyed store
};

// The timer period for a configured interval: at least one minute, and capped
// where minutes times 60 would not fit 64-bit seconds.
std::chrono::seconds refreshTimerPeriod(std::int64_t refreshIntervalMinutes);

}  // namespace sarvik

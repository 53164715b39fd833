#include "stores/auction_store.h"

#include "core/atomic_file.h"
#include "core/json.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace sarvik {
namespace {

bool isOpen(AuctionStatus status) {
    return status == AuctionStatus::active || status == AuctionStatus::ending || status == AuctionStatus::watching;
}

bool isClosed(AuctionStatus status) {
    return status == AuctionStatus::ended || status == AuctionStatus::won || status == AuctionStatus::lost;
}

// The refresh rule for one item; returns whether its status moved.
bool refreshStatus(AuctionItem& item, Date now) {
    if (!item.endDate) return false;
    const AuctionStatus before = item.status;
    if (*item.endDate < now) {
        if (item.status == AuctionStatus::active || item.status == AuctionStatus::ending)
            item.status = AuctionStatus::ended;
    } else if (item.status == AuctionStatus::active && endsWithinTheHour(item, now)) {
        item.status = AuctionStatus::ending;
    }
    return item.status != before;
}

}  // namespace

std::chrono::seconds refreshTimerPeriod(std::int64_t refreshIntervalMinutes) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 60;
    return std::chrono::seconds(std::clamp<std::int64_t>(refreshIntervalMinutes, 1, kLargest) * 60);
}

AuctionStore::AuctionStore(std::filesystem::path directory, const Clock& clock, TimerScheduler& timers,
                           FileLayer& files)
    : m_clock(clock),
      m_timers(timers),
      m_dataDir(std::move(directory)),
      m_metadataFile(m_dataDir / "auctions.json", files) {
    ensureDirectory(m_dataDir);
    removeStaleTemporaryFiles(m_metadataFile.path());
    load();
    restartRefreshTimer();
}

void AuctionStore::load() {
    const auto text = m_metadataFile.read();
    if (!text) return;
    try {
        AuctionData data = decodeAuctionData(*text);
        m_items = std::move(data.items);
        m_isAutoRefreshEnabled = data.isAutoRefreshEnabled;
        m_refreshIntervalMinutes = data.refreshIntervalMinutes;
    } catch (const json::DecodeError&) {
        m_metadataFile.markDamaged();
    }
}

void AuctionStore::save() {
    const auto text = encodeAuctionData({m_items.get(), m_isAutoRefreshEnabled.get(), m_refreshIntervalMinutes.get()});
    m_metadataFile.write(text);
}

void AuctionStore::addItem(std::string_view title, std::string_view url, AuctionSite site, double price,
                           Date endDate, std::optional<double> maxBidPrice) {
    const Date now = m_clock.now();
    AuctionItem item;
    item.id = Uuid::random();
    item.title = std::string(title);
    item.url = std::string(url);
    item.site = site;
    item.status = AuctionStatus::watching;
    // A non-finite number cannot be written as JSON and would block every later save.
    if (!std::isfinite(price)) price = 0.0;
    if (maxBidPrice && !std::isfinite(*maxBidPrice)) maxBidPrice.reset();
    item.currentPrice = price;
    item.endDate = endDate;
    item.addedAt = now;
    item.lastUpdatedAt = now;
    item.priceHistory.push_back({Uuid::random(), price, now, std::nullopt});
    item.maxBidPrice = maxBidPrice;
    item.isNotificationsEnabled = true;
    m_items.modify([&](std::vector<AuctionItem>& items) { items.push_back(std::move(item)); });
    save();
}

bool AuctionStore::updateItem(const Uuid& id, AuctionFields fields) {
    const auto& items = m_items.get();
    const auto found = std::find_if(items.begin(), items.end(), [&](const AuctionItem& item) { return item.id == id; });
    if (found == items.end()) return false;
    const auto index = static_cast<std::size_t>(found - items.begin());
    // As when adding: a non-finite number would block every later save.
    if (!std::isfinite(fields.price)) fields.price = found->currentPrice;
    if (fields.maxBidPrice && !std::isfinite(*fields.maxBidPrice)) fields.maxBidPrice.reset();
    const Date now = m_clock.now();
    m_items.modify([&](std::vector<AuctionItem>& all) {
        AuctionItem& item = all[index];
        item.title = std::move(fields.title);
        item.url = std::move(fields.url);
        item.site = fields.site;
        item.endDate = fields.endDate;
        item.maxBidPrice = fields.maxBidPrice;
        item.lastUpdatedAt = now;
        if (fields.price == item.currentPrice) return;
        item.currentPrice = fields.price;
        // A count read from an edited file may stand at the largest there is.
        if (item.bidCount < std::numeric_limits<std::int64_t>::max()) item.bidCount += 1;
        item.priceHistory.push_back({Uuid::random(), fields.price, now, item.bidCount});
    });
    save();
    return true;
}

void AuctionStore::removeItem(const Uuid& id) {
    m_items.modify([&](std::vector<AuctionItem>& items) {
        std::erase_if(items, [&](const AuctionItem& item) { return item.id == id; });
    });
    save();
}

void AuctionStore::setStatus(const Uuid& id, AuctionStatus status) {
    const auto& items = m_items.get();
    const auto found = std::find_if(items.begin(), items.end(), [&](const AuctionItem& item) { return item.id == id; });
    if (found == items.end()) return;
    const auto index = static_cast<std::size_t>(found - items.begin());
    m_items.modify([&](std::vector<AuctionItem>& all) {
        all[index].status = status;
        all[index].lastUpdatedAt = m_clock.now();
    });
    save();
}

void AuctionStore::updateStatuses() {
    std::vector<AuctionItem> refreshed = m_items.get();
    bool isChanged = false;
    for (auto& item : refreshed) isChanged = refreshStatus(item, m_clock.now()) || isChanged;
    // A refresh that moves nothing publishes nothing, so views do not redraw on every tick.
    if (isChanged) m_items = std::move(refreshed);
    save();
}

void AuctionStore::restartRefreshTimer() {
    m_refreshTimer.reset();
    if (!m_isAutoRefreshEnabled.get()) return;
    // The store owns the timer and stops it when it goes, so a tick never reaches a destroyed store.
    m_refreshTimer = m_timers.startRepeating(refreshTimerPeriod(m_refreshIntervalMinutes.get()),
                                             [this] { updateStatuses(); });
}

std::vector<AuctionItem> AuctionStore::activeItems() const {
    std::vector<AuctionItem> result;
    std::copy_if(m_items->begin(), m_items->end(), std::back_inserter(result),
                 [](const AuctionItem& item) { return isOpen(item.status); });
    std::stable_sort(result.begin(), result.end(), [](const AuctionItem& a, const AuctionItem& b) {
        if (!a.endDate || !b.endDate) return a.endDate.has_value() && !b.endDate.has_value();
        return *a.endDate < *b.endDate;
    });
    return result;
}

std::vector<AuctionItem> AuctionStore::endedItems() const {
    std::vector<AuctionItem> result;
    std::copy_if(m_items->begin(), m_items->end(), std::back_inserter(result),
                 [](const AuctionItem& item) { return isClosed(item.status); });
    std::stable_sort(result.begin(), result.end(),
                     [](const AuctionItem& a, const AuctionItem& b) { return a.lastUpdatedAt > b.lastUpdatedAt; });
    return result;
}

std::int64_t AuctionStore::endingSoonCount() const {
    const Date now = m_clock.now();
    return std::count_if(m_items->begin(), m_items->end(),
                         [&](const AuctionItem& item) { return endsWithinTheHour(item, now); });
}

}  // namespace sarvik

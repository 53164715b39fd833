#include "stores/auction_store.h"

// Placeholder until the auction store with its file and timer lands.
namespace sarvik {

AuctionStore::AuctionStore(std::filesystem::path directory, const Clock& clock)
    : m_clock(clock), m_metadataFile(directory / "auctions.json") {}

std::int64_t AuctionStore::endingSoonCount() const {
    std::int64_t count = 0;
    for (const auto& item : m_items.get()) {
        if (!item.endDate) continue;
        const double left = item.endDate->secondsSince(m_clock.now());
        if (left > 0 && left < 3600) ++count;
    }
    return count;
}

}  // namespace sarvik

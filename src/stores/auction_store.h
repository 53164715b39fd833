#pragma once

#include "core/data_directory.h"
#include "core/date.h"
#include "core/published.h"
#include "core/uuid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sarvik {

// Auctions tracked by hand, kept in "auctions.json". A repeating timer on the
// main loop moves statuses on as end dates approach and pass.
struct AuctionItem {
    Uuid id;
    std::string title;
    std::string url;
    std::optional<Date> endDate;
    friend bool operator==(const AuctionItem&, const AuctionItem&) = default;
};

class AuctionStore {
public:
    explicit AuctionStore(std::filesystem::path directory = defaultDataDirectory(),
                          const Clock& clock = SystemClock::instance());
    AuctionStore(const AuctionStore&) = delete;
    AuctionStore& operator=(const AuctionStore&) = delete;

    const Published<std::vector<AuctionItem>>& items() const { return m_items; }
    std::int64_t endingSoonCount() const;

private:
    const Clock& m_clock;
    std::filesystem::path m_metadataFile;
    Published<std::vector<AuctionItem>> m_items;
};

}  // namespace sarvik

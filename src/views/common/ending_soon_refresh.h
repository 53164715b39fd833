#pragma once

#include "core/scoped_connection.h"
#include "stores/auction_store.h"
#include "stores/repeating_timer.h"

#include <functional>
#include <memory>

namespace sarvik {

// Runs a view's refresh whenever the store's ending-soon count may have
// changed: when the items change, and every minute, since the count also
// moves with the clock alone (an end date comes within the hour or passes)
// and nothing publishes then, for a watched item or with auto refresh off.
// Owned by the view; ends with it.
class EndingSoonRefresh {
public:
    EndingSoonRefresh(AuctionStore& store, std::function<void()> refresh);
    EndingSoonRefresh(const EndingSoonRefresh&) = delete;
    EndingSoonRefresh& operator=(const EndingSoonRefresh&) = delete;

private:
    std::function<void()> m_refresh;
    std::unique_ptr<RepeatingTimer> m_minuteTimer;
    ScopedConnection m_itemsObservation;
};

}  // namespace sarvik

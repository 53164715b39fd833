#include "views/common/ending_soon_refresh.h"

#include <chrono>
#include <utility>

namespace sarvik {

EndingSoonRefresh::EndingSoonRefresh(AuctionStore& store, std::function<void()> refresh)
    : m_refresh(std::move(refresh)),
      m_minuteTimer(store.timers().startRepeating(std::chrono::minutes(1), [this] { m_refresh(); })),
      m_itemsObservation(store.items().changed().connect([this] { m_refresh(); })) {}

}  // namespace sarvik

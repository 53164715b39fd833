#include "core/date.h"

#include <chrono>

namespace sarvik {

Date SystemClock::now() const {
    using namespace std::chrono;
    const auto sinceEpoch = duration<double>(system_clock::now().time_since_epoch());
    return Date::fromUnixTime(sinceEpoch.count());
}

const SystemClock& SystemClock::instance() {
    static const SystemClock clock;
    return clock;
}

}  // namespace sarvik

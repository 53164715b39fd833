#pragma once

#include "core/date.h"

namespace sarvik::testing {

// A clock that stands still until a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Date start = Date{700000000.0}) : m_now(start) {}
    Date now() const override { return m_now; }
    void set(Date when) { m_now = when; }
    void advance(double seconds) { m_now = m_now.addingSeconds(seconds); }

private:
    Date m_now;
};

}  // namespace sarvik::testing

#pragma once

#include <compare>

namespace sarvik {

// An absolute point in time, held as seconds since 2001-01-01 00:00:00 UTC,
// which is also how every data file stores it.
struct Date {
    static constexpr double kUnixOffset = 978307200.0;  // 2001-01-01 in Unix time

    double secondsSinceReference = 0.0;

    static Date fromUnixTime(double unixSeconds) { return Date{unixSeconds - kUnixOffset}; }
    double unixTime() const { return secondsSinceReference + kUnixOffset; }
    Date addingSeconds(double seconds) const { return Date{secondsSinceReference + seconds}; }
    double secondsSince(Date other) const { return secondsSinceReference - other.secondsSinceReference; }

    friend auto operator<=>(const Date&, const Date&) = default;
};

// Where "now" comes from; stores take one so tests can run on a fake clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
};

class SystemClock final : public Clock {
public:
    Date now() const override;
    static const SystemClock& instance();
};

}  // namespace sarvik

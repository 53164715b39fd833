#pragma once

#include <cstdint>

namespace sarvik {

// The CSS "ease-in-out" timing curve, cubic-bezier(0.42, 0, 0.58, 1):
// maps elapsed fraction 0..1 to progress fraction 0..1.
double easeInOut(double t);

// A value that glides to each new target over a fixed duration along the
// ease-in-out curve, starting from wherever it is when retargeted. Times are
// microseconds on any monotonic clock (the frame clock's, in the widget).
class ProgressAnimation {
public:
    explicit ProgressAnimation(std::int64_t durationMicroseconds) : m_duration(durationMicroseconds) {}

    void retarget(double target, std::int64_t now);
    void jumpTo(double value);
    double valueAt(std::int64_t now) const;
    bool isRunning(std::int64_t now) const { return now < m_start + m_duration && m_from != m_to; }
    double target() const { return m_to; }

private:
    std::int64_t m_duration;
    std::int64_t m_start = 0;
    double m_from = 0;
    double m_to = 0;
};

}  // namespace sarvik

#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace sarvik {

// A running repeating timer; it stops when the object goes.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
};

// Starts repeating timers. Stores take one so that tests can tick by hand
// instead of waiting; the program uses the main loop's.
class TimerScheduler {
public:
    virtual ~TimerScheduler() = default;

    // The first tick comes one period after the call, then one every period,
    // on the thread that runs the scheduler's loop, until the timer goes.
    virtual std::unique_ptr<RepeatingTimer> startRepeating(std::chrono::seconds period, std::function<void()> tick) = 0;

    // Ticks on the default GLib main context.
    static TimerScheduler& mainLoop();
};

}  // namespace sarvik

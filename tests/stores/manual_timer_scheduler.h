#pragma once

#include "stores/repeating_timer.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sarvik::testing {

// Timers that tick only when a test says a period has passed. Must outlive
// the timers it hands out.
class ManualTimerScheduler final : public TimerScheduler {
public:
    std::unique_ptr<RepeatingTimer> startRepeating(std::chrono::seconds period, std::function<void()> tick) override {
        auto timer = std::make_shared<Timer>(Timer{period, std::move(tick), true});
        m_timers.push_back(timer);
        return std::make_unique<Handle>(timer);
    }

    // One period passes: every running timer ticks once.
    void elapsePeriod() {
        const auto timers = m_timers;
        for (const auto& timer : timers) {
            if (!timer->isRunning) continue;
            const auto tick = timer->tick;  // the tick may stop its own timer
            tick();
        }
    }

    int runningCount() const {
        int count = 0;
        for (const auto& timer : m_timers) count += timer->isRunning ? 1 : 0;
        return count;
    }

    std::optional<std::chrono::seconds> runningPeriod() const {
        for (const auto& timer : m_timers)
            if (timer->isRunning) return timer->period;
        return std::nullopt;
    }

    std::size_t startedCount() const { return m_timers.size(); }

private:
    struct Timer {
        std::chrono::seconds period;
        std::function<void()> tick;
        bool isRunning;
    };
    class Handle final : public RepeatingTimer {
    public:
        explicit Handle(std::shared_ptr<Timer> timer) : m_timer(std::move(timer)) {}
        ~Handle() override { m_timer->isRunning = false; }

    private:
        std::shared_ptr<Timer> m_timer;
    };

    std::vector<std::shared_ptr<Timer>> m_timers;
};

}  // namespace sarvik::testing

#include "stores/repeating_timer.h"

#include <glib.h>

#include <algorithm>
#include <utility>

namespace sarvik {
namespace {

class MainLoopTimer final : public RepeatingTimer {
public:
    MainLoopTimer(std::chrono::seconds period, std::function<void()> tick) {
        // GLib counts whole seconds in an unsigned int: a longer period is capped, a shorter one lifted to 1 s.
        const auto seconds = static_cast<guint>(std::clamp<std::chrono::seconds::rep>(period.count(), 1, G_MAXUINT));
        m_sourceId = g_timeout_add_seconds_full(G_PRIORITY_DEFAULT, seconds, &MainLoopTimer::onTick,
                                                new std::function<void()>(std::move(tick)), &MainLoopTimer::release);
    }
    ~MainLoopTimer() override { g_source_remove(m_sourceId); }

    MainLoopTimer(const MainLoopTimer&) = delete;
    MainLoopTimer& operator=(const MainLoopTimer&) = delete;

private:
    // GLib keeps the closure alive until a running tick returns, even when the tick removes its own timer.
    static gboolean onTick(gpointer data) {
        (*static_cast<std::function<void()>*>(data))();
        return G_SOURCE_CONTINUE;
    }
    static void release(gpointer data) { delete static_cast<std::function<void()>*>(data); }

    guint m_sourceId = 0;
};

class MainLoopScheduler final : public TimerScheduler {
public:
    std::unique_ptr<RepeatingTimer> startRepeating(std::chrono::seconds period, std::function<void()> tick) override {
        return std::make_unique<MainLoopTimer>(period, std::move(tick));
    }
};

}  // namespace

TimerScheduler& TimerScheduler::mainLoop() {
    static MainLoopScheduler scheduler;
    return scheduler;
}

}  // namespace sarvik

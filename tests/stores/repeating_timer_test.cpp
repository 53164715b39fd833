#include "stores/repeating_timer.h"

#include <glib.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

// Runs the default main context until `done` or until `seconds` have passed.
template <typename Done>
void runMainLoop(double seconds, Done&& done) {
    const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done() && g_get_monotonic_time() < deadline) {
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(10000);
    }
}

// The one test that waits for the real clock: the main-loop timer ticks after
// its period, and a tick may stop its own timer without further ticks.
TEST(MainLoopTimerTest, TicksAfterItsPeriodAndStopsWhenItGoesEvenFromItsOwnTick) {
    std::unique_ptr<RepeatingTimer> timer;
    int ticks = 0;
    timer = TimerScheduler::mainLoop().startRepeating(std::chrono::seconds(1), [&] {
        ++ticks;
        timer.reset();
    });
    runMainLoop(5.0, [&] { return ticks > 0; });
    ASSERT_EQ(ticks, 1);
    runMainLoop(1.5, [] { return false; });
    EXPECT_EQ(ticks, 1);
}

TEST(MainLoopTimerTest, ADestroyedTimerNeverTicks) {
    int ticks = 0;
    auto timer = TimerScheduler::mainLoop().startRepeating(std::chrono::seconds(0), [&] { ++ticks; });
    timer.reset();
    runMainLoop(1.5, [] { return false; });
    EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace sarvik

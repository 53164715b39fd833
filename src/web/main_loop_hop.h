#pragma once

#include <glibmm/main.h>
#include <sigc++/sigc++.h>

namespace sarvik {

// Work handed back to the main loop must run ahead of GTK's drawing. On a slow display the frame clock is
// due again as soon as a frame is drawn, so while a spinner or progress bar animates, work queued at idle
// priority would wait until the page stops loading.
inline constexpr int kMainLoopHopPriority = Glib::PRIORITY_DEFAULT;

// Runs `work` once, after the current event has been handled, unless the returned connection is
// disconnected first. A slot bound to a trackable object is dropped with it.
inline sigc::connection scheduleSoon(const sigc::slot<void()>& work) {
    // Not signal_idle().connect(work, priority): it leaves the idle priority in place when asked for the
    // default one.
    const auto source = Glib::IdleSource::create();
    source->set_priority(kMainLoopHopPriority);
    auto connection = source->connect([work] {
        work();
        return false;
    });
    source->attach();
    return connection;
}

inline void runSoon(const sigc::slot<void()>& work) { scheduleSoon(work); }

}  // namespace sarvik

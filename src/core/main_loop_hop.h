#pragma once

#include <glib.h>
#include <sigc++/sigc++.h>

namespace sarvik {

// Work handed back to the main loop must run ahead of GTK's drawing. On a slow display the frame clock is
// due again as soon as a frame is drawn, so while a spinner or progress bar animates, work queued at idle
// priority would wait until the page stops loading.
inline constexpr int kMainLoopHopPriority = G_PRIORITY_DEFAULT;

// Runs `work` once on the default main context, after the current event has been handled, unless the
// returned connection is disconnected first. A slot bound to a trackable object is dropped with it.
// GLib and sigc++ only, so the pure layers can use it too.
inline sigc::connection scheduleSoon(const sigc::slot<void()>& work) {
    auto* hop = new sigc::signal<void()>;
    sigc::connection connection = hop->connect(work);
    g_idle_add_full(
        kMainLoopHopPriority,
        [](gpointer data) -> gboolean {
            static_cast<sigc::signal<void()>*>(data)->emit();
            return G_SOURCE_REMOVE;
        },
        hop, [](gpointer data) { delete static_cast<sigc::signal<void()>*>(data); });
    return connection;
}

inline void runSoon(const sigc::slot<void()>& work) { scheduleSoon(work); }

}  // namespace sarvik

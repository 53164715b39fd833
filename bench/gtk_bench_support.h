// What the benchmarks that run GTK share: a large history file, a main loop
// driven until a frame is painted, and a main function with an application.
#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <benchmark/benchmark.h>
#include <glibmm/main.h>
#include <gtkmm/application.h>
#include <gtkmm/widget.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace sarvik::bench {

// `entries` visits, newest first, spread evenly over `days` days before a fixed
// instant: "Page <i> of site <i % 997>" at https://site<i % 997>.example/page/<i>,
// visited 1 + i % `visitCountCycle` times.
inline void writeHistory(const std::filesystem::path& file, int entries, int days, int visitCountCycle) {
    std::ofstream out(file);
    out << '[';
    const double newest = Date::fromUnixTime(1796558400.0).secondsSinceReference;
    const double step = days * 86400.0 / entries;
    for (int i = 0; i < entries; ++i) {
        if (i) out << ',';
        out << R"({"id":")" << Uuid::random().toString() << R"(","title":"Page )" << i << R"( of site )" << i % 997
            << R"(","url":"https://site)" << i % 997 << ".example/page/" << i << R"(","visitedAt":)"
            << static_cast<long long>(newest - i * step) << R"(,"visitCount":)" << 1 + i % visitCountCycle << '}';
    }
    out << ']';
}

// Runs whatever the main loop has ready, without waiting.
inline void drain() {
    auto context = Glib::MainContext::get_default();
    while (context->pending()) context->iteration(false);
}

// Runs the main loop for a while with nothing to do. The frame clock paces
// frames a refresh interval apart, so an input right after a frame waits for
// the next slot; a user's keystroke comes to a window shown for a while.
inline void settle(std::chrono::milliseconds span = std::chrono::milliseconds(100)) {
    bool done = false;
    auto timeout = Glib::signal_timeout().connect([&done] {
        done = true;
        return false;
    }, static_cast<unsigned>(span.count()));
    auto context = Glib::MainContext::get_default();
    while (!done) context->iteration(true);
}

// Runs the main loop until the widget's frame clock has painted a frame, or
// 10 s have passed with nothing to paint.
inline void waitForPaint(Gtk::Widget& widget) {
    GdkFrameClock* frameClock = gtk_widget_get_frame_clock(widget.gobj());
    if (!frameClock) return;
    bool painted = false;
    auto onPaint = +[](GdkFrameClock*, gpointer flag) { *static_cast<bool*>(flag) = true; };
    const gulong handler = g_signal_connect(frameClock, "after-paint", G_CALLBACK(onPaint), &painted);
    bool late = false;
    auto timeout = Glib::signal_timeout().connect([&late] {
        late = true;
        return false;
    }, 10000);
    auto context = Glib::MainContext::get_default();
    while (!painted && !late) context->iteration(true);
    timeout.disconnect();
    g_signal_handler_disconnect(frameClock, handler);
}

// Runs the registered benchmarks inside a held, registered application, as
// the browser's widgets expect.
inline int runWithApplication(int argc, char** argv, const std::string& applicationId) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    auto application = Gtk::Application::create(applicationId, Gio::Application::Flags::NON_UNIQUE);
    application->register_application();
    application->hold();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    application->release();
    return 0;
}

}  // namespace sarvik::bench

#include "support/display/gtk_test_environment.h"

#include <glibmm/main.h>
#include <gtest/gtest.h>

namespace sarvik::testing {
namespace {

Glib::RefPtr<Gtk::Application>& applicationSlot() {
    static Glib::RefPtr<Gtk::Application> application;
    return application;
}

}  // namespace

Glib::RefPtr<Gtk::Application> testApplication() { return applicationSlot(); }

void drainMainLoop() {
    auto context = Glib::MainContext::get_default();
    while (context->pending()) context->iteration(false);
}

bool runMainLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto context = Glib::MainContext::get_default();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    auto wake = Glib::signal_timeout().connect([&] {
        timedOut = true;
        return false;
    }, static_cast<unsigned>(timeout.count()));
    while (!done()) {
        if (timedOut || std::chrono::steady_clock::now() >= deadline) {
            wake.disconnect();
            return done();
        }
        context->iteration(true);
    }
    wake.disconnect();
    return true;
}

}  // namespace sarvik::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing tests must work without a display, so GTK starts only when tests run.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    auto application = Gtk::Application::create("org.sarvikbrowser.SarvikBrowser.Tests",
                                                 Gio::Application::Flags::NON_UNIQUE);
    application->register_application();
    application->hold();
    sarvik::testing::applicationSlot() = application;
    const int result = RUN_ALL_TESTS();
    application->release();
    sarvik::testing::applicationSlot().reset();
    return result;
}

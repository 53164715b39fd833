#include "support/display/gtk_test_environment.h"

#include "app/renderer_choice.h"
#include "support/temporary_directory.h"

#include <glib.h>
#include <glibmm/main.h>
#include <glibmm/spawn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

// Last, because Xlib defines macros (None, Bool, ...) that clash with C++ names.
#include <gdk/x11/gdkx.h>

namespace sarvik::testing {
namespace {

Glib::RefPtr<Gtk::Application>& applicationSlot() {
    static Glib::RefPtr<Gtk::Application> application;
    return application;
}

std::string_view fieldText(const GLogField* fields, gsize count, std::string_view key) {
    for (gsize i = 0; i < count; ++i)
        if (key == fields[i].key && fields[i].value)
            return fields[i].length < 0 ? static_cast<const char*>(fields[i].value)
                                        : std::string_view(static_cast<const char*>(fields[i].value),
                                                           static_cast<std::size_t>(fields[i].length));
    return {};
}

// Run without a session bus (scripts/with-display always starts one, a bare
// xvfb-run does not), GTK says so once; that is the machine, not the browser.
bool isEnvironmentNoise(std::string_view domain, std::string_view message) {
    return domain == "Gtk" && message.starts_with("Unable to acquire session bus");
}

// A warning or a critical message from the browser, GTK, GLib or the engine's
// UI process fails the test that was running, and still reaches stderr.
GLogWriterOutput failOnWarnings(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
    const std::string_view domain = fieldText(fields, count, "GLIB_DOMAIN");
    const std::string_view message = fieldText(fields, count, "MESSAGE");
    if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) &&
        !isEnvironmentNoise(domain, message))
        ADD_FAILURE() << "logged: " << domain << " " << message;
    return g_log_writer_default(level, fields, count, nullptr);
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

Gtk::Widget* findDescendant(Gtk::Widget& root, const Glib::ustring& name) {
    if (root.get_name() == name) return &root;
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        if (auto* found = findDescendant(*child, name)) return found;
    return nullptr;
}

Gtk::Window* findWindow(const Glib::ustring& name) {
    for (auto* window : Gtk::Window::list_toplevels())
        if (window->get_name() == name && window->get_visible()) return window;
    return nullptr;
}

std::optional<bool> selectedWhenFocused(Gtk::Entry& entry, const std::function<void()>& focus) {
    auto* window = dynamic_cast<Gtk::Window*>(entry.get_root());
    if (!window) return std::nullopt;
    // No window manager here: the window gets the keyboard only when asked.
    const auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window->gobj())));
    Glib::spawn_command_line_sync("xdotool windowfocus --sync " + std::to_string(xid));
    if (!runMainLoopUntil([&] { return window->is_active(); })) return std::nullopt;
    std::optional<bool> selected;
    auto* text = GTK_WIDGET(gtk_editable_get_delegate(GTK_EDITABLE(entry.gobj())));
    const auto record = +[](GtkWidget* widget, GParamSpec*, gpointer out) {
        if (gtk_widget_has_focus(widget))
            *static_cast<std::optional<bool>*>(out) = gtk_editable_get_selection_bounds(GTK_EDITABLE(widget), nullptr, nullptr);
    };
    const gulong handler = g_signal_connect(text, "notify::has-focus", G_CALLBACK(record), &selected);
    focus();
    runMainLoopUntil([&] { return selected.has_value(); });
    g_signal_handler_disconnect(text, handler);
    return selected;
}

}  // namespace sarvik::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    g_log_set_writer_func(sarvik::testing::failOnWarnings, nullptr, nullptr);
    // Listing tests must work without a display, so GTK starts only when tests run.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // Everything GTK, WebKit and the stores keep goes into a folder of this run, never the user's.
    const sarvik::testing::TemporaryDirectory home;
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    // The accessibility bus is the desktop session's: a test must not fail for want of one.
    setenv("GTK_A11Y", "none", 1);
    sarvik::choosePreferredRenderer();  // the renderer the browser itself would run
    // Named as g_application_run names the browser: GTK records the program with what it
    // saves (a printed PDF goes into the recently used files) and warns without a name.
    gchar* name = g_path_get_basename(argv[0]);
    g_set_prgname(name);
    g_free(name);
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

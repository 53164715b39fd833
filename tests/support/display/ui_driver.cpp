#include "support/display/ui_driver.h"

#include "app/renderer_choice.h"
#include "support/temporary_directory.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glibmm/main.h>
#include <glibmm/shell.h>
#include <glibmm/spawn.h>
#include <gtest/gtest.h>
#include <gtkmm/native.h>
#include <gtkmm/popover.h>
#include <webkit/webkit.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
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

// A warning or a critical message from the browser, GTK, GLib or the engine's UI process fails the running
// test. Run without a session bus (a bare xvfb-run), GTK says so once: that is the machine, not the browser.
GLogWriterOutput failOnWarnings(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
    const std::string_view domain = fieldText(fields, count, "GLIB_DOMAIN");
    const std::string_view message = fieldText(fields, count, "MESSAGE");
    if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) &&
        !(domain == "Gtk" && message.starts_with("Unable to acquire session bus")))
        ADD_FAILURE() << "logged: " << domain << " " << message;
    return g_log_writer_default(level, fields, count, nullptr);
}

std::string windowOf(Gtk::Widget& widget) {
    return std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(widget.get_native()->gobj())));
}
void spawn(const std::string& command) { Glib::spawn_command_line_sync(command); }

void snapshotWidget(Gtk::Widget& widget, GtkSnapshot* snapshot) {
    GdkPaintable* paintable = gtk_widget_paintable_new(widget.gobj());
    gdk_paintable_snapshot(paintable, snapshot, widget.get_width(), widget.get_height());
    g_object_unref(paintable);
}

// What was drawn, rendered by the window's renderer as the screen shows it; null on failure.
GdkTexture* renderSnapshot(GtkSnapshot* snapshot, Gtk::Native& native, int width, int height) {
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    if (!node) return nullptr;
    const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(native.gobj()), node, &bounds);
    gsk_render_node_unref(node);
    return texture;
}

// A bounded wait for pending redraws: while anything animates the main loop is never idle.
void letRedrawsFinish() { runMainLoopUntil([] { return false; }, std::chrono::milliseconds(50)); }

// The widget drawn into a texture by its window's renderer; null on failure.
GdkTexture* renderWidget(Gtk::Widget& widget) {
    const int width = widget.get_width(), height = widget.get_height();
    Gtk::Native* native = widget.get_native();
    if (width <= 0 || height <= 0 || !native) return nullptr;
    letRedrawsFinish();
    GtkSnapshot* snapshot = gtk_snapshot_new();
    snapshotWidget(widget, snapshot);
    return renderSnapshot(snapshot, *native, width, height);
}

// The window with its open popovers drawn over it where they show (each is a surface of its own).
GdkTexture* renderWindowWithPopovers(Gtk::Window& window) {
    const int width = window.get_width(), height = window.get_height();
    if (width <= 0 || height <= 0) return nullptr;
    letRedrawsFinish();
    GtkSnapshot* snapshot = gtk_snapshot_new();
    snapshotWidget(window, snapshot);
    double windowX = 0, windowY = 0;
    gtk_native_get_surface_transform(GTK_NATIVE(window.gobj()), &windowX, &windowY);
    for (auto* popover : findAll<Gtk::Popover>(window, [](Gtk::Popover& p) { return p.get_mapped(); })) {
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(popover->gobj()));
        if (!surface || !GDK_IS_POPUP(surface)) continue;
        double offsetX = 0, offsetY = 0;
        gtk_native_get_surface_transform(GTK_NATIVE(popover->gobj()), &offsetX, &offsetY);
        const graphene_point_t at = GRAPHENE_POINT_INIT(
            static_cast<float>(gdk_popup_get_position_x(GDK_POPUP(surface)) + offsetX - windowX),
            static_cast<float>(gdk_popup_get_position_y(GDK_POPUP(surface)) + offsetY - windowY));
        gtk_snapshot_save(snapshot);
        gtk_snapshot_translate(snapshot, &at);
        snapshotWidget(*popover, snapshot);
        gtk_snapshot_restore(snapshot);
    }
    return renderSnapshot(snapshot, window, width, height);
}

bool savePng(GdkTexture* texture, const std::filesystem::path& file) {
    if (!texture) return false;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const bool saved = gdk_texture_save_to_png(texture, file.c_str());
    g_object_unref(texture);
    return saved;
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
    while (!done() && !timedOut && std::chrono::steady_clock::now() < deadline) context->iteration(true);
    wake.disconnect();
    return done();
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

std::string textOf(Gtk::Widget& widget) {
    std::string text;
    for (auto* shown : textWidgets(widget)) text += (text.empty() ? "" : " ") + *shownText(*shown);
    return text;
}

bool isShown(Gtk::Widget& widget) {
    for (Gtk::Widget* each = &widget; each; each = each->get_parent())
        if (!each->get_visible()) return false;
    return true;
}

bool hasFocusWithin(Gtk::Widget& widget) {
    auto* window = dynamic_cast<Gtk::Window*>(widget.get_root());
    for (Gtk::Widget* w = window ? window->get_focus() : nullptr; w; w = w->get_parent())
        if (w == &widget) return true;
    return false;
}

bool click(Gtk::Button* button) {
    if (!button) return false;
    bool clicked = false;
    auto connection = button->signal_clicked().connect([&] { clicked = true; });
    // GTK turns the activation into "clicked" a moment later, after showing the pressed state.
    const bool arrived = button->activate() && runMainLoopUntil([&] { return clicked; }, std::chrono::seconds(5));
    connection.disconnect();
    drainMainLoop();
    return arrived;
}

void emitClicked(Gtk::Widget& button) { g_signal_emit_by_name(button.gobj(), "clicked"); }
void pointerAt(Gtk::Widget& widget, const std::string& action, double heightFraction) {
    auto* native = widget.get_native();
    double x = 0, y = 0, offsetX = 0, offsetY = 0;
    ASSERT_TRUE(gtk_widget_translate_coordinates(widget.gobj(), GTK_WIDGET(native->gobj()), widget.get_width() / 2.0,
                                                 widget.get_height() * heightFraction, &x, &y));
    gtk_native_get_surface_transform(native->gobj(), &offsetX, &offsetY);
    spawn("xdotool mousemove --window " + windowOf(widget) + " " + std::to_string(static_cast<int>(x + offsetX)) +
          " " + std::to_string(static_cast<int>(y + offsetY)) + " " + action);
}

void sendKeysTo(Gtk::Widget& widget) {
    pointerAt(widget, "");
    spawn("xdotool windowfocus --sync " + windowOf(widget));
}

void typeText(const std::string& text) { spawn("xdotool type --delay 20 " + Glib::shell_quote(text)); }
void pressKeys(const std::string& keys) { spawn("xdotool key " + keys); }

std::optional<bool> selectedWhenFocused(Gtk::Entry& entry, const std::function<void()>& focus) {
    auto* window = dynamic_cast<Gtk::Window*>(entry.get_root());
    if (!window) return std::nullopt;
    // No window manager here: the window gets the keyboard only when asked.
    spawn("xdotool windowfocus --sync " + windowOf(*window));
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

std::optional<std::string> evaluateInPage(WebKitWebView* view, const std::string& script) {
    struct Answer {
        bool done = false;
        std::optional<std::string> text;
        std::string error;
    };
    // Heap-held: the engine may answer after a timed-out wait.
    auto* answer = new Answer;
    const auto finished = +[](GObject* source, GAsyncResult* result, gpointer data) {
        auto* out = static_cast<Answer*>(data);
        GError* error = nullptr;
        if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error)) {
            char* text = jsc_value_to_string(value);
            out->text = text ? text : "";
            g_free(text);
            g_object_unref(value);
        }
        if (error) {
            out->error = error->message;
            g_error_free(error);
        }
        out->done = true;
    };
    webkit_web_view_evaluate_javascript(view, script.c_str(), -1, "sarvik-test", nullptr, nullptr, finished, answer);
    if (!runMainLoopUntil([&] { return answer->done; })) return std::nullopt;  // left to the engine's callback
    auto text = answer->text;
    if (!text) std::cerr << "script failed: " << answer->error << '\n';
    delete answer;
    return text;
}

std::string pngImage(int width, int height) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, 0x3366ccff);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    std::string bytes(buffer ? buffer : "", size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return bytes;
}

LoopbackWebView::LoopbackWebView() {
    m_webView = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, nullptr));
    gtk_window_set_child(m_window.gobj(), GTK_WIDGET(m_webView));
    m_window.set_default_size(400, 300);
    m_window.present();
}

LoopbackWebView::~LoopbackWebView() { m_window.unset_child(); }
bool LoopbackWebView::load(const std::string& url) {
    enum Outcome { pending, finished, failed } outcome = pending;
    const auto changed = +[](WebKitWebView*, WebKitLoadEvent event, gpointer data) {
        if (auto* out = static_cast<Outcome*>(data); event == WEBKIT_LOAD_FINISHED && *out == pending) *out = finished;
    };
    const auto fail = +[](WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data) -> gboolean {
        *static_cast<Outcome*>(data) = failed;
        return FALSE;
    };
    const gulong changedHandler = g_signal_connect(m_webView, "load-changed", G_CALLBACK(changed), &outcome);
    const gulong failedHandler = g_signal_connect(m_webView, "load-failed", G_CALLBACK(fail), &outcome);
    webkit_web_view_load_uri(m_webView, url.c_str());
    runMainLoopUntil([&] { return outcome != pending; });
    g_signal_handler_disconnect(m_webView, changedHandler);
    g_signal_handler_disconnect(m_webView, failedHandler);
    return outcome == finished;
}

std::optional<RenderedPixel> renderedPixelAt(Gtk::Widget& widget, int x, int y) {
    GdkTexture* texture = renderWidget(widget);
    if (!texture) return std::nullopt;
    const int width = gdk_texture_get_width(texture), height = gdk_texture_get_height(texture);
    std::optional<RenderedPixel> pixel;
    if (x >= 0 && y >= 0 && x < width && y < height) {
        // Cairo's ARGB32 order: premultiplied, one native-endian 32-bit word per pixel.
        std::vector<std::uint32_t> data(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        gdk_texture_download(texture, reinterpret_cast<guchar*>(data.data()), static_cast<gsize>(width) * 4);
        const std::uint32_t word = data[static_cast<std::size_t>(y * width + x)];
        const int alpha = static_cast<int>(word >> 24);
        const auto straight = [alpha](std::uint32_t v) { return alpha == 0 ? 0 : static_cast<int>((v & 0xff) * 255 / alpha); };
        pixel = RenderedPixel{straight(word >> 16), straight(word >> 8), straight(word), alpha};
    }
    g_object_unref(texture);
    return pixel;
}

bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file) { return savePng(renderWidget(widget), file); }
bool saveWindowPng(Gtk::Window& window, const std::filesystem::path& file) {
    return savePng(renderWindowWithPopovers(window), file);
}

std::filesystem::path screenshotDirectory() {
    const char* dir = std::getenv("SARVIK_SCREENSHOT_DIR");
    return dir && *dir ? std::filesystem::path(dir) : std::filesystem::path();
}

void saveScreenshotIfRequested(Gtk::Widget& widget, const std::string& name) {
    const auto dir = screenshotDirectory();
    if (!dir.empty() && !saveWidgetPng(widget, dir / (name + ".png")))
        std::cerr << "could not save screenshot " << dir / (name + ".png") << '\n';
}

}  // namespace sarvik::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    g_log_set_writer_func(sarvik::testing::failOnWarnings, nullptr, nullptr);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // Everything GTK, WebKit and the stores keep goes into a folder of this run, never the user's.
    const sarvik::testing::TemporaryDirectory home;
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("GTK_A11Y", "none", 1);  // the accessibility bus is the desktop session's
    sarvik::choosePreferredRenderer();  // the renderer the browser itself would run
    // Named as g_application_run names the browser: GTK records the program with a saved file, and warns without.
    g_set_prgname(std::filesystem::path(argv[0]).filename().c_str());
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

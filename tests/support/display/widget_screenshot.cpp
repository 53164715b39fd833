#include "support/display/widget_screenshot.h"

#include "support/display/gtk_test_environment.h"

#include <gtkmm/native.h>
#include <gtk/gtk.h>
#include <gsk/gsk.h>

#include <cstdint>
#include <cstdlib>
#include <vector>
#include <iostream>

namespace sarvik::testing {

namespace {

// The widget drawn into a texture by its window's renderer; null on failure.
GdkTexture* renderWidget(Gtk::Widget& widget) {
    const int width = widget.get_width();
    const int height = widget.get_height();
    auto* native = widget.get_native();
    if (width <= 0 || height <= 0 || !native) return nullptr;
    // A bounded wait for pending redraws: while anything animates (a spinner,
    // a loading page) the main loop is never idle.
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(50));
    GdkPaintable* paintable = gtk_widget_paintable_new(widget.gobj());
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    g_object_unref(paintable);
    if (!node) return nullptr;
    GskRenderer* renderer = gtk_native_get_renderer(native->gobj());
    const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &bounds);
    gsk_render_node_unref(node);
    return texture;
}

}  // namespace

std::optional<RenderedPixel> renderedPixelAt(Gtk::Widget& widget, int x, int y) {
    GdkTexture* texture = renderWidget(widget);
    if (!texture) return std::nullopt;
    const int width = gdk_texture_get_width(texture);
    const int height = gdk_texture_get_height(texture);
    std::optional<RenderedPixel> pixel;
    if (x >= 0 && y >= 0 && x < width && y < height) {
        // Cairo's ARGB32 order: premultiplied, one native-endian 32-bit word per pixel.
        std::vector<std::uint32_t> data(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        gdk_texture_download(texture, reinterpret_cast<guchar*>(data.data()), static_cast<gsize>(width) * 4);
        const std::uint32_t word = data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        const int alpha = static_cast<int>(word >> 24);
        const auto straight = [alpha](std::uint32_t v) { return alpha == 0 ? 0 : static_cast<int>((v & 0xff) * 255 / alpha); };
        pixel = RenderedPixel{straight(word >> 16), straight(word >> 8), straight(word), alpha};
    }
    g_object_unref(texture);
    return pixel;
}

bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file) {
    GdkTexture* texture = renderWidget(widget);
    if (!texture) return false;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const bool saved = gdk_texture_save_to_png(texture, file.c_str());
    g_object_unref(texture);
    return saved;
}

std::filesystem::path screenshotDirectory() {
    const char* dir = std::getenv("SARVIK_SCREENSHOT_DIR");
    return dir && *dir ? std::filesystem::path(dir) : std::filesystem::path();
}

void saveScreenshotIfRequested(Gtk::Widget& widget, const std::string& name) {
    const auto dir = screenshotDirectory();
    if (dir.empty()) return;
    const auto file = dir / (name + ".png");
    if (!saveWidgetPng(widget, file)) std::cerr << "could not save screenshot " << file << '\n';
}

}  // namespace sarvik::testing

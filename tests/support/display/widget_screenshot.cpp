#include "support/display/widget_screenshot.h"

#include "support/display/gtk_test_environment.h"

#include <gtkmm/native.h>
#include <gtk/gtk.h>
#include <gsk/gsk.h>

#include <cstdlib>
#include <iostream>

namespace sarvik::testing {

bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file) {
    const int width = widget.get_width();
    const int height = widget.get_height();
    auto* native = widget.get_native();
    if (width <= 0 || height <= 0 || !native) return false;
    drainMainLoop();
    GdkPaintable* paintable = gtk_widget_paintable_new(widget.gobj());
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    g_object_unref(paintable);
    if (!node) return false;
    GskRenderer* renderer = gtk_native_get_renderer(native->gobj());
    const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &bounds);
    gsk_render_node_unref(node);
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

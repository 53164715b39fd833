#pragma once

#include <gtkmm/widget.h>

#include <filesystem>
#include <optional>
#include <string>

namespace sarvik::testing {

// One pixel of a rendered widget, straight (not premultiplied) 0-255 values.
struct RenderedPixel {
    int red = 0, green = 0, blue = 0, alpha = 0;
};

// Renders a realised, mapped widget with its window's renderer, as the
// screenshots do, and reads the pixel at (x, y) in its own coordinates.
// Nothing when it could not be drawn or the point lies outside it.
std::optional<RenderedPixel> renderedPixelAt(Gtk::Widget& widget, int x, int y);

// Renders a realised, mapped widget (a window, a panel) to a PNG file with the
// window's own renderer. Returns false if it could not be drawn or written.
bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file);

// Where screenshots go when `make screenshots` asked for them
// (SARVIK_SCREENSHOT_DIR); empty when screenshots are not wanted.
std::filesystem::path screenshotDirectory();

// Saves `name`.png of the widget into screenshotDirectory(), if one is set.
void saveScreenshotIfRequested(Gtk::Widget& widget, const std::string& name);

}  // namespace sarvik::testing

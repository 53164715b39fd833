#pragma once

#include <gtkmm/widget.h>

#include <filesystem>
#include <string>

namespace sarvik::testing {

// Renders a realised, mapped widget (a window, a panel) to a PNG file with the
// window's own renderer. Returns false if it could not be drawn or written.
bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file);

// Where screenshots go when `make screenshots` asked for them
// (SARVIK_SCREENSHOT_DIR); empty when screenshots are not wanted.
std::filesystem::path screenshotDirectory();

// Saves `name`.png of the widget into screenshotDirectory(), if one is set.
void saveScreenshotIfRequested(Gtk::Widget& widget, const std::string& name);

}  // namespace sarvik::testing

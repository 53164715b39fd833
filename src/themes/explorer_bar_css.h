#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the explorer bar's own frame (gradient, border, header, badges)
// and of its Favorites, History and Search panels, in the colours of one
// theme. Pure: load the text with a Gtk::CssProvider and replace it when the
// theme changes.
std::string explorerBarCss(OrvelColorTheme theme);

}  // namespace sarvik

#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The GTK 4 CSS of the Preferences view for the current theme: its sidebar,
// page headers, sections, home-page field, link buttons, theme swatches (each
// filled with its own theme's button gradient), zoom value, toggles and
// auction statistics. Every rule is scoped under .preferences-view, and every
// colour comes from the theme tables or the few system colours named here.
// Load it beside the theme CSS and reload it when the theme changes. Pure.
std::string preferencesCss(OrvelColorTheme theme);

// The CSS class that names a theme on its swatch ("theme-blueberry").
std::string swatchThemeClass(OrvelColorTheme theme);

}  // namespace sarvik

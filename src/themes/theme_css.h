#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// Renders a theme as GTK 4 CSS: @define-color names for the theme's roles
// (orvel_primary, orvel_secondary, orvel_highlight, orvel_label) and the
// platform colours the chrome names (orvel_green, orvel_orange, orvel_gray),
// followed by the rules of every themed control class (orvel-toolbar,
// orvel-button, orvel-nav-button, ...). Every colour comes from the theme
// tables; nothing outside this function spells one. Pure: no GTK needed.
std::string themeCss(OrvelColorTheme theme);

// One colour and one gradient in CSS syntax, exposed for the tests and for
// custom drawing that wants the same text.
std::string cssColor(const Rgba& color);
std::string cssGradient(const LinearGradient& gradient, double opacity = 1.0);

}  // namespace sarvik

#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The web CSS of the page shown when a page cannot be loaded, drawn in the
// theme's colours like the chrome around it: a glossy header band, the
// message on white, and a push button for trying again.
std::string errorPageCss(OrvelColorTheme theme);

}  // namespace sarvik

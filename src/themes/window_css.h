#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The whole stylesheet of the browser's windows in one theme: every part's CSS, in the order they cascade. Pure.
std::string windowCss(OrvelColorTheme theme);

}  // namespace sarvik

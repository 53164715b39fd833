#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the band that offers the tabs of last time, in the colours of one theme. Pure.
std::string sessionRestoreCss(OrvelColorTheme theme);

}  // namespace sarvik

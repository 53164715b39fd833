#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the band that says a data file cannot be saved, in the colours of one theme. Pure.
std::string storageNoticeCss(OrvelColorTheme theme);

}  // namespace sarvik

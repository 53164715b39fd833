#pragma once

#include "core/color_theme.h"

#include <cstdint>
#include <string>

namespace sarvik {

// The status bar's texts, kept apart from the widgets so their rules are
// testable on their own.
std::string endingSoonText(std::int64_t count);   // "3 ending soon"
std::string tabCountText(std::int64_t count);     // "2 tabs"
std::string themeSwatchTooltip(OrvelColorTheme theme);  // "Theme: Blueberry"

}  // namespace sarvik

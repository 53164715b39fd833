#include "views/status_bar/status_bar_texts.h"

#include <cmath>

namespace sarvik {

std::string endingSoonText(std::int64_t count) { return std::to_string(count) + " ending soon"; }

std::string tabCountText(std::int64_t count) { return std::to_string(count) + " tabs"; }


std::string themeSwatchTooltip(OrvelColorTheme theme) { return "Theme: " + std::string(rawValue(theme)); }

}  // namespace sarvik

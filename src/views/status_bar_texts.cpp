#include "views/status_bar_texts.h"

#include <cmath>

namespace sarvik {

std::string endingSoonText(std::int64_t count) { return std::to_string(count) + " ending soon"; }

std::string tabCountText(std::int64_t count) { return std::to_string(count) + " tabs"; }

std::string zoomBadgeText(double pageZoom) {
    return std::to_string(static_cast<long long>(std::trunc(pageZoom * 100.0))) + "%";
}

std::string themeSwatchTooltip(OrvelColorTheme theme) { return "Theme: " + std::string(rawValue(theme)); }

}  // namespace sarvik

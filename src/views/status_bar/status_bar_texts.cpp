#include "views/status_bar/status_bar_texts.h"

#include <cmath>

namespace sarvik {

std::string endingSoonText(std::int64_t count) { return std::to_string(count) + " ending soon"; }

std::string tabCountText(std::int64_t count) { return std::to_string(count) + " tabs"; }

std::string zoomBadgeText(double pageZoom) {
    // 2.3 * 100 is 229.99999999999997 in binary floating point; it shows as 230 %.
    constexpr double kRoundingSlack = 1e-6;
    return std::to_string(static_cast<long long>(std::trunc(pageZoom * 100.0 + kRoundingSlack))) + "%";
}

std::string themeSwatchTooltip(OrvelColorTheme theme) { return "Theme: " + std::string(rawValue(theme)); }

}  // namespace sarvik

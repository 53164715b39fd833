#include "views/common/zoom_text.h"

#include <cmath>
#include <cstdio>

namespace sarvik {

std::string zoomPercentText(double pageZoom) {
    // Steps of 0.1 land a hair below their percentage (2.3 * 100 is 229.99999999999997).
    constexpr double kRoundingSlack = 1e-6;
    char text[64];
    // + 0.0 turns -0 into 0.
    std::snprintf(text, sizeof text, "%.0f%%", std::trunc(pageZoom * 100.0 + kRoundingSlack) + 0.0);
    return text;
}

}  // namespace sarvik

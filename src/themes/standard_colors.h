#pragma once

#include "core/color_theme.h"

namespace sarvik::standard_colors {

// The platform's named colours that the chrome uses beside each theme's own,
// declared once so every stylesheet draws the same orange, green and red.
inline constexpr Rgba kWhite{1, 1, 1, 1};
inline constexpr Rgba kBlack{0, 0, 0, 1};
inline constexpr Rgba kClear{0, 0, 0, 0};
inline constexpr Rgba kOrange{1.00, 0.58, 0.00, 1};
inline constexpr Rgba kRed{1.00, 0.23, 0.19, 1};
inline constexpr Rgba kGreen{0.20, 0.78, 0.35, 1};
inline constexpr Rgba kBlue{0.00, 0.48, 1.00, 1};
inline constexpr Rgba kGray{0.56, 0.56, 0.58, 1};
inline constexpr Rgba kPurple{0.69, 0.32, 0.87, 1};
inline constexpr Rgba kYellow{1.00, 0.80, 0.00, 1};
// The platform's window colour, which shows through the translucent bars.
inline constexpr Rgba kWindowBackground{0.965, 0.961, 0.957, 1};
// Text on the light surfaces: body, dimmed, and the deep orange, red and green
// that keep 4.5:1 where the bright ones fade into the panel.
inline constexpr Rgba kTextDark{0.15, 0.15, 0.20, 1};
inline constexpr Rgba kSecondaryLabel{0.15, 0.15, 0.20, 0.85};
inline constexpr Rgba kTextOrange{0.42, 0.19, 0.00, 1};
inline constexpr Rgba kTextRed{0.70, 0.10, 0.08, 1};
inline constexpr Rgba kTextGreen{0.08, 0.40, 0.15, 1};

}  // namespace sarvik::standard_colors

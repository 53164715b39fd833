#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace sarvik {

// The seven colour themes, in the order pickers and menus list them.
enum class OrvelColorTheme { blueberry, grape, tangerine, lime, strawberry, graphite, powerbook };

inline constexpr std::array<OrvelColorTheme, 7> kAllColorThemes = {
    OrvelColorTheme::blueberry, OrvelColorTheme::grape,    OrvelColorTheme::tangerine, OrvelColorTheme::lime,
    OrvelColorTheme::strawberry, OrvelColorTheme::graphite, OrvelColorTheme::powerbook};

// An sRGB colour, components 0 to 1.
struct Rgba {
    double red = 0, green = 0, blue = 0, alpha = 1;
    Rgba withAlpha(double a) const { return {red, green, blue, a}; }
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct GradientStop {
    Rgba color;
    double location = 0;  // 0 = top edge, 1 = bottom edge
    friend bool operator==(const GradientStop&, const GradientStop&) = default;
};

// A top-to-bottom linear gradient.
struct LinearGradient {
    std::vector<GradientStop> stops;
    friend bool operator==(const LinearGradient&, const LinearGradient&) = default;
};

std::string_view rawValue(OrvelColorTheme theme);
std::optional<OrvelColorTheme> colorThemeFromRawValue(std::string_view text);

Rgba primaryColor(OrvelColorTheme theme);
Rgba secondaryColor(OrvelColorTheme theme);
Rgba highlightColor(OrvelColorTheme theme);
Rgba labelColor(OrvelColorTheme theme);
LinearGradient toolbarGradient(OrvelColorTheme theme);
LinearGradient buttonGradient(OrvelColorTheme theme);

}  // namespace sarvik

#include "core/color_theme.h"

#include <cstddef>

namespace sarvik {
namespace {

struct ThemeColors {
    std::string_view rawValue;
    Rgba primary;
    Rgba secondary;
    Rgba highlight;
};

// One row per theme, in case order.
constexpr std::array<ThemeColors, 7> kThemeTable = {{
    {"Blueberry", {0.20, 0.45, 0.85, 1}, {0.45, 0.65, 0.95, 1}, {0.70, 0.85, 1.00, 1}},
    {"Grape", {0.55, 0.30, 0.75, 1}, {0.70, 0.50, 0.88, 1}, {0.85, 0.75, 1.00, 1}},
    {"Tangerine", {0.95, 0.55, 0.15, 1}, {1.00, 0.72, 0.35, 1}, {1.00, 0.88, 0.65, 1}},
    {"Lime", {0.35, 0.75, 0.25, 1}, {0.55, 0.88, 0.45, 1}, {0.75, 0.95, 0.70, 1}},
    {"Strawberry", {0.90, 0.25, 0.35, 1}, {1.00, 0.50, 0.55, 1}, {1.00, 0.75, 0.78, 1}},
    {"Graphite", {0.50, 0.52, 0.55, 1}, {0.65, 0.67, 0.70, 1}, {0.80, 0.82, 0.85, 1}},
    {"PowerBook", {0.20, 0.22, 0.25, 1}, {0.35, 0.37, 0.40, 1}, {0.55, 0.57, 0.60, 1}},
}};

const ThemeColors& row(OrvelColorTheme theme) { return kThemeTable[static_cast<std::size_t>(theme)]; }

}  // namespace

std::string_view rawValue(OrvelColorTheme theme) { return row(theme).rawValue; }

std::optional<OrvelColorTheme> colorThemeFromRawValue(std::string_view text) {
    for (auto theme : kAllColorThemes)
        if (rawValue(theme) == text) return theme;
    return std::nullopt;
}

Rgba primaryColor(OrvelColorTheme theme) { return row(theme).primary; }
Rgba secondaryColor(OrvelColorTheme theme) { return row(theme).secondary; }
Rgba highlightColor(OrvelColorTheme theme) { return row(theme).highlight; }

Rgba labelColor(OrvelColorTheme theme) {
    if (theme == OrvelColorTheme::graphite || theme == OrvelColorTheme::powerbook) return {1, 1, 1, 1};
    return {0.15, 0.15, 0.20, 1};
}

LinearGradient toolbarGradient(OrvelColorTheme theme) {
    return {{
        {highlightColor(theme).withAlpha(0.9), 0.0},
        {secondaryColor(theme).withAlpha(0.7), 0.25},
        {primaryColor(theme).withAlpha(0.6), 0.5},
        {secondaryColor(theme).withAlpha(0.7), 0.75},
        {highlightColor(theme).withAlpha(0.5), 1.0},
    }};
}

LinearGradient buttonGradient(OrvelColorTheme theme) {
    return {{
        {highlightColor(theme), 0.0},
        {secondaryColor(theme), 1.0 / 3.0},
        {primaryColor(theme), 2.0 / 3.0},
        {secondaryColor(theme).withAlpha(0.8), 1.0},
    }};
}

}  // namespace sarvik

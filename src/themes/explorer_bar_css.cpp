#include "themes/explorer_bar_css.h"

#include <cmath>
#include <cstdio>

namespace sarvik {
namespace {

std::string css(const Rgba& color) {
    auto channel = [](double value) { return static_cast<int>(std::lround(value * 255.0)); };
    char text[64];
    std::snprintf(text, sizeof text, "rgba(%d,%d,%d,%.3g)", channel(color.red), channel(color.green),
                  channel(color.blue), color.alpha);
    return text;
}

// A top-to-bottom gradient with every stop's opacity scaled.
std::string verticalGradient(const LinearGradient& gradient, double opacity) {
    std::string out = "linear-gradient(to bottom";
    for (const auto& stop : gradient.stops) {
        out += ", " + css(stop.color.withAlpha(stop.color.alpha * opacity));
        out += " " + std::to_string(static_cast<int>(std::lround(stop.location * 100.0))) + "%";
    }
    return out + ")";
}

// The header title is white on the two dark themes, a dark blue-grey elsewhere.
Rgba titleColor(OrvelColorTheme theme) {
    if (theme == OrvelColorTheme::graphite || theme == OrvelColorTheme::powerbook) return {1, 1, 1, 1};
    return {0.15, 0.15, 0.2, 1};
}

const Rgba kOrange{1.0, 0.584, 0.0, 1.0};
const Rgba kWhite{1, 1, 1, 1};
const Rgba kBlack{0, 0, 0, 1};

std::string frameCss(OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    return ".orvel-explorer-bar { background-image: linear-gradient(to right, " + css(primary.withAlpha(0.15)) +
           ", " + css(primary.withAlpha(0.05)) + "); border-right: 1px solid " + css(primary.withAlpha(0.2)) +
           "; }\n"
           ".orvel-explorer-header { background-image: " + verticalGradient(toolbarGradient(theme), 0.5) + "; }\n"
           ".orvel-explorer-title { font-size: 13px; font-weight: bold; color: " + css(titleColor(theme)) + "; }\n"
           ".orvel-explorer-badge { font-size: 9px; font-weight: bold; color: " + css(kWhite) +
           "; background-color: " + css(kOrange) + "; padding: 1px 5px; border-radius: 999px; }\n"
           ".orvel-explorer-dot { background-color: " + css(kOrange) +
           "; min-width: 6px; min-height: 6px; border-radius: 3px; margin: 0px -2px 0px 0px; }\n"
           ".orvel-explorer-close { padding: 0; min-width: 0; min-height: 0; background: none; border: none;"
           " box-shadow: none; }\n"
           ".orvel-explorer-close image { -gtk-icon-size: 14px; }\n"
           ".orvel-explorer-tab-title { font-size: 9px; }\n"
           ".orvel-explorer-tab image { -gtk-icon-size: 14px; }\n"
           ".orvel-explorer-bar listview, .orvel-explorer-bar scrolledwindow { background: none; }\n"
           ".orvel-explorer-bar listview > row { padding: 0; }\n";
}

std::string panelCss(OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    return ".orvel-secondary-text { color: alpha(currentColor, 0.55); }\n"
           ".orvel-faint { opacity: 0.6; }\n"
           ".orvel-plain-entry { border: none; box-shadow: none; background: none; outline: none;"
           " min-height: 0; padding: 0; font-size: 12px; }\n"
           ".orvel-plain-button { padding: 0; min-width: 0; min-height: 0; background: none; border: none;"
           " box-shadow: none; }\n"
           ".orvel-web-search-box { background-color: " + css(kWhite) + "; border-radius: 6px; padding: 8px;"
           " box-shadow: 0 1px 2px " + css(kBlack.withAlpha(0.1)) + "; }\n"
           ".orvel-history-search-box { background-color: " + css(kWhite) + "; border-radius: 4px;"
           " padding: 6px 10px; box-shadow: 0 1px 1px " + css(kBlack.withAlpha(0.05)) + "; }\n"
           ".orvel-small-icon { -gtk-icon-size: 10px; }\n"
           ".orvel-row-icon { -gtk-icon-size: 11px; }\n"
           ".orvel-chevron { -gtk-icon-size: 8px; }\n"
           ".orvel-folder-icon { -gtk-icon-size: 12px; color: " + css(primary) + "; }\n"
           ".orvel-row-title { font-size: 12px; }\n"
           ".orvel-new-folder-row { background-color: " + css(Rgba{1, 1, 0, 0.1}) + "; }\n"
           ".orvel-history-header { font-size: 11px; font-weight: bold; color: " + css(primary) +
           "; background-color: " + css(primary.withAlpha(0.05)) + "; padding: 6px 12px; }\n"
           ".orvel-history-title { font-size: 11px; font-weight: 500; }\n"
           ".orvel-history-url { font-size: 9px; }\n"
           ".orvel-history-time { font-size: 9px; }\n"
           ".orvel-history-badge { font-size: 8px; font-weight: bold; color: " + css(kWhite) +
           "; background-color: " + css(primary.withAlpha(0.6)) + "; padding: 1px 4px; border-radius: 999px; }\n"
           ".orvel-empty-icon { -gtk-icon-size: 28px; color: " + css(primary.withAlpha(0.2)) + "; }\n"
           ".orvel-no-results-icon { -gtk-icon-size: 24px; opacity: 0.4; }\n"
           ".orvel-empty-title { font-size: 12px; }\n"
           ".orvel-empty-detail { font-size: 10px; opacity: 0.6; }\n";
}

}  // namespace

std::string explorerBarCss(OrvelColorTheme theme) { return frameCss(theme) + panelCss(theme); }

}  // namespace sarvik

#include "themes/text_roles.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sarvik {
namespace {

using namespace standard_colors;

Rgba dark(OrvelColorTheme) { return kTextDark; }
Rgba dimmed(OrvelColorTheme) { return kSecondaryLabel; }
Rgba orange(OrvelColorTheme) { return kTextOrange; }
Rgba red(OrvelColorTheme) { return kTextRed; }
Rgba green(OrvelColorTheme) { return kTextGreen; }
Rgba white(OrvelColorTheme) { return kWhite; }
// The primary colour at a little over half its brightness keeps its hue and reads on the panel.
Rgba deepPrimary(OrvelColorTheme theme) {
    const Rgba p = primaryColor(theme);
    return {p.red * 0.55, p.green * 0.55, p.blue * 0.55, 1};
}

using B = TextBackdrop;
constexpr std::array kRoles{
    TextRole{"explorer text", ".orvel-explorer-bar", dark, B::explorerPanel, 12, false},
    TextRole{"explorer title", ".orvel-explorer-title", dark, B::explorerHeader, 13, true},
    TextRole{"explorer tab", ".orvel-explorer-tab", dimmed, B::explorerHeader, 9, false},
    TextRole{"explorer badge", ".orvel-explorer-badge", white, B::solidOrange, 9, true},
    TextRole{"panel dimmed", ".orvel-secondary-text", dimmed, B::explorerPanel, 9, false},
    TextRole{"history day", ".orvel-history-header", deepPrimary, B::explorerPanel, 11, true},
    TextRole{"auction title", ".auction-title", dark, B::explorerPanel, 11, false},
    TextRole{"auction price", ".auction-price", dark, B::explorerPanel, 12, true},
    TextRole{"auction dimmed",
             ".auction-site-line, .auction-bids, .auction-empty-title, .auction-empty-subtitle, "
             ".auction-form-toggle, .auction-cancel",
             dimmed, B::explorerPanel, 9, false},
    TextRole{"ending soon", ".auction-time.last-hour, .auction-max-bid-warning, .status-ending", orange,
             B::orangeTint, 9, false},
    TextRole{"auction badge", ".auction-badge", orange, B::orangeTint, 10, true},
    TextRole{"price up", ".auction-trend.up, .auction-form-problem, .status-lost", red, B::explorerPanel, 9, false},
    TextRole{"price down", ".auction-trend.down, .status-won", green, B::explorerPanel, 9, false},
    TextRole{"scrapbook dimmed",
             ".scrapbook-folder-count, .scrapbook-row-date, .scrapbook-empty-title, .scrapbook-empty-hint", dimmed,
             B::explorerPanel, 9, false},
    TextRole{"status text", ".orvel-status-text, .orvel-tab-count, .orvel-zoom-badge", dimmed, B::statusBar, 10,
             false},
    TextRole{"status ending soon", ".orvel-auction-badge", orange, B::orangeTint, 10, false},
    TextRole{"find count", ".orvel-find-bar .orvel-find-count", dimmed, B::findBand, 11, false},
    TextRole{"find options", ".orvel-find-bar .orvel-find-option, .orvel-find-bar .orvel-find-option label", dark,
             B::findBand, 11, false},
    TextRole{"no matches", ".orvel-find-bar.not-found .orvel-find-count", orange, B::findBand, 11, false},
    TextRole{"push button", ".orvel-button", labelColor, B::buttonFill, 13, false},
    TextRole{"nav button", ".orvel-nav-button, .orvel-nav-button:disabled", labelColor, B::buttonFill, 12.6, true},
    TextRole{"selected tab", ".orvel-explorer-tab.selected", labelColor, B::selectedTab, 9, true},
};

Rgba over(const Rgba& below, const Rgba& above) {
    const double a = above.alpha;
    return {above.red * a + below.red * (1 - a), above.green * a + below.green * (1 - a),
            above.blue * a + below.blue * (1 - a), 1};
}

// The colour a top-to-bottom gradient shows at a fraction of its height.
Rgba colorAt(const LinearGradient& gradient, double at) {
    const auto& stops = gradient.stops;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (at > stops[i].location) continue;
        const auto &a = stops[i - 1], &b = stops[i];
        const double f = (at - a.location) / (b.location - a.location);
        const auto mix = [f](double x, double y) { return x + (y - x) * f; };
        return {mix(a.color.red, b.color.red), mix(a.color.green, b.color.green), mix(a.color.blue, b.color.blue),
                mix(a.color.alpha, b.color.alpha)};
    }
    return stops.back().color;
}

// Every stop of a translucent gradient at an opacity, over each of some colours.
std::vector<Rgba> throughStops(const LinearGradient& gradient, double opacity, const std::vector<Rgba>& below) {
    std::vector<Rgba> out;
    for (const auto& base : below)
        for (const auto& stop : gradient.stops) out.push_back(over(base, stop.color.withAlpha(stop.color.alpha * opacity)));
    return out;
}

// A label is centred on its control: the middle third of the fill lies behind it.
std::vector<Rgba> fillBand(OrvelColorTheme theme, double gloss, const Rgba& below) {
    std::vector<Rgba> out;
    for (double at : {0.35, 0.5, 0.65})
        out.push_back(over(over(below, colorAt(buttonGradient(theme), at)),
                           kWhite.withAlpha(at < 0.5 ? gloss * (1 - at / 0.5) : 0)));
    return out;
}

double luminance(const Rgba& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.red) + 0.7152 * channel(c.green) + 0.0722 * channel(c.blue);
}

}  // namespace

bool isThemeFill(TextBackdrop backdrop) {
    return backdrop == B::toolbar || backdrop == B::buttonFill || backdrop == B::selectedTab;
}

std::span<const TextRole> textRoles() { return kRoles; }

std::vector<Rgba> backdropSamples(TextBackdrop backdrop, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    const std::vector<Rgba> window{kWindowBackground};
    const std::vector<Rgba> panel{over(kWindowBackground, primary.withAlpha(0.15)),
                                  over(kWindowBackground, primary.withAlpha(0.05))};
    switch (backdrop) {
    case B::explorerPanel: return panel;
    case B::explorerHeader: return throughStops(toolbarGradient(theme), 0.5, panel);
    case B::orangeTint: {
        auto out = panel;
        for (const auto& c : throughStops(toolbarGradient(theme), 0.3, window)) out.push_back(c);
        for (auto& c : out) c = over(c, kOrange.withAlpha(0.15));
        return out;
    }
    case B::statusBar: return throughStops(toolbarGradient(theme), 0.3, window);
    case B::findBand: return throughStops(toolbarGradient(theme), 0.6, window);
    case B::toolbar: return throughStops(toolbarGradient(theme), 1, window);
    case B::buttonFill: return fillBand(theme, 0.5, kWindowBackground);
    case B::selectedTab: return fillBand(theme, 0, panel.front());
    case B::solidOrange: return {kTextOrange};
    }
    return window;
}

double contrastRatio(const Rgba& a, const Rgba& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double worstContrast(const TextRole& role, OrvelColorTheme theme) {
    const Rgba text = role.foreground(theme);
    double worst = 21;
    for (const auto& below : backdropSamples(role.backdrop, theme))
        worst = std::min(worst, contrastRatio(over(below, text), below));
    return worst;
}

std::string textRolesCss(OrvelColorTheme theme) {
    std::string css;
    for (const auto& role : kRoles)
        css += std::string(role.selector) + " { color: " + cssColor(role.foreground(theme)) + "; }\n";
    return css;
}

}  // namespace sarvik

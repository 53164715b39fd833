#include "themes/theme_css.h"

#include "themes/standard_colors.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace sarvik {
namespace {

// The platform colours the chrome names besides the theme's own.
using standard_colors::kWhite;
using standard_colors::kBlack;
using standard_colors::kGreen;
using standard_colors::kOrange;
using standard_colors::kGray;
using standard_colors::kRed;
// The dimmed label colour, relative to the surrounding text colour.
constexpr const char* kSecondaryLabel = "alpha(currentColor, 0.55)";

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", std::abs(value) < 1e-9 ? 0.0 : value);
    return text;
}

std::string percent(double fraction) { return number(fraction * 100.0) + "%"; }

// White from opaque at the top to clear at the vertical centre: the gloss layer.
std::string glossLayer(double opacity) {
    return "linear-gradient(to bottom, " + cssColor(kWhite.withAlpha(opacity)) + " 0%, " +
           cssColor(kWhite.withAlpha(0)) + " 50%)";
}

// A 0.5px stroke drawn as an inset ring, since GTK rounds border widths up to 1px.
std::string hairline(const std::string& color) { return "inset 0 0 0 0.5px " + color; }

std::string dropShadow(double opacity, double blur, double offsetY) {
    return "0 " + number(offsetY) + "px " + number(blur) + "px alpha(@orvel_primary, " + number(opacity) + ")";
}

// Removes the stock button decoration so that only ours is drawn.
void buttonReset(std::ostringstream& css, const std::string& selector) {
    css << selector << " {\n"
        << "  background-color: transparent;\n  border: none;\n  outline: none;\n  filter: none;\n"
        << "  min-width: 0;\n  min-height: 0;\n  text-shadow: none;\n  -gtk-icon-shadow: none;\n}\n";
}

void defineColors(std::ostringstream& css, OrvelColorTheme theme) {
    css << "@define-color orvel_primary " << cssColor(primaryColor(theme)) << ";\n"
        << "@define-color orvel_secondary " << cssColor(secondaryColor(theme)) << ";\n"
        << "@define-color orvel_highlight " << cssColor(highlightColor(theme)) << ";\n"
        << "@define-color orvel_label " << cssColor(labelColor(theme)) << ";\n"
        << "@define-color orvel_white " << cssColor(kWhite) << ";\n"
        << "@define-color orvel_black " << cssColor(kBlack) << ";\n"
        << "@define-color orvel_green " << cssColor(kGreen) << ";\n"
        << "@define-color orvel_orange " << cssColor(kOrange) << ";\n"
        << "@define-color orvel_gray " << cssColor(kGray) << ";\n";
}

void bars(std::ostringstream& css, OrvelColorTheme theme) {
    const std::string toolbar = cssGradient(toolbarGradient(theme));
    css << ".orvel-toolbar {\n  background-color: transparent;\n  background-image: " << toolbar << ";\n"
        << "  border-bottom: 1px solid alpha(@orvel_primary, 0.3);\n}\n"
        << ".orvel-explorer-bar {\n  background-color: transparent;\n  background-image: " << toolbar << ";\n}\n"
        << ".orvel-status-bar {\n  background-color: transparent;\n  background-image: "
        << cssGradient(toolbarGradient(theme), 0.3) << ";\n  padding: 4px 12px;\n}\n"
        // An etched line: a shade beside a light edge.
        << ".orvel-divider {\n  background: none;\n  border-left: 1px solid alpha(@orvel_primary, 0.5);\n"
        << "  border-right: 1px solid alpha(@orvel_white, 0.7);\n  min-width: 0;\n  min-height: 28px;\n"
        << "  margin: 0;\n}\n";
}

void pushButton(std::ostringstream& css, OrvelColorTheme theme) {
    const std::string fill = cssGradient(buttonGradient(theme));
    buttonReset(css, ".orvel-button");
    css << ".orvel-button {\n  font-weight: 500;\n  font-size: 13px;\n"
        << "  padding: 6px 12px;\n  border-radius: 6px;\n"
        << "  background-image: " << glossLayer(0.5) << ", " << fill << ";\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0.5)") << ", " << dropShadow(0.3, 3, 2) << ";\n"
        << "  transform: scale(1);\n"
        << "  transition: background-image 100ms ease-in-out, box-shadow 100ms ease-in-out, "
           "transform 100ms ease-in-out;\n}\n"
        << ".orvel-button.small {\n  font-size: 11px;\n  padding: 4px 8px;\n  border-radius: 4px;\n}\n"
        << ".orvel-button:active {\n  background-image: " << glossLayer(0.1) << ", " << fill << ";\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0.5)") << ", " << dropShadow(0.1, 1, 0) << ";\n"
        << "  transform: scale(0.96);\n}\n";
}

void navButton(std::ostringstream& css, OrvelColorTheme theme) {
    const std::string fill = cssGradient(buttonGradient(theme));
    buttonReset(css, ".orvel-nav-button");
    css << ".orvel-nav-button {\n  font-weight: bold;\n  padding: 0;\n"
        << "  border-radius: 9999px;\n"
        << "  background-image: " << glossLayer(0.55) << ", " << fill << ";\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0.4)") << ", " << dropShadow(0.35, 4, 2) << ";\n"
        << "  transform: scale(1);\n"
        << "  transition: background-image 120ms ease-in-out, box-shadow 120ms ease-in-out, "
           "transform 120ms ease-in-out;\n}\n"
        << ".orvel-nav-button:active {\n  background-image: " << glossLayer(0.1) << ", " << fill << ";\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0.4)") << ", " << dropShadow(0.1, 1, 0) << ";\n"
        << "  transform: scale(0.92);\n}\n"
        ;
    for (int size : {32, 28, 24, 22}) {
        const std::string label = number(0.45 * size) + "px";
        css << ".orvel-nav-button.size-" << size << " {\n  min-width: " << size << "px;\n  min-height: " << size
            << "px;\n  font-size: " << label << ";\n  -gtk-icon-size: " << label << ";\n}\n"
            << ".orvel-nav-button.size-" << size << " image {\n  -gtk-icon-size: " << label << ";\n}\n";
    }
}

void explorerTab(std::ostringstream& css, OrvelColorTheme theme) {
    buttonReset(css, ".orvel-explorer-tab");
    css << ".orvel-explorer-tab {\n  font-size: 11px;\n  font-weight: normal;\n"
        << "  padding: 6px 10px;\n  border-radius: 4px;\n  background-image: none;\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0)") << ";\n  transform: scale(1);\n"
        << "  transition: transform 100ms ease-in-out;\n}\n"
        << ".orvel-explorer-tab.selected {\n  font-weight: 600;\n"
        << "  background-image: " << cssGradient(buttonGradient(theme)) << ";\n"
        << "  box-shadow: " << hairline("alpha(@orvel_primary, 0.3)") << ";\n}\n"
        << ".orvel-explorer-tab:active {\n  transform: scale(0.95);\n}\n";
}

void progress(std::ostringstream& css, OrvelColorTheme theme) {
    css << ".orvel-progress {\n  min-height: 6px;\n}\n"
        << ".orvel-progress > .track, .orvel-progress > .fill, .orvel-progress > .gloss {\n"
        << "  min-height: 6px;\n  border-radius: 3px;\n}\n"
        << ".orvel-progress > .track {\n  background-color: alpha(@orvel_white, 0.5);\n}\n"
        << ".orvel-progress > .fill {\n  background-image: " << cssGradient(buttonGradient(theme)) << ";\n}\n"
        << ".orvel-progress > .gloss {\n  background-image: linear-gradient(to bottom, "
        << cssColor(kWhite.withAlpha(0.4)) << " 0%, " << cssColor(kWhite.withAlpha(0)) << " 100%);\n}\n";
}

void addressField(std::ostringstream& css) {
    css << ".orvel-address-field {\n  background-color: @orvel_white;\n  border-radius: 4px;\n"
        << "  padding: 5px 8px;\n  min-width: 200px;\n"
        << "  box-shadow: inset 0 0 0 1px alpha(@orvel_primary, 0.3), 0 1px 2px alpha(@orvel_primary, 0.15);\n}\n"
        << ".orvel-address-field entry, .orvel-address-field entry:focus-within {\n"
        << "  background: none;\n  border: none;\n  box-shadow: none;\n  outline: none;\n"
        << "  min-height: 0;\n  padding: 0;\n  margin: 0;\n  color: @orvel_black;\n  font-size: 13px;\n}\n"
        << ".orvel-address-field .security-lock {\n  color: @orvel_green;\n  -gtk-icon-size: 10px;\n}\n"
        << ".orvel-address-field .security-globe {\n  color: " << kSecondaryLabel << ";\n  -gtk-icon-size: 10px;\n}\n";
}

void tabStrip(std::ostringstream& css, OrvelColorTheme theme) {
    css << ".orvel-tab-item {\n  padding: 4px 10px;\n  border-radius: 4px;\n"
        << "  background-color: alpha(@orvel_white, 0.3);\n  background-image: none;\n}\n"
        << ".orvel-tab-item.active {\n  background-color: transparent;\n  background-image: "
        << cssGradient(buttonGradient(theme)) << ";\n}\n"
        << ".orvel-tab-item label {\n  font-size: 11px;\n}\n"
        << ".orvel-tab-item spinner {\n  min-width: 12px;\n  min-height: 12px;\n  -gtk-icon-size: 8px;\n}\n";
    buttonReset(css, ".orvel-tab-close, .orvel-tab-new");
    css << ".orvel-tab-close, .orvel-tab-new {\n  background-image: none;\n  box-shadow: none;\n  padding: 0;\n"
        << "  color: " << kSecondaryLabel << ";\n}\n"
        << ".orvel-tab-close image {\n  -gtk-icon-size: 8px;\n}\n"
        << ".orvel-tab-new {\n  padding: 0 8px;\n}\n.orvel-tab-new image {\n  -gtk-icon-size: 10px;\n}\n"
        << ".orvel-collapsed-title {\n  font-size: 11px;\n  color: alpha(@orvel_label, 0.8);\n}\n";
}

void statusItems(std::ostringstream& css) {
    css << ".orvel-status-text {\n  font-size: 11px;\n}\n"
        << ".orvel-auction-badge {\n  background-color: alpha(@orvel_orange, 0.1);\n"
        << "  border-radius: 9999px;\n  padding: 2px 6px;\n  font-size: 10px;\n  -gtk-icon-size: 9px;\n}\n"
        << ".orvel-tab-count {\n  font-size: 10px;\n}\n"
        << ".orvel-zoom-badge {\n  font-size: 10px;\n"
        << "  background-color: alpha(@orvel_gray, 0.1);\n  border-radius: 3px;\n  padding: 1px 4px;\n}\n"
        << ".orvel-theme-swatch {\n  min-width: 8px;\n  min-height: 8px;\n  border-radius: 9999px;\n"
        << "  background-color: @orvel_primary;\n}\n"
        << ".orvel-done-icon {\n  color: alpha(@orvel_green, 0.6);\n  -gtk-icon-size: 9px;\n}\n"
        << ".orvel-done-icon.failed {\n  color: " << cssColor(kRed) << ";\n}\n";
}

}  // namespace

std::string cssColor(const Rgba& color) {
    return "rgba(" + percent(color.red) + ", " + percent(color.green) + ", " + percent(color.blue) + ", " +
           number(color.alpha) + ")";
}

std::string cssGradient(const LinearGradient& gradient, double opacity) {
    std::string css = "linear-gradient(to bottom";
    for (const auto& stop : gradient.stops)
        css += ", " + cssColor(stop.color.withAlpha(stop.color.alpha * opacity)) + " " + percent(stop.location);
    return css + ")";
}

std::string themeCss(OrvelColorTheme theme) {
    std::ostringstream css;
    css << "/* SarvikBrowser theme: " << rawValue(theme) << " */\n";
    defineColors(css, theme);
    bars(css, theme);
    pushButton(css, theme);
    navButton(css, theme);
    explorerTab(css, theme);
    progress(css, theme);
    addressField(css);
    tabStrip(css, theme);
    statusItems(css);
    return css.str();
}

}  // namespace sarvik

#include "themes/preferences_css.h"

#include "themes/theme_css.h"
#include "themes/standard_colors.h"

#include <cctype>
#include <sstream>

namespace sarvik {
namespace {

// System colours of the controls, which the theme tables do not cover.
constexpr Rgba kControlBackground{1, 1, 1, 1};
using standard_colors::kGray;
using standard_colors::kBlue;
using standard_colors::kOrange;
using standard_colors::kClear;
// The secondary text colour, relative to the primary one around it.
constexpr const char* kSecondaryText = "alpha(currentColor, 0.55)";

// A button that draws nothing of the stock look, only its content.
std::string plainButton(const std::string& selector) {
    return selector + " {\n  background: none;\n  border: none;\n  box-shadow: none;\n  outline: none;\n"
                      "  text-shadow: none;\n  min-height: 0;\n  min-width: 0;\n}\n";
}

void sidebar(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".preferences-view .preferences-sidebar {\n  padding: 12px;\n  background-image: linear-gradient(to right, "
        << cssColor(primary.withAlpha(0.15)) << ", " << cssColor(primary.withAlpha(0.05)) << ");\n}\n"
        << plainButton(".preferences-view .preferences-sidebar-button")
        << ".preferences-view .preferences-sidebar-button {\n  padding: 8px 12px;\n  border-radius: 6px;\n"
        << "  color: inherit;\n}\n"
        << ".preferences-view .preferences-sidebar-button.selected {\n  background-color: "
        << cssColor(primary.withAlpha(0.15)) << ";\n  color: " << cssColor(primary) << ";\n}\n"
        << ".preferences-view .preferences-sidebar-symbol {\n  -gtk-icon-size: 14px;\n}\n"
        << ".preferences-view .preferences-sidebar-label {\n  font-size: 13px;\n}\n";
}

void pageFrame(std::ostringstream& css, OrvelColorTheme theme) {
    css << ".preferences-view .preferences-page-symbol {\n  -gtk-icon-size: 18px;\n  color: "
        << cssColor(primaryColor(theme)) << ";\n}\n"
        << ".preferences-view .preferences-page-title {\n  font-size: 18px;\n  font-weight: bold;\n}\n"
        << ".preferences-view .preferences-section-title {\n  font-size: 13px;\n  font-weight: 600;\n  color: "
        << kSecondaryText << ";\n}\n"
        << ".preferences-view .preferences-section-content {\n  padding: 12px;\n  border-radius: 8px;\n"
        << "  background-color: " << cssColor(kControlBackground) << ";\n  border: 1px solid "
        << cssColor(kGray.withAlpha(0.15)) << ";\n}\n";
}

void controls(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".preferences-view entry.preferences-home-field {\n  background-color: " << cssColor(kControlBackground)
        << ";\n  background-image: none;\n  border-radius: 4px;\n  border: 1px solid " << cssColor(kGray.withAlpha(0.3))
        << ";\n  box-shadow: none;\n  outline: none;\n  padding: 6px;\n  min-height: 0;\n}\n"
        << plainButton(".preferences-view .preferences-link")
        << ".preferences-view .preferences-link {\n  padding: 0;\n  font-size: 11px;\n  color: " << cssColor(primary)
        << ";\n}\n"
        << ".preferences-view .preferences-link:hover {\n  text-decoration-line: underline;\n}\n"
        << ".preferences-view .preferences-note, .preferences-view .preferences-row-label,\n"
        << ".preferences-view .preferences-toggle label, .preferences-view .preferences-engine label {\n"
        << "  font-size: 12px;\n}\n"
        << ".preferences-view .preferences-note {\n  color: " << kSecondaryText << ";\n}\n"
        << ".preferences-view .preferences-info {\n  font-size: 11px;\n  color: " << kSecondaryText << ";\n}\n"
        << ".preferences-view .preferences-zoom-value {\n  font-size: 14px;\n  font-weight: 500;\n}\n";
}

void swatches(std::ostringstream& css) {
    // The grid's own cells add nothing around a swatch: 8px between them is the whole gap.
    css << ".preferences-view .preferences-swatch-grid > flowboxchild {\n  padding: 0;\n  margin: 0;\n}\n"
        << plainButton(".preferences-view .preferences-swatch")
        << ".preferences-view .preferences-swatch {\n  padding: 8px;\n  border-radius: 8px;\n  color: inherit;\n}\n"
        << ".preferences-view .preferences-swatch-fill {\n  min-height: 40px;\n  border-radius: 8px;\n"
        << "  border: 2px solid " << cssColor(kClear) << ";\n  transition: border-color 300ms ease-in-out;\n}\n"
        << ".preferences-view .preferences-swatch.current .preferences-swatch-fill {\n  border-color: currentColor;\n}\n"
        << ".preferences-view .preferences-swatch-name {\n  font-size: 10px;\n  color: " << kSecondaryText << ";\n}\n"
        << ".preferences-view .preferences-swatch.current .preferences-swatch-name {\n  font-weight: bold;\n"
        << "  color: currentColor;\n}\n";
    for (auto theme : kAllColorThemes) {
        css << ".preferences-view .preferences-swatch-fill." << swatchThemeClass(theme) << " {\n"
            << "  background-image: " << cssGradient(buttonGradient(theme)) << ";\n"
            << "  box-shadow: 0 2px 3px " << cssColor(primaryColor(theme).withAlpha(0.3)) << ";\n}\n";
    }
}

void statistics(std::ostringstream& css) {
    css << ".preferences-view .preferences-stat-label {\n  font-size: 12px;\n  color: " << kSecondaryText << ";\n}\n"
        << ".preferences-view .preferences-stat-value {\n  font-size: 12px;\n  font-weight: bold;\n}\n"
        << ".preferences-view .preferences-stat-value.active {\n  color: " << cssColor(kBlue) << ";\n}\n"
        << ".preferences-view .preferences-stat-value.ending {\n  color: " << cssColor(kOrange) << ";\n}\n";
}

}  // namespace

std::string swatchThemeClass(OrvelColorTheme theme) {
    std::string name = "theme-";
    for (char c : rawValue(theme)) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string preferencesCss(OrvelColorTheme theme) {
    std::ostringstream css;
    css << "/* SarvikBrowser Preferences: " << rawValue(theme) << " */\n";
    sidebar(css, theme);
    pageFrame(css, theme);
    controls(css, theme);
    swatches(css);
    statistics(css);
    return css.str();
}

}  // namespace sarvik

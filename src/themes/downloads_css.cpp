#include "themes/downloads_css.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <sstream>

namespace sarvik {
namespace {

using standard_colors::kOrange;
using standard_colors::kWhite;
constexpr const char* kSecondaryText = "alpha(currentColor, 0.6)";

void statusBarItems(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba label = labelColor(theme);
    css << ".orvel-download-status {\n  font-size: 11px;\n  color: " << cssColor(label) << ";\n}\n"
        << ".orvel-download-status .orvel-progress {\n  min-width: 90px;\n}\n"
        << ".orvel-download-running-name {\n  color: " << cssColor(label) << ";\n}\n"
        << ".orvel-downloads-button, .orvel-downloads-button > button {\n  background: none;\n  border: none;\n"
        << "  box-shadow: none;\n  outline: none;\n  min-width: 0;\n  min-height: 0;\n  padding: 1px 4px;\n  color: "
        << cssColor(label) << ";\n}\n"
        << ".orvel-downloads-button > button:hover {\n  background-color: " << cssColor(kWhite.withAlpha(0.35))
        << ";\n  border-radius: 4px;\n}\n"
        << ".orvel-downloads-button image {\n  -gtk-icon-size: 14px;\n}\n";
}

void popover(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".orvel-downloads-popover > contents {\n  padding: 8px;\n  background-color: "
        << cssColor(kWhite.withAlpha(0.97)) << ";\n  box-shadow: inset 0 0 0 1px " << cssColor(primary.withAlpha(0.3))
        << ", 0 2px 8px " << cssColor(primary.withAlpha(0.3)) << ";\n}\n"
        << ".orvel-downloads-title {\n  font-weight: bold;\n  font-size: 12px;\n}\n"
        << ".orvel-downloads-list {\n  background: none;\n}\n"
        << ".orvel-downloads-list > row {\n  padding: 5px 2px;\n  border-bottom: 1px solid "
        << cssColor(primary.withAlpha(0.15)) << ";\n}\n"
        << ".orvel-download-name {\n  font-size: 12px;\n  font-weight: 500;\n}\n"
        << ".orvel-download-state {\n  font-size: 11px;\n  color: " << kSecondaryText << ";\n}\n"
        << ".orvel-download-row.unsuccessful .orvel-download-state {\n  color: " << cssColor(kOrange) << ";\n}\n"
        << ".orvel-download-icon {\n  -gtk-icon-size: 16px;\n  color: " << cssColor(primary.withAlpha(0.7)) << ";\n}\n";
}

void actions(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".orvel-download-action {\n  font-size: 11px;\n  padding: 2px 8px;\n  min-height: 0;\n  min-width: 0;\n"
        << "  border: none;\n  border-radius: 4px;\n  color: " << cssColor(labelColor(theme))
        << ";\n  background-image: " << cssGradient(buttonGradient(theme)) << ";\n  box-shadow: inset 0 0 0 1px "
        << cssColor(primary.withAlpha(0.4)) << ";\n}\n"
        << ".orvel-download-action:disabled {\n  opacity: 0.5;\n}\n";
}

}  // namespace

std::string downloadsCss(OrvelColorTheme theme) {
    std::ostringstream css;
    statusBarItems(css, theme);
    popover(css, theme);
    actions(css, theme);
    return css.str();
}

}  // namespace sarvik

#include "themes/find_bar_css.h"

#include "themes/theme_css.h"
#include "themes/standard_colors.h"

#include <sstream>

namespace sarvik {
namespace {

// System colours of the controls, which the theme tables do not cover.
using standard_colors::kWhite;
using standard_colors::kBlack;
using standard_colors::kOrange;

// Like the toolbar, lighter: the band reads as part of it without competing.
void band(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".orvel-find-bar {\n  background-color: transparent;\n  background-image: "
        << cssGradient(toolbarGradient(theme), 0.6) << ";\n  border-bottom: 1px solid "
        << cssColor(primary.withAlpha(0.3)) << ";\n  padding: 4px 8px;\n}\n"
        << ".orvel-find-bar .orvel-find-icon {\n  -gtk-icon-size: 12px;\n  color: " << cssColor(labelColor(theme).withAlpha(0.7))
        << ";\n}\n"
        << ".orvel-find-bar .orvel-find-option, .orvel-find-bar .orvel-find-option label {\n  font-size: 11px;\n}\n";
}

void field(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << ".orvel-find-bar .orvel-find-field {\n  background-color: " << cssColor(kWhite)
        << ";\n  border-radius: 4px;\n  padding: 3px 8px;\n  box-shadow: inset 0 0 0 1px "
        << cssColor(primary.withAlpha(0.3)) << ", 0 1px 2px " << cssColor(primary.withAlpha(0.15)) << ";\n}\n"
        << ".orvel-find-bar.not-found .orvel-find-field {\n  background-color: " << cssColor(kOrange.withAlpha(0.15))
        << ";\n  box-shadow: inset 0 0 0 1px " << cssColor(kOrange.withAlpha(0.6)) << ";\n}\n"
        << ".orvel-find-bar .orvel-find-field entry, .orvel-find-bar .orvel-find-field entry:focus-within {\n"
        << "  background: none;\n  border: none;\n  box-shadow: none;\n  outline: none;\n  min-height: 0;\n"
        << "  padding: 0;\n  margin: 0;\n  color: " << cssColor(kBlack) << ";\n  font-size: 12px;\n}\n";
}

void labelsAndClose(std::ostringstream& css, OrvelColorTheme theme) {
    css << ".orvel-find-bar .orvel-find-count {\n  font-size: 11px;\n  min-width: 80px;\n}\n"
        << ".orvel-find-bar .orvel-find-close {\n  background: none;\n  border: none;\n  box-shadow: none;\n"
        << "  outline: none;\n  min-width: 0;\n  min-height: 0;\n  padding: 2px;\n  color: "
        << cssColor(labelColor(theme).withAlpha(0.7)) << ";\n}\n"
        << ".orvel-find-bar .orvel-find-close image {\n  -gtk-icon-size: 12px;\n}\n";
}

}  // namespace

std::string findBarCss(OrvelColorTheme theme) {
    std::ostringstream css;
    band(css, theme);
    field(css, theme);
    labelsAndClose(css, theme);
    return css.str();
}

}  // namespace sarvik

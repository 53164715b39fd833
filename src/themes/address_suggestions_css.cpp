#include "themes/address_suggestions_css.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <sstream>

namespace sarvik {
namespace {

using standard_colors::kBlack;
using standard_colors::kWhite;
// The favourite star's gold, which no theme table covers.
constexpr Rgba kStarGold{1.0, 0.72, 0.0, 1};

void panel(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << "popover.orvel-address-suggestions > contents {\n  background-color: " << cssColor(kWhite)
        << ";\n  border: 1px solid " << cssColor(primary.withAlpha(0.45)) << ";\n  border-radius: 4px;\n"
        << "  box-shadow: 0 3px 8px " << cssColor(primary.withAlpha(0.25)) << ";\n  padding: 2px 0;\n}\n"
        << "popover.orvel-address-suggestions listview {\n  background: none;\n  color: " << cssColor(kBlack)
        << ";\n}\n";
}

void rows(std::ostringstream& css, OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    css << "popover.orvel-address-suggestions listview > row {\n  padding: 3px 10px;\n  border-radius: 0;\n}\n"
        << "popover.orvel-address-suggestions listview > row:hover {\n  background-color: "
        << cssColor(primary.withAlpha(0.08)) << ";\n}\n"
        << "popover.orvel-address-suggestions listview > row:selected {\n  background-color: transparent;\n"
        << "  background-image: " << cssGradient(buttonGradient(theme)) << ";\n  color: " << cssColor(labelColor(theme))
        << ";\n}\n"
        << ".orvel-address-suggestions .orvel-suggestion-title {\n  font-size: 12px;\n}\n"
        << ".orvel-address-suggestions .orvel-suggestion-url {\n  font-size: 11px;\n  color: "
        << cssColor(primary.withAlpha(0.85)) << ";\n}\n"
        << ".orvel-address-suggestions row:selected .orvel-suggestion-url {\n  color: inherit;\n}\n"
        << ".orvel-address-suggestions .orvel-suggestion-star {\n  -gtk-icon-size: 12px;\n  color: "
        << cssColor(kStarGold) << ";\n}\n";
}

}  // namespace

std::string addressSuggestionsCss(OrvelColorTheme theme) {
    std::ostringstream css;
    panel(css, theme);
    rows(css, theme);
    return css.str();
}

}  // namespace sarvik

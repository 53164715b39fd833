#include "themes/error_page_css.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <sstream>

namespace sarvik {

using standard_colors::kSecondaryLabel;
using standard_colors::kWhite;

std::string errorPageCss(OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    std::ostringstream css;
    css << "html { background: " << cssColor(kWhite) << "; }\n"
        << "body { margin: 0; font: 14px sans-serif; color: " << cssColor(labelColor(theme)) << "; }\n"
        << ".band { background-image: " << cssGradient(toolbarGradient(theme)) << "; padding: 18px 32px;"
        << " border-bottom: 1px solid " << cssColor(primary.withAlpha(0.3)) << "; }\n"
        << "h1 { margin: 0; font-size: 20px; color: " << cssColor(labelColor(theme)) << "; }\n"
        << ".content { padding: 20px 32px; max-width: 640px; }\n"
        << ".address { word-break: break-all; font-family: monospace; color: " << cssColor(kSecondaryLabel) << "; }\n"
        << ".try-again { display: inline-block; margin-top: 12px; padding: 6px 18px; border-radius: 12px;"
        << " text-decoration: none; font-weight: bold; color: " << cssColor(kWhite) << "; background-image: "
        << cssGradient(buttonGradient(theme)) << "; box-shadow: 0 1px 3px " << cssColor(primary.withAlpha(0.4))
        << "; }\n"
        << ".try-again:active { transform: scale(0.96); }\n";
    return css.str();
}

}  // namespace sarvik

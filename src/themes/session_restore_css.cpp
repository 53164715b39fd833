#include "themes/session_restore_css.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <sstream>

namespace sarvik {

// The theme's own tint over the toolbar's light band: an offer, not a warning.
std::string sessionRestoreCss(OrvelColorTheme theme) {
    using standard_colors::kBlack;
    const Rgba primary = primaryColor(theme);
    std::ostringstream css;
    css << ".orvel-session-restore {\n  background-color: " << cssColor(primary.withAlpha(0.16))
        << ";\n  background-image: " << cssGradient(toolbarGradient(theme), 0.35) << ";\n  border-bottom: 1px solid "
        << cssColor(primary.withAlpha(0.55)) << ";\n  padding: 4px 8px;\n}\n"
        << ".orvel-session-restore label {\n  color: " << cssColor(kBlack) << ";\n  font-size: 12px;\n}\n";
    return css.str();
}

}  // namespace sarvik

#include "themes/storage_notice_css.h"

#include "themes/standard_colors.h"
#include "themes/theme_css.h"

#include <sstream>

namespace sarvik {

// A warning tint over the toolbar's light band; the text stays black so it reads on every theme.
std::string storageNoticeCss(OrvelColorTheme theme) {
    using standard_colors::kBlack;
    using standard_colors::kOrange;
    std::ostringstream css;
    css << ".orvel-storage-notice {\n  background-color: " << cssColor(kOrange.withAlpha(0.18))
        << ";\n  background-image: " << cssGradient(toolbarGradient(theme), 0.35) << ";\n  border-bottom: 1px solid "
        << cssColor(kOrange.withAlpha(0.6)) << ";\n  padding: 4px 8px;\n}\n"
        << ".orvel-storage-notice label {\n  color: " << cssColor(kBlack) << ";\n  font-size: 12px;\n}\n";
    return css.str();
}

}  // namespace sarvik

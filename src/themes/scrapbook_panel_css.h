#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the Scrapbook panel for one theme: colour names for the theme
// role it uses and the standard colours of its save result and new-folder
// row, then the rules of its classes (scrapbook-row, scrapbook-folder-count,
// ...). Pure: loaded next to the theme CSS by one provider.
std::string scrapbookPanelCss(OrvelColorTheme theme);

}  // namespace sarvik

#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the auction manager panel for one theme: colour names for the
// theme roles it uses and for the standard colours of statuses, warnings and
// trends, then the rules of its classes (auction-row, auction-time,
// auction-badge, ...). Pure: loaded next to the theme CSS by one provider.
std::string auctionPanelCss(OrvelColorTheme theme);

}  // namespace sarvik

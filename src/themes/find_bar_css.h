#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the find bar (its band under the toolbar, the search field, the
// match count and its buttons) in the colours of one theme. Pure.
std::string findBarCss(OrvelColorTheme theme);

}  // namespace sarvik

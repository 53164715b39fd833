#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the address field's suggestion list (its panel under the field,
// the rows with title and address, the favorite star, the selected row) in
// the colours of one theme. Pure.
std::string addressSuggestionsCss(OrvelColorTheme theme);

}  // namespace sarvik

#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The CSS of the downloads in the status bar (the running download's bar and
// name, the Downloads button) and of their list's popover, in the colours of
// one theme. Pure.
std::string downloadsCss(OrvelColorTheme theme);

}  // namespace sarvik

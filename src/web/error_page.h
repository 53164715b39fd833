#pragma once

#include "core/color_theme.h"

#include <string>

namespace sarvik {

// The page shown in a tab whose page could not be loaded: what failed, the
// address, and a Try Again button that loads the address again. The address
// and the engine's message are escaped: either may come from a hostile page.
std::string errorPageHtml(const std::string& address, const std::string& message, OrvelColorTheme theme);

inline constexpr const char* kErrorPageTitle = "Problem Loading Page";

}  // namespace sarvik

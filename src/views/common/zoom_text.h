#pragma once

#include <string>

namespace sarvik {

// A page zoom as a whole percentage, truncated toward zero, as the status bar
// and Preferences show it: 1.25 → "125%", 0.999 → "99%", 2.3 → "230%" (not
// the 229 its binary value would truncate to). Any double prints, with no
// conversion to an integer type that could overflow.
std::string zoomPercentText(double pageZoom);

}  // namespace sarvik

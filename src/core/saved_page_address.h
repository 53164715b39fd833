#pragma once

#include "core/uuid.h"

#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// A saved page is shown at "scrapbook://<ITEM-UUID>/": the browser's own
// address for a scrapbook item, the same at every opening, so it can be
// bookmarked or typed. It names an item, never a site.
inline constexpr std::string_view kSavedPageScheme = "scrapbook";

std::string savedPageAddress(const Uuid& itemId);

// The item an address names, or none when it is not exactly
// "scrapbook://<UUID>" with an optional trailing "/".
std::optional<Uuid> savedPageId(std::string_view address);

// Any address in the scheme, well formed or not (letter case ignored).
bool isSavedPageAddress(std::string_view address);

}  // namespace sarvik

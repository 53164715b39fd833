#include "core/saved_page_address.h"

#include <glib.h>

namespace sarvik {
namespace {

constexpr std::size_t kUuidLength = 36;

std::string prefix() { return std::string(kSavedPageScheme) + "://"; }

}  // namespace

std::string savedPageAddress(const Uuid& itemId) { return prefix() + itemId.toString() + "/"; }

std::optional<Uuid> savedPageId(std::string_view address) {
    const std::string start = prefix();
    if (address.substr(0, start.size()) != start) return std::nullopt;
    address.remove_prefix(start.size());
    if (address.size() != kUuidLength && !(address.size() == kUuidLength + 1 && address.back() == '/'))
        return std::nullopt;
    return Uuid::parse(address.substr(0, kUuidLength));
}

bool isSavedPageAddress(std::string_view address) {
    const std::size_t length = kSavedPageScheme.size();
    return address.size() > length && address[length] == ':' &&
           g_ascii_strncasecmp(address.data(), kSavedPageScheme.data(), length) == 0;
}

}  // namespace sarvik

#include "web/new_window_policy.h"

namespace sarvik {

std::optional<Url> NewWindowPolicy::admit(const Request& request) {
    if (!request.isUserGesture || m_hasFollowedOne || !request.uri) return std::nullopt;
    std::optional<Url> url = Url::parse(*request.uri);
    if (url) m_hasFollowedOne = true;
    return url;
}

}  // namespace sarvik

#pragma once

#include "core/url.h"

#include <optional>
#include <string>

namespace sarvik {

// Decides which of a page's requests for a new window are followed (in the
// page's own tab, as there are no pop-up windows). Only a request the user
// asked for, by clicking or pressing a key, is followed, and only the first
// one while the same page is shown: a page cannot send its tab away on its
// own, and a click handler that opens a hundred windows moves the tab once.
// The allowance returns when another page is committed or a load fails.
//
// Pure and engine-free; the web view host feeds it plain values.
class NewWindowPolicy {
public:
    struct Request {
        std::optional<std::string> uri;
        bool isUserGesture = false;
    };

    // The address to load in the tab instead, or none when the request is dropped.
    std::optional<Url> admit(const Request& request);

    // Another page was committed or a load failed: the next request may be followed.
    void pageChanged() { m_hasFollowedOne = false; }

private:
    bool m_hasFollowedOne = false;
};

}  // namespace sarvik

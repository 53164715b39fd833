#pragma once

#include "core/scoped_connection.h"

#include <sigc++/signal.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// Extra values of a notification, by key. Values are byte strings, so they can
// carry binary payloads (an archive) as well as text.
using UserInfo = std::map<std::string, std::string, std::less<>>;

struct Notification {
    std::string name;
    std::optional<std::string> object;
    UserInfo userInfo;
};

// Process-wide publish/subscribe by name. Delivery is synchronous, on the
// posting thread (the main thread), in subscription order. A subscription is a
// ScopedConnection: it ends when its owner drops it, and subscribers may come
// and go while a notification is being delivered.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    [[nodiscard]] ScopedConnection subscribe(std::string_view name, Handler handler);
    void post(std::string_view name, std::optional<std::string> object = std::nullopt, UserInfo userInfo = {});

private:
    using Signal = sigc::signal<void(const Notification&)>;
    std::map<std::string, std::unique_ptr<Signal>, std::less<>> m_signals;
};

}  // namespace sarvik

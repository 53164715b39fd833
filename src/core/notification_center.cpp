#include "core/notification_center.h"

namespace sarvik {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

ScopedConnection NotificationCenter::subscribe(std::string_view name, Handler handler) {
    auto found = m_signals.find(name);
    if (found == m_signals.end())
        found = m_signals.emplace(std::string(name), std::make_unique<Signal>()).first;
    return found->second->connect(std::move(handler));
}

void NotificationCenter::post(std::string_view name, std::optional<std::string> object, UserInfo userInfo) {
    const auto found = m_signals.find(name);
    if (found == m_signals.end()) return;
    const Notification notification{std::string(name), std::move(object), std::move(userInfo)};
    found->second->emit(notification);
}

}  // namespace sarvik

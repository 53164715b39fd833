#include "core/notification_center.h"
#include "core/notification_names.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(NotificationCenterTest, DeliversByNameWithObjectAndUserInfo) {
    NotificationCenter center;
    std::vector<Notification> received;
    ScopedConnection theme = center.subscribe(notifications::kChangeTheme, [&](const Notification& n) { received.push_back(n); });
    center.post(notifications::kNewTab);
    center.post(notifications::kChangeTheme, std::string("Lime"), {{"k", std::string("v\0w", 3)}});
    center.post(notifications::kChangeTheme);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].name, "changeTheme");
    EXPECT_EQ(received[0].object, "Lime");
    EXPECT_EQ(received[0].userInfo.at("k").size(), 3u);
    EXPECT_FALSE(received[1].object);
}

TEST(NotificationCenterTest, SubscriptionsEndWithTheirOwner) {
    NotificationCenter center;
    int count = 0;
    {
        ScopedConnection c = center.subscribe("zoomIn", [&](const Notification&) { ++count; });
        center.post("zoomIn");
    }
    center.post("zoomIn");
    EXPECT_EQ(count, 1);

    ScopedConnection moved;
    {
        ScopedConnection c = center.subscribe("zoomIn", [&](const Notification&) { ++count; });
        moved = std::move(c);
    }
    center.post("zoomIn");
    EXPECT_EQ(count, 2);
}

TEST(NotificationCenterTest, HandlersMayUnsubscribeAndSubscribeWhileDelivering) {
    NotificationCenter center;
    std::vector<std::string> order;
    ScopedConnection second;
    ScopedConnection late;
    ScopedConnection first = center.subscribe("closeTab", [&](const Notification&) {
        order.push_back("first");
        second.disconnect();
        late = center.subscribe("closeTab", [&](const Notification&) { order.push_back("late"); });
    });
    second = center.subscribe("closeTab", [&](const Notification&) { order.push_back("second"); });
    center.post("closeTab");
    EXPECT_EQ(order.front(), "first");
    EXPECT_EQ(std::count(order.begin(), order.end(), "second"), 0);
}

TEST(NotificationCenterTest, TheDefaultCenterIsOneInstance) {
    EXPECT_EQ(&NotificationCenter::defaultCenter(), &NotificationCenter::defaultCenter());
}

}  // namespace
}  // namespace sarvik

#include "themes/progress_animation.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(EaseInOutTest, IsSymmetricSlowAtTheEndsAndMonotonic) {
    EXPECT_DOUBLE_EQ(easeInOut(0), 0);
    EXPECT_DOUBLE_EQ(easeInOut(1), 1);
    EXPECT_DOUBLE_EQ(easeInOut(-1), 0);
    EXPECT_DOUBLE_EQ(easeInOut(2), 1);
    EXPECT_NEAR(easeInOut(0.5), 0.5, 1e-9);
    EXPECT_NEAR(easeInOut(0.25) + easeInOut(0.75), 1.0, 1e-9);
    EXPECT_LT(easeInOut(0.1), 0.1);
    double previous = 0;
    for (int i = 1; i <= 100; ++i) {
        const double value = easeInOut(i / 100.0);
        EXPECT_GE(value, previous);
        previous = value;
    }
}

TEST(ProgressAnimationTest, GlidesToTheTargetAndRestartsFromWhereItIs) {
    ProgressAnimation animation(300'000);
    animation.retarget(1.0, 1'000'000);
    EXPECT_DOUBLE_EQ(animation.valueAt(1'000'000), 0.0);
    EXPECT_NEAR(animation.valueAt(1'150'000), 0.5, 1e-9);
    EXPECT_TRUE(animation.isRunning(1'150'000));
    EXPECT_DOUBLE_EQ(animation.valueAt(1'300'000), 1.0);
    EXPECT_FALSE(animation.isRunning(1'300'000));

    animation.retarget(0.0, 2'000'000);
    animation.retarget(0.5, 2'150'000);  // halfway down, now back up from 0.5
    EXPECT_NEAR(animation.valueAt(2'150'000), 0.5, 1e-9);
    animation.jumpTo(0.2);
    EXPECT_DOUBLE_EQ(animation.valueAt(0), 0.2);
    EXPECT_DOUBLE_EQ(animation.target(), 0.2);
}

}  // namespace
}  // namespace sarvik

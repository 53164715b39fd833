#include "themes/form_switch_animation.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(FormSwitchAnimationTest, TheToolbarsButtonsTakeAQuarterSecondTheMenuCommandAFifth) {
    EXPECT_EQ(formSwitchDurationMicroseconds(FormSwitchOrigin::toolbarButton), 250'000);
    EXPECT_EQ(formSwitchDurationMicroseconds(FormSwitchOrigin::menuCommand), 200'000);
}

TEST(FormSwitchAnimationTest, ProgressFollowsTheEaseInOutCurveOverTheDuration) {
    FormSwitchAnimation animation;
    animation.start(1'000'000, kMenuCommandSwitchMicroseconds);
    EXPECT_EQ(animation.duration(), 200'000);
    EXPECT_DOUBLE_EQ(animation.progressAt(1'000'000), 0.0);
    EXPECT_NEAR(animation.progressAt(1'050'000), easeInOut(0.25), 1e-9);
    EXPECT_LT(animation.progressAt(1'050'000), 0.25);  // slow start
    EXPECT_NEAR(animation.progressAt(1'100'000), 0.5, 1e-9);
    EXPECT_GT(animation.progressAt(1'150'000), 0.75);  // slow end
    EXPECT_TRUE(animation.isRunning(1'199'999));
    EXPECT_FALSE(animation.isRunning(1'200'000));
    EXPECT_DOUBLE_EQ(animation.progressAt(1'200'000), 1.0);
}

TEST(FormSwitchAnimationTest, RestartingBeginsAgainAndFinishingEndsAtOnce) {
    FormSwitchAnimation animation;
    animation.start(0, kToolbarButtonSwitchMicroseconds);
    animation.start(100'000, kToolbarButtonSwitchMicroseconds);
    EXPECT_DOUBLE_EQ(animation.progressAt(100'000), 0.0);
    EXPECT_NEAR(animation.progressAt(225'000), 0.5, 1e-9);
    animation.finish();
    EXPECT_FALSE(animation.isRunning(225'000));
    EXPECT_DOUBLE_EQ(animation.progressAt(225'000), 1.0);
}

TEST(FormSwitchAnimationTest, HeightLiesBetweenTheTwoFormsHeights) {
    EXPECT_EQ(FormSwitchAnimation::heightBetween(60, 30, 0.0), 60);
    EXPECT_EQ(FormSwitchAnimation::heightBetween(60, 30, 0.5), 45);
    EXPECT_EQ(FormSwitchAnimation::heightBetween(60, 30, 1.0), 30);
    EXPECT_EQ(FormSwitchAnimation::heightBetween(30, 61, 0.5), 46);  // rounded, growing
    EXPECT_EQ(FormSwitchAnimation::heightBetween(60, 30, 1.5), 30);
    EXPECT_EQ(FormSwitchAnimation::heightBetween(60, 30, -0.5), 60);
}

}  // namespace
}  // namespace sarvik

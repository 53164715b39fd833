#include "web/script_dialog_limiter.h"

#include "support/fake_clock.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

using Verdict = ScriptDialogLimiter::Verdict;

class ScriptDialogLimiterTest : public ::testing::Test {
protected:
    // One dialog shown for `seconds` and then answered.
    Verdict ask(double seconds = 0.2, bool stop = false) {
        const Verdict verdict = limiter.dialogRequested();
        clock.advance(seconds);
        if (verdict != Verdict::answerAtOnce) limiter.dialogAnswered(stop);
        return verdict;
    }

    testing::FakeClock clock;
    ScriptDialogLimiter limiter{clock};
};

TEST_F(ScriptDialogLimiterTest, TheThirdDialogInQuickSuccessionOffersToStop) {
    EXPECT_EQ(ask(), Verdict::show);
    EXPECT_EQ(ask(), Verdict::show);
    EXPECT_EQ(ask(), Verdict::showWithOfferToStop);
    EXPECT_EQ(ask(), Verdict::showWithOfferToStop) << "the offer stays while the run goes on";
}

TEST_F(ScriptDialogLimiterTest, QuicknessIsMeasuredFromTheAnswerNotFromTheQuestion) {
    // A slow reader does not protect a page that asks again the moment it is answered.
    EXPECT_EQ(ask(30), Verdict::show);
    EXPECT_EQ(ask(30), Verdict::show);
    EXPECT_EQ(ask(30), Verdict::showWithOfferToStop);
}

TEST_F(ScriptDialogLimiterTest, APauseLongerThanAFewSecondsStartsANewRun) {
    ask();
    ask();
    clock.advance(ScriptDialogLimiter::kQuickSuccessionSeconds + 0.1);
    EXPECT_EQ(ask(), Verdict::show);
    EXPECT_EQ(ask(), Verdict::show);
    clock.advance(ScriptDialogLimiter::kQuickSuccessionSeconds - 0.1);
    EXPECT_EQ(ask(), Verdict::showWithOfferToStop) << "just within the limit";
}

TEST_F(ScriptDialogLimiterTest, StoppingAnswersEveryFurtherDialogAtOnceUntilTheNextPage) {
    ask();
    ask();
    EXPECT_EQ(ask(0.2, true), Verdict::showWithOfferToStop);
    EXPECT_TRUE(limiter.isStopped());
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(limiter.dialogRequested(), Verdict::answerAtOnce);
    clock.advance(3600);
    EXPECT_EQ(limiter.dialogRequested(), Verdict::answerAtOnce) << "time alone does not lift it";

    limiter.pageChanged();
    EXPECT_FALSE(limiter.isStopped());
    EXPECT_EQ(ask(), Verdict::show);
    EXPECT_EQ(ask(), Verdict::show) << "the new page starts a run of its own";
}

TEST_F(ScriptDialogLimiterTest, ANewPageForgetsTheRun) {
    ask();
    ask();
    limiter.pageChanged();
    EXPECT_EQ(ask(), Verdict::show);
}

}  // namespace
}  // namespace sarvik

#include "web/find_match_position.h"
#include "web/new_window_policy.h"
#include "web/sandbox_status.h"
#include "web/script_dialog_limiter.h"

#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sarvik {
namespace {

// Steps: s start, f forward, b back, n not found, x clear, cN a count of N arrives.
TEST(FindMatchPositionTest, EachRunOfStepsShowsItsPosition) {
    const std::pair<const char*, const char*> table[] = {
        {"", ""}, {"s", ""}, {"s c12", "1 of 12"}, {"s c12 f", "2 of 12"}, {"s c12 f b b", "12 of 12"},
        {"s c12 f b b f", "1 of 12"}, {"s b c3", "3 of 3"}, {"s f f f f c3", "2 of 3"}, {"s c0", "No matches"},
        {"s c0 f", "No matches"}, {"s n", "No matches"}, {"s c1 f b b", "1 of 1"}, {"s c5 f s c7", "1 of 7"},
        {"s c7 x", ""}, {"s c7 x c4", ""}, {"s c1000", "1 of 1000"}, {"s c1001", "More than 1000 matches"},
        {"s c1001 c4294967295", "More than 1000 matches"}};
    for (const auto& [steps, text] : table) {
        FindMatchPosition position;
        std::istringstream words(steps);
        for (std::string step; words >> step;) {
            if (step == "s") position.startSearch();
            if (step == "f") position.stepForward();
            if (step == "b") position.stepBack();
            if (step == "n") position.notFound();
            if (step == "x") position.clear();
            if (step[0] == 'c') position.countArrived(static_cast<unsigned>(std::stoul(step.substr(1))));
        }
        EXPECT_EQ(position.text(), text) << steps;
        const std::string shown = text;
        if (shown.find(" of ") != std::string::npos || shown == "No matches") {
            EXPECT_EQ(position.current(), shown[0] == 'N' ? 0u : std::stoul(shown)) << steps;
        }
        if (std::string(steps).find('x') != std::string::npos) { EXPECT_FALSE(position.isSearching()) << steps; }
    }
}

TEST(NewWindowPolicyTest, OnlyTheFirstUsableRequestTheUserAskedForIsFollowedPerPage) {
    NewWindowPolicy policy;
    const auto admit = [&](const char* uri, bool clicked) {
        return policy.admit({uri ? std::optional<std::string>(uri) : std::nullopt, clicked});
    };
    EXPECT_EQ(admit("http://127.0.0.1/ad", false), std::nullopt) << "no gesture, no navigation";
    EXPECT_EQ(admit(nullptr, true), std::nullopt);
    EXPECT_EQ(admit("not an address", true), std::nullopt) << "unusable requests use up nothing";
    EXPECT_EQ(admit("http://127.0.0.1/popup", true), Url::parse("http://127.0.0.1/popup"));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(admit("http://127.0.0.1/popup", true), std::nullopt);
    policy.pageChanged();
    EXPECT_EQ(admit("http://127.0.0.1/ad", false), std::nullopt) << "a new page gets no gesture for free";
    EXPECT_EQ(admit("http://127.0.0.1/next", true), Url::parse("http://127.0.0.1/next"));
}

TEST(SandboxStatusTest, WarnsForEveryValueThatTurnsTheSandboxOff) {
    for (const char* value : {"1", "", "yes", "00"}) {
        const auto warning = sandboxOffWarning(value);
        ASSERT_TRUE(warning.has_value()) << '"' << value << '"';
        EXPECT_NE(warning->find(kSandboxOffVariable), std::string::npos);
        EXPECT_NE(warning->find("without the sandbox"), std::string::npos);
    }
    EXPECT_FALSE(sandboxOffWarning(nullptr).has_value());
    EXPECT_FALSE(sandboxOffWarning("0").has_value());
}

class ScriptDialogLimiterTest : public ::testing::Test {
protected:
    using Verdict = ScriptDialogLimiter::Verdict;
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

TEST_F(ScriptDialogLimiterTest, TheThirdQuickDialogOffersToStopCountingFromEachAnswer) {
    // A slow reader does not protect a page that asks again the moment it is answered.
    EXPECT_EQ(ask(30), Verdict::show);
    EXPECT_EQ(ask(30), Verdict::show);
    EXPECT_EQ(ask(30), Verdict::showWithOfferToStop);
    EXPECT_EQ(ask(), Verdict::showWithOfferToStop) << "the offer stays while the run goes on";
    clock.advance(ScriptDialogLimiter::kQuickSuccessionSeconds + 0.1);
    EXPECT_EQ(ask(), Verdict::show) << "a pause starts a new run";
    EXPECT_EQ(ask(), Verdict::show);
    clock.advance(ScriptDialogLimiter::kQuickSuccessionSeconds - 0.1);
    EXPECT_EQ(ask(), Verdict::showWithOfferToStop) << "just within the limit";
    limiter.pageChanged();
    EXPECT_EQ(ask(), Verdict::show) << "a new page forgets the run";
    EXPECT_EQ(ask(), Verdict::show);
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

}  // namespace
}  // namespace sarvik

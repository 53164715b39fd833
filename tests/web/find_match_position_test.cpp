#include "web/find_match_position.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(FindMatchPositionTest, StartsOnTheFirstMatchAndStepsWithWrapAround) {
    FindMatchPosition position;
    EXPECT_EQ(position.text(), "") << "nothing before a search";
    position.startSearch();
    EXPECT_EQ(position.text(), "") << "nothing until the count arrives";
    position.countArrived(12);
    EXPECT_EQ(position.text(), "1 of 12");
    position.stepForward();
    EXPECT_EQ(position.text(), "2 of 12");
    position.stepBack();
    position.stepBack();
    EXPECT_EQ(position.text(), "12 of 12") << "back from the first wraps to the last";
    position.stepForward();
    EXPECT_EQ(position.text(), "1 of 12") << "on from the last wraps to the first";
}

TEST(FindMatchPositionTest, StepsTakenBeforeTheCountAreWrappedWhenItArrives) {
    FindMatchPosition position;
    position.startSearch();
    position.stepBack();  // from 1: the last match, once the count is known
    position.countArrived(3);
    EXPECT_EQ(position.text(), "3 of 3");
    EXPECT_EQ(position.current(), 3u);

    position.startSearch();
    for (int i = 0; i < 4; ++i) position.stepForward();
    position.countArrived(3);
    EXPECT_EQ(position.text(), "2 of 3");
}

TEST(FindMatchPositionTest, NoMatchesAndASingleMatch) {
    FindMatchPosition position;
    position.startSearch();
    position.countArrived(0);
    EXPECT_EQ(position.text(), "No matches");
    EXPECT_EQ(position.current(), 0u);
    position.stepForward();
    EXPECT_EQ(position.text(), "No matches");

    position.startSearch();
    position.notFound();
    EXPECT_EQ(position.text(), "No matches");

    position.startSearch();
    position.countArrived(1);
    position.stepForward();
    position.stepBack();
    position.stepBack();
    EXPECT_EQ(position.text(), "1 of 1");
}

TEST(FindMatchPositionTest, ANewSearchStartsOverAndClearEndsIt) {
    FindMatchPosition position;
    position.startSearch();
    position.countArrived(5);
    position.stepForward();
    position.startSearch();
    position.countArrived(7);
    EXPECT_EQ(position.text(), "1 of 7");
    position.clear();
    EXPECT_FALSE(position.isSearching());
    EXPECT_EQ(position.text(), "");
    position.countArrived(4);
    EXPECT_EQ(position.text(), "") << "a late count after the end changes nothing";
}

TEST(FindMatchPositionTest, MoreMatchesThanTheLimitSaySo) {
    FindMatchPosition position;
    position.startSearch();
    position.countArrived(FindMatchPosition::kMaxCount);
    EXPECT_EQ(position.text(), "1 of 1000");
    position.startSearch();
    position.countArrived(FindMatchPosition::kMaxCount + 1);
    EXPECT_EQ(position.text(), "More than 1000 matches");
    position.countArrived(4294967295u);
    EXPECT_EQ(position.text(), "More than 1000 matches");
}

}  // namespace
}  // namespace sarvik

#include "views/common/zoom_text.h"

#include "core/browser_state.h"

#include <gtest/gtest.h>

#include <limits>

namespace sarvik {
namespace {

TEST(ZoomTextTest, ShowsTheWholePercentageTruncated) {
    const std::pair<double, const char*> cases[] = {
        {1.0, "100%"}, {1.25, "125%"}, {0.999, "99%"}, {1.2000000000000002, "120%"}, {0.30000000000000016, "30%"},
        {2.3, "230%"}, {0.57, "57%"}, {3.0, "300%"}, {-0.004, "0%"},
    };
    for (const auto& [zoom, text] : cases) EXPECT_EQ(zoomPercentText(zoom), text) << zoom;
    // Far beyond any integer type: printed in full, with no out-of-range conversion.
    EXPECT_EQ(zoomPercentText(1e28).size(), 32u);
    EXPECT_FALSE(zoomPercentText(std::numeric_limits<double>::max()).empty());
    EXPECT_FALSE(zoomPercentText(std::numeric_limits<double>::quiet_NaN()).empty());
}

TEST(ZoomTextTest, EveryStepOfTheZoomShowsItsOwnPercentage) {
    BrowserState state;
    for (int i = 0; i < 7; ++i) state.zoomOut();
    for (int percent = 30; percent <= 300; percent += 10, state.zoomIn())
        EXPECT_EQ(zoomPercentText(state.pageZoom.get()), std::to_string(percent) + "%");
}

}  // namespace
}  // namespace sarvik

#include "web/sandbox_status.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(SandboxStatusTest, WarnsForEveryValueThatTurnsTheSandboxOff) {
    for (const char* value : {"1", "", "yes", "00"}) {
        const auto warning = sandboxOffWarning(value);
        ASSERT_TRUE(warning.has_value()) << '"' << value << '"';
        EXPECT_NE(warning->find(kSandboxOffVariable), std::string::npos);
        EXPECT_NE(warning->find("without the sandbox"), std::string::npos);
    }
}

TEST(SandboxStatusTest, StaysQuietWhileTheSandboxIsOn) {
    EXPECT_FALSE(sandboxOffWarning(nullptr).has_value());
    EXPECT_FALSE(sandboxOffWarning("0").has_value());
}

}  // namespace
}  // namespace sarvik

#include "web/new_window_policy.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

NewWindowPolicy::Request clicked(const char* uri) { return {uri, true}; }
NewWindowPolicy::Request scripted(const char* uri) { return {uri, false}; }

TEST(NewWindowPolicyTest, OnlyTheFirstRequestTheUserAskedForIsFollowedPerPage) {
    NewWindowPolicy policy;
    EXPECT_EQ(policy.admit(scripted("http://127.0.0.1/ad")), std::nullopt) << "no gesture, no navigation";
    EXPECT_EQ(policy.admit(clicked("http://127.0.0.1/popup")), Url::parse("http://127.0.0.1/popup"));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(policy.admit(clicked("http://127.0.0.1/popup")), std::nullopt);
    policy.pageChanged();
    EXPECT_EQ(policy.admit(scripted("http://127.0.0.1/ad")), std::nullopt) << "a new page gets no gesture for free";
    EXPECT_EQ(policy.admit(clicked("http://127.0.0.1/next")), Url::parse("http://127.0.0.1/next"));
}

TEST(NewWindowPolicyTest, ARequestWithoutAUsableAddressDoesNotUseUpTheAllowance) {
    NewWindowPolicy policy;
    EXPECT_EQ(policy.admit({std::nullopt, true}), std::nullopt);
    EXPECT_EQ(policy.admit(clicked("not an address")), std::nullopt);
    EXPECT_EQ(policy.admit(clicked("http://127.0.0.1/popup")), Url::parse("http://127.0.0.1/popup"));
}

}  // namespace
}  // namespace sarvik

#include "app/command_line_addresses.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

std::vector<std::string> texts(const std::vector<Url>& urls) {
    std::vector<std::string> out;
    for (const auto& url : urls) out.push_back(url.absoluteString());
    return out;
}

constexpr std::string_view kSearch = "https://search.example/?q=";

TEST(CommandLineAddressesTest, OpensEachWordInOrder) {
    testing::TemporaryDirectory dir;
    testing::writeFile(dir / "page one.html", "<p>1</p>");
    const auto urls = commandLineAddresses(
        {"https://a.example/x", "page one.html", (dir / "page one.html").string(), "b.example", "two words"},
        dir.path(), kSearch);
    const std::string file = "file://" + dir.path().string() + "/page%20one.html";
    EXPECT_EQ(texts(urls), (std::vector<std::string>{"https://a.example/x", file, file, "https://b.example",
                                                     "https://search.example/?q=two%20words"}));
}

TEST(CommandLineAddressesTest, OptionsAreSkippedUnlessAfterDoubleDash) {
    testing::TemporaryDirectory dir;
    testing::writeFile(dir / "-dash.html", "x");
    const auto urls = commandLineAddresses({"--home-page=https://evil.example", "-x", "", "--", "-dash.html"},
                                           dir.path(), kSearch);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0].absoluteString(), "file://" + dir.path().string() + "/-dash.html");
}

TEST(CommandLineAddressesTest, SchemesOpenAsWrittenAndMissingFilesAreNotFiles) {
    testing::TemporaryDirectory dir;
    const auto urls = commandLineAddresses({"about:blank", "missing.html", "HTTP://Upper.example"}, dir.path(), kSearch);
    EXPECT_EQ(texts(urls),
              (std::vector<std::string>{"about:blank", "https://missing.html", "HTTP://Upper.example"}));
    EXPECT_TRUE(commandLineAddresses({}, dir.path(), kSearch).empty());
}

}  // namespace
}  // namespace sarvik

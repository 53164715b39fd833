#include "app/command_line_addresses.h"
#include "app/renderer_choice.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(CommandLineAddressesTest, EachWordOpensInOrderAsAnAddressAFileOrASearch) {
    testing::TemporaryDirectory dir;
    testing::writeFile(dir / "page one.html", "<p>1</p>");
    testing::writeFile(dir / "-dash.html", "x");
    const std::string file = "file://" + dir.path().string() + "/";
    const std::pair<std::vector<std::string>, std::vector<std::string>> table[] = {
        {{"https://a.example/x", "page one.html", (dir / "page one.html").string(), "b.example", "two words"},
         {"https://a.example/x", file + "page%20one.html", file + "page%20one.html", "https://b.example",
          "https://search.example/?q=two%20words"}},
        {{"--home-page=https://evil.example", "-x", "", "--", "-dash.html"}, {file + "-dash.html"}},
        {{"about:blank", "missing.html", "HTTP://Upper.example"}, {"about:blank", "https://missing.html", "HTTP://Upper.example"}},
        {{}, {}}};
    for (const auto& [words, expected] : table) {
        std::vector<std::string> opened;
        for (const auto& url : commandLineAddresses(words, dir.path(), "https://search.example/?q="))
            opened.push_back(url.absoluteString());
        EXPECT_EQ(opened, expected) << (words.empty() ? "" : words[0]);
    }
}

TEST(RendererChoiceTest, CairoOnlyWhereGlWouldRunInSoftwareAndTheUserAskedForNothing) {
    const struct {
        std::optional<std::string> asked, softwareGl;
        bool gpu;
        std::optional<std::string> chosen;
    } table[] = {{{}, {}, true, {}},          {{}, {}, false, "cairo"},      {{}, "1", true, "cairo"},
                 {{}, "true", true, "cairo"}, {{}, "TRUE", true, "cairo"},   {{}, "yes", true, "cairo"},
                 {{}, "y", true, "cairo"},    {{}, "0", true, {}},           {{}, "false", true, {}},
                 {{}, "", true, {}},          {{}, "no", true, {}},          {"gl", "1", false, {}},
                 {"ngl", "1", false, {}},     {"vulkan", "1", false, {}},    {"cairo", "1", false, {}},
                 {"", {}, false, "cairo"}};  // an empty variable asks for nothing
    for (const auto& row : table)
        EXPECT_EQ(preferredRenderer({row.asked, row.softwareGl, row.gpu}), row.chosen)
            << row.asked.value_or("-") << " " << row.softwareGl.value_or("-") << " " << row.gpu;
}

TEST(RendererChoiceTest, GpuDevicesAreFoundByName) {
    testing::TemporaryDirectory dev;
    EXPECT_FALSE(RendererEnvironment::current(dev.path()).hasGpuDevice) << "no dri folder";
    std::filesystem::create_directory(dev / "dri");
    testing::writeFile(dev / "dri" / "card0", "");
    EXPECT_FALSE(RendererEnvironment::current(dev.path()).hasGpuDevice) << "a display node without a render node";
    testing::writeFile(dev / "dri" / "renderD128", "");
    EXPECT_TRUE(RendererEnvironment::current(dev.path()).hasGpuDevice);
    testing::TemporaryDirectory nvidia;
    testing::writeFile(nvidia / "nvidiactl", "");
    EXPECT_TRUE(RendererEnvironment::current(nvidia.path()).hasGpuDevice);
}

}  // namespace
}  // namespace sarvik

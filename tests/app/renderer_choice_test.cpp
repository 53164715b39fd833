#include "app/renderer_choice.h"

#include "support/file_helpers.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

RendererEnvironment withGpu() { return {std::nullopt, std::nullopt, true}; }

TEST(RendererChoiceTest, CairoOnlyWhereGlWouldRunInSoftware) {
    EXPECT_EQ(preferredRenderer(withGpu()), std::nullopt) << "a GPU keeps GTK's own choice";
    EXPECT_EQ(preferredRenderer({std::nullopt, std::nullopt, false}), "cairo") << "no render node";

    for (const char* yes : {"1", "true", "TRUE", "yes", "y"}) {
        RendererEnvironment forced = withGpu();
        forced.softwareGlForced = yes;
        EXPECT_EQ(preferredRenderer(forced), "cairo") << yes;
    }
    for (const char* no : {"0", "false", "", "no"}) {
        RendererEnvironment notForced = withGpu();
        notForced.softwareGlForced = no;
        EXPECT_EQ(preferredRenderer(notForced), std::nullopt) << no;
    }
}

TEST(RendererChoiceTest, TheUsersOwnRendererIsKept) {
    for (const char* asked : {"gl", "ngl", "vulkan", "cairo"}) {
        RendererEnvironment software{asked, "1", false};
        EXPECT_EQ(preferredRenderer(software), std::nullopt) << asked;
    }
    RendererEnvironment blank{"", std::nullopt, false};
    EXPECT_EQ(preferredRenderer(blank), "cairo") << "an empty variable asks for nothing";
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

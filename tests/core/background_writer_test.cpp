#include "core/background_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <vector>

namespace sarvik {
namespace {

using namespace std::chrono_literals;

// While the first write is held, the next two are handed in: the later replaces
// the earlier, which never runs; the writer is busy until the held one ends.
TEST(BackgroundWriterTest, WritesRunInOrderAndTheNewestWaitingWriteReplacesAnOlderOne) {
    std::vector<std::string> written;  // touched by the writer thread only until it is idle
    std::promise<void> release;
    std::promise<void> started;
    std::shared_future<void> released = release.get_future().share();
    {
        BackgroundWriter writer;
        writer.submit([&] {
            started.set_value();
            released.wait();
            written.push_back("first");
        });
        started.get_future().wait();
        writer.submit([&] { written.push_back("replaced"); });
        writer.submit([&] { written.push_back("newest"); });
        EXPECT_FALSE(writer.waitUntilIdle(20ms));
        EXPECT_FALSE(BackgroundWriter::finishAll(20ms));
        release.set_value();
        EXPECT_TRUE(writer.waitUntilIdle());
        EXPECT_EQ(written, (std::vector<std::string>{"first", "newest"}));

        writer.submit([&] { written.push_back("at the end"); });
    }  // the end of the writer runs what is waiting
    EXPECT_EQ(written.back(), "at the end");
    EXPECT_TRUE(BackgroundWriter::finishAll(0ms)) << "no writer left";
}

}  // namespace
}  // namespace sarvik

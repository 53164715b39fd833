#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace sarvik {

// One thread that writes one file, so that a save never holds up the main
// thread. Writes run in the order they were handed in; a write handed in while
// another waits replaces the waiting one, since only the newest content
// matters. The thread starts with the first write and ends with the object,
// after the waiting write has run.
class BackgroundWriter {
public:
    BackgroundWriter();
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void submit(std::function<void()> write);
    // Returns once no write is waiting or running, or false when `limit` passed first.
    bool waitUntilIdle(std::chrono::milliseconds limit = std::chrono::milliseconds::max());

    // Waits for every writer of the process, sharing one deadline: what a
    // process that is told to end does before it goes. False if one was still busy.
    static bool finishAll(std::chrono::milliseconds limit);

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::function<void()> m_waiting;
    bool m_running = false;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace sarvik

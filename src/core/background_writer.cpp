#include "core/background_writer.h"

#include <algorithm>
#include <set>

namespace sarvik {
namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::set<BackgroundWriter*>& registry() {
    static std::set<BackgroundWriter*> writers;
    return writers;
}

}  // namespace

BackgroundWriter::BackgroundWriter() {
    const std::lock_guard lock(registryMutex());
    registry().insert(this);
}

BackgroundWriter::~BackgroundWriter() {
    {
        const std::lock_guard lock(registryMutex());
        registry().erase(this);
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void BackgroundWriter::submit(std::function<void()> write) {
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(write);
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

bool BackgroundWriter::waitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    const auto isIdle = [this] { return !m_waiting && !m_running; };
    if (limit == std::chrono::milliseconds::max()) {
        m_idle.wait(lock, isIdle);
        return true;
    }
    return m_idle.wait_for(lock, limit, isIdle);
}

bool BackgroundWriter::finishAll(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const std::lock_guard lock(registryMutex());
    bool allFinished = true;
    for (BackgroundWriter* writer : registry()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        allFinished = writer->waitUntilIdle(std::max(left, std::chrono::milliseconds{0})) && allFinished;
    }
    return allFinished;
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_waiting || m_stopping; });
        if (!m_waiting) return;  // stopping, and the last write has run
        auto write = std::move(m_waiting);
        m_waiting = nullptr;
        m_running = true;
        lock.unlock();
        write();
        write = nullptr;  // what it holds goes on this thread, not under the lock
        lock.lock();
        m_running = false;
        if (!m_waiting) m_idle.notify_all();
    }
}

}  // namespace sarvik

#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sarvik::testing {

// A tiny HTTP/1.1 server on 127.0.0.1 for tests that load real pages. It
// listens on an ephemeral port, answers each request on a background thread
// with the page registered for its path (404 otherwise), closes every
// connection after one answer, and stops when it goes (within about 50 ms
// plus the connections still being answered).
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void serve(const std::string& path, std::string body, std::string contentType = "text/html; charset=utf-8");
    // Like serve, but the answer's body arrives only after `delay`, so a test
    // can watch a page while it is loading.
    void serveSlowly(const std::string& path, std::string body, std::chrono::milliseconds delay);

    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:<port><path>"
    std::string url(const std::string& path) const;
    // How many requests asked for this path (query included as sent).
    int requestCount(const std::string& path) const;

private:
    struct Page {
        std::string body;
        std::string contentType;
        std::chrono::milliseconds delay{0};
    };

    void run();
    void answer(int client);

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::map<std::string, Page> m_pages;
    std::map<std::string, int> m_requests;
    std::thread m_thread;
    std::vector<std::thread> m_connections;  // only the accepting thread adds to it
};

}  // namespace sarvik::testing

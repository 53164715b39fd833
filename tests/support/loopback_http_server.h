#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace sarvik::testing {

// A canned answer for one path.
struct HttpResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    // Sent after the standard ones; a Cache-Control here replaces the default "no-store".
    std::vector<std::pair<std::string, std::string>> headers{};
    std::string body{};
    // The body pauses for `delay` after its first `bytesBeforeDelay` bytes, so a test can watch a load run.
    std::chrono::milliseconds delay{0};
    std::size_t bytesBeforeDelay = 0;
    // Sent as Content-Length instead of the body's size: a larger one leaves the body cut short.
    std::optional<std::size_t> declaredLength = std::nullopt;
    bool dropConnection = false;  // closes without answering, so the load fails
};

// One request as the server saw it. Header names are lower case.
struct HttpRequest {
    std::string method, target /* query included */, path /* without the query */;
    std::map<std::string, std::string> headers;
    std::string header(const std::string& lowerCaseName) const {
        const auto found = headers.find(lowerCaseName);
        return found == headers.end() ? std::string() : found->second;
    }
};

// A tiny HTTP/1.1 server on 127.0.0.1, on an ephemeral port. Each connection is answered on a thread
// of its own with the response registered for its target, else its path (404 otherwise), then closed.
// Every request is recorded. It stops when it goes, within about 50 ms plus the answers still running.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void serve(const std::string& path, std::string body, std::string contentType = "text/html; charset=utf-8");
    // The body arrives only after `delay`.
    void serveSlowly(const std::string& path, std::string body, std::chrono::milliseconds delay);
    void respond(const std::string& path, HttpResponse response);

    std::uint16_t port() const { return m_port; }
    std::string url(std::string_view path) const;  // "http://127.0.0.1:<port><path>"
    int requestCount(const std::string& target) const;  // query included as sent
    std::vector<HttpRequest> requestsFor(std::string_view path) const;  // by path, oldest first

private:
    void run();
    void answer(int client);

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::map<std::string, HttpResponse> m_responses;
    std::vector<HttpRequest> m_requests;
    std::thread m_thread;
    std::vector<std::thread> m_connections;  // only the accepting thread adds to it
};

}  // namespace sarvik::testing

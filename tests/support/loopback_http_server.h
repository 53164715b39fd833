#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
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
    // Sent after the standard ones, e.g. {"Set-Cookie", "a=1"}. A Cache-Control
    // given here replaces the default "no-store".
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // The body pauses for `delay` after its first `bytesBeforeDelay` bytes, so
    // a test can watch a load or a download while it runs.
    std::chrono::milliseconds delay{0};
    std::size_t bytesBeforeDelay = 0;
    // Sent as Content-Length instead of the body's own size: a larger one
    // makes the server close the connection with the body cut short.
    std::optional<std::size_t> declaredLength = std::nullopt;
    // Closes the connection without answering, so the load fails.
    bool dropConnection = false;
};

// One request as the server saw it. Header names are lower case.
struct HttpRequest {
    std::string method;
    std::string target;  // as sent, query included
    std::string path;    // without the query
    std::map<std::string, std::string> headers;

    std::string header(const std::string& lowerCaseName) const {
        const auto found = headers.find(lowerCaseName);
        return found == headers.end() ? std::string() : found->second;
    }
};

// A tiny HTTP/1.1 server on 127.0.0.1 for tests that load real pages. It
// listens on an ephemeral port, answers each request on a background thread
// with the response registered for its target (or else its path without the
// query; 404 otherwise), closes every connection after one answer, records
// every request, and stops when it goes (within about 50 ms plus the
// connections still being answered).
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
    // The full form: status, content type, extra headers, pacing.
    void respond(const std::string& path, HttpResponse response);

    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:<port><path>"
    std::string url(std::string_view path) const;
    // How many requests asked for this path (query included as sent).
    int requestCount(const std::string& path) const;
    std::vector<HttpRequest> requests() const;
    // The requests whose path without the query is `path`, oldest first.
    std::vector<HttpRequest> requestsFor(std::string_view path) const;

private:
    void run();
    void answer(int client);
    HttpResponse responseFor(const HttpRequest& request) const;

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

#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sarvik::testing {

// A canned answer for one path.
struct MiniHttpResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::vector<std::pair<std::string, std::string>> headers;  // e.g. {"Set-Cookie", "a=1"}
    std::string body;
};

// One request as the server saw it. Header names are lower case.
struct MiniHttpRequest {
    std::string method;
    std::string path;  // without the query
    std::map<std::string, std::string> headers;

    std::string header(const std::string& lowerCaseName) const {
        const auto found = headers.find(lowerCaseName);
        return found == headers.end() ? std::string() : found->second;
    }
};

// A tiny HTTP/1.1 server on 127.0.0.1 and a free port, for tests that load
// pages in a real web view. It answers on its own thread with the responses
// given by route() (404 for any other path), closes every connection after one
// answer, and records every request it receives. Stops when it goes.
class MiniHttpServer {
public:
    MiniHttpServer();
    ~MiniHttpServer();
    MiniHttpServer(const MiniHttpServer&) = delete;
    MiniHttpServer& operator=(const MiniHttpServer&) = delete;

    void route(const std::string& path, MiniHttpResponse response);
    // "http://127.0.0.1:<port><path>"
    std::string url(std::string_view path) const;
    int port() const { return m_port; }

    std::vector<MiniHttpRequest> requests() const;
    std::vector<MiniHttpRequest> requestsFor(std::string_view path) const;

private:
    void serve();
    void answer(int client);

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::map<std::string, MiniHttpResponse> m_routes;
    std::vector<MiniHttpRequest> m_requests;
    std::thread m_thread;  // last: started once everything above is ready
};

}  // namespace sarvik::testing

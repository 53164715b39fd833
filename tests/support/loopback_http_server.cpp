#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace sarvik::testing {
namespace {

constexpr std::size_t kMaximumRequestBytes = 64 * 1024;
constexpr int kPollMilliseconds = 50;

void sendAll(int socket, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(socket, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

constexpr int kIdleConnectionPolls = 100;  // an opened but silent connection is dropped after 5 s

// Reads up to the end of the request head; the body of a request is never needed here.
std::string readHead(int client, const std::atomic<bool>& stopping) {
    std::string request;
    char buffer[4096];
    int idlePolls = 0;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaximumRequestBytes) {
        if (stopping || idlePolls > kIdleConnectionPolls) break;
        pollfd ready{client, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kPollMilliseconds);
        if (polled < 0) break;
        if (polled == 0) {
            ++idlePolls;
            continue;
        }
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    return request;
}

std::string pathOf(const std::string& request) {
    const auto first = request.find(' ');
    if (first == std::string::npos) return {};
    const auto second = request.find(' ', first + 1);
    if (second == std::string::npos) return {};
    return request.substr(first + 1, second - first - 1);
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(m_listener);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_stopping = true;
    if (m_thread.joinable()) m_thread.join();
    for (auto& connection : m_connections) connection.join();
    ::close(m_listener);
}

void LoopbackHttpServer::serve(const std::string& path, std::string body, std::string contentType) {
    std::lock_guard lock(m_mutex);
    m_pages[path] = Page{std::move(body), std::move(contentType)};
}

void LoopbackHttpServer::serveSlowly(const std::string& path, std::string body, std::chrono::milliseconds delay) {
    std::lock_guard lock(m_mutex);
    m_pages[path] = Page{std::move(body), "text/html; charset=utf-8", delay};
}

std::string LoopbackHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

int LoopbackHttpServer::requestCount(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_requests.find(path);
    return found == m_requests.end() ? 0 : found->second;
}

void LoopbackHttpServer::run() {
    while (!m_stopping) {
        pollfd ready{m_listener, POLLIN, 0};
        if (::poll(&ready, 1, kPollMilliseconds) <= 0) continue;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        // One thread per connection: the engine opens connections ahead of need
        // and may leave one silent while it asks on another.
        m_connections.emplace_back([this, client] {
            answer(client);
            ::close(client);
        });
    }
}

void LoopbackHttpServer::answer(int client) {
    const std::string head = readHead(client, m_stopping);
    if (head.empty()) return;
    const std::string path = pathOf(head);
    Page page{"Not Found", "text/plain"};
    std::string status = "404 Not Found";
    {
        std::lock_guard lock(m_mutex);
        ++m_requests[path];
        if (const auto found = m_pages.find(path); found != m_pages.end()) {
            page = found->second;
            status = "200 OK";
        }
    }
    sendAll(client, "HTTP/1.1 " + status + "\r\nContent-Type: " + page.contentType +
                        "\r\nContent-Length: " + std::to_string(page.body.size()) +
                        "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n");
    // Waits in small steps so a stopping server does not wait out the delay.
    for (auto waited = std::chrono::milliseconds(0); waited < page.delay && !m_stopping;
         waited += std::chrono::milliseconds(kPollMilliseconds))
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    sendAll(client, page.body);
}

}  // namespace sarvik::testing

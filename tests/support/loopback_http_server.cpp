#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <sstream>
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

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

HttpRequest parseRequest(const std::string& head) {
    HttpRequest request;
    std::istringstream lines(head.substr(0, head.find("\r\n\r\n")));
    std::string line;
    std::getline(lines, line);
    std::istringstream requestLine(line);
    requestLine >> request.method >> request.target;
    request.path = request.target.substr(0, request.target.find('?'));
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        request.headers[lowerCase(trimmed(line.substr(0, colon)))] = trimmed(line.substr(colon + 1));
    }
    return request;
}

std::string reasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

std::string renderHead(const HttpResponse& response) {
    std::ostringstream out;
    out << "HTTP/1.1 " << response.status << ' ' << reasonPhrase(response.status) << "\r\n"
        << "Content-Type: " << response.contentType << "\r\n"
        << "Content-Length: " << response.declaredLength.value_or(response.body.size()) << "\r\n"
        << "Connection: close\r\n";
    bool cacheControl = false;
    for (const auto& [name, value] : response.headers) {
        out << name << ": " << value << "\r\n";
        cacheControl = cacheControl || lowerCase(name) == "cache-control";
    }
    if (!cacheControl) out << "Cache-Control: no-store\r\n";
    out << "\r\n";
    return out.str();
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
    HttpResponse response;
    response.contentType = std::move(contentType);
    response.body = std::move(body);
    respond(path, std::move(response));
}

void LoopbackHttpServer::serveSlowly(const std::string& path, std::string body, std::chrono::milliseconds delay) {
    HttpResponse response;
    response.body = std::move(body);
    response.delay = delay;
    respond(path, std::move(response));
}

void LoopbackHttpServer::respond(const std::string& path, HttpResponse response) {
    std::lock_guard lock(m_mutex);
    m_responses[path] = std::move(response);
}

std::string LoopbackHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

int LoopbackHttpServer::requestCount(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count_if(m_requests.begin(), m_requests.end(),
                                          [&](const HttpRequest& request) { return request.target == path; }));
}

std::vector<HttpRequest> LoopbackHttpServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<HttpRequest> LoopbackHttpServer::requestsFor(std::string_view path) const {
    std::vector<HttpRequest> matching;
    for (auto& request : requests())
        if (request.path == path) matching.push_back(std::move(request));
    return matching;
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

HttpResponse LoopbackHttpServer::responseFor(const HttpRequest& request) const {
    auto found = m_responses.find(request.target);
    if (found == m_responses.end()) found = m_responses.find(request.path);
    if (found != m_responses.end()) return found->second;
    HttpResponse missing;
    missing.status = 404;
    missing.contentType = "text/plain";
    missing.body = "Not Found";
    return missing;
}

void LoopbackHttpServer::answer(int client) {
    const std::string head = readHead(client, m_stopping);
    if (head.empty()) return;
    HttpRequest request = parseRequest(head);
    HttpResponse response;
    {
        std::lock_guard lock(m_mutex);
        response = responseFor(request);
        m_requests.push_back(std::move(request));
    }
    if (response.dropConnection) return;
    sendAll(client, renderHead(response));
    const std::size_t before = std::min(response.bytesBeforeDelay, response.body.size());
    sendAll(client, response.body.substr(0, before));
    // Waits in small steps so a stopping server does not wait out the delay.
    for (auto waited = std::chrono::milliseconds(0); waited < response.delay && !m_stopping;
         waited += std::chrono::milliseconds(kPollMilliseconds))
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    if (!m_stopping) sendAll(client, response.body.substr(before));
}

}  // namespace sarvik::testing

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

constexpr int kPollMilliseconds = 50;
constexpr int kIdleConnectionPolls = 100;  // an opened but silent connection is dropped after 5 s

void sendAll(int socket, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(socket, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Up to the end of the request head; no request body is ever needed here.
std::string readHead(int client, const std::atomic<bool>& stopping) {
    std::string request;
    char buffer[4096];
    for (int idlePolls = 0; request.find("\r\n\r\n") == std::string::npos && request.size() < 64 * 1024;) {
        if (stopping || idlePolls > kIdleConnectionPolls) break;
        pollfd ready{client, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kPollMilliseconds);
        if (polled < 0) break;
        if (polled == 0 && ++idlePolls) continue;
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
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

HttpRequest parseRequest(const std::string& head) {
    HttpRequest request;
    std::istringstream lines(head.substr(0, head.find("\r\n\r\n")));
    std::string line;
    std::getline(lines, line);
    std::istringstream(line) >> request.method >> request.target;
    request.path = request.target.substr(0, request.target.find('?'));
    while (std::getline(lines, line))
        if (const auto colon = line.find(':'); colon != std::string::npos)
            request.headers[lowerCase(trimmed(line.substr(0, colon)))] = trimmed(line.substr(colon + 1));
    return request;
}

std::string renderHead(const HttpResponse& response) {
    std::ostringstream out;
    out << "HTTP/1.1 " << response.status << (response.status == 200 ? " OK" : response.status == 404 ? " Not Found" : " Status") << "\r\n"
        << "Content-Type: " << response.contentType << "\r\n"
        << "Content-Length: " << response.declaredLength.value_or(response.body.size()) << "\r\n"
        << "Connection: close\r\n";
    bool cacheControl = false;
    for (const auto& [name, value] : response.headers) {
        out << name << ": " << value << "\r\n";
        cacheControl = cacheControl || lowerCase(name) == "cache-control";
    }
    out << (cacheControl ? "" : "Cache-Control: no-store\r\n") << "\r\n";
    return out.str();
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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
    respond(path, HttpResponse{.contentType = std::move(contentType), .body = std::move(body)});
}

void LoopbackHttpServer::serveSlowly(const std::string& path, std::string body, std::chrono::milliseconds delay) {
    respond(path, HttpResponse{.body = std::move(body), .delay = delay});
}

void LoopbackHttpServer::respond(const std::string& path, HttpResponse response) {
    std::lock_guard lock(m_mutex);
    m_responses[path] = std::move(response);
}

std::string LoopbackHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

int LoopbackHttpServer::requestCount(const std::string& target) const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count_if(m_requests.begin(), m_requests.end(),
                                          [&](const HttpRequest& request) { return request.target == target; }));
}

std::vector<HttpRequest> LoopbackHttpServer::requestsFor(std::string_view path) const {
    std::lock_guard lock(m_mutex);
    std::vector<HttpRequest> matching;
    std::copy_if(m_requests.begin(), m_requests.end(), std::back_inserter(matching),
                 [&](const HttpRequest& request) { return request.path == path; });
    return matching;
}

void LoopbackHttpServer::run() {
    while (!m_stopping) {
        pollfd ready{m_listener, POLLIN, 0};
        if (::poll(&ready, 1, kPollMilliseconds) <= 0) continue;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        // One thread per connection: the engine opens connections ahead of need and may leave one silent.
        if (client >= 0) m_connections.emplace_back([this, client] { answer(client), ::close(client); });
    }
}

void LoopbackHttpServer::answer(int client) {
    const std::string head = readHead(client, m_stopping);
    if (head.empty()) return;
    HttpResponse response{.status = 404, .contentType = "text/plain", .body = "Not Found"};
    {
        std::lock_guard lock(m_mutex);
        HttpRequest request = parseRequest(head);
        auto found = m_responses.find(request.target);
        if (found == m_responses.end()) found = m_responses.find(request.path);
        if (found != m_responses.end()) response = found->second;
        m_requests.push_back(std::move(request));
    }
    if (response.dropConnection) return;
    sendAll(client, renderHead(response));
    const std::size_t before = std::min(response.bytesBeforeDelay, response.body.size());
    sendAll(client, std::string_view(response.body).substr(0, before));
    // Small steps, so a stopping server does not wait out the delay.
    for (auto waited = std::chrono::milliseconds(0); waited < response.delay && !m_stopping;
         waited += std::chrono::milliseconds(kPollMilliseconds))
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    if (!m_stopping) sendAll(client, std::string_view(response.body).substr(before));
}

}  // namespace sarvik::testing

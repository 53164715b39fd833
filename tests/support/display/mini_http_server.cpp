#include "support/display/mini_http_server.h"

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

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

MiniHttpRequest parseRequest(const std::string& head) {
    MiniHttpRequest request;
    std::istringstream lines(head);
    std::string line;
    std::getline(lines, line);
    std::istringstream requestLine(line);
    std::string target;
    requestLine >> request.method >> target;
    request.path = target.substr(0, target.find('?'));
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        request.headers[lowerCase(trimmed(line.substr(0, colon)))] = trimmed(line.substr(colon + 1));
    }
    return request;
}

std::string reasonPhrase(int status) { return status == 200 ? "OK" : status == 404 ? "Not Found" : "Status"; }

std::string render(const MiniHttpResponse& response) {
    std::ostringstream out;
    out << "HTTP/1.1 " << response.status << ' ' << reasonPhrase(response.status) << "\r\n"
        << "Content-Type: " << response.contentType << "\r\n"
        << "Content-Length: " << response.body.size() << "\r\n"
        << "Connection: close\r\n";
    for (const auto& [name, value] : response.headers) out << name << ": " << value << "\r\n";
    out << "\r\n" << response.body;
    return out.str();
}

void sendAll(int socket, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(socket, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

MiniHttpServer::MiniHttpServer() {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) throw std::runtime_error("socket failed");
    const int reuse = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(m_listener);
        throw std::runtime_error("could not listen on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

MiniHttpServer::~MiniHttpServer() {
    m_stopping = true;
    m_thread.join();
    ::close(m_listener);
}

void MiniHttpServer::route(const std::string& path, MiniHttpResponse response) {
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(response);
}

std::string MiniHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

std::vector<MiniHttpRequest> MiniHttpServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<MiniHttpRequest> MiniHttpServer::requestsFor(std::string_view path) const {
    std::vector<MiniHttpRequest> matching;
    for (auto& request : requests())
        if (request.path == path) matching.push_back(std::move(request));
    return matching;
}

void MiniHttpServer::serve() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;  // wake up now and then to see whether to stop
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        answer(client);
        ::close(client);
    }
}

void MiniHttpServer::answer(int client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd readable{client, POLLIN, 0};
        if (::poll(&readable, 1, 2000) <= 0) return;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    MiniHttpRequest request = parseRequest(head.substr(0, head.find("\r\n\r\n")));
    MiniHttpResponse response{404, "text/plain", {}, "not found"};
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_routes.find(request.path); found != m_routes.end()) response = found->second;
        m_requests.push_back(std::move(request));
    }
    sendAll(client, render(response));
}

}  // namespace sarvik::testing

#pragma once

#include <sigc++/connection.h>

#include <utility>
#include <vector>

namespace sarvik {

// A sigc++ connection that ends when its owner goes. Declare these members
// last so they are destroyed first, before the state their handlers use.
class ScopedConnection {
public:
    ScopedConnection() = default;
    ScopedConnection(sigc::connection connection) : m_connection(std::move(connection)) {}  // NOLINT: implicit by design
    ~ScopedConnection() { m_connection.disconnect(); }

    ScopedConnection(ScopedConnection&& other) noexcept : m_connection(std::exchange(other.m_connection, {})) {}
    ScopedConnection& operator=(ScopedConnection&& other) noexcept {
        if (this != &other) {
            m_connection.disconnect();
            m_connection = std::exchange(other.m_connection, {});
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    void disconnect() { m_connection.disconnect(); }
    bool connected() const { return m_connection.connected(); }

private:
    sigc::connection m_connection;
};

// Several scoped connections owned together.
class ConnectionSet {
public:
    void add(sigc::connection connection) { m_connections.emplace_back(std::move(connection)); }
    ConnectionSet& operator+=(sigc::connection connection) {
        add(std::move(connection));
        return *this;
    }
    void clear() { m_connections.clear(); }
    std::size_t size() const { return m_connections.size(); }

private:
    std::vector<ScopedConnection> m_connections;
};

}  // namespace sarvik

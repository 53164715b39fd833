#pragma once

#include <glib-object.h>

#include <utility>

namespace sarvik {

// Owns one strong reference to a GObject and drops it when it goes.
template <typename T>
class GObjectRef {
public:
    GObjectRef() = default;
    ~GObjectRef() { reset(); }

    // Takes over a reference the caller already holds (a full one, or a
    // floating one, which is sunk so the holder really owns the object).
    static GObjectRef adopt(T* object) {
        GObjectRef ref;
        if (object && g_object_is_floating(object)) g_object_ref_sink(object);
        ref.m_object = object;
        return ref;
    }

    // Takes a reference of its own on an object someone else keeps.
    static GObjectRef retain(T* object) {
        GObjectRef ref;
        if (object) ref.m_object = static_cast<T*>(g_object_ref(object));
        return ref;
    }

    GObjectRef(GObjectRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectRef& operator=(GObjectRef&& other) noexcept {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    void reset() {
        if (auto* object = std::exchange(m_object, nullptr)) g_object_unref(object);
    }

private:
    T* m_object = nullptr;
};

// One connected GObject signal handler, disconnected when it goes.
class SignalHandler {
public:
    SignalHandler() = default;
    SignalHandler(gpointer instance, gulong id) : m_instance(instance), m_id(id) {}
    ~SignalHandler() { disconnect(); }

    SignalHandler(SignalHandler&& other) noexcept
        : m_instance(std::exchange(other.m_instance, nullptr)), m_id(std::exchange(other.m_id, 0)) {}
    SignalHandler& operator=(SignalHandler&& other) noexcept {
        if (this != &other) {
            disconnect();
            m_instance = std::exchange(other.m_instance, nullptr);
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }
    SignalHandler(const SignalHandler&) = delete;
    SignalHandler& operator=(const SignalHandler&) = delete;

    void disconnect() {
        if (m_instance && m_id) g_signal_handler_disconnect(m_instance, m_id);
        m_instance = nullptr;
        m_id = 0;
    }

private:
    gpointer m_instance = nullptr;
    gulong m_id = 0;
};

}  // namespace sarvik

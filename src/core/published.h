#pragma once

#include <sigc++/signal.h>

#include <utility>

namespace sarvik {

// An observable field. Every assignment emits changed(), also when the new
// value equals the old one, and always after the value is in place, so an
// observer reads the new state.
template <typename T>
class Published {
public:
    Published() = default;
    explicit Published(T initial) : m_value(std::move(initial)) {}

    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return m_value; }
    operator const T&() const { return m_value; }  // NOLINT: reads like the plain field
    const T* operator->() const { return &m_value; }

    void set(T value) {
        m_value = std::move(value);
        m_changed.emit();
    }
    Published& operator=(T value) {
        set(std::move(value));
        return *this;
    }

    // Changes the value in place (for lists of records) and then notifies.
    template <typename Mutator>
    void modify(Mutator&& mutate) {
        std::forward<Mutator>(mutate)(m_value);
        m_changed.emit();
    }

    // Observing is not changing: read-only holders of a Published may subscribe.
    sigc::signal<void()>& changed() const { return m_changed; }

private:
    T m_value{};
    mutable sigc::signal<void()> m_changed;
};

}  // namespace sarvik

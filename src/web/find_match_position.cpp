#include "web/find_match_position.h"

namespace sarvik {

void FindMatchPosition::startSearch() {
    m_searching = true;
    m_total.reset();
    m_overflow = false;
    m_current = 1;
}

void FindMatchPosition::clear() { *this = FindMatchPosition(); }

void FindMatchPosition::countArrived(unsigned count) {
    if (!m_searching) return;
    m_overflow = count > kMaxCount;
    m_total = m_overflow ? kMaxCount : count;
    if (count == 0) m_current = 0;
    wrap();
}

void FindMatchPosition::notFound() {
    if (!m_searching) return;
    m_total = 0;
    m_overflow = false;
    m_current = 0;
}

void FindMatchPosition::stepForward() {
    if (!m_searching || m_total == 0u) return;
    ++m_current;
    wrap();
}

void FindMatchPosition::stepBack() {
    if (!m_searching || m_total == 0u) return;
    --m_current;
    wrap();
}

// Past the last match comes the first again, before the first the last.
// Beyond the engine's count limit the real end is unknown, so nothing wraps.
void FindMatchPosition::wrap() {
    if (!m_total || *m_total == 0 || m_overflow) return;
    const long total = *m_total;
    m_current = ((m_current - 1) % total + total) % total + 1;
}

unsigned FindMatchPosition::current() const {
    if (!m_searching || m_current < 1 || m_total == 0u) return 0;
    return static_cast<unsigned>(m_current);
}

std::string FindMatchPosition::text() const {
    if (!m_searching || !m_total) return "";
    if (*m_total == 0) return "No matches";
    if (m_overflow) return "More than " + std::to_string(kMaxCount) + " matches";
    return std::to_string(current()) + " of " + std::to_string(*m_total);
}

}  // namespace sarvik

#include "themes/progress_animation.h"

namespace sarvik {
namespace {

constexpr double kX1 = 0.42, kX2 = 0.58;  // y1 = 0, y2 = 1

double bezier(double s, double p1, double p2) {
    const double u = 1 - s;
    return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}

}  // namespace

double easeInOut(double t) {
    if (t <= 0) return 0;
    if (t >= 1) return 1;
    // x(s) is increasing on [0, 1]: bisect for the parameter whose x is t.
    double low = 0, high = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (low + high) / 2;
        (bezier(mid, kX1, kX2) < t ? low : high) = mid;
    }
    return bezier((low + high) / 2, 0, 1);
}

void ProgressAnimation::retarget(double target, std::int64_t now) {
    m_from = valueAt(now);
    m_to = target;
    m_start = now;
}

void ProgressAnimation::jumpTo(double value) {
    m_from = m_to = value;
    m_start = 0;
}

double ProgressAnimation::valueAt(std::int64_t now) const {
    if (m_duration <= 0 || now >= m_start + m_duration) return m_to;
    if (now <= m_start) return m_from;
    const double t = static_cast<double>(now - m_start) / static_cast<double>(m_duration);
    return m_from + (m_to - m_from) * easeInOut(t);
}

}  // namespace sarvik

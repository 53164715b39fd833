#include "themes/form_switch_animation.h"

#include <algorithm>
#include <cmath>

namespace sarvik {

void FormSwitchAnimation::start(std::int64_t now, std::int64_t durationMicroseconds) {
    m_duration = durationMicroseconds;
    m_progress = ProgressAnimation(durationMicroseconds);
    m_progress.jumpTo(0);
    m_progress.retarget(1, now);
}

int FormSwitchAnimation::heightBetween(int fromHeight, int toHeight, double progress) {
    const double clamped = std::clamp(progress, 0.0, 1.0);
    return static_cast<int>(std::lround(fromHeight + (toHeight - fromHeight) * clamped));
}

}  // namespace sarvik

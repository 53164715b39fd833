#pragma once

#include "themes/progress_animation.h"

#include <cstdint>

namespace sarvik {

// Who switched the toolbar between its expanded and collapsed forms. The
// toolbar's own collapse and expand buttons take a little longer than the
// window's "Toggle Toolbar" command; both glide ease-in-out.
enum class FormSwitchOrigin { toolbarButton, menuCommand };

inline constexpr std::int64_t kToolbarButtonSwitchMicroseconds = 250'000;
inline constexpr std::int64_t kMenuCommandSwitchMicroseconds = 200'000;

constexpr std::int64_t formSwitchDurationMicroseconds(FormSwitchOrigin origin) {
    return origin == FormSwitchOrigin::toolbarButton ? kToolbarButtonSwitchMicroseconds
                                                     : kMenuCommandSwitchMicroseconds;
}

// One crossfade from the outgoing form to the incoming one: how far it has
// got (eased, 0 to 1, which is also the incoming form's opacity) and the
// height between the two forms' heights at that point. Times are microseconds
// on the frame clock.
class FormSwitchAnimation {
public:
    void start(std::int64_t now, std::int64_t durationMicroseconds);
    void finish() { m_progress.jumpTo(1); }

    double progressAt(std::int64_t now) const { return m_progress.valueAt(now); }
    bool isRunning(std::int64_t now) const { return m_progress.isRunning(now); }
    std::int64_t duration() const { return m_duration; }

    // Rounded to whole pixels; never outside the two heights.
    static int heightBetween(int fromHeight, int toHeight, double progress);

private:
    std::int64_t m_duration = 0;
    ProgressAnimation m_progress{0};
};

}  // namespace sarvik

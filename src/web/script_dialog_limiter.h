#pragma once

#include "core/date.h"

#include <optional>

namespace sarvik {

// Lets the user stop a page that asks alert(), confirm() or prompt() over
// and over. A dialog that comes within a few seconds of the previous one's
// answer continues a run; from the third dialog of a run on, the panel
// offers to stop the page's dialogs. Once the user has chosen that, every
// further dialog of the page is answered at once (alerts return, confirms
// are false, prompts none) until another page is committed in the tab, a
// reload included.
//
// Pure: the web view host reports the events, a clock tells the time.
class ScriptDialogLimiter {
public:
    static constexpr int kDialogsBeforeOffer = 3;
    static constexpr double kQuickSuccessionSeconds = 3.0;

    enum class Verdict { show, showWithOfferToStop, answerAtOnce };

    explicit ScriptDialogLimiter(const Clock& clock = SystemClock::instance()) : m_clock(clock) {}

    Verdict dialogRequested();
    void dialogAnswered(bool stopFurtherDialogs);
    void pageChanged();

    bool isStopped() const { return m_isStopped; }

private:
    const Clock& m_clock;
    int m_run = 0;
    std::optional<Date> m_lastAnswer;
    bool m_isStopped = false;
};

}  // namespace sarvik

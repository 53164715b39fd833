#include "web/script_dialog_limiter.h"

namespace sarvik {

ScriptDialogLimiter::Verdict ScriptDialogLimiter::dialogRequested() {
    if (m_isStopped) return Verdict::answerAtOnce;
    const bool isQuick = m_lastAnswer && m_clock.now().secondsSince(*m_lastAnswer) <= kQuickSuccessionSeconds;
    m_run = isQuick ? m_run + 1 : 1;
    return m_run >= kDialogsBeforeOffer ? Verdict::showWithOfferToStop : Verdict::show;
}

void ScriptDialogLimiter::dialogAnswered(bool stopFurtherDialogs) {
    m_lastAnswer = m_clock.now();
    if (stopFurtherDialogs) m_isStopped = true;
}

void ScriptDialogLimiter::pageChanged() {
    m_run = 0;
    m_lastAnswer.reset();
    m_isStopped = false;
}

}  // namespace sarvik

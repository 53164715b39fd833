#include "stores/history_day_formatter.h"

#include <unicode/unistr.h>

namespace sarvik {

HistoryDayFormatter::HistoryDayFormatter()
    : m_format(icu::DateFormat::createDateInstance(icu::DateFormat::kMedium)) {
    // The formatter's own calendar, so day bounds follow its calendar system and time zone.
    if (m_format && m_format->getCalendar()) m_calendar.reset(m_format->getCalendar()->clone());
}

const std::string& HistoryDayFormatter::format(Date date) {
    const double milliseconds = date.unixTime() * 1000.0;
    if (milliseconds >= m_dayStart && milliseconds < m_dayEnd) return m_text;

    m_text.clear();
    m_dayStart = m_dayEnd = 0.0;
    if (!m_format) return m_text;
    icu::UnicodeString text;
    m_format->format(milliseconds, text);
    text.toUTF8String(m_text);
    rememberDayAround(milliseconds);
    return m_text;
}

// Finds local midnight before and after the moment. Where that fails or the
// bounds come out odd (a time zone that skips midnight, dates out of ICU's
// range), nothing is kept and the next date is formatted afresh.
void HistoryDayFormatter::rememberDayAround(double milliseconds) {
    if (!m_calendar) return;
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->setTime(milliseconds, status);
    m_calendar->set(UCAL_HOUR_OF_DAY, 0);
    m_calendar->set(UCAL_MINUTE, 0);
    m_calendar->set(UCAL_SECOND, 0);
    m_calendar->set(UCAL_MILLISECOND, 0);
    const double start = m_calendar->getTime(status);
    m_calendar->add(UCAL_DATE, 1, status);
    const double end = m_calendar->getTime(status);
    if (U_FAILURE(status) || !(start <= milliseconds && milliseconds < end)) return;
    m_dayStart = start;
    m_dayEnd = end;
}

}  // namespace sarvik

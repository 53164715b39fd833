#pragma once

#include "core/date.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>

#include <memory>
#include <string>

namespace sarvik {

// Formats dates as the medium date style (no time) of the default locale and
// time zone, as they are when the formatter is made. Every moment of one
// calendar day gives the same text, so the text is kept for the day of the
// last date formatted and reused while dates stay inside it: a history sorted
// by time then costs one formatting per day instead of one per entry.
class HistoryDayFormatter {
public:
    HistoryDayFormatter();
    HistoryDayFormatter(const HistoryDayFormatter&) = delete;
    HistoryDayFormatter& operator=(const HistoryDayFormatter&) = delete;

    const std::string& format(Date date);

private:
    void rememberDayAround(double milliseconds);

    std::unique_ptr<icu::DateFormat> m_format;
    std::unique_ptr<icu::Calendar> m_calendar;
    double m_dayStart = 0.0;  // [m_dayStart, m_dayEnd) in ICU milliseconds; empty when nothing is kept
    double m_dayEnd = 0.0;
    std::string m_text;
};

}  // namespace sarvik

#ifndef WORDGAME_STATE_CALENDAR_H_
#define WORDGAME_STATE_CALENDAR_H_

// The daily word's calendar: dates as day numbers, read and written as
// "YYYY-MM-DD", and today's.

#include <cstdint>
#include <string>

/// Days since 1970-01-01 in the proleptic Gregorian calendar.
using Day = std::int64_t;

/// Reads a date "YYYY-MM-DD" (years 0001 to 9999) into *day. False for any
/// other form or a date that does not exist ("2026-02-29").
bool ParseDate(const std::string& text, Day* day);

/// The date `day` as "YYYY-MM-DD" (a day of years 0001 to 9999).
std::string FormatDate(Day day);

/// Today in local time.
Day Today();

#endif  // WORDGAME_STATE_CALENDAR_H_

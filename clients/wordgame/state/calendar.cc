#include "state/calendar.h"

#include <ctime>
#include <string>

#include "text/text.h"

namespace {

struct Date {
  int year = 0, month = 0, day = 0;
};

bool IsLeap(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30,
                                  31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Counts in eras of 400 years (146097 days), each starting on 1 March, so
// that the leap day falls at the end of its year; 719468 is the day number
// of 0000-03-01 counted from 1970-01-01 backwards.
Day FromDate(const Date& date) {
  const int y = date.year - (date.month <= 2 ? 1 : 0);
  const int era = y / 400;  // years here are positive
  const int year_of_era = y - era * 400;
  const int month_from_march = (date.month + 9) % 12;
  const int day_of_year = (153 * month_from_march + 2) / 5 + date.day - 1;
  const int day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return Day{era} * 146097 + day_of_era - 719468;
}

// The inverse of FromDate.
Date ToDate(Day number) {
  const Day z = number + 719468;
  const Day era = (z >= 0 ? z : z - 146096) / 146097;
  const Day day_of_era = z - era * 146097;
  const Day year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 -
                           day_of_era / 146096) /
                          365;
  const Day day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const Day month_from_march = (5 * day_of_year + 2) / 153;
  Date date;
  date.day =
      static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  date.month = static_cast<int>(month_from_march < 10 ? month_from_march + 3
                                                      : month_from_march - 9);
  date.year =
      static_cast<int>(year_of_era + era * 400) + (date.month <= 2 ? 1 : 0);
  return date;
}

// `value` (0 or more) in decimal, led by zeros to `width` digits.
std::string ZeroPadded(int value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

}  // namespace

bool ParseDate(const std::string& text, Day* day) {
  std::uint64_t year, month, day_of_month;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      !ParseNumber(text.substr(0, 4), 9999, &year) ||
      !ParseNumber(text.substr(5, 2), 12, &month) ||
      !ParseNumber(text.substr(8, 2), 31, &day_of_month) || year < 1 ||
      month < 1 || day_of_month < 1) {
    return false;
  }
  const Date date{static_cast<int>(year), static_cast<int>(month),
                  static_cast<int>(day_of_month)};
  if (date.day > DaysInMonth(date.year, date.month)) return false;
  *day = FromDate(date);
  return true;
}

std::string FormatDate(Day day) {
  // Not snprintf: glibc's printf takes 2 KiB of stack, and a date is
  // formatted at a game's deepest call, where the state file is written.
  const Date date = ToDate(day);
  return ZeroPadded(date.year, 4) + "-" + ZeroPadded(date.month, 2) + "-" +
         ZeroPadded(date.day, 2);
}

Day Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FromDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

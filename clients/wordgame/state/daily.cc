#include "state/daily.h"

#include <algorithm>
#include <ctime>

#include "state/stats.h"
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

bool Earlier(const DailyResult& a, const DailyResult& b) {
  return a.day != b.day ? a.day < b.day : a.list_id < b.list_id;
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

const DailyResult* DailyHistory::Find(Day day, std::uint64_t list_id) const {
  for (const DailyResult& result : results) {
    if (result.day == day && result.list_id == list_id) return &result;
  }
  return nullptr;
}

void ApplyDaily(const DailyResult& result, DailyHistory* history) {
  if (history->Find(result.day, result.list_id) != nullptr) return;
  std::vector<DailyResult>& results = history->results;
  // The counts stay within what the file's reader accepts.
  if (history->played < kMaxCount) {
    ++history->played;
    if (result.won) ++history->won;
  }
  const bool any = !results.empty();
  const Day latest = any ? results.back().day : 0;
  if (!any || result.day > latest) {
    const bool goes_on = any && result.day == latest + 1;
    history->streak = result.won ? (goes_on ? history->streak : 0) + 1 : 0;
  } else if (result.day == latest && !result.won) {
    history->streak = 0;
  }
  history->streak = std::min(history->streak, history->won);
  history->best_streak = std::max(history->best_streak, history->streak);
  DailyResult kept = result;
  kept.misses = std::min(kept.misses, kMaxWinMisses + (kept.won ? 0 : 1));
  results.insert(
      std::upper_bound(results.begin(), results.end(), kept, Earlier), kept);
  if (results.size() > kMaxDailyResults) results.erase(results.begin());
}

std::string FormatDailyStats(const DailyHistory& history, Day today) {
  if (history.played == 0) return "";
  const bool over =
      history.results.empty() || history.results.back().day < today - 1;
  return "Daily words: " + std::to_string(history.played) + " played, " +
         std::to_string(history.won) + " solved; daily streak " +
         std::to_string(over ? 0 : history.streak) + ", best " +
         std::to_string(history.best_streak) + ".\n";
}

std::string ShareLine(const DailyResult& result) {
  return "wordgame daily " + FormatDate(result.day) + " (list " +
         Hex(result.list_id >> 32, 8) +
         "): " + (result.won ? "solved with " : "not solved, ") +
         CountOf(result.misses, "miss");
}

std::string FormatDailyLines(const DailyHistory& history) {
  if (history.played == 0 && history.results.empty()) return "";
  std::string text = "daily-counts " + std::to_string(history.played) + " " +
                     std::to_string(history.won) + " " +
                     std::to_string(history.streak) + " " +
                     std::to_string(history.best_streak) + "\n";
  for (const DailyResult& r : history.results) {
    text += "daily " + FormatDate(r.day) + " " + Hex(r.list_id, 16) +
            (r.won ? " solved " : " unsolved ") + std::to_string(r.misses) +
            "\n";
  }
  return text;
}

bool IsDailyKey(const std::string& key) {
  return key == "daily-counts" || key == "daily";
}

bool ParseDailyLine(const std::vector<std::string>& fields,
                    DailyHistory* history, std::string* why) {
  if (fields[0] == "daily-counts") {
    std::uint64_t* counts[] = {&history->played, &history->won,
                               &history->streak, &history->best_streak};
    bool ok = fields.size() == 5;
    for (std::size_t i = 0; ok && i < 4; ++i) {
      ok = ParseNumber(fields[i + 1], kMaxCount, counts[i]);
    }
    if (!ok) *why = "daily-counts needs four counts";
    return ok;
  }
  DailyResult r;
  const bool solved = fields.size() == 5 && fields[3] == "solved";
  if (fields.size() != 5 || !ParseDate(fields[1], &r.day) ||
      fields[2].size() != 16 ||
      !ParseNumber(fields[2], UINT64_MAX, &r.list_id, 16) ||
      (!solved && fields[3] != "unsolved") ||
      !ParseNumber(fields[4], kMaxWinMisses + (solved ? 0 : 1), &r.misses)) {
    *why = "a daily line needs a date, a list, solved or unsolved, misses";
    return false;
  }
  r.won = solved;
  std::vector<DailyResult>& results = history->results;
  auto at = std::lower_bound(results.begin(), results.end(), r, Earlier);
  if (at != results.end() && !Earlier(r, *at)) {
    *why = "the daily word of " + fields[1] + " comes twice";
    return false;
  }
  if (results.size() == kMaxDailyResults) {
    *why = "more than " + std::to_string(kMaxDailyResults) + " daily results";
    return false;
  }
  results.insert(at, r);
  return true;
}

bool CheckDaily(const DailyHistory& history, std::string* why) {
  if (history.won > history.played || history.streak > history.best_streak ||
      history.best_streak > history.won) {
    *why = "the daily counts do not fit each other";
    return false;
  }
  return true;
}

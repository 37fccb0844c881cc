#include "engine/daily_round.h"

#include "text/text.h"

bool DailyWordIsOut(Day day, Day today, std::string* err) {
  if (day <= today) return true;
  *err = "the daily word of " + FormatDate(day) + " is not out yet (today is " +
         FormatDate(today) + ")";
  return false;
}

std::string DailyOpening(Day day, std::size_t letters) {
  return "The daily word of " + FormatDate(day) + ": " +
         CountOf(letters, "letter") + ".";
}

std::string DailyLeftUnplayed(Day day) {
  return "The daily word of " + FormatDate(day) +
         " is left unplayed, for another time.";
}

std::string DailyClosing(const DailyHistory* history, Day today, bool taken,
                         const DailyResult& result) {
  const std::string taken_line = "The result of " + FormatDate(result.day) +
                                 " was recorded first by another session:\n";
  return (history ? FormatDailyStats(*history, today) : "") +
         (taken ? taken_line : "") + ShareLine(result) + "\n";
}

std::string DailyPlayedAlready(const DailyHistory& history, Day today,
                               const DailyResult& done) {
  return "You have played the daily word of " + FormatDate(done.day) +
         " already.\n" + DailyClosing(&history, today, false, done);
}

#include "state/daily.h"

#include <algorithm>

#include "state/stats.h"
#include "text/text.h"

namespace {

bool Earlier(const DailyResult& a, const DailyResult& b) {
  return a.day != b.day ? a.day < b.day : a.list_id < b.list_id;
}

// The days in a row, back from `day`, on which every daily word of `results`
// (by date) was solved; *to_start: the count ran back to the earliest result
// kept, so the run may be longer than the results tell.
std::uint64_t SolvedDaysBack(const std::vector<DailyResult>& results, Day day,
                             bool* to_start) {
  std::size_t i = static_cast<std::size_t>(
      std::upper_bound(results.begin(), results.end(), day,
                       [](Day d, const DailyResult& r) { return d < r.day; }) -
      results.begin());
  std::uint64_t run = 0;
  for (Day next = day; i > 0 && results[i - 1].day == next; --next, ++run) {
    bool solved = true;
    for (; i > 0 && results[i - 1].day == next; --i) {
      solved = solved && results[i - 1].won;
    }
    if (!solved) {
      *to_start = false;
      return run;
    }
  }
  *to_start = i == 0;
  return run;
}

// The last day of the solved days in a row that `day` (solved) is one of.
Day LastSolvedDay(const std::vector<DailyResult>& results, Day day) {
  for (;;) {
    auto at =
        std::lower_bound(results.begin(), results.end(), day + 1,
                         [](const DailyResult& r, Day d) { return r.day < d; });
    bool solved = at != results.end() && at->day == day + 1;
    for (; solved && at != results.end() && at->day == day + 1; ++at) {
      solved = at->won;
    }
    if (!solved) return day;
    ++day;
  }
}

}  // namespace

const DailyResult* DailyHistory::Find(Day day, std::uint64_t list_id) const {
  for (const DailyResult& result : results) {
    if (result.day == day && result.list_id == list_id) return &result;
  }
  return nullptr;
}

// A day after the latest adds to the streak or starts it anew, without a
// look at the results; any other day is counted from the results, so that an
// earlier day caught up on joins the solved days around it, and a word of a
// day played that is not solved ends the run there.
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
  DailyResult kept = result;
  kept.misses = std::min(kept.misses, kMaxWinMisses + (kept.won ? 0 : 1));
  kept.hints = std::min(kept.hints, kept.misses);
  results.insert(
      std::upper_bound(results.begin(), results.end(), kept, Earlier), kept);
  std::uint64_t& streak = history->streak;
  if (!any || result.day > latest) {
    const bool goes_on = any && result.day == latest + 1;
    streak = result.won ? (goes_on ? streak : 0) + 1 : 0;
  } else {
    bool to_start = false;
    const std::uint64_t run = SolvedDaysBack(results, latest, &to_start);
    streak = to_start ? std::max(run, streak) : run;
  }
  streak = std::min(streak, history->won);
  std::uint64_t around = 0;
  if (result.won) {
    bool to_start = false;
    around =
        SolvedDaysBack(results, LastSolvedDay(results, result.day), &to_start);
  }
  history->best_streak =
      std::max({history->best_streak, streak, std::min(around, history->won)});
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
         CountOf(result.misses, "miss") +
         (result.hints > 0 ? ", " + CountOf(result.hints, "hint") : "");
}

// Field by field: the text is written on the way to the deepest calls of a
// round, where a long sum of strings would hold its pieces on the stack.
std::string FormatDailyLines(const DailyHistory& history) {
  if (history.played == 0 && history.results.empty()) return "";
  std::string text = "daily-counts";
  for (std::uint64_t count :
       {history.played, history.won, history.streak, history.best_streak}) {
    text += ' ';
    text += std::to_string(count);
  }
  text += '\n';
  for (const DailyResult& r : history.results) {
    text += "daily ";
    text += FormatDate(r.day);
    text += ' ';
    text += Hex(r.list_id, 16);
    text += r.won ? " solved " : " unsolved ";
    text += std::to_string(r.misses);
    if (r.hints > 0) {
      text += ' ';
      text += std::to_string(r.hints);
    }
    text += '\n';
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
  // The hints, a sixth field, are written only when there were any.
  DailyResult r;
  const bool sized = fields.size() == 5 || fields.size() == 6;
  const bool solved = sized && fields[3] == "solved";
  if (!sized || !ParseDate(fields[1], &r.day) || fields[2].size() != 16 ||
      !ParseNumber(fields[2], UINT64_MAX, &r.list_id, 16) ||
      (!solved && fields[3] != "unsolved") ||
      !ParseNumber(fields[4], kMaxWinMisses + (solved ? 0 : 1), &r.misses) ||
      (fields.size() == 6 && !ParseNumber(fields[5], r.misses, &r.hints))) {
    *why =
        "a daily line needs a date, a list, solved or unsolved, misses and "
        "perhaps hints";
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

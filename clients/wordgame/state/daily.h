#ifndef WORDGAME_STATE_DAILY_H_
#define WORDGAME_STATE_DAILY_H_

// The daily word's history: the result of each day's round, the daily
// statistics with their own streak, the line a player can pass on, and the
// history's lines of the state file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/calendar.h"

/// Daily results kept: a few years of one list, and a few more lists when
/// played side by side; the state file stays well within its size limit.
constexpr std::size_t kMaxDailyResults = 1000;

/// One daily round as it ended: the date, the list it was drawn from, and how
/// it went.
struct DailyResult {
  Day day = 0;
  std::uint64_t list_id = 0;
  bool won = false;
  /// At most kMaxWinMisses for a win, one more for a loss.
  std::uint64_t misses = 0;
  /// Hints taken, each one of the misses.
  std::uint64_t hints = 0;
};

/// The daily statistics and the results of the days played lately.
struct DailyHistory {
  std::uint64_t played = 0, won = 0;
  /// Days in a row, up to the latest day played, on which every daily word
  /// played was solved, whenever it was played; and the most there ever
  /// were. FormatDailyStats shows the streak as over once a day went by
  /// unplayed.
  std::uint64_t streak = 0, best_streak = 0;
  /// The latest results, by date; at most kMaxDailyResults, each day and list
  /// once.
  std::vector<DailyResult> results;

  /// The result of the day `day` with the list `list_id`, or null.
  const DailyResult* Find(Day day, std::uint64_t list_id) const;
};

/// Adds the round to *history, unless that day and list have a result
/// already (a daily word is played once). The streak is the solved days in
/// a row up to the latest day played, whenever each was played: a win the
/// day after the latest adds to it, a win on a later day starts it anew, a
/// loss ends it, and an earlier day solved joins the solved days around it
/// (the best streak counts that run too). Beyond kMaxDailyResults the earliest
/// results go. The misses are kept as at most kMaxWinMisses for a win and one
/// more for a loss.
void ApplyDaily(const DailyResult& result, DailyHistory* history);

/// The daily statistics in one line with its line feed, as on `today` (a
/// streak whose last day is before yesterday is over): "Daily words: 5
/// played, 4 solved; daily streak 2, best 3.\n"; "" when none was played.
std::string FormatDailyStats(const DailyHistory& history, Day today);

/// The one line a player can pass on, naming the date, the list, the misses
/// and any hints but not the word: "wordgame daily 2026-12-09 (list
/// 5be2b8c1): solved with 2 misses", ", 1 hint" after them when one was
/// taken.
std::string ShareLine(const DailyResult& result);

/// The history's lines of the state file (state_format.h), each ending in a
/// line feed; "" when no daily word was played, so that a file without daily
/// rounds stays as before.
std::string FormatDailyLines(const DailyHistory& history);

/// True when `key` starts a line of the daily history.
bool IsDailyKey(const std::string& key);

/// Reads one line of the daily history, split into fields, into *history.
/// False and *why on a breach of the format.
bool ParseDailyLine(const std::vector<std::string>& fields,
                    DailyHistory* history, std::string* why);

/// Once all lines are read: true when the history's counts fit each other;
/// else false and *why.
bool CheckDaily(const DailyHistory& history, std::string* why);

#endif  // WORDGAME_STATE_DAILY_H_

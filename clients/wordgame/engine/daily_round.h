#ifndef WORDGAME_ENGINE_DAILY_ROUND_H_
#define WORDGAME_ENGINE_DAILY_ROUND_H_

// The daily word's round, alike in both front ends: which days' words are
// out, and the lines that tell the round: its opening, a round left for
// another time, and what it shows last (the daily statistics and the line to
// pass on), also for a day played already. Match plays the round; the word
// is drawn by DailyWord (words/daily_word.h), the result kept in the daily
// history (state/daily.h).

#include <cstddef>
#include <string>

#include "state/calendar.h"
#include "state/daily.h"

/// True when the word of `day` is out on `today`. A later day's is not: its
/// result, ahead of today, would stall the daily streak; false and *err.
bool DailyWordIsOut(Day day, Day today, std::string* err);

/// The round's opening line: "The daily word of 2026-12-09: 3 letters."
std::string DailyOpening(Day day, std::size_t letters);

/// The closing line of a round left at no cost, which is not shown nor
/// remembered: its word is to be played another time.
std::string DailyLeftUnplayed(Day day);

/// What a counted round shows last, with its line feeds: the daily
/// statistics of `history` as on `today` (none when it is null: nothing is
/// recorded), then the line to pass on of `result`, the one kept; when that
/// is another session's, recorded first, a line before it says so (`taken`).
std::string DailyClosing(const DailyHistory* history, Day today, bool taken,
                         const DailyResult& result);

/// For the day `done` was played already: a line that says so, then its
/// result as DailyClosing shows it.
std::string DailyPlayedAlready(const DailyHistory& history, Day today,
                               const DailyResult& done);

#endif  // WORDGAME_ENGINE_DAILY_ROUND_H_

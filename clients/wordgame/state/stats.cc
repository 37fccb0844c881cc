#include "state/stats.h"

#include <algorithm>
#include <limits>

#include "text/text.h"

namespace {

// `part` of `whole` (not 0) in percent, rounded to the nearest, a half up:
// 4 of 6 is 67%.
std::uint64_t Percent(std::uint64_t part, std::uint64_t whole) {
  return (200 * part + whole) / (2 * whole);
}

// 200 * part + whole is at most 201 times the rounds played, which stay
// below 2 * kMaxCount: it never overflows.
static_assert(2 * kMaxCount <= std::numeric_limits<std::uint64_t>::max() / 201);

}  // namespace

void CountRound(bool won, std::size_t misses, Stats* stats) {
  if (stats->played() >= kMaxCount) {
    // The counts stay at the limit that the file's reader accepts.
  } else if (won) {
    ++stats->won;
    ++stats->streak;
    stats->best_streak = std::max(stats->best_streak, stats->streak);
    ++stats->wins_by_misses[std::min<std::uint64_t>(misses, kMaxWinMisses)];
  } else {
    ++stats->lost;
    stats->streak = 0;
  }
}

std::string FormatStats(const Stats& stats) {
  std::uint64_t played = stats.played();
  if (played == 0) return "No rounds played yet.\n";
  std::string text =
      "Rounds played: " + std::to_string(played) + ", won " +
      std::to_string(stats.won) + " (" +
      std::to_string(Percent(stats.won, played)) + "%), lost " +
      std::to_string(stats.lost) +
      ".\nWinning streak across sessions: " + std::to_string(stats.streak) +
      ", best " + std::to_string(stats.best_streak) + ".\n";
  if (stats.wins_by_misses.empty()) return text;
  // "Wins with 0 misses: 3, with 2: 1."
  bool first = true;
  for (const auto& [misses, wins] : stats.wins_by_misses) {
    text += first ? "Wins with " + CountOf(misses, "miss")
                  : ", with " + std::to_string(misses);
    text += ": " + std::to_string(wins);
    first = false;
  }
  return text + ".\n";
}

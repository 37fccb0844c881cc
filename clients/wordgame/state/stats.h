#ifndef WORDGAME_STATE_STATS_H_
#define WORDGAME_STATE_STATS_H_

// The player's statistics of single-player rounds: what a round adds to
// them, within the limits the state file keeps to, and how they are told.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

/// Counts above this are taken as damage: more rounds than anyone plays, and
/// small enough that sums of counts never overflow 64 bits.
constexpr std::uint64_t kMaxCount = 1'000'000'000'000'000;

/// The most misses a win can take: the next one loses the round. A win is
/// recorded with at most this many.
constexpr std::uint64_t kMaxWinMisses = 6;

/// The statistics of single-player rounds.
struct Stats {
  std::uint64_t won = 0, lost = 0;
  /// Wins in a row up to the last round, and the most there ever were.
  std::uint64_t streak = 0, best_streak = 0;
  /// Misses a win took -> how many wins took that many.
  std::map<std::uint64_t, std::uint64_t> wins_by_misses;

  std::uint64_t played() const { return won + lost; }
};

/// Adds a round to *stats: a win (with `misses`, recorded as at most
/// kMaxWinMisses) adds to the streak, a loss ends it. Once kMaxCount rounds
/// are played the counts stay as they are, so that they never pass what the
/// state file accepts.
void CountRound(bool won, std::size_t misses, Stats* stats);

/// The statistics in a few plain lines, each ending in a line feed, for the
/// player: rounds played, won (with the share) and lost; the winning streak
/// and the best one; the wins by the misses they took.
std::string FormatStats(const Stats& stats);

#endif  // WORDGAME_STATE_STATS_H_

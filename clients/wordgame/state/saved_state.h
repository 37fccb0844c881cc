#ifndef WORDGAME_STATE_SAVED_STATE_H_
#define WORDGAME_STATE_SAVED_STATE_H_

// What wordgame remembers between sessions: the statistics, and the words
// played lately from each word list, so that a new session starts with words
// not seen for a while.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/daily.h"
#include "state/stats.h"
#include "words/deck.h"
#include "words/word_views.h"

/// Word lists whose recent words are kept. A player uses the shipped list and
/// a few of their own; a list not played while this many others were is
/// forgotten.
constexpr std::size_t kMaxRecentLists = 8;

/// Recent words kept per list at most (the oldest go first): a few years of
/// daily play, and 8 lists of them keep the file within a few MiB.
constexpr std::size_t kMaxRecentWords = 10000;

/// The words played lately from one word list.
struct RecentWords {
  std::uint64_t list_id = 0;
  /// Words in the list (all of it, before any choice of length or category).
  std::uint64_t list_size = 0;
  /// The words played in the pass of the list under way (Deck), oldest
  /// first, each once; at most list_size and kMaxRecentWords.
  std::vector<std::string> words;
  /// The words of the pass before held back (HeldBack), in the order they
  /// come back, one a round; none of them in `words`.
  std::vector<std::string> held;
};

/// Everything the state file holds.
struct SavedState {
  Stats stats;
  /// The daily words played (none in a file from before them).
  DailyHistory daily;
  /// The list played most recently first; at most kMaxRecentLists.
  std::vector<RecentWords> lists;

  /// The words played lately from the list `list_id` (none for a list not
  /// played lately).
  RecentWords Recent(std::uint64_t list_id) const;
  /// Makes this a fresh state, as SavedState() is. Out of line, so that the
  /// fresh one it is moved from is not on the stack of its callers, which
  /// read the state file on the way to the deepest calls of a round.
  void Clear();
};

/// One single-player round as it ended.
struct RoundResult {
  bool won = false;
  /// Misses the round took, hints included.
  std::size_t misses = 0;
  /// The secret, remembered as played from the list `list_id` when it is a
  /// word of 1 to kMaxWordLetters letters a-z and list_size is above 0.
  std::string word;
  std::uint64_t list_id = 0;
  std::size_t list_size = 0;
  /// False for a round left unfinished at no cost: only its word is
  /// remembered, the statistics stay as they are.
  bool counted = true;
  /// A daily word's round, of the day `day`: counted in the daily history,
  /// not in the statistics of other rounds.
  bool daily = false;
  Day day = 0;
  /// Hints taken, kept for a daily round only.
  std::size_t hints = 0;
};

/// Where a deck of `words` (distinct, in the codes of `alphabet`) takes up
/// the play of `recent`: the indices of its words among the words played
/// and those held back, in their order.
DeckStart StartOf(const WordViews& words, const Alphabet& alphabet,
                  const RecentWords& recent);

/// Adds the round to *state: the counts and streaks; the word goes last in
/// its list's recent words (once), the first word held back comes back, and
/// the list goes first among the lists. When the recent words hold the whole
/// list, a new pass starts as a Deck's does: the last HeldBack of them are
/// held back, and none is played; beyond kMaxRecentWords the oldest go,
/// beyond kMaxRecentLists the list played longest ago. The counts go as
/// CountRound has them, or for a daily round as ApplyDaily has them.
void ApplyRound(const RoundResult& round, SavedState* state);

#endif  // WORDGAME_STATE_SAVED_STATE_H_

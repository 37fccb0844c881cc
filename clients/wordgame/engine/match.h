#ifndef WORDGAME_ENGINE_MATCH_H_
#define WORDGAME_ENGINE_MATCH_H_

// Who plays a session's rounds and what each round counts for, alike in both
// front ends. One player: the words come from a deck, each has its category
// as a clue, and each finished round goes into the saved statistics (when a
// recorder is given). Two players: they take turns, one typing a word that the
// other guesses; nothing is saved.
//
// Two players' scores: every finished round has one winner. The guesser wins
// it by finding the word; when the word is not found (seven misses, or given
// up), the setter wins it. The winner's score counts a win, the other's a
// loss (so a streak is rounds won in a row, setting or guessing). The first
// player sets the first word, and the roles change with every round.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/round.h"
#include "engine/round_recorder.h"
#include "state/daily.h"
#include "state/saved_state.h"
#include "words/deck.h"
#include "words/word_list.h"

/// The longest player name: a first name or a nickname, and short enough that
/// both players' scores fit one line of 80 columns in the short form.
constexpr std::size_t kMaxNameLength = 20;

/// Reads the two names of "--names A,B": apart by one comma, blanks around
/// each dropped, each 1 to kMaxNameLength printable ASCII characters, the two
/// different. False and *err (one line) otherwise.
bool ParseNames(const std::string& text, std::string* first,
                std::string* second, std::string* err);

class Match {
 public:
  /// One player, with the words of `words` (which must outlive the match);
  /// no clues, nothing saved.
  explicit Match(WordSource& words);
  /// Two players of these names.
  Match(std::string first, std::string second);
  Match(const Match&) = delete;
  Match& operator=(const Match&) = delete;

  /// One player: a word's clue is its category in `list` (which must outlive
  /// the match).
  void set_clues(const WordList* list) { clues_ = list; }
  /// One player: every finished round is reported to `recorder` (which must
  /// outlive the match), starting from `saved`, its word as played from the
  /// list `list_id` of `list_size` words.
  void set_recorder(RoundRecorder* recorder, SavedState saved,
                    std::uint64_t list_id, std::size_t list_size);

  /// One player: the match is the single round of the daily word of `day`
  /// for the list `list_id` (from a source that offers only that word),
  /// recorded in the daily history as on `today`.
  void set_daily(Day day, Day today, std::uint64_t list_id);
  /// True for the daily word's round: one round, no more.
  bool daily() const { return daily_; }
  /// The daily word's date as shown ("2026-12-09"); "" for other matches.
  std::string daily_date() const;

  bool two_players() const { return players_.size() == 2; }
  /// Two players: who sets the word of the next round (or of the round in
  /// play), and who guesses it.
  const std::string& setter() const;
  const std::string& guesser() const;
  /// Two players: checks the word the setter typed, tidied as a guess is: 1
  /// to kMaxWordLetters letters a-z. True when the next round plays it; else
  /// false and *why, one line for the setter.
  bool SetWord(const std::string& typed, std::string* why);

  /// Where the next round's words come from: the deck, or the word set.
  WordSource& words();
  /// The clue for the word `secret` (its category), or "" for none.
  std::string Clue(const std::string& secret) const;
  /// The line that opens a round: "A new word of 3 letters.", or for two
  /// players who guesses whose word.
  std::string Opening(const Round& round) const;

  /// Counts the round just over (won, lost or given up) for its players and,
  /// with a recorder, reports it there. Returns the round's closing line: the
  /// word, and for two players who won the round. *note is "" or one line
  /// for standard error (statistics that could not be saved, a damaged file
  /// set aside); play goes on either way.
  Answer Finish(const Round& round, std::string* note);

  /// One player leaving `round` while it is in play (a quit, the end of
  /// input, a signal): its word, now shown, is remembered as played, and a
  /// round with a miss counts as lost, so that leaving cannot dodge a loss;
  /// one left at no cost does not count. Returns the round's closing line,
  /// which says when it counts. With two players only the line. A daily word
  /// left at no cost is neither shown nor remembered, to be played another
  /// time. *note as Finish.
  Answer Leave(const Round& round, std::string* note);

  /// One score per player, named when there are two.
  std::vector<PlayerScore> Scores() const;
  /// The scores in one line: "2 won, 1 lost, winning streak 0.", or each
  /// player's by name.
  std::string ScoreText() const;
  /// The saved statistics (FormatStats) when rounds are recorded, else "".
  /// For the daily word, the daily statistics (FormatDailyStats) once the
  /// round counted, then the line to pass on (ShareLine) of the result the
  /// recorder kept: another session's when it recorded that day's word first,
  /// after a line that says so when that result is not this round's.
  std::string StatsText() const;
  /// What the front ends show last: "Final score: " and the scores, then the
  /// statistics; for the daily word only the statistics.
  std::string ClosingText() const;

 private:
  // The word of a two-player round.
  class SetWordSource : public WordSource {
   public:
    std::vector<std::string> NextRound(std::string* note) override;
    void Played(const std::string&) override {}
    const Alphabet& alphabet() const override { return LatinAlphabet(); }
    std::string word;
  };

  // Finish for two players: counts the round for both, and the closing line
  // says who won it.
  Answer FinishForTwo(const Round& round, bool found);

  // Counts the single player's round (unless it is left at no cost) and
  // reports it to the recorder.
  void Record(const Round& round, bool won, bool counted, std::string* note);

  std::vector<PlayerScore> players_;
  WordSource* deck_ = nullptr;
  SetWordSource set_word_;
  std::size_t turn_ = 0;  // rounds finished: who sets the next word
  const WordList* clues_ = nullptr;
  RoundRecorder* recorder_ = nullptr;
  SavedState saved_;
  std::uint64_t list_id_ = 0;
  std::size_t list_size_ = 0;
  bool daily_ = false;
  Day today_ = 0;
  // The daily round's day and list, and whether it counted and how.
  DailyResult daily_result_;
  bool daily_counted_ = false;
  // Another session recorded the day's word first, with another result.
  bool daily_taken_ = false;
};

#endif  // WORDGAME_ENGINE_MATCH_H_

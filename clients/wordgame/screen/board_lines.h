#ifndef WORDGAME_SCREEN_BOARD_LINES_H_
#define WORDGAME_SCREEN_BOARD_LINES_H_

// The board of the full screen: what it holds, and each of its parts (the
// word, the alphabet, the misses, the wrong words, the header, the key line,
// the answer) as painted lines of a given width. How the parts share a
// screen is the layout's (screen_layout.h).

#include <cstddef>
#include <string>
#include <vector>

#include "engine/round.h"
#include "screen/screen_grid.h"

/// What the keys do at the moment, for the key line. kSettingWord: a player
/// types the word the other is to guess, which the board never holds.
enum class KeyMode {
  kGuessing,
  kTypingWord,
  kConfirmingGiveUp,
  kConfirmingHint,
  kRoundOver,
  kDailyOver,  // after the daily word's one round
  kHelp,
  kSettingWord
};

/// A letter of the alphabet line as the board shows it (LetterMark), and
/// its state.
struct BoardLetter {
  std::string mark;
  LetterState state = LetterState::kUntried;
};

/// Everything the full screen shows.
struct Board {
  /// The letters of the words below, whose codes they are written in.
  const Alphabet* alphabet = &LatinAlphabet();
  /// The word, one code per letter: the letter once found, else "_".
  std::string shown;
  /// The whole word once the round is lost (given up too), shown in place of
  /// `shown` with the letters not found marked; "" otherwise.
  std::string word;
  /// The alphabet line's letters, in order.
  std::vector<BoardLetter> letters;
  std::vector<std::string> missed_letters, missed_words;
  std::size_t misses = 0;
  /// Hints taken, each one of the misses.
  std::size_t hints = 0;
  /// A clue to the word (its category, say), "" for none.
  std::string clue;
  /// One entry per player.
  std::vector<PlayerScore> scores;
  /// The daily word's date ("2026-12-09"), named in place of the scores,
  /// which mean nothing for its one round; "" for other rounds.
  std::string daily_date;
  /// The answer to the last key or guess.
  Answer message;
  /// A hint shown after the answer, which it does not replace (after a
  /// round, the result stays in sight); "" for none.
  std::string hint;
  /// A line the player must not miss after a round (statistics that could
  /// not be saved), shown below the answer; "" for none.
  std::string note;
  /// The saved statistics, a few lines shown after a round; none when no
  /// statistics are kept.
  std::vector<std::string> stats;
  /// The whole word being typed, in KeyMode::kTypingWord, a "?" for each
  /// character but printable ASCII and the alphabet's letters; in
  /// KeyMode::kSettingWord a "*" per character typed.
  std::string typed;
  KeyMode mode = KeyMode::kGuessing;
  /// The page of the help shown, from 0, in KeyMode::kHelp (past the last
  /// one: the last).
  int help_page = 0;
};

/// The word in lines of `width`; a lost round shows it whole, misses marked.
std::vector<Line> WordLines(const Board& board, int width);

/// The letters (found in capitals, missed as "-") in as few lines of
/// `width` as they fit, spaced out where the width allows: a to z in 1 or
/// 2; more letters in 2 spaced lines rather than 1 unspaced.
std::vector<Line> AlphabetLines(const std::vector<BoardLetter>& letters,
                                int width);

/// "misses 3 of 7: x q z" ("misses 3 of 7 (1 hint): x q" after a hint), or
/// the count alone where the letters do not fit.
Line MissesLine(const Board& board, int width);

/// `words` in at most `max_lines` of `width`, the rest counted ("+3 more").
std::vector<Line> WrongWordLines(const std::vector<std::string>& words,
                                 int width, int max_lines);

/// "wordgame" and the score (or the daily date), shortened to `width`; two
/// players' names are cut, or left out, before a score is.
Line Header(const Board& board, int width);

/// What the keys do in `mode`, shortened to `width`.
std::string KeyLine(KeyMode mode, int width);

/// The answer (in brief where it does not fit whole), then its hint, in at
/// most `max_lines` of `width`, by sentence.
std::vector<Line> MessageLines(const Board& board, int width, int max_lines);

#endif  // WORDGAME_SCREEN_BOARD_LINES_H_

#ifndef WORDGAME_SCREEN_SCREEN_LAYOUT_H_
#define WORDGAME_SCREEN_SCREEN_LAYOUT_H_

// The layout of the full screen: what a board holds, and how it is drawn
// onto the grid (Screen), fitted to the grid's size.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/round.h"
#include "screen/screen_grid.h"

/// The smallest screen the board is drawn on; a smaller one shows only a
/// line asking for a larger window. Below it the word, the answer and the key
/// line no longer fit side by side with the score.
constexpr int kMinRows = 6;
constexpr int kMinCols = 20;

/// The largest board: a larger window shows it in its middle, framed by
/// blanks, rather than spreading it out (the classic terminal's size).
constexpr int kBoardRows = 24;
constexpr int kBoardCols = 80;

/// What the keys do at the moment, for the key line. kSettingWord: a player
/// types the word the other is to guess, which the board never holds.
enum class KeyMode {
  kGuessing,
  kTypingWord,
  kConfirmingGiveUp,
  kRoundOver,
  kDailyOver,  // after the daily word's one round
  kHelp,
  kSettingWord
};

/// Everything the full screen shows.
struct Board {
  /// The word, one character per letter: the letter once found, else "_".
  std::string shown;
  /// The whole word once the round is lost (given up too), shown in place of
  /// `shown` with the letters not found marked; "" otherwise.
  std::string word;
  /// The state of each letter a to z.
  LetterState letters[26] = {};
  std::vector<std::string> missed_letters, missed_words;
  std::size_t misses = 0;
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
  /// character but printable ASCII; in KeyMode::kSettingWord a "*" per
  /// character typed.
  std::string typed;
  KeyMode mode = KeyMode::kGuessing;
  /// The page of the help shown, from 0, in KeyMode::kHelp (past the last
  /// one: the last).
  int help_page = 0;
};

/// Draws `board` onto `screen` (blank before), fitted to its size: from
/// kMinRows x kMinCols up the word, the answer and the key line always show;
/// the statistics, the drawing, the note's later lines, the spacing, the
/// clue, the answer's second line, the note, the alphabet and the score give
/// way in turn as rows run short.
/// A window larger than kBoardRows x kBoardCols shows the board of that
/// size centred. KeyMode::kHelp shows the rules instead; KeyMode::kSettingWord
/// only the score, the line being typed, the answer and the keys.
void Draw(const Board& board, Screen* screen);

#endif  // WORDGAME_SCREEN_SCREEN_LAYOUT_H_

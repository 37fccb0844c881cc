#ifndef WORDGAME_SCREEN_H_
#define WORDGAME_SCREEN_H_

// The full screen as a model: a grid of characters and their paints that the
// layout draws a board onto, fitted to the grid's size. The terminal front
// end copies the grid to the terminal; tests read it without one.

#include <cstddef>
#include <string>
#include <vector>

#include "round.h"

/// The smallest screen the board is drawn on; a smaller one shows only a
/// line asking for a larger window. Below it the word, the answer and the key
/// line no longer fit side by side with the score.
constexpr int kMinRows = 6;
constexpr int kMinCols = 20;

/// How a cell is drawn. The terminal front end shows kGood and kBad in
/// colour where colour is allowed; the shapes carry the meaning without it
/// (found letters in capitals, missed ones as "-").
enum class Paint : unsigned char { kPlain, kBold, kGood, kBad, kBar };

class Screen {
 public:
  /// A blank grid of `rows` x `cols` (each at least 1).
  Screen(int rows, int cols);
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  /// Writes `text` (one line of printable ASCII) from (row, col) on; what
  /// falls outside the grid is dropped.
  void Put(int row, int col, const std::string& text,
           Paint paint = Paint::kPlain);
  /// Row r: cols() characters, blanks where nothing was written.
  const std::string& Row(int r) const { return text_[r]; }
  Paint PaintAt(int r, int c) const { return paint_[r][c]; }
  /// Every row, each followed by a line feed.
  std::string Text() const;
  /// Where the cursor shows (the word being typed); row -1 hides it.
  void SetCursor(int row, int col) {
    cursor_row_ = row;
    cursor_col_ = col;
  }
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }

 private:
  int rows_, cols_;
  std::vector<std::string> text_;
  std::vector<std::vector<Paint>> paint_;
  int cursor_row_ = -1, cursor_col_ = 0;
};

/// What the keys do at the moment, for the key line. kSettingWord: a player
/// types the word the other is to guess, which the board never holds.
enum class KeyMode { kGuessing, kTypingWord, kRoundOver, kHelp, kSettingWord };

/// Everything the full screen shows.
struct Board {
  /// The word, one character per letter: the letter once found, else "_".
  std::string shown;
  /// The state of each letter a to z.
  LetterState letters[26] = {};
  std::vector<std::string> missed_letters, missed_words;
  std::size_t misses = 0;
  /// A clue to the word (its category, say), "" for none.
  std::string clue;
  /// One entry per player.
  std::vector<PlayerScore> scores;
  /// The answer to the last key or guess.
  Answer message;
  /// The saved statistics, a few lines shown after a round; none when no
  /// statistics are kept.
  std::vector<std::string> stats;
  /// The whole word being typed, in KeyMode::kTypingWord; in
  /// KeyMode::kSettingWord a "*" per letter typed.
  std::string typed;
  KeyMode mode = KeyMode::kGuessing;
};

/// Draws `board` onto `screen` (blank before), fitted to its size: from
/// kMinRows x kMinCols up the word, the answer and the key line always show;
/// the statistics, the drawing, the spacing, the clue, the answer's second
/// line, the alphabet and the score give way in turn as rows run short.
/// KeyMode::kHelp shows the rules instead; KeyMode::kSettingWord only the
/// score, the line being typed, the answer and the keys.
void Draw(const Board& board, Screen* screen);

#endif  // WORDGAME_SCREEN_H_

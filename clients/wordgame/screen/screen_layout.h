#ifndef WORDGAME_SCREEN_SCREEN_LAYOUT_H_
#define WORDGAME_SCREEN_SCREEN_LAYOUT_H_

// The layout of the full screen: the board's parts (board_lines.h) composed
// onto the grid (Screen), fitted to the grid's size.

#include <limits>

#include "screen/board_lines.h"
#include "screen/screen_grid.h"
#include "screen/screen_size.h"

/// Lines of the answer, and of wrong words, at most: the answers are short
/// sentences, and a longer list of wrong words is shortened with a count.
constexpr int kMessageLines = 2;
constexpr int kWrongWordLines = 2;
/// All the lines of the statistics (or the note), before they give way.
constexpr int kAllLines = std::numeric_limits<int>::max();

/// Which of the board's parts are shown; by default all of them.
struct Plan {
  bool panel_spacers = true, key_spacer = true, drawing = true,
       header_spacer = true, message_spacer = true, alphabet = true,
       clue = true, header = true, misses = true;
  /// The count of misses after the word's last piece, where that has room,
  /// rather than on a line of its own.
  bool misses_by_word = false;
  int message_lines = kMessageLines;
  int note_lines = kAllLines;
  int wrong_lines = kWrongWordLines;
  int stats_lines = kAllLines;
};

/// The parts of `board` that show on rows x cols (kMinRows x kMinCols up to
/// kBoardRows x kBoardCols): they give way in the order Draw names until the
/// board fits (all of them when it never does), then those that fit again
/// come back, the most important first.
Plan FitPlan(const Board& board, int rows, int cols);

/// Draws `board` onto `screen` (blank before), fitted to its size: from
/// kMinRows x kMinCols up the word, the answer, the count of misses and the
/// key line always show (the count beside a long word's last piece where
/// rows run short); in play the answer has the rows of its longest form,
/// whatever its length now, so that the board does not move as answers
/// change;
/// the statistics, the drawing, the note's later lines, the spacing, the
/// clue, the answer's second line, the note, the alphabet and the score give
/// way in turn as rows run short.
/// A window larger than kBoardRows x kBoardCols shows the board of that
/// size centred. KeyMode::kHelp shows the rules instead; KeyMode::kSettingWord
/// only the score, the line being typed, the answer and the keys.
void Draw(const Board& board, Screen* screen);

#endif  // WORDGAME_SCREEN_SCREEN_LAYOUT_H_

#ifndef WORDGAME_SCREEN_SCREEN_LAYOUT_H_
#define WORDGAME_SCREEN_SCREEN_LAYOUT_H_

// The layout of the full screen: the board's parts (board_lines.h) composed
// onto the grid (Screen), fitted to the grid's size.

#include "screen/board_lines.h"
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

#ifndef WORDGAME_SCREEN_SCREEN_SIZE_H_
#define WORDGAME_SCREEN_SCREEN_SIZE_H_

// The sizes the full screen is fitted to, by the board's layout and by the
// help's pages alike.

/// The smallest screen the board is drawn on; a smaller one shows only a
/// line asking for a larger window. Below it the word, the answer and the key
/// line no longer fit side by side with the score.
constexpr int kMinRows = 6;
constexpr int kMinCols = 20;

/// The largest board: a larger window shows it in its middle, framed by
/// blanks, rather than spreading it out (the classic terminal's size).
constexpr int kBoardRows = 24;
constexpr int kBoardCols = 80;

#endif  // WORDGAME_SCREEN_SCREEN_SIZE_H_

#ifndef WORDGAME_SCREEN_SCREEN_HELP_H_
#define WORDGAME_SCREEN_SCREEN_HELP_H_

// The full screen's help: the rules and every key, in pages that fit the
// screen, each with its number and the keys that turn them.

#include "screen/screen_grid.h"

/// The number of pages the help takes on a screen of rows x cols (1 where
/// the screen is too small for any board).
int HelpPages(int rows, int cols);

/// Draws page `page` (from 0; past the last one, the last) of the help onto
/// `screen` (blank before).
void DrawHelp(int page, Screen* screen);

#endif  // WORDGAME_SCREEN_SCREEN_HELP_H_

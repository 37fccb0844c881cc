#ifndef WORDGAME_PLAY_H_
#define WORDGAME_PLAY_H_

// The rounds of wordgame: the board, the guesses, the end of each round.

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

#include "game_folder.h"

/// The gallows after `misses` bad guesses, one line per row: an empty frame
/// at 0, the whole figure from 7 (a lost game) on.
std::string Gallows(std::size_t misses);

/// Plays rounds over `folder`'s words, one guess per line of `in`, until the
/// player declines another round or `in` ends. `colour` adds terminal colours.
void PlayRounds(GameFolder& folder, std::istream& in, std::ostream& out,
                bool colour);

#endif  // WORDGAME_PLAY_H_

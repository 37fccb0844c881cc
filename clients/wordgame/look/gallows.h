#ifndef WORDGAME_LOOK_GALLOWS_H_
#define WORDGAME_LOOK_GALLOWS_H_

// The drawing that both boards show, a part for each miss.

#include <cstddef>
#include <string>
#include <vector>

/// The gallows after `misses` bad guesses, one string per row, all of one
/// width: an empty frame at 0, the whole figure from kMisses (a lost round) on.
std::vector<std::string> GallowsRows(std::size_t misses);

/// GallowsRows joined by line feeds, without one at the end.
std::string Gallows(std::size_t misses);

#endif  // WORDGAME_LOOK_GALLOWS_H_

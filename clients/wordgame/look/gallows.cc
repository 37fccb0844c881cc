#include "look/gallows.h"

#include <algorithm>
#include <iterator>

#include "engine/round.h"

namespace {

// The empty frame, and the parts added one per miss: row, column, character.
constexpr const char* kFrame[] = {
    "  +---+", "      |", "      |",   "      |",
    "      |", "      |", "=========",
};
struct Part {
  int row, col;
  char c;
};
constexpr Part kParts[kMisses] = {{1, 2, '|'}, {2, 2, 'O'},  {3, 2, '|'},
                                  {3, 1, '/'}, {3, 3, '\\'}, {4, 1, '/'},
                                  {4, 3, '\\'}};

}  // namespace

std::vector<std::string> GallowsRows(std::size_t misses) {
  std::vector<std::string> rows(std::begin(kFrame), std::end(kFrame));
  for (std::size_t i = 0; i < std::min(misses, kMisses); ++i) {
    rows[kParts[i].row][kParts[i].col] = kParts[i].c;
  }
  return rows;
}

std::string Gallows(std::size_t misses) {
  std::string drawing;
  for (const std::string& row : GallowsRows(misses)) drawing += row + '\n';
  drawing.pop_back();
  return drawing;
}

#include "screen/screen_help.h"

#include <algorithm>
#include <string>
#include <vector>

#include "look/rules.h"
#include "screen/screen_size.h"

namespace {

// The rules wrapped to `width`, in the order they are read.
std::vector<std::string> HelpLines(int width) {
  std::vector<std::string> lines;
  for (const std::string& paragraph : ScreenRules()) {
    for (const std::string& l : Wrap(paragraph, width)) lines.push_back(l);
  }
  return lines;
}

// Rules lines on one page: the title and the key line take a row each.
int HelpLinesPerPage(int rows) { return std::max(1, rows - 2); }

}  // namespace

// A page of the help: the title with the page's number, the rules' lines of
// that page and the key line.
void DrawHelp(int page, Screen* screen) {
  const int width = screen->cols(), rows = screen->rows();
  const std::vector<std::string> lines = HelpLines(width);
  const int per_page = HelpLinesPerPage(rows);
  const int pages = HelpPages(rows, width);
  page = std::clamp(page, 0, pages - 1);
  screen->Put(0, 0,
              Fit({"How to play (page " + std::to_string(page + 1) + " of " +
                       std::to_string(pages) + ")",
                   "How to play " + std::to_string(page + 1) + "/" +
                       std::to_string(pages)},
                  width),
              Paint::kBold);
  for (int i = 0; i < per_page; ++i) {
    const std::size_t at = static_cast<std::size_t>(page * per_page + i);
    if (at < lines.size()) screen->Put(1 + i, 0, lines[at]);
  }
  std::string keys =
      page + 1 < pages
          ? Fit({"Space or PgDn: next page   PgUp: back a page"
                 "   other keys: the game",
                 "Space: next  PgUp: back  other: game", "Space next page"},
                width)
      : pages > 1 ? Fit({"PgUp: back a page   any other key: the game",
                         "PgUp: back  other: game", "any key: back"},
                        width)
                  : Fit({"any key: back to the game", "any key: back"}, width);
  keys.resize(width, ' ');
  screen->Put(rows - 1, 0, keys, Paint::kBar);
}

int HelpPages(int rows, int cols) {
  rows = std::min(rows, kBoardRows);
  cols = std::min(cols, kBoardCols);
  if (rows < kMinRows || cols < kMinCols) return 1;
  const int lines = static_cast<int>(HelpLines(cols).size());
  const int per_page = HelpLinesPerPage(rows);
  return std::max(1, (lines + per_page - 1) / per_page);
}

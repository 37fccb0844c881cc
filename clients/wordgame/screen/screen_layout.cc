#include "screen/screen_layout.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "look/gallows.h"
#include "screen/screen_help.h"

namespace {

// The drawing's width (its base) and the blanks between it and the word.
constexpr int kDrawingCols = 9;
constexpr int kDrawingGap = 3;
// From this width the drawing stands beside the word and the letters, which
// then still get the 26 columns of the alphabet in one line.
constexpr int kBesideCols = kDrawingCols + kDrawingGap + 26;
// Lines of the answer, and of wrong words, at most: the answers are short
// sentences, and a longer list of wrong words is shortened with a count.
constexpr int kMessageLines = 2;
constexpr int kWrongWordLines = 2;
// All the lines of the statistics, before they give way.
constexpr int kAllLines = std::numeric_limits<int>::max();

// What is shown; the layout takes parts away in order until it fits.
struct Plan {
  bool panel_spacers = true, key_spacer = true, drawing = true,
       header_spacer = true, message_spacer = true, alphabet = true,
       clue = true, header = true, misses = true;
  int message_lines = kMessageLines;
  int note_lines = kAllLines;
  int wrong_lines = kWrongWordLines;
  int stats_lines = kAllLines;
};

// The lines from the top (score, clue, drawing, word, letters, misses), those
// that follow them (word being typed, answer, statistics), and those on the
// bottom rows (the key line).
struct Composition {
  std::vector<Line> top, middle, bottom;
  int typed_row = -1;  // in `middle`, when typing a word
  std::size_t height() const {
    return top.size() + middle.size() + bottom.size();
  }
};

Composition Compose(const Board& board, const Plan& plan, int width) {
  Composition c;
  if (plan.header) c.top.push_back(Header(board, width));
  if (plan.clue && !board.clue.empty()) {
    c.top.push_back(Plain(Fit({"clue: " + board.clue}, width)));
  }
  if (plan.header_spacer) c.top.emplace_back();
  // While a word is set there is no round to show yet.
  const bool round = board.mode != KeyMode::kSettingWord;
  const bool beside = round && plan.drawing && width >= kBesideCols;
  const int panel_width = beside ? width - kDrawingCols - kDrawingGap : width;
  std::vector<Line> panel;
  if (round) panel = WordLines(board, panel_width);
  if (round && plan.alphabet) {
    if (plan.panel_spacers) panel.emplace_back();
    for (Line& l : AlphabetLines(board.letters, panel_width))
      panel.push_back(l);
  }
  if (round && plan.panel_spacers) panel.emplace_back();
  if (round && plan.misses) panel.push_back(MissesLine(board, panel_width));
  for (Line& l : WrongWordLines(board.missed_words, panel_width,
                                round ? plan.wrong_lines : 0)) {
    panel.push_back(l);
  }
  std::vector<std::string> drawing;
  if (round && plan.drawing) drawing = GallowsRows(board.misses);
  if (beside) {
    std::size_t rows = std::max(drawing.size(), panel.size());
    for (std::size_t i = 0; i < rows; ++i) {
      std::string left = i < drawing.size() ? drawing[i] : "";
      left.resize(kDrawingCols + kDrawingGap, ' ');
      Line line = Plain(left);
      if (i < panel.size())
        line.insert(line.end(), panel[i].begin(), panel[i].end());
      c.top.push_back(line);
    }
  } else {
    for (const std::string& row : drawing) c.top.push_back(Plain(row));
    c.top.insert(c.top.end(), panel.begin(), panel.end());
  }
  if (plan.message_spacer) c.middle.emplace_back();
  if (board.mode == KeyMode::kTypingWord ||
      board.mode == KeyMode::kSettingWord) {
    // The end of a word longer than the line stays in sight.
    const std::string prompt = "word: ";
    std::string typed = board.typed;
    int room = width - static_cast<int>(prompt.size()) - 1;
    if (static_cast<int>(typed.size()) > room)
      typed.erase(0, typed.size() - room);
    c.typed_row = static_cast<int>(c.middle.size());
    c.middle.push_back({{prompt, Paint::kPlain}, {typed, Paint::kBold}});
  }
  for (Line& l : MessageLines(board, width, plan.message_lines))
    c.middle.push_back(l);
  if (!board.note.empty()) {
    for (const std::string& l :
         WrapSentences(board.note, width, plan.note_lines)) {
      c.middle.push_back(Plain(l, Paint::kBad));
    }
  }
  int stats_lines = 0;
  for (const std::string& stat : board.stats) {
    for (const std::string& l : Wrap(stat, width)) {
      if (stats_lines++ < plan.stats_lines) c.middle.push_back(Plain(l));
    }
  }
  if (plan.key_spacer) c.bottom.emplace_back();
  std::string keys = KeyLine(board.mode, width);
  keys.resize(width, ' ');
  c.bottom.push_back(Plain(keys, Paint::kBar));
  return c;
}

}  // namespace

// Parts give way in this order until the whole fits in the rows there are;
// rows left over stay blank above the key line.
void Draw(const Board& board, Screen* screen) {
  const int rows = screen->rows(), cols = screen->cols();
  if (rows < kMinRows || cols < kMinCols) {
    screen->Put(0, 0,
                Fit({"Please make the window larger (at least " +
                         std::to_string(kMinCols) + "x" +
                         std::to_string(kMinRows) + ").",
                     "Window too small: " + std::to_string(kMinCols) + "x" +
                         std::to_string(kMinRows) + " needed",
                     "Enlarge the window", "Too small"},
                    cols));
    screen->Put(1, 0, Fit({"Esc or Ctrl-D quits.", "Esc quits"}, cols));
    return;
  }
  if (rows > kBoardRows || cols > kBoardCols) {
    Screen middle(std::min(rows, kBoardRows), std::min(cols, kBoardCols));
    Draw(board, &middle);
    screen->Paste((rows - middle.rows()) / 2, (cols - middle.cols()) / 2,
                  middle);
    return;
  }
  if (board.mode == KeyMode::kHelp) {
    DrawHelp(board.help_page, screen);
    return;
  }
  Plan plan;
  // Each step gives a part up (true) or takes it back (false).
  const std::vector<std::function<void(bool)>> give_way = {
      [&](bool up) { plan.stats_lines = up ? 1 : kAllLines; },
      [&](bool up) { plan.stats_lines = up ? 0 : 1; },
      [&](bool up) { plan.panel_spacers = !up; },
      [&](bool up) { plan.key_spacer = !up; },
      [&](bool up) { plan.drawing = !up; },
      [&](bool up) { plan.note_lines = up ? 1 : kAllLines; },
      [&](bool up) { plan.header_spacer = !up; },
      [&](bool up) { plan.message_spacer = !up; },
      [&](bool up) { plan.wrong_lines = up ? 1 : kWrongWordLines; },
      [&](bool up) { plan.wrong_lines = up ? 0 : 1; },
      [&](bool up) { plan.clue = !up; },
      [&](bool up) { plan.message_lines = up ? 1 : kMessageLines; },
      [&](bool up) { plan.note_lines = up ? 0 : 1; },
      [&](bool up) { plan.alphabet = !up; },
      [&](bool up) { plan.header = !up; },
      [&](bool up) { plan.misses = !up; },
  };
  const std::size_t room = static_cast<std::size_t>(rows);
  Composition c = Compose(board, plan, cols);
  std::size_t given = 0;
  for (; given < give_way.size() && c.height() > room; ++given) {
    give_way[given](true);
    c = Compose(board, plan, cols);
  }
  // A later part may have freed more room than was needed: the earlier ones
  // come back where they fit again, the most important first.
  for (std::size_t i = given; i-- > 1;) {
    give_way[i - 1](false);
    Composition more = Compose(board, plan, cols);
    if (more.height() <= room) {
      c = more;
    } else {
      give_way[i - 1](true);
    }
  }
  for (std::size_t i = 0; i < c.top.size(); ++i) {
    screen->PutLine(static_cast<int>(i), c.top[i]);
  }
  // The answer and the key line are drawn last, and the answer as high as
  // room below it allows: they win if even the leanest top is too tall (a
  // long word on a small screen).
  const int keys = rows - static_cast<int>(c.bottom.size());
  const int middle = std::min(static_cast<int>(c.top.size()),
                              keys - static_cast<int>(c.middle.size()));
  for (std::size_t i = 0; i < c.middle.size(); ++i) {
    screen->PutLine(middle + static_cast<int>(i), c.middle[i]);
  }
  for (std::size_t i = 0; i < c.bottom.size(); ++i) {
    screen->PutLine(keys + static_cast<int>(i), c.bottom[i]);
  }
  if (c.typed_row >= 0) {
    int col = 0;
    for (const Span& span : c.middle[c.typed_row]) {
      col += static_cast<int>(span.text.size());
    }
    screen->SetCursor(middle + c.typed_row, std::min(col, cols - 1));
  }
}

#include "screen/screen_layout.h"

#include <algorithm>

#include "look/gallows.h"
#include "screen/screen_help.h"
#include "text/utf8.h"

namespace {

// The drawing's width (its base) and the blanks between it and the word.
constexpr int kDrawingCols = 9;
constexpr int kDrawingGap = 3;
// From this width the drawing stands beside the word and the letters, which
// then still get the 26 columns of the alphabet in one line.
constexpr int kBesideCols = kDrawingCols + kDrawingGap + 26;
// The blanks between the word and the count of misses beside it.
constexpr int kCountGap = 2;
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

// The columns a line takes, a column a UTF-8 character.
int Width(const Line& line) {
  int width = 0;
  for (const Span& span : line) width += static_cast<int>(Columns(span.text));
  return width;
}

// The lines beside the drawing, or below it: the word, the alphabet, the
// misses and the wrong words. Where the plan says so, the count of misses
// goes after the word's last piece when that has room for it.
std::vector<Line> Panel(const Board& board, const Plan& plan, int width) {
  std::vector<Line> panel = WordLines(board, width);
  bool misses = plan.misses;
  if (misses && plan.misses_by_word && board.word.empty()) {
    Line& last = panel.back();
    const int room = width - Width(last) - kCountGap;
    const Line count = MissesLine(board, room);
    if (room > 0 && Width(count) < room) {
      last.push_back({std::string(kCountGap, ' '), Paint::kPlain});
      last.insert(last.end(), count.begin(), count.end());
      misses = false;
    }
  }
  if (plan.alphabet) {
    if (plan.panel_spacers) panel.emplace_back();
    for (Line& l : AlphabetLines(board.letters, width)) panel.push_back(l);
  }
  if (plan.panel_spacers) panel.emplace_back();
  if (misses) panel.push_back(MissesLine(board, width));
  for (Line& l : WrongWordLines(board.missed_words, width, plan.wrong_lines)) {
    panel.push_back(l);
  }
  return panel;
}

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
  if (round) panel = Panel(board, plan, panel_width);
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
    const int room = width - static_cast<int>(prompt.size()) - 1;
    while (static_cast<int>(Columns(typed)) > room) {
      std::size_t next = 0;
      char32_t first;
      NextChar(typed, &next, &first);
      typed.erase(0, next);
    }
    c.typed_row = static_cast<int>(c.middle.size());
    c.middle.push_back({{prompt, Paint::kPlain}, {typed, Paint::kBold}});
  }
  const std::size_t message_row = c.middle.size();
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
  // In play the rows of a two-line answer are kept for a shorter one too.
  while (board.stats.empty() && board.note.empty() &&
         c.middle.size() - message_row <
             static_cast<std::size_t>(plan.message_lines)) {
    c.middle.emplace_back();
  }
  if (plan.key_spacer) c.bottom.emplace_back();
  std::string keys = KeyLine(board.mode, width);
  keys.resize(width, ' ');
  c.bottom.push_back(Plain(keys, Paint::kBar));
  return c;
}

// Each step gives a part up (true) or takes it back (false), in the order
// the parts give way.
using GiveWayStep = void (*)(bool up, Plan* plan);
constexpr GiveWayStep kGiveWay[] = {
    [](bool up, Plan* p) { p->stats_lines = up ? 1 : kAllLines; },
    [](bool up, Plan* p) { p->stats_lines = up ? 0 : 1; },
    [](bool up, Plan* p) { p->panel_spacers = !up; },
    [](bool up, Plan* p) { p->key_spacer = !up; },
    [](bool up, Plan* p) { p->drawing = !up; },
    [](bool up, Plan* p) { p->note_lines = up ? 1 : kAllLines; },
    [](bool up, Plan* p) { p->header_spacer = !up; },
    [](bool up, Plan* p) { p->message_spacer = !up; },
    [](bool up, Plan* p) { p->wrong_lines = up ? 1 : kWrongWordLines; },
    [](bool up, Plan* p) { p->wrong_lines = up ? 0 : 1; },
    [](bool up, Plan* p) { p->clue = !up; },
    [](bool up, Plan* p) { p->message_lines = up ? 1 : kMessageLines; },
    [](bool up, Plan* p) { p->note_lines = up ? 0 : 1; },
    [](bool up, Plan* p) { p->alphabet = !up; },
    [](bool up, Plan* p) { p->header = !up; },
    [](bool up, Plan* p) { p->misses_by_word = up; },
    [](bool up, Plan* p) { p->misses = !up; },
};
constexpr std::size_t kSteps = sizeof kGiveWay / sizeof kGiveWay[0];

// The lines that ask for a larger window, and the key that quits.
void DrawTooSmall(Screen* screen) {
  const int cols = screen->cols();
  const std::string size =
      std::to_string(kMinCols) + "x" + std::to_string(kMinRows);
  screen->Put(0, 0,
              Fit({"Please make the window larger (at least " + size + ").",
                   "Window too small: " + size + " needed",
                   "Need a " + size + " window", "Too small: " + size,
                   "Needs " + size, size},
                  cols));
  screen->Put(1, 0, Fit({"Esc or Ctrl-D quits.", "Esc quits"}, cols));
}

// The board of at most kBoardRows x kBoardCols, in the middle of a larger
// screen.
void DrawCentred(const Board& board, Screen* screen) {
  const int rows = screen->rows(), cols = screen->cols();
  Screen middle(std::min(rows, kBoardRows), std::min(cols, kBoardCols));
  Draw(board, &middle);
  screen->Paste((rows - middle.rows()) / 2, (cols - middle.cols()) / 2, middle);
}

// Puts the composition on `screen`, whose rows it fits or which it overflows
// only when even the leanest plan is too tall; rows left over stay blank
// above the key line.
void Place(const Composition& c, Screen* screen) {
  const int rows = screen->rows(), cols = screen->cols();
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
    screen->SetCursor(middle + c.typed_row,
                      std::min(Width(c.middle[c.typed_row]), cols - 1));
  }
}

}  // namespace

// Parts give way in the order of kGiveWay until the whole fits in the rows
// there are. Taking a part back that does not fit gives it up again, which
// for the parts given up in two steps (the statistics, the note, the wrong
// words) leaves the trial plan as the first step had it; the plan returned
// is the last one that was composed and fitted.
Plan FitPlan(const Board& board, int rows, int cols) {
  Plan plan;
  const std::size_t room = static_cast<std::size_t>(rows);
  std::size_t given = 0;
  for (; given < kSteps && Compose(board, plan, cols).height() > room;
       ++given) {
    kGiveWay[given](true, &plan);
  }
  // A later part may have freed more room than was needed: the earlier ones
  // come back where they fit again, the most important first.
  Plan kept = plan;
  for (std::size_t i = given; i-- > 1;) {
    kGiveWay[i - 1](false, &plan);
    if (Compose(board, plan, cols).height() <= room) {
      kept = plan;
    } else {
      kGiveWay[i - 1](true, &plan);
    }
  }
  return kept;
}

void Draw(const Board& board, Screen* screen) {
  const int rows = screen->rows(), cols = screen->cols();
  if (rows < kMinRows || cols < kMinCols) {
    DrawTooSmall(screen);
  } else if (rows > kBoardRows || cols > kBoardCols) {
    DrawCentred(board, screen);
  } else if (board.mode == KeyMode::kHelp) {
    DrawHelp(board.help_page, screen);
  } else {
    Place(Compose(board, FitPlan(board, rows, cols), cols), screen);
  }
}

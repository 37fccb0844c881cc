#include "screen/screen_layout.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "look/gallows.h"
#include "screen/screen_help.h"
#include "text/text.h"

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

// The word spaced out when it fits, else in pieces of `width`. A lost round
// shows the whole word: each letter not found is painted as a miss and has a
// "^" below it, so that the marks show without colour too.
std::vector<Line> WordLines(const Board& board, int width) {
  const bool lost = !board.word.empty();
  const std::string& text = lost ? board.word : board.shown;
  const std::size_t size = text.size();
  const bool spaced = 2 * static_cast<int>(size) - 1 <= width;
  const std::size_t per_line = spaced ? size : static_cast<std::size_t>(width);
  std::vector<Line> lines;
  for (std::size_t at = 0; at < size; at += per_line) {
    std::string letters, marks;
    Line marked;
    for (std::size_t i = at; i < std::min(size, at + per_line); ++i) {
      const std::string gap = spaced && i > at ? " " : "";
      const bool missed = lost && board.shown[i] == '_';
      marked.push_back({gap, Paint::kPlain});
      marked.push_back(
          {std::string(1, text[i]), missed ? Paint::kBad : Paint::kBold});
      letters += gap + text[i];
      marks += gap + (missed ? "^" : " ");
    }
    lines.push_back(lost ? marked : Plain(letters, Paint::kBold));
    if (lost) lines.push_back(Plain(marks, Paint::kBad));
  }
  return lines;
}

// Untried letters as they are, found ones in capitals, missed ones as "-":
// in as few lines as fit, spaced out where the width allows.
std::vector<Line> AlphabetLines(const LetterState (&letters)[26], int width) {
  int per_line = width >= 26 ? 26 : 13;
  bool spaced = 2 * per_line - 1 <= width;
  std::vector<Line> lines;
  for (int i = 0; i < 26; ++i) {
    if (i % per_line == 0) {
      lines.emplace_back();
    } else if (spaced) {
      lines.back().push_back({" ", Paint::kPlain});
    }
    const LetterState state = letters[i];
    lines.back().push_back({LetterMark(static_cast<char>('a' + i), state),
                            state == LetterState::kFound    ? Paint::kGood
                            : state == LetterState::kMissed ? Paint::kBad
                                                            : Paint::kPlain});
  }
  return lines;
}

// "misses 3 of 7: x q z", or the count alone where the letters do not fit.
Line MissesLine(const Board& board, int width) {
  std::string count = "misses " + std::to_string(board.misses) + " of " +
                      std::to_string(kMisses);
  const std::string letters = Joined(board.missed_letters);
  if (!letters.empty() &&
      static_cast<int>(count.size() + 2 + letters.size()) <= width) {
    return {{count + ": ", Paint::kPlain}, {letters, Paint::kBad}};
  }
  return Plain(Fit({count}, width));
}

// The wrong words in at most `max_lines` lines of `width`; those that do not
// fit are counted at the end ("+3 more").
std::vector<Line> WrongWordLines(const std::vector<std::string>& words,
                                 int width, int max_lines) {
  const std::string head = "wrong:";
  const std::size_t w = static_cast<std::size_t>(width);
  if (words.empty() || max_lines <= 0) return {};
  std::vector<std::string> lines(1);
  std::size_t placed = 0;
  auto length = [&](std::size_t line) {
    return lines[line].size() + (line == 0 ? head.size() : 0);
  };
  for (const std::string& word : words) {
    std::size_t line = lines.size() - 1;
    if (length(line) + 1 + word.size() > w) {
      if (static_cast<int>(lines.size()) == max_lines || word.size() > w) break;
      lines.emplace_back();
      ++line;
    }
    lines[line] += (lines[line].empty() && line > 0 ? "" : " ") + word;
    ++placed;
  }
  std::string more;
  while (placed < words.size()) {
    more = " +" + std::to_string(words.size() - placed) + " more";
    std::string& last = lines.back();
    if (length(lines.size() - 1) + more.size() <= w || last.empty()) break;
    std::size_t blank = last.rfind(' ');
    last.erase(blank == std::string::npos ? 0 : blank);
    --placed;
  }
  std::vector<Line> out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Line line;
    if (i == 0) line.push_back({head, Paint::kPlain});
    line.push_back({lines[i], Paint::kBad});
    if (i + 1 == lines.size() && !more.empty()) {
      line.push_back({more, Paint::kPlain});
    }
    out.push_back(line);
  }
  return out;
}

// "wordgame" and the score on the right, or the score alone, shortened.
// One player's score says that it is this session's: the statistics shown
// after a round count every session. The daily word's round is named
// instead.
Line Header(const Board& board, int width) {
  std::string full, brief;
  for (const PlayerScore& p : board.scores) {
    std::string name = p.name.empty() ? "" : p.name + " ";
    const Score& s = p.score;
    full += (full.empty() ? "" : "   ") + name + "Won " +
            std::to_string(s.won) + "  Lost " + std::to_string(s.lost) +
            "  Streak " + std::to_string(s.streak);
    brief += (brief.empty() ? "" : " ") + name + "W" + std::to_string(s.won) +
             " L" + std::to_string(s.lost) + " S" + std::to_string(s.streak);
  }
  std::vector<std::string> scores = {full, brief};
  if (!board.daily_date.empty()) {
    scores = {"Daily word " + board.daily_date, "Daily " + board.daily_date,
              board.daily_date};
  } else if (board.scores.size() == 1) {
    scores = {"This session: " + full, "Session " + brief, brief};
  }
  // The title goes first when room runs short, then the long score.
  const std::string title = "wordgame";
  int room = width - static_cast<int>(scores[0].size());
  if (room >= static_cast<int>(title.size()) + 2) {
    return {{title, Paint::kBold},
            {std::string(room - title.size(), ' ') + scores[0], Paint::kPlain}};
  }
  return Plain(Fit(scores, width));
}

std::string KeyLine(KeyMode mode, int width) {
  switch (mode) {
    case KeyMode::kTypingWord:
      return Fit({"type the word   Enter: guess it   Backspace: erase   "
                  "Esc: cancel",
                  "Enter: guess   Esc: cancel", "Enter ok  Esc cancel"},
                 width);
    case KeyMode::kRoundOver:
      return Fit({"Enter or y: next round   n or q: quit",
                  "Enter/y: next  n/q: quit", "y next  n quit"},
                 width);
    case KeyMode::kDailyOver:
      return Fit({"Enter or q: quit (the result stays on the screen)",
                  "Enter/q: quit", "q quit"},
                 width);
    case KeyMode::kConfirmingGiveUp:
      return Fit({"y: give up the round   any other key: play on",
                  "y: give up   other: play on", "y give up"},
                 width);
    case KeyMode::kSettingWord:
      return Fit({"type the word (it does not show)   Enter: done   "
                  "Backspace: erase   Esc: quit",
                  "Enter: done   Esc: quit", "Enter done  Esc quit"},
                 width);
    default:
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one long line
      return Fit({"a-z: guess a letter   Enter: the whole word   ?: help   "
                  "!: give up   Esc: quit",
                  "a-z letter  Enter word  ? help  ! give up  Esc quit",
                  "a-z  Enter word  ? help  Esc quit",
                  "a-z Enter:word ?:help Esc:quit", "? help  Esc quit"},
                 width);
  }
}

Paint ToneOf(const Answer& answer) {
  switch (answer.tone) {
    case Tone::kGood:
      return Paint::kGood;
    case Tone::kBad:
      return Paint::kBad;
    default:
      return Paint::kPlain;
  }
}

// The answer in its tone and the hint after it, in at most `max_lines`: the
// hint goes beside the answer's last line, or below it, and gives way first.
// Where lines run short each loses its last sentences, never half of one.
std::vector<Line> MessageLines(const Board& board, int width, int max_lines) {
  std::vector<Line> lines;
  for (const std::string& m :
       WrapSentences(board.message.text, width, max_lines)) {
    lines.push_back(Plain(m, ToneOf(board.message)));
  }
  const std::string after = "  " + board.hint;
  if (!board.hint.empty() && !lines.empty() &&
      static_cast<int>(lines.back()[0].text.size() + after.size()) <= width) {
    lines.back().push_back({after, Paint::kPlain});
  } else if (!board.hint.empty()) {
    const int room = max_lines - static_cast<int>(lines.size());
    for (const std::string& h : WrapSentences(board.hint, width, room))
      lines.push_back(Plain(h));
  }
  return lines;
}

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

#include "screen/board_lines.h"

#include <algorithm>

#include "text/text.h"
#include "text/utf8.h"

namespace {

// The paint that shows `answer`'s tone.
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

// The scores in brief, each player's name cut to `name_letters`:
// "Ann W2 L1 S1 Bob W1 L2 S0".
std::string BriefScores(const std::vector<PlayerScore>& scores,
                        std::size_t name_letters) {
  std::string brief;
  for (const PlayerScore& p : scores) {
    std::string name = p.name.substr(0, name_letters);
    name.erase(name.find_last_not_of(' ') + 1);  // no blank left at a cut
    const Score& s = p.score;
    brief += (brief.empty() ? "" : " ") + name + (name.empty() ? "" : " ") +
             "W" + std::to_string(s.won) + " L" + std::to_string(s.lost) +
             " S" + std::to_string(s.streak);
  }
  return brief;
}

}  // namespace

// The word spaced out when it fits, else in pieces of `width`. A lost round
// shows the whole word: each letter not found is painted as a miss and has a
// "^" below it, so that the marks show without colour too.
std::vector<Line> WordLines(const Board& board, int width) {
  const Alphabet& alphabet = *board.alphabet;
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
      const std::string letter =
          alphabet.Letter(static_cast<unsigned char>(text[i]));
      marked.push_back({letter, missed ? Paint::kBad : Paint::kBold});
      letters += gap + letter;
      marks += gap + (missed ? "^" : " ");
    }
    lines.push_back(lost ? marked : Plain(letters, Paint::kBold));
    if (lost) lines.push_back(Plain(marks, Paint::kBad));
  }
  return lines;
}

// Untried letters as they are, found ones in capitals, missed ones as "-":
// in as few lines as fit, spaced out where the width allows.
std::vector<Line> AlphabetLines(const std::vector<BoardLetter>& letters,
                                int width) {
  const std::size_t count = letters.size();
  const std::size_t most = static_cast<std::size_t>(std::max(width, 1));
  std::size_t rows = 1;
  while ((count + rows - 1) / rows > most) ++rows;
  // A list's letters beyond a to z take a second line rather than lose
  // their spaces.
  if (rows == 1 && count > 26 && 2 * count - 1 > most &&
      2 * ((count + 1) / 2) - 1 <= most) {
    rows = 2;
  }
  const std::size_t per_line =
      std::max<std::size_t>(1, (count + rows - 1) / rows);
  const bool spaced = 2 * per_line - 1 <= most;
  std::vector<Line> lines;
  for (std::size_t i = 0; i < count; ++i) {
    if (i % per_line == 0) {
      lines.emplace_back();
    } else if (spaced) {
      lines.back().push_back({" ", Paint::kPlain});
    }
    const LetterState state = letters[i].state;
    lines.back().push_back(
        {letters[i].mark, state == LetterState::kFound    ? Paint::kGood
                          : state == LetterState::kMissed ? Paint::kBad
                                                          : Paint::kPlain});
  }
  return lines;
}

// "misses 3 of 7: x q z", or the count alone where the letters do not fit.
Line MissesLine(const Board& board, int width) {
  std::string count = "misses " + std::to_string(board.misses) + " of " +
                      std::to_string(kMisses);
  const std::string hinted = count + " (" + CountOf(board.hints, "hint") + ")";
  if (board.hints > 0 && static_cast<int>(hinted.size()) <= width) {
    count = hinted;
  }
  const std::string letters = Joined(board.missed_letters);
  if (!letters.empty() &&
      static_cast<int>(count.size() + 2 + Columns(letters)) <= width) {
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
// instead. Two players' brief scores keep both scores in sight: their names
// are cut shorter and shorter, then left out.
Line Header(const Board& board, int width) {
  std::string full;
  for (const PlayerScore& p : board.scores) {
    std::string name = p.name.empty() ? "" : p.name + " ";
    const Score& s = p.score;
    full += (full.empty() ? "" : "   ") + name + "Won " +
            std::to_string(s.won) + "  Lost " + std::to_string(s.lost) +
            "  Streak " + std::to_string(s.streak);
  }
  std::size_t longest = 0;
  for (const PlayerScore& p : board.scores) {
    longest = std::max(longest, p.name.size());
  }
  std::vector<std::string> scores = {full};
  for (std::size_t letters = longest + 1; letters-- > 0;) {
    scores.push_back(BriefScores(board.scores, letters));
  }
  const std::string brief = scores[1];  // the names whole
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
    case KeyMode::kConfirmingHint:
      return Fit({"y: show a letter for one miss   any other key: play on",
                  "y: a letter for a miss   other: on", "y hint  other: on"},
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
      return Fit({"a-z: letter   Enter: whole word   +: hint   ?: help   "
                  "!: give up   Esc: quit",
                  "a-z letter  Enter word  + hint  ? help  ! give up  Esc quit",
                  "a-z letter  Enter word  ? help  ! give up  Esc quit",
                  "a-z  Enter word  ? help  Esc quit",
                  "a-z Enter:word ?:help Esc:quit", "? help  Esc quit"},
                 width);
  }
}

// The answer in its tone and the hint after it, in at most `max_lines`: the
// hint goes beside the answer's last line, or below it, and gives way first.
// An answer that does not fit whole is shown in brief, where it has a brief
// form; where lines run short each loses its last sentences, never half of
// one.
std::vector<Line> MessageLines(const Board& board, int width, int max_lines) {
  const Answer& answer = board.message;
  const bool whole = static_cast<int>(Wrap(answer.text, width).size()) <=
                     std::max(max_lines, 0);
  const std::string& text =
      whole || answer.brief.empty() ? answer.text : answer.brief;
  std::vector<Line> lines;
  for (const std::string& m : WrapSentences(text, width, max_lines)) {
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

#include "play.h"

#include <algorithm>
#include <vector>

#include "word_list.h"

namespace {

// Bad guesses that lose a game; the gallows has one part for each.
constexpr std::size_t kMisses = 7;

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

// ANSI colours, used only when the caller allows them.
constexpr char kRed[] = "\033[31m";
constexpr char kGreen[] = "\033[32m";
constexpr char kBold[] = "\033[1m";
constexpr char kReset[] = "\033[0m";

class Painter {
 public:
  explicit Painter(bool on) : on_(on) {}
  std::string operator()(const char* colour, const std::string& text) const {
    return on_ ? colour + text + kReset : text;
  }

 private:
  bool on_;
};

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::string Join(const std::vector<std::string>& list) {
  std::string s;
  for (const std::string& item : list) s += (s.empty() ? "" : " ") + item;
  return s;
}

void ShowBoard(Game& game, std::ostream& out, const Painter& paint) {
  std::vector<std::string> bad = game.bad_guesses();
  std::string hidden = game.hidden_word();
  if (!hidden.empty()) hidden.pop_back();  // The space after the last letter.
  std::size_t left = bad.size() < kMisses ? kMisses - bad.size() : 0;
  out << '\n'
      << Gallows(bad.size()) << '\n'
      << "Word:   " << paint(kBold, hidden) << '\n'
      << "Missed: " << paint(kRed, bad.empty() ? "-" : Join(bad)) << "  ("
      << left << (left == 1 ? " miss" : " misses") << " left)\n";
}

// Reads lines until one is a guess worth judging: letters only, not tried
// before. False when the input ends first.
bool ReadGuess(Game& game, std::istream& in, std::ostream& out,
               std::string* guess) {
  for (;;) {
    out << "Guess a letter or the whole word: " << std::flush;
    std::string line;
    if (!out || !std::getline(in, line)) return false;
    *guess = Tidy(line);
    if (guess->empty()) continue;
    if (!AllLetters(*guess)) {
      out << "Letters a to z only, please.\n";
    } else if (Contains(game.good_guesses(), *guess) ||
               Contains(game.bad_guesses(), *guess)) {
      out << "You already tried \"" << *guess << "\".\n";
    } else {
      return true;
    }
  }
}

// Plays one round; false when the input ends before the round does.
bool PlayRound(GameFolder& folder, std::istream& in, std::ostream& out,
               const Painter& paint) {
  std::string secret;
  std::unique_ptr<Game> game = folder.NewGame(&secret);
  std::size_t letters = game->word_length();
  out << "\nA new word of " << letters
      << (letters == 1 ? " letter.\n" : " letters.\n");
  for (;;) {
    ShowBoard(*game, out, paint);
    if (game->HasWon()) {
      out << paint(kGreen, "You won! The word was \"" + secret + "\".") << '\n';
      return true;
    }
    if (game->HasLost()) {
      out << paint(kRed, "You lost. The word was \"" + secret + "\".") << '\n';
      return true;
    }
    std::string guess;
    if (!ReadGuess(*game, in, out, &guess)) return false;
    game->MakeGuess(guess);
  }
}

bool WantsAnother(std::istream& in, std::ostream& out) {
  out << "Play again? [y/N] " << std::flush;
  std::string line;
  if (!out || !std::getline(in, line)) return false;
  std::string answer = Tidy(line);
  return answer == "y" || answer == "yes";
}

}  // namespace

std::string Gallows(std::size_t misses) {
  std::vector<std::string> rows(std::begin(kFrame), std::end(kFrame));
  for (std::size_t i = 0; i < std::min(misses, kMisses); ++i) {
    rows[kParts[i].row][kParts[i].col] = kParts[i].c;
  }
  std::string drawing;
  for (const std::string& row : rows) drawing += row + '\n';
  drawing.pop_back();
  return drawing;
}

void PlayRounds(GameFolder& folder, std::istream& in, std::ostream& out,
                bool colour) {
  Painter paint(colour);
  out << "Guess the word one letter at a time, or all of it at once. "
      << kMisses << " misses and you hang.\n";
  while (PlayRound(folder, in, out, paint) && WantsAnother(in, out)) {
  }
  if (in.eof()) out << '\n';  // End the line that the last prompt began.
}

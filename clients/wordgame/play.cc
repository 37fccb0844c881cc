#include "play.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "word_list.h"

namespace {

// Bad guesses that lose a game (the engine's rule); the gallows has one part
// for each.
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

// ANSI attributes, used only when the look allows them.
constexpr char kRed[] = "\033[31m";
constexpr char kGreen[] = "\033[32m";
constexpr char kBold[] = "\033[1m";
constexpr char kReset[] = "\033[0m";

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// "1 letter", "2 letters"; "1 miss", "2 misses".
std::string Count(std::size_t n, const std::string& noun) {
  const char* plural = noun.back() == 's' ? "es" : "s";
  return std::to_string(n) + " " + noun + (n == 1 ? "" : plural);
}

// Rows of the terminal behind `out`, or 0 when it is none.
int TerminalRows(std::FILE* out) {
  int fd = fileno(out);
  winsize size{};
  if (fd < 0 || !isatty(fd) || ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_row;
}

// One session of rounds: the words still to come, the score, the streams.
class Session {
 public:
  Session(GameFolder& folder, WordSource& words, std::FILE* in,
          std::FILE* out, const Look& look)
      : folder_(folder), words_(words), in_(in), out_(out), look_(look) {}

  bool Run(std::string* err);

 private:
  // Text wrapped in an attribute when colours are on.
  std::string Paint(const char* attribute, const std::string& text) const {
    return look_.colour ? attribute + text + kReset : text;
  }
  void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out_);
  }
  bool Flush(std::string* err);
  // Shows `prompt` and reads the answer.
  bool Ask(const std::string& prompt, InputLine* line, bool* ended,
           std::string* err);
  bool StartGame(std::string* err);
  void ShowBoard();
  std::string LetterPanel(const std::vector<std::string>& bad) const;
  // Reads guesses until one is judged or the round ends otherwise: by giving
  // up (*gave_up) or by the end of input (*ended).
  bool TakeGuess(bool* gave_up, bool* ended, std::string* err);
  void Judge(const std::string& guess);
  bool PlayRound(bool* ended, std::string* err);
  std::string ScoreText() const;

  GameFolder& folder_;
  WordSource& words_;
  std::FILE* in_;
  std::FILE* out_;
  Look look_;
  std::unique_ptr<Game> game_;
  std::string secret_;
  int won_ = 0, lost_ = 0, streak_ = 0;
};

bool Session::Flush(std::string* err) { return FlushOutput(out_, err); }

bool Session::Ask(const std::string& prompt, InputLine* line, bool* ended,
                  std::string* err) {
  Print(prompt);
  if (!Flush(err)) return false;
  if (ReadLine(in_, line, ended, err)) return true;
  Print("\n");  // Ends the prompt's line before the message.
  std::fflush(out_);
  return false;
}

bool Session::StartGame(std::string* err) {
  std::string note;
  std::vector<std::string> words = words_.NextRound(&note);
  if (!note.empty()) Print(note + "\n");
  // Whatever the player should see goes out before the engine borrows
  // standard output.
  if (!Flush(err) || !folder_.NewGame(words, &game_, &secret_, err)) {
    return false;
  }
  words_.Played(secret_);
  return true;
}

// Untried letters as they are, found ones in capitals, missed ones (in `bad`,
// the engine's bad guesses) as "-".
std::string Session::LetterPanel(const std::vector<std::string>& bad) const {
  std::vector<std::string> good = game_->good_guesses();
  std::string panel;
  for (char c = 'a'; c <= 'z'; ++c) {
    std::string letter(1, c);
    if (c != 'a') panel += ' ';
    if (Contains(good, letter)) {
      panel += Paint(kGreen, std::string(1, static_cast<char>(c - 'a' + 'A')));
    } else if (Contains(bad, letter)) {
      panel += Paint(kRed, "-");
    } else {
      panel += letter;
    }
  }
  return panel;
}

void Session::ShowBoard() {
  std::vector<std::string> bad = game_->bad_guesses();
  std::string letters, words;
  for (const std::string& guess : bad) {
    std::string& list = guess.size() == 1 ? letters : words;
    list += (list.empty() ? "" : " ") + guess;
  }
  std::string hidden = game_->hidden_word();
  if (!hidden.empty()) hidden.pop_back();  // The space after the last letter.
  int rows = look_.rows > 0 ? look_.rows : TerminalRows(out_);
  bool compact = rows > 0 && rows < kFullBoardRows;
  std::string missed = letters.empty() && words.empty() ? "-" : letters;
  if (!words.empty()) missed += (letters.empty() ? "words: " : "  words: ");
  missed += words;
  std::size_t count = std::min(bad.size(), kMisses);
  std::string tally = compact ? "misses " + std::to_string(count) + " of " +
                                    std::to_string(kMisses)
                              : Count(kMisses - count, "miss") + " left";
  Print((compact ? "" : "\n" + Gallows(bad.size()) + "\n") + "Word:    " +
        Paint(kBold, hidden) + "\n" + "Letters: " + LetterPanel(bad) + "\n" +
        "Missed:  " + Paint(kRed, missed) + "  (" + tally + ")\n");
}

bool Session::TakeGuess(bool* gave_up, bool* ended, std::string* err) {
  const std::size_t letters = game_->word_length();
  for (;;) {
    InputLine line;
    if (!Ask("Guess a letter or the whole word: ", &line, ended, err)) {
      return false;
    }
    if (*ended) return true;
    std::string guess = Tidy(line.text);
    if (line.cut) {
      Print("That line is too long; type one letter or the whole word.\n");
    } else if (guess.empty()) {
      continue;
    } else if (guess == "?") {
      // The board again below the rules, so that on a small terminal the
      // word and the misses do not stay scrolled out of sight.
      Print(Rules());
      ShowBoard();
    } else if (guess == "!") {
      *gave_up = true;
      return true;
    } else if (!AllLetters(guess)) {
      Print("Letters a to z only, please (? for help).\n");
    } else if (guess.size() > 1 && guess.size() != letters) {
      Print("That is " + Count(guess.size(), "letter") + "; the word has " +
            std::to_string(letters) + ". Type one letter or the whole word.\n");
    } else if (Contains(game_->good_guesses(), guess) ||
               Contains(game_->bad_guesses(), guess)) {
      Print("You already tried " + Quoted(guess) + ".\n");
    } else {
      Judge(guess);
      return true;
    }
  }
}

// Hands the guess to the engine and says in one line what it did.
void Session::Judge(const std::string& guess) {
  game_->MakeGuess(guess);
  if (guess.size() > 1) {
    if (guess != secret_) Print("No, the word is not " + Quoted(guess) + ".\n");
    return;
  }
  std::size_t found = static_cast<std::size_t>(
      std::count(secret_.begin(), secret_.end(), guess[0]));
  if (found == 0) {
    Print("No " + Quoted(guess) + " in the word.\n");
  } else {
    Print("Yes, " + Quoted(guess) + " is in the word " +
          (found == 1 ? std::string("once") : Count(found, "time")) + ".\n");
  }
}

bool Session::PlayRound(bool* ended, std::string* err) {
  if (!StartGame(err)) return false;
  Print("\nA new word of " + Count(game_->word_length(), "letter") + ".\n");
  const std::string reveal = "The word was " + Quoted(secret_) + ".";
  for (;;) {
    ShowBoard();
    if (game_->HasWon()) {
      Print(Paint(kGreen, "You won! " + reveal) + "\n");
      ++won_;
      ++streak_;
      return true;
    }
    if (game_->HasLost()) {
      Print(Paint(kRed, "You lost. " + reveal) + "\n");
      ++lost_;
      streak_ = 0;
      return true;
    }
    bool gave_up = false;
    if (!TakeGuess(&gave_up, ended, err)) return false;
    if (*ended) {
      // The prompt's line is still open.
      Print("\nRound left unfinished. " + reveal + "\n");
      return true;
    }
    if (gave_up) {
      Print(Paint(kRed, "You gave up. " + reveal) + "\n");
      ++lost_;
      streak_ = 0;
      return true;
    }
  }
}

std::string Session::ScoreText() const {
  return std::to_string(won_) + " won, " + std::to_string(lost_) +
         " lost, winning streak " + std::to_string(streak_) + ".";
}

bool Session::Run(std::string* err) {
  Print("Guess the word a letter at a time, or all of it at once; " +
        std::to_string(kMisses) + " misses and you hang.\n" +
        "Type ? for help, ! to give up a round, Ctrl-D to quit.\n");
  bool ended = false;
  for (;;) {
    if (!PlayRound(&ended, err)) return false;
    if (ended) break;
    Print("Score: " + ScoreText() + "\n");
    InputLine answer;
    if (!Ask("Play again? [y/N] ", &answer, &ended, err)) return false;
    if (ended) {
      Print("\n");  // The prompt's line is still open.
      break;
    }
    std::string yes = Tidy(answer.text);
    if (answer.cut || (yes != "y" && yes != "yes")) break;
  }
  Print("Final score: " + ScoreText() + "\n");
  return Flush(err);
}

}  // namespace

bool FlushOutput(std::FILE* out, std::string* err) {
  if (std::fflush(out) != 0 || std::ferror(out)) {
    *err =
        std::string("write error: ") + std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return true;
}

bool ReadLine(std::FILE* in, InputLine* line, bool* ended, std::string* err) {
  line->text.clear();
  line->cut = false;
  *ended = false;
  int c;
  bool any = false;
  while ((c = std::getc(in)) != EOF) {
    any = true;
    if (c == '\n') return true;
    if (line->text.size() < kMaxLineBytes) {
      line->text += static_cast<char>(c);
    } else {
      line->cut = true;
    }
  }
  if (std::ferror(in)) {
    *err = std::string("read error: ") + std::strerror(errno);
    return false;
  }
  *ended = !any;
  return true;
}

std::string Rules() {
  return "Guess the hidden word: type one letter and Enter to uncover every "
         "place it\n"
         "stands, or type the whole word. A letter that is not in the word, "
         "or a wrong\n"
         "word, is a miss; " +
         std::to_string(kMisses) +
         " misses lose the round. A letter tried before, or a word\n"
         "of another length than the hidden one, is refused and costs "
         "nothing.\n"
         "Commands: ? shows this help, ! gives up the round (the word is "
         "shown),\n"
         "Ctrl-D (the end of input) quits.\n";
}

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

bool PlayRounds(GameFolder& folder, WordSource& words,
                std::FILE* in, std::FILE* out, const Look& look,
                std::string* err) {
  Session session(folder, words, in, out, look);
  return session.Run(err);
}

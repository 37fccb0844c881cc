#include "line/play.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "engine/ending_signals.h"
#include "line/echo_off.h"
#include "line/wrap.h"
#include "look/gallows.h"
#include "look/rules.h"
#include "progutil.h"
#include "text/text.h"

namespace {

// ANSI attributes, used only when the look allows them.
constexpr char kRed[] = "\033[31m";
constexpr char kGreen[] = "\033[32m";
constexpr char kBold[] = "\033[1m";
constexpr char kReset[] = "\033[0m";

// One session of rounds in the line mode: the round in play, the score, the
// streams.
class Session {
 public:
  Session(GameStarter& starter, Match& match, std::FILE* in, std::FILE* out,
          std::FILE* notes, const Look& look)
      : starter_(starter),
        match_(match),
        in_(in),
        out_(out),
        notes_(notes),
        look_(look) {}

  bool Run(std::string* err);

 private:
  // Text wrapped in an attribute when colours are on.
  std::string Paint(const char* attribute, const std::string& text) const {
    return look_.colour ? attribute + text + kReset : text;
  }
  std::string Paint(const Answer& answer) const {
    switch (answer.tone) {
      case Tone::kGood:
        return Paint(kGreen, answer.text);
      case Tone::kBad:
        return Paint(kRed, answer.text);
      default:
        return answer.text;
    }
  }
  // Writes `text`, wrapped to the terminal's width.
  void Print(const std::string& text) {
    const std::string wrapped = Wrapped(text, TerminalCols(out_), &column_);
    std::fwrite(wrapped.data(), 1, wrapped.size(), out_);
  }
  // Shows `prompt` and reads the answer; an ending signal reads as the end
  // of input.
  bool Ask(const std::string& prompt, InputLine* line, bool* ended,
           std::string* err);
  // Two players: reads the setter's word, unseen, until it is a playable
  // one or the input ends (*ended).
  bool AskWord(bool* ended, std::string* err);
  bool StartGame(std::string* err);
  void ShowBoard();
  // The terse mode's line for the round in play, with its line feed.
  std::string TerseLine() const;
  std::string LetterPanel() const;
  // Reads guesses until one is judged or the round ends otherwise: by giving
  // up or by the end of input (*ended).
  bool TakeGuess(bool* ended, std::string* err);
  bool PlayRound(bool* ended, std::string* err);
  // Asks until the answer is yes or no; *again receives it.
  bool AskAgain(bool* again, bool* ended, std::string* err);

  GameStarter& starter_;
  Match& match_;
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* notes_;
  Look look_;
  Round round_;
  int column_ = 0;  // where the last text printed ends
};

bool Session::Ask(const std::string& prompt, InputLine* line, bool* ended,
                  std::string* err) {
  Print(prompt);
  if (!progutil::FlushOutput(out_, err)) return false;
  const bool read = ReadLine(in_, line, ended, err);
  if (read && !*ended) column_ = 0;  // The player's Enter ended the line.
  if (read) return true;
  Print("\n");  // Ends the prompt's line before the message.
  std::fflush(out_);
  return false;
}

bool Session::AskWord(bool* ended, std::string* err) {
  const std::string prompt = match_.setter() + ", type a word for " +
                             match_.guesser() +
                             " to guess (it does not show): ";
  for (;;) {
    InputLine line;
    bool read;
    {
      EchoOff unseen(fileno(in_));
      read = Ask(prompt, &line, ended, err);
      if (!read || *ended) unseen.DiscardTyped();
    }
    if (!read) return false;
    if (*ended) {
      Print("\n");  // The prompt's line is still open.
      return true;
    }
    std::string why;
    if (line.cut) {
      why = "That is more than " + std::to_string(kMaxWordLetters) +
            " letters; type a shorter word.";
    } else if (match_.SetWord(line.text, &why)) {
      return true;
    }
    Print(why + "\n");
  }
}

bool Session::StartGame(std::string* err) {
  // Whatever the player should see goes out before the engine borrows
  // standard output.
  std::string note;
  if (!progutil::FlushOutput(out_, err) ||
      !round_.Start(starter_, match_.words(), &note, err)) {
    return false;
  }
  if (!note.empty()) Print(note + "\n");
  return true;
}

// The list's letters: untried ones as they are, found ones in capitals,
// missed ones as "-".
std::string Session::LetterPanel() const {
  std::string panel;
  for (unsigned char c : round_.alphabet().Line()) {
    if (!panel.empty()) panel += ' ';
    const LetterState state = round_.Letter(c);
    const std::string mark = LetterMark(round_.alphabet(), c, state);
    panel += state == LetterState::kFound    ? Paint(kGreen, mark)
             : state == LetterState::kMissed ? Paint(kRed, mark)
                                             : mark;
  }
  return panel;
}

// "Word: c _ _. 5 misses left. Missed: e, dog. 1 hint taken."
std::string Session::TerseLine() const {
  std::vector<std::string> missed = round_.MissedLetters();
  for (const std::string& w : round_.MissedWords()) missed.push_back(w);
  std::string line =
      "Word: " + round_.alphabet().Decode(Spaced(round_.Shown())) + ". " +
      CountOf(kMisses - round_.misses(), "miss") + " left.";
  for (std::size_t i = 0; i < missed.size(); ++i) {
    line += (i == 0 ? " Missed: " : ", ") + missed[i];
  }
  if (!missed.empty()) line += ".";
  if (round_.hints() > 0) {
    line += " " + CountOf(round_.hints(), "hint") + " taken.";
  }
  return line + "\n";
}

void Session::ShowBoard() {
  if (look_.terse) {
    if (round_.playing()) Print(TerseLine());
    return;
  }
  const std::string letters = Joined(round_.MissedLetters());
  const std::string words = Joined(round_.MissedWords());
  const std::string shown = round_.alphabet().Decode(Spaced(round_.Shown()));
  const std::string clue = match_.Clue(round_.secret());
  int rows = look_.rows > 0 ? look_.rows : TerminalRows(out_);
  bool compact = rows > 0 && rows < kFullBoardRows;
  std::string missed = letters.empty() && words.empty() ? "-" : letters;
  if (!words.empty()) missed += (letters.empty() ? "words: " : "  words: ");
  missed += words;
  if (round_.hints() > 0) {
    missed = (missed == "-" ? "" : missed + "  ") +
             "hints: " + std::to_string(round_.hints());
  }
  std::size_t count = round_.misses();
  std::string tally = compact ? "misses " + std::to_string(count) + " of " +
                                    std::to_string(kMisses)
                              : CountOf(kMisses - count, "miss") + " left";
  Print((compact ? "" : "\n" + Gallows(count) + "\n") +
        (clue.empty() ? "" : "Clue:    " + clue + "\n") +
        "Word:    " + Paint(kBold, shown) + "\n" + "Letters: " + LetterPanel() +
        "\n" + "Missed:  " + Paint(kRed, missed) + "  (" + tally + ")\n");
}

bool Session::TakeGuess(bool* ended, std::string* err) {
  for (;;) {
    InputLine line;
    if (!Ask(look_.terse ? "Guess: " : "Guess a letter or the whole word: ",
             &line, ended, err)) {
      return false;
    }
    if (*ended) return true;
    std::string guess = Tidy(line.text);
    if (line.cut) {
      Print(
          "That line is over the limit; type one letter or the whole word.\n");
    } else if (guess.empty()) {
      continue;
    } else if (guess == "?") {
      // The board again below the rules, so that on a small terminal the
      // word and the misses do not stay scrolled out of sight.
      Print(Rules());
      ShowBoard();
    } else if (guess == "!") {
      round_.GiveUp();
      return true;
    } else {
      Answer answer = guess == "+" ? round_.NoHint() : round_.Guess(guess);
      if (guess == "+" && answer.text.empty()) answer = round_.Hint();
      // Terse: the word and the misses follow on the answer's line.
      const bool judged = answer.tone != Tone::kPlain;
      const bool more = look_.terse && judged && round_.playing();
      Print(Paint(answer) + (more ? " " : "\n"));
      if (judged) return true;
    }
  }
}

bool Session::PlayRound(bool* ended, std::string* err) {
  if (match_.two_players()) {
    if (!AskWord(ended, err)) return false;
    if (*ended) return true;
  }
  if (!StartGame(err)) return false;
  const std::string clue = match_.Clue(round_.secret());
  Print("\n" + match_.Opening(round_) +
        (look_.terse && !clue.empty() ? " Clue: " + clue + "." : "") + "\n");
  for (;;) {
    if (round_.state() != Round::State::kGaveUp) ShowBoard();
    if (!round_.playing()) {
      std::string note;
      Print(Paint(match_.Finish(round_, &note)) + "\n");
      if (!note.empty()) {
        std::fflush(out_);
        std::fprintf(notes_, "wordgame: %s\n", note.c_str());
      }
      return true;
    }
    if (!TakeGuess(ended, err)) return false;
    if (*ended) {
      // The prompt's line is still open.
      std::string note;
      Print("\n" + match_.Leave(round_, &note).text + "\n");
      if (!note.empty()) {
        std::fflush(out_);
        std::fprintf(notes_, "wordgame: %s\n", note.c_str());
      }
      return true;
    }
  }
}

// An empty line means yes; any other answer than yes or no asks again, so a
// guess typed too early never ends the session.
bool Session::AskAgain(bool* again, bool* ended, std::string* err) {
  std::string prompt = "Play again? [Y/n] ";
  for (;;) {
    InputLine answer;
    if (!Ask(prompt, &answer, ended, err)) return false;
    if (*ended) {
      Print("\n");  // The prompt's line is still open.
      return true;
    }
    std::string yes = answer.cut ? "" : Tidy(answer.text);
    if (!answer.cut && (yes.empty() || yes == "y" || yes == "yes")) {
      *again = true;
      return true;
    }
    if (yes == "n" || yes == "no" || yes == "q" || yes == "quit") {
      *again = false;
      return true;
    }
    prompt = "Please answer y or n. Play again? [Y/n] ";
  }
}

bool Session::Run(std::string* err) {
  Print("Guess the word a letter at a time, or all of it at once; " +
        std::to_string(kMisses) + " misses and you hang.\n" +
        "Type ? for help, + for a hint, ! to give up a round, Ctrl-D to "
        "quit.\n");
  bool ended = false, again = true;
  while (again) {
    if (!PlayRound(&ended, err)) return false;
    if (ended || match_.daily()) break;
    Print("Score: " + match_.ScoreText() + "\n" + match_.StatsText());
    if (!AskAgain(&again, &ended, err)) return false;
    if (ended) break;
  }
  Print(match_.ClosingText());
  return progutil::FlushOutput(out_, err);
}

}  // namespace

// A read cut short by a signal goes on, unless the signal ends the game:
// then the line reads as the end of input. Input that never waits (a file)
// is never cut short, so the signal is also looked for at each line.
bool ReadLine(std::FILE* in, InputLine* line, bool* ended, std::string* err) {
  line->text.clear();
  line->cut = false;
  *ended = EndingSignals::Pending() != 0;
  if (*ended) return true;
  bool any = false;
  for (;;) {
    int c = std::getc(in);
    if (c == EOF) {
      if (!std::ferror(in)) break;
      if (errno != EINTR) {
        *err = std::string("read error: ") + std::strerror(errno);
        return false;
      }
      std::clearerr(in);
      if (EndingSignals::Pending() != 0) {
        *ended = true;
        return true;
      }
      continue;
    }
    any = true;
    if (c == '\n') return true;
    if (line->text.size() < kMaxLineBytes) {
      line->text += static_cast<char>(c);
    } else {
      line->cut = true;
    }
  }
  *ended = !any;
  return true;
}

bool PlayRounds(GameStarter& starter, Match& match, std::FILE* in,
                std::FILE* out, std::FILE* notes, const Look& look,
                std::string* err) {
  // On the heap: the session's round is on the way to the deepest calls.
  const auto session =
      std::make_unique<Session>(starter, match, in, out, notes, look);
  return session->Run(err);
}

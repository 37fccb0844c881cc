#include "screen_game.h"

#include <utility>

#include "word_list.h"

namespace {

bool IsLetter(int key) {
  return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z');
}

char Lower(int key) {
  return static_cast<char>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key);
}

}  // namespace

ScreenGame::ScreenGame(GameFolder& folder, WordSource& words,
                       std::string opening)
    : folder_(folder), words_(words), opening_(std::move(opening)) {}

bool ScreenGame::Begin(std::string* err) { return NextRound(err); }

bool ScreenGame::NextRound(std::string* err) {
  std::string note;
  if (!round_.Start(folder_, words_, &note, err)) return false;
  std::string text = opening_.empty() ? note : opening_;
  opening_.clear();
  text += (text.empty() ? "" : " ") + std::string("A new word of ") +
          CountOf(round_.secret().size(), "letter") + ".";
  message_ = {Tone::kPlain, text};
  mode_ = Mode::kGuessing;
  return true;
}

bool ScreenGame::Guess(const std::string& guess) {
  message_ = round_.Guess(guess);
  if (!round_.playing()) EndRound();
  return message_.tone != Tone::kPlain || mode_ == Mode::kRoundOver;
}

void ScreenGame::EndRound() {
  score_.Add(round_.state() == Round::State::kWon);
  message_ = round_.EndLine();
  mode_ = Mode::kRoundOver;
}

bool ScreenGame::Key(int key, std::string* err) {
  if (help_) {
    help_ = false;  // Any key goes back to the board.
    return true;
  }
  if (key == kCtrlD) {
    done_ = true;
    return true;
  }
  switch (mode_) {
    case Mode::kGuessing:
      if (IsLetter(key)) {
        Guess(std::string(1, Lower(key)));
      } else if (key == kKeyEnter) {
        typed_.clear();
        mode_ = Mode::kTypingWord;
        Hint("Type the whole word; Enter guesses it, Esc cancels.");
      } else if (key == '?') {
        help_ = true;
      } else if (key == '!') {
        round_.GiveUp();
        EndRound();
      } else if (key == kEscape) {
        done_ = true;
      } else {
        Hint("Type a letter, or Enter for the whole word (? for help).");
      }
      return true;
    case Mode::kTypingWord:
      if (IsLetter(key)) {
        if (typed_.size() < kMaxWordLetters) typed_ += Lower(key);
      } else if (key == kKeyBackspace) {
        if (!typed_.empty()) typed_.pop_back();
      } else if (key == kEscape) {
        mode_ = Mode::kGuessing;
        Hint("");
      } else if (key == kKeyEnter) {
        // A refused word stays on the line to be put right.
        if (typed_.empty() || Guess(typed_)) {
          if (mode_ == Mode::kTypingWord) mode_ = Mode::kGuessing;
        }
      } else {
        Hint("Letters a to z only; Enter guesses, Esc cancels.");
      }
      return true;
    case Mode::kRoundOver:
      if (key == kKeyEnter || key == 'y' || key == 'Y') return NextRound(err);
      if (key == 'n' || key == 'N' || key == 'q' || key == 'Q' ||
          key == kEscape) {
        done_ = true;
      } else {
        Hint("Enter or y plays the next round; n or q quits.");
      }
      return true;
  }
  return true;
}

Board ScreenGame::View() const {
  Board board;
  board.shown = round_.Shown();
  for (int i = 0; i < 26; ++i) {
    board.letters[i] = round_.Letter(static_cast<char>('a' + i));
  }
  board.missed_letters = round_.MissedLetters();
  board.missed_words = round_.MissedWords();
  board.misses = round_.misses();
  board.scores = {PlayerScore{"", score_}};
  board.message = message_;
  board.typed = typed_;
  board.mode = help_                        ? KeyMode::kHelp
               : mode_ == Mode::kTypingWord ? KeyMode::kTypingWord
               : mode_ == Mode::kRoundOver  ? KeyMode::kRoundOver
                                            : KeyMode::kGuessing;
  return board;
}

std::string ScreenGame::Farewell() const {
  if (round_.state() == Round::State::kNone && score_.won + score_.lost == 0) {
    return "";  // No round could start.
  }
  std::string lines;
  if (round_.playing()) lines += round_.EndLine().text + "\n";
  return lines + "Final score: " + score_.Text() + "\n";
}

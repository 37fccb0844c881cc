#include "screen/screen_game.h"

#include <algorithm>
#include <utility>

#include "screen/screen_help.h"
#include "text/text.h"
#include "text/utf8.h"

namespace {

// The character of `key` (a code point), in lower case, in UTF-8.
std::string Lower(int key) {
  return Utf8(LowerChar(static_cast<char32_t>(key)));
}

// True when `key` is a letter of `alphabet`, in either case.
bool IsLetter(const Alphabet& alphabet, int key) {
  std::string code;
  return key > ' ' && key < kKeyEnter && alphabet.Encode(Lower(key), &code);
}

// The second and later bytes of a UTF-8 character.
bool IsContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// What to say of a key that is not a letter of `alphabet`.
std::string NotALetter(const Alphabet& alphabet, const char* then) {
  return std::string(alphabet.ascii() ? "Letters a to z only"
                                      : "Letters of the word list only") +
         then;
}

// NotALetter's brief form, for a small window.
std::string Brief(const Alphabet& alphabet) {
  return alphabet.ascii() ? "Letters a-z only." : "List letters only.";
}

}  // namespace

ScreenGame::ScreenGame(GameStarter& starter, Match& match, std::string opening)
    : starter_(starter), match_(match), opening_(std::move(opening)) {}

bool ScreenGame::Begin(std::string* err) { return NextRound(err); }

bool ScreenGame::NextRound(std::string* err) {
  hint_.clear();
  if (!match_.two_players()) return StartRound(err);
  typed_.clear();
  mode_ = Mode::kSettingWord;
  // What to do comes before the opening, which gives way first.
  Hint(match_.setter() + ", type a word for " + match_.guesser() +
       " to guess; " + match_.guesser() + ", look away." +
       (opening_.empty() ? "" : " " + opening_));
  opening_.clear();
  return true;
}

bool ScreenGame::StartRound(std::string* err) {
  std::string note;
  if (!round_.Start(starter_, match_.words(), &note, err)) return false;
  std::string text = opening_.empty() ? note : opening_;
  opening_.clear();
  text += (text.empty() ? "" : " ") + match_.Opening(round_);
  message_ = {Tone::kPlain, text,
              CountOf(round_.secret().size(), "letter") + " to find."};
  mode_ = Mode::kGuessing;
  return true;
}

bool ScreenGame::Guess(const std::string& guess, Entry entry) {
  message_ = round_.Guess(guess, entry);
  if (!round_.playing()) EndRound();
  return message_.tone != Tone::kPlain || mode_ == Mode::kRoundOver;
}

void ScreenGame::EndRound() {
  std::string note;
  message_ = match_.Finish(round_, &note);
  round_note_ = note;
  if (!note.empty()) notes_.push_back(note);
  mode_ = Mode::kRoundOver;
}

// The line takes every character typed, as the line mode's line does, so
// that Enter checks the word as typed: "caf\xC3\xA9" is refused whole rather
// than set as "caf". A character of several bytes (UTF-8) is one "*" and
// one Backspace.
bool ScreenGame::EditTyped(int key, const char* when_full) {
  if (key >= ' ' && key < kKeyEnter && key != 0x7F) {  // a character
    if (Columns(typed_) < kMaxWordLetters) {
      typed_ += Lower(key);
    } else if (when_full != nullptr) {
      Hint(when_full);
      return true;
    }
    if (!IsLetter(round_.alphabet(), key)) {
      Hint(NotALetter(round_.alphabet(), "; Backspace erases."),
           Brief(round_.alphabet()));
    }
  } else if (key == kKeyBackspace) {
    while (!typed_.empty() && IsContinuation(typed_.back())) typed_.pop_back();
    if (!typed_.empty()) typed_.pop_back();
  } else {
    return false;
  }
  return true;
}

bool ScreenGame::SetWordKey(int key, std::string* err) {
  if (EditTyped(key, "That is the most there may be; Enter sets the word.")) {
    return true;
  }
  if (key == kEscape) {
    done_ = true;
  } else if (key == kKeyEnter) {
    std::string why;
    if (match_.SetWord(typed_, &why)) {
      typed_.clear();
      return StartRound(err);
    }
    typed_.clear();  // Typed again from the start, as in the line mode.
    Hint(why);
  } else {
    Hint("Letters a to z only; Enter sets the word, Esc quits.",
         "Letters a-z only.");
  }
  return true;
}

// As the setter's line, the line takes every character, so that Enter
// refuses a word typed with one but a-z ("caf\xC3\xA9") whole, with the
// line mode's answer, rather than guessing "caf".
void ScreenGame::TypeWordKey(int key) {
  if (EditTyped(key, nullptr)) return;
  if (key == kEscape) {
    mode_ = Mode::kGuessing;
    Hint("");
  } else if (key == kKeyEnter) {
    // A refused word stays on the line to be put right; so does an empty
    // line, lest the keys typed next be taken for letters.
    const std::string guess = Tidy(typed_);
    if (guess.empty()) {
      Hint("Type the whole word first; Esc goes back to letters.",
           "Type a word first.");
    } else if (Guess(guess, Entry::kWholeWord) && mode_ == Mode::kTypingWord) {
      mode_ = Mode::kGuessing;
    }
  } else {
    Hint(NotALetter(round_.alphabet(), "; Enter guesses, Esc cancels."),
         Brief(round_.alphabet()));
  }
}

bool ScreenGame::Key(int key, std::string* err) {
  if (help_) {
    HelpKey(key);
    return true;
  }
  if (key == kCtrlD) {
    done_ = true;
    return true;
  }
  switch (mode_) {
    case Mode::kSettingWord:
      return SetWordKey(key, err);
    case Mode::kGuessing:
      if (IsLetter(round_.alphabet(), key)) {
        Guess(Lower(key));
      } else if (key == kKeyEnter) {
        typed_.clear();
        mode_ = Mode::kTypingWord;
        Hint("Type the whole word; Enter guesses it, Esc cancels.",
             "Type the whole word.");
      } else if (key == '?') {
        help_ = true;
        help_page_ = 0;
      } else if (key == '!') {
        // One slip of Shift+1 must not end a streak: only y confirms.
        mode_ = Mode::kConfirmingGiveUp;
        Hint("Give up this round? [y/N]", "Give up? [y/N]");
      } else if (key == '+') {
        AskHint();
      } else if (key == kEscape) {
        done_ = true;
      } else {
        Hint("Type a letter, or Enter for the whole word (? for help).",
             "Type a letter.");
      }
      return true;
    case Mode::kTypingWord:
      TypeWordKey(key);
      return true;
    case Mode::kConfirmingGiveUp:
      if (key == 'y' || key == 'Y') {
        round_.GiveUp();
        EndRound();
      } else {
        mode_ = Mode::kGuessing;
        Hint("Not given up; play on.", "Play on.");
      }
      return true;
    case Mode::kConfirmingHint:
      mode_ = Mode::kGuessing;
      if (key == 'y' || key == 'Y') {
        message_ = round_.Hint();
        if (!round_.playing()) EndRound();
      } else {
        Hint("No hint taken; play on.", "Play on.");
      }
      return true;
    case Mode::kRoundOver:
      return RoundOverKey(key, err);
  }
  return true;
}

// A hint costs a miss: a slip of the key must not take one, so only y does.
void ScreenGame::AskHint() {
  const Answer none = round_.NoHint();
  if (!none.text.empty()) {
    message_ = none;
    return;
  }
  mode_ = Mode::kConfirmingHint;
  Hint("Show a letter for one miss? [y/N]", "Hint, 1 miss? [y/N]");
}

void ScreenGame::Resize(int rows, int cols) {
  rows_ = rows;
  cols_ = cols;
  help_page_ = std::min(help_page_, HelpPages(rows_, cols_) - 1);
}

// Space turns on, and on the last page goes back to the board as any key
// but those of the pages does.
void ScreenGame::HelpKey(int key) {
  const int last = HelpPages(rows_, cols_) - 1;
  if (key == kKeyUp || key == kKeyPageUp) {
    help_page_ = std::max(0, help_page_ - 1);
  } else if (key == kKeyDown || key == kKeyPageDown ||
             (key == ' ' && help_page_ < last)) {
    help_page_ = std::min(last, help_page_ + 1);
  } else {
    help_ = false;
  }
}

bool ScreenGame::RoundOverKey(int key, std::string* err) {
  if (match_.daily()) {
    // The daily word has one round: the keys that would play on quit.
    done_ = done_ || key == kKeyEnter || key == 'q' || key == 'Q' ||
            key == kEscape || key == 'y' || key == 'Y' || key == 'n' ||
            key == 'N';
    if (!done_) hint_ = "Enter or q quits; the result stays on the screen.";
    return true;
  }
  if (key == kKeyEnter || key == 'y' || key == 'Y') return NextRound(err);
  if (key == 'n' || key == 'N' || key == 'q' || key == 'Q' || key == kEscape) {
    done_ = true;
  } else {
    hint_ = "Enter or y plays the next round; n or q quits.";
  }
  return true;
}

Board ScreenGame::View() const {
  Board board;
  board.scores = match_.Scores();
  board.daily_date = match_.daily_date();
  board.message = message_;
  board.hint = hint_;
  if (mode_ == Mode::kSettingWord) {
    board.mode = KeyMode::kSettingWord;
    board.typed = std::string(
        std::count_if(typed_.begin(), typed_.end(),
                      [](char byte) { return !IsContinuation(byte); }),
        '*');
    return board;
  }
  board.alphabet = &round_.alphabet();
  board.shown = round_.Shown();
  if (round_.state() == Round::State::kLost ||
      round_.state() == Round::State::kGaveUp) {
    board.word = round_.secret();
  }
  board.clue = match_.Clue(round_.secret());
  for (unsigned char c : round_.alphabet().Line()) {
    const LetterState state = round_.Letter(c);
    board.letters.push_back({LetterMark(round_.alphabet(), c, state), state});
  }
  board.missed_letters = round_.MissedLetters();
  board.missed_words = round_.MissedWords();
  board.misses = round_.misses();
  board.hints = round_.hints();
  if (mode_ == Mode::kRoundOver) {
    // The player learns at once that the round was not saved, and again
    // once the screen is given back.
    if (!round_note_.empty()) board.note = "Note: " + round_note_;
    const std::string stats = match_.StatsText();
    for (std::size_t at = 0; at < stats.size();) {
      const std::size_t end = stats.find('\n', at);
      board.stats.push_back(stats.substr(at, end - at));
      at = end + 1;
    }
  }
  // One cell a character: printable ASCII and the alphabet's letters.
  for (std::size_t at = 0; at < typed_.size();) {
    const std::size_t from = at;
    char32_t c = 0;
    NextChar(typed_, &at, &c);
    const std::string typed = typed_.substr(from, at - from);
    board.typed += (c >= ' ' && c <= '~') ||
                           IsLetter(round_.alphabet(), static_cast<int>(c))
                       ? typed
                       : "?";
  }
  board.help_page = help_page_;
  board.mode = help_                        ? KeyMode::kHelp
               : mode_ == Mode::kTypingWord ? KeyMode::kTypingWord
               : mode_ == Mode::kRoundOver && match_.daily()
                   ? KeyMode::kDailyOver
               : mode_ == Mode::kRoundOver        ? KeyMode::kRoundOver
               : mode_ == Mode::kConfirmingGiveUp ? KeyMode::kConfirmingGiveUp
               : mode_ == Mode::kConfirmingHint   ? KeyMode::kConfirmingHint
                                                  : KeyMode::kGuessing;
  return board;
}

std::string ScreenGame::Farewell() {
  bool scored = false;
  for (const PlayerScore& p : match_.Scores()) {
    scored = scored || p.score.won + p.score.lost > 0;
  }
  if (round_.state() == Round::State::kNone && !scored) {
    return "";  // No round could start.
  }
  std::string lines;
  if (round_.playing()) {
    std::string note;
    lines += match_.Leave(round_, &note).text + "\n";
    if (!note.empty()) notes_.push_back(note);
  } else if (match_.daily() && mode_ == Mode::kRoundOver) {
    lines += round_.EndLine().text + "\n";  // The day's result stays.
  }
  return lines + match_.ClosingText();
}

#ifndef WORDGAME_SCREEN_SCREEN_GAME_H_
#define WORDGAME_SCREEN_SCREEN_GAME_H_

// The full-screen game without the terminal: keys in, a Board out. A letter
// key guesses at once, Enter opens a line for the whole word, ? shows the
// rules in pages (Space, PgDn and Down turn on, PgUp and Up back), ! asks
// whether to give up and only y does, + whether to show a letter for a miss
// (a hint) and only y does; after a round Enter or y plays on, n or q quits;
// Ctrl-D, and Esc outside the word line, quit. With two players each round
// opens with a line where the setter types the word, shown as "*" only. The
// daily word has one round; after it Enter, y, n, q and Esc all quit.

#include <string>
#include <vector>

#include "engine/game_starter.h"
#include "engine/match.h"
#include "engine/round.h"
#include "screen/keys.h"
#include "screen/screen_layout.h"

class ScreenGame {
 public:
  /// The rounds of `match`, each started by `starter`. `opening` is the first
  /// answer shown ("Words: shipped list, 2360 words."), or "".
  ScreenGame(GameStarter& starter, Match& match, std::string opening);

  /// Starts the first round (with two players, the typing of its word). On
  /// failure returns false and sets *err.
  bool Begin(std::string* err);

  /// Acts on one key (a character, or one of the key constants of keys.h). Keys
  /// that mean nothing at the moment get a hint and cost nothing. Returns false
  /// and sets *err when the next round cannot start.
  bool Key(int key, std::string* err);

  /// The screen's size, which sets the help's pages (24 x 80 until told).
  void Resize(int rows, int cols);

  /// True once the player quit.
  bool done() const { return done_; }

  /// True while the setter types the word of a round.
  bool setting_word() const { return mode_ == Mode::kSettingWord; }

  /// What the screen shows now; after a round, with the round's note
  /// ("Note: statistics not saved: ...") if it has one.
  Board View() const;

  /// Leaves the game (Match::Leave for a round in play) and returns plain
  /// lines for the normal screen: the word of a round in play (or the daily
  /// word's result), then Match::ClosingText, each ending in a line feed; ""
  /// when no round could start. Called once, at the end.
  std::string Farewell();

  /// The match's notes for standard error so far (Match::Finish), which
  /// cannot be shown while the game has the screen.
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  enum class Mode {
    kSettingWord,
    kGuessing,
    kTypingWord,
    kConfirmingGiveUp,
    kConfirmingHint,
    kRoundOver
  };

  // The next round: with two players, the typing of its word first.
  bool NextRound(std::string* err);
  bool StartRound(std::string* err);
  // A character's byte or Backspace on the typed line (a character of
  // several bytes erased whole); false, and nothing done, for any other key.
  // A byte beyond the longest word is dropped, with `when_full` as the hint
  // when given.
  bool EditTyped(int key, const char* when_full);
  bool SetWordKey(int key, std::string* err);
  // A key on the line of the whole word being guessed.
  void TypeWordKey(int key);
  // "+": asks whether to take a hint, or says why there is none.
  void AskHint();
  // Hands a guess to the round; true when it was judged (not refused).
  bool Guess(const std::string& guess, Entry entry = Entry::kAny);
  void EndRound();
  // Shows `text` (`brief` on a narrow screen) as the answer to a key.
  void Hint(const std::string& text, const std::string& brief = "") {
    message_ = {Tone::kPlain, text, brief};
  }
  bool RoundOverKey(int key, std::string* err);
  void HelpKey(int key);

  GameStarter& starter_;
  Match& match_;
  std::string opening_;
  Round round_;
  Mode mode_ = Mode::kGuessing;
  bool help_ = false;
  int help_page_ = 0;
  int rows_ = kBoardRows, cols_ = kBoardCols;
  bool done_ = false;
  std::string typed_;
  Answer message_;
  // After a round, the answer to a key that means nothing then, shown beside
  // the result, which stays.
  std::string hint_;
  std::vector<std::string> notes_;
  // The note of the round just over, if any, shown after it.
  std::string round_note_;
};

#endif  // WORDGAME_SCREEN_SCREEN_GAME_H_

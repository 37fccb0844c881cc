#ifndef WORDGAME_SCREEN_TERMINAL_H_
#define WORDGAME_SCREEN_TERMINAL_H_

// The full-screen mode on a real terminal, through ncurses: shows a Screen,
// reads keys, follows resizes and Ctrl-Z, and gives the terminal back exactly
// as it found it.

#include <cstdio>
#include <memory>
#include <string>

#include "screen/keys.h"
#include "screen/screen_game.h"
#include "screen/screen_grid.h"

/// True when TERM names a terminal that can do more than print lines: set,
/// not empty and not "dumb". Both the full screen and colours need one.
bool CapableTerm();

class Terminal {
 public:
  /// Takes over the terminal of `in` and `out` (the alternate screen, keys
  /// without Enter and without echo) when both are terminals and TERM names
  /// one that the terminal library knows, "dumb" excepted; else returns null
  /// and changes nothing, and sets *why (one line) when the only obstacle is
  /// a TERM that the library does not know. `colour`: whether colours may be
  /// used at all.
  static std::unique_ptr<Terminal> Open(std::FILE* in, std::FILE* out,
                                        bool colour, std::string* why);
  /// Gives the terminal back: modes, cursor, colours and the normal screen.
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  int rows() const;
  int cols() const;
  /// Shows `screen`, which should have rows() x cols().
  void Show(const Screen& screen);
  /// Makes the next Show repaint every cell, whatever the terminal showed.
  void RepaintAll();
  /// Waits for the next key: a character (its code point, from the bytes of
  /// the locale's character set) or a constant of keys.h,
  /// kKeyResize after the size changed; Alt with a key and sequences the
  /// terminal library does not know come as kKeyOther. Returns kKeyNone when an
  /// ending signal was recorded (EndingSignals::Pending) or the terminal has
  /// gone.
  int NextKey();

 private:
  Terminal() = default;
  // The key that Esc, just read, starts: Esc itself, or kKeyOther for one
  // that means nothing here (Alt with a key, an unknown sequence).
  int AfterEscape();

  struct State;
  std::unique_ptr<State> state_;
};

/// Plays the rounds of `game` on `terminal` until the player quits, an
/// ending signal arrives or the terminal goes. Returns false and sets *err
/// when a round cannot start.
bool PlayOnTerminal(Terminal& terminal, ScreenGame& game, std::string* err);

#endif  // WORDGAME_SCREEN_TERMINAL_H_

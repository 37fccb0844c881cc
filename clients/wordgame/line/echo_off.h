#ifndef WORDGAME_LINE_ECHO_OFF_H_
#define WORDGAME_LINE_ECHO_OFF_H_

// Typing unseen on a terminal in the line mode: the word one player sets for
// the other to guess.

/// While alive, the terminal of the descriptor `fd` (when it is one) shows
/// nothing of what is typed but the end of each line; line editing works as
/// usual. Its modes as they were come back when the object goes, and also
/// while the program is stopped (Ctrl-Z, unless the caller ignores it): the
/// shell gets the terminal as it was, and echo goes off again on fg. The
/// game's ending signals are deferred (GameFolder), so they end the read and
/// the object goes before the program ends; only a kill that cannot be
/// caught leaves the echo off. One object at a time.
class EchoOff {
 public:
  explicit EchoOff(int fd);
  ~EchoOff();
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

  /// Discards what was typed and not yet read, such as the letters of a
  /// word left without Enter when a signal ends the game: they must not be
  /// shown, nor reach the shell's next command line.
  void DiscardTyped();

 private:
  bool active_ = false;  // the echo went off: the destructor turns it on
};

#endif  // WORDGAME_LINE_ECHO_OFF_H_

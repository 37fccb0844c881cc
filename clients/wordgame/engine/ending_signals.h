#ifndef WORDGAME_ENGINE_ENDING_SIGNALS_H_
#define WORDGAME_ENGINE_ENDING_SIGNALS_H_

// The signals whose default action ends the process, and the files that must
// go before it ends. wordgame keeps a private folder while it plays; every
// way out removes it, a signal included, and one that the player sends to
// end the game (Ctrl-C, a hang-up, kill) may instead be recorded, for the
// game to end in order (the terminal given back, the word and the score
// shown) and raise it again.
//
// Process-wide: the handler finds what to remove in static storage.

#include <signal.h>

class EndingSignals {
 public:
  /// Catches every signal whose default action ends the process and that
  /// the caller does not ignore (nohup, a background job): the handler
  /// removes the listed files and lets the signal end the program (or
  /// records it, see Defer). Faults (SIGSEGV, SIGBUS, ...) are caught only
  /// while no one else handles them (a sanitizer does), and always end the
  /// program at once. A second Catch() before Release() does nothing.
  static void Catch();

  /// Gives back the actions that Catch() replaced, forgets the list of files
  /// and ends any deferral.
  static void Release();

  /// From now until Release(), an ending signal other than a fault removes
  /// the listed files and is only recorded. Reads that wait for input return
  /// EINTR when one arrives (the handler is installed without SA_RESTART).
  static void Defer();

  /// The first ending signal recorded while deferred, or 0.
  static int Pending();
  /// Pending(), which then reads 0 again.
  static int TakePending();

  /// Adds to *set the caught signals that Defer() records, for a wait that
  /// one of them is to cut short.
  static void AddTo(sigset_t* set);

  /// Lists the entry `name` (a name, not a path, copied) of the folder open
  /// as `dir_fd`, to be removed by unlinkat(dir_fd, name, flags) when a
  /// signal ends the program or RemoveListed() is called; the last listed
  /// goes first, so a folder's files are listed after the folder. False
  /// when the list is full or the name too long.
  static bool List(int dir_fd, const char* name, int flags);

  /// Removes the listed entries now, last listed first, and forgets them.
  static void RemoveListed();
};

/// While alive, SIGXFSZ is ignored, so that a write beyond the file-size
/// limit (ulimit -f) fails with EFBIG and is reported, instead of killing
/// the program with a partial file left behind.
class IgnoreFileSizeSignal {
 public:
  IgnoreFileSizeSignal();
  ~IgnoreFileSizeSignal();
  IgnoreFileSizeSignal(const IgnoreFileSizeSignal&) = delete;
  IgnoreFileSizeSignal& operator=(const IgnoreFileSizeSignal&) = delete;

 private:
  struct sigaction previous_;
};

#endif  // WORDGAME_ENGINE_ENDING_SIGNALS_H_

#ifndef WORDGAME_GAME_FOLDER_H_
#define WORDGAME_GAME_FOLDER_H_

// The engine always reads "dict.txt" from the current directory and writes
// its secret to standard output. A GameFolder gives it a private temporary
// folder, writes each round's words there as dict.txt, and keeps the secret
// line from the player by pointing standard output elsewhere while a game is
// constructed.
//
// Only one GameFolder may be open at a time in a process: its paths live in
// static storage, where the handler of an ending signal (Ctrl-C) finds them
// to remove the folder. Open() refuses a second one.

#include <signal.h>

#include <memory>
#include <string>
#include <vector>

#include "game.h"

class GameFolder {
 public:
  GameFolder() = default;
  /// Removes the folder and its files, and restores the signal actions that
  /// Open() replaced.
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  /// Creates the folder under $TMPDIR (or /tmp) and has the interrupt,
  /// terminate, hangup and quit signals remove it before they end the
  /// program (those ignored by the caller stay ignored); SIGXFSZ is ignored
  /// meanwhile, so a write beyond the file-size limit fails with EFBIG. On
  /// failure returns false, sets *err, and leaves nothing behind.
  bool Open(std::string* err);

  /// From now until the folder is closed, an ending signal removes the
  /// folder and is only recorded, for the caller to end the program in order
  /// (restore the terminal, show the word and the score) and then raise it
  /// again. Reads that wait for input return EINTR when one arrives.
  void DeferEndingSignals();

  /// The first ending signal recorded while deferred, or 0.
  static int PendingSignal();
  /// PendingSignal(), which then reads 0 again.
  static int TakePendingSignal();

  /// Adds to *set the ending signals that Open() catches, for a wait that
  /// one of them is to cut short.
  static void AddEndingSignals(sigset_t* set);

  /// Writes `words` (one a line) as the folder's dict.txt and starts a game
  /// over it; *secret receives the word the engine chose, which never reaches
  /// the player's output. On failure returns false and sets *err to "cannot
  /// start a game: " and why. Needs a successful Open().
  bool NewGame(const std::vector<std::string>& words,
               std::unique_ptr<Game>* game, std::string* secret,
               std::string* err);

 private:
  bool open_ = false;
  int capture_[2] = {-1, -1};  // Pipe that receives the engine's secret line.
};

#endif  // WORDGAME_GAME_FOLDER_H_

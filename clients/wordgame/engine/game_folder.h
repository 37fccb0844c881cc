#ifndef WORDGAME_ENGINE_GAME_FOLDER_H_
#define WORDGAME_ENGINE_GAME_FOLDER_H_

// The engine always reads "dict.txt" from the current directory and writes
// its secret to standard output. A GameFolder gives it a private temporary
// folder, writes each round's words there as dict.txt, and keeps the secret
// line from the player by pointing standard output elsewhere while a game is
// constructed.
//
// The folder is worked on through a descriptor of it, so that its name
// swapped for a link afterwards changes nothing. Only one GameFolder may be
// open at a time in a process: an ending signal removes it (EndingSignals).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ending_signals.h"
#include "engine/game_starter.h"
#include "game.h"

class GameFolder : public GameStarter {
 public:
  GameFolder() = default;
  /// Removes the folder and its files, and restores the signal actions that
  /// Open() replaced (EndingSignals::Release).
  ~GameFolder() override;
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  /// Creates the folder under $TMPDIR (or /tmp), private to the user, and
  /// has every ending signal remove it (EndingSignals::Catch); SIGXFSZ is
  /// ignored meanwhile, so a write beyond the file-size limit fails with
  /// EFBIG. On failure returns false, sets *err, and leaves nothing behind.
  bool Open(std::string* err);

  /// From now until the folder is closed, an ending signal removes the
  /// folder and is only recorded (EndingSignals::Defer), for the caller to
  /// end the program in order and then raise it again.
  void DeferEndingSignals();

  /// Writes `words` (one a line) as the folder's dict.txt and starts a game
  /// over it (GameStarter). Needs a successful Open().
  bool NewGame(const std::vector<std::string>& words,
               std::unique_ptr<Game>* game, std::string* secret,
               std::string* err) override;

 private:
  bool open_ = false;
  int parent_ = -1;            // The folder that holds it ($TMPDIR).
  int folder_ = -1;            // The folder itself.
  std::string path_;           // Its path, for messages.
  int capture_[2] = {-1, -1};  // Pipe that receives the engine's secret line.
  std::optional<IgnoreFileSizeSignal> no_size_signal_;
};

#endif  // WORDGAME_ENGINE_GAME_FOLDER_H_

#ifndef WORDGAME_GAME_FOLDER_H_
#define WORDGAME_GAME_FOLDER_H_

// The engine always reads "dict.txt" from the current directory and writes
// its secret to standard output. A GameFolder gives it a private temporary
// folder holding the words as dict.txt, and keeps the secret line from the
// player by pointing standard output elsewhere while a game is constructed.

#include <memory>
#include <string>
#include <vector>

#include "game.h"

class GameFolder {
 public:
  /// Creates the folder under $TMPDIR (or /tmp) with `words` in dict.txt, one
  /// a line. Throws std::runtime_error with the reason when it cannot.
  explicit GameFolder(const std::vector<std::string>& words);
  /// Removes the folder and its dict.txt.
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  /// Starts a game over the folder's dict.txt; `secret` receives the word the
  /// engine chose, which the player never sees on standard output. Throws
  /// std::runtime_error when the game cannot be set up.
  std::unique_ptr<Game> NewGame(std::string* secret);

 private:
  int capture_ = -1;  // Unlinked file that receives the engine's secret line.
};

#endif  // WORDGAME_GAME_FOLDER_H_

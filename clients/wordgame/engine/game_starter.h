#ifndef WORDGAME_ENGINE_GAME_STARTER_H_
#define WORDGAME_ENGINE_GAME_STARTER_H_

// Starting a round of the engine: the words go in, a game and the word it
// chose come out. GameFolder does it with the real engine in a private
// folder; a test of a front end may use a stand-in.

#include <memory>
#include <string>
#include <vector>

#include "game.h"

class GameStarter {
 public:
  virtual ~GameStarter() = default;

  /// Starts a game over `words` (one word each); *secret receives the word
  /// the engine chose, which never reaches the player's output. On failure
  /// returns false and sets *err to "cannot start a game: " and why.
  virtual bool NewGame(const std::vector<std::string>& words,
                       std::unique_ptr<Game>* game, std::string* secret,
                       std::string* err) = 0;
};

#endif  // WORDGAME_ENGINE_GAME_STARTER_H_

#ifndef GAME_GAME_H_
#define GAME_GAME_H_

// The word-guessing game engine. A Game picks a secret word from the file
// "dict.txt" in the current directory, shows it as a row of "_ " that fills in
// as letters are found, judges guesses of one letter or of the whole word, and
// says when the game is won or lost (from the seventh bad guess on).
// Characters are bytes and compare exactly: case matters, nothing is trimmed.
// The class's interface and its one line of output are fixed
// (INTERFACES.md).

#include <cstddef>
#include <string>
#include <vector>

class Game {
 public:
  /// Reads "dict.txt" (one word per line, bytes as they stand), seeds rand()
  /// with time(), picks words[rand() % count] as the secret, writes it and a
  /// line feed to standard output and hides every letter. The argument is not
  /// used. Throws std::runtime_error, whose what() is "dict.txt: " and the
  /// reason, when the file cannot be opened or read, is not a regular file
  /// ("not a regular file": a FIFO, a terminal or a device such as /dev/zero
  /// could block or never end), holds no line, holds more than 128 MiB
  /// ("larger than 128 MiB") or more than 4194304 lines ("more than 4194304
  /// lines").
  Game(std::string);

  /// Judges one guess: fewer than two characters is a letter guess (an empty
  /// guess stands for the byte 0), more is a whole-word guess. A letter that
  /// reveals something is recorded as a good guess, any other letter and a
  /// wrong word as a bad one; the right word reveals every letter and is
  /// recorded in neither list. Returns the hidden word after the guess.
  std::string MakeGuess(std::string guess);

  /// True when every position of the secret is revealed.
  bool HasWon();

  /// True from the seventh bad guess on.
  bool HasLost();

  /// The word as the player sees it: per letter of the secret, "_" or the
  /// revealed letter, then a space.
  std::string hidden_word();

  /// The number of characters of the secret.
  std::size_t word_length();

  /// Every line of "dict.txt", in file order.
  std::vector<std::string> words();

  /// The letter guesses that revealed a letter, in order.
  std::vector<std::string> good_guesses();

  /// The guesses that counted against the player, in order, repeats included.
  std::vector<std::string> bad_guesses();

 private:
  /// The word to guess, chosen at construction.
  std::string secret_word_;
  /// What the player sees: per letter "_" or the letter, then a space.
  std::string hidden_word_;
  /// Guesses that revealed a letter, in order.
  std::vector<std::string> good_guesses_;
  /// Guesses that counted against the player, in order.
  std::vector<std::string> bad_guesses_;
  /// The lines of "dict.txt", in file order.
  std::vector<std::string> words_;
};

#endif  // GAME_GAME_H_

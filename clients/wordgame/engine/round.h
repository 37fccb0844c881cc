#ifndef WORDGAME_ENGINE_ROUND_H_
#define WORDGAME_ENGINE_ROUND_H_

// One round of the game over the engine, and the score across rounds: what
// both front ends (the line mode and the full screen) show and judge alike.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/game_starter.h"
#include "game.h"
#include "words/alphabet.h"
#include "words/deck.h"

/// Bad guesses that lose a round (the engine's rule); the drawing has one part
/// for each.
constexpr std::size_t kMisses = 7;

/// Rounds won and lost, and the current winning streak.
struct Score {
  int won = 0, lost = 0, streak = 0;
  /// Counts a finished round; a loss ends the streak.
  void Add(bool won_round);
  /// "2 won, 1 lost, winning streak 0."
  std::string Text() const;
};

/// One player's score, as the front ends show it.
struct PlayerScore {
  std::string name;  // "" when there is one player
  Score score;
};

/// What a letter of the alphabet is in the round so far.
enum class LetterState { kUntried, kFound, kMissed };

/// How the boards show the letter of code `code` in `alphabet`: as it is
/// while untried, in capitals once found, "-" once missed.
std::string LetterMark(const Alphabet& alphabet, unsigned char code,
                       LetterState state);

/// How the last guess went, for the player's one-line answer.
enum class Tone { kPlain, kGood, kBad };

struct Answer {
  Tone tone = Tone::kPlain;
  std::string text;  // one line, no line feed
  /// The same in brief, for a line of a narrow screen (20 columns), or ""
  /// when `text` is as short. (Initialised, so that an answer may leave it
  /// out.)
  std::string brief = {};
};

/// Where a guess was typed: on the line mode's line, which takes a letter,
/// the whole word or a command; or on the full screen's word line, which
/// takes the whole word only.
enum class Entry { kAny, kWholeWord };

class Round {
 public:
  enum class State { kNone, kPlaying, kWon, kLost, kGaveUp };

  /// Starts a new round: takes the words from `source`, lets the engine
  /// choose in `starter`, and tells the source what it chose. *note receives
  /// the source's line for the player, or "". On failure returns false and
  /// sets *err; the round is then kNone.
  bool Start(GameStarter& starter, WordSource& source, std::string* note,
             std::string* err);

  /// Judges one tidied guess (no blanks around it, in UTF-8). Refuses, at
  /// no cost, anything but letters of the alphabet (of any case), a word
  /// whose length is not the secret's (on the word line, a single letter
  /// too) and a guess tried before, each with what `entry` takes next;
  /// otherwise hands it to the engine, in codes. With folding
  /// (Alphabet::FoldAccents) a letter finds each letter of the word that it
  /// stands for, and a word is right when each letter stands for the
  /// secret's. Needs a round in play.
  Answer Guess(const std::string& guess, Entry entry = Entry::kAny);

  /// Why no hint can be given now (a plain answer), or an empty text when
  /// one can: a hint costs a miss, so none where that miss would lose the
  /// round, and it never finds the last letter, which would win it. Needs a
  /// round in play.
  Answer NoHint() const;
  /// Gives a hint (NoHint() must have no text): the letter of the first
  /// position not found is guessed for the player, and counts one miss.
  Answer Hint();

  /// Ends a round in play as lost.
  void GiveUp();

  State state() const { return state_; }
  bool playing() const { return state_ == State::kPlaying; }
  /// The secret in the alphabet's codes.
  const std::string& secret() const { return secret_; }
  /// The letters of the round's words (a to z before a round starts).
  const Alphabet& alphabet() const { return *alphabet_; }
  /// The word as the player sees it, one code per letter: the letter once
  /// found, else "_".
  std::string Shown() const;
  /// The state of the letter of `code` (of the alphabet line: with folding,
  /// any letter that it stands for found).
  LetterState Letter(unsigned char code) const;
  /// The missed letters and the wrong words in UTF-8, each in the order
  /// guessed.
  std::vector<std::string> MissedLetters() const;
  std::vector<std::string> MissedWords() const;
  /// Bad guesses and hints so far, at most kMisses.
  std::size_t misses() const;
  /// Hints taken in the round.
  std::size_t hints() const { return hints_; }
  /// For a round over (or left in play when the player quits): "You won! The
  /// word was "cat"." and the like.
  Answer EndLine() const;

 private:
  std::vector<std::string> Missed(bool letters) const;
  // Bad guesses and hints, however many.
  std::size_t AllMisses() const;
  // After the engine judged a guess: won, or lost by the misses.
  void Judge();
  // True when a guess of the letter `key` (Alphabet::Key) was made.
  bool Tried(unsigned char key) const;
  // Hands the letter `key` to the engine, once for each letter of the
  // secret that it stands for and is not found yet, or once when there is
  // none; returns how many of the secret's letters it stands for.
  std::size_t GuessLetter(unsigned char key);

  std::unique_ptr<Game> game_;
  const Alphabet* alphabet_ = &LatinAlphabet();
  std::string secret_;
  State state_ = State::kNone;
  std::size_t hints_ = 0;
};

#endif  // WORDGAME_ENGINE_ROUND_H_

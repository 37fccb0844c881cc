#ifndef WORDGAME_WORDS_DECK_H_
#define WORDGAME_WORDS_DECK_H_

// Where each round's words come from. A front end asks its WordSource for the
// words of the next round, lets the engine draw the secret from them, and
// tells the source which word was played.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "words/alphabet.h"
#include "words/word_views.h"

class WordSource {
 public:
  virtual ~WordSource() = default;
  /// The words the next round's secret is drawn from: one or more, distinct,
  /// playable. *note receives a line for the player about the choice (the
  /// list starting over, say), or "".
  virtual std::vector<std::string> NextRound(std::string* note) = 0;
  /// Tells the source the secret of the round just started.
  virtual void Played(const std::string& secret) = 0;
  /// The letters of the words, whose codes the words are written in; it
  /// lives as long as the source.
  virtual const Alphabet& alphabet() const = 0;
};

/// The most words a deck hands out for one round: enough that the engine's
/// draw among them stays unpredictable, few enough that a list of millions
/// costs a round no more than a short one.
constexpr std::size_t kRoundWords = 64;

/// Where a deck takes up the play of earlier sessions, as indices into its
/// words: those played in the pass of the list under way, oldest first, and
/// those of the pass before that are still held back (Deck), in the order
/// they come back.
struct DeckStart {
  std::vector<std::uint32_t> played, held;
};

/// The words of a list's pass that are held back from the start of the next
/// one, from the last played on: half the list (rounded down), so that no
/// word comes back within half as many rounds as the list has words.
std::size_t HeldBack(std::size_t words);

/// A shuffled deck, in passes: each pass plays every word once, in a random
/// order, so all come up equally often. The HeldBack words played last in a
/// pass are held back from the next, and come back one a round from its
/// first round on, the earliest played first; so a word comes back no sooner
/// than HeldBack + 1 rounds after it was played (the second of two words
/// alternates with the first; a list of one word plays it each round).
class Deck : public WordSource {
 public:
  /// `words`: one or more, distinct, in the codes of `alphabet`. `seed`
  /// seeds the shuffle. `start`: the pass under way, from earlier sessions
  /// (none: a new pass).
  Deck(WordViews words, std::uint32_t seed, DeckStart start = {},
       Alphabet alphabet = Alphabet());

  /// Up to kRoundWords of the words free to play, drawn at random and
  /// shuffled: the engine draws its index with the clock in seconds as the
  /// seed, so rounds or runs started within one second would otherwise open
  /// with the same word.
  std::vector<std::string> NextRound(std::string* note) override;
  void Played(const std::string& secret) override;
  const Alphabet& alphabet() const override { return alphabet_; }

 private:
  // A new pass: the words of the last, less those held back.
  void NewPass();

  const WordViews words_;
  const Alphabet alphabet_;
  // Indices into words_ of the words free to play in this pass; the first
  // `offered_` are those NextRound handed out last.
  std::vector<std::uint32_t> unplayed_;
  std::size_t offered_ = 0;
  // The words played in this pass, in order, and those of the last pass
  // held back, of which the first `released_` have come back.
  std::vector<std::uint32_t> pass_, held_;
  std::size_t released_ = 0;
  // On the heap: its 2.5 KiB of state would take a good part of a small
  // stack wherever a deck is a local.
  std::unique_ptr<std::mt19937> shuffle_;
};

#endif  // WORDGAME_WORDS_DECK_H_

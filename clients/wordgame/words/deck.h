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
};

/// The most words a deck hands out for one round: enough that the engine's
/// draw among them stays unpredictable, few enough that a list of millions
/// costs a round no more than a short one.
constexpr std::size_t kRoundWords = 64;

/// A shuffled deck: no word comes back before every word was played; then
/// all come round again but the one just played, so no word is played twice
/// in a row (unless the list has one word only).
class Deck : public WordSource {
 public:
  /// `words`: one or more, distinct. `seed` seeds the shuffle. `first`: the
  /// indices in `words` of the words the deck hands out before it goes round
  /// the whole list (such as those not played lately), each once; none: all
  /// of them.
  Deck(WordViews words, std::uint32_t seed,
       std::vector<std::uint32_t> first = {});

  /// Up to kRoundWords of the words not played yet, drawn at random and
  /// shuffled: the engine draws its index with the clock in seconds as the
  /// seed, so rounds or runs started within one second would otherwise open
  /// with the same word.
  std::vector<std::string> NextRound(std::string* note) override;
  void Played(const std::string& secret) override;

 private:
  const WordViews words_;
  // Indices into words_ of the words not played yet; the first `offered_`
  // are those NextRound handed out last.
  std::vector<std::uint32_t> unplayed_;
  std::size_t offered_ = 0;
  std::string last_;
  // On the heap: its 2.5 KiB of state would take a good part of a small
  // stack wherever a deck is a local.
  std::unique_ptr<std::mt19937> shuffle_;
};

#endif  // WORDGAME_WORDS_DECK_H_

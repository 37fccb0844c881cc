#include "engine/round.h"

#include <algorithm>

#include "text/text.h"

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

void Score::Add(bool won_round) {
  if (won_round) {
    ++won;
    ++streak;
  } else {
    ++lost;
    streak = 0;
  }
}

std::string Score::Text() const {
  return std::to_string(won) + " won, " + std::to_string(lost) +
         " lost, winning streak " + std::to_string(streak) + ".";
}

std::string LetterMark(char c, LetterState state) {
  switch (state) {
    case LetterState::kFound:
      return std::string(1, static_cast<char>(c - 'a' + 'A'));
    case LetterState::kMissed:
      return "-";
    default:
      return std::string(1, c);
  }
}

bool Round::Start(GameStarter& starter, WordSource& source, std::string* note,
                  std::string* err) {
  state_ = State::kNone;
  std::vector<std::string> words = source.NextRound(note);
  if (!starter.NewGame(words, &game_, &secret_, err)) return false;
  source.Played(secret_);
  state_ = State::kPlaying;
  return true;
}

Answer Round::Guess(const std::string& guess) {
  const std::size_t letters = secret_.size();
  if (!AllLetters(guess) || guess.empty()) {
    return {Tone::kPlain, "Letters a to z only, please (? for help)."};
  }
  if (guess.size() > 1 && guess.size() != letters) {
    return {Tone::kPlain, "That is " + CountOf(guess.size(), "letter") +
                              "; the word has " + std::to_string(letters) +
                              ". Type one letter or the whole word."};
  }
  if (Contains(game_->good_guesses(), guess) ||
      Contains(game_->bad_guesses(), guess)) {
    return {Tone::kPlain, "You already tried " + Quoted(guess) + "."};
  }
  game_->MakeGuess(guess);
  Answer answer;
  if (guess.size() > 1) {
    answer =
        guess == secret_
            ? Answer{Tone::kGood, "Yes, the word is " + Quoted(guess) + "."}
            : Answer{Tone::kBad, "No, the word is not " + Quoted(guess) + "."};
  } else {
    std::size_t found = static_cast<std::size_t>(
        std::count(secret_.begin(), secret_.end(), guess[0]));
    answer =
        found == 0
            ? Answer{Tone::kBad, "No " + Quoted(guess) + " in the word."}
            : Answer{Tone::kGood, "Yes, " + Quoted(guess) + " is in the word " +
                                      (found == 1 ? std::string("once")
                                                  : CountOf(found, "time")) +
                                      "."};
  }
  if (game_->HasWon()) {
    state_ = State::kWon;
  } else if (game_->HasLost()) {
    state_ = State::kLost;
  }
  return answer;
}

void Round::GiveUp() { state_ = State::kGaveUp; }

// The engine's hidden word holds one display character and a space per
// letter.
std::string Round::Shown() const {
  std::string hidden = game_ ? game_->hidden_word() : "";
  std::string shown;
  for (std::size_t i = 0; i < hidden.size(); i += 2) shown += hidden[i];
  return shown;
}

// A letter is found when the word shows it, which also holds for every
// letter of a word guessed whole.
LetterState Round::Letter(char c) const {
  if (Shown().find(c) != std::string::npos) return LetterState::kFound;
  if (game_ && Contains(game_->bad_guesses(), std::string(1, c))) {
    return LetterState::kMissed;
  }
  return LetterState::kUntried;
}

std::vector<std::string> Round::Missed(bool letters) const {
  std::vector<std::string> missed;
  if (!game_) return missed;
  for (const std::string& guess : game_->bad_guesses()) {
    if ((guess.size() == 1) == letters) missed.push_back(guess);
  }
  return missed;
}

std::vector<std::string> Round::MissedLetters() const { return Missed(true); }

std::vector<std::string> Round::MissedWords() const { return Missed(false); }

std::size_t Round::misses() const {
  return game_ ? std::min(game_->bad_guesses().size(), kMisses) : 0;
}

Answer Round::EndLine() const {
  const std::string reveal = "The word was " + Quoted(secret_) + ".";
  switch (state_) {
    case State::kWon:
      return {Tone::kGood, "You won! " + reveal};
    case State::kLost:
      return {Tone::kBad, "You lost. " + reveal};
    case State::kGaveUp:
      return {Tone::kBad, "You gave up. " + reveal};
    default:
      return {Tone::kPlain, "Round left unfinished. " + reveal};
  }
}

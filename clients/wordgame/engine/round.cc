#include "engine/round.h"

#include <algorithm>

#include "text/text.h"

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// "once" or "3 times".
std::string Times(std::size_t n) {
  return n == 1 ? std::string("once") : CountOf(n, "time");
}

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

std::string LetterMark(const Alphabet& alphabet, unsigned char code,
                       LetterState state) {
  switch (state) {
    case LetterState::kFound:
      return alphabet.Capital(code);
    case LetterState::kMissed:
      return "-";
    default:
      return alphabet.Letter(code);
  }
}

bool Round::Start(GameStarter& starter, WordSource& source, std::string* note,
                  std::string* err) {
  state_ = State::kNone;
  hints_ = 0;
  alphabet_ = &source.alphabet();
  std::vector<std::string> words = source.NextRound(note);
  if (!starter.NewGame(words, &game_, &secret_, err)) return false;
  source.Played(secret_);
  state_ = State::kPlaying;
  return true;
}

bool Round::Tried(unsigned char key) const {
  for (const auto& guesses : {game_->good_guesses(), game_->bad_guesses()}) {
    for (const std::string& guess : guesses) {
      if (guess.size() == 1 &&
          alphabet_->Key(static_cast<unsigned char>(guess[0])) == key) {
        return true;
      }
    }
  }
  return false;
}

std::size_t Round::GuessLetter(unsigned char key) {
  const std::string shown = Shown();
  std::string hidden;  // the letters it stands for still hidden, each once
  std::size_t found = 0;
  for (std::size_t i = 0; i < secret_.size(); ++i) {
    const char c = secret_[i];
    if (alphabet_->Key(static_cast<unsigned char>(c)) != key) continue;
    ++found;
    if (shown[i] == '_' && hidden.find(c) == std::string::npos) hidden += c;
  }
  if (hidden.empty()) hidden = std::string(1, static_cast<char>(key));
  for (char c : hidden) game_->MakeGuess(std::string(1, c));
  return found;
}

Answer Round::Guess(const std::string& guess, Entry entry) {
  const std::size_t letters = secret_.size();
  const bool word_line = entry == Entry::kWholeWord;
  std::string codes;
  if (!alphabet_->Encode(guess, &codes) || codes.empty()) {
    const std::string only = alphabet_->ascii()
                                 ? "Letters a to z only, please"
                                 : "Letters of the word list only, please";
    return {Tone::kPlain,
            only + (word_line ? "; Backspace erases." : " (? for help)."),
            alphabet_->ascii() ? "Letters a-z only." : "List letters only."};
  }
  // A letter is named as the one it stands for: with folding, é as e.
  const std::string said =
      Quoted(codes.size() == 1 ? alphabet_->Letter(alphabet_->Key(
                                     static_cast<unsigned char>(codes[0])))
                               : alphabet_->Decode(codes));
  if ((codes.size() > 1 || word_line) && codes.size() != letters) {
    return {Tone::kPlain,
            "That is " + CountOf(codes.size(), "letter") + "; the word has " +
                std::to_string(letters) + ". " +
                (word_line ? "Type the whole word, or Esc for letters."
                           : "Type one letter or the whole word."),
            "It has " + CountOf(letters, "letter") + "."};
  }
  const unsigned char key =
      alphabet_->Key(static_cast<unsigned char>(codes[0]));
  if (codes.size() == 1 ? Tried(key) : Contains(game_->bad_guesses(), codes)) {
    return {Tone::kPlain, "You already tried " + said + ".",
            "Tried " + said + " before."};
  }
  Answer answer;
  if (codes.size() > 1) {
    bool right = true;  // letter by letter, as folding has them
    for (std::size_t i = 0; i < letters; ++i) {
      right =
          right && alphabet_->Key(static_cast<unsigned char>(codes[i])) ==
                       alphabet_->Key(static_cast<unsigned char>(secret_[i]));
    }
    game_->MakeGuess(right ? secret_ : codes);
    answer = right ? Answer{Tone::kGood, "Yes, the word is " + said + ".", ""}
                   : Answer{Tone::kBad, "No, the word is not " + said + ".",
                            "Not " + said + "."};
  } else {
    const std::size_t found = GuessLetter(key);
    answer =
        found == 0
            ? Answer{Tone::kBad, "No " + said + " in the word.", ""}
            : Answer{Tone::kGood,
                     "Yes, " + said + " is in the word " + Times(found) + ".",
                     "Yes, " + said + " " + Times(found) + "."};
  }
  Judge();
  return answer;
}

void Round::Judge() {
  if (game_->HasWon()) {
    state_ = State::kWon;
  } else if (game_->HasLost() || AllMisses() >= kMisses) {
    state_ = State::kLost;
  }
}

// A letter is left to find at each position the word does not show.
Answer Round::NoHint() const {
  if (AllMisses() + 1 >= kMisses) {
    return {Tone::kPlain, "No hint: its miss would lose the round.",
            "No hint: it loses."};
  }
  const std::string shown = Shown();
  std::string left;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char key = static_cast<char>(
        alphabet_->Key(static_cast<unsigned char>(secret_[i])));
    if (shown[i] == '_' && left.find(key) == std::string::npos) left += key;
  }
  if (left.size() <= 1) {
    return {Tone::kPlain, "No hint for the last letter: that one is yours.",
            "No hint: last one."};
  }
  return {};
}

// The hint is the first letter not shown, guessed as a letter is: with
// folding, every letter it stands for shows.
Answer Round::Hint() {
  const unsigned char key =
      alphabet_->Key(static_cast<unsigned char>(secret_[Shown().find('_')]));
  const std::size_t found = GuessLetter(key);
  ++hints_;
  Judge();
  const std::string quoted = Quoted(alphabet_->Letter(key));
  return {Tone::kGood,
          "A hint: " + quoted + " is in the word " + Times(found) +
              ", for one miss.",
          "Hint: " + quoted + ", a miss."};
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

// A letter is found when the word shows it (or, with folding, a letter it
// stands for), which also holds for every letter of a word guessed whole.
LetterState Round::Letter(unsigned char code) const {
  for (char c : Shown()) {
    if (c != '_' && alphabet_->Key(static_cast<unsigned char>(c)) == code) {
      return LetterState::kFound;
    }
  }
  if (game_ &&
      Contains(game_->bad_guesses(), std::string(1, static_cast<char>(code)))) {
    return LetterState::kMissed;
  }
  return LetterState::kUntried;
}

std::vector<std::string> Round::Missed(bool letters) const {
  std::vector<std::string> missed;
  if (!game_) return missed;
  for (const std::string& guess : game_->bad_guesses()) {
    if ((guess.size() == 1) == letters) {
      missed.push_back(alphabet_->Decode(guess));
    }
  }
  return missed;
}

std::vector<std::string> Round::MissedLetters() const { return Missed(true); }

std::vector<std::string> Round::MissedWords() const { return Missed(false); }

std::size_t Round::AllMisses() const {
  return (game_ ? game_->bad_guesses().size() : 0) + hints_;
}

std::size_t Round::misses() const { return std::min(AllMisses(), kMisses); }

Answer Round::EndLine() const {
  const std::string word = Quoted(alphabet_->Decode(secret_)) + ".";
  const std::string reveal = "The word was " + word;
  switch (state_) {
    case State::kWon:
      return {Tone::kGood, "You won! " + reveal, "Won: " + word};
    case State::kLost:
      return {Tone::kBad, "You lost. " + reveal, "Lost: " + word};
    case State::kGaveUp:
      return {Tone::kBad, "You gave up. " + reveal, "Gave up: " + word};
    default:
      return {Tone::kPlain, "Round left unfinished. " + reveal,
              "Left: " + word};
  }
}

#include "engine/match.h"

#include <utility>

#include "engine/daily_round.h"
#include "text/text.h"

// The statistics record a win with at most the misses that a round allows.
static_assert(kMaxWinMisses + 1 == kMisses);

namespace {

// The name with the blanks around it dropped.
std::string Trimmed(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

bool CheckName(const std::string& name, std::string* err) {
  if (name.empty() || name.size() > kMaxNameLength) {
    *err = "a player's name must have 1 to " + std::to_string(kMaxNameLength) +
           " characters";
    return false;
  }
  for (char c : name) {
    if (c < ' ' || c > '~') {
      *err =
          "a player's name may have ASCII letters, digits, blanks and "
          "punctuation only";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseNames(const std::string& text, std::string* first,
                std::string* second, std::string* err) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos ||
      text.find(',', comma + 1) != std::string::npos) {
    *err = "--names needs two names apart by a comma, such as --names Ann,Bob";
    return false;
  }
  *first = Trimmed(text.substr(0, comma));
  *second = Trimmed(text.substr(comma + 1));
  if (!CheckName(*first, err) || !CheckName(*second, err)) return false;
  if (*first == *second) {
    *err = "the two players need different names";
    return false;
  }
  return true;
}

Match::Match(WordSource& words)
    : players_{PlayerScore{"", Score()}}, deck_(&words) {}

Match::Match(std::string first, std::string second)
    : players_{PlayerScore{std::move(first), Score()},
               PlayerScore{std::move(second), Score()}} {}

void Match::set_recorder(RoundRecorder* recorder, SavedState saved,
                         std::uint64_t list_id, std::size_t list_size) {
  recorder_ = recorder;
  saved_ = std::move(saved);
  list_id_ = list_id;
  list_size_ = list_size;
}

void Match::set_daily(Day day, Day today, std::uint64_t list_id) {
  daily_ = true;
  daily_result_ = DailyResult{day, list_id, false, 0};
  today_ = today;
}

std::string Match::daily_date() const {
  return daily_ ? FormatDate(daily_result_.day) : "";
}

const std::string& Match::setter() const {
  return players_[turn_ % players_.size()].name;
}

const std::string& Match::guesser() const {
  return players_[(turn_ + 1) % players_.size()].name;
}

bool Match::SetWord(const std::string& typed, std::string* why) {
  const std::string word = Tidy(typed);
  if (word.empty()) {
    *why = "Type a word of letters a to z, then Enter.";
  } else if (!AllLetters(word)) {
    *why = "Letters a to z only, please; type the word again.";
  } else if (word.size() > kMaxWordLetters) {
    *why = "That is " + CountOf(word.size(), "letter") + "; at most " +
           std::to_string(kMaxWordLetters) + ", please.";
  } else {
    set_word_.word = word;
    return true;
  }
  return false;
}

std::vector<std::string> Match::SetWordSource::NextRound(std::string* note) {
  note->clear();
  return {word};
}

WordSource& Match::words() {
  return two_players() ? static_cast<WordSource&>(set_word_) : *deck_;
}

std::string Match::Clue(const std::string& secret) const {
  return clues_ ? CategoryOf(*clues_, secret) : "";
}

std::string Match::Opening(const Round& round) const {
  if (daily_) return DailyOpening(daily_result_.day, round.secret().size());
  const std::string letters = CountOf(round.secret().size(), "letter");
  if (!two_players()) return "A new word of " + letters + ".";
  return guesser() + ", guess " + setter() + "'s word of " + letters + ".";
}

Answer Match::Finish(const Round& round, std::string* note) {
  note->clear();
  const bool found = round.state() == Round::State::kWon;
  if (two_players()) return FinishForTwo(round, found);
  players_[0].score.Add(found);
  Record(round, found, true, note);
  return round.EndLine();
}

// Not inlined into Finish: its pieces of text would take the stack of the
// single player's rounds, which record them in the state file.
[[gnu::noinline]] Answer Match::FinishForTwo(const Round& round, bool found) {
  const std::size_t guessing = (turn_ + 1) % 2;
  players_[guessing].score.Add(found);
  players_[1 - guessing].score.Add(!found);
  const char* how = found ? " found it."
                    : round.state() == Round::State::kGaveUp
                        ? " gave up."
                        : " did not find it.";
  const std::string winner = found ? guesser() : setter();
  const std::string word = "\"" + round.secret() + "\"";
  Answer end{
      found ? Tone::kGood : Tone::kBad,
      guesser() + how + " The word was " + word + ". A win for " + winner + ".",
      (found ? "Found: " : "Not found: ") + word + "."};
  ++turn_;
  return end;
}

void Match::Record(const Round& round, bool won, bool counted,
                   std::string* note) {
  RoundResult result{
      won,      round.misses(), round.alphabet().Decode(round.secret()),
      list_id_, list_size_,     counted};
  if (daily_) {
    result.daily = true;
    result.day = daily_result_.day;
    result.hints = round.hints();
    daily_result_.won = won;
    daily_result_.misses = round.misses();
    daily_result_.hints = round.hints();
    daily_counted_ = counted;
  }
  if (!recorder_) return;
  recorder_->Record(result, &saved_, note);
  // Another session may have recorded this day's word first: the saved state
  // keeps that result, so it is the one shown, and when it differs from this
  // round's a line says why.
  if (const DailyResult* kept =
          daily_ ? saved_.daily.Find(result.day, result.list_id) : nullptr) {
    daily_taken_ = kept->won != won || kept->misses != round.misses() ||
                   kept->hints != round.hints();
    daily_result_ = *kept;
  }
}

Answer Match::Leave(const Round& round, std::string* note) {
  note->clear();
  Answer end = round.EndLine();
  if (two_players() || !round.playing()) return end;
  const bool lost = round.misses() > 0;
  if (daily_ && !lost) {
    return {Tone::kPlain, DailyLeftUnplayed(daily_result_.day)};
  }
  if (lost) {
    players_[0].score.Add(false);
    end.text += " It counts as lost.";
  }
  Record(round, false, lost, note);
  return end;
}

std::vector<PlayerScore> Match::Scores() const { return players_; }

std::string Match::ScoreText() const {
  if (!two_players()) return players_[0].score.Text();
  std::string text;
  for (const PlayerScore& p : players_) {
    text += (text.empty() ? "" : " ") + p.name + ": " + p.score.Text();
  }
  return text;
}

std::string Match::StatsText() const {
  if (!daily_) return recorder_ ? FormatStats(saved_.stats) : "";
  if (!daily_counted_) return "";
  return DailyClosing(recorder_ ? &saved_.daily : nullptr, today_, daily_taken_,
                      daily_result_);
}

std::string Match::ClosingText() const {
  if (daily_) return StatsText();
  return "Final score: " + ScoreText() + "\n" + StatsText();
}

#include "state/state_format.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <unordered_set>
#include <utility>

#include "progutil.h"
#include "text/text.h"

namespace {

// The first line of the file: its format and version.
constexpr char kHeader[] = "wordgame-state 1";

// The field of a recent line before the words held back: no word.
constexpr char kHeldMark[] = "/";

// A daily line has at most 47 bytes; 64 leaves room. The words held back are at
// most half as many as the list's, and so the recent words.
static_assert(kMaxRecentLists * (kMaxRecentWords + kMaxRecentWords / 2) *
                          (kMaxWordLetters * kMaxLetterBytes + 1) +
                      kMaxDailyResults * 64 + 4096 <
                  kMaxStateBytes,
              "a full state file must fit within kMaxStateBytes");

// The fields of a line, apart by one or more spaces.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    std::size_t end = line.find(' ', at);
    if (end == std::string::npos) end = line.size();
    if (end > at) fields.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

// "m:c" fields of the wins by misses: c wins took m misses.
bool ParseWinsByMisses(const std::vector<std::string>& fields, Stats* stats,
                       std::string* why) {
  for (std::size_t i = 1; i < fields.size(); ++i) {
    std::size_t colon = fields[i].find(':');
    std::uint64_t misses = 0, wins = 0;
    if (colon == std::string::npos ||
        !ParseNumber(fields[i].substr(0, colon), kMaxWinMisses, &misses) ||
        !ParseNumber(fields[i].substr(colon + 1), kMaxCount, &wins) ||
        wins == 0 || !stats->wins_by_misses.emplace(misses, wins).second) {
      *why =
          "bad wins-by-misses entry \"" + progutil::Escaped(fields[i]) + "\"";
      return false;
    }
  }
  return true;
}

// "recent ID SIZE WORD..." into a new entry of state->lists.
bool ParseRecent(const std::vector<std::string>& fields, SavedState* state,
                 std::string* why) {
  RecentWords list;
  if (fields.size() < 2 || fields[1].size() != 16 ||
      !ParseNumber(fields[1], UINT64_MAX, &list.list_id, 16)) {
    *why = "a recent line needs a 16-digit list identity";
    return false;
  }
  if (fields.size() < 3 ||
      !ParseNumber(fields[2], kMaxCount, &list.list_size) ||
      list.list_size == 0) {
    *why = "a recent line needs the list's size";
    return false;
  }
  std::unordered_set<std::string> seen;
  std::vector<std::string>* words = &list.words;  // then, after "/", held
  for (std::size_t i = 3; i < fields.size(); ++i) {
    if (fields[i] == kHeldMark && words == &list.words) {
      words = &list.held;
      continue;
    }
    if (!IsWord(fields[i]) || !seen.insert(fields[i]).second) {
      *why = "bad or repeated recent word \"" + progutil::Escaped(fields[i]) +
             "\"";
      return false;
    }
    words->push_back(fields[i]);
  }
  if (list.words.size() >
          std::min<std::uint64_t>(list.list_size, kMaxRecentWords) ||
      list.held.size() > std::min<std::uint64_t>(HeldBack(list.list_size),
                                                 kMaxRecentWords / 2)) {
    *why = "more recent words than the list's size allows";
    return false;
  }
  for (const RecentWords& other : state->lists) {
    if (other.list_id == list.list_id) {
      *why = "the list " + fields[1] + " comes twice";
      return false;
    }
  }
  if (state->lists.size() == kMaxRecentLists) {
    *why = "more than " + std::to_string(kMaxRecentLists) + " lists";
    return false;
  }
  state->lists.push_back(std::move(list));
  return true;
}

// The counts must tell one story.
bool Consistent(const Stats& stats, std::uint64_t played, std::string* why) {
  // Each entry is at most kMaxCount, so the sum cannot wrap before it
  // passes won.
  std::uint64_t wins = 0;
  for (const auto& entry : stats.wins_by_misses) {
    if (wins > stats.won) break;
    wins += entry.second;
  }
  if (played != stats.played()) {
    *why = "played is not won + lost";
  } else if (stats.streak > stats.best_streak ||
             stats.best_streak > stats.won) {
    *why = "the streaks do not fit the wins";
  } else if (wins != stats.won) {
    *why = "wins-by-misses does not add up to won";
  } else {
    return true;
  }
  return false;
}

}  // namespace

// Field by field: the text is written on the way to the deepest calls of a
// round, where a long sum of strings would hold its pieces on the stack.
std::string FormatStateFile(const SavedState& state) {
  const Stats& s = state.stats;
  std::string text = kHeader;
  text +=
      "\n# wordgame's statistics and recently played words; see "
      "wordgame(1).\n";
  const std::pair<const char*, std::uint64_t> counts[] = {
      {"played", s.played()},
      {"won", s.won},
      {"lost", s.lost},
      {"streak", s.streak},
      {"best-streak", s.best_streak}};
  for (const auto& [key, value] : counts) {
    text += key;
    text += ' ';
    text += std::to_string(value);
    text += '\n';
  }
  text += "wins-by-misses";
  for (const auto& [misses, wins] : s.wins_by_misses) {
    text += ' ';
    text += std::to_string(misses);
    text += ':';
    text += std::to_string(wins);
  }
  text += '\n';
  for (const RecentWords& list : state.lists) {
    text += "recent ";
    text += Hex(list.list_id, 16);
    text += ' ';
    text += std::to_string(list.list_size);
    for (const std::string& word : list.words) {
      text += ' ';
      text += word;
    }
    if (!list.held.empty()) {
      text += ' ';
      text += kHeldMark;
    }
    for (const std::string& word : list.held) {
      text += ' ';
      text += word;
    }
    text += '\n';
  }
  text += FormatDailyLines(state.daily);
  text += "end\n";
  return text;
}

// Line by line: the header, then keyed lines in any order, each count once,
// then "end" and nothing after it; last, the counts are checked against each
// other.
bool ParseStateFile(const std::string& text, SavedState* state,
                    std::string* why) {
  state->Clear();
  Stats& s = state->stats;
  std::uint64_t played = 0;
  const std::pair<const char*, std::uint64_t*> counts[] = {
      {"played", &played},
      {"won", &s.won},
      {"lost", &s.lost},
      {"streak", &s.streak},
      {"best-streak", &s.best_streak}};
  std::set<std::string> seen;
  bool daily_counts = false;  // that line was read
  bool ended = false;
  std::size_t number = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    std::vector<std::string> fields = Fields(line);
    std::string problem;
    if (++number == 1) {
      if (line != kHeader) {
        *why = "not a wordgame state file of version 1";
        return false;
      }
      continue;
    }
    if (fields.empty() || line[0] == '#') continue;
    const std::string& key = fields[0];
    auto count = std::find_if(std::begin(counts), std::end(counts),
                              [&](const auto& c) { return key == c.first; });
    if (ended) {
      problem = "text after the end line";
    } else if (key == "end") {
      ended = true;
    } else if (key == "recent") {
      ParseRecent(fields, state, &problem);
    } else if (key == "daily-counts" && std::exchange(daily_counts, true)) {
      problem = "daily-counts comes twice";
    } else if (IsDailyKey(key)) {
      ParseDailyLine(fields, &state->daily, &problem);
    } else if (count == std::end(counts) && key != "wins-by-misses") {
      problem = "unknown line \"" + progutil::Escaped(key) + "\"";
    } else if (!seen.insert(key).second) {
      problem = key + " comes twice";
    } else if (count == std::end(counts)) {
      ParseWinsByMisses(fields, &s, &problem);
    } else if (fields.size() != 2 ||
               !ParseNumber(fields[1], kMaxCount, count->second)) {
      problem =
          key + " needs one count of at most " + std::to_string(kMaxCount);
    }
    if (!problem.empty()) {
      *why = "line " + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  if (number == 0) {
    *why = "empty";
    return false;
  }
  if (!ended) {
    *why = "no end line: cut short";
    return false;
  }
  if (seen.size() != std::size(counts) + 1) {
    *why = "a count is missing";
    return false;
  }
  return Consistent(s, played, why) && CheckDaily(state->daily, why);
}

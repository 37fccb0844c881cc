#include "state_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>
#include <thread>
#include <unordered_set>
#include <utility>

#include "descriptor.h"
#include "progutil.h"
#include "text.h"

namespace {

// The first line of the file: its format and version.
constexpr char kHeader[] = "wordgame-state 1";

// The names in the state folder: the file, its lock, and the new file that
// replaces it.
constexpr char kStateName[] = "state";
constexpr char kLockName[] = "state.lock";
constexpr char kNewName[] = "state.new";

// The file's size limit: kMaxRecentLists lists of kMaxRecentWords words of up
// to kMaxWordLetters letters and a space, with room for the counts. Anything
// larger is damage (or not the file at all), and reading must stop somewhere.
constexpr std::size_t kMaxStateBytes = std::size_t{8} << 20;
static_assert(kMaxRecentLists * kMaxRecentWords * (kMaxWordLetters + 1) + 4096 <
                  kMaxStateBytes,
              "a full state file must fit within kMaxStateBytes");

// Set-aside files kept side by side (state.bad, state.2.bad, ...). More than
// this means something keeps damaging the file; the player should look before
// more pile up, so saving stops instead.
constexpr int kMaxBadFiles = 100;

// Between tries for the lock: an update takes about a millisecond, so a
// waiting session notices a free lock soon without spinning.
constexpr auto kLockRetry = std::chrono::milliseconds(5);

bool IsWord(const std::string& s) {
  return !s.empty() && s.size() <= kMaxWordLetters && AllLetters(s);
}

// FNV-1a over the bytes, then a finalizer that spreads every bit over the
// whole value, so that a sum of such hashes is a fair hash of a set.
std::uint64_t WordHash(const std::string& word) {
  std::uint64_t h = 0xcbf29ce484222325u;  // FNV-1a's offset basis
  for (unsigned char c : word) {
    h ^= c;
    h *= 0x100000001b3u;  // FNV-1a's 64-bit prime
  }
  h ^= h >> 33;  // the finalizer of MurmurHash3
  h *= 0xff51afd7ed558ccdu;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53u;
  h ^= h >> 33;
  return h;
}

std::string Hex(std::uint64_t value) {
  std::string digits(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) {
    digits[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 15];
  }
  return digits;
}

// A whole field as a number in `base`: digits only, at most `max`.
bool ParseNumber(const std::string& field, std::uint64_t* value,
                 std::uint64_t max = kMaxCount, int base = 10) {
  const char* end = field.data() + field.size();
  auto [at, ec] = std::from_chars(field.data(), end, *value, base);
  return ec == std::errc() && at == end && !field.empty() && *value <= max;
}

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
        !ParseNumber(fields[i].substr(0, colon), &misses, kMaxWinMisses) ||
        !ParseNumber(fields[i].substr(colon + 1), &wins) || wins == 0 ||
        !stats->wins_by_misses.emplace(misses, wins).second) {
      *why = "bad wins-by-misses entry \"" + fields[i] + "\"";
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
      !ParseNumber(fields[1], &list.list_id, UINT64_MAX, 16)) {
    *why = "a recent line needs a 16-digit list identity";
    return false;
  }
  if (fields.size() < 3 || !ParseNumber(fields[2], &list.list_size) ||
      list.list_size == 0) {
    *why = "a recent line needs the list's size";
    return false;
  }
  std::unordered_set<std::string> seen;
  for (std::size_t i = 3; i < fields.size(); ++i) {
    if (!IsWord(fields[i]) || !seen.insert(fields[i]).second) {
      *why = "bad or repeated recent word \"" + fields[i] + "\"";
      return false;
    }
    list.words.push_back(fields[i]);
  }
  if (list.words.size() >
      std::min<std::uint64_t>(list.list_size, kMaxRecentWords)) {
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

// Reading the state file found it missing, whole, or damaged (or unreadable).
enum class ReadResult { kMissing, kGood, kBad };

// errno's reason, but a link that O_NOFOLLOW refused is named as such.
std::string Reason() {
  return errno == ELOOP ? "a symbolic link, not followed"
                        : std::strerror(errno);
}

// Opens `name` in the folder `dir` without following a link or waiting on a
// FIFO, and refuses anything but a regular file ("not a regular file").
int OpenRegular(int dir, const char* name, int flags, std::string* why) {
  int fd = openat(dir, name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0) {
    *why = Reason();
  } else if (!S_ISREG(info.st_mode)) {
    *why = "not a regular file";
  } else {
    return fd;
  }
  if (fd >= 0) close(fd);
  return -1;
}

ReadResult ReadStateFile(int dir, SavedState* state, std::string* why) {
  Descriptor fd(openat(dir, kStateName,
                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0 && errno == ENOENT) return ReadResult::kMissing;
  struct stat info;
  if (fd.get() < 0 || fstat(fd.get(), &info) != 0) {
    *why = errno == ELOOP ? "not a regular file" : std::strerror(errno);
    return ReadResult::kBad;
  }
  if (!S_ISREG(info.st_mode)) {
    *why = "not a regular file";
    return ReadResult::kBad;
  }
  std::string text;
  if (!ReadAll(fd.get(), kMaxStateBytes, &text)) {
    *why = std::strerror(errno);
    return ReadResult::kBad;
  }
  if (text.size() > kMaxStateBytes) {
    *why = "larger than " + std::to_string(kMaxStateBytes >> 20) + " MiB";
    return ReadResult::kBad;
  }
  return ParseStateFile(text, state, why) ? ReadResult::kGood
                                          : ReadResult::kBad;
}

// Opens the state folder without following a link at its name, and refuses
// one that is not the user's own or that others may write: another user
// could then plant links or files in it. *missing tells a folder (or a
// folder above it) that does not exist.
int OpenPrivateFolder(const std::string& path, bool* missing,
                      std::string* err) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info;
  // A link at the name fails with ENOTDIR (or ELOOP), as does a missing
  // folder under a file.
  const int open_errno = errno;
  const bool link = fd < 0 && lstat(path.c_str(), &info) == 0 &&
                    S_ISLNK(info.st_mode);
  errno = open_errno;
  *missing = fd < 0 && !link && (errno == ENOENT || errno == ENOTDIR);
  if (link) {
    *err = path + " is a symbolic link, not a folder";
  } else if (fd < 0 || fstat(fd, &info) != 0) {
    *err = WithReason("cannot open " + path);
  } else if (info.st_uid != geteuid()) {
    *err = path + " belongs to another user";
  } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    *err = path + " may be written by others";
  } else {
    return fd;
  }
  if (fd >= 0) close(fd);
  return -1;
}

// Makes `path` and any missing folders above it, private to the user.
bool MakeFolders(const std::string& path, std::string* err) {
  if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
  std::size_t slash = path.find_last_of('/');
  if (errno == ENOENT && slash != std::string::npos && slash > 0) {
    if (!MakeFolders(path.substr(0, slash), err)) return false;
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
  }
  *err = WithReason("cannot create " + path);
  return false;
}

// An exclusive flock() on a lock file, released when the object goes.
class FileLock {
 public:
  bool Acquire(int dir, const std::string& path, int wait_ms,
               std::string* err) {
    std::string why;
    fd_ = OpenRegular(dir, kLockName, O_RDWR | O_CREAT, &why);
    if (fd_ < 0) {
      *err = "cannot open " + path + ": " + why;
      return false;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        *err = WithReason("cannot lock " + path);
        return false;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        *err = "another wordgame holds " + path;
        return false;
      }
      std::this_thread::sleep_for(kLockRetry);
    }
    return true;
  }
  ~FileLock() {
    if (fd_ >= 0) close(fd_);
  }

 private:
  int fd_ = -1;
};

}  // namespace

std::vector<std::string> SavedState::Recent(std::uint64_t list_id) const {
  for (const RecentWords& list : lists) {
    if (list.list_id == list_id) return list.words;
  }
  return {};
}

std::uint64_t ListId(const std::vector<std::string>& words) {
  std::uint64_t id = 0;
  for (const std::string& word : words) id += WordHash(word);
  return id;
}

std::vector<std::string> FreshWords(const std::vector<std::string>& words,
                                    const std::vector<std::string>& recent) {
  std::unordered_set<std::string> played(recent.begin(), recent.end());
  std::vector<std::string> fresh;
  for (const std::string& word : words) {
    if (played.count(word) == 0) fresh.push_back(word);
  }
  if (!fresh.empty() || words.size() < 2) return fresh.empty() ? words : fresh;
  // Every word is recent, so the search finds the one played last.
  std::unordered_set<std::string> offered(words.begin(), words.end());
  auto last = std::find_if(
      recent.rbegin(), recent.rend(),
      [&](const std::string& word) { return offered.count(word) > 0; });
  for (const std::string& word : words) {
    if (word != *last) fresh.push_back(word);
  }
  return fresh;
}

void ApplyRound(const RoundResult& round, SavedState* state) {
  Stats& stats = state->stats;
  if (stats.played() >= kMaxCount) {
    // The counts stay at the limit that the file's reader accepts.
  } else if (round.won) {
    ++stats.won;
    ++stats.streak;
    stats.best_streak = std::max(stats.best_streak, stats.streak);
    ++stats.wins_by_misses[std::min<std::uint64_t>(round.misses,
                                                   kMaxWinMisses)];
  } else {
    ++stats.lost;
    stats.streak = 0;
  }
  if (round.list_size == 0 || !IsWord(round.word)) return;
  std::vector<RecentWords>& lists = state->lists;
  auto found = std::find_if(lists.begin(), lists.end(), [&](const auto& l) {
    return l.list_id == round.list_id;
  });
  if (found == lists.end()) {
    lists.insert(lists.begin(), RecentWords{round.list_id, 0, {}});
  } else {
    std::rotate(lists.begin(), found, found + 1);
  }
  if (lists.size() > kMaxRecentLists) lists.resize(kMaxRecentLists);
  RecentWords& list = lists.front();
  list.list_size = round.list_size;
  std::vector<std::string>& words = list.words;
  words.erase(std::remove(words.begin(), words.end(), round.word), words.end());
  words.push_back(round.word);
  // The whole list has been played: it starts again, without this word.
  if (words.size() >= list.list_size) words.assign(1, round.word);
  if (words.size() > kMaxRecentWords) {
    words.erase(words.begin(), words.end() - kMaxRecentWords);
  }
}

std::string FormatStateFile(const SavedState& state) {
  const Stats& s = state.stats;
  std::string text = std::string(kHeader) +
                     "\n# wordgame's statistics and recently played words; "
                     "see wordgame(1).\n";
  const std::pair<const char*, std::uint64_t> counts[] = {
      {"played", s.played()},
      {"won", s.won},
      {"lost", s.lost},
      {"streak", s.streak},
      {"best-streak", s.best_streak}};
  for (const auto& [key, value] : counts) {
    text += std::string(key) + " " + std::to_string(value) + "\n";
  }
  text += "wins-by-misses";
  for (const auto& [misses, wins] : s.wins_by_misses) {
    text += " " + std::to_string(misses) + ":" + std::to_string(wins);
  }
  text += "\n";
  for (const RecentWords& list : state.lists) {
    text +=
        "recent " + Hex(list.list_id) + " " + std::to_string(list.list_size);
    for (const std::string& word : list.words) text += " " + word;
    text += "\n";
  }
  return text + "end\n";
}

// Line by line: the header, then keyed lines in any order, each count once,
// then "end" and nothing after it; last, the counts are checked against each
// other.
bool ParseStateFile(const std::string& text, SavedState* state,
                    std::string* why) {
  *state = SavedState();
  Stats& s = state->stats;
  std::uint64_t played = 0;
  const std::pair<const char*, std::uint64_t*> counts[] = {
      {"played", &played},
      {"won", &s.won},
      {"lost", &s.lost},
      {"streak", &s.streak},
      {"best-streak", &s.best_streak}};
  std::set<std::string> seen;
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
    } else if (count == std::end(counts) && key != "wins-by-misses") {
      problem = "unknown line \"" + key + "\"";
    } else if (!seen.insert(key).second) {
      problem = key + " comes twice";
    } else if (count == std::end(counts)) {
      ParseWinsByMisses(fields, &s, &problem);
    } else if (fields.size() != 2 || !ParseNumber(fields[1], count->second)) {
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
  return Consistent(s, played, why);
}

std::string FormatStats(const Stats& stats) {
  std::uint64_t played = stats.played();
  if (played == 0) return "No rounds played yet.\n";
  std::string text = "Rounds played: " + std::to_string(played) + ", won " +
                     std::to_string(stats.won) + " (" +
                     std::to_string(stats.won * 100 / played) + "%), lost " +
                     std::to_string(stats.lost) +
                     ".\nWinning streak: " + std::to_string(stats.streak) +
                     ", best " + std::to_string(stats.best_streak) + ".\n";
  if (stats.wins_by_misses.empty()) return text;
  // "Wins with 0 misses: 3, with 2: 1."
  bool first = true;
  for (const auto& [misses, wins] : stats.wins_by_misses) {
    text += first ? "Wins with " + CountOf(misses, "miss")
                  : ", with " + std::to_string(misses);
    text += ": " + std::to_string(wins);
    first = false;
  }
  return text + ".\n";
}

std::string StateFolder() {
  const char* state_home = std::getenv("XDG_STATE_HOME");
  if (state_home && state_home[0] == '/') {
    return std::string(state_home) + "/wordgame";
  }
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') {
    const passwd* entry = getpwuid(getuid());
    home = entry ? entry->pw_dir : nullptr;
  }
  if (!home || home[0] != '/') return "";
  return std::string(home) + "/.local/state/wordgame";
}

StateStore::StateStore(std::string folder)
    : folder_(std::move(folder)),
      path_(folder_.empty() ? "" : folder_ + "/state") {}

// A whole file needs no lock to be read (it is only ever replaced by a
// rename); a damaged one is read again under the lock before it is set
// aside, in case another session has just replaced it. A folder that is
// not the player's alone is neither read nor written, and said so once.
SavedState StateStore::Load(std::string* note) {
  note->clear();
  SavedState state;
  std::string why, err;
  if (path_.empty()) return state;
  bool missing = false;
  Descriptor dir(OpenPrivateFolder(folder_, &missing, &err));
  if (dir.get() < 0) {
    if (!missing) {
      failure_noted_ = true;
      *note = "statistics neither read nor saved: " + err;
    }
    return state;
  }
  if (ReadStateFile(dir.get(), &state, &why) != ReadResult::kBad) return state;
  FileLock lock;
  if (!lock.Acquire(dir.get(), folder_ + "/" + kLockName, lock_wait_ms_,
                    &err)) {
    err = "cannot set aside damaged " + path_ + " (" + why + "): " + err;
  } else if (ReadLocked(dir.get(), &state, note, &err)) {
    return state;
  }
  *note = err + "; statistics start afresh";
  return SavedState();
}

bool StateStore::Record(const RoundResult& round, SavedState* state,
                        std::string* note) {
  return Update([&](SavedState* s) { ApplyRound(round, s); }, state, note);
}

bool StateStore::ResetStats(SavedState* state, std::string* note) {
  return Update([](SavedState* s) { s->stats = Stats(); }, state, note);
}

bool StateStore::Update(const std::function<void(SavedState*)>& change,
                        SavedState* state, std::string* note) {
  note->clear();
  std::string err = "no home folder to keep them in";
  bool missing = false;
  if (!folder_.empty() && MakeFolders(folder_, &err)) {
    Descriptor dir(OpenPrivateFolder(folder_, &missing, &err));
    FileLock lock;
    SavedState saved;
    if (dir.get() >= 0 &&
        lock.Acquire(dir.get(), folder_ + "/" + kLockName, lock_wait_ms_,
                     &err) &&
        ReadLocked(dir.get(), &saved, note, &err)) {
      change(&saved);
      if (WriteLocked(dir.get(), saved, &err)) {
        *state = std::move(saved);
        return true;
      }
    }
  }
  change(state);
  if (!failure_noted_) {
    failure_noted_ = true;
    *note += (note->empty() ? "" : "; ") +
             std::string("statistics not saved: ") + err;
  }
  return false;
}

bool StateStore::ReadLocked(int dir, SavedState* state, std::string* note,
                            std::string* err) {
  std::string why;
  switch (ReadStateFile(dir, state, &why)) {
    case ReadResult::kMissing:
      *state = SavedState();
      return true;
    case ReadResult::kGood:
      return true;
    case ReadResult::kBad:
      break;
  }
  *state = SavedState();
  std::string bad;
  for (int i = 1; i <= kMaxBadFiles && bad.empty(); ++i) {
    std::string name = std::string(kStateName) + "." +
                       (i == 1 ? "" : std::to_string(i) + ".") + "bad";
    struct stat info;
    if (fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
        errno == ENOENT) {
      bad = name;
    }
  }
  *err = "cannot set aside damaged " + path_ + " (" + why + "): ";
  if (bad.empty()) {
    *err += "all " + std::to_string(kMaxBadFiles) + " names for it are taken";
    return false;
  }
  if (renameat(dir, kStateName, dir, bad.c_str()) != 0) {
    *err += std::strerror(errno);
    return false;
  }
  *note = path_ + " is damaged (" + why + "); set aside as " + folder_ + "/" +
          bad + ", statistics start afresh";
  return true;
}

// The new file is whole and on disk before it takes the old one's name, so
// the name always holds one whole file. It is made afresh (O_EXCL), never
// opened through whatever lies at its name: a file left by a session that
// was killed goes first.
bool StateStore::WriteLocked(int dir, const SavedState& state,
                             std::string* err) {
  const std::string fresh = folder_ + "/" + kNewName;
  const std::string text = FormatStateFile(state);
  if (unlinkat(dir, kNewName, 0) != 0 && errno != ENOENT) {
    *err = WithReason("cannot write " + fresh);
    return false;
  }
  Descriptor fd(openat(dir, kNewName,
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600));
  bool ok = fd.get() >= 0 && WriteAll(fd.get(), text.data(), text.size()) &&
            fsync(fd.get()) == 0 && fd.Close();
  if (!ok) {
    *err = WithReason("cannot write " + fresh);
  } else {
    if (before_rename_) before_rename_();
    if (renameat(dir, kNewName, dir, kStateName) == 0) {
      // The rename itself reaches the disk with the folder. Should this
      // fail, the update stands all the same and nothing better can be done.
      fsync(dir);
      return true;
    }
    *err = WithReason("cannot replace " + path_);
  }
  unlinkat(dir, kNewName, 0);
  return false;
}

#ifndef WORDGAME_STATE_FILE_H_
#define WORDGAME_STATE_FILE_H_

// What wordgame remembers between sessions: the player's statistics and the
// words played recently from each word list, kept in one text file,
// $XDG_STATE_HOME/wordgame/state (see StateFolder).
//
// The file is plain text, one record a line, fields apart by single spaces:
//
//   wordgame-state 1
//   # wordgame's statistics and recently played words; see wordgame(1).
//   played 15
//   won 12
//   lost 3
//   streak 2
//   best-streak 5
//   wins-by-misses 0:3 1:4 2:2 3:1 4:1 6:1
//   recent 5be2b8c1a0d94e17 307 apple banana cherry
//   end
//
// The first line names the format and its version; a file of any other
// version is not read. Lines starting with '#' are comments. Then, each
// once: rounds played (always won + lost), won, lost, the current winning
// streak and the best one (streak <= best-streak <= won), and the wins by the
// misses they took ("2:4": four wins took two misses; at most kMaxWinMisses
// misses, only counts above 0, adding up to won). Then up to kMaxRecentLists "recent" lines, the list
// played most recently first: the list's identity (ListId, 16 hex digits),
// its number of words, and the words played from it lately, oldest first,
// each once. The closing "end" line shows the file was written whole.
// Counts are decimal, at most kMaxCount. A file that breaks any of these
// rules is damaged: it is set aside, never deleted.
//
// Updates are safe between any number of sessions: each one reads, changes
// and writes the file while holding an exclusive flock() on "state.lock" in
// the same folder, and writes a new file ("state.new"), synced to disk, that
// is then renamed over the old one; so a session killed at any instant
// leaves the old file or the new one, whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

/// Counts above this are taken as damage: more rounds than anyone plays, and
/// small enough that sums of counts never overflow 64 bits.
constexpr std::uint64_t kMaxCount = 1'000'000'000'000'000;

/// The most misses a win can take: the next one loses the round. A win is
/// recorded with at most this many.
constexpr std::uint64_t kMaxWinMisses = 6;

/// Word lists whose recent words are kept. A player uses the shipped list and
/// a few of their own; a list not played while this many others were is
/// forgotten.
constexpr std::size_t kMaxRecentLists = 8;

/// Recent words kept per list at most (the oldest go first): a few years of
/// daily play, and 8 lists of them keep the file within a few MiB.
constexpr std::size_t kMaxRecentWords = 10000;

/// The statistics of single-player rounds.
struct Stats {
  std::uint64_t won = 0, lost = 0;
  /// Wins in a row up to the last round, and the most there ever were.
  std::uint64_t streak = 0, best_streak = 0;
  /// Misses a win took -> how many wins took that many.
  std::map<std::uint64_t, std::uint64_t> wins_by_misses;

  std::uint64_t played() const { return won + lost; }
};

/// The words played lately from one word list.
struct RecentWords {
  std::uint64_t list_id = 0;
  /// Words in the list (all of it, before any choice of length or category).
  std::uint64_t list_size = 0;
  /// Oldest first, each once; at most list_size and kMaxRecentWords.
  std::vector<std::string> words;
};

/// Everything the state file holds.
struct SavedState {
  Stats stats;
  /// The list played most recently first; at most kMaxRecentLists.
  std::vector<RecentWords> lists;

  /// The words played lately from the list `list_id`, oldest first (none for
  /// a list not played lately).
  std::vector<std::string> Recent(std::uint64_t list_id) const;
};

/// One single-player round as it ended.
struct RoundResult {
  bool won = false;
  /// Misses the round took.
  std::size_t misses = 0;
  /// The secret, remembered as played from the list `list_id` when it is a
  /// word of 1 to kMaxWordLetters letters a-z and list_size is above 0.
  std::string word;
  std::uint64_t list_id = 0;
  std::size_t list_size = 0;
};

/// A word list's identity: a 64-bit hash of its words that does not depend on
/// their order, where the list lies or when it was touched. Pass the whole
/// list (before any choice by length or category), distinct words.
std::uint64_t ListId(const std::vector<std::string>& words);

/// The words of `words` not in `recent`, in order, so that a new session
/// starts with those; when every one is recent, all of them but the one
/// played last, so the list comes round again without an immediate repeat.
std::vector<std::string> FreshWords(const std::vector<std::string>& words,
                                    const std::vector<std::string>& recent);

/// Adds the round to *state: the counts and streaks; the word goes last in
/// its list's recent words (once), and the list first among the lists. When
/// the recent words hold the whole list, they start again with this word
/// alone; beyond kMaxRecentWords the oldest go, beyond kMaxRecentLists the
/// list played longest ago. Once kMaxCount rounds are played the counts stay
/// as they are, so the file stays one that ParseStateFile accepts.
void ApplyRound(const RoundResult& round, SavedState* state);

/// The state in the file format described above.
std::string FormatStateFile(const SavedState& state);

/// Reads the file format into *state. On a breach of its rules returns false
/// and sets *why to a short reason naming the line ("line 3: ...").
bool ParseStateFile(const std::string& text, SavedState* state,
                    std::string* why);

/// The statistics in a few plain lines, each ending in a line feed, for the
/// player: rounds played, won (with the share) and lost; the winning streak
/// and the best one; the wins by the misses they took.
std::string FormatStats(const Stats& stats);

/// The folder of the state file: $XDG_STATE_HOME/wordgame when that is an
/// absolute path, else $HOME/.local/state/wordgame (the home from the
/// password database when HOME is not an absolute path); "" when there is no
/// home either.
std::string StateFolder();

/// The state file of one folder. The notes its calls return are one line,
/// without a line feed or the program's name, for the caller to print
/// ("wordgame: " + note); play goes on after any of them.
class StateStore {
 public:
  /// The store in `folder` (as from StateFolder; "" gives a store that
  /// saves nothing and says so once). Nothing is read or made yet.
  explicit StateStore(std::string folder);

  /// Reads the state; a missing file or folder gives a fresh state. A file
  /// that cannot be read or is damaged is renamed with a ".bad" suffix
  /// (state.bad, else state.2.bad, ...), never deleted, and *note says so;
  /// the state is then fresh. Writes nothing otherwise. *note is "" when all
  /// went well.
  SavedState Load(std::string* note);

  /// Records one round: under the lock, reads the file (setting a damaged one
  /// aside as Load does), applies the round and writes the file back, then
  /// sets *state to the result, which counts the rounds other sessions saved
  /// meanwhile. When that fails (the folder cannot be made or written, the
  /// lock is not had within kLockWaitMs), applies the round to *state as it
  /// is and returns false. *note is "" or one line to print: a damaged file
  /// set aside, or the first failure to save of this store (later ones are
  /// not repeated).
  bool Record(const RoundResult& round, SavedState* state, std::string* note);

  /// Zeroes the statistics, in the file as Record updates it and in *state,
  /// saved or not; the recent words stay. Returns and notes as Record does.
  /// The caller asks the player first.
  bool ResetStats(SavedState* state, std::string* note);

  /// The state file's path ("" with no folder).
  const std::string& path() const { return path_; }

  /// For tests: how long to wait for the lock (default kLockWaitMs), and a
  /// function called between writing the new file and renaming it.
  void set_lock_wait_ms(int ms) { lock_wait_ms_ = ms; }
  void set_before_rename(void (*hook)()) { before_rename_ = hook; }

  /// Milliseconds to wait for another session's update: one takes a few
  /// milliseconds, so only a session stopped while holding the lock keeps
  /// others waiting this long, and then their rounds go unsaved rather than
  /// the game hanging.
  static constexpr int kLockWaitMs = 10000;

 private:
  // The read-change-write of Record and ResetStats.
  bool Update(const std::function<void(SavedState*)>& change, SavedState* state,
              std::string* note);
  // Reads the file under the lock into *state; a damaged one is set aside.
  // Both work in the state folder open as `dir`.
  bool ReadLocked(int dir, SavedState* state, std::string* note,
                  std::string* err);
  bool WriteLocked(int dir, const SavedState& state, std::string* err);

  std::string folder_, path_;
  int lock_wait_ms_ = kLockWaitMs;
  void (*before_rename_)() = nullptr;
  bool failure_noted_ = false;
};

#endif  // WORDGAME_STATE_FILE_H_

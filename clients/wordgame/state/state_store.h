#ifndef WORDGAME_STATE_STATE_STORE_H_
#define WORDGAME_STATE_STATE_STORE_H_

// The state file in its folder, shared safely by any number of sessions:
// each one reads, changes and writes the file while holding an exclusive
// flock() on "state.lock" in the same folder, and writes a new file
// ("state.new"), synced to disk, that is then renamed over the old one; so a
// session killed at any instant leaves the old file or the new one, whole. The
// folder is used only while it is the player's alone, and no name in it is
// followed as a link.

#include <functional>
#include <string>

#include "state/saved_state.h"

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

  /// Zeroes the statistics (the daily ones too), in the file as Record
  /// updates it and in *state, saved or not; the recent words and the daily
  /// results stay. Returns and notes as Record does.
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
  // Renames the damaged file, which `why` describes, to a free ".bad" name
  // and makes *state fresh; *note says so. False and *err when it cannot.
  bool SetAside(int dir, const std::string& why, SavedState* state,
                std::string* note, std::string* err);
  bool WriteLocked(int dir, const SavedState& state, std::string* err);

  std::string folder_, path_;
  int lock_wait_ms_ = kLockWaitMs;
  void (*before_rename_)() = nullptr;
  bool failure_noted_ = false;
};

#endif  // WORDGAME_STATE_STATE_STORE_H_

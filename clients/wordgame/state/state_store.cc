#include "state/state_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>

#include "progutil.h"
#include "state/state_format.h"
#include "text/descriptor.h"

namespace {

// The names in the state folder: the file, its lock, and the new file that
// replaces it.
constexpr char kStateName[] = "state";
constexpr char kLockName[] = "state.lock";
constexpr char kNewName[] = "state.new";

// Set-aside files kept side by side (state.bad, state.2.bad, ...). More than
// this means something keeps damaging the file; the player should look before
// more pile up, so saving stops instead.
constexpr int kMaxBadFiles = 100;

// Between tries for the lock: an update takes about a millisecond, so a
// waiting session notices a free lock soon without spinning.
constexpr auto kLockRetry = std::chrono::milliseconds(5);

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

// The bytes of the state file in the folder `dir`, without parsing them.
// Not inlined: its locals would take the stack of the parsing, the deepest
// call of a round.
[[gnu::noinline]] ReadResult ReadStateText(int dir, std::string* text,
                                           std::string* why) {
  Descriptor fd(
      openat(dir, kStateName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
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
  if (!ReadAll(fd.get(), kMaxStateBytes, text)) {
    *why = std::strerror(errno);
    return ReadResult::kBad;
  }
  if (text->size() > kMaxStateBytes) {
    *why = "larger than " + std::to_string(kMaxStateBytes >> 20) + " MiB";
    return ReadResult::kBad;
  }
  return ReadResult::kGood;
}

ReadResult ReadStateFile(int dir, SavedState* state, std::string* why) {
  std::string text;
  const ReadResult read = ReadStateText(dir, &text, why);
  if (read != ReadResult::kGood) return read;
  return ParseStateFile(text, state, why) ? ReadResult::kGood
                                          : ReadResult::kBad;
}

// Opens the state folder without following a link at its name, and refuses
// one that is not the user's own or that others may write: another user
// could then plant links or files in it. *missing tells a folder (or a
// folder above it) that does not exist; anything else at its name is
// refused.
int OpenPrivateFolder(const std::string& path, bool* missing,
                      std::string* err) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info;
  // A link or a file at the name fails with ENOTDIR (or ELOOP), as does a
  // missing folder under a file.
  const int open_errno = errno;
  const bool there = fd < 0 && lstat(path.c_str(), &info) == 0;
  errno = open_errno;
  *missing = fd < 0 && !there && (errno == ENOENT || errno == ENOTDIR);
  if (there && S_ISLNK(info.st_mode)) {
    *err = path + " is a symbolic link, not a folder";
  } else if (there && !S_ISDIR(info.st_mode)) {
    *err = path + " is not a folder";
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
  // The daily results stay with the counts gone, so that a day's word
  // already played is not played again.
  return Update(
      [](SavedState* s) {
        s->stats = Stats();
        s->daily.played = s->daily.won = 0;
        s->daily.streak = s->daily.best_streak = 0;
      },
      state, note);
}

bool StateStore::Update(const std::function<void(SavedState*)>& change,
                        SavedState* state, std::string* note) {
  note->clear();
  std::string err = "no home folder to keep them in";
  bool missing = false;
  if (!folder_.empty() && MakeFolders(folder_, &err)) {
    Descriptor dir(OpenPrivateFolder(folder_, &missing, &err));
    FileLock lock;
    // On the heap: this is on the way to the deepest call of a round.
    const auto saved = std::make_unique<SavedState>();
    if (dir.get() >= 0 &&
        lock.Acquire(dir.get(), folder_ + "/" + kLockName, lock_wait_ms_,
                     &err) &&
        ReadLocked(dir.get(), saved.get(), note, &err)) {
      change(saved.get());
      if (WriteLocked(dir.get(), *saved, &err)) {
        *state = std::move(*saved);
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
      state->Clear();
      return true;
    case ReadResult::kGood:
      return true;
    case ReadResult::kBad:
      break;
  }
  return SetAside(dir, why, state, note, err);
}

// Not inlined into ReadLocked: its locals would take the stack of the
// parsing.
[[gnu::noinline]] bool StateStore::SetAside(int dir, const std::string& why,
                                            SavedState* state,
                                            std::string* note,
                                            std::string* err) {
  state->Clear();
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
  bool ok = fd.get() >= 0 &&
            progutil::WriteAll(fd.get(), text.data(), text.size()) &&
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

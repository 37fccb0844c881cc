#include "engine/game_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <stdexcept>

#include "progutil.h"
#include "text/descriptor.h"
#include "text/text.h"

namespace {

// True while a folder is open: the ending signals serve one at a time.
bool g_one_open = false;

// While alive, standard output goes to `fd` and the current directory is
// `folder`; both come back on destruction, also when the engine throws.
class Redirect {
 public:
  Redirect(int fd, int folder) {
    std::cout.flush();
    std::fflush(stdout);
    home_ = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    saved_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    ok_ = home_ >= 0 && saved_ >= 0 && dup2(fd, STDOUT_FILENO) >= 0 &&
          fchdir(folder) == 0;
    error_ = errno;
  }
  ~Redirect() {
    std::cout.flush();
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, STDOUT_FILENO);
      close(saved_);
    }
    if (home_ >= 0) {
      // Going back to a directory held open does not fail in practice, and
      // nothing after the construction depends on the current directory.
      [[maybe_unused]] int ignored = fchdir(home_);
      close(home_);
    }
  }
  Redirect(const Redirect&) = delete;
  Redirect& operator=(const Redirect&) = delete;
  /// True when the redirection is in force; else error() is the errno of
  /// the call that failed.
  bool ok() const { return ok_; }
  int error() const { return error_; }

 private:
  int home_ = -1;
  int saved_ = -1;
  bool ok_ = false;
  int error_ = 0;
};

// What a game folder's name starts with; mkdtemp adds six letters or digits.
constexpr char kFolderPrefix[] = "wordgame.";

// An empty folder may be one that a game has just made and not yet locked,
// for a few microseconds; one left empty this long was abandoned.
constexpr std::time_t kAbandonedSeconds = 60;

bool IsFolderName(const char* name) {
  const std::size_t prefix = sizeof kFolderPrefix - 1;
  if (std::strncmp(name, kFolderPrefix, prefix) != 0 ||
      std::strlen(name) != prefix + 6) {
    return false;
  }
  for (const char* c = name + prefix; *c != '\0'; ++c) {
    if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
  }
  return true;
}

// Removes the folder `name` in `parent` when it is a game folder of this
// user's that no game holds: a game locks its folder for as long as it is
// open, and the lock goes with the process, however it ended (SIGKILL
// too). Everything goes through descriptors and follows no link; only the
// game's own file is removed, and the folder only once empty.
void RemoveIfAbandoned(int parent, const char* name) {
  Descriptor folder(
      openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info;
  if (folder.get() < 0 || fstat(folder.get(), &info) != 0 ||
      info.st_uid != geteuid() || (info.st_mode & 077) != 0 ||
      flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
    return;
  }
  // A list is written only by a game that holds the lock.
  const bool played = unlinkat(folder.get(), "dict.txt", 0) == 0;
  if (!played && std::time(nullptr) - info.st_mtime < kAbandonedSeconds) {
    return;
  }
  // Only the folder's owner can rename it in a folder such as /tmp, whose
  // sticky bit keeps others' names from them; and only an empty one goes.
  unlinkat(parent, name, AT_REMOVEDIR);
}

// Removes the folders in `parent` that games killed outright left behind.
void RemoveAbandoned(int parent) {
  const int fd = openat(parent, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
  if (dir == nullptr) {
    if (fd >= 0) close(fd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    if (IsFolderName(entry->d_name)) RemoveIfAbandoned(parent, entry->d_name);
  }
  closedir(dir);
}

}  // namespace

// The folder is made by its name, then opened without following a link and
// checked to be the user's own and private: whatever takes its name later
// does not matter, as the game works through the descriptor.
bool GameFolder::Open(std::string* err) {
  if (g_one_open) {
    *err = "only one game folder may be open at a time";
    return false;
  }
  const char* tmp = std::getenv("TMPDIR");
  const std::string parent = tmp && *tmp ? tmp : "/tmp";
  std::string pattern = parent + "/wordgame.XXXXXX";
  const std::string failed = "cannot create a game folder in " + parent;
  parent_ = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parent_ >= 0) RemoveAbandoned(parent_);
  if (parent_ < 0 || mkdtemp(&pattern[0]) == nullptr) {
    *err = WithReason(failed);
    if (parent_ >= 0) close(parent_);
    parent_ = -1;
    return false;
  }
  // From here on the destructor undoes whatever was done.
  open_ = g_one_open = true;
  path_ = pattern;
  const std::string name = pattern.substr(pattern.rfind('/') + 1);
  EndingSignals::Catch();
  no_size_signal_.emplace();
  EndingSignals::List(parent_, name.c_str(), AT_REMOVEDIR);
  folder_ = openat(parent_, name.c_str(),
                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info;
  if (folder_ < 0 || fstat(folder_, &info) != 0) {
    *err = WithReason(failed);
    return false;
  }
  if (info.st_uid != geteuid() || (info.st_mode & 077) != 0) {
    *err = failed + ": " + path_ + " was replaced by another user's folder";
    return false;
  }
  // Held until the folder is closed or the process is gone: a folder that
  // no one holds is taken for abandoned (RemoveAbandoned). Another game
  // holds it a moment at most, to see whether it is.
  flock(folder_, LOCK_EX);
  EndingSignals::List(folder_, "dict.txt", 0);
  // Only the reading end is non-blocking: it is read once the line is in.
  if (pipe2(capture_, O_CLOEXEC) != 0) {
    capture_[0] = capture_[1] = -1;
    *err = WithReason("cannot start a game");
    return false;
  }
  if (fcntl(capture_[0], F_SETFL, O_NONBLOCK) != 0) {
    *err = WithReason("cannot start a game");
    return false;
  }
  return true;
}

GameFolder::~GameFolder() {
  for (int fd : capture_) {
    if (fd >= 0) close(fd);
  }
  if (!open_) return;
  EndingSignals::RemoveListed();
  EndingSignals::Release();
  no_size_signal_.reset();
  if (folder_ >= 0) close(folder_);
  close(parent_);
  g_one_open = false;
}

void GameFolder::DeferEndingSignals() { EndingSignals::Defer(); }

// The engine's one line (the secret and a line feed) goes into the capture
// pipe: a word of at most kMaxWordLetters letters is far below any pipe's
// capacity, so the write never blocks, and unlike a file a pipe cannot fill a
// file system or pass a file-size limit.
bool GameFolder::NewGame(const std::vector<std::string>& words,
                         std::unique_ptr<Game>* game, std::string* secret,
                         std::string* err) {
  std::string bytes;
  for (const std::string& w : words) bytes += w + "\n";
  {
    Descriptor dictionary(
        openat(folder_, "dict.txt",
               O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (dictionary.get() < 0 ||
        !progutil::WriteAll(dictionary.get(), bytes.data(), bytes.size()) ||
        !dictionary.Close()) {
      *err = WithReason("cannot start a game: " + path_ + "/dict.txt");
      return false;
    }
  }
  {
    Redirect redirect(capture_[1], folder_);
    if (!redirect.ok()) {
      errno = redirect.error();
      *err = WithReason("cannot start a game");
      return false;
    }
    try {
      *game = std::make_unique<Game>("");
    } catch (const std::runtime_error& e) {
      *err = std::string("cannot start a game: ") + e.what();
      return false;
    }
  }
  std::string line;
  char buf[kMaxWordLetters + 2];
  ssize_t n;
  while ((n = read(capture_[0], buf, sizeof buf)) > 0) {
    line.append(buf, static_cast<std::size_t>(n));
  }
  // The engine's write failing would leave standard output's error flag set,
  // to be blamed on the player's output later.
  bool written = !std::ferror(stdout) && std::cout.good();
  std::clearerr(stdout);
  std::cout.clear();
  if (!written || line.empty() || line.back() != '\n') {
    game->reset();
    *err = "cannot start a game: the engine's choice could not be read";
    return false;
  }
  line.pop_back();
  *secret = line;
  return true;
}

#include "game_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "descriptor.h"
#include "progutil.h"
#include "word_list.h"

namespace {

// Paths of the folder and of its dict.txt, in static storage so that a signal
// handler can remove them. One folder exists at a time: g_folder is empty
// while none does.
char g_folder[4096];
char g_dictionary[4096 + 16];

// Signals that end the program at the player's wish; the folder goes first.
// Those the caller set to be ignored (nohup, a background job) stay ignored.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// The actions in force before the folder existed, restored with it gone.
struct sigaction g_previous[kSignalCount];
// Likewise for SIGXFSZ, ignored while the folder exists: a write beyond the
// file-size limit (ulimit -f) then fails with EFBIG and is reported, instead
// of killing the program with the folder and a partial copy left behind.
struct sigaction g_previous_xfsz;

void RemoveFiles() {
  if (g_dictionary[0] != '\0') unlink(g_dictionary);
  if (g_folder[0] != '\0') rmdir(g_folder);
}

// Set by DeferEndingSignals(); the first ending signal caught since.
volatile std::sig_atomic_t g_defer = 0;
volatile std::sig_atomic_t g_pending = 0;

// Removes the folder, then lets the signal end the program as it would have,
// or leaves that to the caller, who asked to end in order.
void OnEndingSignal(int sig) {
  RemoveFiles();
  if (g_defer) {
    if (g_pending == 0) g_pending = sig;
    return;
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Without SA_RESTART: a read that waits for the player returns EINTR, so that
// a deferred signal is seen at once.
void CatchEndingSignals() {
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &g_previous[i]);
    if (g_previous[i].sa_handler != SIG_IGN) {
      sigaction(kEndingSignals[i], &action, nullptr);
    }
  }
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &g_previous_xfsz);
}

void RestoreEndingSignals() {
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kEndingSignals[i], &g_previous[i], nullptr);
  }
  sigaction(SIGXFSZ, &g_previous_xfsz, nullptr);
}

// While alive, standard output goes to `fd` and the current directory is
// `folder`; both come back on destruction, also when the engine throws.
class Redirect {
 public:
  Redirect(int fd, const char* folder) {
    std::cout.flush();
    std::fflush(stdout);
    home_ = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    saved_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    ok_ = home_ >= 0 && saved_ >= 0 && dup2(fd, STDOUT_FILENO) >= 0 &&
          chdir(folder) == 0;
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

}  // namespace

// A relative $TMPDIR is made absolute: the engine runs with the folder as
// the current directory, and a signal handler must still find the folder.
bool GameFolder::Open(std::string* err) {
  if (g_folder[0] != '\0') {
    *err = "only one game folder may be open at a time";
    return false;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string parent = tmp && *tmp ? tmp : "/tmp";
  std::string pattern = parent + "/wordgame.XXXXXX";
  if (pattern[0] != '/') {
    char here[sizeof g_folder];
    if (getcwd(here, sizeof here) == nullptr) {
      *err = WithReason("cannot create a game folder in " + parent);
      return false;
    }
    pattern = here + ("/" + pattern);
  }
  if (pattern.size() >= sizeof g_folder) {
    errno = ENAMETOOLONG;
    *err = WithReason("cannot create a game folder in " + parent);
    return false;
  }
  std::strcpy(g_folder, pattern.c_str());
  if (mkdtemp(g_folder) == nullptr) {
    g_folder[0] = '\0';
    *err = WithReason("cannot create a game folder in " + parent);
    return false;
  }
  // From here on the destructor undoes whatever was done.
  open_ = true;
  CatchEndingSignals();
  std::snprintf(g_dictionary, sizeof g_dictionary, "%s/dict.txt", g_folder);
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
  if (open_) {
    RemoveFiles();
    g_dictionary[0] = g_folder[0] = '\0';
    RestoreEndingSignals();
    g_defer = 0;
  }
}

void GameFolder::DeferEndingSignals() { g_defer = 1; }

int GameFolder::PendingSignal() { return g_pending; }

int GameFolder::TakePendingSignal() {
  int sig = g_pending;
  g_pending = 0;
  return sig;
}

void GameFolder::AddEndingSignals(sigset_t* set) {
  for (int sig : kEndingSignals) sigaddset(set, sig);
}

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
        open(g_dictionary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (dictionary.get() < 0 ||
        !WriteAll(dictionary.get(), bytes.data(), bytes.size()) ||
        !dictionary.Close()) {
      *err = WithReason(std::string("cannot start a game: ") + g_dictionary);
      return false;
    }
  }
  {
    Redirect redirect(capture_[1], g_folder);
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

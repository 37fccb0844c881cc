#include "wordgame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "game_folder.h"
#include "play.h"
#include "word_list.h"

namespace {

constexpr char kUsage[] = "usage: wordgame [FILE]\n";

int Error(const std::string& message) {
  std::cout.flush();
  std::fprintf(stderr, "wordgame: %s\n", message.c_str());
  return 1;
}

int UsageError(const std::string& message) {
  Error(message);
  std::fputs(kUsage, stderr);
  return 1;
}

// The word list named by the arguments: FILE, else a dict.txt here (whatever
// it is, so that a broken one is reported rather than passed over), else the
// list shipped beside the program.
std::string ChooseWordList(int argc, char** argv, bool* shipped) {
  *shipped = false;
  if (argc > 1) return argv[1];
  struct stat st;
  if (lstat("dict.txt", &st) == 0) return "dict.txt";
  *shipped = true;
  return ShippedWordList(ExecutablePath(argv[0]));
}

}  // namespace

int RunWordgame(int argc, char** argv) {
  // A closed standard input reads as empty, a closed standard error loses
  // only messages; a closed standard output would let the game files take
  // its descriptor, so it is refused.
  if (fcntl(STDIN_FILENO, F_GETFD) < 0) open("/dev/null", O_RDONLY);
  if (fcntl(STDERR_FILENO, F_GETFD) < 0) {
    if (fcntl(STDOUT_FILENO, F_GETFD) < 0) return 1;
    open("/dev/null", O_WRONLY);
  }
  if (fcntl(STDOUT_FILENO, F_GETFD) < 0) {
    return Error("standard output is closed");
  }
  // A reader that goes away (wordgame | head) shows up as a failed write,
  // which ends the game normally, so the game folder is always removed.
  std::signal(SIGPIPE, SIG_IGN);

  if (argc > 2) return UsageError("too many arguments");
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 ||
                    std::strcmp(argv[1], "--help") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 2 && argv[1][0] == '-') {
    return UsageError(std::string("unknown option ") + argv[1]);
  }
  bool shipped;
  std::string path = ChooseWordList(argc, argv, &shipped);
  std::string bytes, reason;
  if (!ReadWholeFile(path, &bytes, &reason)) {
    return Error(
        (shipped ? "no dict.txt here, and the shipped word list " : "") + path +
        ": " + reason);
  }
  bool colour = isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr;
  try {
    std::vector<std::string> words = PlayableWords(bytes);
    if (words.empty()) {
      return Error(path +
                   ": no words to play (one word of letters a-z a line)");
    }
    GameFolder folder(words);
    PlayRounds(folder, std::cin, std::cout, colour);
  } catch (const std::bad_alloc&) {
    return Error(path + ": not enough memory to play it");
  } catch (const std::exception& e) {
    return Error(e.what());
  }
  if (!std::cout.flush()) return Error("cannot write to standard output");
  return 0;
}

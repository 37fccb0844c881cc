#include "wordgame.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
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
  std::vector<std::string> words = PlayableWords(bytes);
  if (words.empty()) {
    return Error(path + ": no words to play (one word of letters a-z a line)");
  }
  bool colour = isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr;
  try {
    GameFolder folder(words);
    PlayRounds(folder, std::cin, std::cout, colour);
  } catch (const std::exception& e) {
    return Error(e.what());
  }
  return 0;
}

// The game folder: one at a time, nothing left behind, whatever ends the
// program.

#include "engine/game_folder.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "wordgame_testing.h"

// Set by a test: mkdtemp then puts a folder that others may read at the name
// it made, as another user could where TMPDIR lets them.
bool g_swap_made_folder = false;

// Stands in for the C library's mkdtemp, which it calls.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
extern "C" char* mkdtemp(char* pattern) {
  static const auto real =
      reinterpret_cast<char* (*)(char*)>(dlsym(RTLD_NEXT, "mkdtemp"));
  char* made = real(pattern);
  if (made != nullptr && g_swap_made_folder) {
    const std::string name = made;
    if (rename(made, (name + ".moved").c_str()) != 0 ||
        mkdir(made, 0700) != 0 || chmod(made, 0755) != 0) {
      return nullptr;
    }
  }
  return made;
}

namespace {

using namespace wordgame_testing;
using GameFolderTest = PrivateTmpdir;

bool SameAction(const struct sigaction& a, const struct sigaction& b) {
  return a.sa_handler == b.sa_handler;
}

TEST_F(GameFolderTest, OneAtATimeAndLeavesNothingBehind) {
  struct sigaction before, during, after;
  sigaction(SIGINT, nullptr, &before);
  std::signal(SIGHUP, SIG_IGN);  // As under nohup: stays ignored.
  std::size_t descriptors = Entries("/proc/self/fd");
  {
    GameFolder folder;
    std::string err;
    ASSERT_TRUE(folder.Open(&err)) << err;
    sigaction(SIGINT, nullptr, &during);
    EXPECT_FALSE(SameAction(during, before));
    EXPECT_EQ(std::signal(SIGHUP, SIG_IGN), SIG_IGN);
    GameFolder second;
    EXPECT_FALSE(second.Open(&err));
    EXPECT_EQ(err, "only one game folder may be open at a time");
    std::unique_ptr<Game> game;
    std::string secret;
    for (const char* word : {"cat", "dog"}) {
      ASSERT_TRUE(folder.NewGame({word}, &game, &secret, &err)) << err;
      EXPECT_EQ(secret, word);
      EXPECT_EQ(game->words(), Words{word});
    }
    std::cout.setstate(std::ios::badbit);  // The engine's line never comes.
    EXPECT_FALSE(folder.NewGame({"cat"}, &game, &secret, &err));
    EXPECT_EQ(err,
              "cannot start a game: the engine's choice could not be read");
    EXPECT_TRUE(game == nullptr && std::cout.good());
  }
  sigaction(SIGINT, nullptr, &after);
  EXPECT_TRUE(SameAction(after, before));
  EXPECT_EQ(std::signal(SIGHUP, SIG_DFL), SIG_IGN);
  EXPECT_EQ(Entries("/proc/self/fd"), descriptors);
  {  // SIGHUP at its default is taken, and given back.
    GameFolder folder;
    std::string err;
    ASSERT_TRUE(folder.Open(&err)) << err;
  }
  EXPECT_EQ(std::signal(SIGHUP, SIG_DFL), SIG_DFL);
}

TEST_F(GameFolderTest, OneThatCannotBeMadeChangesNothing) {
  struct sigaction before, after;
  sigaction(SIGINT, nullptr, &before);
  setenv("TMPDIR", (tmp_.path() + "/missing").c_str(), 1);
  GameFolder folder;
  std::string err;
  EXPECT_FALSE(folder.Open(&err));
  EXPECT_EQ(err, "cannot create a game folder in " + tmp_.path() +
                     "/missing: No such file or directory");
  sigaction(SIGINT, nullptr, &after);
  EXPECT_TRUE(SameAction(after, before));
  setenv("TMPDIR", tmp_.path().c_str(), 1);
  g_swap_made_folder = true;
  {
    GameFolder swapped;
    EXPECT_FALSE(swapped.Open(&err));
    g_swap_made_folder = false;
    EXPECT_EQ(err.rfind("cannot create a game folder in " + tmp_.path() + ": " +
                            tmp_.path() + "/wordgame.",
                        0),
              0u);
    EXPECT_NE(err.find(" was replaced by another user's folder"),
              std::string::npos)
        << err;
  }
  for (const auto& moved : std::filesystem::directory_iterator(tmp_.path())) {
    std::filesystem::remove(moved.path());
  }
  GameFolder next;
  EXPECT_TRUE(next.Open(&err)) << err;
}

// The engine reads its list with the game folder as the current directory; a
// signal then must still find the folder under a relative TMPDIR. Every
// signal whose default ends the program removes it, not only Ctrl-C's.
TEST_F(GameFolderTest, EveryEndingSignalLeavesNothing) {
  std::filesystem::create_directory(tmp_.path() + "/rel");
  for (int sig : {SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGVTALRM,
                  SIGPWR, SIGRTMIN + 1}) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string err, secret;
      {  // A folder before, which deferred the signals, changes nothing.
        GameFolder before;
        if (!before.Open(&err)) _exit(2);
        before.DeferEndingSignals();
      }
      GameFolder folder;
      std::unique_ptr<Game> game;
      if (chdir(tmp_.path().c_str()) != 0 || setenv("TMPDIR", "rel", 1) != 0 ||
          !folder.Open(&err) ||
          !folder.NewGame({"cat"}, &game, &secret, &err)) {
        _exit(2);
      }
      for (const auto& entry : std::filesystem::directory_iterator("rel")) {
        if (chdir(entry.path().c_str()) != 0) _exit(3);
      }
      raise(sig);
      _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    EXPECT_EQ(Entries(tmp_.path() + "/rel"), 0u) << strsignal(sig);
  }
  std::filesystem::remove(tmp_.path() + "/rel");
}

// The folder's name swapped for a link to a folder of the player's changes
// nothing: the list is written, and removed, in the game's own folder.
TEST_F(GameFolderTest, ANameSwappedForALinkIsNotFollowed) {
  namespace fs = std::filesystem;
  const std::string mine = state_.WriteFile("dict.txt", "keep\n");
  const std::string moved = tmp_.path() + "/moved";
  std::string name;
  {
    GameFolder folder;
    std::string err, secret;
    ASSERT_TRUE(folder.Open(&err)) << err;
    name = fs::directory_iterator(tmp_.path())->path();
    fs::rename(name, moved);
    fs::create_directory_symlink(state_.path(), name);
    std::unique_ptr<Game> game;
    ASSERT_TRUE(folder.NewGame({"cat"}, &game, &secret, &err)) << err;
    EXPECT_EQ(secret, "cat");
    EXPECT_EQ(testutil::ReadFile(moved + "/dict.txt"), "cat\n");
  }
  EXPECT_EQ(testutil::ReadFile(mine), "keep\n");
  EXPECT_FALSE(fs::exists(moved + "/dict.txt"));
  fs::remove(name);
  fs::remove(moved);
}

// A game killed outright leaves its folder; the next game removes it, and
// the abandoned empty one, but no other: not one a live game holds, a link,
// another name, a young empty folder (a game about to lock it) or another
// user's.
TEST_F(GameFolderTest, TheNextGameRemovesTheFolderOfAKilledOne) {
  namespace fs = std::filesystem;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    GameFolder folder;
    std::unique_ptr<Game> game;
    std::string err, secret;
    if (folder.Open(&err) && folder.NewGame({"cat"}, &game, &secret, &err)) {
      raise(SIGKILL);
    }
    _exit(2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  ASSERT_EQ(Entries(tmp_.path()), 1u);
  const std::string dir = tmp_.path() + "/";
  Words kept = {"wordgame.live01", "wordgame.young1", "wordgame.other1",
                "wordgame-abc123", "wordgame.link01"};
  for (const std::string& name :
       {kept[0], kept[1], kept[2], kept[3], std::string("wordgame.old001")}) {
    fs::create_directory(dir + name);
    fs::permissions(dir + name, fs::perms::owner_all);
  }
  for (const std::string& name : {kept[0], kept[2], kept[3]}) {
    std::ofstream(dir + name + "/dict.txt") << "cat\n";
  }
  const int live = open((dir + kept[0]).c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(flock(live, LOCK_EX), 0);
  const timespec old[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 61, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir + "wordgame.old001").c_str(), old, 0), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(chown((dir + kept[2]).c_str(), 4242, 4242), 0);
  } else {
    kept.erase(kept.begin() + 2);
    fs::remove_all(dir + "wordgame.other1");
  }
  const std::string mine = state_.WriteFile("dict.txt", "keep\n");
  fs::create_directory_symlink(state_.path(), dir + kept.back());
  {
    GameFolder folder;
    std::string err;
    ASSERT_TRUE(folder.Open(&err)) << err;
    EXPECT_EQ(Entries(tmp_.path()), kept.size() + 1);
    for (const auto& entry : fs::directory_iterator(tmp_.path())) {
      const std::string name = entry.path().filename();
      if (std::find(kept.begin(), kept.end(), name) != kept.end()) continue;
      const int fd = open(entry.path().c_str(), O_RDONLY | O_DIRECTORY);
      EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0) << "a game holds its own";
      close(fd);
    }
  }
  for (const std::string& name : kept) {
    EXPECT_TRUE(fs::exists(fs::symlink_status(dir + name))) << name;
  }
  EXPECT_TRUE(fs::exists(dir + kept[0] + "/dict.txt"));
  EXPECT_EQ(testutil::ReadFile(mine), "keep\n");
  close(live);
  for (const std::string& name : kept) fs::remove_all(dir + name);
}

}  // namespace

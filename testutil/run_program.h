#ifndef TESTUTIL_RUN_PROGRAM_H_
#define TESTUTIL_RUN_PROGRAM_H_

#include <string>
#include <vector>

/// What a finished program left behind: its exit status and both outputs.
struct ProgramResult {
  /// Exit status 0-255, or 128 + the signal number when a signal ended it.
  int status = -1;
  std::string out;
  std::string err;
};

/// Runs argv[0] (a path) with the arguments argv[1..], feeding it `input` on
/// standard input, in directory `cwd` when it is not empty, and waits for it.
/// `env` entries ("NAME=value") are added to the environment of the child.
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::string& input = "",
                         const std::string& cwd = "",
                         const std::vector<std::string>& env = {});

/// Runs argv like RunProgram, but with standard output on /dev/full, where
/// every write fails with "No space left on device".
ProgramResult RunProgramWithFullOutput(const std::vector<std::string>& argv,
                                       const std::string& input = "");

/// A fresh private directory under $TMPDIR (or /tmp), removed with its
/// contents when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  /// Writes `bytes` to the file `name` inside the directory; returns its path.
  std::string WriteFile(const std::string& name,
                        const std::string& bytes) const;

 private:
  std::string path_;
};

#endif  // TESTUTIL_RUN_PROGRAM_H_

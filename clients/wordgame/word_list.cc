#include "word_list.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Word lists are small (a large dictionary has a few MiB); a file beyond this
// size is not one, and reading /dev/zero or the like must stop somewhere.
constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)); }

}  // namespace

std::string Tidy(const std::string& line) {
  std::size_t begin = 0, end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  std::string word = line.substr(begin, end - begin);
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return word;
}

bool AllLetters(const std::string& s) {
  for (char c : s) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* bytes,
                   std::string* error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  bytes->clear();
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, file.get())) > 0) {
    if (bytes->size() + n > kMaxListBytes) {
      *error = "larger than 64 MiB, too large for a word list";
      return false;
    }
    bytes->append(buf, n);
  }
  if (std::ferror(file.get())) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

std::vector<std::string> PlayableWords(const std::string& bytes) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string word = Tidy(bytes.substr(start, end - start));
    if (!word.empty() && AllLetters(word)) words.push_back(std::move(word));
    start = end + 1;
  }
  return words;
}

std::string ShippedWordList(const std::string& exe_path) {
  std::size_t slash = exe_path.rfind('/');
  std::string bin_dir =
      slash == std::string::npos ? "." : exe_path.substr(0, slash);
  return bin_dir + "/../share/wordgame/words.txt";
}

std::string ExecutablePath(const std::string& fallback) {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return fallback;
  return std::string(buf, static_cast<std::size_t>(n));
}

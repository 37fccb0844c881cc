#include "word_list.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

namespace {

// Word lists are small (a large dictionary has a few MiB); a file beyond this
// size is not one, and reading /dev/zero or the like must stop somewhere.
constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;

// Skipped lines named by number in the note; the count says how many more.
constexpr std::size_t kSkippedLinesNamed = 5;

// The UTF-8 byte-order mark some editors put at the start of a text file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

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
                   std::string* err) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    *err = std::strerror(errno);
    return false;
  }
  bytes->clear();
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, file.get())) > 0) {
    if (bytes->size() + n > kMaxListBytes) {
      *err = "larger than 64 MiB, too large for a word list";
      return false;
    }
    bytes->append(buf, n);
  }
  if (std::ferror(file.get())) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

WordList ParseWordList(const std::string& bytes) {
  WordList list;
  std::unordered_set<std::string> seen;
  const std::size_t mark = sizeof kByteOrderMark - 1;
  std::size_t start = bytes.compare(0, mark, kByteOrderMark) == 0 ? mark : 0;
  for (std::size_t number = 1; start < bytes.size(); ++number) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string word = Tidy(bytes.substr(start, end - start));
    start = end + 1;
    if (word.empty()) continue;
    if (!AllLetters(word) || word.size() > kMaxWordLetters) {
      if (++list.skipped <= kSkippedLinesNamed) {
        list.skipped_lines.push_back(number);
      }
    } else if (seen.insert(word).second) {
      list.words.push_back(std::move(word));
    }
  }
  return list;
}

std::string SkippedNote(const WordList& list) {
  if (list.skipped == 0) return "";
  std::string note =
      std::to_string(list.skipped) + (list.skipped == 1 ? " line" : " lines") +
      " skipped (not one word of up to " + std::to_string(kMaxWordLetters) +
      " letters a-z): line" + (list.skipped == 1 ? " " : "s ");
  for (std::size_t i = 0; i < list.skipped_lines.size(); ++i) {
    note += (i ? ", " : "") + std::to_string(list.skipped_lines[i]);
  }
  note += list.skipped > list.skipped_lines.size() ? ", ..." : ".";
  return note;
}

std::vector<std::string> WordsOfLength(const std::vector<std::string>& words,
                                       std::size_t letters) {
  std::vector<std::string> kept;
  for (const std::string& w : words) {
    if (w.size() == letters) kept.push_back(w);
  }
  return kept;
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

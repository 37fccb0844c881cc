#ifndef WORDGAME_TEXT_DESCRIPTOR_H_
#define WORDGAME_TEXT_DESCRIPTOR_H_

// File descriptors for wordgame's own files: closed on scope exit, read
// whole (ReadAll; they are written whole with progutil::WriteAll), and
// failures on them told with their reason.

#include <cstddef>
#include <string>

/// A file descriptor closed when the object goes out of scope (a negative one
/// is left alone).
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor();
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  /// Closes the descriptor now; false (errno says why) when close fails,
  /// which on some file systems is where a failed write shows.
  bool Close();

 private:
  int fd_;
};

/// Reads fd to its end into *bytes, going on after an interrupted read, but
/// stops as soon as *bytes holds more than `limit` bytes (a file that never
/// ends, such as /dev/zero, is one). The bytes go straight into *bytes, not
/// through a buffer on the stack. False when a read fails, errno saying why.
bool ReadAll(int fd, std::size_t limit, std::string* bytes);

/// "<what>: <errno's reason>", for a call that has just failed.
std::string WithReason(const std::string& what);

#endif  // WORDGAME_TEXT_DESCRIPTOR_H_

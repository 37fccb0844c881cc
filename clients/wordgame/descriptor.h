#ifndef WORDGAME_DESCRIPTOR_H_
#define WORDGAME_DESCRIPTOR_H_

// File descriptors for wordgame's own files, closed on scope exit. They are
// written whole with WriteAll (progutil.h).

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

#endif  // WORDGAME_DESCRIPTOR_H_

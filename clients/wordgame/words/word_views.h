#ifndef WORDGAME_WORDS_WORD_VIEWS_H_
#define WORDGAME_WORDS_WORD_VIEWS_H_

// A list of words held as views into one buffer of text: each word is a
// 32-bit number, its offset in the buffer and its length packed together, so
// that a list of millions costs 4 bytes a word beside the text it was read
// from, and copies of it or of some of its words share that text.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class WordViews {
 public:
  /// The low bits of a packed word hold its length less one: 6 bits, words
  /// of 1 to 64 letters (kMaxWordLetters).
  static constexpr unsigned kLengthBits = 6;
  static constexpr std::size_t kMaxLength = std::size_t{1} << kLengthBits;
  /// The other 26 bits hold its offset, so the buffer holds at most 64 MiB
  /// (kMaxListBytes).
  static constexpr std::size_t kMaxBytes = std::size_t{1} << (32 - kLengthBits);

  /// No words.
  WordViews() = default;
  /// A list over `bytes` (at most kMaxBytes), of no words yet: Add puts them
  /// in.
  explicit WordViews(std::shared_ptr<const std::string> bytes);
  /// These words (each 1 to kMaxLength bytes), in a buffer of their own.
  WordViews(std::initializer_list<std::string_view> words);
  explicit WordViews(const std::vector<std::string>& words);

  std::size_t size() const { return packed_.size(); }
  bool empty() const { return packed_.empty(); }
  /// Word i, valid while this list or a copy of it lives.
  std::string_view operator[](std::size_t i) const {
    return Unpack(packed_[i]);
  }
  /// Where word i starts in the buffer.
  std::size_t offset(std::size_t i) const { return OffsetOf(packed_[i]); }
  /// Word i as one number: its offset and length packed. Unpack gives the
  /// word back from any list over the same buffer.
  std::uint32_t packed(std::size_t i) const { return packed_[i]; }
  std::string_view Unpack(std::uint32_t packed) const {
    return {bytes_->data() + OffsetOf(packed), (packed & (kMaxLength - 1)) + 1};
  }
  static std::size_t OffsetOf(std::uint32_t packed) {
    return packed >> kLengthBits;
  }
  /// The buffer the words lie in.
  const std::shared_ptr<const std::string>& buffer() const { return bytes_; }

  /// Room for `n` words without reallocation.
  void reserve(std::size_t n) { packed_.reserve(n); }
  /// Adds the word of `length` bytes (1 to kMaxLength) at `offset` in the
  /// buffer; it must lie within it.
  void Add(std::size_t offset, std::size_t length);
  void pop_back() { packed_.pop_back(); }
  /// Keeps only the words i for which keep(i) is true, in order; keep is
  /// called once for each index of the list as it was, in increasing order,
  /// and may read word i.
  template <typename Keep>
  void KeepIf(Keep keep);

  /// Iterates the words as string_views.
  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator(const WordViews* words, std::size_t i) : words_(words), i_(i) {}
    std::string_view operator*() const { return (*words_)[i_]; }
    Iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return i_ != other.i_; }
    bool operator==(const Iterator& other) const { return i_ == other.i_; }

   private:
    const WordViews* words_;
    std::size_t i_;
  };
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

 private:
  std::shared_ptr<const std::string> bytes_;
  std::vector<std::uint32_t> packed_;
};

template <typename Keep>
void WordViews::KeepIf(Keep keep) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < packed_.size(); ++i) {
    if (keep(i)) packed_[kept++] = packed_[i];
  }
  packed_.resize(kept);
}

#endif  // WORDGAME_WORDS_WORD_VIEWS_H_

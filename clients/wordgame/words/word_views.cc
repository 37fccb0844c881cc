#include "words/word_views.h"

#include <utility>

WordViews::WordViews(std::shared_ptr<const std::string> bytes)
    : bytes_(std::move(bytes)) {}

WordViews::WordViews(std::initializer_list<std::string_view> words)
    : WordViews(std::vector<std::string>(words.begin(), words.end())) {}

// The words one a line, as a word list would hold them.
WordViews::WordViews(const std::vector<std::string>& words) {
  auto bytes = std::make_shared<std::string>();
  for (const std::string& w : words) {
    Add(bytes->size(), w.size());
    *bytes += w + "\n";
  }
  bytes_ = std::move(bytes);
}

void WordViews::Add(std::size_t offset, std::size_t length) {
  packed_.push_back(
      static_cast<std::uint32_t>(offset << kLengthBits | (length - 1)));
}

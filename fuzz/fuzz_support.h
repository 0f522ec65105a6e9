#ifndef KAV_FUZZ_FUZZ_SUPPORT_H_
#define KAV_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sjis/code_page.h"

namespace fuzz {

// Takes the settings of one fuzz case from the front of the input, one byte at a time;
// what is left is the text the case feeds to the code under test. A byte asked for after
// the input has run out is 0, so every input, the empty one included, is a valid case.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  // A value from 0 to n - 1. Precondition: n >= 1.
  unsigned pick(unsigned n) { return byte() % n; }

  // The rest of the input, as bytes.
  std::string rest() {
    std::string text(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Read sizes that put buffer boundaries everywhere: between CR and LF, inside a
// double-byte character, right before a line end.
inline std::size_t pick_read_size(FuzzInput& in) {
  constexpr std::size_t kSizes[] = {1, 2, 3, 5, 7, 64, 4096, 65536};
  return kSizes[in.pick(sizeof kSizes / sizeof kSizes[0])];
}

// Mostly code page 932, the programs' own; now and then one of the others.
inline const sjis::CodePage& pick_code_page(FuzzInput& in) {
  constexpr long kNumbers[] = {932, 932, 932, 932, 932, 936, 949, 950, 1252};
  return sjis::code_page_by_number(kNumbers[in.pick(sizeof kNumbers / sizeof kNumbers[0])]);
}

// The bytes a text-mode reader must deliver for raw file bytes: everything before the
// first 1A, with each CR LF pair read as one LF. Written as plainly as possible, to judge
// the buffered reader by.
inline std::string text_mode(std::string_view raw) {
  raw = raw.substr(0, raw.find('\x1A'));
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return text;
}

// Undoes the text-mode writer: every LF it wrote was preceded by the CR it added.
// Returns false when an LF lacks that CR.
inline bool strip_written_crs(std::string_view written, std::string& text) {
  text.clear();
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n') continue;
    if (written[i] == '\n' && (i == 0 || written[i - 1] != '\r')) return false;
    text += written[i];
  }
  return true;
}

// Stops the fuzzer with a report when a property does not hold; libFuzzer then saves
// the input that broke it.
inline void check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

}  // namespace fuzz

#endif  // KAV_FUZZ_FUZZ_SUPPORT_H_

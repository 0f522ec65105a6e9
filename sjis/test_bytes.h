#ifndef KAV_SJIS_TEST_BYTES_H_
#define KAV_SJIS_TEST_BYTES_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace sjis {

// Deterministic pseudo-random numbers and byte strings for the tests that hold a fast
// loop against the byte-by-byte definition it replaces. The same seed gives the same
// strings on every platform.
class TestBytes {
 public:
  explicit TestBytes(std::uint64_t seed) : state_(seed) {}

  // A number from 0 to n - 1. Precondition: n > 0.
  std::size_t below(std::size_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>(state_ >> 33) % n;
  }

  // A string of fewer than max_length bytes, each drawn from the alphabet.
  template <std::size_t N>
  std::string draw(const unsigned char (&alphabet)[N], std::size_t max_length) {
    std::string out;
    const std::size_t length = below(max_length);
    for (std::size_t i = 0; i < length; ++i) out.push_back(static_cast<char>(alphabet[below(N)]));
    return out;
  }

 private:
  std::uint64_t state_;
};

}  // namespace sjis

#endif  // KAV_SJIS_TEST_BYTES_H_

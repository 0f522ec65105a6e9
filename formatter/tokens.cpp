#include "formatter/tokens.h"

#include <limits>

namespace kavrile7 {

void split_tokens(std::string_view line, std::span<std::string_view> tokens) {
  std::size_t pos = 0;
  for (auto& token : tokens) {
    while (pos < line.size() && is_token_space(static_cast<unsigned char>(line[pos]))) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !is_token_space(static_cast<unsigned char>(line[pos]))) ++pos;
    token = line.substr(start, pos - start);
  }
}

std::int32_t token_value(std::string_view token) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::size_t pos = 0;
  bool negative = false;
  if (!token.empty() && (token[0] == '+' || token[0] == '-')) {
    negative = token[0] == '-';
    pos = 1;
  }
  // The magnitude stops growing once it is past both bounds, so it never overflows.
  std::int64_t magnitude = 0;
  for (; pos < token.size() && token[pos] >= '0' && token[pos] <= '9'; ++pos) {
    if (magnitude <= kMax + 1) magnitude = magnitude * 10 + (token[pos] - '0');
  }
  if (negative) return static_cast<std::int32_t>(-magnitude < kMin ? kMin : -magnitude);
  return static_cast<std::int32_t>(magnitude > kMax ? kMax : magnitude);
}

}  // namespace kavrile7

#ifndef KAV_FORMATTER_TOKENS_H_
#define KAV_FORMATTER_TOKENS_H_

#include <cstdint>
#include <span>
#include <string_view>

namespace kavrile7 {

// The bytes that separate the tokens of a heading or format-file line: 09 to 0D and 20.
// No byte of a double-byte character is among them, so a split never cuts a character.
constexpr bool is_token_space(unsigned char b) { return b == 0x20 || (b >= 0x09 && b <= 0x0D); }

// Splits line into tokens, each a longest run of bytes that are not token spaces, and
// puts the first tokens.size() of them into tokens, in order. Spaces before the first
// token are skipped, any run of them separates two tokens, further tokens are ignored and
// the slots the line has no token for are set empty. Tokens are taken whole, however
// long. The views point into line.
void split_tokens(std::string_view line, std::span<std::string_view> tokens);

// The number a token stands for: an optional "+" or "-", then the decimal digits up to
// the first byte that is not one. 0 when no digit follows ("12ab" is 12, "ab" and "-" are
// 0). A value beyond the signed 32-bit range saturates at its bound.
std::int32_t token_value(std::string_view token);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_TOKENS_H_

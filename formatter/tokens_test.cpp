#include "formatter/tokens.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace kavrile7 {
namespace {

TEST(SplitTokensTest, SplitsAtRunsOfWhiteSpace) {
  const struct {
    const char* what;
    std::string line;
    std::vector<std::string> tokens;  // the first four
  } cases[] = {
      {"tabs", "a\tb\tc\n", {"a", "b", "c", ""}},
      {"spaces and mixed runs", "  a \t\x0B\x0C\r b\tc d e\n", {"a", "b", "c", "d"}},
      {"empty line", "\n", {"", "", "", ""}},
      {"nothing at all", "", {"", "", "", ""}},
      {"no line end", "a b", {"a", "b", "", ""}},
      // 全角 space (81 40) and 表 (95 5C: trail byte 5C) stay inside their token.
      {"double-byte bytes are never white space",
       "\x95\x5C\x81\x40\x8E\x44 x",
       {"\x95\x5C\x81\x40\x8E\x44", "x", "", ""}},
      {"long tokens are taken whole", "123456789012345 b", {"123456789012345", "b", "", ""}},
      {"control bytes other than 09-0D are token bytes",
       "a\x01"
       "b\x1F c",
       {"a\x01"
        "b\x1F",
        "c", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::array<std::string_view, 4> tokens;
    split_tokens(c.line, tokens);
    EXPECT_EQ(std::vector<std::string>(tokens.begin(), tokens.end()), c.tokens);
  }
}

TEST(TokenValueTest, ReadsTheLeadingNumber) {
  const struct {
    std::string token;
    std::int32_t value;
  } cases[] = {
      {"30", 30},
      {"+5", 5},
      {"-4", -4},
      {"12ab", 12},
      {"30\x8D\x73", 30},  // 30行
      {"ab", 0},
      {"", 0},
      {"-", 0},
      {"+-5", 0},
      {" 5", 0},
      {"\x82\x50", 0},  // full-width 1
      {"007", 7},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.token);
    EXPECT_EQ(token_value(c.token), c.value);
  }
}

}  // namespace
}  // namespace kavrile7

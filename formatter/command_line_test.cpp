#include "formatter/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter/messages.h"

namespace kavrile7 {
namespace {

std::vector<std::string> usage_lines() {
  std::vector<std::string> lines;
  const std::string_view text = usage_text();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));  // an unterminated last line
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string with_crlf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(CommandLineTest, UsageTextHasItsFixedShape) {
  const std::vector<std::string> lines = usage_lines();
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(usage_text().back(), '\n');
  EXPECT_EQ(lines[0], "");
  // 使い方, two half-width spaces, Kavrile7.
  EXPECT_NE(lines[1].find("\x8E\x67\x82\xA2\x95\xFB  Kavrile7 "), std::string::npos);
  EXPECT_EQ(lines[2], " " + std::string(69, '-') + "2002/3/8-");
  EXPECT_EQ(lines[21], " " + std::string(78, '-'));
  for (const int n : {11, 16, 17}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(lines[n - 1].find_first_not_of(' '), 17u);
  }
  // "   （例）" and eight spaces, so that 顧客番号 lines up with the names below it.
  EXPECT_EQ(lines[14].substr(0, 21), "   \x81\x69\x97\xE1\x81\x6A        \x8C\xDA\x8B\x71");
  EXPECT_EQ(lines[14].find("\x8C\xDA"), lines[15].find("\x8C\xDA"));
  // A full-width space, then a half-width one.
  EXPECT_EQ(lines[18].substr(0, 4), "\x81\x40 \x8B");
  EXPECT_NE(lines[13].find("1\x81\x60"
                           "100"),
            std::string::npos);  // 1～100
  EXPECT_EQ(usage_text().find('\t'), std::string_view::npos);
  EXPECT_EQ(usage_text().find('\r'), std::string_view::npos);
}

TEST(CommandLineTest, FewerThanFourArgumentsPrintTheUsage) {
  const std::vector<const char*> args = {"Kavrile7", "h.txt", "f.txt", "d.txt", "P"};
  for (const int argc : {1, 2, 4}) {
    SCOPED_TRACE(argc);
    sjis::StringSink out;
    EXPECT_EQ(run(argc, args.data(), out), 255);
    EXPECT_EQ(out.bytes(), with_crlf(usage_text()));
  }
}

TEST(CommandLineTest, OutputThatCannotBeWrittenFailsTheRun) {
  const char* const args[] = {"Kavrile7"};
  sjis::StringSink out;
  out.set_fail(true);
  EXPECT_EQ(run(1, args, out), 1);
}

TEST(CommandLineTest, MissingDataFileIsReportedFirst) {
  // Every file is missing; only the data file, argument 3, is named.
  const char* const args[] = {"Kavrile7", "no such heading", "no such format", "no such data", "P"};
  sjis::StringSink out;
  EXPECT_EQ(run(5, args, out), 1);
  EXPECT_EQ(out.bytes(), with_crlf("no such data" + std::string(kNotFoundSuffix)));
}

}  // namespace
}  // namespace kavrile7

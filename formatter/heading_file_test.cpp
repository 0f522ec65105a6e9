#include "formatter/heading_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "formatter/messages.h"
#include "sjis/byte_io.h"

namespace kavrile7 {
namespace {

// 顧客リスト and 売上一覧 in code page 932.
const std::string kCustomers = "\x8C\xDA\x8B\x71\x83\x8A\x83\x58\x83\x67";
const std::string kSales = "\x94\x84\x8F\xE3\x88\xEA\x97\x97";

// Reads the heading line of a file's bytes as the loader does, then parses it.
sjis::Outcome<HeadingSpec> parse_file_bytes(const std::string& bytes) {
  sjis::StringSource source(bytes);
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  return parse_heading_line(read_heading_line(reader));
}

TEST(HeadingFileTest, ParsesValidHeadingLines) {
  const struct {
    const char* what;
    std::string file;
    std::string title;
    std::int32_t lines_per_page;
    unsigned char delimiter;
    bool quote_mode;
    std::optional<unsigned char> date_kind;
    std::optional<unsigned char> border_kind;
    std::optional<std::int32_t> record_limit;
  } cases[] = {
      {"usage example", kCustomers + "\t30\tt\n", kCustomers, 30, '\t', false, {}, {}, {}},
      {"every field, indented title", "   " + kSales + "\t60\tq\tD\tB\t100\r\n", "   " + kSales, 60,
       ',', true, 'D', 'B', 100},
      {"spaces separate like tabs", kCustomers + " 30 s", kCustomers, 30, ' ', false, {}, {}, {}},
      {"c is the comma", "T\t1\tc\n", "T", 1, ',', false, {}, {}, {}},
      {"Tab is the letter T", "T\t30\tTab\n", "T", 30, 'T', false, {}, {}, {}},
      {"semicolon as itself", "T\t30\t;\n", "T", 30, ';', false, {}, {}, {}},
      {"half-width katakana as itself", "T\t30\t\xB1\n", "T", 30, 0xB1, false, {}, {}, {}},
      {"30行 is 30", "T\t30\x8D\x73\tt\n", "T", 30, '\t', false, {}, {}, {}},
      {"runs of tabs vanish: B becomes the date kind",
       "T\t30\tt\t\t\tB\n",
       "T",
       30,
       '\t',
       false,
       'B',
       {},
       {}},
      {"record limit 0 is present", "T\t30\tt\tR\tR\t0\n", "T", 30, '\t', false, 'R', 'R', 0},
      {"record limit abc is present with value 0", "T\t30\tt\tR\tR\tabc\n", "T", 30, '\t', false,
       'R', 'R', 0},
      {"huge record limit saturates", "T\t30\tt\tR\tR\t99999999999\n", "T", 30, '\t', false, 'R',
       'R', 2147483647},
      {"seventh token ignored", "T\t30\tt\tJ\tb\t5\tzzz\n", "T", 30, '\t', false, 'J', 'b', 5},
      {"tab ends the count of leading spaces",
       "  \t T\t30\tt\n",
       "  T",
       30,
       '\t',
       false,
       {},
       {},
       {}},
      {"full-width space stays in the title",
       "\x81\x40T\t30\tt\n",
       "\x81\x40T",
       30,
       '\t',
       false,
       {},
       {},
       {}},
      {"title of %s and %n", "%s%n\t30\tt\n", "%s%n", 30, '\t', false, {}, {}, {}},
      {"only the first line counts", "T\t30\tt\n\n", "T", 30, '\t', false, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto heading = parse_file_bytes(c.file);
    ASSERT_TRUE(heading.ok());
    EXPECT_EQ(heading.value().title, c.title);
    EXPECT_EQ(heading.value().lines_per_page, c.lines_per_page);
    EXPECT_EQ(heading.value().delimiter, c.delimiter);
    EXPECT_EQ(heading.value().quote_mode, c.quote_mode);
    EXPECT_EQ(heading.value().date_kind, c.date_kind);
    EXPECT_EQ(heading.value().border_kind, c.border_kind);
    EXPECT_EQ(heading.value().record_limit, c.record_limit);
  }
}

TEST(HeadingFileTest, RejectsBadHeadingLines) {
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"empty file", ""},
      {"empty first line, good second line", "\n" + kCustomers + "\t30\tt\n"},
      {"blank line", " \t \n"},
      {"only spaces", "     "},
      {"no delimiter code", kCustomers + "\t30\n"},
      {"no lines per page", kCustomers + "\n"},
      {"lines per page 0", kCustomers + "\t0\tt\n"},
      {"lines per page -5", kCustomers + "\t-5\tt\n"},
      {"lines per page abc", kCustomers + "\tabc\tt\n"},
      // 顧客 リスト: the half-width space ends the title; リスト becomes the lines per page.
      {"space inside the title", "\x8C\xDA\x8B\x71 \x83\x8A\x83\x58\x83\x67\t30\tt\n"},
      {"leading spaces alone are no title", "   \t30\tt\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto heading = parse_file_bytes(c.file);
    ASSERT_FALSE(heading.ok());
    EXPECT_EQ(heading.failure().message, kHeadingContentMessage);
    EXPECT_EQ(heading.failure().status, sjis::ExitStatus::Failure);
  }
}

TEST(HeadingFileTest, ReadsAtMost513BytesOfTheFirstLine) {
  // 600 bytes: the third token starts at byte 511, so only its first three bytes are read
  // and the fourth token ("J") never is.
  std::string line = std::string(506, 'A') + "\t30\tqqqqqqqqqqqqqqqqqqqqq";
  line.resize(600 - 3, 'q');
  line += "\tJ\n";
  ASSERT_EQ(line.size(), 600u);
  sjis::StringSource source(line, 7);
  sjis::ByteReader reader(source, sjis::FileMode::Text, 16);
  const std::string read = read_heading_line(reader);
  EXPECT_EQ(read, line.substr(0, 513));

  const auto heading = parse_heading_line(read);
  ASSERT_TRUE(heading.ok());
  EXPECT_EQ(heading.value().title.size(), 506u);
  EXPECT_EQ(heading.value().delimiter, ',');
  EXPECT_TRUE(heading.value().quote_mode);
  EXPECT_FALSE(heading.value().date_kind.has_value());
}

TEST(HeadingFileTest, StopsReadingAtTheFirstLineEnd) {
  sjis::StringSource source("T\t30\tt\r\nsecond\n");
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  EXPECT_EQ(read_heading_line(reader), "T\t30\tt\n");
  EXPECT_EQ(reader.get(), 's');
}

TEST(HeadingFileTest, LoadsFromAFile) {
  const std::string path = testing::TempDir() + "heading_file_test.txt";
  {
    std::ofstream file(path, std::ios::binary);
    file << "  " << kCustomers << "\t30\tt\tS\r\n";
  }
  const auto heading = load_heading_file(path);
  std::remove(path.c_str());
  ASSERT_TRUE(heading.ok());
  EXPECT_EQ(heading.value().title, "  " + kCustomers);
  EXPECT_EQ(heading.value().date_kind, 'S');
}

TEST(HeadingFileTest, UnreadablePathsAreNotFound) {
  for (const std::string path : {"no such dir/heading.txt", ".", "%s%n"}) {
    SCOPED_TRACE(path);
    const auto heading = load_heading_file(path);
    ASSERT_FALSE(heading.ok());
    EXPECT_EQ(heading.failure().message, path + std::string(kNotFoundSuffix));
    EXPECT_EQ(heading.failure().status, sjis::ExitStatus::Failure);
  }
}

}  // namespace
}  // namespace kavrile7

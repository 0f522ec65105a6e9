// End-to-end tests of the documented pipeline on the shipped examples: the converter in
// mode 1 over the format file and in mode 2 over the data file, the formatter in mode P,
// the converter in mode 3 over the formatter's output.

#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunOptions;
using e2e::RunResult;
using e2e::TempDir;

const std::string kExamples = std::string(EXAMPLES_DIR) + "/";
const std::string kGolden = std::string(FIXTURE_DIR) + "/pipeline/customers.golden";
const std::string kTotal = "(\x91\x8D\x8C\x8F\x90\x94:";  // (総件数:

struct Example {
  std::string dir;   // under examples/
  std::string data;  // the data file's name
  std::string code;  // the converter's delimiter code for the data file
};

std::string faketime_path() {
  return ::access("/usr/bin/faketime", X_OK) == 0 ? "/usr/bin/faketime" : "";
}

// Runs program in dir with standard output to dir/out and returns its exit status.
int run_into(const TempDir& dir, const std::string& out, const std::string& program,
             const std::vector<std::string>& args, std::map<std::string, std::string> env = {}) {
  RunOptions options;
  options.working_directory = dir.path();
  options.stdout_path = dir.file(out);
  options.env = std::move(env);
  return e2e::run_program(program, args, options).exit_status;
}

// The whole pipeline on one example, each step's output in a file of dir; returns the
// final listing. With fixed_clock the formatter runs at 2002-03-08 09:05 UTC.
std::string run_pipeline(const TempDir& dir, const Example& example, bool fixed_clock) {
  const std::string in = kExamples + example.dir + "/";
  EXPECT_EQ(run_into(dir, "format.txt", KAVZUNO7_PATH, {"1", "t", in + "format.txt"}), 0);
  EXPECT_EQ(run_into(dir, "data.txt", KAVZUNO7_PATH, {"2", example.code, in + example.data}), 0);
  std::vector<std::string> formatter = {in + "heading.txt", "format.txt", "data.txt", "P"};
  if (fixed_clock) {
    formatter.insert(formatter.begin(), {"2002-03-08 09:05:00", KAVRILE7_PATH});
    EXPECT_EQ(
        run_into(dir, "ruled.txt", faketime_path(), formatter,
                 {{"TZ", "UTC"}, {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"}}),
        0);
  } else {
    EXPECT_EQ(run_into(dir, "ruled.txt", KAVRILE7_PATH, formatter), 0);
  }
  EXPECT_EQ(run_into(dir, "listing.txt", KAVZUNO7_PATH, {"3", "t", "ruled.txt"}), 0);
  EXPECT_FALSE(dir.exists("$$$kv7.$$$"));
  return dir.read("listing.txt");
}

bool is_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The byte offsets, that is the half-width cells, at which a line of the table holds a
// box-drawing character with a vertical stroke (│ and the corners and joints).
std::set<std::size_t> vertical_strokes(std::string_view line) {
  static const std::set<unsigned char> kVertical = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6,
                                                    0xA7, 0xA8, 0xA9, 0xB9, 0xBA, 0xBC};
  std::set<std::size_t> cells;
  for (std::size_t i = 0; i < line.size(); i += is_lead(line[i]) ? 2 : 1) {
    if (static_cast<unsigned char>(line[i]) == 0x84 && i + 1 < line.size() &&
        kVertical.count(static_cast<unsigned char>(line[i + 1])) != 0) {
      cells.insert(i);
    }
  }
  return cells;
}

// Whether every character of line is a double-byte one.
bool double_byte_only(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); i += 2) {
    if (!is_lead(line[i]) || i + 1 >= line.size()) return false;
  }
  return true;
}

TEST(PipelineTest, FirstExampleGivesTheGoldenListing) {
  if (faketime_path().empty()) GTEST_SKIP() << "faketime is not installed";
  TempDir dir;
  const std::string listing = run_pipeline(dir, {"customers", "data.txt", "t"}, true);
  EXPECT_EQ(listing, e2e::read_file(kGolden));
}

// What makes a listing print straight in any fixed-pitch font: on every line of the
// table the vertical rules stand in the same cells as the joints of the top rule, and
// the cells hold double-byte characters only (full-width text and full-width spaces).
TEST(PipelineTest, ExamplesGiveTablesWithStraightRules) {
  const struct {
    Example example;
    int pages;
    int records;
  } cases[] = {
      {{"customers", "data.txt", "t"}, 1, 12},
      {{"sales", "data.csv", "q"}, 3, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.example.dir);
    TempDir dir;
    const std::string listing = run_pipeline(dir, c.example, false);

    int form_feeds = 0;
    int table_lines = 0;
    std::set<std::size_t> strokes;
    std::size_t width = 0;
    std::size_t start = 0;
    while (start < listing.size()) {
      std::size_t end = listing.find("\r\n", start);
      if (end == std::string::npos) end = listing.size();
      std::string_view line(listing.data() + start, end - start);
      start = end + 2;
      while (!line.empty() && line.front() == '\x0C') {
        ++form_feeds;
        line.remove_prefix(1);
      }
      if (line.size() < 2 || static_cast<unsigned char>(line[0]) != 0x84) continue;
      SCOPED_TRACE(std::string(line));
      if (table_lines++ == 0) {  // the first top rule sets the shape of every page
        strokes = vertical_strokes(line);
        width = line.size();
      }
      EXPECT_EQ(line.size(), width);
      EXPECT_EQ(vertical_strokes(line), strokes);
      EXPECT_TRUE(double_byte_only(line));
    }
    EXPECT_EQ(form_feeds, c.pages);  // mode P: one before each later page, one at the end
    EXPECT_GT(table_lines, c.records);
    EXPECT_NE(listing.find(kTotal + std::to_string(c.records) + ")\r\n\x0C"), std::string::npos);
  }
}

}  // namespace

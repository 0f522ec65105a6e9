// End-to-end tests of the full-width converter: the built program on fixture files and
// small files of its own, comparing the exact bytes of standard output and the exit
// status.

#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunOptions;
using e2e::RunResult;
using e2e::TempDir;

const std::string kFixtures = std::string(FIXTURE_DIR) + "/converter/";

// " が見つかりません。" and the line end as standard output writes it.
const std::string kNotFound =
    " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81"
    "B\r\n";

RunResult kavzuno7(const std::vector<std::string>& args, const RunOptions& options = {}) {
  return e2e::run_program(KAVZUNO7_PATH, args, options);
}

std::string fixture(const std::string& name) {
  const std::string bytes = e2e::read_file(kFixtures + name);
  EXPECT_FALSE(bytes.empty()) << "missing fixture " << name;
  return bytes;
}

TEST(Kavzuno7Test, UsageTextForTooFewArguments) {
  const std::vector<std::vector<std::string>> cases = {{}, {"1"}, {"2", "c"}};
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::Message() << args.size() << " arguments");
    const RunResult r = kavzuno7(args);
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.stdout_bytes, fixture("usage.txt"));
  }
}

TEST(Kavzuno7Test, ConvertsTheFixtures) {
  const struct {
    const char* mode;
    const char* code;
    const char* input;
    const char* expected;
  } cases[] = {
      {"1", "t", "format.txt", "format.mode1.txt"},
      {"2", "q", "data.csv", "data.mode2q.txt"},
      {"2", "c", "data.csv", "data.mode2c.txt"},
      {"3", "t", "listing.txt", "listing.mode3.txt"},
      // Only the first byte of the mode and code counts; a fourth argument is ignored.
      {"1st", "tab", "format.txt", "format.mode1.txt"},
      {"9", "Z", "listing.txt", "listing.mode3.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.code << " " << c.input);
    const RunResult r = kavzuno7({c.mode, c.code, kFixtures + c.input, "ignored"});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.stdout_bytes, fixture(c.expected));
  }
}

TEST(Kavzuno7Test, FileThatCannotBeReadWhateverTheMode) {
  TempDir dir;
  const struct {
    std::string mode;
    std::string path;
  } cases[] = {
      {"1", dir.file("missing.txt")},
      {"x", dir.file("missing.txt")},
      // The path is written as typed, never used as a format.
      {"2", dir.file("%s%n.txt")},
      {"3", dir.path()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const RunResult r = kavzuno7({c.mode, "c", c.path});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.stdout_bytes, c.path + kNotFound);
  }
}

TEST(Kavzuno7Test, TextFileConventions) {
  TempDir dir;
  const struct {
    const char* what;
    const char* mode;
    std::string in;
    std::string out;
  } cases[] = {
      {"empty file", "1", "", ""},
      {"LF becomes CR LF", "3", "a  b\nc \n",
       "a\x81\x40"
       "b\r\nc \r\n"},
      {"a lone CR stays", "2", "a\rb\r\n", "\x82\x81\r\x82\x82\r\n"},
      {"1A ends the input", "3", std::string("a  b\r\n\x1A  c\r\n", 13),
       "a\x81\x40"
       "b\r\n"},
      {"no line end at the end", "3", "a ", "a "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("in.txt", c.in);
    const RunResult r = kavzuno7({c.mode, "c", dir.file("in.txt")});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.stdout_bytes, c.out);
  }
}

TEST(Kavzuno7Test, SingleByteCodePageCopiesTheText) {
  RunOptions options;
  options.env = {{"KAV_CODEPAGE", "1252"}};
  for (const char* mode : {"1", "2"}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    const RunResult r = kavzuno7({mode, "c", kFixtures + "format.txt"}, options);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.stdout_bytes, fixture("format.txt"));
  }
}

TEST(Kavzuno7Test, FailedWriteGivesStatus1) {
  RunOptions closed;
  closed.close_stdout = true;
  EXPECT_EQ(kavzuno7({"3", "t", kFixtures + "listing.txt"}, closed).exit_status, 1);
  if (::access("/dev/full", W_OK) == 0) {
    RunOptions full;
    full.stdout_path = "/dev/full";
    EXPECT_EQ(kavzuno7({"1", "t", kFixtures + "format.txt"}, full).exit_status, 1);
  }
}

}  // namespace

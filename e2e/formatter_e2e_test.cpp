// End-to-end tests of the formatter's command line and of the checks that precede the
// data pass: the usage text, every message and exit status, and the order in which
// problems are reported. They run the built program on small files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunResult;
using e2e::TempDir;

const std::string kWorkFile = "$$$kv7.$$$";

// The expected messages, code page 932 with CR LF line ends.
// " が見つかりません｡"
const std::string kNotFound =
    " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\xA1\r\n";
// "見出しファイルの内容に間違いがあります｡"
const std::string kHeadingContent =
    "\x8C\xA9\x8F\x6F\x82\xB5\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xE0\x97\x65\x82\xC9"
    "\x8A\xD4\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\r\n";
// "書式ファイルの内容に間違いがあります｡"
const std::string kFormatContent =
    "\x8F\x91\x8E\xAE\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xE0\x97\x65\x82\xC9\x8A\xD4"
    "\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\r\n";
// "罫線データの出力合計桁数が半角512文字を越えています｡"
const std::string kTotalWidth =
    "\x8C\x72\x90\xFC\x83\x66\x81\x5B\x83\x5E\x82\xCC\x8F\x6F\x97\xCD\x8D\x87\x8C\x76\x8C\x85"
    "\x90\x94\x82\xAA\x94\xBC\x8A\x70"
    "512\x95\xB6\x8E\x9A\x82\xF0\x89\x7A\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7\xA1\r\n";
// "書式ファイルの出力順に間違いがあります｡"
const std::string kOutputOrder =
    "\x8F\x91\x8E\xAE\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x6F\x97\xCD\x8F\x87\x82\xC9"
    "\x8A\xD4\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\r\n";

// 顧客リスト TAB 30 TAB t, and the usage text's format file.
const std::string kHeading = "\x8C\xDA\x8B\x71\x83\x8A\x83\x58\x83\x67\t30\tt\r\n";
const std::string kFormat =
    "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86\tC\t10\t2\r\n"  // 顧客番号
    "\x8C\xDA\x8B\x71\x96\xBC\tC\t30\t1\r\n"          // 顧客名
    "\x94\xF5\x8D\x6C\tE\t20\tX\r\n";                 // 備考

RunResult kavrile7(const TempDir& dir, const std::vector<std::string>& args) {
  e2e::RunOptions options;
  options.working_directory = dir.path();
  return e2e::run_program(KAVRILE7_PATH, args, options);
}

bool is_empty_directory(const TempDir& dir) { return std::filesystem::is_empty(dir.path()); }

TEST(FormatterCommandLineTest, FewerThanFourArgumentsPrintTheUsage) {
  std::string usage = e2e::read_file(std::string(FIXTURE_DIR) + "/formatter/usage.txt");
  ASSERT_FALSE(usage.empty());
  std::string expected;
  for (const char c : usage) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  const std::vector<std::vector<std::string>> arg_lists = {
      {}, {"h.txt"}, {"h.txt", "f.txt", "d.txt"}};
  for (const auto& args : arg_lists) {
    SCOPED_TRACE(args.size());
    TempDir dir;
    const RunResult r = kavrile7(dir, args);
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.stdout_bytes, expected);
    EXPECT_TRUE(is_empty_directory(dir));
  }
}

// A file of the run: its bytes, or absent, or a directory.
struct Input {
  enum Kind { Absent, File, Directory } kind = Absent;
  std::string bytes;
};
Input file(std::string bytes) { return {Input::File, std::move(bytes)}; }
const Input kAbsent = {Input::Absent, {}};
const Input kDirectory = {Input::Directory, {}};

void create(const TempDir& dir, const std::string& name, const Input& input) {
  if (input.kind == Input::File) dir.write(name, input.bytes);
  if (input.kind == Input::Directory) std::filesystem::create_directory(dir.file(name));
}

TEST(FormatterCommandLineTest, EachFailureHasItsMessageAndStatus) {
  const Input heading = file(kHeading);
  const Input format = file(kFormat);
  const Input data = file("1001\tYAMADA\tmemo\r\n");
  const std::string too_wide = "A\tC\t255\t1\r\nB\tC\t257\t2\r\n";
  const struct {
    const char* what;
    Input heading, format, data;
    std::string mode;
    std::string output;
  } cases[] = {
      {"data file missing", heading, format, kAbsent, "P", "d.txt" + kNotFound},
      {"data file is a directory", heading, format, kDirectory, "P", "d.txt" + kNotFound},
      {"data file first, before the heading file", kAbsent, kAbsent, kAbsent, "P",
       "d.txt" + kNotFound},
      {"heading file missing", kAbsent, format, data, "P", "h.txt" + kNotFound},
      {"heading file is a directory", kDirectory, format, data, "P", "h.txt" + kNotFound},
      {"empty heading file", file(""), format, data, "P", kHeadingContent},
      {"heading file with an empty first line", file("\r\n" + kHeading), format, data, "P",
       kHeadingContent},
      {"lines per page 0", file("T\t0\tt\r\n"), format, data, "P", kHeadingContent},
      {"heading error before the format file is opened", file("T\t30\r\n"), kAbsent, data, "P",
       kHeadingContent},
      {"format file missing", heading, kAbsent, data, "P", "f.txt" + kNotFound},
      {"format file is a directory", heading, kDirectory, data, "P", "f.txt" + kNotFound},
      {"format line of three fields", heading, file("A\tC\t10\r\n"), data, "P", kFormatContent},
      {"trailing empty format line", heading, file(kFormat + "\r\n"), data, "P", kFormatContent},
      {"total width 514", heading, file(too_wide), data, "P", kTotalWidth},
      {"content error in line 3 before the total width", heading, file(too_wide + "C\tC\t10\r\n"),
       data, "P", kFormatContent},
      {"total width before the output order", heading, file("A\tC\t500\t2\r\nB\tC\t20\t3\r\n"),
       data, "P", kTotalWidth},
      {"output orders 2 and 3 without 1", heading, file("A\tC\t2\t2\r\nB\tC\t2\t3\r\n"), data, "P",
       kOutputOrder},
      {"empty format file", heading, file(""), data, "P", kOutputOrder},
      {"shared output order", heading, file("A\tC\t2\t1\r\nB\tC\t2\t1\r\n"), data, "V",
       kOutputOrder},
      {"output item with the order X", heading, file("A\tC\t2\t1\r\nB\tC\t2\tX\r\n"), data, "V",
       kOutputOrder},
      {"the mode plays no part in a format error", heading, file("A\tC\t10\r\n"), data, "xyz",
       kFormatContent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    create(dir, "h.txt", c.heading);
    create(dir, "f.txt", c.format);
    create(dir, "d.txt", c.data);
    const RunResult r = kavrile7(dir, {"h.txt", "f.txt", "d.txt", c.mode});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.stdout_bytes, c.output);
    EXPECT_FALSE(dir.exists(kWorkFile));
  }
}

TEST(FormatterCommandLineTest, PathsArePrintedExactlyAsTyped) {
  TempDir dir;
  dir.write("h.txt", kHeading);
  dir.write("f.txt", kFormat);
  std::filesystem::create_directory(dir.file("sub"));
  dir.write("sub/d.txt", "1\t2\r\n");
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::string output;
  } cases[] = {
      {"empty data path", {"h.txt", "f.txt", "", "P"}, kNotFound},
      {"format specifiers in a path", {"h.txt", "%s%n%d", "d.txt", "P"}, "d.txt" + kNotFound},
      {"format specifiers in the format path",
       {"h.txt", "%s%n%d", "sub/d.txt", "P"},
       "%s%n%d" + kNotFound},
      {"a relative path that is not there",
       {"sub/h.txt", "f.txt", "sub/d.txt", "P"},
       "sub/h.txt" + kNotFound},
      // 見出し.txt: a Shift-JIS file name whose trail byte 5C is a backslash.
      {"double-byte path",
       {"h.txt", "\x8C\xA9\x8F\x6F\x82\xB5\x95\x5C.txt", "sub/d.txt", "P"},
       "\x8C\xA9\x8F\x6F\x82\xB5\x95\x5C.txt" + kNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult r = kavrile7(dir, c.args);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.stdout_bytes, c.output);
  }
}

TEST(FormatterCommandLineTest, ArgumentsAfterTheFourthAreIgnored) {
  TempDir dir;
  dir.write("h.txt", kHeading);
  dir.write("f.txt", "A\tC\t2\t1\r\n");
  const RunResult r = kavrile7(dir, {"h.txt", "f.txt", "d.txt", "V", "extra", "more"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.stdout_bytes, "d.txt" + kNotFound);
}

TEST(FormatterCommandLineTest, DataFileGivenAsAPipeKeepsEveryByte) {
  // The open check of the data file reads nothing, so the data pass still gets every
  // byte of a process substitution.
  TempDir dir;
  dir.write("h.txt", "T\t30\tt\r\n");
  dir.write("f.txt", "A\tC\t2\t1\r\nB\tC\t2\t2\r\n");
  e2e::RunOptions options;
  options.working_directory = dir.path();
  const RunResult r = e2e::run_program(
      "/bin/bash",
      {"-c", "exec \"$0\" h.txt f.txt <(printf 'a\\tb\\r\\nc\\td\\r\\n') V", KAVRILE7_PATH},
      options);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.stdout_bytes, "a\tb\r\nc\td\r\n");
}

}  // namespace

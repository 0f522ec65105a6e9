// End-to-end tests of the formatter's listing: the data pass, the work file and both
// output passes, run through the built program on small files.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunOptions;
using e2e::RunResult;
using e2e::TempDir;

const std::string kWorkFile = "$$$kv7.$$$";
const std::string kFixtures = std::string(FIXTURE_DIR) + "/listing/";
const std::string kV = "\x84\xA0";                          // │
const std::string kTotal = "(\x91\x8D\x8C\x8F\x90\x94:";    // (総件数:
// 顧客番号 C 10 2, 顧客名 C 30 1, 備考 E 20 X
const std::string kCustomerFormat =
    "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86\tC\t10\t2\n\x8C\xDA\x8B\x71\x96\xBC\tC\t30\t1\n"
    "\x94\xF5\x8D\x6C\tE\t20\tX\n";

RunResult kavrile7(const TempDir& dir, const std::string& mode, RunOptions options = {}) {
  options.working_directory = dir.path();
  return e2e::run_program(KAVRILE7_PATH, {"h.txt", "f.txt", "d.txt", mode}, options);
}

std::string faketime_path() { return ::access("/usr/bin/faketime", X_OK) == 0 ? "/usr/bin/faketime" : ""; }

// Runs the formatter with the clock at 2002-03-08 09:05 UTC.
RunResult kavrile7_at_fixed_time(const std::string& dir, const std::vector<std::string>& args) {
  RunOptions options;
  options.working_directory = dir;
  options.env = {{"TZ", "UTC"}, {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"}};
  std::vector<std::string> all = {"2002-03-08 09:05:00", KAVRILE7_PATH};
  all.insert(all.end(), args.begin(), args.end());
  return e2e::run_program(faketime_path(), all, options);
}

std::string rule(const char* left, const char* joint, const char* right, std::vector<int> widths) {
  std::string s;
  for (std::size_t c = 0; c < widths.size(); ++c) {
    s += c == 0 ? left : joint;
    for (int i = 0; i < widths[c] / 2; ++i) s += "\x84\x9F";
  }
  return s + right;
}

TEST(ListingTest, WorkedExampleInModesPAndN) {
  TempDir dir;
  dir.write("h.txt", "LIST\t9\tt\tN\n");
  dir.write("f.txt", "AB\tC\t4\t1\nCDE\tC\t6\t2\n");
  dir.write("d.txt", "ab\txyz\r\nabcdef\t1\r\nq\r\n");
  const std::string top = rule("\x84\xA1", "\x84\xA6", "\x84\xA2", {4, 6});
  const std::string sep = rule("\x84\xA5", "\x84\xA9", "\x84\xA7", {4, 6});
  const std::string bottom = rule("\x84\xA4", "\x84\xA8", "\x84\xA3", {4, 6});
  const std::string head = "LIST\r\n" + top + "\r\n" + kV + "AB  " + kV + "CDE   " + kV + "\r\n" + sep + "\r\n";
  const std::string page1 = head + kV + "ab  " + kV + "xyz   " + kV + "\r\n" + sep + "\r\n" + kV +
                            "abcd" + kV + "1     " + kV + "\r\n" + kV + "ef  " + kV + "      " + kV +
                            "\r\n" + bottom + "\r\n      - 1 -\r\n";
  const std::string page2 =
      head + kV + "q   " + kV + "      " + kV + "\r\n" + bottom + "\r\n      - 2 -\r\n";

  const RunResult p = kavrile7(dir, "P");
  EXPECT_EQ(p.exit_status, 0);
  EXPECT_EQ(p.stdout_bytes, page1 + "\x0C" + page2 + kTotal + "3)\r\n\x0C");
  EXPECT_FALSE(dir.exists(kWorkFile));

  const RunResult n = kavrile7(dir, "N");
  EXPECT_EQ(n.exit_status, 0);
  EXPECT_EQ(n.stdout_bytes, page1 + page2 + kTotal + "3)\r\n");
}

TEST(ListingTest, RoadOfOneRecord) {
  if (faketime_path().empty()) GTEST_SKIP() << "faketime is not installed";
  TempDir dir;
  dir.write("h.txt", "\x8C\xDA\x8B\x71\x83\x8A\x83\x58\x83\x67\t30\tt\n");  // 顧客リスト 30 t
  dir.write("f.txt", kCustomerFormat);
  dir.write("d.txt", "1001\t\x8E\x52\x93\x63\t\x83\x81\x83\x82\n");  // 1001 山田 メモ
  const RunResult r = kavrile7_at_fixed_time(dir.path(), {"h.txt", "f.txt", "d.txt", "P"});
  const std::vector<int> widths = {30, 10};
  const std::string expected =
      std::string(33, ' ') + "2002/3/8 9:5\r\n\x8C\xDA\x8B\x71\x83\x8A\x83\x58\x83\x67\r\n" +
      rule("\x84\xA1", "\x84\xA6", "\x84\xA2", widths) + "\r\n" + kV + "\x8C\xDA\x8B\x71\x96\xBC" +
      std::string(24, ' ') + kV + "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86  " + kV + "\r\n" +
      rule("\x84\xA5", "\x84\xA9", "\x84\xA7", widths) + "\r\n" + kV + "\x8E\x52\x93\x63" +
      std::string(26, ' ') + kV + "1001      " + kV + "\r\n" +
      rule("\x84\xA4", "\x84\xA8", "\x84\xA3", widths) + "\r\n" + std::string(21, ' ') +
      "- 1 -\r\n" + kTotal + "1)\r\n\x0C";
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.stdout_bytes, expected);
}

// Ten records over several pages: date kind D, bold separator, wrapped cells, a lead byte
// moved to the next sub-line, CR LF data. The golden file was checked by eye through
// iconv -f CP932 -t UTF-8.
TEST(ListingTest, MultiPageGolden) {
  if (faketime_path().empty()) GTEST_SKIP() << "faketime is not installed";
  TempDir dir;
  const RunResult r = kavrile7_at_fixed_time(
      dir.path(), {kFixtures + "heading.txt", kFixtures + "format.txt", kFixtures + "data.txt", "P"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.stdout_bytes, e2e::read_file(kFixtures + "sales.golden"));
}

TEST(ListingTest, PlainOutputWithEveryDelimiterCode) {
  const struct {
    const char* code;
    std::string data;
    std::string out;
  } cases[] = {
      {"t", "1\ta\tx\n", "a\t1\r\n"},
      {"s", "1 a x\n", "a 1\r\n"},
      {"c", "1,\"a\",x\n", "\"a\",1\r\n"},
      {"q", "\"1\",\"a,b\",x\n", "a,1\r\n"},  // the comma inside quotes still splits
      {";", "1;a;x\n", "a;1\r\n"},
      {"\xB1", "1\xB1" "a\xB1x\n", "a\xB1" "1\r\n"},  // half-width katakana ｱ
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    TempDir dir;
    dir.write("h.txt", std::string("T 30 ") + c.code + "\n");
    dir.write("f.txt", "A C 2 2\nB C 2 1\nC E 2 X\n");
    dir.write("d.txt", c.data);
    for (const char* mode : {"V", "v", "X", "", "p", "PN"}) {
      SCOPED_TRACE(mode);
      const RunResult r = kavrile7(dir, mode);
      EXPECT_EQ(r.exit_status, 0);
      EXPECT_EQ(r.stdout_bytes, c.out);
    }
  }
}

TEST(ListingTest, StaleWorkFileIsReusedAndRemoved) {
  TempDir dir;
  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 2 1\n");
  dir.write("d.txt", "a\n");
  dir.write(kWorkFile, "stale\x0B\nrecords\x0B\n");
  const RunResult r = kavrile7(dir, "V");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.stdout_bytes, "a\r\n");
  EXPECT_FALSE(dir.exists(kWorkFile));
}

TEST(ListingTest, SymbolicLinkAtTheWorkFileNameIsNeverFollowed) {
  TempDir dir;
  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 2 1\n");
  dir.write("d.txt", "a\n");
  dir.write("target", "precious");
  ASSERT_EQ(::symlink("target", dir.file(kWorkFile).c_str()), 0);
  const RunResult r = kavrile7(dir, "P");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.stdout_bytes, "");
  EXPECT_EQ(dir.read("target"), "precious");
}

TEST(ListingTest, ConcurrentRunsEachProduceTheirOwnOutput) {
  TempDir dir;
  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 2 1\n");
  std::vector<std::string> data(6);
  for (std::size_t i = 0; i < data.size(); ++i) {
    for (int line = 0; line < 20000; ++line) data[i] += "run" + std::to_string(i) + "\n";
    dir.write("d" + std::to_string(i) + ".txt", data[i]);
  }
  std::vector<RunResult> results(data.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < data.size(); ++i) {
    threads.emplace_back([&, i] {
      RunOptions options;
      options.working_directory = dir.path();
      results[i] = e2e::run_program(KAVRILE7_PATH, {"h.txt", "f.txt", "d" + std::to_string(i) + ".txt", "V"},
                                    options);
    });
  }
  for (auto& t : threads) t.join();
  for (std::size_t i = 0; i < data.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].exit_status, 0);
    std::string expected;
    for (int line = 0; line < 20000; ++line) expected += "run" + std::to_string(i) + "\r\n";
    EXPECT_TRUE(results[i].stdout_bytes == expected);
  }
  EXPECT_FALSE(dir.exists(kWorkFile));
}

TEST(ListingTest, StandardOutputOnAFullDeviceFails) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 2 1\n");
  dir.write("d.txt", "a\n");
  for (const char* mode : {"P", "V"}) {
    SCOPED_TRACE(mode);
    RunOptions options;
    options.stdout_path = "/dev/full";
    const RunResult r = kavrile7(dir, mode, options);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_FALSE(dir.exists(kWorkFile));
  }
}

TEST(ListingTest, FileSizeLimitDuringTheDataPassFails) {
  TempDir dir;
  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 2 1\n");
  std::string data;
  for (int i = 0; i < 100000; ++i) data += "0123456789\n";
  dir.write("d.txt", data);
  RunOptions options;
  options.file_size_limit = 100000;
  const RunResult r = kavrile7(dir, "V", options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.stdout_bytes, "");
}

}  // namespace

// The fault matrix: both programs run as built, under the conditions that break programs
// of their kind (huge inputs, concurrent runs, standard output that cannot take the
// output, a work file name that is taken, inputs that change under the run). Each case
// states what the user gets: the exit status, what is printed, and what is left behind.
// No case may end with a truncated listing reported as success.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunOptions;
using e2e::RunResult;
using e2e::TempDir;

const std::string kWorkFile = "$$$kv7.$$$";
const std::string kBar = "\x84\xA0";                      // │
const std::string kTotal = "(\x91\x8D\x8C\x8F\x90\x94:";  // (総件数:

RunResult kavrile7(const TempDir& dir, const std::string& mode, RunOptions options = {}) {
  options.working_directory = dir.path();
  return e2e::run_program(KAVRILE7_PATH, {"h.txt", "f.txt", "d.txt", mode}, options);
}

// A small listing: one column of width 8, no date line, 30 lines per page.
void write_small_listing(const TempDir& dir, const std::string& data) {
  dir.write("h.txt", "T 30 t N\n");
  dir.write("f.txt", "A C 8 1\n");
  dir.write("d.txt", data);
}

// Writes lines of the form "<number> TAB <filler>" LF until the file holds at least
// bytes bytes, without holding the file in memory. Returns the number of lines.
long long write_numbered_lines(const std::string& path, long long bytes) {
  std::ofstream out(path, std::ios::binary);
  const std::string filler(52, 'x');
  long long lines = 0;
  for (long long written = 0; written < bytes; ++lines) {
    const std::string line = std::to_string(1000000000 + lines) + '\t' + filler + '\n';
    out << line;
    written += static_cast<long long>(line.size());
  }
  return lines;
}

// As root, permissions do not bind, so the cases that need them run the program as the
// user nobody. Returns an empty string when that works, else why not.
std::string make_unprivileged(const TempDir& dir, RunOptions& options) {
  if (::geteuid() != 0) return "";
  options.drop_privileges = true;
  ::chmod(dir.path().c_str(), 0777);
  RunOptions probe;
  probe.drop_privileges = true;
  if (e2e::run_program(KAVZUNO7_PATH, {}, probe).exit_status != 255) {
    return "the built programs cannot be run as the user nobody (a directory above them is "
           "closed to it)";
  }
  return "";
}

// Opens the FIFO at path for writing as soon as a reader has it open, waiting at most
// ten seconds. Returns -1 when no reader came.
int open_fifo_writer(const std::string& path) {
  for (int tries = 0; tries < 1000; ++tries) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
      return fd;
    }
    if (errno != ENXIO) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

void write_all(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

// One gigabyte of data, generated on the fly: the run succeeds and its peak memory is
// that of a run over ten megabytes. Slow (about a minute, and 4 GB of disk for the data,
// the work file and the listing), so it is disabled, like every slow case here; run them
// by hand with
//   fault_matrix_test --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_*'
TEST(FaultMatrixTest, DISABLED_GigabyteOfDataInFlatMemory) {
  TempDir dir;
  dir.write("h.txt", "T 60 t N\n");
  dir.write("f.txt", "No C 10 1\nText C 52 2\n");
  long long peak_kb[2] = {0, 0};
  const long long sizes[2] = {10LL << 20, 1LL << 30};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(sizes[i]);
    const long long lines = write_numbered_lines(dir.file("d.txt"), sizes[i]);
    RunOptions options;
    options.stdout_path = dir.file("out.txt");
    const RunResult r = kavrile7(dir, "P", options);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_FALSE(dir.exists(kWorkFile));
    // The listing ends with the total of every line and, in mode P, a form feed.
    std::ifstream out(dir.file("out.txt"), std::ios::binary | std::ios::ate);
    const std::string tail = kTotal + std::to_string(lines) + ")\r\n\f";
    out.seekg(-static_cast<std::streamoff>(tail.size()), std::ios::end);
    std::string last(tail.size(), '\0');
    out.read(last.data(), static_cast<std::streamsize>(last.size()));
    EXPECT_EQ(last, tail);
    peak_kb[i] = r.max_rss_kb;
    std::printf("%lld bytes of data: peak memory %lld KiB\n", sizes[i], peak_kb[i]);
    ::unlink(dir.file("out.txt").c_str());
  }
  EXPECT_LE(peak_kb[1], peak_kb[0] + 4096) << "memory grows with the data";
}

// One line of 100 MB, written to a data file.
std::string write_hundred_megabyte_line(const TempDir& dir, const std::string& format) {
  std::string line(100 << 20, 'a');
  for (std::size_t i = 0; i < line.size(); i += 997) line[i] = static_cast<char>('b' + i % 20);
  dir.write("h.txt", "T 30 t N\n");
  dir.write("f.txt", format);
  dir.write("d.txt", line + "\n");
  return line;
}

// One line of 100 MB: nothing is cut; the plain output gives it back byte for byte.
TEST(FaultMatrixTest, HundredMegabyteLineIsKeptWhole) {
  TempDir dir;
  const std::string line = write_hundred_megabyte_line(dir, "A C 500 1\n");
  const RunResult plain = kavrile7(dir, "V");
  EXPECT_EQ(plain.exit_status, 0);
  EXPECT_TRUE(plain.stdout_bytes == line + "\r\n") << "the line differs";
  EXPECT_FALSE(dir.exists(kWorkFile));
}

// The same line in ruled pages: a column of 500 shows all of it, slice after slice.
// Slow under the sanitizers (the record is held and sliced whole), so it runs by hand
// like the gigabyte case.
TEST(FaultMatrixTest, DISABLED_HundredMegabyteLineInRuledPages) {
  TempDir dir;
  const std::string line = write_hundred_megabyte_line(dir, "A C 500 1\n");
  const RunResult ruled = kavrile7(dir, "N");
  EXPECT_EQ(ruled.exit_status, 0);
  std::string shown;
  std::size_t sub_lines = 0;
  const std::string& out = ruled.stdout_bytes;
  for (std::size_t pos = 0; (pos = out.find("\r\n" + kBar, pos)) != std::string::npos;) {
    pos += 2;
    if (out.compare(pos + 2, 1, "A") == 0) continue;  // the header row
    shown.append(out, pos + 2, 500);
    ++sub_lines;
  }
  EXPECT_EQ(sub_lines, (line.size() + 499) / 500);
  shown.resize(shown.find_last_not_of(' ') + 1);
  EXPECT_TRUE(shown == line) << "the ruled cell does not show the line";
  std::printf("100 MB line in ruled pages: peak memory %ld KiB\n", ruled.max_rss_kb);
  EXPECT_FALSE(dir.exists(kWorkFile));
}

// 100 output items of width 2, every field 2000 bytes: every line of the table is 402
// bytes, and each cell shows its whole field, 1000 sub-lines deep.
TEST(FaultMatrixTest, HundredColumnsOfTwoThousandBytes) {
  TempDir dir;
  std::string format;
  for (int k = 0; k < 100; ++k) {
    format += std::to_string(k);
    format += " C 2 " + std::to_string(k + 1) + "\n";
  }
  std::vector<std::vector<std::string>> records(3);
  std::string data;
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (int k = 0; k < 100; ++k) {
      // Record 1 is double-byte text (漢), the others letters that differ by field.
      std::string field;
      for (int i = 0; i < 1000; ++i) {
        field += r == 1 ? std::string("\x8A\xBF")
                        : std::string(2, static_cast<char>('A' + (k + i) % 26));
      }
      data += field + (k < 99 ? "\t" : "\n");
      records[r].push_back(field);
    }
  }
  dir.write("h.txt", "T 10000 t N\n");
  dir.write("f.txt", format);
  dir.write("d.txt", data);

  const RunResult r = kavrile7(dir, "N");
  ASSERT_EQ(r.exit_status, 0);
  const std::string& out = r.stdout_bytes;
  std::vector<std::string> lines;
  for (std::size_t pos = 0, end; (end = out.find("\r\n", pos)) != std::string::npos;
       pos = end + 2) {
    lines.push_back(out.substr(pos, end - pos));
  }
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), kTotal + "3)");
  // title, top rule, header, separator; then per record 1000 sub-lines and a separator
  // (the bottom rule and the page number after the last).
  ASSERT_EQ(lines.size(), 4 + 3 * 1001 + 1 + 1);
  for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
    ASSERT_EQ(lines[i].size(), 402u) << "line " << i;
  }
  for (std::size_t rec = 0; rec < records.size(); ++rec) {
    for (int k = 0; k < 100; ++k) {
      std::string cell;
      for (std::size_t s = 0; s < 1000; ++s) cell += lines[4 + rec * 1001 + s].substr(2 + 4 * k, 2);
      ASSERT_EQ(cell, records[rec][k]) << "record " << rec << ", column " << k;
    }
  }
}

// Ten runs started at once in one directory: each gets exactly the output it gets alone,
// and no work file is left.
TEST(FaultMatrixTest, TenRunsAtOnceInOneDirectory) {
  TempDir dir;
  dir.write("h.txt", "T 30 t N\n");
  dir.write("f.txt", "A C 8 1\nB C 4 2\n");
  const char* const modes[] = {"P", "N", "V"};
  std::vector<std::vector<std::string>> args;
  std::vector<std::string> alone;
  for (int i = 0; i < 10; ++i) {
    std::string data;
    for (int line = 0; line < 3000 + 1000 * i; ++line) {
      data += "run" + std::to_string(i) + "\t" + std::to_string(line) + "\n";
    }
    const std::string name = "d" + std::to_string(i) + ".txt";
    dir.write(name, data);
    args.push_back({"h.txt", "f.txt", name, modes[i % 3]});
    RunOptions options;
    options.working_directory = dir.path();
    alone.push_back(e2e::run_program(KAVRILE7_PATH, args.back(), options).stdout_bytes);
    ASSERT_GT(alone.back().size(), data.size());
  }
  std::vector<RunResult> results(10);
  std::vector<std::thread> threads;
  for (int i = 0; i < 10; ++i) {
    threads.emplace_back([&, i] {
      RunOptions options;
      options.working_directory = dir.path();
      results[i] = e2e::run_program(KAVRILE7_PATH, args[i], options);
    });
  }
  for (auto& t : threads) t.join();
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].exit_status, 0);
    EXPECT_TRUE(results[i].stdout_bytes == alone[i]);
  }
  EXPECT_FALSE(dir.exists(kWorkFile));
}

// Standard output that cannot take the output: both programs end with status 1, and
// the formatter leaves no work file behind.
TEST(FaultMatrixTest, StandardOutputThatCannotBeWritten) {
  TempDir dir;
  write_small_listing(dir, "a\nb\n");
  dir.write("text.txt", "a  b\n");
  const bool has_full = ::access("/dev/full", W_OK) == 0;
  const struct {
    const char* what;
    std::function<void(RunOptions&)> setup;
  } cases[] = {
      {"closed", [](RunOptions& o) { o.close_stdout = true; }},
      // A file opened later must not take descriptor 1 and receive the output.
      {"closed, standard input too", [](RunOptions& o) { o.close_stdout = o.close_stdin = true; }},
      {"on /dev/full", [](RunOptions& o) { o.stdout_path = "/dev/full"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RunOptions options;
    c.setup(options);
    if (options.stdout_path == "/dev/full" && !has_full) continue;
    for (const char* mode : {"P", "V"}) {
      SCOPED_TRACE(mode);
      EXPECT_EQ(kavrile7(dir, mode, options).exit_status, 1);
      EXPECT_FALSE(dir.exists(kWorkFile));
      EXPECT_EQ(dir.read("d.txt"), "a\nb\n");
    }
    EXPECT_EQ(
        e2e::run_program(KAVZUNO7_PATH, {"3", "t", dir.file("text.txt")}, options).exit_status, 1);
    EXPECT_EQ(dir.read("text.txt"), "a  b\n");
  }
}

// Standard output into a pipe that its reader closes after the first line, as with
// "| head -1": the program ends at once with status 1, whether SIGPIPE was ignored when
// it started or not, and leaves no work file. It stops rendering at the failed write: it
// spends a fraction of the time of a complete run.
TEST(FaultMatrixTest, PipeClosedAfterTheFirstLine) {
  TempDir dir;
  // Narrow columns make the output several times the data.
  dir.write("h.txt", "T 60 t N\n");
  dir.write("f.txt", "A C 2 1\nB C 2 2\n");
  write_numbered_lines(dir.file("d.txt"), 16 << 20);
  const std::vector<std::string> formatter = {"h.txt", "f.txt", "d.txt", "P"};
  const std::vector<std::string> converter = {"3", "t", "d.txt"};
  for (const auto* program : {KAVRILE7_PATH, KAVZUNO7_PATH}) {
    const auto& args = program == std::string(KAVRILE7_PATH) ? formatter : converter;
    RunOptions complete;
    complete.working_directory = dir.path();
    complete.stdout_path = "/dev/null";
    const RunResult full = e2e::run_program(program, args, complete);
    ASSERT_EQ(full.exit_status, 0);
    for (const bool ignored : {false, true}) {
      SCOPED_TRACE(testing::Message() << program << (ignored ? ", SIGPIPE ignored" : ""));
      RunOptions options;
      options.working_directory = dir.path();
      options.stop_reading_after_first_line = true;
      options.ignore_sigpipe = ignored;
      const RunResult r = e2e::run_program(program, args, options);
      EXPECT_EQ(r.exit_status, 1);
      EXPECT_LT(r.cpu_seconds, full.cpu_seconds / 2)
          << "complete run: " << full.cpu_seconds << " s";
      EXPECT_FALSE(dir.exists(kWorkFile));
    }
  }
}

// The work file's name is taken by something the run must not touch, or the current
// directory cannot take a new file: status 1, nothing printed, nothing changed.
TEST(FaultMatrixTest, WorkFileCannotBeCreated) {
  const struct {
    const char* what;
    bool needs_permissions;
    std::function<void(const TempDir&)> setup;
    std::function<void(const TempDir&)> check;
  } cases[] = {
      {"symbolic link to a file", false,
       [](const TempDir& d) {
         d.write("target", "precious");
         ASSERT_EQ(::symlink("target", d.file(kWorkFile).c_str()), 0);
       },
       [](const TempDir& d) { EXPECT_EQ(d.read("target"), "precious"); }},
      {"dangling symbolic link", false,
       [](const TempDir& d) { ASSERT_EQ(::symlink("nowhere", d.file(kWorkFile).c_str()), 0); },
       [](const TempDir& d) { EXPECT_FALSE(d.exists("nowhere")); }},
      {"directory", false,
       [](const TempDir& d) {
         ASSERT_EQ(::mkdir(d.file(kWorkFile).c_str(), 0755), 0);
         d.write(kWorkFile + "/inside", "kept");
       },
       [](const TempDir& d) { EXPECT_EQ(d.read(kWorkFile + "/inside"), "kept"); }},
      {"FIFO", false,
       [](const TempDir& d) { ASSERT_EQ(::mkfifo(d.file(kWorkFile).c_str(), 0666), 0); },
       [](const TempDir& d) {
         struct stat st;
         EXPECT_TRUE(::lstat(d.file(kWorkFile).c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
       }},
      {"file without write permission", true,
       [](const TempDir& d) {
         d.write(kWorkFile, "someone else's");
         ::chmod(d.file(kWorkFile).c_str(), 0444);
       },
       [](const TempDir& d) { EXPECT_EQ(d.read(kWorkFile), "someone else's"); }},
      {"current directory not writable", true,
       [](const TempDir& d) { ::chmod(d.path().c_str(), 0555); },
       [](const TempDir& d) { EXPECT_FALSE(d.exists(kWorkFile)); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* mode : {"P", "V"}) {
      SCOPED_TRACE(mode);
      TempDir dir;
      write_small_listing(dir, "a\n");
      RunOptions options;
      if (c.needs_permissions) {
        const std::string why_not = make_unprivileged(dir, options);
        if (!why_not.empty()) {
          std::printf("skipped \"%s\": %s\n", c.what, why_not.c_str());
          continue;
        }
      }
      c.setup(dir);
      const RunResult r = kavrile7(dir, mode, options);
      EXPECT_EQ(r.exit_status, 1);
      EXPECT_EQ(r.stdout_bytes, "");
      c.check(dir);
    }
  }
}

// An input file that is removed or replaced after the formatter checked that it opens,
// while the formatter waits for its heading file (a FIFO, so that the moment is exact).
// The data file was opened by that check and is read through it: the listing is that of
// the data as they were. The format file is opened only when its turn comes.
TEST(FaultMatrixTest, InputFilesThatVanishAfterTheCheck) {
  const struct {
    const char* what;
    std::function<void(const TempDir&)> change;
    int status;
    std::string out;
  } cases[] = {
      {"data file removed", [](const TempDir& d) { ::unlink(d.file("d.txt").c_str()); }, 0,
       "a\r\nb\r\n"},
      {"data file replaced",
       [](const TempDir& d) {
         ::unlink(d.file("d.txt").c_str());
         d.write("d.txt", "other\n");
       },
       0, "a\r\nb\r\n"},
      {"format file removed", [](const TempDir& d) { ::unlink(d.file("f.txt").c_str()); }, 1,
       "f.txt \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\xA1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_small_listing(dir, "a\nb\n");
    ::unlink(dir.file("h.txt").c_str());
    ASSERT_EQ(::mkfifo(dir.file("h.txt").c_str(), 0666), 0);
    RunResult r;
    std::thread run([&] { r = kavrile7(dir, "V"); });
    const int heading = open_fifo_writer(dir.file("h.txt"));
    if (heading >= 0) {
      c.change(dir);
      write_all(heading, "T 30 t N\n");
      ::close(heading);
    }
    run.join();
    ASSERT_GE(heading, 0) << "the formatter never opened its heading file";
    EXPECT_EQ(r.exit_status, c.status);
    EXPECT_EQ(r.stdout_bytes, c.out);
    EXPECT_FALSE(dir.exists(kWorkFile));
  }
}

// A data file that is a FIFO, written in pieces: every byte reaches the output, and the
// run ends when the writer closes. The converter reads its text file the same way.
TEST(FaultMatrixTest, DataFileThatIsAFifo) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {"formatter, plain", {KAVRILE7_PATH, "h.txt", "f.txt", "d.txt", "V"}, "a1\r\nb2\r\nc3\r\n"},
      {"formatter, ruled", {KAVRILE7_PATH, "h.txt", "f.txt", "d.txt", "N"}, ""},
      {"converter", {KAVZUNO7_PATH, "3", "t", "d.txt"}, "a1\r\nb2\r\nc3\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_small_listing(dir, "");
    ::unlink(dir.file("d.txt").c_str());
    ASSERT_EQ(::mkfifo(dir.file("d.txt").c_str(), 0666), 0);
    std::thread writer([&] {
      const int fd = open_fifo_writer(dir.file("d.txt"));
      for (const char* piece : {"a1\nb", "2\n", "c3\n"}) {
        write_all(fd, piece);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (fd >= 0) ::close(fd);
    });
    RunOptions options;
    options.working_directory = dir.path();
    const RunResult r = e2e::run_program(c.args[0], {c.args.begin() + 1, c.args.end()}, options);
    writer.join();
    EXPECT_EQ(r.exit_status, 0);
    if (c.out.empty()) {
      EXPECT_NE(r.stdout_bytes.find(kBar + "c3      " + kBar), std::string::npos);
      EXPECT_NE(r.stdout_bytes.find(kTotal + "3)"), std::string::npos);
    } else {
      EXPECT_EQ(r.stdout_bytes, c.out);
    }
    EXPECT_FALSE(dir.exists(kWorkFile));
  }
}

}  // namespace

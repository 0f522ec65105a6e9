// The fault matrix, part two: the files around a run. The work file's name is taken or
// the directory is closed, inputs change under the run, the data come through a FIFO.
// Each case states what the user gets: the exit status, what is printed, and what is
// left behind.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/fault_matrix.h"
#include "e2e/process.h"

namespace {

using e2e::RunOptions;
using e2e::RunResult;
using e2e::TempDir;
using namespace e2e::fault_matrix;

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

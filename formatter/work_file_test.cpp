#include "formatter/work_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kavrile7 {
namespace {

namespace fs = std::filesystem;

class WorkFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kav-work-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    name_ = (dir_ / kWorkFileName).string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dir_;
  std::string name_;
};

TEST_F(WorkFileTest, CreatesWritesReadsBackAndRemoves) {
  WorkFile work(name_);
  ASSERT_TRUE(work.create());
  ASSERT_EQ(::write(work.fd(), "abc", 3), 3);
  ASSERT_TRUE(work.rewind());
  char buf[8] = {};
  EXPECT_EQ(::read(work.fd(), buf, sizeof buf), 3);
  work.remove();
  EXPECT_FALSE(fs::exists(name_));
}

TEST_F(WorkFileTest, StaleFileIsEmptiedAndReused) {
  std::ofstream(name_) << "left by an earlier run";
  WorkFile work(name_);
  ASSERT_TRUE(work.create());
  EXPECT_EQ(contents(name_), "");
}

TEST_F(WorkFileTest, RefusesWhatIsNotARegularFile) {
  const fs::path target = dir_ / "target";
  std::ofstream(target) << "keep me";
  const struct {
    const char* what;
    void (*make)(const fs::path& name, const fs::path& target);
  } cases[] = {
      {"symbolic link to a file", [](const fs::path& n, const fs::path& t) { fs::create_symlink(t, n); }},
      {"dangling symbolic link",
       [](const fs::path& n, const fs::path& t) { fs::create_symlink(t.string() + ".new", n); }},
      {"directory", [](const fs::path& n, const fs::path&) { fs::create_directory(n); }},
      {"FIFO", [](const fs::path& n, const fs::path&) { ::mkfifo(n.c_str(), 0644); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.make(name_, target);
    WorkFile work(name_);
    EXPECT_FALSE(work.create());
    EXPECT_EQ(contents(target), "keep me");
    EXPECT_FALSE(fs::exists(target.string() + ".new"));
    fs::remove_all(name_);
  }
}

TEST_F(WorkFileTest, SecondRunWaitsForTheFirst) {
  WorkFile first(name_);
  ASSERT_TRUE(first.create());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The second run: it gets the lock only after the first has removed its file, and
    // then works on a new file of its own. The inherited descriptor of the first run
    // would keep its lock alive, so it goes first.
    ::close(first.fd());
    WorkFile second(name_);
    const bool ok = second.create() && ::write(second.fd(), "2", 1) == 1;
    ::_exit(ok ? 0 : 1);
  }
  ::usleep(100 * 1000);
  ASSERT_EQ(::write(first.fd(), "1", 1), 1);
  EXPECT_EQ(contents(name_), "1");  // the second run has not emptied it
  first.remove();
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(contents(name_), "2");
}

}  // namespace
}  // namespace kavrile7

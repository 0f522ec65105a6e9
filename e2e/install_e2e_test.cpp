// The installation and the manual pages: cmake --install into a fresh prefix and a run
// of the installed programs; groff renders both pages without a warning.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/process.h"

namespace {

using e2e::RunResult;
using e2e::TempDir;

const std::string kSourceDir = SOURCE_DIR;
const std::string kPages[] = {"Kavrile7.1", "Kavzuno7.1"};

// The path of an executable found on PATH, or an empty string.
std::string find_tool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

bool is_executable_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

TEST(ManPageTest, RendersWithoutWarnings) {
  const std::string groff = find_tool("groff");
  if (groff.empty()) GTEST_SKIP() << "groff is not installed";
  // utf8 shows the Japanese messages; ascii takes the pages' fallback texts.
  for (const std::string& page : kPages) {
    for (const char* device : {"utf8", "ascii"}) {
      SCOPED_TRACE(page + " on " + device);
      const std::string path = kSourceDir + "/man/" + page;
      const RunResult warnings = e2e::run_program(
          "/bin/sh",
          {"-c", "\"$0\" -ww -man -T\"$1\" \"$2\" 2>&1 >/dev/null", groff, device, path});
      EXPECT_EQ(warnings.exit_status, 0);
      EXPECT_EQ(warnings.stdout_bytes, "");
      // A broken conditional can swallow the rest of a page without any warning.
      const RunResult text =
          e2e::run_program(groff, {"-man", std::string("-T") + device, "-P-cbou", path});
      EXPECT_NE(text.stdout_bytes.find("EXIT STATUS"), std::string::npos);
      EXPECT_NE(text.stdout_bytes.find("SEE ALSO"), std::string::npos);
    }
  }
}

TEST(InstallTest, InstalledProgramsRun) {
  TempDir dir;
  const std::string prefix = dir.file("prefix");
  const RunResult install =
      e2e::run_program(CMAKE_COMMAND_PATH, {"--install", BUILD_DIR, "--prefix", prefix});
  ASSERT_EQ(install.exit_status, 0) << install.stdout_bytes;

  const std::string kavrile7 = prefix + "/bin/Kavrile7";
  const std::string kavzuno7 = prefix + "/bin/Kavzuno7";
  ASSERT_TRUE(is_executable_file(kavrile7));
  ASSERT_TRUE(is_executable_file(kavzuno7));
  for (const std::string& page : kPages) {
    SCOPED_TRACE(page);
    const std::string installed = e2e::read_file(prefix + "/share/man/man1/" + page);
    EXPECT_FALSE(installed.empty());
    EXPECT_EQ(installed, e2e::read_file(kSourceDir + "/man/" + page));
  }

  // The installed programs need nothing from the build tree: the usage text, and one
  // small pipeline (tab-separated fields to full width, then plain output).
  const RunResult usage = e2e::run_program(kavrile7, {});
  EXPECT_EQ(usage.exit_status, 255);
  const std::string usage_head = "\r\n \x81\x9F\x8E\x67\x82\xA2\x95\xFB  Kavrile7 ";  // ◆使い方
  EXPECT_EQ(usage.stdout_bytes.substr(0, usage_head.size()), usage_head);

  dir.write("h.txt", "T 30 t\n");
  dir.write("f.txt", "A C 4 2\nB C 2 1\n");
  dir.write("d.txt", "ab\tc\n");
  e2e::RunOptions to_file;
  to_file.working_directory = dir.path();
  to_file.stdout_path = dir.file("d2.txt");
  EXPECT_EQ(e2e::run_program(kavzuno7, {"2", "t", "d.txt"}, to_file).exit_status, 0);
  e2e::RunOptions in_dir;
  in_dir.working_directory = dir.path();
  const RunResult plain = e2e::run_program(kavrile7, {"h.txt", "f.txt", "d2.txt", "V"}, in_dir);
  EXPECT_EQ(plain.exit_status, 0);
  EXPECT_EQ(plain.stdout_bytes, "\x82\x83\t\x82\x81\x82\x82\r\n");  // ｃ TAB ａｂ
}

}  // namespace

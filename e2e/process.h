#ifndef KAV_E2E_PROCESS_H_
#define KAV_E2E_PROCESS_H_

#include <map>
#include <string>
#include <vector>

namespace e2e {

// What a finished child process left behind.
struct RunResult {
  int exit_status = -1;  // 0-255 when the process exited, -1 when a signal ended it
  int signal = 0;        // the signal that ended it, or 0
  std::string stdout_bytes;
  long max_rss_kb = 0;     // peak resident memory of the child, in KiB
  double cpu_seconds = 0;  // user and system time of the child
};

struct RunOptions {
  std::string working_directory;               // empty: the test's own
  std::map<std::string, std::string> env;      // added to (or replacing in) the environment
  std::string stdout_path;                     // empty: capture; otherwise open this for writing
  bool close_stdout = false;                   // start the child with standard output closed
  long long file_size_limit = -1;              // >= 0: RLIMIT_FSIZE of the child, SIGXFSZ ignored
  bool close_stdin = false;                    // start the child with standard input closed
  bool ignore_sigpipe = false;                 // start the child with SIGPIPE ignored
  bool stop_reading_after_first_line = false;  // capture: close the pipe once a line is read
  bool drop_privileges = false;                // run the child as the user nobody (needs root)
};

// The user and group that drop_privileges switches to.
inline constexpr unsigned kNobodyId = 65534;

// Runs program with args (not counting argv[0]) and waits for it. Standard input is
// /dev/null; standard error is inherited.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const RunOptions& options = {});

// A fresh directory under TMPDIR, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path()/name
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Writes bytes to path()/name, exactly as given.
  void write(const std::string& name, const std::string& bytes) const;
  // The bytes of path()/name; empty when it does not exist.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// The bytes of a file, or an empty string when it cannot be read.
std::string read_file(const std::string& path);

}  // namespace e2e

#endif  // KAV_E2E_PROCESS_H_

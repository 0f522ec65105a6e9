#include "e2e/process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace e2e {

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const RunOptions& options) {
  int pipe_fds[2] = {-1, -1};
  const bool capture = options.stdout_path.empty() && !options.close_stdout;
  if (capture && ::pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");

  // Everything the child needs is prepared before fork.
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry(*e);
    const std::string key = entry.substr(0, entry.find('='));
    if (options.env.count(key) == 0) env_strings.push_back(entry);
  }
  for (const auto& [key, value] : options.env) env_strings.push_back(key + "=" + value);
  std::vector<char*> envp;
  for (auto& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> arg_strings{program};
  arg_strings.insert(arg_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : arg_strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (options.close_stdin) {
      ::close(0);
    } else {
      const int null_in = ::open("/dev/null", O_RDONLY);
      ::dup2(null_in, 0);
    }
    if (options.ignore_sigpipe) ::signal(SIGPIPE, SIG_IGN);
    if (options.close_stdout) {
      ::close(1);
    } else if (capture) {
      ::dup2(pipe_fds[1], 1);
      ::close(pipe_fds[0]);
      ::close(pipe_fds[1]);
    } else {
      const int out = ::open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0) ::_exit(127);
      ::dup2(out, 1);
    }
    if (options.file_size_limit >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlim_t limit = static_cast<rlim_t>(options.file_size_limit);
      const struct rlimit rl = {limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &rl);
    }
    if (options.drop_privileges &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyId) != 0 || ::setuid(kNobodyId) != 0)) {
      ::_exit(127);
    }
    if (!options.working_directory.empty() && ::chdir(options.working_directory.c_str()) != 0) {
      ::_exit(127);
    }
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }

  RunResult result;
  if (capture) {
    ::close(pipe_fds[1]);
    char buf[65536];
    for (;;) {
      const ssize_t got = ::read(pipe_fds[0], buf, sizeof buf);
      if (got > 0) {
        result.stdout_bytes.append(buf, static_cast<std::size_t>(got));
        if (options.stop_reading_after_first_line &&
            result.stdout_bytes.find('\n') != std::string::npos) {
          break;
        }
      } else if (got == 0 || errno != EINTR) {
        break;
      }
    }
    ::close(pipe_fds[0]);
  }
  int status = 0;
  struct rusage usage {};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.max_rss_kb = usage.ru_maxrss;
  result.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (WIFEXITED(status)) {
    result.exit_status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  return result;
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/kav-e2e-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore permissions that a test may have taken away, so that removal succeeds.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
    if (entry.is_directory(ec) && !entry.is_symlink(ec)) ::chmod(entry.path().c_str(), 0755);
  }
  ::chmod(path_.c_str(), 0755);
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::read(const std::string& name) const { return read_file(file(name)); }

bool TempDir::exists(const std::string& name) const {
  struct stat st;
  return ::lstat(file(name).c_str(), &st) == 0;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace e2e

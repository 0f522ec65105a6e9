#include "sjis/byte_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace sjis {

std::ptrdiff_t FdSource::read(char* buf, std::size_t n) {
  for (;;) {
    const ssize_t got = ::read(fd_, buf, n);
    if (got >= 0) return got;
    if (errno != EINTR) return -1;
  }
}

bool FdSink::write(const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd_, data, n);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += put;
    n -= static_cast<std::size_t>(put);
  }
  return true;
}

std::ptrdiff_t StringSource::read(char* buf, std::size_t n) {
  if (pos_ >= fail_after_) return -1;
  std::size_t take = std::min({n, max_chunk_, data_.size() - pos_, fail_after_ - pos_});
  std::memcpy(buf, data_.data() + pos_, take);
  pos_ += take;
  return static_cast<std::ptrdiff_t>(take);
}

bool StringSink::write(const char* data, std::size_t n) {
  if (fail_) return false;
  bytes_.append(data, n);
  return true;
}

void prepare_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lower descriptors are open, so the lowest free one is fd itself.
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
  ::signal(SIGPIPE, SIG_IGN);
}

bool InputFile::open(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace sjis

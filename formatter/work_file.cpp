#include "formatter/work_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kavrile7 {
namespace {

// Opens name for reading and writing, creating it when absent, without following a
// symbolic link and without blocking on a FIFO. Returns -1 when the result is not a
// regular file.
int open_regular(const std::string& name) {
  const int fd =
      ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int lock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX) == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

// True when name still refers to the file open at fd: another run may have removed it,
// and a new one may stand there, while this run waited for the lock.
bool still_named(int fd, const std::string& name) {
  struct stat by_fd;
  struct stat by_name;
  return ::fstat(fd, &by_fd) == 0 && ::lstat(name.c_str(), &by_name) == 0 &&
         by_fd.st_dev == by_name.st_dev && by_fd.st_ino == by_name.st_ino;
}

}  // namespace

WorkFile::~WorkFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool WorkFile::create() {
  for (;;) {
    const int fd = open_regular(name_);
    if (fd < 0) return false;
    if (lock(fd) != 0) {
      ::close(fd);
      return false;
    }
    if (!still_named(fd, name_)) {
      ::close(fd);
      continue;
    }
    if (::ftruncate(fd, 0) != 0) {
      ::close(fd);
      return false;
    }
    fd_ = fd;
    return true;
  }
}

bool WorkFile::rewind() { return fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0; }

void WorkFile::remove() {
  if (fd_ < 0) return;
  if (still_named(fd_, name_)) ::unlink(name_.c_str());
  ::close(fd_);
  fd_ = -1;
}

}  // namespace kavrile7

#ifndef KAV_FORMATTER_WORK_FILE_H_
#define KAV_FORMATTER_WORK_FILE_H_

#include <string>

namespace kavrile7 {

// Name of the work file, in the current directory.
inline constexpr const char kWorkFileName[] = "$$$kv7.$$$";

// The work file of one run: created (or a stale one emptied) and locked by create(), read
// back through the same descriptor, removed by remove().
//
// Two runs in one directory take turns: create() waits for an exclusive lock, which the
// operating system drops when the holder ends, however it ends. The file is never opened
// through a symbolic link, and anything at that name that is not a regular file makes
// create() fail, leaving it untouched.
class WorkFile {
 public:
  explicit WorkFile(std::string name = kWorkFileName) : name_(std::move(name)) {}
  ~WorkFile();
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  // Opens the work file for writing, empty and locked. Returns false when it cannot be
  // created (or emptied) safely.
  bool create();

  // Positions the file at its start for reading it back. Returns false on failure.
  bool rewind();

  // Removes the name while the lock is still held, then closes. A failed removal is not
  // looked at.
  void remove();

  int fd() const { return fd_; }

 private:
  std::string name_;
  int fd_ = -1;
};

}  // namespace kavrile7

#endif  // KAV_FORMATTER_WORK_FILE_H_

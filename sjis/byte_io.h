#ifndef KAV_SJIS_BYTE_IO_H_
#define KAV_SJIS_BYTE_IO_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace sjis {

// Where bytes come from: a file descriptor, or a string in tests. Called once per buffer,
// never per byte.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes into buf. Returns the number read, 0 at the end of the input,
  // or -1 on a read error.
  virtual std::ptrdiff_t read(char* buf, std::size_t n) = 0;
};

// Where bytes go. Called once per full buffer and at a flush.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all n bytes; returns false when any of them could not be written.
  virtual bool write(const char* data, std::size_t n) = 0;
};

// Reads an open file descriptor; does not own it.
class FdSource : public ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  std::ptrdiff_t read(char* buf, std::size_t n) override;

 private:
  int fd_;
};

// Writes to an open file descriptor; does not own it.
class FdSink : public ByteSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  bool write(const char* data, std::size_t n) override;

 private:
  int fd_;
};

// Serves the bytes of a string, at most max_chunk bytes per read (to test buffer
// boundaries); fails with a read error after fail_after bytes when that is set.
class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string data, std::size_t max_chunk = static_cast<std::size_t>(-1),
                        std::size_t fail_after = static_cast<std::size_t>(-1))
      : data_(std::move(data)), max_chunk_(max_chunk), fail_after_(fail_after) {}
  std::ptrdiff_t read(char* buf, std::size_t n) override;

 private:
  std::string data_;
  std::size_t pos_ = 0;
  std::size_t max_chunk_;
  std::size_t fail_after_;
};

// Collects written bytes in a string; fails every write once fail is set.
class StringSink : public ByteSink {
 public:
  bool write(const char* data, std::size_t n) override;
  const std::string& bytes() const { return bytes_; }
  void set_fail(bool fail) { fail_ = fail; }

 private:
  std::string bytes_;
  bool fail_ = false;
};

// Prepares the standard streams of a program run, once at start-up:
// - the descriptors 0, 1 and 2 are made sure to be open, /dev/null read-only taking the
//   place of a closed one. Otherwise the first file the program opens takes the number of
//   a closed standard stream: with standard output closed, the listing would be written
//   into that file instead of failing. A standard output opened read-only still fails
//   every write, so a closed one is reported as before.
// - SIGPIPE is ignored: when the reader of standard output goes away (as with "| head
//   -1"), the next write fails like any other, and the program ends at once with its
//   exit status for an output that cannot be written, cleaning up as it does then,
//   instead of being killed halfway.
void prepare_standard_streams();

// An input file opened by path, closed when the object goes. A directory or anything
// else that cannot be read as a stream of bytes counts as a file that cannot be opened.
class InputFile {
 public:
  // Opens path for reading. Returns false when it cannot be opened or is a directory;
  // nothing is read from it either way.
  bool open(const std::string& path);
  ~InputFile();
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace sjis

#endif  // KAV_SJIS_BYTE_IO_H_

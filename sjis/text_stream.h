#ifndef KAV_SJIS_TEXT_STREAM_H_
#define KAV_SJIS_TEXT_STREAM_H_

#include <cstddef>
#include <memory>
#include <string_view>

#include "sjis/byte_io.h"

namespace sjis {

// How a stream treats line ends. Text: CR LF reads as LF, a byte 1A ends the input, and
// LF is written as CR LF. Binary: every byte as it stands.
enum class FileMode { Text, Binary };

inline constexpr std::size_t kStreamBufferSize = 64 * 1024;

// Buffered reader over a ByteSource. In text mode CR LF arrives as one LF (also when a
// buffer boundary falls between them), a CR not followed by LF arrives unchanged, and a
// byte 1A ends the input: nothing after it is read from the source.
class ByteReader {
 public:
  explicit ByteReader(ByteSource& source, FileMode mode = FileMode::Text,
                      std::size_t buffer_size = kStreamBufferSize);

  // The next byte (0-255), or -1 at the end of the input or after a read error.
  int get() {
    if (pos_ == end_ && !fill()) return -1;
    return static_cast<unsigned char>(*pos_++);
  }

  // The bytes buffered and not yet taken, refilling first when there are none. Empty only
  // at the end of the input. Taking them is up to the caller, through skip().
  std::string_view peek_chunk() {
    if (pos_ == end_) fill();
    return {pos_, static_cast<std::size_t>(end_ - pos_)};
  }

  // Takes n bytes of the chunk that peek_chunk() returned.
  void skip(std::size_t n) { pos_ += n; }

  // True when the input ended by a read error rather than by its end or a byte 1A.
  bool error() const { return error_; }

 private:
  bool fill();
  std::size_t translate(std::size_t raw_length);

  ByteSource& source_;
  const bool text_;
  const std::size_t capacity_;
  std::unique_ptr<char[]> buf_;
  char* pos_;
  char* end_;
  bool held_cr_ = false;  // a CR ended the last raw read; its partner is not known yet
  bool ended_ = false;
  bool error_ = false;
};

// Buffered writer over a ByteSink. In text mode every LF is written as CR LF; every other
// byte, in both modes, unchanged. After the first failed write nothing more is written and
// failed() stays true.
class ByteWriter {
 public:
  explicit ByteWriter(ByteSink& sink, FileMode mode = FileMode::Text,
                      std::size_t buffer_size = kStreamBufferSize);
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  void put(char c) {
    if (text_ && c == '\n') put_raw('\r');
    put_raw(c);
  }
  void put(unsigned char c) { put(static_cast<char>(c)); }
  void write(std::string_view bytes);
  // Writes c n times.
  void fill(char c, std::size_t n);

  // Hands everything buffered to the sink. Returns false when any write of this writer
  // has failed. The destructor does not flush: the caller decides and sees the result.
  bool flush();
  bool failed() const { return failed_; }

 private:
  void put_raw(char c) {
    if (len_ == capacity_) drain();
    buf_[len_++] = c;
  }
  void write_raw(const char* data, std::size_t n);
  void drain();

  ByteSink& sink_;
  const bool text_;
  const std::size_t capacity_;
  std::unique_ptr<char[]> buf_;
  std::size_t len_ = 0;
  bool failed_ = false;
};

}  // namespace sjis

#endif  // KAV_SJIS_TEXT_STREAM_H_

#include "sjis/text_stream.h"

#include <algorithm>
#include <cstring>

namespace sjis {

ByteReader::ByteReader(ByteSource& source, FileMode mode, std::size_t buffer_size)
    : source_(source),
      text_(mode == FileMode::Text),
      capacity_(std::max<std::size_t>(buffer_size, 2)),
      buf_(new char[capacity_]),
      pos_(buf_.get()),
      end_(buf_.get()) {}

bool ByteReader::fill() {
  while (!ended_) {
    std::size_t start = 0;
    if (held_cr_) {
      buf_[0] = '\r';
      start = 1;
      held_cr_ = false;
    }
    const std::ptrdiff_t got = source_.read(buf_.get() + start, capacity_ - start);
    if (got <= 0) {
      ended_ = true;
      error_ = got < 0;
      // A CR held back at the very end is a lone CR.
      pos_ = buf_.get();
      end_ = pos_ + start;
      return start > 0;
    }
    const std::size_t raw = start + static_cast<std::size_t>(got);
    const std::size_t length = text_ ? translate(raw) : raw;
    pos_ = buf_.get();
    end_ = pos_ + length;
    if (length > 0) return true;
  }
  pos_ = end_ = buf_.get();
  return false;
}

// Translates buf_[0, raw_length) in place and returns the translated length. A CR as the
// last raw byte is held back for the next read, which decides whether it pairs with LF.
std::size_t ByteReader::translate(std::size_t raw_length) {
  char* const base = buf_.get();
  const char* in = base;
  const char* end = base + raw_length;
  if (const void* sub = std::memchr(base, 0x1A, raw_length)) {
    end = static_cast<const char*>(sub);
    ended_ = true;
  }
  char* out = base;
  while (in < end) {
    const char* cr = static_cast<const char*>(std::memchr(in, '\r', static_cast<std::size_t>(end - in)));
    const char* stop = cr ? cr : end;
    if (out != in) std::memmove(out, in, static_cast<std::size_t>(stop - in));
    out += stop - in;
    in = stop;
    if (cr == nullptr) break;
    if (cr + 1 == end) {
      if (ended_) {
        *out++ = '\r';  // the input ends at a 1A right after it
      } else {
        held_cr_ = true;
      }
      break;
    }
    if (cr[1] == '\n') {
      *out++ = '\n';
      in = cr + 2;
    } else {
      *out++ = '\r';
      in = cr + 1;
    }
  }
  return static_cast<std::size_t>(out - base);
}

ByteWriter::ByteWriter(ByteSink& sink, FileMode mode, std::size_t buffer_size)
    : sink_(sink),
      text_(mode == FileMode::Text),
      capacity_(std::max<std::size_t>(buffer_size, 2)),
      buf_(new char[capacity_]) {}

void ByteWriter::write(std::string_view bytes) {
  if (!text_) {
    write_raw(bytes.data(), bytes.size());
    return;
  }
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (lf == nullptr) {
      write_raw(p, static_cast<std::size_t>(end - p));
      return;
    }
    write_raw(p, static_cast<std::size_t>(lf - p));
    put_raw('\r');
    put_raw('\n');
    p = lf + 1;
  }
}

void ByteWriter::fill(char c, std::size_t n) {
  if (text_ && c == '\n') {
    for (; n > 0; --n) put(c);
    return;
  }
  while (n > 0) {
    if (len_ == capacity_) drain();
    const std::size_t take = std::min(n, capacity_ - len_);
    std::memset(buf_.get() + len_, c, take);
    len_ += take;
    n -= take;
  }
}

void ByteWriter::write_raw(const char* data, std::size_t n) {
  while (n > 0) {
    if (len_ == capacity_) drain();
    const std::size_t take = std::min(n, capacity_ - len_);
    std::memcpy(buf_.get() + len_, data, take);
    len_ += take;
    data += take;
    n -= take;
  }
}

void ByteWriter::drain() {
  if (len_ > 0 && !failed_ && !sink_.write(buf_.get(), len_)) failed_ = true;
  len_ = 0;
}

bool ByteWriter::flush() {
  drain();
  return !failed_;
}

}  // namespace sjis

#include "formatter/plain_records.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "formatter/data_pass.h"

namespace kavrile7 {
namespace {

bool is_special(char c) { return c == '\n' || c == kFieldTerminator || c == kEscapedVerticalTab; }

// The first byte from p on that ends a run of ordinary bytes, or end. The three special
// bytes are all below 20, so eight bytes at a time are passed over while none of them is.
const char* find_special(const char* p, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  for (;;) {
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      if (((word - kOnes * 0x20) & ~word & kHighBits) != 0) break;  // some byte below 20
      p += 8;
    }
    if (p == end || is_special(*p)) return p;
    ++p;
  }
}

}  // namespace

bool write_plain_records(unsigned char delimiter, int column_count, sjis::ByteReader& work,
                         sjis::ByteWriter& out) {
  int column = 1;  // number of the column being copied, from 1
  // A copy that cannot be written stops at once.
  for (std::string_view chunk; !out.failed() && !(chunk = work.peek_chunk()).empty();) {
    work.skip(chunk.size());
    const char* p = chunk.data();
    const char* const end = p + chunk.size();
    while (p < end) {
      // Copy the run of ordinary bytes in one go.
      const char* run = p;
      p = find_special(p, end);
      out.write(std::string_view(run, static_cast<std::size_t>(p - run)));
      if (p == end) break;
      switch (*p++) {
        case '\n':
          out.put('\n');
          column = 1;
          break;
        case kFieldTerminator:
          if (column < column_count) out.put(delimiter);
          ++column;
          break;
        default:  // kEscapedVerticalTab
          out.put(kFieldTerminator);
          break;
      }
    }
  }
  return !work.error();
}

}  // namespace kavrile7

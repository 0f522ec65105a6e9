#include "formatter/plain_records.h"

#include <string_view>

#include "formatter/data_pass.h"

namespace kavrile7 {

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
      while (p < end && *p != '\n' && *p != kFieldTerminator && *p != kEscapedVerticalTab) ++p;
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

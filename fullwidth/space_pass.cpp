#include "fullwidth/space_pass.h"

#include <string>
#include <string_view>

#include "sjis/sjis_scanner.h"

namespace fullwidth {

void correct_spaces(const sjis::CodePage& code_page, sjis::ByteReader& in, sjis::ByteWriter& out) {
  if (!code_page.has_full_width) {
    // 81 40 is the full-width space of code page 932 only; elsewhere it is another
    // character or none at all, so the text is copied unchanged.
    for (std::string_view chunk; !out.failed() && !(chunk = in.peek_chunk()).empty();
         in.skip(chunk.size())) {
      out.write(chunk);
    }
    return;
  }
  // A space is classed Single exactly when no double-byte character is open before it
  // (a space after a lone lead byte is not a half-width space), so the pass needs only
  // whether a character is open.
  bool inside = false;
  // One half-width space read and not yet written: the first of a possible pair.
  bool pending = false;
  std::string corrected;
  for (std::string_view chunk; !out.failed() && !(chunk = in.peek_chunk()).empty();
       in.skip(chunk.size())) {
    corrected.resize(chunk.size() + 1);  // a pending space from the chunk before, at most
    char* o = corrected.data();
    const auto* p = reinterpret_cast<const unsigned char*>(chunk.data());
    const auto* const end = p + chunk.size();
    while (p < end) {
      const unsigned char b = *p;
      if (b == ' ' && !inside) {
        if (pending) {
          *o++ = '\x81';  // 　 (full-width space)
          *o++ = '\x40';
        }
        pending = !pending;
        ++p;
        continue;
      }
      // The run ends here: its odd space is written before the byte that ends it.
      if (pending) {
        *o++ = ' ';
        pending = false;
      }
      // A whole double-byte character is copied as it stands.
      if (!inside && end - p >= 2 && sjis::is_whole_character(code_page, p[0], p[1])) {
        o[0] = static_cast<char>(b);
        o[1] = static_cast<char>(p[1]);
        o += 2;
        p += 2;
        continue;
      }
      *o++ = static_cast<char>(b);
      inside = sjis::inside_after(code_page, inside, b);
      ++p;
    }
    out.write(std::string_view(corrected.data(), static_cast<std::size_t>(o - corrected.data())));
  }
  if (pending) out.put(' ');
}

}  // namespace fullwidth

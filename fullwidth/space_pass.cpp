#include "fullwidth/space_pass.h"

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
  sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
  // One half-width space read and not yet written: the first of a possible pair.
  bool pending = false;
  for (std::string_view chunk; !out.failed() && !(chunk = in.peek_chunk()).empty();
       in.skip(chunk.size())) {
    for (const char c : chunk) {
      const auto b = static_cast<unsigned char>(c);
      // Every byte goes through the scanner, so that a space after a lone lead byte is
      // told from a half-width one.
      const sjis::ByteClass cls = scanner.classify(b);
      if (b == ' ' && cls == sjis::ByteClass::Single) {
        if (pending) {
          out.put(static_cast<unsigned char>(0x81));  // 　 (full-width space)
          out.put(static_cast<unsigned char>(0x40));
        }
        pending = !pending;
        continue;
      }
      // The run ends here: its odd space is written before the byte that ends it.
      if (pending) {
        out.put(' ');
        pending = false;
      }
      out.put(b);
    }
  }
  if (pending) out.put(' ');
}

}  // namespace fullwidth

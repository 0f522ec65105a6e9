#include "fullwidth/full_width_pass.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sjis/full_width.h"
#include "sjis/sjis_scanner.h"

namespace fullwidth {
namespace {

// For each byte, what a half-width character of it becomes: a full-width character
// (0x100 or more) or the byte itself. Built once per pass, so that the loop does one
// lookup per byte.
using ConversionTable = std::array<std::uint16_t, 256>;

ConversionTable full_width_table(const sjis::CodePage& code_page) {
  ConversionTable table{};
  for (int b = 0; b < 256; ++b)
    table[b] = sjis::to_full_width(code_page, static_cast<unsigned char>(b));
  return table;
}

// Writes the conversion of a byte: both bytes of a full-width character, first byte first,
// or the byte itself.
inline void put_converted(std::uint16_t converted, sjis::ByteWriter& out) {
  if (converted >= 0x100) {
    out.put(static_cast<unsigned char>(converted >> 8));
    out.put(static_cast<unsigned char>(converted & 0xFF));
  } else {
    out.put(static_cast<unsigned char>(converted));
  }
}

}  // namespace

void convert_item_names(const sjis::CodePage& code_page, sjis::ByteReader& in,
                        sjis::ByteWriter& out) {
  const ConversionTable table = full_width_table(code_page);
  sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
  bool first_field = true;
  for (std::string_view chunk; !out.failed() && !(chunk = in.peek_chunk()).empty();
       in.skip(chunk.size())) {
    for (const char c : chunk) {
      const auto b = static_cast<unsigned char>(c);
      // Every byte goes through the scanner, TAB and LF included.
      const sjis::ByteClass cls = scanner.classify(b);
      // TAB and LF count by value, even right after a lone lead byte.
      if (b == '\t') {
        first_field = false;
      } else if (b == '\n') {
        first_field = true;
      } else if (first_field && cls == sjis::ByteClass::Single) {
        put_converted(table[b], out);
        continue;
      }
      out.put(b);
    }
  }
}

void convert_fields(const sjis::CodePage& code_page, std::optional<unsigned char> delimiter,
                    bool quote_mode, sjis::ByteReader& in, sjis::ByteWriter& out) {
  // The bytes that stay half-width are taken out of the table; LF has no full-width form.
  ConversionTable table = full_width_table(code_page);
  if (delimiter) table[*delimiter] = *delimiter;
  if (quote_mode) table['"'] = '"';
  // A byte with a full-width form is printable or kana, so the classifier calls it Single
  // exactly when no double-byte character is open before it; bytes without one are
  // copied whatever their class. So the pass needs only whether a character is open.
  bool inside = false;
  std::string converted;
  for (std::string_view chunk; !out.failed() && !(chunk = in.peek_chunk()).empty();
       in.skip(chunk.size())) {
    converted.resize(2 * chunk.size());
    char* o = converted.data();
    const auto* p = reinterpret_cast<const unsigned char*>(chunk.data());
    const auto* const end = p + chunk.size();
    while (p < end) {
      // A whole double-byte character is copied as it stands.
      if (!inside && end - p >= 2 && sjis::is_whole_character(code_page, p[0], p[1])) {
        o[0] = static_cast<char>(p[0]);
        o[1] = static_cast<char>(p[1]);
        o += 2;
        p += 2;
        continue;
      }
      const unsigned char b = *p++;
      const std::uint16_t full = table[b];
      if (!inside && full >= 0x100) {
        o[0] = static_cast<char>(full >> 8);
        o[1] = static_cast<char>(full & 0xFF);
        o += 2;
      } else {
        *o++ = static_cast<char>(b);
      }
      inside = sjis::inside_after(code_page, inside, b);
    }
    out.write(std::string_view(converted.data(), static_cast<std::size_t>(o - converted.data())));
  }
}

}  // namespace fullwidth

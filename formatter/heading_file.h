#ifndef KAV_FORMATTER_HEADING_FILE_H_
#define KAV_FORMATTER_HEADING_FILE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace kavrile7 {

// The parsed heading line: the title and the settings of the run. Built once, then only
// read.
struct HeadingSpec {
  std::string title;                         // leading half-width spaces kept; never empty
  std::int32_t lines_per_page = 1;           // at least 1
  unsigned char delimiter = '\t';            // the field delimiter byte
  bool quote_mode = false;                   // delimiter code q: double quotes are dropped
  std::optional<unsigned char> date_kind;    // first byte of token 4
  std::optional<unsigned char> border_kind;  // first byte of token 5
  std::optional<std::int32_t> record_limit;  // value of token 6
};

// The most bytes of the heading line that are read, its LF included.
inline constexpr std::size_t kHeadingLineCapacity = 513;

// Reads the heading line from in: its bytes up to and including the first LF, but no
// more than kHeadingLineCapacity. Empty when in holds no byte. Nothing after the heading
// line is read.
std::string read_heading_line(sjis::ByteReader& in);

// Parses a heading line: title (with the line's leading half-width spaces put back in
// front), lines per page, delimiter code, then the optional date kind, border kind and
// record limit, separated by any runs of tabs and spaces. The delimiter codes t, s, c
// and q give TAB, space, comma and comma with quote mode; any other first byte is the
// delimiter itself. Fails with the heading content message, exit status 1, when the line
// has fewer than three tokens or the lines per page are below 1.
sjis::Outcome<HeadingSpec> parse_heading_line(std::string_view line);

// Opens the heading file at path, reads its first line and parses it. Fails with the
// not-found message naming path when the file cannot be opened or read (a directory
// included), otherwise as parse_heading_line.
sjis::Outcome<HeadingSpec> load_heading_file(const std::string& path);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_HEADING_FILE_H_

#ifndef KAV_FORMATTER_HEADING_FILE_H_
#define KAV_FORMATTER_HEADING_FILE_H_

#include <cstdint>
#include <optional>
#include <string>

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

}  // namespace kavrile7

#endif  // KAV_FORMATTER_HEADING_FILE_H_

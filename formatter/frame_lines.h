#ifndef KAV_FORMATTER_FRAME_LINES_H_
#define KAV_FORMATTER_FRAME_LINES_H_

#include <optional>
#include <string>

#include "formatter/format_file.h"

namespace kavrile7 {

// The parts of the ruled table that do not depend on the records. Every built line has
// the same length in bytes, which is also its width in half-width cells. No line ends in
// LF; the page output adds it.
struct FrameLines {
  std::string top_rule;
  std::string header_row;
  std::string separator;
  std::string bold_separator;  // empty unless the border kind is B
  std::string bottom_rule;
};

// Builds the frame lines of layout's columns 0 to column_count - 1: each rule is its left
// end, then per column the joint (the left end for the first) and width / 2 horizontal
// bars, then its right end; the header row puts a vertical bar before every column name
// and after the last. The bold separator is built only for the border kind 'B'. The lines
// are 2 * column_count + the sum of the widths + 2 bytes long, whatever that comes to.
FrameLines build_frame_lines(const ColumnLayout& layout, std::optional<unsigned char> border_kind);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_FRAME_LINES_H_

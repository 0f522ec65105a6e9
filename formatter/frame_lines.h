#ifndef KAV_FORMATTER_FRAME_LINES_H_
#define KAV_FORMATTER_FRAME_LINES_H_

#include <string>

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

}  // namespace kavrile7

#endif  // KAV_FORMATTER_FRAME_LINES_H_

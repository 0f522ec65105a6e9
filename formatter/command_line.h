#ifndef KAV_FORMATTER_COMMAND_LINE_H_
#define KAV_FORMATTER_COMMAND_LINE_H_

#include <string_view>

#include "sjis/byte_io.h"

namespace kavrile7 {

// The usage text: 22 lines of code page 932 bytes with LF line ends, the first empty.
std::string_view usage_text();

// One run of the formatter: Kavrile7 heading-file format-file data-file output-mode.
// argv holds argc arguments, the program name first; arguments after the fourth are
// ignored. Prints the usage text (exit status 255) when fewer than four are given.
// Otherwise opens the data file (once: the data pass reads the same descriptor), loads
// the heading file, builds the date text from the clock, loads the format file and builds
// the frame lines, stopping at the first problem with its message and exit status 1; then
// produces the listing. Everything, messages included, goes to standard_output as text
// (every LF as CR LF). Returns the exit status: 0 after a complete listing, 1 when a run failed or
// standard_output could not take all the bytes, 255 for the usage text.
int run(int argc, const char* const* argv, sjis::ByteSink& standard_output);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_COMMAND_LINE_H_

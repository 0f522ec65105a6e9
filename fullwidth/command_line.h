#ifndef KAV_FULLWIDTH_COMMAND_LINE_H_
#define KAV_FULLWIDTH_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <string_view>

#include "sjis/outcome.h"

namespace fullwidth {

// What one run does to its text file.
enum class ConverterMode {
  ItemNames = 1,        // 1: the first field of every format-file line to full width
  Fields = 2,           // 2: every data-file field to full width, delimiter kept
  SpaceCorrection = 3,  // 3: pairs of half-width spaces of a ruled listing to full width
};

// The command line of one run, made before any input is read and never changed.
struct ConverterSettings {
  ConverterMode mode = ConverterMode::SpaceCorrection;
  // The field delimiter of mode 2; unset when the delimiter code is none of t, s, c, q, p,
  // l and r, and then no byte is a delimiter.
  std::optional<unsigned char> delimiter;
  // True for code q only: mode 2 leaves the double quotation mark half-width.
  bool quote_mode = false;
  // The text file, exactly as typed.
  std::string text_file;
};

// Makes the settings from argv[1] (mode), argv[2] (delimiter code) and argv[3] (text
// file); only the first byte of the first two is looked at and arguments after the third
// are ignored. A mode byte other than 1 and 2, an empty argument included, is mode 3; a
// delimiter code other than the seven leaves the delimiter unset without a message.
// Fails with the usage text and ExitStatus::Usage when fewer than three arguments follow
// the program name.
sjis::Outcome<ConverterSettings> parse_command_line(int argc, const char* const* argv);

// The twenty lines that explain the command line, as code page 932 bytes with LF line
// ends.
std::string_view usage_text();

}  // namespace fullwidth

#endif  // KAV_FULLWIDTH_COMMAND_LINE_H_

// Fuzzes the converter's three modes over any text, read in pieces of any size and
// written in text mode, as the program does.
//
// Input: mode, delimiter code, read size, code page; then the text file.

#include <cstdint>
#include <string>

#include "fullwidth/command_line.h"
#include "fullwidth/converter.h"
#include "fuzz/fuzz_support.h"
#include "sjis/full_width.h"
#include "sjis/sjis_scanner.h"
#include "sjis/text_stream.h"

namespace {

using fullwidth::ConverterMode;
using fuzz::check;

constexpr char kFullWidthSpace[] = "\x81\x40";

// Modes 1 and 2. Walks input and output side by side: each input byte must appear either
// as itself or as the two bytes of its full-width form, and the full-width form exactly
// where the mode converts: a byte classed Single, with a full-width form, in mode 1
// before the first TAB of its line, in mode 2 neither the delimiter nor (quote mode) a
// double quote. Every output pair of the conversion therefore decodes back to its input
// byte, and nothing is dropped or added.
void check_full_width(const std::string& input, const std::string& output,
                      const fullwidth::ConverterSettings& settings,
                      const sjis::CodePage& code_page) {
  sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
  bool first_field = true;
  std::size_t o = 0;
  for (const char ch : input) {
    const auto b = static_cast<unsigned char>(ch);
    const sjis::ByteClass cls = scanner.classify(b);
    const std::uint16_t full = sjis::to_full_width(code_page, b);
    bool converts = cls == sjis::ByteClass::Single && full >= 0x100;
    if (settings.mode == ConverterMode::ItemNames) {
      converts = converts && first_field && b != '\t';
      if (b == '\t') first_field = false;
      if (b == '\n') first_field = true;
    } else {
      converts = converts && b != settings.delimiter && !(settings.quote_mode && b == '"');
    }
    if (converts) {
      check(o + 2 <= output.size() && static_cast<unsigned char>(output[o]) == full >> 8 &&
                static_cast<unsigned char>(output[o + 1]) == (full & 0xFF),
            "a converted byte is written as its full-width form");
      o += 2;
    } else {
      check(o < output.size() && output[o] == ch, "every other byte is copied unchanged");
      ++o;
    }
  }
  check(o == output.size(), "nothing is added at the end");
}

// Mode 3. Replacing every full-width space that the pass wrote by two half-width spaces
// gives the input back exactly, and no two half-width spaces are left side by side.
// Without a full-width space in the code page, the text is copied.
void check_spaces(const std::string& input, const std::string& output,
                  const sjis::CodePage& code_page) {
  if (!code_page.has_full_width) {
    check(output == input, "a code page without full-width forms copies the text");
    return;
  }
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < input.size()) {
    if (o < output.size() && output[o] == input[i]) {
      ++i;
      ++o;
    } else if (input.compare(i, 2, "  ") == 0 && output.compare(o, 2, kFullWidthSpace) == 0) {
      i += 2;
      o += 2;
    } else {
      check(false, "the output is the input with pairs of spaces made full-width");
    }
  }
  check(o == output.size(), "nothing is added at the end");

  sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
  bool space_before = false;
  for (const char ch : output) {
    const bool space =
        scanner.classify(static_cast<unsigned char>(ch)) == sjis::ByteClass::Single && ch == ' ';
    check(!(space && space_before), "no pair of half-width spaces is left");
    space_before = space;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string mode(1, static_cast<char>('1' + in.pick(3)));
  constexpr const char* kCodes[] = {"t", "s", "c", "q", "p", "l", "r", "x"};
  const char* code = kCodes[in.pick(sizeof kCodes / sizeof kCodes[0])];
  const std::size_t read_size = fuzz::pick_read_size(in);
  const sjis::CodePage& code_page = fuzz::pick_code_page(in);
  const std::string file = in.rest();

  const char* const argv[] = {"Kavzuno7", mode.c_str(), code, "text.txt", nullptr};
  const sjis::Outcome<fullwidth::ConverterSettings> settings =
      fullwidth::parse_command_line(4, argv);
  check(settings.ok(), "three arguments are a command line");

  sjis::StringSource source(file, read_size);
  sjis::StringSink sink;
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  const auto failure = fullwidth::convert_text(settings.value(), code_page, source, out);
  check(!failure && out.flush(), "every text is converted");
  std::string output;
  check(fuzz::strip_written_crs(sink.bytes(), output), "every LF is written as CR LF");

  const std::string input = fuzz::text_mode(file);
  if (settings.value().mode == ConverterMode::SpaceCorrection) {
    check_spaces(input, output, code_page);
  } else {
    check_full_width(input, output, settings.value(), code_page);
  }
  return 0;
}

#include "formatter/heading_file.h"

#include <algorithm>
#include <array>

#include "formatter/messages.h"
#include "formatter/tokens.h"
#include "sjis/byte_io.h"

namespace kavrile7 {
namespace {

enum Token { kTitle, kLinesPerPage, kDelimiterCode, kDateKind, kBorderKind, kRecordLimit };

struct DelimiterCode {
  unsigned char delimiter;
  bool quote_mode;
};

DelimiterCode delimiter_of_code(unsigned char code) {
  switch (code) {
    case 't':
      return {'\t', false};
    case 's':
      return {' ', false};
    case 'c':
      return {',', false};
    case 'q':
      return {',', true};
    default:
      return {code, false};
  }
}

std::optional<unsigned char> first_byte(std::string_view token) {
  if (token.empty()) return std::nullopt;
  return static_cast<unsigned char>(token[0]);
}

}  // namespace

std::string read_heading_line(sjis::ByteReader& in) {
  std::string line;
  while (line.size() < kHeadingLineCapacity) {
    const int c = in.get();
    if (c < 0) break;
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return line;
}

sjis::Outcome<HeadingSpec> parse_heading_line(std::string_view line) {
  std::array<std::string_view, 6> tokens;
  split_tokens(line, tokens);
  if (tokens[kTitle].empty() || tokens[kLinesPerPage].empty() || tokens[kDelimiterCode].empty() ||
      token_value(tokens[kLinesPerPage]) < 1) {
    return failure_with(kHeadingContentMessage);
  }

  HeadingSpec heading;
  // Half-width spaces in front of the title indent it on the page; a tab ends the count.
  // They and the title lie in the same line, so the title never exceeds the line.
  const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
  heading.title.assign(indent, ' ');
  heading.title += tokens[kTitle];
  heading.lines_per_page = token_value(tokens[kLinesPerPage]);
  const DelimiterCode code =
      delimiter_of_code(static_cast<unsigned char>(tokens[kDelimiterCode][0]));
  heading.delimiter = code.delimiter;
  heading.quote_mode = code.quote_mode;
  heading.date_kind = first_byte(tokens[kDateKind]);
  heading.border_kind = first_byte(tokens[kBorderKind]);
  if (!tokens[kRecordLimit].empty()) heading.record_limit = token_value(tokens[kRecordLimit]);
  return heading;
}

sjis::Outcome<HeadingSpec> load_heading_file(const std::string& path) {
  sjis::InputFile file;
  if (!file.open(path)) return not_found(path);
  sjis::FdSource source(file.fd());
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  const std::string line = read_heading_line(reader);
  // A file that opens but cannot be read is reported like one that cannot be opened.
  if (reader.error()) return not_found(path);
  return parse_heading_line(line);
}

}  // namespace kavrile7

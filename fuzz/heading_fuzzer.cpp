// Fuzzes the heading file: reading its first line through a text-mode reader, parsing it,
// and the date text of a date kind at any clock reading.
//
// Input: read size, date kind, eight bytes of clock seconds, then the heading file.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>

#include "formatter/date_text.h"
#include "formatter/heading_file.h"
#include "formatter/messages.h"
#include "formatter/tokens.h"
#include "fuzz/fuzz_support.h"
#include "sjis/text_stream.h"

namespace {

using fuzz::check;

void check_heading(const std::string& file, std::size_t read_size) {
  sjis::StringSource source(file, read_size);
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  const std::string line = kavrile7::read_heading_line(reader);

  // The line is the start of what a text reader delivers, up to its first LF, capped.
  const std::string text = fuzz::text_mode(file);
  const std::size_t lf = text.find('\n');
  const std::size_t length = lf == std::string::npos ? text.size() : lf + 1;
  const std::string expected = text.substr(0, std::min(length, kavrile7::kHeadingLineCapacity));
  check(line == expected, "the heading line is the file's first line, at most 513 bytes");

  const sjis::Outcome<kavrile7::HeadingSpec> parsed = kavrile7::parse_heading_line(line);
  if (!parsed.ok()) {
    check(parsed.failure().message == kavrile7::kHeadingContentMessage &&
              parsed.failure().status == sjis::ExitStatus::Failure,
          "a heading line is refused only with the heading content message and status 1");
    return;
  }
  const kavrile7::HeadingSpec& h = parsed.value();
  check(h.lines_per_page >= 1, "at least one line per page");
  // The title is printed on a line of its own: it must hold nothing that ends or splits
  // a line, and it must come from the heading line.
  const std::size_t indent = h.title.find_first_not_of(' ');
  check(indent != std::string::npos, "the title holds more than its indentation");
  for (std::size_t i = indent; i < h.title.size(); ++i) {
    check(!kavrile7::is_token_space(static_cast<unsigned char>(h.title[i])),
          "no line end or white space inside the title");
  }
  check(h.title.size() <= line.size() && line.find(h.title.substr(indent)) != std::string::npos,
        "the title comes from the heading line");
  check(!h.quote_mode || h.delimiter == ',', "quote mode splits at commas");
}

void check_date_text(unsigned char kind, std::int64_t seconds) {
  const auto now = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (gmtime_r(&now, &local) == nullptr) return;  // beyond what the clock can express
  const std::string text = kavrile7::build_date_text(kind, local);
  if (kind == 'N') {
    check(text.empty(), "no date text for date kind N");
    return;
  }
  check(!text.empty() && text.back() == '\n', "the date text ends in LF");
  check(text.find('\n') == text.size() - 1, "the date text is one line");
  check(text.size() <= 64, "the date text fits a page head");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::size_t read_size = fuzz::pick_read_size(in);
  const unsigned char kind = in.byte();
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = bits << 8 | in.byte();
  std::int64_t seconds;
  std::memcpy(&seconds, &bits, sizeof seconds);
  check_heading(in.rest(), read_size);
  check_date_text(kind, seconds);
  return 0;
}

// Fuzzes the formatter's listing: the data pass into the work file, then both output
// passes over that work file. The front of the input makes a small heading line and
// format file; the rest is the data file.
//
// Input: item count, one byte per item (output flag, width), output-order bytes, then
// delimiter code, lines per page, date kind, border kind, record limit, mode, read size
// and code page; then the data file.

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "formatter/data_pass.h"
#include "formatter/date_text.h"
#include "formatter/format_file.h"
#include "formatter/frame_lines.h"
#include "formatter/heading_file.h"
#include "formatter/plain_records.h"
#include "formatter/ruled_pages.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/listing_model.h"
#include "fuzz/ruled_check.h"
#include "sjis/text_stream.h"

namespace {

using fuzz::check;

// A format file of up to eight items, with at least one output item and the output
// orders a permutation of 1 to the number of output items.
std::string make_format_file(fuzz::FuzzInput& in) {
  const unsigned item_count = 1 + in.pick(8);
  std::vector<bool> output(item_count);
  std::vector<int> widths(item_count);
  unsigned outputs = 0;
  for (unsigned k = 0; k < item_count; ++k) {
    const std::uint8_t b = in.byte();
    output[k] = (b & 1) != 0 || (k == 0 && item_count == 1);
    widths[k] = 1 + (b >> 1) % 9;  // odd widths are made even by the formatter
    if (output[k]) ++outputs;
  }
  if (outputs == 0) {
    output[0] = true;
    outputs = 1;
  }
  std::vector<int> orders(outputs);
  for (unsigned j = 0; j < outputs; ++j) orders[j] = static_cast<int>(j) + 1;
  for (unsigned j = outputs; j > 1; --j) std::swap(orders[j - 1], orders[in.pick(j)]);

  std::string file;
  unsigned j = 0;
  for (unsigned k = 0; k < item_count; ++k) {
    // Names of both kinds: half-width letters and the double-byte 項 (8D 80).
    file += k % 2 == 0 ? std::string(1, static_cast<char>('A' + k)) : "\x8D\x80";
    file += output[k] ? "\tC\t" : "\tE\t";
    file += std::to_string(widths[k]) + '\t';
    file += output[k] ? std::to_string(orders[j++]) : "X";
    file += '\n';
  }
  return file;
}

std::string make_heading_line(fuzz::FuzzInput& in) {
  // The named codes, printable and control bytes, a half-width kana, a lead byte and a
  // byte that is only ever a trail byte.
  constexpr const char* kCodes[] = {"t", "s",    "c",    "q",    "|",   ";",
                                    "a", "\x7F", "\xB1", "\x82", "\x40"};
  constexpr const char* kDateKinds[] = {"N", "S", "R"};
  const char* code = kCodes[in.pick(sizeof kCodes / sizeof kCodes[0])];
  std::string line = "LIST " + std::to_string(1 + in.pick(12)) + ' ' + code;
  line += ' ';
  line += kDateKinds[in.pick(3)];
  line += in.pick(2) == 0 ? " R" : " B";
  if (in.pick(4) == 0) line += ' ' + std::to_string(static_cast<int>(in.pick(8)) - 2);
  return line + '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string format_file = make_format_file(in);
  const std::string heading_line = make_heading_line(in);
  const bool mode_p = in.pick(2) == 0;
  const std::size_t read_size = fuzz::pick_read_size(in);
  const sjis::CodePage& code_page = fuzz::pick_code_page(in);
  const std::string data_file = in.rest();

  const sjis::Outcome<kavrile7::HeadingSpec> heading = kavrile7::parse_heading_line(heading_line);
  check(heading.ok(), "the generated heading line is valid");
  sjis::StringSource format_source(format_file);
  sjis::ByteReader format_reader(format_source, sjis::FileMode::Text);
  const auto items = kavrile7::read_item_specs(format_reader);
  check(items.ok(), "the generated format file is valid");
  const sjis::Outcome<kavrile7::ColumnLayout> layout =
      kavrile7::build_column_layout(items.value(), code_page);
  check(layout.ok(), "the generated layout is valid");
  const kavrile7::FrameLines frames =
      kavrile7::build_frame_lines(layout.value(), heading.value().border_kind);
  std::tm clock{};
  clock.tm_year = 102;
  clock.tm_mon = 2;
  clock.tm_mday = 8;
  const std::string date_text = kavrile7::build_date_text(heading.value().date_kind, clock);

  // The data pass, from the data file read in pieces of read_size bytes.
  sjis::StringSource data_source(data_file, read_size);
  sjis::ByteReader data_reader(data_source, sjis::FileMode::Text);
  sjis::StringSink work_sink;
  sjis::ByteWriter work_writer(work_sink, sjis::FileMode::Binary);
  const sjis::Outcome<std::int64_t> count =
      kavrile7::run_data_pass(data_reader, heading.value(), layout.value(), code_page, work_writer);
  check(count.ok(), "the data pass accepts any bytes");
  const std::vector<fuzz::Record> records =
      fuzz::model_records(fuzz::text_mode(data_file), heading.value(), layout.value(), code_page);
  check(count.value() == static_cast<std::int64_t>(records.size()),
        "one record for every line with a byte before its end, up to the record limit");

  // Plain output: every record holds the fields of its line, in output order, byte for
  // byte.
  {
    sjis::StringSource work_source(work_sink.bytes(), read_size);
    sjis::ByteReader work_reader(work_source, sjis::FileMode::Binary);
    sjis::StringSink out_sink;
    sjis::ByteWriter out(out_sink, sjis::FileMode::Text);
    check(kavrile7::write_plain_records(heading.value().delimiter, layout.value().column_count,
                                        work_reader, out) &&
              out.flush(),
          "the plain output is written");
    std::string text;
    check(fuzz::strip_written_crs(out_sink.bytes(), text), "every LF is written as CR LF");
    check(text == fuzz::model_plain_output(records, heading.value().delimiter,
                                           layout.value().column_count),
          "the plain output holds the fields of every line, nothing lost, nothing invented");
  }

  // Ruled pages.
  {
    sjis::StringSource work_source(work_sink.bytes(), read_size);
    sjis::ByteReader work_reader(work_source, sjis::FileMode::Binary);
    sjis::StringSink out_sink;
    sjis::ByteWriter out(out_sink, sjis::FileMode::Text);
    const kavrile7::PageSetup setup{mode_p,         heading.value(), date_text,
                                    layout.value(), frames,          code_page};
    check(kavrile7::write_ruled_pages(setup, count.value(), work_reader, out) && out.flush(),
          "the ruled pages are written");
    fuzz::check_ruled_listing(out_sink.bytes(), setup, count.value());
  }
  return 0;
}

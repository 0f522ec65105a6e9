#include "fuzz/listing_model.h"

#include <algorithm>
#include <cstdint>

#include "sjis/sjis_scanner.h"

namespace fuzz {
namespace {

// The record of one line, given its fields (at most 100).
Record record_of_line(const std::vector<std::string>& fields,
                      const kavrile7::ColumnLayout& layout) {
  const int field_count = static_cast<int>(fields.size());
  // Output items in item order: the field each reads and the column it goes to.
  std::vector<int> field_of_output;
  for (int k = 0; k < layout.item_count; ++k) {
    if (layout.item_is_output[k]) field_of_output.push_back(k);
  }
  // Output fields ended by a delimiter: those before the line's last field.
  int closed = 0;
  while (closed < layout.column_count && field_of_output[closed] < field_count - 1) ++closed;
  // The open field's output item, or the next one the line did not reach, counts too.
  const int reached = std::min(closed + 1, layout.column_count);

  Record columns;
  for (int j = 0; j < reached; ++j) {
    const auto column = static_cast<std::size_t>(layout.output_item_order[j] - 1);
    if (columns.size() <= column) columns.resize(column + 1);
    const int k = field_of_output[j];
    if (k < field_count) columns[column] = fields[static_cast<std::size_t>(k)];
  }
  return columns;
}

}  // namespace

std::vector<Record> model_records(std::string_view text, const kavrile7::HeadingSpec& heading,
                                  const kavrile7::ColumnLayout& layout,
                                  const sjis::CodePage& code_page) {
  constexpr std::size_t kMaxFields = 100;
  sjis::SjisScanner scanner(code_page, /*control_marking=*/true);
  std::vector<Record> records;
  std::vector<std::string> fields(1);
  bool has_bytes = false;
  std::int64_t lines = 0;

  // Ends the current line; false when it exceeds the record limit.
  auto end_line = [&]() {
    ++lines;
    if (heading.record_limit && *heading.record_limit < lines) return false;
    if (has_bytes) records.push_back(record_of_line(fields, layout));
    fields.assign(1, std::string());
    has_bytes = false;
    return true;
  };

  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    const sjis::ByteClass cls = scanner.classify(b);
    if (cls < sjis::ByteClass::Lead && b == heading.delimiter) {
      has_bytes = true;
      // The 100th delimiter opens a 101st field that never receives a byte; later
      // delimiters are ignored.
      if (fields.size() <= kMaxFields) fields.emplace_back();
    } else if (heading.quote_mode && b == '"' && cls == sjis::ByteClass::Single) {
      has_bytes = true;
    } else if (b == '\n') {
      if (!end_line()) return records;
    } else {
      has_bytes = true;
      if (fields.size() <= kMaxFields) fields.back() += ch;
    }
  }
  if (has_bytes) end_line();
  return records;
}

std::string model_plain_output(const std::vector<Record>& records, unsigned char delimiter,
                               int column_count) {
  std::string out;
  for (const Record& record : records) {
    const bool full = static_cast<int>(record.size()) == column_count;
    for (std::size_t c = 0; c < record.size(); ++c) {
      out += record[c];
      if (!full || c + 1 < record.size()) out += static_cast<char>(delimiter);
    }
    out += '\n';
  }
  return out;
}

}  // namespace fuzz

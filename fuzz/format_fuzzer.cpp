// Fuzzes the format file: reading its items through a text-mode reader, building the
// column layout and the frame lines.
//
// Input: read size, code page, border kind, then the format file.

#include <cstdint>
#include <string>
#include <vector>

#include "formatter/format_file.h"
#include "formatter/frame_lines.h"
#include "formatter/messages.h"
#include "formatter/tokens.h"
#include "fuzz/fuzz_support.h"
#include "sjis/sjis_scanner.h"
#include "sjis/text_stream.h"

namespace {

using fuzz::check;
using kavrile7::ColumnLayout;
using kavrile7::ItemSpec;

void check_items(const std::vector<ItemSpec>& items) {
  check(items.size() <= kavrile7::kMaxItems, "at most 100 items are read");
  for (const ItemSpec& item : items) {
    check(!item.name.empty(), "every item has a name");
    for (const char b : item.name) {
      check(!kavrile7::is_token_space(static_cast<unsigned char>(b)), "a name is one token");
    }
    check(item.width >= 1, "every width is at least 1");
    check(!item.is_output || item.width % 2 == 0, "an output item's width is even");
    check(item.output_order >= 0 && item.output_order <= 100, "output orders lie in 1 to 100");
  }
}

// A column name must not end inside a double-byte character: its lead byte would take
// the first byte of the vertical bar after it as its trail byte and break the header row.
bool ends_outside_a_character(const std::string& name, const sjis::CodePage& code_page) {
  sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
  for (const char b : name) scanner.classify(static_cast<unsigned char>(b));
  return !scanner.inside();
}

void check_layout(const ColumnLayout& layout, const sjis::CodePage& code_page) {
  check(layout.column_count >= 1 && layout.column_count <= kavrile7::kMaxItems, "1 to 100 columns");
  std::int64_t total = 0;
  for (int c = 0; c < layout.column_count; ++c) {
    const std::int32_t width = layout.column_width[c];
    check(width >= 2 && width % 2 == 0, "every column is even and at least 2 wide");
    check(layout.column_name[c].size() == static_cast<std::size_t>(width),
          "every column name fills its width exactly");
    check(ends_outside_a_character(layout.column_name[c], code_page),
          "no column name ends in half a character");
    total += width;
  }
  check(total == layout.total_width && total <= kavrile7::kMaxTotalWidth,
        "the total width is the sum of the widths, at most 512");

  // Every column receives exactly one field, and only fields of output items go to one.
  std::vector<int> fields_per_column(static_cast<std::size_t>(layout.column_count), 0);
  for (int k = -1; k <= kavrile7::kMaxItems; ++k) {
    const int column = kavrile7::column_of_field(layout, k);
    if (column < 0) continue;
    check(k < layout.item_count && layout.item_is_output[k], "only output items are printed");
    check(column < layout.column_count, "a field goes to an existing column");
    ++fields_per_column[column];
  }
  for (const int n : fields_per_column) check(n == 1, "each column shows exactly one field");
}

void check_frames(const kavrile7::FrameLines& frames, const ColumnLayout& layout, bool bold,
                  const sjis::CodePage& code_page) {
  const std::size_t length =
      2 + static_cast<std::size_t>(2 * layout.column_count + layout.total_width);
  check(frames.top_rule.size() == length, "the top rule is 2 per bar plus the widths");
  for (const std::string* line : {&frames.header_row, &frames.separator, &frames.bottom_rule}) {
    check(line->size() == length, "every frame line is as long as the top rule");
  }
  check(frames.bold_separator.size() == (bold ? length : 0), "a bold separator for B only");
  // The rules are box-drawing characters only: a run of whole double-byte characters.
  if (code_page.number != 932) return;
  for (const std::string* line : {&frames.top_rule, &frames.separator, &frames.bottom_rule}) {
    for (std::size_t i = 0; i < line->size(); i += 2) {
      check(static_cast<unsigned char>((*line)[i]) == 0x84, "rules are box characters");
    }
  }
  // In the header row, every vertical bar stands where its column begins.
  std::size_t bar = 0;
  for (int c = 0; c <= layout.column_count; ++c) {
    check(frames.header_row.compare(bar, 2, "\x84\xA0") == 0, "a bar before every column");
    if (c < layout.column_count) bar += 2 + static_cast<std::size_t>(layout.column_width[c]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::size_t read_size = fuzz::pick_read_size(in);
  const sjis::CodePage& code_page = fuzz::pick_code_page(in);
  const bool bold = in.pick(2) == 1;
  const std::string file = in.rest();

  sjis::StringSource source(file, read_size);
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  const sjis::Outcome<std::vector<ItemSpec>> items = kavrile7::read_item_specs(reader);
  if (!items.ok()) {
    check(items.failure().message == kavrile7::kFormatContentMessage,
          "a bad item line gives the format content message");
    return 0;
  }
  check_items(items.value());

  const sjis::Outcome<ColumnLayout> layout =
      kavrile7::build_column_layout(items.value(), code_page);
  if (!layout.ok()) {
    const std::string& message = layout.failure().message;
    check(message == kavrile7::kTotalWidthMessage || message == kavrile7::kOutputOrderMessage,
          "a layout is refused for its total width or its output order");
    return 0;
  }
  check_layout(layout.value(), code_page);
  const std::optional<unsigned char> border =
      bold ? std::optional<unsigned char>('B') : std::optional<unsigned char>('R');
  check_frames(kavrile7::build_frame_lines(layout.value(), border), layout.value(), bold,
               code_page);
  return 0;
}

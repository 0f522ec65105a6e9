#include "formatter/format_file.h"

#include <algorithm>

#include "formatter/messages.h"
#include "formatter/tokens.h"
#include "sjis/byte_io.h"
#include "sjis/sjis_scanner.h"

namespace kavrile7 {
namespace {

constexpr std::int32_t kMaxOutputOrder = 100;

// The largest even 32-bit value: an odd width made even saturates here. Any width this
// large fails the total-width check anyway.
constexpr std::int64_t kMaxEvenWidth = 2147483646;

std::int32_t even_width(std::int32_t width) {
  const std::int64_t even = width % 2 != 0 ? std::int64_t{width} + 1 : width;
  return static_cast<std::int32_t>(std::min(even, kMaxEvenWidth));
}

}  // namespace

bool read_item_piece(sjis::ByteReader& in, std::string& piece) {
  piece.clear();
  while (piece.size() < kItemPieceCapacity) {
    const int c = in.get();
    if (c < 0) break;
    piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !piece.empty();
}

std::optional<ItemSpec> parse_item_line(std::string_view piece) {
  std::array<std::string_view, 4> tokens;
  split_tokens(piece, tokens);
  const auto& [name, flag, width, order] = tokens;
  if (name.empty() || flag.empty() || width.empty() || order.empty()) return std::nullopt;
  const std::int32_t width_value = token_value(width);
  if (width_value < 1) return std::nullopt;
  std::int32_t order_value = 0;
  if (order != "X") {
    order_value = token_value(order);
    if (order_value < 1 || order_value > kMaxOutputOrder) return std::nullopt;
  }

  ItemSpec item;
  item.name = name;
  item.is_output = flag == "C";
  item.width = item.is_output ? even_width(width_value) : width_value;
  item.output_order = order_value;
  return item;
}

sjis::Outcome<std::vector<ItemSpec>> read_item_specs(sjis::ByteReader& in) {
  std::vector<ItemSpec> items;
  std::string piece;
  while (items.size() < kMaxItems && read_item_piece(in, piece)) {
    std::optional<ItemSpec> item = parse_item_line(piece);
    if (!item) return failure_with(kFormatContentMessage);
    items.push_back(std::move(*item));
  }
  return items;
}

std::string fit_column_name(std::string_view name, std::int32_t width,
                            const sjis::CodePage& code_page) {
  const auto size = static_cast<std::size_t>(std::max(width, 0));
  std::string fitted(name.substr(0, size));
  // A character left unfinished, by the cut or by the name itself, would take the first
  // byte of the vertical bar after the name as its trail byte and break the header row:
  // its lead byte becomes a space. Under some code pages a byte after that lead byte can
  // then begin a character of its own, so the name is scanned again until it ends whole.
  for (;;) {
    sjis::SjisScanner scanner(code_page, /*control_marking=*/false);
    std::size_t open_lead = 0;
    for (std::size_t i = 0; i < fitted.size(); ++i) {
      const bool was_inside = scanner.inside();
      scanner.classify(static_cast<unsigned char>(fitted[i]));
      if (!was_inside && scanner.inside()) open_lead = i;
    }
    if (!scanner.inside()) break;
    fitted[open_lead] = ' ';
  }
  fitted.append(size - fitted.size(), ' ');
  return fitted;
}

sjis::Outcome<ColumnLayout> build_column_layout(std::span<const ItemSpec> items,
                                                const sjis::CodePage& code_page) {
  ColumnLayout layout;
  layout.item_count = static_cast<int>(std::min<std::size_t>(items.size(), kMaxItems));
  std::array<const ItemSpec*, kMaxItems> output_items{};
  std::int64_t total_width = 0;
  for (int k = 0; k < layout.item_count; ++k) {
    const ItemSpec& item = items[k];
    layout.item_is_output[k] = item.is_output;
    if (!item.is_output) continue;
    output_items[layout.column_count] = &item;
    layout.output_item_order[layout.column_count] = item.output_order;
    ++layout.column_count;
    total_width += item.width;
  }
  if (total_width > kMaxTotalWidth) return failure_with(kTotalWidthMessage);

  // Every column must hold exactly one output item: the orders are 1 to column_count,
  // each once. This rejects gaps, shared orders, output items with the order "X", and a
  // file without output items.
  if (layout.column_count == 0) return failure_with(kOutputOrderMessage);
  std::array<bool, kMaxItems> taken{};
  for (int j = 0; j < layout.column_count; ++j) {
    const std::int32_t order = layout.output_item_order[j];
    if (order < 1 || order > layout.column_count || taken[order - 1]) {
      return failure_with(kOutputOrderMessage);
    }
    taken[order - 1] = true;
  }

  for (int j = 0; j < layout.column_count; ++j) {
    const ItemSpec& item = *output_items[j];
    const int column = item.output_order - 1;
    layout.column_name[column] = fit_column_name(item.name, item.width, code_page);
    layout.column_width[column] = item.width;
  }
  layout.total_width = static_cast<std::int32_t>(total_width);
  return layout;
}

sjis::Outcome<ColumnLayout> load_format_file(const std::string& path,
                                             const sjis::CodePage& code_page) {
  sjis::InputFile file;
  if (!file.open(path)) return not_found(path);
  sjis::FdSource source(file.fd());
  sjis::ByteReader reader(source, sjis::FileMode::Text);
  sjis::Outcome<std::vector<ItemSpec>> items = read_item_specs(reader);
  // A file that opens but cannot be read is reported like one that cannot be opened.
  if (reader.error()) return not_found(path);
  if (!items.ok()) return items.failure();
  return build_column_layout(items.value(), code_page);
}

int column_of_field(const ColumnLayout& layout, int k) {
  if (k < 0 || k >= kMaxItems || !layout.item_is_output[k]) return -1;
  const auto j = std::count(layout.item_is_output.begin(), layout.item_is_output.begin() + k, true);
  return layout.output_item_order[j] - 1;
}

}  // namespace kavrile7

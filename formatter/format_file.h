#ifndef KAV_FORMATTER_FORMAT_FILE_H_
#define KAV_FORMATTER_FORMAT_FILE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sjis/code_page.h"
#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace kavrile7 {

inline constexpr int kMaxItems = 100;

// One line of the format file after splitting and validation.
struct ItemSpec {
  std::string name;
  bool is_output = false;
  std::int32_t width = 0;         // made even for an output item
  std::int32_t output_order = 0;  // 0 for "X"
};

// The output columns in output order, built once from the format file. After a
// successful load, columns 0 to column_count - 1 each hold exactly one output item, of
// even width at least 2, whose name is exactly that many bytes.
struct ColumnLayout {
  int item_count = 0;
  std::array<bool, kMaxItems> item_is_output{};
  int column_count = 0;
  std::array<std::int32_t, kMaxItems> output_item_order{};  // by output item, file order
  std::array<std::string, kMaxItems> column_name{};         // by column
  std::array<std::int32_t, kMaxItems> column_width{};       // by column
  std::int32_t total_width = 0;
};

// The most bytes of one piece of a format-file line, its LF included. A longer line is
// cut into pieces of this size, each read as an item line of its own.
inline constexpr std::size_t kItemPieceCapacity = 79;

// The largest total width of the output items.
inline constexpr std::int32_t kMaxTotalWidth = 512;

// Reads the next piece of the format file into piece: its bytes up to and including the
// next LF, but no more than kItemPieceCapacity. Returns false, with piece empty, when the
// input has no byte left.
bool read_item_piece(sjis::ByteReader& in, std::string& piece);

// Parses one piece as an item: name, output flag, width and output order, the first four
// tokens. Returns nullopt, a content error, when one of the four is missing, the width's
// value is below 1 or the order is neither exactly "X" nor a value from 1 to 100; this
// holds for suppressed items too. The item is an output item exactly when its flag is
// "C"; its width is then made even by adding 1 to an odd value.
std::optional<ItemSpec> parse_item_line(std::string_view piece);

// Reads the items of a format file, one per piece, in file order: at most kMaxItems;
// what follows them is not read. Fails with the format content message, exit status 1,
// at the first piece that is not an item (an empty line included).
sjis::Outcome<std::vector<ItemSpec>> read_item_specs(sjis::ByteReader& in);

// The column heading of an output item: name padded with half-width spaces or cut to
// exactly width bytes. When the cut, or the name itself, leaves a double-byte character
// unfinished, its first byte becomes a half-width space, so that no character reaches
// into the vertical bar that follows.
std::string fit_column_name(std::string_view name, std::int32_t width,
                            const sjis::CodePage& code_page);

// Builds the layout from the items of a format file (at most kMaxItems), in file order.
// Fails, exit status 1, with the total-width message when the widths of the output items
// add up to more than kMaxTotalWidth; then with the output-order message unless the
// output orders of the output items are 1 to column_count, each exactly once (a gap, a
// shared order, an order "X", or no output item at all).
sjis::Outcome<ColumnLayout> build_column_layout(std::span<const ItemSpec> items,
                                                const sjis::CodePage& code_page);

// Opens the format file at path, reads its items and builds the layout. Fails with the
// not-found message naming path when the file cannot be opened or read (a directory
// included), otherwise as read_item_specs and build_column_layout, in that order.
sjis::Outcome<ColumnLayout> load_format_file(const std::string& path,
                                             const sjis::CodePage& code_page);

// The column that receives field k of a data record (0 for the first field), or -1 when
// the field is not printed (k outside 0 to kMaxItems - 1, or a suppressed item).
int column_of_field(const ColumnLayout& layout, int k);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_FORMAT_FILE_H_

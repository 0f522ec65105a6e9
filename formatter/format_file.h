#ifndef KAV_FORMATTER_FORMAT_FILE_H_
#define KAV_FORMATTER_FORMAT_FILE_H_

#include <array>
#include <cstdint>
#include <string>

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

}  // namespace kavrile7

#endif  // KAV_FORMATTER_FORMAT_FILE_H_

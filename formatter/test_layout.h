#ifndef KAV_FORMATTER_TEST_LAYOUT_H_
#define KAV_FORMATTER_TEST_LAYOUT_H_

#include <string>
#include <vector>

#include "formatter/format_file.h"

namespace kavrile7 {

// One format-file item for tests: output order 0 means a suppressed item.
struct TestItem {
  int output_order;
  int width = 2;
  std::string name = "";
};

// The layout that a valid format file with these items gives: the name of each output
// item padded with spaces to its width.
inline ColumnLayout make_layout(const std::vector<TestItem>& items) {
  ColumnLayout layout;
  layout.item_count = static_cast<int>(items.size());
  for (std::size_t k = 0; k < items.size(); ++k) {
    const TestItem& item = items[k];
    if (item.output_order == 0) continue;
    layout.item_is_output[k] = true;
    layout.output_item_order[layout.column_count++] = item.output_order;
    const int c = item.output_order - 1;
    layout.column_width[c] = item.width;
    layout.column_name[c] = item.name;
    layout.column_name[c].resize(static_cast<std::size_t>(item.width), ' ');
    layout.total_width += item.width;
  }
  return layout;
}

}  // namespace kavrile7

#endif  // KAV_FORMATTER_TEST_LAYOUT_H_

#include "formatter/frame_lines.h"

#include <string_view>

namespace kavrile7 {
namespace {

// The four box characters of one rule line, code page 932 double-byte characters.
struct RuleShape {
  std::string_view left;
  std::string_view joint;
  std::string_view fill;
  std::string_view right;
};

constexpr RuleShape kTopRule = {"\x84\xA1", "\x84\xA6", "\x84\x9F", "\x84\xA2"};  // ┌ ┬ ─ ┐
constexpr RuleShape kSeparator = {"\x84\xA5", "\x84\xA9", "\x84\x9F", "\x84\xA7"};  // ├ ┼ ─ ┤
constexpr RuleShape kBoldSeparator = {"\x84\xBA", "\x84\xB9", "\x84\xAA", "\x84\xBC"};  // ┝ ┿ ━ ┥
constexpr RuleShape kBottomRule = {"\x84\xA4", "\x84\xA8", "\x84\x9F", "\x84\xA3"};  // └ ┴ ─ ┘
constexpr std::string_view kVerticalBar = "\x84\xA0";                                // │

// 2 bytes per bar or joint, one byte per cell of every column.
std::size_t frame_line_length(const ColumnLayout& layout) {
  std::size_t length = 2;
  for (int c = 0; c < layout.column_count; ++c) length += 2 + layout.column_width[c];
  return length;
}

std::string build_rule(const ColumnLayout& layout, const RuleShape& shape) {
  std::string line;
  line.reserve(frame_line_length(layout));
  for (int c = 0; c < layout.column_count; ++c) {
    line += c == 0 ? shape.left : shape.joint;
    for (int i = 0; i < layout.column_width[c] / 2; ++i) line += shape.fill;
  }
  line += shape.right;
  return line;
}

std::string build_header_row(const ColumnLayout& layout) {
  std::string line;
  line.reserve(frame_line_length(layout));
  for (int c = 0; c < layout.column_count; ++c) {
    line += kVerticalBar;
    line += layout.column_name[c];
  }
  line += kVerticalBar;
  return line;
}

}  // namespace

FrameLines build_frame_lines(const ColumnLayout& layout, std::optional<unsigned char> border_kind) {
  FrameLines frames;
  frames.top_rule = build_rule(layout, kTopRule);
  frames.header_row = build_header_row(layout);
  frames.separator = build_rule(layout, kSeparator);
  if (border_kind == 'B') frames.bold_separator = build_rule(layout, kBoldSeparator);
  frames.bottom_rule = build_rule(layout, kBottomRule);
  return frames;
}

}  // namespace kavrile7

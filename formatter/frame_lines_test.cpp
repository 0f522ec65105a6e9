#include "formatter/frame_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavrile7 {
namespace {

struct Column {
  std::string name;  // already fitted to width
  std::int32_t width;
};

ColumnLayout layout_of(const std::vector<Column>& columns) {
  ColumnLayout layout;
  for (const Column& c : columns) {
    layout.column_name[layout.column_count] = c.name;
    layout.column_width[layout.column_count] = c.width;
    layout.total_width += c.width;
    ++layout.column_count;
  }
  return layout;
}

std::string times(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// The box characters as code page 932 bytes.
const std::string kLight = "\x84\x9F";  // ─
const std::string kHeavy = "\x84\xAA";  // ━
const std::string kBar = "\x84\xA0";    // │

TEST(FrameLinesTest, BuildsTheUsageExampleFrame) {
  const std::string name = "\x8C\xDA\x8B\x71\x96\xBC" + std::string(24, ' ');  // 顧客名
  const std::string number = "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86  ";             // 顧客番号
  const FrameLines frames = build_frame_lines(layout_of({{name, 30}, {number, 10}}), 'B');

  EXPECT_EQ(frames.top_rule,
            "\x84\xA1" + times(kLight, 15) + "\x84\xA6" + times(kLight, 5) + "\x84\xA2");
  EXPECT_EQ(frames.header_row, kBar + name + kBar + number + kBar);
  EXPECT_EQ(frames.separator,
            "\x84\xA5" + times(kLight, 15) + "\x84\xA9" + times(kLight, 5) + "\x84\xA7");
  EXPECT_EQ(frames.bold_separator,
            "\x84\xBA" + times(kHeavy, 15) + "\x84\xB9" + times(kHeavy, 5) + "\x84\xBC");
  EXPECT_EQ(frames.bottom_rule,
            "\x84\xA4" + times(kLight, 15) + "\x84\xA8" + times(kLight, 5) + "\x84\xA3");
  for (const std::string* line : {&frames.top_rule, &frames.header_row, &frames.separator,
                                  &frames.bold_separator, &frames.bottom_rule}) {
    EXPECT_EQ(line->size(), 46u);
  }
}

TEST(FrameLinesTest, OneNarrowColumn) {
  const FrameLines frames = build_frame_lines(layout_of({{"AB", 2}}), std::nullopt);
  EXPECT_EQ(frames.top_rule, "\x84\xA1\x84\x9F\x84\xA2");  // ┌─┐
  EXPECT_EQ(frames.header_row,
            "\x84\xA0"
            "AB\x84\xA0");                                    // │AB│
  EXPECT_EQ(frames.separator, "\x84\xA5\x84\x9F\x84\xA7");    // ├─┤
  EXPECT_EQ(frames.bottom_rule, "\x84\xA4\x84\x9F\x84\xA3");  // └─┘
  EXPECT_EQ(frames.bold_separator, "");
}

TEST(FrameLinesTest, OnlyBorderKindBBuildsTheBoldSeparator) {
  const struct {
    const char* what;
    std::optional<unsigned char> border_kind;
    bool bold;
  } cases[] = {
      {"B", 'B', true},
      {"b", 'b', false},
      {"R", 'R', false},
      {"none", std::nullopt, false},
  };
  const ColumnLayout layout = layout_of({{"AB  ", 4}, {"C ", 2}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const FrameLines frames = build_frame_lines(layout, c.border_kind);
    EXPECT_EQ(frames.bold_separator.size(), c.bold ? 12u : 0u);
    EXPECT_EQ(frames.top_rule.size(), 12u);
    EXPECT_EQ(frames.header_row.size(), 12u);
    EXPECT_EQ(frames.separator.size(), 12u);
    EXPECT_EQ(frames.bottom_rule.size(), 12u);
  }
}

TEST(FrameLinesTest, LinesLongerThan511BytesAreBuiltInFull) {
  // 100 columns with a total width of 512: 56 of width 6 and 44 of width 4.
  std::vector<Column> columns;
  for (int c = 0; c < 100; ++c) {
    const std::int32_t width = c < 56 ? 6 : 4;
    columns.push_back({std::string(width, 'x'), width});
  }
  const ColumnLayout layout = layout_of(columns);
  ASSERT_EQ(layout.total_width, 512);
  const FrameLines frames = build_frame_lines(layout, 'B');
  EXPECT_EQ(frames.top_rule.size(), 714u);
  EXPECT_EQ(frames.header_row.size(), 714u);
  EXPECT_EQ(frames.bold_separator.size(), 714u);
  EXPECT_EQ(frames.bottom_rule.substr(710), "\x84\x9F\x84\xA3");  // ends ─┘

  const FrameLines wide = build_frame_lines(layout_of({{std::string(508, 'y'), 508}}), 'R');
  EXPECT_EQ(wide.header_row.size(), 512u);
  EXPECT_EQ(wide.header_row.substr(2, 508), std::string(508, 'y'));
}

}  // namespace
}  // namespace kavrile7

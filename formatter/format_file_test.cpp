#include "formatter/format_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter/messages.h"
#include "sjis/byte_io.h"

namespace kavrile7 {
namespace {

const sjis::CodePage& cp932() { return sjis::code_page_by_number(932); }

// Code page 932 names.
const std::string kNumber = "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86";  // 顧客番号
const std::string kName = "\x8C\xDA\x8B\x71\x96\xBC";            // 顧客名
const std::string kNote = "\x94\xF5\x8D\x6C";                    // 備考

sjis::Outcome<std::vector<ItemSpec>> read_items(const std::string& file) {
  sjis::StringSource source(file, 5);
  sjis::ByteReader reader(source, sjis::FileMode::Text, 16);
  return read_item_specs(reader);
}

// Reads and builds as the loader does, from the bytes of a format file.
sjis::Outcome<ColumnLayout> layout_of(const std::string& file) {
  auto items = read_items(file);
  if (!items.ok()) return items.failure();
  return build_column_layout(items.value(), cp932());
}

std::string lines(const std::vector<std::string>& items) {
  std::string file;
  for (const auto& item : items) file += item + "\n";
  return file;
}

TEST(FormatFileTest, ParsesItemLines) {
  const struct {
    const char* what;
    std::string line;
    std::string name;
    bool is_output;
    std::int32_t width;
    std::int32_t order;
  } cases[] = {
      {"usage example", kNumber + "\tC\t10\t2\n", kNumber, true, 10, 2},
      {"suppressed with X", kNote + "\tE\t20\tX\n", kNote, false, 20, 0},
      {"odd width made even", "A\tC\t3\t1\n", "A", true, 4, 1},
      {"width 1 becomes 2", "A\tC\t1\t1\n", "A", true, 2, 1},
      {"suppressed width stays odd", "A\tE\t3\tX\n", "A", false, 3, 0},
      {"lower-case c is suppressed", "A\tc\t10\t1\n", "A", false, 10, 1},
      {"CC is suppressed", "A\tCC\t10\tX\n", "A", false, 10, 0},
      {"spaces separate", "  A  C 10 100", "A", true, 10, 100},
      {"fifth field ignored", "A\tC\t10\t1\tremark\n", "A", true, 10, 1},
      {"12ab and 1x", "A\tC\t12ab\t1x\n", "A", true, 12, 1},
      {"+5 width", "A\tC\t+5\t1\n", "A", true, 6, 1},
      {"huge odd width stays even", "A\tC\t99999999999\t1\n", "A", true, 2147483646, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto item = parse_item_line(c.line);
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->name, c.name);
    EXPECT_EQ(item->is_output, c.is_output);
    EXPECT_EQ(item->width, c.width);
    EXPECT_EQ(item->output_order, c.order);
  }
}

TEST(FormatFileTest, RejectsBadItemLines) {
  const struct {
    const char* what;
    std::string line;
  } cases[] = {
      {"empty piece", ""},
      {"only a line feed", "\n"},
      {"blank", " \t \n"},
      {"three fields", "A\tC\t10\n"},
      {"two fields", "A\tC\n"},
      {"width 0", "A\tC\t0\t1\n"},
      {"width -4", "A\tC\t-4\t1\n"},
      {"width ab", "A\tC\tab\t1\n"},
      {"order 0", "A\tC\t10\t0\n"},
      {"order 101", "A\tC\t10\t101\n"},
      {"order lower-case x", "A\tC\t10\tx\n"},
      {"order XX", "A\tC\t10\tXX\n"},
      {"order beyond 32 bits", "A\tC\t10\t99999999999\n"},
      {"suppressed, width 0", "A\tE\t0\tX\n"},
      {"suppressed, no order", "A\tE\t10\n"},
      {"suppressed, order 0", "A\tE\t10\t0\n"},
      {"suppressed, order 101", "A\tE\t10\t101\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(parse_item_line(c.line).has_value());
  }
}

TEST(FormatFileTest, ReadsLinesInPiecesOf79Bytes) {
  const std::string line78 = "A\tC\t2\t1" + std::string(78 - 7, ' ');
  ASSERT_EQ(line78.size(), 78u);
  const struct {
    const char* what;
    std::string file;
    int items;  // -1: content error
  } cases[] = {
      {"78 bytes before the line end", line78 + "\n", 1},
      {"78 bytes with CR LF", line78 + "\r\n", 1},
      {"79 bytes: the line feed alone is an empty item", line78 + " \n", -1},
      {"79 bytes without line end at the end of the file", line78 + " ", 1},
      // The tab after the first item is the 79th byte and ends the first piece.
      {"a long line gives two items", std::string(72, 'A') + "\tC\t2\t1\tB\tC\t2\t2\n", 2},
      {"empty line in the middle", "A\tC\t2\t1\n\nB\tC\t2\t2\n", -1},
      {"trailing empty line", "A\tC\t2\t1\n\n", -1},
      {"last line without line end", "A\tC\t2\t1\nB\tC\t2\t2", 2},
      {"empty file", "", 0},
      {"1A ends the file", "A\tC\t2\t1\n\x1A\n\nrubbish", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto items = read_items(c.file);
    if (c.items < 0) {
      ASSERT_FALSE(items.ok());
      EXPECT_EQ(items.failure().message, kFormatContentMessage);
      EXPECT_EQ(items.failure().status, sjis::ExitStatus::Failure);
    } else {
      ASSERT_TRUE(items.ok());
      EXPECT_EQ(items.value().size(), static_cast<std::size_t>(c.items));
    }
  }
}

TEST(FormatFileTest, TakesAtMost100Items) {
  std::vector<std::string> items;
  for (int k = 1; k <= 100; ++k) items.push_back("N\tC\t2\t" + std::to_string(k));
  items.push_back("");  // a malformed 101st line is never read
  items.push_back("garbage");
  const auto layout = layout_of(lines(items));
  ASSERT_TRUE(layout.ok());
  EXPECT_EQ(layout.value().item_count, 100);
  EXPECT_EQ(layout.value().column_count, 100);
  EXPECT_EQ(layout.value().total_width, 200);
}

TEST(FormatFileTest, BuildsTheUsageExampleLayout) {
  const auto layout =
      layout_of(lines({kNumber + "\tC\t10\t2", kName + "\tC\t30\t1", kNote + "\tE\t20\tX"}));
  ASSERT_TRUE(layout.ok());
  const ColumnLayout& l = layout.value();
  EXPECT_EQ(l.item_count, 3);
  EXPECT_EQ(l.column_count, 2);
  EXPECT_TRUE(l.item_is_output[0]);
  EXPECT_TRUE(l.item_is_output[1]);
  EXPECT_FALSE(l.item_is_output[2]);
  EXPECT_EQ(l.output_item_order[0], 2);
  EXPECT_EQ(l.output_item_order[1], 1);
  EXPECT_EQ(l.column_name[0], kName + std::string(24, ' '));
  EXPECT_EQ(l.column_width[0], 30);
  EXPECT_EQ(l.column_name[1], kNumber + "  ");
  EXPECT_EQ(l.column_width[1], 10);
  EXPECT_EQ(l.total_width, 40);
}

TEST(FormatFileTest, FitsNamesToTheirWidth) {
  EXPECT_EQ(layout_of(lines({kNumber + "\tC\t5\t1"})).value().column_name[0],
            kNumber.substr(0, 6));  // width 6: 顧客番

  const std::string mixed = "A\x8C\xDA\x8B\x71";  // A顧客
  const struct {
    const char* what;
    std::string name;
    std::int32_t width;
    int code_page;
    std::string fitted;
  } cases[] = {
      {"padded", "AB", 6, 932, "AB    "},
      {"exact", "ABCD", 4, 932, "ABCD"},
      {"cut between characters", kNumber, 4, 932, kNumber.substr(0, 4)},
      {"cut after a lead byte, width 2", mixed, 2, 932, "A "},
      {"cut after a lead byte, width 4", mixed, 4, 932, "A\x8C\xDA "},
      {"trail byte that is also a lead byte", "\x8C\x8C\x8C\x8C", 2, 932, "\x8C\x8C"},
      {"half-width katakana are single bytes", "\xB1\xB2\xB3", 2, 932, "\xB1\xB2"},
      {"single-byte code page cuts bytes", mixed, 2, 1252, "A\x8C"},
      // A name that ends in a lone lead byte would pair it with the bar's first byte.
      {"lone lead byte at the width", "A\x82", 2, 932, "A "},
      {"lone lead byte before padding", "A\x82", 4, 932, "A   "},
      {"lone lead byte before a non-trail byte", std::string("\x8B\x00", 2), 4, 932,
       std::string(" \x00  ", 4)},
      // Under code page 950, 86 is a lead byte but not a trail byte: once the lone 8D
      // before it is gone, 86 begins an unfinished character of its own.
      {"lone lead bytes one after the other", "\x94\xD4\x8D\x86", 4, 950, "\x94\xD4  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(fit_column_name(c.name, c.width, sjis::code_page_by_number(c.code_page)), c.fitted);
  }
}

TEST(FormatFileTest, ChecksTotalWidthThenOutputOrder) {
  const struct {
    const char* what;
    std::vector<std::string> items;
    std::string_view message;  // empty: the layout is built
  } cases[] = {
      {"512 passes", {"A\tC\t255\t1", "B\tC\t255\t2"}, {}},
      {"514 fails", {"A\tC\t255\t1", "B\tC\t257\t2"}, kTotalWidthMessage},
      {"suppressed widths do not count", {"A\tC\t512\t1", "B\tE\t512\tX"}, {}},
      {"huge width fails the total", {"A\tC\t99999999999\t1"}, kTotalWidthMessage},
      {"content error in line 3 before the total",
       {"A\tC\t500\t1", "B\tC\t500\t2", "C\tC\t10"},
       kFormatContentMessage},
      {"total before output order", {"A\tC\t500\t1", "B\tC\t500\t3"}, kTotalWidthMessage},
      {"no item", {}, kOutputOrderMessage},
      {"only suppressed items", {"A\tE\t2\tX", "B\tE\t2\t1"}, kOutputOrderMessage},
      {"2 and 3 without 1", {"A\tC\t2\t2", "B\tC\t2\t3"}, kOutputOrderMessage},
      {"1 and 3 without 2", {"A\tC\t2\t1", "B\tC\t2\t3"}, kOutputOrderMessage},
      {"a suppressed order fills no gap",
       {"A\tC\t2\t1", "B\tE\t2\t2", "C\tC\t2\t3"},
       kOutputOrderMessage},
      {"shared order", {"A\tC\t2\t1", "B\tC\t2\t1"}, kOutputOrderMessage},
      {"output item with X", {"A\tC\t2\t1", "B\tC\t2\tX"}, kOutputOrderMessage},
      {"reversed order", {"A\tC\t2\t3", "B\tC\t2\t2", "C\tC\t2\t1"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto layout = layout_of(lines(c.items));
    if (c.message.empty()) {
      EXPECT_TRUE(layout.ok());
    } else {
      ASSERT_FALSE(layout.ok());
      EXPECT_EQ(layout.failure().message, c.message);
      EXPECT_EQ(layout.failure().status, sjis::ExitStatus::Failure);
    }
  }
}

TEST(FormatFileTest, EveryColumnHoldsOneOutputItem) {
  const auto layout = layout_of(
      lines({"S\tE\t4\t1", "A\tC\t3\t3", "B\tC\t2\t1", "T\tE\t6\tX", "C\tC\t4\t2", "U\tE\t8\t5"}));
  ASSERT_TRUE(layout.ok());
  const ColumnLayout& l = layout.value();
  ASSERT_EQ(l.column_count, 3);
  EXPECT_EQ(l.column_name[0], "B ");
  EXPECT_EQ(l.column_name[1], "C   ");
  EXPECT_EQ(l.column_name[2], "A   ");
  EXPECT_EQ(l.total_width, 10);

  const int expected_columns[] = {-1, 2, 0, -1, 1, -1, -1};
  for (int k = 0; k < 7; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(column_of_field(l, k), expected_columns[k]);
  }
  EXPECT_EQ(column_of_field(l, -1), -1);
  EXPECT_EQ(column_of_field(l, 100), -1);
}

TEST(FormatFileTest, UnreadablePathsAreNotFound) {
  for (const std::string path : {"no such dir/format.txt", ".", ""}) {
    SCOPED_TRACE(path);
    const auto layout = load_format_file(path, cp932());
    ASSERT_FALSE(layout.ok());
    EXPECT_EQ(layout.failure().message, path + std::string(kNotFoundSuffix));
    EXPECT_EQ(layout.failure().status, sjis::ExitStatus::Failure);
  }
}

}  // namespace
}  // namespace kavrile7

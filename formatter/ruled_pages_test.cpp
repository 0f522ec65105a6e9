#include "formatter/ruled_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "formatter/test_layout.h"
#include "sjis/sjis_scanner.h"
#include "sjis/test_bytes.h"

namespace kavrile7 {
namespace {

const std::string kH = "\x84\x9F";    // ─
const std::string kV = "\x84\xA0";    // │
const std::string kTotal = "(\x91\x8D\x8C\x8F\x90\x94:";  // (総件数:

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Frame lines drawn by hand for a layout: corners and joints distinct per line so that a
// mix-up shows.
FrameLines frames_for(const ColumnLayout& layout) {
  auto rule = [&](const char* left, const char* joint, const std::string& fill, const char* right) {
    std::string s;
    for (int c = 0; c < layout.column_count; ++c) {
      s += c == 0 ? left : joint;
      s += repeat(fill, layout.column_width[c] / 2);
    }
    return s + right;
  };
  FrameLines f;
  f.top_rule = rule("\x84\xA1", "\x84\xA6", kH, "\x84\xA2");
  for (int c = 0; c < layout.column_count; ++c) f.header_row += kV + layout.column_name[c];
  f.header_row += kV;
  f.separator = rule("\x84\xA5", "\x84\xA9", kH, "\x84\xA7");
  f.bold_separator = rule("\x84\xBA", "\x84\xB9", "\x84\xAA", "\x84\xBC");
  f.bottom_rule = rule("\x84\xA4", "\x84\xA8", kH, "\x84\xA3");
  return f;
}

struct Page {
  HeadingSpec heading;
  ColumnLayout layout;
  FrameLines frames;
  std::string date_text;
};

std::string render(const Page& p, bool mode_p, const std::string& work, std::int64_t count) {
  sjis::StringSource source(work);
  sjis::ByteReader reader(source, sjis::FileMode::Binary, 5);
  sjis::StringSink sink;
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  const PageSetup setup{mode_p, p.heading, p.date_text, p.layout, p.frames,
                        sjis::code_page_by_number(932)};
  EXPECT_TRUE(write_ruled_pages(setup, count, reader, out));
  EXPECT_TRUE(out.flush());
  return sink.bytes();
}

Page page(int lines_per_page, std::vector<TestItem> items, std::optional<unsigned char> date_kind,
          std::string date_text = "") {
  Page p;
  p.heading.title = "LIST";
  p.heading.lines_per_page = lines_per_page;
  p.heading.date_kind = date_kind;
  p.layout = make_layout(items);
  p.frames = frames_for(p.layout);
  p.date_text = std::move(date_text);
  return p;
}

TEST(RuledPagesTest, WorkedExampleInModesPAndN) {
  const Page p = page(9, {{1, 4, "AB"}, {2, 6, "CDE"}}, 'N');
  const std::string work = "ab\x0Bxyz\x0B\nabcdef\x0B" "1\x0B\nq\x0B\x0B\n";
  const FrameLines& f = p.frames;
  const std::string head = "LIST\r\n" + f.top_rule + "\r\n" + f.header_row + "\r\n" + f.separator + "\r\n";
  const std::string page1 = head + kV + "ab  " + kV + "xyz   " + kV + "\r\n" + f.separator + "\r\n" +
                            kV + "abcd" + kV + "1     " + kV + "\r\n" + kV + "ef  " + kV + "      " +
                            kV + "\r\n" + f.bottom_rule + "\r\n      - 1 -\r\n";
  const std::string page2 = head + kV + "q   " + kV + "      " + kV + "\r\n" + f.bottom_rule +
                            "\r\n      - 2 -\r\n";
  EXPECT_EQ(render(p, true, work, 3), page1 + "\x0C" + page2 + kTotal + "3)\r\n\x0C");
  EXPECT_EQ(render(p, false, work, 3), page1 + page2 + kTotal + "3)\r\n");
}

TEST(RuledPagesTest, DateLineIsRightAlignedAndPageNumberCentred) {
  // The customer example: widths 30 and 10 give 46-byte frame lines.
  Page p = page(30, {{1, 30, "\x8C\xDA\x8B\x71\x96\xBC"}, {2, 10, "\x8C\xDA\x8B\x71\x94\xD4\x8D\x86"}},
                std::nullopt, "2002/3/8 9:5\n");
  const std::string out = render(p, true, "\x8E\x52\x93\x63\x0B" "1001\x0B\n", 1);
  const std::string expected =
      std::string(33, ' ') + "2002/3/8 9:5\r\nLIST\r\n" + p.frames.top_rule + "\r\n" +
      p.frames.header_row + "\r\n" + p.frames.separator + "\r\n" + kV + "\x8E\x52\x93\x63" +
      std::string(26, ' ') + kV + "1001      " + kV + "\r\n" + p.frames.bottom_rule + "\r\n" +
      std::string(21, ' ') + "- 1 -\r\n" + kTotal + "1)\r\n\x0C";
  EXPECT_EQ(out, expected);
}

TEST(RuledPagesTest, PageBreaks) {
  auto count = [](const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t i = s.find(what); i != std::string::npos; i = s.find(what, i + 1)) ++n;
    return n;
  };
  const struct {
    const char* what;
    int lines_per_page;
    std::string work;
    int records;
    int pages;
    int sub_lines;  // lines that begin with a vertical bar, header rows included
  } cases[] = {
      {"empty work file", 30, "", 0, 0, 0},
      {"one line per page", 1, "a\x0B\nb\x0B\nc\x0B\n", 3, 3, 6},
      {"six lines per page: head 5 + record 1", 6, "a\x0B\nb\x0B\n", 2, 2, 4},
      {"seven lines per page: two records share", 7, "a\x0B\nb\x0B\nc\x0B\n", 3, 2, 5},
      {"record taller than a page is printed whole", 6, std::string(40, 'x') + "\x0B\n", 1, 1, 11},
      {"height-0 records count", 30, "\x0B\n\x0B\n", 2, 1, 1},
      {"short record prints empty cells", 30, "\n", 1, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Page p = page(c.lines_per_page, {{1, 4, "AB"}}, 'N');
    const std::string out = render(p, true, c.work, c.records);
    EXPECT_EQ(count(out, p.frames.bottom_rule), c.pages);
    EXPECT_EQ(count(out, p.frames.top_rule), c.pages);
    EXPECT_EQ(count(out, "\x0C"), c.pages + (c.pages > 0 ? 0 : 1));
    EXPECT_EQ(count(out, "\r\n" + kV), c.sub_lines);
    EXPECT_TRUE(out.ends_with(kTotal + std::to_string(c.records) + ")\r\n\x0C"));
  }
}

TEST(RuledPagesTest, BoldSeparatorUnderTheHeaderOnly) {
  Page p = page(30, {{1, 2, "A"}}, 'N');
  p.heading.border_kind = 'B';
  const std::string out = render(p, false, "a\x0B\nb\x0B\n", 2);
  EXPECT_NE(out.find(p.frames.header_row + "\r\n" + p.frames.bold_separator + "\r\n"), std::string::npos);
  EXPECT_NE(out.find(p.frames.separator + "\r\n" + kV + "b"), std::string::npos);
}

TEST(RuledPagesTest, WrapProtection) {
  const struct {
    const char* what;
    int width;
    std::string text;
    std::string protected_text;
  } cases[] = {
      {"lead byte at the end of a sub-line moves", 4, "a\x8A\xBF\x8E\x9A", "a\x8A\xBF \x8E\x9A"},
      {"width 2", 2, "a\x8A\xBF", "a \x8A\xBF"},
      {"double-byte only", 2, "\x8A\xBF\x8E\x9A", "\x8A\xBF\x8E\x9A"},
      {"alternating, narrow column", 2, "a\x8A\xBF" "b\x8E\x9A" "c", "a \x8A\xBF" "b \x8E\x9A" "c"},
      {"5C as a second byte", 4, "ab\x83\x5C\x83\x5C", "ab\x83\x5C\x83\x5C"},
      {"text ending in a lone lead byte", 2, "a\x88", "a \x88"},
      // The spaces after a lone lead byte cannot complete it: each is classed Lead, and
      // in a column of 2 each gets a space in front of it.
      {"lone lead byte before a run of spaces", 2, "\x81" + std::string(40, ' '),
       "\x81" + std::string(80, ' ')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bool inside = false;
    std::string out;
    protect_wrap_points(c.text, c.width, sjis::code_page_by_number(932), inside, out);
    EXPECT_EQ(out, c.protected_text);
  }
}

TEST(RuledPagesTest, ProtectionCoversLongTexts) {
  // 3000 alternations of a letter and a kanji in a column of width 2: every kanji moves,
  // far beyond the first 2047 bytes.
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "a\x8A\xBF";
  bool inside = false;
  std::string out;
  protect_wrap_points(text, 2, sjis::code_page_by_number(932), inside, out);
  EXPECT_EQ(out, repeat("a \x8A\xBF", 3000));
}

// The protection walks the text with the byte classifier: at each position p (from 1), a
// byte classed Lead at a multiple of the width gets a space in front of it. The fast
// implementation must agree with that walk on any bytes, whatever the state carried in.
TEST(RuledPagesTest, ProtectionMatchesTheClassifierWalk) {
  const sjis::CodePage& cp = sjis::code_page_by_number(932);
  const unsigned char alphabet[] = {'a', 'b', ' ', 0x09, 0x81, 0x82, 0x88, 0x9F, 0xE0, 0xA0,
                                    0xB1, 0x40, 0x5C, 0x7F, 0x80, 0xFD, 0x00, 0x30, 0x41, 0x7E};
  sjis::TestBytes random(99);
  for (int round = 0; round < 2000; ++round) {
    const int width = 2 * static_cast<int>(1 + random.below(6));
    const std::string text = random.draw(alphabet, 60);
    const bool start_inside = random.below(2) == 1;
    SCOPED_TRACE(testing::Message() << "round " << round << " width " << width);

    sjis::SjisScanner scanner(cp, false);
    if (start_inside) scanner.classify(0x88);
    std::string expected;
    for (const char ch : text) {
      const std::size_t p = expected.size() + 1;
      if (scanner.classify(static_cast<unsigned char>(ch)) == sjis::ByteClass::Lead &&
          p % static_cast<std::size_t>(width) == 0) {
        expected.push_back(' ');
      }
      expected.push_back(ch);
    }

    bool inside = start_inside;
    std::string out;
    protect_wrap_points(text, width, cp, inside, out);
    ASSERT_EQ(out, expected);
    ASSERT_EQ(inside, scanner.inside());
  }
}

TEST(RuledPagesTest, ScannerCarriesAcrossColumnsAndResetsPerRecord) {
  // Column 0 ends in a lone lead byte, so column 1 begins inside a character: its 88 is a
  // trail byte, and the 9F after it a lead byte at the end of a sub-line, which moves.
  // The same record twice prints the same lines: the scanner starts every record outside.
  const Page p = page(30, {{1, 2}, {2, 2}}, 'N');
  const std::string record = "\x88\x0B\x88\x9F\x0B\n";
  const std::string lines = kV + "\x88 " + kV + "\x88 " + kV + "\r\n" + kV + "  " + kV + "\x9F " +
                            kV + "\r\n";
  const std::string out = render(p, false, record + record, 2);
  EXPECT_NE(out.find(lines + p.frames.separator + "\r\n" + lines + p.frames.bottom_rule),
            std::string::npos);
}

TEST(RuledPagesTest, EscapedVerticalTabIsShownAsData) {
  const Page p = page(30, {{1, 4}}, 'N');
  const std::string out = render(p, false, "a\x1A" "b\x0B\n", 1);
  EXPECT_NE(out.find(kV + "a\x0B" "b " + kV), std::string::npos);
}

}  // namespace
}  // namespace kavrile7

#include "fullwidth/space_pass.h"

#include <gtest/gtest.h>

#include <string>

#include "sjis/byte_io.h"
#include "sjis/sjis_scanner.h"
#include "sjis/test_bytes.h"

namespace fullwidth {
namespace {

// Runs mode 3 over the bytes in, read through a buffer of the given size so that the
// chunk boundaries fall everywhere. Binary streams: the bytes the pass sees and writes.
std::string correct(const std::string& in, std::size_t buffer,
                    const sjis::CodePage& cp = sjis::code_page_by_number(932)) {
  sjis::StringSource source(in);
  sjis::ByteReader reader(source, sjis::FileMode::Binary, buffer);
  sjis::StringSink sink;
  sjis::ByteWriter writer(sink, sjis::FileMode::Binary, 3);
  correct_spaces(cp, reader, writer);
  EXPECT_TRUE(writer.flush());
  return sink.bytes();
}

TEST(SpacePassTest, PairsOfSpacesBecomeFullWidthSpaces) {
  const std::string sp = "\x81\x40";    // 　
  const std::string rule = "\x84\xA0";  // │
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      {"cell padding between rules", rule + "    " + rule, rule + sp + sp + rule},
      {"one space between characters stays", "a b", "a b"},
      {"odd space of a run comes last", "a   b", "a" + sp + " b"},
      {"five spaces", "a     b", "a" + sp + sp + " b"},
      // The date line keeps its single spaces: the time stays apart from the date.
      {"date line", "2002/3/8 9:5\n", "2002/3/8 9:5\n"},
      {"nothing carried over a line end", "a \n b", "a \n b"},
      {"one space before LF", "a \nb", "a \nb"},
      {"two spaces before LF", "  \n", sp + "\n"},
      {"input ends in one space", "a ", "a "},
      {"input ends in three spaces", "a   ", "a" + sp + " "},
      {"TAB between spaces", " \t ", " \t "},
      // 83 is a lone lead byte: the spaces after it are classed Lead and copied, A is its
      // trail byte.
      {"spaces inside an unfinished character", "\x83  A", "\x83  A"},
      {"unfinished character ends a run", "   \x83 A  ", sp + " \x83 A" + sp},
      // 顧客 then spaces: spaces after a complete character are half-width ones.
      {"spaces after full-width text", "\x8C\xDA\x8B\x71    |", "\x8C\xDA\x8B\x71" + sp + sp + "|"},
      {"full-width text only", "\x8C\xDA\x8B\x71\x96\xBC\n", "\x8C\xDA\x8B\x71\x96\xBC\n"},
      {"full-width space is copied", sp + "  ", sp + sp},
      {"empty input", "", ""},
  };
  for (const auto& c : cases) {
    for (std::size_t buffer : {2, 3, 4096}) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer);
      EXPECT_EQ(correct(c.in, buffer), c.out);
    }
  }
}

TEST(SpacePassTest, LongRunsKeepTheirWidth) {
  // The date line of a page is indented by 33 spaces; longer runs cross every buffer.
  for (std::size_t n : {33u, 200u, 5001u}) {
    SCOPED_TRACE(testing::Message() << n << " spaces");
    std::string expected;
    for (std::size_t i = 0; i < n / 2; ++i) expected += "\x81\x40";
    expected += std::string(n % 2, ' ') + "x\n";
    EXPECT_EQ(correct(std::string(n, ' ') + "x\n", 7), expected);
  }
}

// Mode 3 by its definition: every byte through the classifier; each maximal run of n
// spaces classed Single becomes n / 2 full-width spaces and n % 2 half-width ones.
std::string correct_by_classifier(const std::string& in) {
  sjis::SjisScanner scanner(sjis::code_page_by_number(932), false);
  std::string out;
  int run = 0;
  auto end_run = [&] {
    for (int i = 0; i < run / 2; ++i) out += "\x81\x40";
    if (run % 2) out += ' ';
    run = 0;
  };
  for (const char c : in) {
    if (scanner.classify(static_cast<unsigned char>(c)) == sjis::ByteClass::Single && c == ' ') {
      ++run;
      continue;
    }
    end_run();
    out.push_back(c);
  }
  end_run();
  return out;
}

TEST(SpacePassTest, AgreesWithTheClassifierOnAnyBytes) {
  const unsigned char alphabet[] = {' ', ' ', ' ', 'a', '\n', '\t', 0x81, 0x40, 0x84, 0xA0,
                                    0x88, 0x9F, 0xE0, 0xB1, 0x80, 0xFD, 0x00, 0x0C};
  sjis::TestBytes random(77);
  for (int round = 0; round < 500; ++round) {
    const std::string in = random.draw(alphabet, 80);
    SCOPED_TRACE(round);
    for (std::size_t buffer : {2, 3, 7, 4096}) ASSERT_EQ(correct(in, buffer), correct_by_classifier(in));
  }
}

TEST(SpacePassTest, OtherCodePagesCopyTheText) {
  // 81 40 is the full-width space of code page 932 only: under 1252 it would print as
  // two stray characters, under 936 as an ideograph. The spaces stay as they are.
  for (const long number : {1252L, 936L, 949L, 950L}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(correct("\x84\xA0  \x83  a\n  ", 3, sjis::code_page_by_number(number)),
              "\x84\xA0  \x83  a\n  ");
  }
}

}  // namespace
}  // namespace fullwidth

#include "sjis/full_width.h"

#include <gtest/gtest.h>

namespace sjis {
namespace {

TEST(FullWidthTest, SpecialEntriesAndRules) {
  const struct {
    unsigned char half;
    std::uint16_t full;
  } cases[] = {
      {0x41, 0x8260}, {0x5A, 0x8279}, {0x61, 0x8281}, {0x7A, 0x829A}, {0x30, 0x824F},
      {0x39, 0x8258}, {0x20, 0x8140}, {0x22, 0x8168}, {0x27, 0x8166}, {0x60, 0x8165},
      {0x5C, 0x818F}, {0x7E, 0x8150}, {0x7C, 0x8162}, {0x2D, 0x817C}, {0xA1, 0x8142},
      {0xA4, 0x8141}, {0xA5, 0x8145}, {0xA6, 0x8392}, {0xA7, 0x8340}, {0xAF, 0x8362},
      {0xB0, 0x815B}, {0xB1, 0x8341}, {0xB6, 0x834A}, {0xBF, 0x835C}, {0xC2, 0x8363},
      {0xCB, 0x8371}, {0xD0, 0x837E}, {0xD1, 0x8380}, {0xDC, 0x838F}, {0xDD, 0x8393},
      {0xDE, 0x814A}, {0xDF, 0x814B},
      // No full-width form: the byte itself.
      {0x09, 0x09}, {0x0A, 0x0A}, {0x1F, 0x1F}, {0x7F, 0x7F}, {0x80, 0x80}, {0xA0, 0xA0},
      {0xE0, 0xE0}, {0xFF, 0xFF},
  };
  const CodePage& cp = code_page_by_number(932);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "byte " << int{c.half});
    EXPECT_EQ(to_full_width(cp, c.half), c.full);
  }
}

TEST(FullWidthTest, EveryHalfWidthByteBecomesOneDoubleByteCharacter) {
  const CodePage& cp = code_page_by_number(932);
  int converted = 0;
  for (int b = 0; b < 256; ++b) {
    const std::uint16_t full = to_full_width(cp, static_cast<unsigned char>(b));
    const bool half_width = (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
    SCOPED_TRACE(testing::Message() << std::hex << "byte " << b << " -> " << full);
    if (!half_width) {
      EXPECT_EQ(full, b);
      continue;
    }
    ++converted;
    const int first = full >> 8;
    const int second = full & 0xFF;
    EXPECT_TRUE(first == 0x81 || first == 0x82 || first == 0x83);
    EXPECT_TRUE((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC));
  }
  EXPECT_EQ(converted, 158);
}

TEST(FullWidthTest, OtherCodePagesConvertNothing) {
  for (int number : {1252, 936}) {
    const CodePage& cp = code_page_by_number(number);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(to_full_width(cp, static_cast<unsigned char>(b)), b);
  }
}

}  // namespace
}  // namespace sjis

#include "sjis/code_page.h"

#include <gtest/gtest.h>

namespace sjis {
namespace {

TEST(CodePageTest, SettingSelectsByNumberAndFallsBackTo932) {
  const struct {
    const char* value;
    int number;
  } cases[] = {
      {nullptr, 932}, {"", 932},    {"932", 932},   {"1252", 1252}, {"936", 936},
      {"949", 949},   {"950", 950}, {"65001", 932}, {"abc", 932},   {"1252x", 932},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(unset)");
    EXPECT_EQ(code_page_from_setting(c.value).number, c.number);
  }
}

// The passes copy runs of bytes below 80 without classifying each, which is right only
// while no code page has a lead byte there.
TEST(CodePageTest, NoLeadByteBelow80) {
  for (int number : {932, 936, 949, 950, 1252}) {
    const CodePage& cp = code_page_by_number(number);
    for (int b = 0; b < 0x80; ++b) EXPECT_FALSE(cp.sets[b] & kLead) << number << " " << b;
  }
}

TEST(CodePageTest, ByteSetsOfShiftJis) {
  const CodePage& cp = code_page_by_number(932);
  EXPECT_TRUE(cp.sets[0xB1] & kKana);
  EXPECT_TRUE(cp.sets[0x81] & kLead);
  EXPECT_TRUE(cp.sets[0xFC] & kLead);
  EXPECT_FALSE(cp.sets[0xA0] & (kLead | kKana | kPrintable | kControl));  // a trail byte only
  EXPECT_TRUE(cp.sets[0x7F] & kControl);
  EXPECT_FALSE(cp.sets[0x7F] & kTrail);
  EXPECT_TRUE(cp.sets[0x40] & kTrail);
}

}  // namespace
}  // namespace sjis

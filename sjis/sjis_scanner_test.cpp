#include "sjis/sjis_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sjis {
namespace {

using C = ByteClass;

std::vector<C> classify_all(SjisScanner& s, const std::string& bytes) {
  std::vector<C> out;
  for (char b : bytes) out.push_back(s.classify(static_cast<unsigned char>(b)));
  return out;
}

std::string hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", b);
    out += buf;
  }
  return out;
}

// Every row of the transition table, for every byte value of the row, with a known
// previous class so that the "previous" rows can be told apart.
TEST(SjisScannerTest, TransitionTableUnderCodePage932) {
  const CodePage& cp = code_page_by_number(932);
  auto in = [](int b, int lo, int hi) { return b >= lo && b <= hi; };
  for (int marking = 0; marking < 2; ++marking) {
    for (int b = 0; b < 256; ++b) {
      SCOPED_TRACE(testing::Message() << "byte " << std::hex << b << " marking " << marking);
      // Outside, previous class Trail (after a complete character).
      SjisScanner s(cp, marking != 0);
      s.classify(0x82);
      ASSERT_EQ(s.classify(0xA0), C::Trail);
      C expected;
      bool inside_after = false;
      if (in(b, 0x20, 0x7E) || in(b, 0xA1, 0xDF)) {
        expected = C::Single;
      } else if (in(b, 0x81, 0x9F) || in(b, 0xE0, 0xFC)) {
        expected = C::Lead;
        inside_after = true;
      } else if (in(b, 0x00, 0x1F) || b == 0x7F) {
        expected = marking ? C::Control : C::Trail;
      } else {
        expected = C::Trail;  // 80, A0, FD-FF keep the previous class
      }
      EXPECT_EQ(s.classify(static_cast<unsigned char>(b)), expected);
      EXPECT_EQ(s.inside(), inside_after);

      // Inside, after a lead byte.
      SjisScanner t(cp, marking != 0);
      t.classify(0x88);
      const bool trail = in(b, 0x40, 0x7E) || in(b, 0x80, 0xFC);
      EXPECT_EQ(t.classify(static_cast<unsigned char>(b)), trail ? C::Trail : C::Lead);
      EXPECT_EQ(t.inside(), !trail);
    }
  }
}

TEST(SjisScannerTest, Sequences) {
  const struct {
    const char* what;
    bool marking;
    std::string bytes;
    std::vector<C> classes;
  } cases[] = {
      {"first byte TAB, no marking", false, "\t", {C::Single}},
      {"first byte TAB, marking", true, "\t", {C::Control}},
      {"A TAB char TAB", false, "\x41\x09\x82\xA0\x09", {C::Single, C::Single, C::Lead, C::Trail, C::Trail}},
      {"A TAB char TAB, marking", true, "\x41\x09\x82\xA0\x09",
       {C::Single, C::Control, C::Lead, C::Trail, C::Control}},
      {"81 81", false, "\x81\x81", {C::Lead, C::Trail}},
      {"space does not end a character", false, "\x83\x20\x40", {C::Lead, C::Lead, C::Trail}},
      {"lone lead across a line end", true, "\x88\x0A\x41", {C::Lead, C::Lead, C::Trail}},
      {"kana as trail", false, "\x81\xB1", {C::Lead, C::Trail}},
      {"80 after a letter", false, "a\x80", {C::Single, C::Single}},
      {"80 after a character", false, "\x82\xA0\x80", {C::Lead, C::Trail, C::Trail}},
      {"80 after a control", true, "\x01\x80", {C::Control, C::Control}},
      {"5C as second byte", false, "\x83\x5C\x5C", {C::Lead, C::Trail, C::Single}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what << ": " << hex(c.bytes));
    SjisScanner s(code_page_by_number(932), c.marking);
    EXPECT_EQ(classify_all(s, c.bytes), c.classes);
  }
}

TEST(SjisScannerTest, ResetReturnsToStart) {
  SjisScanner s(code_page_by_number(932), false);
  s.classify(0x88);  // inside
  s.reset();
  EXPECT_FALSE(s.inside());
  EXPECT_EQ(s.classify('\t'), C::Single);  // previous class is Single again
  s.classify(0x82);
  s.classify(0xA0);  // Trail
  s.reset();
  EXPECT_EQ(s.classify(0x80), C::Single);
}

TEST(SjisScannerTest, SingleByteCodePageHasNoDoubleByteCharacters) {
  SjisScanner s(code_page_by_number(1252), false);
  EXPECT_EQ(classify_all(s, "A\x82\xA0\xB1\x09"), (std::vector<C>{C::Single, C::Single, C::Single,
                                                                  C::Single, C::Single}));
  EXPECT_FALSE(s.inside());
  SjisScanner m(code_page_by_number(1252), true);
  EXPECT_EQ(classify_all(m, "\x09\xE0"), (std::vector<C>{C::Control, C::Control}));
}

TEST(SjisScannerTest, OtherDoubleByteCodePagesHaveNoKana) {
  SjisScanner s(code_page_by_number(936), false);
  // B1 is a lead byte under 936, not kana; A1 then completes it.
  EXPECT_EQ(classify_all(s, "\xB1\xA1"), (std::vector<C>{C::Lead, C::Trail}));
}

}  // namespace
}  // namespace sjis

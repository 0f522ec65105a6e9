#include "fullwidth/full_width_pass.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "sjis/byte_io.h"
#include "sjis/full_width.h"
#include "sjis/sjis_scanner.h"
#include "sjis/test_bytes.h"

namespace fullwidth {
namespace {

using Pass = std::function<void(sjis::ByteReader&, sjis::ByteWriter&)>;

// Runs a pass over the bytes in, read through a buffer of the given size so that the
// chunk boundaries fall everywhere. Binary streams: the bytes the pass sees and writes.
std::string run_pass(const Pass& pass, const std::string& in, std::size_t buffer) {
  sjis::StringSource source(in);
  sjis::ByteReader reader(source, sjis::FileMode::Binary, buffer);
  sjis::StringSink sink;
  sjis::ByteWriter writer(sink, sjis::FileMode::Binary, 3);
  pass(reader, writer);
  EXPECT_TRUE(writer.flush());
  return sink.bytes();
}

const sjis::CodePage& cp932() { return sjis::code_page_by_number(932); }

Pass item_names(const sjis::CodePage& cp) {
  return [&cp](sjis::ByteReader& in, sjis::ByteWriter& out) { convert_item_names(cp, in, out); };
}

Pass fields(const sjis::CodePage& cp, std::optional<unsigned char> delimiter, bool quote) {
  return [&cp, delimiter, quote](sjis::ByteReader& in, sjis::ByteWriter& out) {
    convert_fields(cp, delimiter, quote, in, out);
  };
}

constexpr std::size_t kBuffers[] = {2, 3, 7, 4096};

TEST(ItemNamesTest, ConvertsTheFirstFieldOfEachLine) {
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      // Ｎｏ, then the rest of the line as it was.
      {"name before the first TAB", "No\tC\t10\t2\n", "\x82\x6D\x82\x8F\tC\t10\t2\n"},
      // Ｉｔｅｍ　Ａ: the space of a name becomes the full-width space.
      {"space in a name", "Item A\tC\t10\t1\n",
       "\x82\x68\x82\x94\x82\x85\x82\x8D\x81\x40\x82\x60\tC\t10\t1\n"},
      // ＡＢＣ, then ａｂ: every line starts a first field again.
      {"line without TAB, then another line", "ABC\nab\tcd\n",
       "\x82\x60\x82\x61\x82\x62\n\x82\x81\x82\x82\tcd\n"},
      // 顧客
      {"double-byte name is copied", "\x8C\xDA\x8B\x71\tC\t30\t1\n",
       "\x8C\xDA\x8B\x71\tC\t30\t1\n"},
      // ソ (83 5C) and ポ (83 7C): their second bytes are not half-width characters.
      {"trail bytes that look like characters", "\x83\x5C\x83\x7C\t\n", "\x83\x5C\x83\x7C\t\n"},
      // ｶﾞ becomes カ゛: two characters, no combining.
      {"half-width kana one byte at a time", "\xB6\xDE\tC\n", "\x83\x4A\x81\x4A\tC\n"},
      {"no full-width form", "A\x80\xA0\xFD\xFE\xFF\x01\x7F\tB",
       "\x82\x60\x80\xA0\xFD\xFE\xFF\x01\x7F\tB"},
      // A lone lead byte keeps the scanner waiting over the LF: A is its trail byte, B is
      // a character of its own and converted.
      {"lone lead byte at a line end", "\x88\nAB\n", "\x88\nA\x82\x61\n"},
      // The TAB ends the first field by its value even inside an unfinished character.
      {"TAB right after a lone lead byte", "\x88\tAB\n", "\x88\tAB\n"},
      {"empty line", "\n", "\n"},
      {"empty input", "", ""},
  };
  for (const auto& c : cases) {
    for (std::size_t buffer : kBuffers) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer);
      EXPECT_EQ(run_pass(item_names(cp932()), c.in, buffer), c.out);
    }
  }
}

TEST(FieldsTest, ConvertsEveryFieldAndKeepsTheDelimiter) {
  const std::optional<unsigned char> none;
  const struct {
    const char* what;
    std::optional<unsigned char> delimiter;
    bool quote;
    std::string in;
    std::string out;
  } cases[] = {
      // ａｂ,１２
      {"comma", ',', false, "ab,12\n", "\x82\x81\x82\x82,\x82\x50\x82\x51\n"},
      // "ａｂ","１": quotes and comma stay for the formatter.
      {"quote mode", ',', true, "\"ab\",\"1\"\n", "\"\x82\x81\x82\x82\",\"\x82\x50\"\n"},
      // ”ａｂ”,”１”
      {"quotes without quote mode", ',', false, "\"ab\",\"1\"\n",
       "\x81\x68\x82\x81\x82\x82\x81\x68,\x81\x68\x82\x50\x81\x68\n"},
      // アイ, TAB, １２
      {"TAB delimiter and kana", '\t', false, "\xB1\xB2\t12\n",
       "\x83\x41\x83\x43\t\x82\x50\x82\x51\n"},
      // ａ TAB ｂ,ｃ: a TAB has no full-width form.
      {"TAB inside a field", ',', false, "a\tb,c\n", "\x82\x81\t\x82\x82,\x82\x83\n"},
      // ａ ｂ　(the space is the delimiter); with TAB as delimiter ａ　ｂ.
      {"space delimiter", ' ', false, "a b\n", "\x82\x81 \x82\x82\n"},
      {"space in a field", '\t', false, "a b\n", "\x82\x81\x81\x40\x82\x82\n"},
      // ａ，ｂ｜ｃ: without a delimiter every half-width character is converted.
      {"no delimiter", none, false, "a,b|c\n", "\x82\x81\x81\x43\x82\x82\x81\x62\x82\x83\n"},
      // ポ|ａ: the second byte of ポ is 7C, the same as the delimiter, and is not one.
      {"trail byte equal to the delimiter", '|', false, "\x83\x7C|a", "\x83\x7C|\x82\x81"},
      // ソ＜: the second byte of ソ is 5C and stays, the < becomes ＜.
      {"trail byte 5C", ',', false, "\x83\x5C<", "\x83\x5C\x81\x83"},
      {"lone lead byte at a line end", ',', false, "\x88\nAB\n", "\x88\nA\x82\x61\n"},
      {"no full-width form", ',', false, "\x80\xA0\xFD\xFE\xFF\x01\x7F",
       "\x80\xA0\xFD\xFE\xFF\x01\x7F"},
      {"empty line", ',', false, "\n", "\n"},
  };
  for (const auto& c : cases) {
    for (std::size_t buffer : kBuffers) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer);
      EXPECT_EQ(run_pass(fields(cp932(), c.delimiter, c.quote), c.in, buffer), c.out);
    }
  }
}

// Mode 2 by its definition: every byte through the classifier; a byte classed Single is
// converted unless it is the delimiter or, in quote mode, the double quote.
std::string fields_by_classifier(const std::string& in, std::optional<unsigned char> delimiter,
                                 bool quote) {
  sjis::SjisScanner scanner(cp932(), false);
  std::string out;
  for (const char c : in) {
    const auto b = static_cast<unsigned char>(c);
    const bool single = scanner.classify(b) == sjis::ByteClass::Single;
    const std::uint16_t full = sjis::to_full_width(cp932(), b);
    if (single && b != '\n' && b != delimiter && !(quote && b == '"') && full >= 0x100) {
      out.push_back(static_cast<char>(full >> 8));
      out.push_back(static_cast<char>(full & 0xFF));
    } else {
      out.push_back(c);
    }
  }
  return out;
}

TEST(FieldsTest, AgreesWithTheClassifierOnAnyBytes) {
  const unsigned char alphabet[] = {'a', 'Z', '1', ' ', '\t', ',', '"', '\n', 0x0B, 0x00, 0x81,
                                    0x82, 0x88, 0xA0, 0x40, 0x5C, 0xB1, 0xDE, 0x80, 0xE0, 0xFD, 0x7F};
  sjis::TestBytes random(2024);
  for (int round = 0; round < 500; ++round) {
    const std::string in = random.draw(alphabet, 80);
    const std::optional<unsigned char> delimiter =
        round % 3 == 0 ? std::nullopt : std::optional<unsigned char>(round % 3 == 1 ? '\t' : ',');
    const bool quote = round % 2 == 0;
    SCOPED_TRACE(round);
    for (std::size_t buffer : kBuffers) {
      ASSERT_EQ(run_pass(fields(cp932(), delimiter, quote), in, buffer),
                fields_by_classifier(in, delimiter, quote));
    }
  }
}

TEST(FullWidthPassTest, OtherCodePagesCopyTheInput) {
  const std::string in = "Item A\tC\nab,\"1\"\xB1\xB2\n";
  for (int number : {1252, 936}) {
    SCOPED_TRACE(testing::Message() << "code page " << number);
    const sjis::CodePage& cp = sjis::code_page_by_number(number);
    EXPECT_EQ(run_pass(item_names(cp), in, 4096), in);
    EXPECT_EQ(run_pass(fields(cp, ',', false), in, 4096), in);
  }
}

TEST(FullWidthPassTest, ReadErrorEndsThePass) {
  sjis::StringSource source("abcdef", 2, 4);
  sjis::ByteReader reader(source, sjis::FileMode::Binary, 16);
  sjis::StringSink sink;
  sjis::ByteWriter writer(sink, sjis::FileMode::Binary);
  convert_fields(cp932(), ',', false, reader, writer);
  ASSERT_TRUE(writer.flush());
  EXPECT_EQ(sink.bytes(), "\x82\x81\x82\x82\x82\x83\x82\x84");
  EXPECT_TRUE(reader.error());
}

}  // namespace
}  // namespace fullwidth

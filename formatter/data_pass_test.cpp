#include "formatter/data_pass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter/test_layout.h"
#include "sjis/test_bytes.h"

namespace kavrile7 {
namespace {

using namespace std::string_literals;

HeadingSpec heading(unsigned char delimiter, bool quote_mode = false,
                    std::optional<std::int32_t> limit = std::nullopt) {
  HeadingSpec h;
  h.title.assign(1, 'T');
  h.lines_per_page = 30;
  h.delimiter = delimiter;
  h.quote_mode = quote_mode;
  h.record_limit = limit;
  return h;
}

struct PassResult {
  std::string work;
  std::int64_t records = -1;
};

PassResult run_pass(const std::string& data, const HeadingSpec& h, const ColumnLayout& layout,
                    std::size_t buffer = sjis::kStreamBufferSize,
                    DataPassLoop loop = DataPassLoop::Fastest) {
  sjis::StringSource source(data);
  sjis::ByteReader reader(source, sjis::FileMode::Text, buffer);
  sjis::StringSink sink;
  sjis::ByteWriter work(sink, sjis::FileMode::Binary, buffer);
  auto count = run_data_pass(reader, h, layout, sjis::code_page_by_number(932), work, loop);
  PassResult r;
  r.work = sink.bytes();
  if (count.ok()) r.records = count.value();
  return r;
}

std::string fields(int n) {
  std::string line;
  for (int i = 0; i < n; ++i) {
    if (i > 0) line.push_back('\t');
    line.push_back('f');
    line.append(std::to_string(i));
  }
  return line;
}

TEST(DataPassTest, LinesBecomeRecords) {
  // 顧客番号 C 10 2, 顧客名 C 30 1, 備考 E 20 X
  const ColumnLayout customers = make_layout({{2, 10}, {1, 30}, {0}});
  const ColumnLayout two = make_layout({{1}, {2}});
  const ColumnLayout three = make_layout({{1}, {2}, {3}});
  const ColumnLayout one = make_layout({{1}});
  const ColumnLayout first_suppressed = make_layout({{0}, {1}, {2}});
  const ColumnLayout last_suppressed = make_layout({{1}, {2}, {0}});
  const ColumnLayout reversed = make_layout({{2}, {1}});
  std::vector<TestItem> hundred(100, TestItem{0});
  hundred[0].output_order = 1;
  hundred[99].output_order = 2;
  const ColumnLayout wide = make_layout(hundred);
  const std::string long_field(5000, 'z');

  const struct {
    const char* what;
    std::string data;
    HeadingSpec h;
    const ColumnLayout& layout;
    std::string work;
    std::int64_t records;
  } cases[] = {
      {"the customer example", "1001\t\x8E\x52\x93\x63\t\x83\x81\x83\x82\n", heading('\t'), customers,
       "\x8E\x52\x93\x63\x0B" "1001\x0B\n", 1},
      {"empty file", "", heading('\t'), two, "", 0},
      {"CR LF line ends", "a\tb\r\n\r\nc\r\n", heading('\t'), two, "a\x0B" "b\x0B\nc\x0B\n", 2},
      {"last line without LF is kept", "a\nb", heading('\t'), one, "a\x0B\nb\x0B\n", 2},
      {"1A ends the input inside a line", "a\nb\x1A" "c\n", heading('\t'), one, "a\x0B\nb\x0B\n", 2},
      {"only LF lines", "\n\n", heading('\t'), one, "", 0},
      {"record limit counts empty lines", "A\n\nB\nC\n", heading('\t', false, 3), one,
       "A\x0B\nB\x0B\n", 2},
      {"record limit 2 of 5", "a\nb\nc\nd\ne\n", heading('\t', false, 2), one, "a\x0B\nb\x0B\n", 2},
      {"record limit counts a last line without LF", "a\nb\nc", heading('\t', false, 2), one,
       "a\x0B\nb\x0B\n", 2},
      {"record limit 0", "a\nb\n", heading('\t', false, 0), one, "", 0},
      {"record limit -3", "a\n", heading('\t', false, -3), one, "", 0},
      {"only a delimiter", "\t\n", heading('\t'), two, "\x0B\x0B\n", 1},
      {"surplus fields dropped", "a\tb\tc\td\n", heading('\t'), two, "a\x0B" "b\x0B\n", 1},
      {"fields after the 100th dropped", fields(150) + "\n", heading('\t'), wide,
       "f0\x0B" "f99\x0B\n", 1},
      {"last item suppressed, every field", "a\tb\tc\n", heading('\t'), last_suppressed,
       "a\x0B" "b\x0B\n", 1},
      {"short line, output items in order", "x\n", heading('\t'), three, "x\x0B\n", 1},
      {"short line ending in a suppressed field", "s\n", heading('\t'), first_suppressed, "\x0B\n", 1},
      {"short line under a reordered output", "x\n", heading('\t'), reversed, "\x0Bx\x0B\n", 1},
      {"quote mode drops quotes, commas still split", "\"a\",\"b,c\"\n", heading(',', true), three,
       "a\x0B" "b\x0B" "c\x0B\n", 1},
      {"a line of one double quote", "\"\n", heading(',', true), one, "\x0B\n", 1},
      {"double quote kept without quote mode", "\"a\"\n", heading(','), one, "\"a\"\x0B\n", 1},
      {"double quote after a lone lead byte is data", "\x83\"\n", heading(',', true), one,
       "\x83\"\x0B\n", 1},
      {"delimiter after a lone lead byte is data", "\x83,b\n", heading(','), two, "\x83,b\x0B\n", 1},
      {"scanner carries over the line end", "x\x88\n,y\n", heading(','), two,
       "x\x88\x0B\n,y\x0B\n", 2},
      {"delimiter as a trail byte is data", "\x83\x7C" "a|b\n", heading('|'), two,
       "\x83\x7C" "a\x0B" "b\x0B\n", 1},
      {"TAB is data under a comma", "a\tb,c\n", heading(','), two, "a\tb\x0B" "c\x0B\n", 1},
      {"half-width katakana delimiter", "a\xB1" "b\n", heading(0xB1), two, "a\x0B" "b\x0B\n", 1},
      {"bytes 0B and 00 are data", "a\x0B" "b\0c\td\n"s, heading('\t'), two,
       "a\x1A" "b\0c\x0B" "d\x0B\n"s, 1},
      {"delimiter 80 after a letter", "a\x80" "b\n", heading(0x80), two, "a\x0B" "b\x0B\n", 1},
      {"delimiter 80 after a character is data", "\x82\xA0\x80" "b\n", heading(0x80), two,
       "\x82\xA0\x80" "b\x0B\n", 1},
      {"a lead byte never delimits", "a\x88" "b\x88\n", heading(0x88), two, "a\x88" "b\x88\x0B\n", 1},
      {"long field kept whole", long_field + "\tb\n", heading('\t'), two,
       long_field + "\x0B" "b\x0B\n", 1},
  };
  for (const auto& c : cases) {
    for (DataPassLoop loop : {DataPassLoop::Fastest, DataPassLoop::Classifier}) {
      for (std::size_t buffer : {std::size_t{3}, std::size_t{7}, sjis::kStreamBufferSize}) {
        SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer << ", loop "
                                        << static_cast<int>(loop));
        const PassResult r = run_pass(c.data, c.h, c.layout, buffer, loop);
        EXPECT_EQ(r.work, c.work);
        EXPECT_EQ(r.records, c.records);
      }
    }
  }
}

// The fast loop must give exactly the records of the byte-by-byte classifier, for any
// bytes: random lines rich in lead bytes, delimiters, quotes, 0B and CR.
TEST(DataPassTest, FastLoopMatchesTheClassifier) {
  const ColumnLayout layout = make_layout({{2}, {0}, {1}, {3}});
  const unsigned char alphabet[] = {'a', 'b', 'c', 'd', ' ', '\t', ',', '"', '\n', '\r', 0x0B,
                                    0x00, 0x81, 0x82, 0xA0, 0x40, 0x5C, 0xB1, 0x80, 0xE0,
                                    0xFD, 0x7F, 0x1A, 'x', 'y', 'z', '|', 0x93, 0x63};
  sjis::TestBytes random(12345);
  for (int delimiter : {0x09, 0x2C, 0x20, 0x7C, 0xB1, 0x80}) {
    for (bool quote_mode : {false, true}) {
      for (int round = 0; round < 50; ++round) {
        const std::string data = random.draw(alphabet, 400);
        SCOPED_TRACE(testing::Message() << "delimiter " << delimiter << " quote " << quote_mode
                                        << " round " << round);
        const HeadingSpec h = heading(static_cast<unsigned char>(delimiter), quote_mode);
        const PassResult reference = run_pass(data, h, layout, 5, DataPassLoop::Classifier);
        for (std::size_t buffer : {std::size_t{5}, std::size_t{64}, sjis::kStreamBufferSize}) {
          const PassResult fast = run_pass(data, h, layout, buffer, DataPassLoop::Fastest);
          ASSERT_EQ(fast.work, reference.work) << "buffer " << buffer;
          ASSERT_EQ(fast.records, reference.records);
        }
      }
    }
  }
}

TEST(DataPassTest, ReadErrorFails) {
  sjis::StringSource source("a\nb\nc\n", 2, 3);
  sjis::ByteReader reader(source, sjis::FileMode::Text, 4);
  sjis::StringSink sink;
  sjis::ByteWriter work(sink, sjis::FileMode::Binary);
  auto count =
      run_data_pass(reader, heading('\t'), make_layout({{1}}), sjis::code_page_by_number(932), work);
  ASSERT_FALSE(count.ok());
  EXPECT_EQ(count.failure().status, sjis::ExitStatus::Failure);
  EXPECT_EQ(count.failure().message, "");
}

TEST(DataPassTest, WorkFileWriteErrorFails) {
  sjis::StringSource source("a\nb\n");
  sjis::ByteReader reader(source);
  sjis::StringSink sink;
  sink.set_fail(true);
  sjis::ByteWriter work(sink, sjis::FileMode::Binary);
  auto count =
      run_data_pass(reader, heading('\t'), make_layout({{1}}), sjis::code_page_by_number(932), work);
  ASSERT_FALSE(count.ok());
  EXPECT_EQ(count.failure().status, sjis::ExitStatus::Failure);
}

}  // namespace
}  // namespace kavrile7

#include "formatter/plain_records.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrile7 {
namespace {

TEST(PlainRecordsTest, RecordsBecomeDelimitedLines) {
  const struct {
    const char* what;
    unsigned char delimiter;
    int column_count;
    std::string work;
    std::string out;
  } cases[] = {
      {"full record", '\t', 2, "\x8E\x52\x93\x63\x0B" "1001\x0B\n", "\x8E\x52\x93\x63\t1001\r\n"},
      {"one column: no delimiter", ',', 1, "a\x0B\nb\x0B\n", "a\r\nb\r\n"},
      {"short record: a delimiter after each column", ',', 3, "x\x0B\n", "x,\r\n"},
      {"empty columns only", ',', 3, "\x0B\x0B\x0B\n", ",,\r\n"},
      {"empty work file", ',', 2, "", ""},
      {"escaped 0B and a NUL come out as data", '\t', 2, std::string("a\x1A" "b\0\x0B" "c\x0B\n", 8),
       std::string("a\x0B" "b\0\tc\r\n", 8)},
      {"CR in data stays", ';', 2, "a\r\x0B" "b\x0B\n", "a\r;b\r\n"},
      {"katakana delimiter", 0xB1, 2, "a\x0B" "b\x0B\n", "a\xB1" "b\r\n"},
  };
  for (const auto& c : cases) {
    for (std::size_t buffer : {std::size_t{2}, sjis::kStreamBufferSize}) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer);
      sjis::StringSource source(c.work);
      sjis::ByteReader reader(source, sjis::FileMode::Binary, buffer);
      sjis::StringSink sink;
      sjis::ByteWriter out(sink, sjis::FileMode::Text, buffer);
      EXPECT_TRUE(write_plain_records(c.delimiter, c.column_count, reader, out));
      ASSERT_TRUE(out.flush());
      EXPECT_EQ(sink.bytes(), c.out);
    }
  }
}

TEST(PlainRecordsTest, ReadErrorIsReported) {
  sjis::StringSource source("a\x0B\nb\x0B\n", 3, 4);
  sjis::ByteReader reader(source, sjis::FileMode::Binary, 4);
  sjis::StringSink sink;
  sjis::ByteWriter out(sink);
  EXPECT_FALSE(write_plain_records(',', 1, reader, out));
}

}  // namespace
}  // namespace kavrile7

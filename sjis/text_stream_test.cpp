#include "sjis/text_stream.h"

#include <gtest/gtest.h>

#include <string>

namespace sjis {
namespace {

std::string read_all(ByteReader& r) {
  std::string out;
  for (int c; (c = r.get()) >= 0;) out.push_back(static_cast<char>(c));
  return out;
}

TEST(ByteReaderTest, TextTranslation) {
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      {"CR LF is one LF", "a\r\nb\r\n", "a\nb\n"},
      {"LF alone", "a\nb", "a\nb"},
      {"lone CR unchanged", "a\rb\r", "a\rb\r"},
      {"CR CR LF", "a\r\r\n", "a\r\n"},
      {"1A ends the input", std::string("ab\x1A" "cd\r\n", 7), "ab"},
      {"CR before 1A", std::string("a\r\x1A\n", 4), "a\r"},
      {"1A first", std::string("\x1A" "abc", 4), ""},
      {"NUL is data", std::string("a\0b", 3), std::string("a\0b", 3)},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    // Every buffer size and chunking, so that CR LF and 1A fall on every boundary.
    for (std::size_t buffer : {2, 3, 4, 64}) {
      for (std::size_t chunk : {1, 2, 3, 1000}) {
        SCOPED_TRACE(testing::Message() << c.what << ", buffer " << buffer << ", chunk " << chunk);
        StringSource source(c.in, chunk);
        ByteReader reader(source, FileMode::Text, buffer);
        EXPECT_EQ(read_all(reader), c.out);
        EXPECT_FALSE(reader.error());
      }
    }
  }
}

TEST(ByteReaderTest, NothingIsReadAfter1A) {
  // A source that fails after the 1A would report an error if the reader went on.
  StringSource source(std::string("ab\x1A" "cd", 5), 3, 3);
  ByteReader reader(source, FileMode::Text, 8);
  EXPECT_EQ(read_all(reader), "ab");
  EXPECT_FALSE(reader.error());
}

TEST(ByteReaderTest, BinaryModeKeepsEveryByte) {
  const std::string in("a\r\n\x1A\x0B" "b", 6);
  StringSource source(in, 2);
  ByteReader reader(source, FileMode::Binary, 4);
  EXPECT_EQ(read_all(reader), in);
}

TEST(ByteReaderTest, ReadErrorIsToldApartFromTheEnd) {
  StringSource source("abcdef", 2, 4);
  ByteReader reader(source, FileMode::Text, 16);
  EXPECT_EQ(read_all(reader), "abcd");
  EXPECT_TRUE(reader.error());
}

TEST(ByteReaderTest, ChunksDeliverTheSameBytesAsGet) {
  StringSource source("ab\r\ncd\re\r", 3);
  ByteReader reader(source, FileMode::Text, 4);
  std::string out;
  for (std::string_view chunk; !(chunk = reader.peek_chunk()).empty();) {
    out += chunk;
    reader.skip(chunk.size());
  }
  EXPECT_EQ(out, "ab\ncd\re\r");
}

TEST(ByteWriterTest, TextModeWritesLfAsCrLf) {
  for (std::size_t buffer : {2, 3, 64}) {
    SCOPED_TRACE(buffer);
    StringSink sink;
    ByteWriter w(sink, FileMode::Text, buffer);
    w.put('a');
    w.put('\n');
    w.write("b\x0B\x0C\r\nc\n");
    w.fill(' ', 3);
    w.fill('\n', 2);
    ASSERT_TRUE(w.flush());
    EXPECT_EQ(sink.bytes(), "a\r\nb\x0B\x0C\r\r\nc\r\n   \r\n\r\n");
  }
}

TEST(ByteWriterTest, BinaryModeWritesBytesAsTheyAre) {
  StringSink sink;
  ByteWriter w(sink, FileMode::Binary, 4);
  w.write("a\nb\r\n");
  w.put('\n');
  ASSERT_TRUE(w.flush());
  EXPECT_EQ(sink.bytes(), "a\nb\r\n\n");
}

TEST(ByteWriterTest, FailedWriteIsReported) {
  StringSink sink;
  ByteWriter w(sink, FileMode::Text, 4);
  w.write("ab");
  ASSERT_TRUE(w.flush());
  sink.set_fail(true);
  w.write("cdefgh");
  EXPECT_TRUE(w.failed());
  sink.set_fail(false);
  w.write("ij");
  EXPECT_FALSE(w.flush());  // a failure stays reported
  EXPECT_EQ(sink.bytes(), "ab");
}

}  // namespace
}  // namespace sjis

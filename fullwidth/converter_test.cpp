#include "fullwidth/converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fullwidth {
namespace {

const sjis::CodePage& cp932() { return sjis::code_page_by_number(932); }

// " が見つかりません。" after the path, then the line end.
const std::string kNotFound =
    " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81"
    "B";

ConverterSettings settings_for(ConverterMode mode, std::optional<unsigned char> delimiter = ',') {
  ConverterSettings settings;
  settings.mode = mode;
  settings.delimiter = delimiter;
  settings.text_file = "in.txt";
  return settings;
}

TEST(ConvertTextTest, RunsThePassOfTheMode) {
  // The same text through each mode, read and written as text files.
  const std::string in = "a  b,c\r\nd\tef\r\n\x1A  ignored";
  const struct {
    ConverterMode mode;
    std::string out;
  } cases[] = {
      // ａ　　ｂ，ｃ / ｄ then the rest of the line.
      {ConverterMode::ItemNames,
       "\x82\x81\x81\x40\x81\x40\x82\x82\x81\x43\x82\x83\r\n\x82\x84\tef\r\n"},
      // ａ　　ｂ,ｃ / ｄ TAB ｅｆ
      {ConverterMode::Fields,
       "\x82\x81\x81\x40\x81\x40\x82\x82,\x82\x83\r\n\x82\x84\t\x82\x85\x82\x86\r\n"},
      {ConverterMode::SpaceCorrection,
       "a\x81\x40"
       "b,c\r\nd\tef\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode));
    sjis::StringSource source(in);
    sjis::StringSink sink;
    sjis::ByteWriter out(sink, sjis::FileMode::Text);
    EXPECT_FALSE(convert_text(settings_for(c.mode), cp932(), source, out).has_value());
    ASSERT_TRUE(out.flush());
    EXPECT_EQ(sink.bytes(), c.out);
  }
}

TEST(ConvertTextTest, TextThatCannotBeReadCountsAsNotFound) {
  sjis::StringSource source("abc", 100, 0);
  sjis::StringSink sink;
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  const std::optional<sjis::Failure> failure =
      convert_text(settings_for(ConverterMode::Fields), cp932(), source, out);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->status, sjis::ExitStatus::Failure);
  EXPECT_EQ(failure->message, "in.txt" + kNotFound + "\n");
  ASSERT_TRUE(out.flush());
  EXPECT_EQ(sink.bytes(), "");
}

TEST(ConvertTextTest, ReadErrorInTheMiddleFailsAfterTheConvertedStart) {
  for (ConverterMode mode :
       {ConverterMode::ItemNames, ConverterMode::Fields, ConverterMode::SpaceCorrection}) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode));
    sjis::StringSource source("xy\nxy\nxy\n", 3, 6);
    sjis::StringSink sink;
    sjis::ByteWriter out(sink, sjis::FileMode::Binary);
    const std::optional<sjis::Failure> failure =
        convert_text(settings_for(mode), cp932(), source, out);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->status, sjis::ExitStatus::Failure);
    EXPECT_EQ(failure->message, "");
    ASSERT_TRUE(out.flush());
    EXPECT_EQ(sink.bytes().back(), '\n');  // two lines were converted before the error
  }
}

TEST(ConvertTextTest, EmptyTextGivesNoOutput) {
  sjis::StringSource source("");
  sjis::StringSink sink;
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  EXPECT_FALSE(convert_text(settings_for(ConverterMode::ItemNames), cp932(), source, out));
  ASSERT_TRUE(out.flush());
  EXPECT_EQ(sink.bytes(), "");
}

sjis::ExitStatus run_with(std::vector<const char*> args, sjis::StringSink& sink) {
  args.insert(args.begin(), "Kavzuno7");
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  return run(static_cast<int>(args.size()), args.data(), out);
}

TEST(ConverterRunTest, UsageTextAndStatus255ForTooFewArguments) {
  sjis::StringSink sink;
  EXPECT_EQ(run_with({"1", "t"}, sink), sjis::ExitStatus::Usage);
  // The text stream writes each LF as CR LF.
  std::string expected;
  for (char c : usage_text()) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  EXPECT_EQ(sink.bytes(), expected);
}

TEST(ConverterRunTest, FileThatCannotBeOpenedWhateverTheMode) {
  const struct {
    const char* mode;
    const char* code;
    const char* path;
  } cases[] = {
      {"1", "t", "no such file.txt"},
      {"x", "Z", "no such file.txt"},
      // The path is written as it was typed, never taken as a format.
      {"2", "q", "%s%n%d"},
      // A directory opens on some systems but cannot be read as a file.
      {"3", "c", "."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    sjis::StringSink sink;
    EXPECT_EQ(run_with({c.mode, c.code, c.path}, sink), sjis::ExitStatus::Failure);
    EXPECT_EQ(sink.bytes(), c.path + kNotFound + "\r\n");
  }
}

TEST(ConverterRunTest, FailedWriteKeepsTheStatusOfTheFirstProblem) {
  sjis::StringSink sink;
  sink.set_fail(true);
  EXPECT_EQ(run_with({"1"}, sink), sjis::ExitStatus::Usage);
  EXPECT_EQ(run_with({"1", "t", "no such file.txt"}, sink), sjis::ExitStatus::Failure);
}

}  // namespace
}  // namespace fullwidth

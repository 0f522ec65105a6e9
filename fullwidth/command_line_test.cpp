#include "fullwidth/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sjis/code_page.h"
#include "sjis/sjis_scanner.h"

namespace fullwidth {
namespace {

sjis::Outcome<ConverterSettings> parse(std::vector<const char*> args) {
  args.insert(args.begin(), "Kavzuno7");
  return parse_command_line(static_cast<int>(args.size()), args.data());
}

TEST(ConverterCommandLineTest, TooFewArgumentsGiveTheUsageText) {
  const std::vector<std::vector<const char*>> cases = {{}, {"1"}, {"1", "t"}};
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::Message() << args.size() << " arguments");
    const sjis::Outcome<ConverterSettings> result = parse(args);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().status, sjis::ExitStatus::Usage);
    EXPECT_EQ(result.failure().message, usage_text());
  }
}

TEST(ConverterCommandLineTest, ModeIsTheFirstByteOfTheFirstArgument) {
  const struct {
    const char* arg;
    ConverterMode mode;
  } cases[] = {
      {"1", ConverterMode::ItemNames},       {"1abc", ConverterMode::ItemNames},
      {"2", ConverterMode::Fields},          {"2x", ConverterMode::Fields},
      {"3", ConverterMode::SpaceCorrection}, {"9", ConverterMode::SpaceCorrection},
      {"x", ConverterMode::SpaceCorrection}, {"", ConverterMode::SpaceCorrection},
      {"12", ConverterMode::ItemNames},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode argument '" << c.arg << "'");
    const sjis::Outcome<ConverterSettings> result = parse({c.arg, "t", "data.txt"});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().mode, c.mode);
  }
}

TEST(ConverterCommandLineTest, DelimiterCodes) {
  const std::optional<unsigned char> none;
  const struct {
    const char* arg;
    std::optional<unsigned char> delimiter;
    bool quote;
  } cases[] = {
      {"t", '\t', false},
      {"s", ' ', false},
      {"c", ',', false},
      {"q", ',', true},
      {"p", '|', false},
      {"l", '<', false},
      {"r", '>', false},
      {"tab", '\t', false},
      // Upper case, the delimiter itself and an empty argument are none of the codes.
      {"T", none, false},
      {"Q", none, false},
      {",", none, false},
      {"", none, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "delimiter code '" << c.arg << "'");
    const sjis::Outcome<ConverterSettings> result = parse({"2", c.arg, "data.txt"});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().delimiter, c.delimiter);
    EXPECT_EQ(result.value().quote_mode, c.quote);
  }
}

TEST(ConverterCommandLineTest, TextFileIsTakenAsTypedAndLaterArgumentsAreIgnored) {
  const sjis::Outcome<ConverterSettings> result =
      parse({"3", "c", " my %s file.txt", "extra", "more"});
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.value().text_file, " my %s file.txt");
  EXPECT_EQ(result.value().mode, ConverterMode::SpaceCorrection);
}

// The usage text's lines, each with its LF.
std::vector<std::string> usage_lines() {
  std::vector<std::string> lines;
  std::string_view text = usage_text();
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      lines.emplace_back(text);  // a last line without LF fails the checks below
      break;
    }
    lines.emplace_back(text.substr(0, end + 1));
    text.remove_prefix(end + 1);
  }
  return lines;
}

TEST(ConverterUsageTextTest, TwentyLinesOfTheRightLengths) {
  const std::vector<std::string> lines = usage_lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "\n");
  // Lengths with the line end counted as one byte; the 80-byte lines fill the width of a
  // console exactly.
  const std::size_t lengths[] = {1,  64, 80, 80, 80, 80, 80, 77, 80, 19,
                                 80, 80, 63, 14, 80, 51, 20, 80, 17, 80};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "line " << i + 1);
    EXPECT_EQ(lines[i].size(), lengths[i]);
    EXPECT_EQ(lines[i].back(), '\n');
    // Written as plain text: nothing a printf would expand.
    EXPECT_EQ(lines[i].find('%'), std::string::npos);
  }
}

TEST(ConverterUsageTextTest, EveryLineEndsOutsideADoubleByteCharacter) {
  // Miscounted or mis-encoded bytes would leave a double-byte character open at a line
  // end or break one apart.
  const sjis::CodePage& cp = sjis::code_page_by_number(932);
  for (const std::string& line : usage_lines()) {
    SCOPED_TRACE(line);
    sjis::SjisScanner scanner(cp, /*control_marking=*/true);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
      scanner.classify(static_cast<unsigned char>(line[i]));
    }
    EXPECT_FALSE(scanner.inside());
    EXPECT_EQ(scanner.classify('\n'), sjis::ByteClass::Control);
  }
}

TEST(ConverterUsageTextTest, FixedLinesAndHalfWidthKana) {
  const std::vector<std::string> lines = usage_lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[2], " " + std::string(68, '-') + "2001/7/18-\n");
  EXPECT_EQ(lines[8], " " + std::string(78, '-') + "\n");
  EXPECT_EQ(lines[19], lines[8]);
  // " ◆使い方  Kavzuno7 1または2または3 区切り文字 テキストファイル"
  EXPECT_EQ(lines[1],
            " \x81\x9F\x8Eg\x82\xA2\x95\xFB  Kavzuno7 1\x82\xDC\x82\xBD\x82\xCD"
            "2\x82\xDC\x82\xBD\x82\xCD"
            "3 \x8B\xE6\x90\xD8\x82\xE8\x95\xB6\x8E\x9A \x83"
            "e\x83L\x83X\x83g\x83t\x83@\x83"
            "C\x83\x8B\n");
  // ｺﾏﾝﾄﾞ as five single bytes, after the half-width comma ､.
  EXPECT_NE(lines[3].find("\xA4Kavrile7\xBA\xCF\xDD\xC4\xDE"), std::string::npos);
  // Line 12 ends in ｺﾏﾝﾄ and its sound mark ﾞ opens line 13.
  EXPECT_EQ(lines[11].substr(lines[11].size() - 5), "\xBA\xCF\xDD\xC4\n");
  EXPECT_EQ(lines[12].substr(0, 4), "   \xDE");
  // Line 15 ends in the full-width comma 、, line 16 in the full-width full stop 。.
  EXPECT_EQ(lines[14].substr(lines[14].size() - 4), "s\x81\x41\n");
  EXPECT_EQ(lines[15].substr(lines[15].size() - 3), "\x81\x42\n");
}

}  // namespace
}  // namespace fullwidth

#include "formatter/date_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrile7 {
namespace {

std::tm local_time(int year, int month, int day, int hour, int minute, int weekday) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = 59;
  t.tm_wday = weekday;
  return t;
}

// Code page 932 bytes.
const std::string kHeisei = "\x95\xBD\x90\xAC";  // 平成
const std::string kReiwa = "\x97\xDF\x98\x61";   // 令和
const std::string kYear = "\x94\x4E";            // 年
const std::string kMonth = "\x8C\x8E";           // 月
const std::string kDay = "\x93\xFA";             // 日

std::string date(const std::string& era, const std::string& year, const std::string& month,
                 const std::string& day, const std::string& weekday) {
  return era + year + kYear + month + kMonth + day + kDay + "(" + weekday + ")\n";
}

TEST(DateTextTest, FormsByDateKind) {
  const std::tm friday = local_time(2002, 3, 8, 9, 5, 5);
  const std::tm midnight = local_time(2002, 3, 8, 0, 0, 5);
  const struct {
    const char* what;
    std::optional<unsigned char> kind;
    std::tm local;
    std::string text;
  } cases[] = {
      {"none: date and time", {}, friday, "2002/3/8 9:5\n"},
      {"R: date and time", 'R', friday, "2002/3/8 9:5\n"},
      {"other byte: date and time", 'x', friday, "2002/3/8 9:5\n"},
      {"lower-case j: date and time", 'j', friday, "2002/3/8 9:5\n"},
      {"lower-case d: date and time", 'd', friday, "2002/3/8 9:5\n"},
      {"midnight", 'R', midnight, "2002/3/8 0:0\n"},
      {"S", 'S', friday, "2002/3/8\n"},
      {"D", 'D', friday, date("", "2002", "3", "8", "\x8B\xE0")},  // 金
      {"D, two-digit month and day", 'D', local_time(2002, 10, 13, 12, 0, 0),
       date("", "2002", "10", "13", "\x93\xFA")},  // 日
      {"T", 'T', friday,
       "9\x8E\x9E"
       "5\x95\xAA\n"},  // 9時5分
      {"T at midnight", 'T', midnight,
       "0\x8E\x9E"
       "0\x95\xAA\n"},  // 0時0分
      {"T late", 'T', local_time(2002, 3, 8, 23, 59, 5),
       "23\x8E\x9E"
       "59\x95\xAA\n"},
      {"N: no date text", 'N', friday, ""},
      {"J in 2002", 'J', friday, date(kHeisei, "14", "3", "8", "\x8B\xE0")},
      {"J on 1 January 1990", 'J', local_time(1990, 1, 1, 0, 0, 1),
       date(kHeisei, "2", "1", "1", "\x8C\x8E")},  // 月
      {"J on 31 December 1989: date and time", 'J', local_time(1989, 12, 31, 23, 59, 0),
       "1989/12/31 23:59\n"},
      {"J on 30 April 2019: last day of Heisei", 'J', local_time(2019, 4, 30, 23, 59, 2),
       date(kHeisei, "31", "4", "30", "\x89\xCE")},  // 火
      {"J on 1 May 2019: first day of Reiwa", 'J', local_time(2019, 5, 1, 0, 0, 3),
       date(kReiwa, "1", "5", "1", "\x90\x85")},  // 水
      {"J in 2026", 'J', local_time(2026, 1, 10, 8, 0, 6),
       date(kReiwa, "8", "1", "10", "\x93\x79")},  // 土
      {"D on a Thursday", 'D', local_time(2024, 2, 29, 8, 0, 4),
       date("", "2024", "2", "29", "\x96\xD8")},  // 木
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(build_date_text(c.kind, c.local), c.text);
  }
}

TEST(DateTextTest, YearsUpToTheLastTheClockCanExpress) {
  // localtime_r gives tm_year up to INT_MAX for a clock set far enough ahead.
  std::tm last{};
  last.tm_year = 2147483647;
  last.tm_mon = 11;
  last.tm_mday = 31;
  EXPECT_EQ(build_date_text('S', last), "2147485547/12/31\n");
  EXPECT_EQ(build_date_text('J', last), date(kReiwa, "2147483529", "12", "31", "\x93\xFA"));
}

TEST(DateTextTest, WithoutAClockTheDateLineIsBlank) {
  EXPECT_EQ(date_text_without_clock({}), "\n");
  EXPECT_EQ(date_text_without_clock('J'), "\n");
  EXPECT_EQ(date_text_without_clock('N'), "");
}

}  // namespace
}  // namespace kavrile7

#include "formatter/date_text.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kavrile7 {
namespace {

// 日 月 火 水 木 金 土, by tm_wday.
constexpr std::array<std::string_view, 7> kWeekdays = {
    "\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85", "\x96\xD8", "\x8B\xE0", "\x93\x79",
};

constexpr std::string_view kHeisei = "\x95\xBD\x90\xAC";  // 平成
constexpr std::string_view kReiwa = "\x97\xDF\x98\x61";   // 令和
constexpr std::string_view kYear = "\x94\x4E";            // 年
constexpr std::string_view kMonth = "\x8C\x8E";           // 月
constexpr std::string_view kDay = "\x93\xFA";             // 日
constexpr std::string_view kHour = "\x8E\x9E";            // 時
constexpr std::string_view kMinute = "\x95\xAA";          // 分

// The clock reading in the form the date texts print it.
struct ClockReading {
  std::int64_t year;  // wide enough for the last year the clock can express, 2^31 + 1899
  int month;          // 1 to 12
  int day;
  int hour;
  int minute;
  std::string_view weekday;
};

// "<year>年<month>月<day>日(<weekday>)\n", after the era name when there is one.
std::string japanese_date(std::string_view era, std::int64_t year, const ClockReading& r) {
  std::string text(era);
  text += std::to_string(year);
  text += kYear;
  text += std::to_string(r.month);
  text += kMonth;
  text += std::to_string(r.day);
  text += kDay;
  text += '(';
  text += r.weekday;
  text += ")\n";
  return text;
}

std::string slashed_date(const ClockReading& r) {
  return std::to_string(r.year) + '/' + std::to_string(r.month) + '/' + std::to_string(r.day);
}

std::string date_and_time(const ClockReading& r) {
  return slashed_date(r) + ' ' + std::to_string(r.hour) + ':' + std::to_string(r.minute) + '\n';
}

}  // namespace

std::string build_date_text(std::optional<unsigned char> date_kind, const std::tm& local) {
  const ClockReading r{std::int64_t{local.tm_year} + 1900,
                       local.tm_mon + 1,
                       local.tm_mday,
                       local.tm_hour,
                       local.tm_min,
                       kWeekdays[static_cast<unsigned>(local.tm_wday) % 7]};
  switch (date_kind.value_or(0)) {
    case 'J':
      // The Reiwa era began on 1 May 2019; Heisei stands for the dates before it.
      if (r.year > 2019 || (r.year == 2019 && r.month >= 5)) {
        return japanese_date(kReiwa, r.year - 2018, r);
      }
      if (r.year >= 1990) return japanese_date(kHeisei, r.year - 1988, r);
      return date_and_time(r);
    case 'S':
      return slashed_date(r) + '\n';
    case 'D':
      return japanese_date({}, r.year, r);
    case 'T':
      return std::to_string(r.hour) + std::string(kHour) + std::to_string(r.minute) +
             std::string(kMinute) + '\n';
    case 'N':
      return {};
    default:
      return date_and_time(r);
  }
}

std::string date_text_without_clock(std::optional<unsigned char> date_kind) {
  return date_kind == 'N' ? std::string() : std::string("\n");
}

}  // namespace kavrile7

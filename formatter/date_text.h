#ifndef KAV_FORMATTER_DATE_TEXT_H_
#define KAV_FORMATTER_DATE_TEXT_H_

#include <ctime>
#include <optional>
#include <string>

namespace kavrile7 {

// The date stamp printed above the title of every page, as code page 932 bytes ending in
// LF, built from the local time by the date kind (first byte only, case-sensitive):
//   J  era date with weekday: 令和 from 1 May 2019 (year - 2018), 平成 from 1990 until
//      then (year - 1988); before 1990 the default form
//   S  2002/3/8
//   D  2002年3月8日(金)
//   T  9時5分
//   N  no date line: the empty string
//   any other byte, or none: 2002/3/8 9:5
// Numbers carry no leading zeros and no filling spaces. local must hold a normalised
// local time, as localtime_r gives it (tm_wday 0 to 6, tm_mon 0 to 11).
std::string build_date_text(std::optional<unsigned char> date_kind, const std::tm& local);

// The date text when the clock cannot be read or expressed in local time: a bare LF, so
// that the pages keep their shape with a blank date line instead of a wrong date; the
// empty string for date kind N.
std::string date_text_without_clock(std::optional<unsigned char> date_kind);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_DATE_TEXT_H_

#ifndef KAV_FORMATTER_MESSAGES_H_
#define KAV_FORMATTER_MESSAGES_H_

#include <string>
#include <string_view>

#include "sjis/outcome.h"

namespace kavrile7 {

// The formatter's messages, as code page 932 bytes with LF line ends.

// " が見つかりません｡\n": follows the path of an input file that cannot be read.
inline constexpr std::string_view kNotFoundSuffix =
    " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\xA1\n";

// "見出しファイルの内容に間違いがあります｡\n"
inline constexpr std::string_view kHeadingContentMessage =
    "\x8C\xA9\x8F\x6F\x82\xB5\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xE0\x97\x65\x82\xC9"
    "\x8A\xD4\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\n";

// "書式ファイルの内容に間違いがあります｡\n"
inline constexpr std::string_view kFormatContentMessage =
    "\x8F\x91\x8E\xAE\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xE0\x97\x65\x82\xC9\x8A\xD4"
    "\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\n";

// "罫線データの出力合計桁数が半角512文字を越えています｡\n"
inline constexpr std::string_view kTotalWidthMessage =
    "\x8C\x72\x90\xFC\x83\x66\x81\x5B\x83\x5E\x82\xCC\x8F\x6F\x97\xCD\x8D\x87\x8C\x76\x8C\x85"
    "\x90\x94\x82\xAA\x94\xBC\x8A\x70"
    "512\x95\xB6\x8E\x9A\x82\xF0\x89\x7A\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7\xA1\n";

// "書式ファイルの出力順に間違いがあります｡\n"
inline constexpr std::string_view kOutputOrderMessage =
    "\x8F\x91\x8E\xAE\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x6F\x97\xCD\x8F\x87\x82\xC9"
    "\x8A\xD4\x88\xE1\x82\xA2\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\xA1\n";

// The failure for an input file that cannot be opened or read: the path exactly as
// typed (its bytes as they stand), then kNotFoundSuffix; exit status 1.
inline sjis::Failure not_found(std::string_view path) {
  std::string message(path);
  message += kNotFoundSuffix;
  return {std::move(message), sjis::ExitStatus::Failure};
}

// A failure with one of the fixed messages above; exit status 1.
inline sjis::Failure failure_with(std::string_view message) {
  return {std::string(message), sjis::ExitStatus::Failure};
}

}  // namespace kavrile7

#endif  // KAV_FORMATTER_MESSAGES_H_

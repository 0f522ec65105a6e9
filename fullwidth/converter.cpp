#include "fullwidth/converter.h"

#include <string>
#include <string_view>
#include <utility>

#include "fullwidth/full_width_pass.h"
#include "fullwidth/space_pass.h"

namespace fullwidth {
namespace {

// "%s が見つかりません。\n" with the path in place of %s, written as bytes: the path is
// never taken as a format.
sjis::Failure not_found(std::string_view path) {
  std::string message(path);
  // " が見つかりません。\n"
  message +=
      " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81"
      "B\n";
  return sjis::Failure{std::move(message), sjis::ExitStatus::Failure};
}

// The phases of a run in order; the first failure ends it.
std::optional<sjis::Failure> convert_file(int argc, const char* const* argv,
                                          sjis::ByteWriter& out) {
  const sjis::Outcome<ConverterSettings> settings = parse_command_line(argc, argv);
  if (!settings.ok()) return settings.failure();
  const sjis::CodePage& code_page = sjis::code_page_from_environment();
  sjis::InputFile file;
  if (!file.open(settings.value().text_file)) return not_found(settings.value().text_file);
  sjis::FdSource source(file.fd());
  return convert_text(settings.value(), code_page, source, out);
}

}  // namespace

std::optional<sjis::Failure> convert_text(const ConverterSettings& settings,
                                          const sjis::CodePage& code_page, sjis::ByteSource& source,
                                          sjis::ByteWriter& out) {
  sjis::ByteReader in(source, sjis::FileMode::Text);
  // A path that opens but cannot be read counts as one that cannot be opened; nothing has
  // been written yet.
  if (in.peek_chunk().empty() && in.error()) return not_found(settings.text_file);
  switch (settings.mode) {
    case ConverterMode::ItemNames:
      convert_item_names(code_page, in, out);
      break;
    case ConverterMode::Fields:
      convert_fields(code_page, settings.delimiter, settings.quote_mode, in, out);
      break;
    case ConverterMode::SpaceCorrection:
      correct_spaces(code_page, in, out);
      break;
  }
  // A text cut short is not a converted file, even though its start has been written.
  if (in.error()) return sjis::Failure{"", sjis::ExitStatus::Failure};
  return std::nullopt;
}

sjis::ExitStatus run(int argc, const char* const* argv, sjis::ByteWriter& out) {
  const std::optional<sjis::Failure> failure = convert_file(argc, argv, out);
  if (failure) {
    // The first problem decides the status, even when its message cannot be written.
    out.write(failure->message);
    out.flush();
    return failure->status;
  }
  return out.flush() ? sjis::ExitStatus::Success : sjis::ExitStatus::Failure;
}

int run(int argc, char** argv) {
  sjis::prepare_standard_streams();
  sjis::FdSink sink(1);
  sjis::ByteWriter out(sink, sjis::FileMode::Text);
  return static_cast<int>(run(argc, argv, out));
}

}  // namespace fullwidth

#include "formatter/command_line.h"

#include <ctime>
#include <string>

#include "formatter/date_text.h"
#include "formatter/format_file.h"
#include "formatter/frame_lines.h"
#include "formatter/heading_file.h"
#include "formatter/listing.h"
#include "formatter/messages.h"
#include "sjis/code_page.h"
#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace kavrile7 {
namespace {

constexpr std::string_view kUsageText =
    // 1: (empty line)
    "\n"
    // 2:  ◆使い方  Kavrile7 見出しﾌｧｲﾙ 書式ﾌｧｲﾙ ﾃﾞｰﾀﾌｧｲﾙ PまたはNまたはV
    " \x81\x9F\x8E\x67\x82\xA2\x95\xFB  Kavrile7 \x8C\xA9\x8F\x6F\x82\xB5\xCC\xA7\xB2\xD9 "
    "\x8F\x91\x8E\xAE\xCC\xA7\xB2\xD9 \xC3\xDE\xB0\xC0\xCC\xA7\xB2\xD9 P\x82\xDC\x82\xBD"
    "\x82\xCDN\x82\xDC\x82\xBD\x82\xCDV\n"
    // 3:  ---------------------------------------------------------------------2002/3/8-
    " ---------------------------------------------------------------------2002/3/8-\n"
    // 4:  以下の[Tab] は、タブキーを表す。
    " \x88\xC8\x89\xBA\x82\xCC[Tab] \x82\xCD\x81\x41\x83\x5E\x83\x75\x83\x4C\x81\x5B\x82\xF0"
    "\x95\x5C\x82\xB7\x81\x42\n"
    // 5:  ◆見出しﾌｧｲﾙの内容
    " \x81\x9F\x8C\xA9\x8F\x6F\x82\xB5\xCC\xA7\xB2\xD9\x82\xCC\x93\xE0\x97\x65\n"
    // 6:    見出しと1ページあたりの行数､半角1文字(ﾀﾌﾞはt､ｽﾍﾟｰｽはs､CSVはc､QSVはq)の区切り
    "   \x8C\xA9\x8F\x6F\x82\xB5\x82\xC6"
    "1\x83\x79\x81\x5B\x83\x57\x82\xA0\x82\xBD\x82\xE8"
    "\x82\xCC\x8D\x73\x90\x94\xA4\x94\xBC\x8A\x70"
    "1\x95\xB6\x8E\x9A(\xC0\xCC\xDE\x82\xCDt\xA4"
    "\xBD\xCD\xDF\xB0\xBD\x82\xCDs\xA4"
    "CSV\x82\xCD"
    "c\xA4QSV\x82\xCDq)\x82\xCC\x8B\xE6"
    "\x90\xD8\x82\xE8\n"
    // 7:    文字と日付(日と時はR､日はD､時はT､無はN)､見出し境界線種(標準はR､太線はB)､ﾃﾞｰﾀ
    "   \x95\xB6\x8E\x9A\x82\xC6\x93\xFA\x95\x74(\x93\xFA\x82\xC6\x8E\x9E\x82\xCDR\xA4\x93\xFA"
    "\x82\xCD"
    "D\xA4\x8E\x9E\x82\xCDT\xA4\x96\xB3\x82\xCDN)\xA4\x8C\xA9\x8F\x6F\x82\xB5"
    "\x8B\xAB\x8A\x45\x90\xFC\x8E\xED(\x95\x57\x8F\x80\x82\xCDR\xA4\x91\xBE\x90\xFC\x82\xCD"
    "B"
    ")\xA4\xC3\xDE\xB0\xC0\n"
    // 8:    件数制限(制限有は任意の数字､制限無が標準で入力しない)を指定｡なお､日付､見出し
    "   \x8C\x8F\x90\x94\x90\xA7\x8C\xC0(\x90\xA7\x8C\xC0\x97\x4C\x82\xCD\x94\x43\x88\xD3"
    "\x82\xCC\x90\x94\x8E\x9A\xA4\x90\xA7\x8C\xC0\x96\xB3\x82\xAA\x95\x57\x8F\x80\x82\xC5"
    "\x93\xFC\x97\xCD\x82\xB5\x82\xC8\x82\xA2)\x82\xF0\x8E\x77\x92\xE8\xA1\x82\xC8\x82\xA8\xA4"
    "\x93\xFA\x95\x74\xA4\x8C\xA9\x8F\x6F\x82\xB5\n"
    // 9:    境界線種､出力ﾃﾞｰﾀ制限は未指定で標準となる｡
    "   \x8B\xAB\x8A\x45\x90\xFC\x8E\xED\xA4\x8F\x6F\x97\xCD\xC3\xDE\xB0\xC0\x90\xA7\x8C\xC0"
    "\x82\xCD\x96\xA2\x8E\x77\x92\xE8\x82\xC5\x95\x57\x8F\x80\x82\xC6\x82\xC8\x82\xE9\xA1\n"
    // 10:    （例）見出しが顧客リスト、1ﾍﾟｰｼﾞあたりの行数が30､区切り文字がﾀﾌﾞの場合
    "   \x81\x69\x97\xE1\x81\x6A\x8C\xA9\x8F\x6F\x82\xB5\x82\xAA\x8C\xDA\x8B\x71\x83\x8A"
    "\x83\x58\x83\x67\x81\x41"
    "1\xCD\xDF\xB0\xBC\xDE\x82\xA0\x82\xBD\x82\xE8\x82\xCC\x8D\x73"
    "\x90\x94\x82\xAA"
    "30\xA4\x8B\xE6\x90\xD8\x82\xE8\x95\xB6\x8E\x9A\x82\xAA\xC0\xCC\xDE"
    "\x82\xCC\x8F\xEA\x8D\x87\n"
    // 11:                  顧客リスト[Tab]30[Tab]t
    "                 \x8C\xDA\x8B\x71\x83\x8A\x83\x58\x83\x67[Tab]30[Tab]t\n"
    // 12:  ◆書式ﾌｧｲﾙの内容
    " \x81\x9F\x8F\x91\x8E\xAE\xCC\xA7\xB2\xD9\x82\xCC\x93\xE0\x97\x65\n"
    // 13:    各項目の名前、各項目出力の有無（C=有、E=無）、各項目の出力桁数(偶数)を全項目
    "   \x8A\x65\x8D\x80\x96\xDA\x82\xCC\x96\xBC\x91\x4F\x81\x41\x8A\x65\x8D\x80\x96\xDA"
    "\x8F\x6F\x97\xCD\x82\xCC\x97\x4C\x96\xB3\x81\x69"
    "C=\x97\x4C\x81\x41"
    "E=\x96\xB3\x81\x6A"
    "\x81\x41\x8A\x65\x8D\x80\x96\xDA\x82\xCC\x8F\x6F\x97\xCD\x8C\x85\x90\x94(\x8B\xF4\x90\x94)"
    "\x82\xF0\x91\x53\x8D\x80\x96\xDA\n"
    // 14:    合計では半角512文字以内､出力順(出力有1～100､出力無しはX)を指定する。
    "   \x8D\x87\x8C\x76\x82\xC5\x82\xCD\x94\xBC\x8A\x70"
    "512\x95\xB6\x8E\x9A\x88\xC8\x93\xE0"
    "\xA4\x8F\x6F\x97\xCD\x8F\x87(\x8F\x6F\x97\xCD\x97\x4C"
    "1\x81\x60"
    "100\xA4\x8F\x6F"
    "\x97\xCD\x96\xB3\x82\xB5\x82\xCDX)\x82\xF0\x8E\x77\x92\xE8\x82\xB7\x82\xE9\x81\x42\n"
    // 15:    （例）        顧客番号[Tab]C[Tab]10[Tab]2
    "   \x81\x69\x97\xE1\x81\x6A        \x8C\xDA\x8B\x71\x94\xD4\x8D\x86[Tab]C[Tab]10[Tab]2\n"
    // 16:                  顧客名[Tab]C[Tab]30[Tab]1
    "                 \x8C\xDA\x8B\x71\x96\xBC[Tab]C[Tab]30[Tab]1\n"
    // 17:                  備考[Tab]E[Tab]20[Tab]X
    "                 \x94\xF5\x8D\x6C[Tab]E[Tab]20[Tab]X\n"
    // 18:  ◆ﾃﾞｰﾀﾌｧｲﾙの内容
    " \x81\x9F\xC3\xDE\xB0\xC0\xCC\xA7\xB2\xD9\x82\xCC\x93\xE0\x97\x65\n"
    // 19: 　 区切り文字のあるﾃｷｽﾄﾌｧｲﾙ｡なお､項目数は最大100､1項目は最長半角2000文字｡
    "\x81\x40 \x8B\xE6\x90\xD8\x82\xE8\x95\xB6\x8E\x9A\x82\xCC\x82\xA0\x82\xE9\xC3\xB7\xBD\xC4"
    "\xCC\xA7\xB2\xD9\xA1\x82\xC8\x82\xA8\xA4\x8D\x80\x96\xDA\x90\x94\x82\xCD\x8D\xC5\x91\xE5"
    "100\xA4"
    "1\x8D\x80\x96\xDA\x82\xCD\x8D\xC5\x92\xB7\x94\xBC\x8A\x70"
    "2000\x95\xB6\x8E\x9A"
    "\xA1\n"
    // 20:  ◆PまたはNまたはV
    " \x81\x9FP\x82\xDC\x82\xBD\x82\xCDN\x82\xDC\x82\xBD\x82\xCDV\n"
    // 21:    表の終わりに改ﾍﾟｰｼﾞ記号有(P)無(N)､また､罫線無ﾃﾞｰﾀ出力(V)を指定する。
    "   \x95\x5C\x82\xCC\x8F\x49\x82\xED\x82\xE8\x82\xC9\x89\xFC\xCD\xDF\xB0\xBC\xDE\x8B\x4C"
    "\x8D\x86\x97\x4C(P)\x96\xB3(N)\xA4\x82\xDC\x82\xBD\xA4\x8C\x72\x90\xFC\x96\xB3\xC3\xDE\xB0"
    "\xC0\x8F\x6F\x97\xCD(V)\x82\xF0\x8E\x77\x92\xE8\x82\xB7\x82\xE9\x81\x42\n"
    // 22:  ------------------------------------------------------------------------------
    " ------------------------------------------------------------------------------\n";

// The command-line arguments, by position after the program name.
struct Arguments {
  std::string heading_path;
  std::string format_path;
  std::string data_path;
  std::string output_mode;
};

// The date text from the clock, read here once for the whole run.
std::string date_text_now(std::optional<unsigned char> date_kind) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    return date_text_without_clock(date_kind);
  }
  return build_date_text(date_kind, local);
}

// Hands the output to standard output. A run whose output did not get out has failed.
int finish(sjis::ByteWriter& out, sjis::ExitStatus status) {
  if (!out.flush()) status = sjis::ExitStatus::Failure;
  return static_cast<int>(status);
}

int fail(sjis::ByteWriter& out, const sjis::Failure& failure) {
  out.write(failure.message);
  return finish(out, failure.status);
}

}  // namespace

std::string_view usage_text() { return kUsageText; }

int run(int argc, const char* const* argv, sjis::ByteSink& standard_output) {
  sjis::prepare_standard_streams();
  sjis::ByteWriter out(standard_output, sjis::FileMode::Text);
  if (argc < 5) {
    out.write(kUsageText);
    return finish(out, sjis::ExitStatus::Usage);
  }
  const Arguments args{argv[1], argv[2], argv[3], argv[4]};
  const sjis::CodePage& code_page = sjis::code_page_from_environment();

  // The data file is opened once, here, and the data pass reads this descriptor: a FIFO
  // delivers every byte to it instead of losing them between two opens, and a file that
  // is removed or replaced after this check is still the one that is read.
  sjis::InputFile data_file;
  if (!data_file.open(args.data_path)) return fail(out, not_found(args.data_path));

  const sjis::Outcome<HeadingSpec> heading = load_heading_file(args.heading_path);
  if (!heading.ok()) return fail(out, heading.failure());

  const std::string date_text = date_text_now(heading.value().date_kind);

  const sjis::Outcome<ColumnLayout> layout = load_format_file(args.format_path, code_page);
  if (!layout.ok()) return fail(out, layout.failure());

  const FrameLines frames = build_frame_lines(layout.value(), heading.value().border_kind);

  const ListingInputs inputs{code_page, heading.value(), date_text, layout.value(), frames};
  return finish(out, produce_listing(data_file, args.output_mode, inputs, out));
}

}  // namespace kavrile7

#include "formatter/listing.h"

#include "formatter/data_pass.h"
#include "formatter/plain_records.h"
#include "formatter/ruled_pages.h"
#include "formatter/work_file.h"

namespace kavrile7 {

sjis::ExitStatus produce_listing(sjis::InputFile& data_file, const std::string& mode,
                                 const ListingInputs& inputs, sjis::ByteWriter& out) {
  constexpr sjis::ExitStatus kFailure = sjis::ExitStatus::Failure;
  WorkFile work_file;
  if (!work_file.create()) return kFailure;

  std::int64_t record_count = 0;
  {
    sjis::FdSource data_source(data_file.fd());
    sjis::ByteReader data(data_source, sjis::FileMode::Text);
    sjis::FdSink work_sink(work_file.fd());
    sjis::ByteWriter work(work_sink, sjis::FileMode::Binary);
    auto count = run_data_pass(data, inputs.heading, inputs.layout, inputs.code_page, work);
    if (!count.ok()) return count.failure().status;
    record_count = count.value();
  }

  if (!work_file.rewind()) return kFailure;
  sjis::FdSource work_source(work_file.fd());
  sjis::ByteReader work(work_source, sjis::FileMode::Binary);
  bool read_ok;
  if (mode == "P" || mode == "N") {
    const PageSetup setup{mode == "P",   inputs.heading, inputs.date_text,
                          inputs.layout, inputs.frames,  inputs.code_page};
    read_ok = write_ruled_pages(setup, record_count, work, out);
  } else {
    read_ok = write_plain_records(inputs.heading.delimiter, inputs.layout.column_count, work, out);
  }
  if (!read_ok) return kFailure;
  const bool written = out.flush();
  work_file.remove();
  return written ? sjis::ExitStatus::Success : kFailure;
}

}  // namespace kavrile7

#ifndef KAV_FORMATTER_LISTING_H_
#define KAV_FORMATTER_LISTING_H_

#include <string>

#include "formatter/format_file.h"
#include "formatter/frame_lines.h"
#include "formatter/heading_file.h"
#include "sjis/byte_io.h"
#include "sjis/code_page.h"
#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace kavrile7 {

// Everything the last steps of a run need, built by the earlier phases.
struct ListingInputs {
  const sjis::CodePage& code_page;
  const HeadingSpec& heading;
  const std::string& date_text;  // ends in LF; empty for date kind N
  const ColumnLayout& layout;
  const FrameLines& frames;
};

// The last steps of a run: the data pass from data_file (open, nothing read from it yet)
// into the work file
// "$$$kv7.$$$" in the current directory, the output pass that the mode chooses ("P" or
// "N": ruled pages; anything else: plain delimited records) into out, and the removal of
// the work file. Returns ExitStatus::Success, or the failure that ends the run (these
// failures print nothing). out is flushed before it returns.
sjis::ExitStatus produce_listing(sjis::InputFile& data_file, const std::string& mode,
                                 const ListingInputs& inputs, sjis::ByteWriter& out);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_LISTING_H_

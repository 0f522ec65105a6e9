#ifndef KAV_FORMATTER_RULED_PAGES_H_
#define KAV_FORMATTER_RULED_PAGES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "formatter/format_file.h"
#include "formatter/frame_lines.h"
#include "formatter/heading_file.h"
#include "sjis/code_page.h"
#include "sjis/text_stream.h"

namespace kavrile7 {

// What the page output prints besides the records.
struct PageSetup {
  bool form_feeds;  // mode P: a form feed before every page after the first and at the end
  const HeadingSpec& heading;
  const std::string& date_text;  // ends in LF; not printed for date kind N
  const ColumnLayout& layout;
  const FrameLines& frames;
  const sjis::CodePage& code_page;
};

// Appends text to out so that no double-byte character straddles two sub-lines of width
// bytes: where a byte that the classifier would class Lead (a lead byte, or a byte that
// leaves an open character open) would be the last byte of a sub-line, a space goes in
// front of it. inside tells whether a character is open before the text and after it, so
// that it carries from one column of a record to the next. out may already hold earlier
// sub-lines of the same cell. Precondition: width >= 1.
void protect_wrap_points(std::string_view text, int width, const sjis::CodePage& code_page,
                         bool& inside, std::string& out);

// Prints the work-file records read from work (binary mode) as ruled pages to out: page
// heads with the date line, title and header, each record's columns in slices of their
// width, page feet with centred page numbers, and the total line. record_count is the
// number of records the data pass wrote; the page that holds the last one is closed.
// Stops at the first write to out that fails (out.failed() then tells it). Returns false
// when the work file could not be read to its end.
bool write_ruled_pages(const PageSetup& setup, std::int64_t record_count, sjis::ByteReader& work,
                       sjis::ByteWriter& out);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_RULED_PAGES_H_

#ifndef KAV_FUZZ_LISTING_MODEL_H_
#define KAV_FUZZ_LISTING_MODEL_H_

#include <string>
#include <string_view>
#include <vector>

#include "formatter/format_file.h"
#include "formatter/heading_file.h"
#include "sjis/code_page.h"

namespace fuzz {

// One record of the listing: its column texts, column 0 first.
using Record = std::vector<std::string>;

// The records that the data pass must write for a data file, worked out with plain
// string operations, one line and one field at a time, to judge the streaming data pass
// by. text is the data file as a text-mode reader delivers it.
//
// A line is split at every delimiter byte that stands outside a double-byte character
// (the scanner with control marking, never reset, says Single or Control); in quote
// mode, double quotes classed Single are dropped; fields after the 100th are dropped.
// Every line with at least one byte before its LF, the last one without LF included,
// gives a record, until the line count exceeds the record limit. A record holds the
// columns up to the highest one its line reached, a column counting as reached when it
// receives a field or when it is the column of the next output item after the line's
// last field; reached columns below that with nothing in them are empty.
std::vector<Record> model_records(std::string_view text, const kavrile7::HeadingSpec& heading,
                                  const kavrile7::ColumnLayout& layout,
                                  const sjis::CodePage& code_page);

// The plain output of records, with LF line ends: the columns of a full record joined by
// the delimiter; every column of a shorter record followed by one.
std::string model_plain_output(const std::vector<Record>& records, unsigned char delimiter,
                               int column_count);

}  // namespace fuzz

#endif  // KAV_FUZZ_LISTING_MODEL_H_

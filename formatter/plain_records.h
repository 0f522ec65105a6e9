#ifndef KAV_FORMATTER_PLAIN_RECORDS_H_
#define KAV_FORMATTER_PLAIN_RECORDS_H_

#include "sjis/text_stream.h"

namespace kavrile7 {

// Copies the work-file records read from work (binary mode) to out, one line each, with
// the delimiter after every column text whose column number is below column_count: a
// full record has a delimiter between every two columns and none after the last; a
// shorter one has one after each of its columns. Data bytes come out as they were read.
// Stops at the first write to out that fails (out.failed() then tells it). Returns false
// when the work file could not be read to its end.
bool write_plain_records(unsigned char delimiter, int column_count, sjis::ByteReader& work,
                         sjis::ByteWriter& out);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_PLAIN_RECORDS_H_

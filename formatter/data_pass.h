#ifndef KAV_FORMATTER_DATA_PASS_H_
#define KAV_FORMATTER_DATA_PASS_H_

#include <cstdint>

#include "formatter/format_file.h"
#include "formatter/heading_file.h"
#include "sjis/code_page.h"
#include "sjis/outcome.h"
#include "sjis/text_stream.h"

namespace kavrile7 {

// Work-file record format. A record is one line: for each written column, in output order,
// its text and then kFieldTerminator; then LF. A data byte 0B inside a text is stored as
// kEscapedVerticalTab, a byte that a text-mode reader never delivers (it ends the input),
// so data without 0B is stored exactly as it came.
inline constexpr char kFieldTerminator = '\x0B';
inline constexpr char kEscapedVerticalTab = '\x1A';

// Splits every line of the data file at the delimiter and writes one work-file record per
// line that holds at least one byte before its end: the fields of output items, each in
// the column its output order gives. A line holds the columns 0 to h, h being the highest
// column the line reached (the column of the next output field counts as reached); a
// column below h that received nothing is written as an empty text. In quote mode every
// double quote outside a double-byte character is dropped. A delimiter or double quote
// that follows an incomplete double-byte character is data. Fields after the 100th are
// dropped. A last line without LF is a line like any other. The record limit counts lines,
// empty ones included; the line that would exceed it ends the pass unwritten.
//
// data must be a text-mode reader, work a binary-mode writer. Returns the number of
// records written, or a failure with exit status 1 and no message when the data cannot be
// read or the work file cannot be written. The layout must satisfy the format file's
// checks: columns 0 to column_count - 1 each hold exactly one output item.
//
// The pass has two loops that give the same records: one that follows the full byte
// classifier for every byte, and a faster one that tracks only whether a double-byte
// character is open, used whenever the delimiter allows it. Tests compare the two.
enum class DataPassLoop { Fastest, Classifier };
sjis::Outcome<std::int64_t> run_data_pass(sjis::ByteReader& data, const HeadingSpec& heading,
                                          const ColumnLayout& layout,
                                          const sjis::CodePage& code_page, sjis::ByteWriter& work,
                                          DataPassLoop loop = DataPassLoop::Fastest);

}  // namespace kavrile7

#endif  // KAV_FORMATTER_DATA_PASS_H_

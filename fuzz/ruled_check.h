#ifndef KAV_FUZZ_RULED_CHECK_H_
#define KAV_FUZZ_RULED_CHECK_H_

#include <cstdint>
#include <string_view>

#include "formatter/ruled_pages.h"

namespace fuzz {

// Reads a ruled listing as the page output wrote it in text mode, page by page, and stops
// the fuzzer at the first property that does not hold:
// - every page has its head (form feed in mode P from page 2 on, date line, title, top
//   rule, header row, separator) and its foot (bottom rule, centred page number), and the
//   pages are numbered from 1;
// - every sub-line is exactly as long as the top rule, with the vertical bars where the
//   columns begin, and every frame line is one of the frame lines;
// - no double-byte character is split across two sub-lines of a cell;
// - a page ends after a record exactly when its line count reaches the lines per page or
//   the record is the last one;
// - the total line counts record_count, which is the number of records printed.
void check_ruled_listing(std::string_view written, const kavrile7::PageSetup& setup,
                         std::int64_t record_count);

}  // namespace fuzz

#endif  // KAV_FUZZ_RULED_CHECK_H_

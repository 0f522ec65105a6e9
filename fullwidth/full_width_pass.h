#ifndef KAV_FULLWIDTH_FULL_WIDTH_PASS_H_
#define KAV_FULLWIDTH_FULL_WIDTH_PASS_H_

#include <optional>

#include "sjis/code_page.h"
#include "sjis/text_stream.h"

namespace fullwidth {

// Mode 1: reads in to its end and writes each line to out with the half-width characters
// of its first field (everything before the first TAB, the whole line when it has none)
// in full width. Every other byte is copied: TAB, LF and other control bytes, the bytes
// of double-byte characters, and everything from the first TAB to the line end. The
// bytes are classified by one scanner that carries over line ends, so a lone lead byte
// at a line end keeps the first byte of the next line from being converted when it can
// be a trail byte. Under a code page other than 932 the input is copied unchanged.
// A read error ends the pass like the end of the input; in.error() tells it apart. The
// pass stops at the first write to out that fails.
void convert_item_names(const sjis::CodePage& code_page, sjis::ByteReader& in,
                        sjis::ByteWriter& out);

// Mode 2: reads in to its end and writes it to out with every half-width character in
// full width, except the delimiter byte and, in quote mode, the double quotation mark
// (so that the formatter still splits the fields and drops the quotes). Without a
// delimiter every half-width character is converted. Everything else is copied as in
// mode 1.
void convert_fields(const sjis::CodePage& code_page, std::optional<unsigned char> delimiter,
                    bool quote_mode, sjis::ByteReader& in, sjis::ByteWriter& out);

}  // namespace fullwidth

#endif  // KAV_FULLWIDTH_FULL_WIDTH_PASS_H_

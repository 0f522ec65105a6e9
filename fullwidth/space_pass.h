#ifndef KAV_FULLWIDTH_SPACE_PASS_H_
#define KAV_FULLWIDTH_SPACE_PASS_H_

#include "sjis/code_page.h"
#include "sjis/text_stream.h"

namespace fullwidth {

// Mode 3: reads a ruled listing from in to its end and writes it to out with each pair of
// half-width spaces replaced by one full-width space (81 40). A maximal run of n
// half-width spaces becomes n/2 full-width spaces followed by n%2 half-width spaces, so
// no space is lost and every cell keeps its width. A run ends at any other byte, LF
// included, and at the end of the input. A space inside an unfinished double-byte
// character (right after a lone lead byte) is not a half-width space: it is copied and
// ends the run. Every other byte is copied unchanged. Under a code page other than 932,
// which has no full-width space, the whole text is copied unchanged.
// A read error ends the pass like the end of the input; in.error() tells it apart. The
// pass stops at the first write to out that fails.
void correct_spaces(const sjis::CodePage& code_page, sjis::ByteReader& in, sjis::ByteWriter& out);

}  // namespace fullwidth

#endif  // KAV_FULLWIDTH_SPACE_PASS_H_

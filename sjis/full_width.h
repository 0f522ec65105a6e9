#ifndef KAV_SJIS_FULL_WIDTH_H_
#define KAV_SJIS_FULL_WIDTH_H_

#include <cstdint>

#include "sjis/code_page.h"

namespace sjis {

// The full-width character of the same meaning as one half-width byte. Under code page
// 932, a byte in 20-7E or A1-DF gives a double-byte character, first byte in the high 8
// bits (always 81, 82 or 83); every other byte, and every byte under another code page,
// gives the byte itself. A result of 0x100 or more is therefore a full-width character.
std::uint16_t to_full_width(const CodePage& code_page, unsigned char b);

}  // namespace sjis

#endif  // KAV_SJIS_FULL_WIDTH_H_

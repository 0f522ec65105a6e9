#ifndef KAV_SJIS_SJIS_SCANNER_H_
#define KAV_SJIS_SJIS_SCANNER_H_

#include <cstdint>

#include "sjis/code_page.h"

namespace sjis {

// Class of one byte in a Shift-JIS stream. The numeric values matter: callers test
// "below Lead" to mean Single or Control.
enum class ByteClass : std::int8_t { Control = -1, Single = 0, Lead = 1, Trail = 2 };

// The stateful classifier that tells one-byte characters from the two bytes of a
// double-byte character. Feed it every byte of a stream, in order, exactly once.
//
// Outside a character, printable and kana bytes are Single, lead bytes are Lead (and the
// scanner goes inside), control bytes are Control when control marking is on, and every
// other byte repeats the previous class. Inside, a trail byte is Trail (and the scanner
// goes outside); any other byte is Lead and the scanner keeps waiting.
//
// One table lookup per byte; no allocation. The code page must outlive the scanner.
class SjisScanner {
 public:
  SjisScanner(const CodePage& code_page, bool control_marking)
      : table_(&code_page.next_state[control_marking ? 1 : 0]) {}

  ByteClass classify(unsigned char b) {
    state_ = (*table_)[state_][b];
    return class_of_state(state_);
  }

  // Back to the starting state: outside, last class Single.
  void reset() { state_ = kStart; }

  // True between a lead byte and the trail byte that completes it.
  bool inside() const { return state_ == kInsideState; }

 private:
  static constexpr std::uint8_t kStart = 1;        // outside, last class Single
  static constexpr std::uint8_t kInsideState = 4;  // inside, last class Lead

  static ByteClass class_of_state(std::uint8_t state) {
    return state == kInsideState ? ByteClass::Lead : static_cast<ByteClass>(state - 1);
  }

  const std::array<std::array<std::uint8_t, 256>, kScannerStates>* table_;
  std::uint8_t state_ = kStart;
};

// The scanner's inside state alone, for passes that need only whether a double-byte
// character is open: whether one is open after byte b, given whether one was open
// before it. Without control marking, a byte is classed Lead exactly when this is true,
// and a printable or kana byte is classed Single exactly when none was open before it.
inline bool inside_after(const CodePage& code_page, bool inside, unsigned char b) {
  return inside ? !(code_page.sets[b] & kTrail) : (code_page.sets[b] & kLead) != 0;
}

// True when b0 and b1, read where no character is open, form one whole double-byte
// character: b0 is classed Lead and b1 Trail, and no character is open after them.
inline bool is_whole_character(const CodePage& code_page, unsigned char b0, unsigned char b1) {
  return (code_page.sets[b0] & kLead) && (code_page.sets[b1] & kTrail);
}

}  // namespace sjis

#endif  // KAV_SJIS_SJIS_SCANNER_H_

#ifndef KAV_SJIS_CODE_PAGE_H_
#define KAV_SJIS_CODE_PAGE_H_

#include <array>
#include <cstdint>

namespace sjis {

// Membership of one byte value in the byte sets that the classifier tests.
enum ByteSet : std::uint8_t {
  kPrintable = 1 << 0,  // 20-7E, on every code page
  kKana = 1 << 1,       // half-width kana, A1-DF on code page 932 only
  kLead = 1 << 2,       // first byte of a double-byte character
  kTrail = 1 << 3,      // second byte of a double-byte character
  kControl = 1 << 4,    // 00-1F and 7F, on every code page
};

// Number of scanner states: outside after each of the four classes, and inside.
inline constexpr int kScannerStates = 5;

// The code page the programs run under: its byte sets and the scanner's transition
// tables derived from them. Instances are compile-time constants; a run picks one at
// start-up and passes it by reference to every pass.
struct CodePage {
  int number = 0;
  // Bit set of ByteSet values for each byte.
  std::array<std::uint8_t, 256> sets{};
  // Whether the half-width to full-width table applies (code page 932 only).
  bool has_full_width = false;
  // next_state[control_marking][state][byte]: the scanner's transition tables.
  std::array<std::array<std::array<std::uint8_t, 256>, kScannerStates>, 2> next_state{};
};

// Name of the environment variable that selects a code page by number.
inline constexpr const char kCodePageVariable[] = "KAV_CODEPAGE";

// The code page with the given number: 932 (Shift-JIS), 936, 949 and 950 (double-byte,
// no half-width kana) or 1252 (single-byte). Any other number gives 932.
const CodePage& code_page_by_number(long number);

// The code page named by the value of the environment variable, or 932 when the value
// is null, empty or not a known code page number.
const CodePage& code_page_from_setting(const char* value);

// Reads the environment variable once; for the programs' start-up.
const CodePage& code_page_from_environment();

}  // namespace sjis

#endif  // KAV_SJIS_CODE_PAGE_H_

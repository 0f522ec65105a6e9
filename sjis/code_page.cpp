#include "sjis/code_page.h"

#include <cerrno>
#include <cstdlib>

#include "sjis/sjis_scanner.h"

namespace sjis {
namespace {

struct Range {
  int first;
  int last;
};

struct DoubleByteSets {
  Range kana;  // empty when last < first
  Range leads[2];
  Range trails[3];
};

constexpr void mark(std::array<std::uint8_t, 256>& sets, Range r, std::uint8_t bit) {
  for (int b = r.first; b <= r.last; ++b) sets[b] |= bit;
}

// Scanner state numbers: 0..3 are "outside, last class c" with c + 1 = state, 4 is inside.
constexpr std::uint8_t outside_state(ByteClass c) {
  return static_cast<std::uint8_t>(static_cast<int>(c) + 1);
}
constexpr std::uint8_t kInside = 4;

constexpr std::uint8_t transition(const std::array<std::uint8_t, 256>& sets, bool control_marking,
                                  std::uint8_t state, int b) {
  const std::uint8_t s = sets[b];
  if (state == kInside) return (s & kTrail) ? outside_state(ByteClass::Trail) : kInside;
  if (s & (kPrintable | kKana)) return outside_state(ByteClass::Single);
  if (s & kLead) return kInside;
  if (control_marking && (s & kControl)) return outside_state(ByteClass::Control);
  return state;
}

constexpr CodePage make_code_page(int number, const DoubleByteSets& d, bool has_full_width) {
  CodePage cp;
  cp.number = number;
  cp.has_full_width = has_full_width;
  mark(cp.sets, {0x20, 0x7E}, kPrintable);
  mark(cp.sets, {0x00, 0x1F}, kControl);
  mark(cp.sets, {0x7F, 0x7F}, kControl);
  mark(cp.sets, d.kana, kKana);
  for (const Range& r : d.leads) mark(cp.sets, r, kLead);
  for (const Range& r : d.trails) mark(cp.sets, r, kTrail);
  for (int marking = 0; marking < 2; ++marking) {
    for (int state = 0; state < kScannerStates; ++state) {
      for (int b = 0; b < 256; ++b) {
        cp.next_state[marking][state][b] =
            transition(cp.sets, marking != 0, static_cast<std::uint8_t>(state), b);
      }
    }
  }
  return cp;
}

constexpr Range kNone{1, 0};

constexpr CodePage kShiftJis =
    make_code_page(932, {{0xA1, 0xDF}, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}, kNone}},
                   true);
constexpr CodePage kGbk =
    make_code_page(936, {kNone, {{0x81, 0xFE}, kNone}, {{0x40, 0x7E}, {0x80, 0xFE}, kNone}}, false);
constexpr CodePage kUhc = make_code_page(
    949, {kNone, {{0x81, 0xFE}, kNone}, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}}}, false);
constexpr CodePage kBig5 =
    make_code_page(950, {kNone, {{0x81, 0xFE}, kNone}, {{0x40, 0x7E}, {0xA1, 0xFE}, kNone}}, false);
constexpr CodePage kWestern = make_code_page(1252, {kNone, {kNone, kNone}, {kNone, kNone, kNone}}, false);

}  // namespace

const CodePage& code_page_by_number(long number) {
  switch (number) {
    case 936:
      return kGbk;
    case 949:
      return kUhc;
    case 950:
      return kBig5;
    case 1252:
      return kWestern;
    default:
      return kShiftJis;
  }
}

const CodePage& code_page_from_setting(const char* value) {
  if (value == nullptr || *value == '\0') return kShiftJis;
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(value, &end, 10);
  if (errno != 0 || *end != '\0') return kShiftJis;
  return code_page_by_number(number);
}

const CodePage& code_page_from_environment() {
  return code_page_from_setting(std::getenv(kCodePageVariable));
}

}  // namespace sjis

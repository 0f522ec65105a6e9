#include "formatter/data_pass.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sjis/sjis_scanner.h"

namespace kavrile7 {
namespace {

// What a byte does, given the class the scanner gave it.
enum Action : std::uint8_t {
  kData,         // collected when its field is kept
  kDelimiter,    // ends the open field
  kDrop,         // a double quote in quote mode
  kLineEnd,      // LF, whatever its class
  kVerticalTab,  // data byte 0B, stored escaped
};

// Scanner states of code_page.next_state: 0 Control, 1 Single, 2 Lead, 3 Trail (outside,
// last class), 4 inside (Lead).
using ActionTable = std::array<std::array<std::uint8_t, 256>, sjis::kScannerStates>;

ActionTable make_actions(const HeadingSpec& heading) {
  ActionTable t{};
  for (int state = 0; state < sjis::kScannerStates; ++state) {
    const bool below_lead = state == 0 || state == 1;
    const bool single = state == 1;
    for (int b = 0; b < 256; ++b) {
      Action a = kData;
      if (below_lead && b == heading.delimiter) {
        a = kDelimiter;
      } else if (heading.quote_mode && b == '"' && single) {
        a = kDrop;
      } else if (b == '\n') {
        a = kLineEnd;
      } else if (b == kFieldTerminator) {
        a = kVerticalTab;
      }
      t[state][b] = a;
    }
  }
  return t;
}

// Byte flags of the fast loop, which tracks only whether the scanner is inside a
// double-byte character. That is enough when the delimiter byte, read outside a character,
// is always Single or Control (a printable, kana or control byte) or never ends a field (a
// lead byte): then a byte's action depends on the byte and that one bit alone.
enum FastFlag : std::uint8_t { kLeadByte = 1, kTrailByte = 2, kSpecial = 4 };
struct FastFlags {
  std::array<std::uint8_t, 256> flags{};
  // The special bytes, each repeated in all eight bytes of a word, for testing eight data
  // bytes at once.
  std::array<std::uint64_t, 4> special_words{};
  int special_count = 0;
};

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// True when no byte of the word is zero (exact, not an estimate).
constexpr bool has_zero_byte(std::uint64_t v) { return ((v - kOnes) & ~v & kHighBits) != 0; }

std::optional<FastFlags> make_fast_flags(const HeadingSpec& heading, const sjis::CodePage& cp) {
  const std::uint8_t d = cp.sets[heading.delimiter];
  const bool delimiter_acts = d & (sjis::kPrintable | sjis::kKana | sjis::kControl);
  if (!delimiter_acts && !(d & sjis::kLead)) return std::nullopt;
  FastFlags f;
  for (int b = 0; b < 256; ++b) {
    // No code page has a lead byte below 80, which the word test below relies on.
    if (cp.sets[b] & sjis::kLead) f.flags[b] |= kLeadByte;
    if (cp.sets[b] & sjis::kTrail) f.flags[b] |= kTrailByte;
  }
  auto special = [&f](unsigned char b) {
    f.flags[b] |= kSpecial;
    if (b < 0x80) f.special_words[f.special_count++] = kOnes * b;
  };
  special('\n');
  special(static_cast<unsigned char>(kFieldTerminator));
  if (delimiter_acts) special(heading.delimiter);
  if (heading.quote_mode) special('"');
  return f;
}

// The line being split: kept field texts side by side in one buffer, and where each
// column's text lies in it.
class LineSplitter {
 public:
  LineSplitter(const HeadingSpec& heading, const ColumnLayout& layout)
      : column_count_(layout.column_count),
        limit_(heading.record_limit),
        start_(static_cast<std::size_t>(layout.column_count)),
        end_(static_cast<std::size_t>(layout.column_count)),
        reached_(static_cast<std::size_t>(layout.column_count), false) {
    int j = 0;
    for (int k = 0; k < kMaxItems; ++k) {
      if (k < layout.item_count && layout.item_is_output[k]) {
        keep_[k] = true;
        column_of_output_[j] = layout.output_item_order[j] - 1;
        ++j;
      }
    }
    open_field();
  }

  // Takes the bytes of one chunk; returns false when the record limit ended the pass.
  bool take(std::string_view chunk, const ActionTable& actions,
            const std::array<std::array<std::uint8_t, 256>, sjis::kScannerStates>& next,
            sjis::ByteWriter& work);

  // The same as take(), for a run whose delimiter suits the fast flags.
  bool take_fast(std::string_view chunk, const FastFlags& fast, unsigned char delimiter,
                 sjis::ByteWriter& work);

  // The input ended: a last line without LF is a line like any other.
  void finish(sjis::ByteWriter& work) {
    if (line_started_) end_line(work);
  }

  std::int64_t records() const { return records_; }
  std::uint8_t state = 1;  // scanner state, carried over line ends
  bool inside = false;     // the fast loop's scanner state

 private:
  void open_field() {
    kept_ = field_ < kMaxItems && keep_[field_] && closed_ < column_count_;
    if (kept_) start_[column_of_output_[closed_]] = length_;
  }

  void close_field() {
    if (field_ >= kMaxItems) return;  // delimiters after the 100th field are ignored
    if (kept_) {
      const int c = column_of_output_[closed_];
      end_[c] = length_;
      reached_[c] = true;
      if (c > highest_) highest_ = c;
      ++closed_;
    }
    ++field_;
    open_field();
  }

  // Returns false when the line exceeds the record limit.
  bool end_line(sjis::ByteWriter& work);

  const int column_count_;
  const std::optional<std::int32_t> limit_;
  std::array<bool, kMaxItems + 1> keep_{};
  std::array<int, kMaxItems> column_of_output_{};
  std::string text_;         // grows to the longest line; only length_ bytes are used
  std::size_t length_ = 0;
  std::vector<std::size_t> start_;
  std::vector<std::size_t> end_;
  std::vector<bool> reached_;
  int field_ = 0;    // position of the open field, 0 to 100
  int closed_ = 0;   // output fields ended by a delimiter
  int highest_ = -1; // highest column that received a field
  bool kept_ = false;
  bool line_started_ = false;
  std::int64_t lines_ = 0;
  std::int64_t records_ = 0;
};

bool LineSplitter::take(std::string_view chunk, const ActionTable& actions,
                        const std::array<std::array<std::uint8_t, 256>, sjis::kScannerStates>& next,
                        sjis::ByteWriter& work) {
  // Room for the whole chunk, so that data bytes go in without a check each: every input
  // byte adds at most one byte to the line's text.
  if (text_.size() < length_ + chunk.size()) text_.resize(length_ + chunk.size());
  char* const base = text_.data();
  char* out = base + length_;
  std::uint8_t st = state;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(chunk.data());
  const unsigned char* const end = p + chunk.size();
  while (p < end) {
    const unsigned char b = *p++;
    st = next[st][b];
    const std::uint8_t a = actions[st][b];
    if (a == kData) {
      line_started_ = true;
      if (kept_) *out++ = static_cast<char>(b);
      continue;
    }
    length_ = static_cast<std::size_t>(out - base);
    switch (a) {
      case kDelimiter:
        line_started_ = true;
        close_field();
        break;
      case kDrop:
        line_started_ = true;
        break;
      case kVerticalTab:
        line_started_ = true;
        if (kept_) base[length_++] = kEscapedVerticalTab;
        break;
      case kLineEnd:
        if (!end_line(work)) {
          state = st;
          return false;
        }
        break;
    }
    out = base + length_;
  }
  length_ = static_cast<std::size_t>(out - base);
  state = st;
  return true;
}

bool LineSplitter::take_fast(std::string_view chunk, const FastFlags& fast,
                             unsigned char delimiter, sjis::ByteWriter& work) {
  if (text_.size() < length_ + chunk.size()) text_.resize(length_ + chunk.size());
  char* const base = text_.data();
  char* out = base + length_;
  bool in = inside;
  bool started = line_started_;
  bool kept = kept_;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(chunk.data());
  const unsigned char* const end = p + chunk.size();
  const auto& flags = fast.flags;
  while (p < end) {
    if (!in) {
      // Eight bytes below 80 with no special byte among them leave the scanner outside
      // and are all data: copied at once.
      if (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        bool plain = (word & kHighBits) == 0;
        for (int i = 0; plain && i < fast.special_count; ++i) {
          plain = !has_zero_byte(word ^ fast.special_words[i]);
        }
        if (plain) {
          std::memcpy(out, p, 8);
          out += kept ? 8 : 0;
          p += 8;
          started = true;
          continue;
        }
      }
      // A whole double-byte character: a lead byte and a trail byte are data whatever
      // their values.
      if (end - p >= 2 && (flags[p[0]] & kLeadByte) && (flags[p[1]] & kTrailByte)) {
        std::memcpy(out, p, 2);
        out += kept ? 2 : 0;
        p += 2;
        started = true;
        continue;
      }
    }
    const unsigned char b = *p++;
    const std::uint8_t f = flags[b];
    const bool was_inside = in;
    // Inside, only a trail byte ends the character; outside, a lead byte begins one.
    in = in ? !(f & kTrailByte) : (f & kLeadByte) != 0;
    if (!(f & kSpecial)) {
      *out = static_cast<char>(b);
      out += kept;
      started = true;
      continue;
    }
    length_ = static_cast<std::size_t>(out - base);
    line_started_ = started;
    if (b == '\n') {
      if (!end_line(work)) {
        inside = in;
        return false;
      }
    } else {
      line_started_ = true;
      if (b == static_cast<unsigned char>(kFieldTerminator)) {
        if (kept_) base[length_++] = kEscapedVerticalTab;
      } else if (was_inside) {
        if (kept_) base[length_++] = static_cast<char>(b);  // part of a character: data
      } else if (b == delimiter) {
        close_field();
      }  // else a double quote in quote mode: dropped
    }
    started = line_started_;
    kept = kept_;
    out = base + length_;
  }
  length_ = static_cast<std::size_t>(out - base);
  line_started_ = started;
  inside = in;
  return true;
}

bool LineSplitter::end_line(sjis::ByteWriter& work) {
  ++lines_;
  if (limit_ && *limit_ < lines_) return false;
  if (line_started_) {
    // The field open at the line end, or the next output field the line did not reach,
    // counts as reached.
    int highest = highest_;
    if (closed_ < column_count_) {
      const int c = column_of_output_[closed_];
      if (!kept_) start_[c] = length_;
      end_[c] = length_;
      reached_[c] = true;
      if (c > highest) highest = c;
    }
    for (int c = 0; c <= highest; ++c) {
      if (reached_[c]) work.write(std::string_view(text_.data() + start_[c], end_[c] - start_[c]));
      work.put(kFieldTerminator);
    }
    work.put('\n');
    ++records_;
  }
  length_ = 0;
  std::fill(reached_.begin(), reached_.end(), false);
  field_ = 0;
  closed_ = 0;
  highest_ = -1;
  line_started_ = false;
  open_field();
  return true;
}

}  // namespace

sjis::Outcome<std::int64_t> run_data_pass(sjis::ByteReader& data, const HeadingSpec& heading,
                                          const ColumnLayout& layout,
                                          const sjis::CodePage& code_page, sjis::ByteWriter& work,
                                          DataPassLoop loop) {
  const ActionTable actions = make_actions(heading);
  const auto& next = code_page.next_state[1];  // control marking on, never reset
  const std::optional<FastFlags> fast =
      loop == DataPassLoop::Fastest ? make_fast_flags(heading, code_page) : std::nullopt;
  LineSplitter splitter(heading, layout);
  bool limit_reached = false;
  // A work file that cannot be written ends the pass at once; the flush below reports it.
  for (std::string_view chunk; !work.failed() && !(chunk = data.peek_chunk()).empty();) {
    data.skip(chunk.size());
    const bool more = fast ? splitter.take_fast(chunk, *fast, heading.delimiter, work)
                           : splitter.take(chunk, actions, next, work);
    if (!more) {
      limit_reached = true;
      break;
    }
  }
  if (!limit_reached) {
    if (data.error()) return sjis::Failure{"", sjis::ExitStatus::Failure};
    splitter.finish(work);
  }
  if (!work.flush()) return sjis::Failure{"", sjis::ExitStatus::Failure};
  return splitter.records();
}

}  // namespace kavrile7

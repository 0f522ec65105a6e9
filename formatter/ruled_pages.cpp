#include "formatter/ruled_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "formatter/data_pass.h"
#include "sjis/sjis_scanner.h"

namespace kavrile7 {
namespace {

constexpr std::string_view kVerticalBar = "\x84\xA0";  // │
constexpr char kFormFeed = '\x0C';

// Reads one record (up to and including its LF) into line. A last record without LF,
// which the data pass never writes, is taken as it stands. Returns false at the end.
bool read_record(sjis::ByteReader& work, std::string& line) {
  line.clear();
  for (std::string_view chunk; !(chunk = work.peek_chunk()).empty();) {
    const void* lf = std::memchr(chunk.data(), '\n', chunk.size());
    const std::size_t take =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - chunk.data()) + 1
           : chunk.size();
    line.append(chunk.data(), take);
    work.skip(take);
    if (lf) return true;
  }
  return !line.empty();
}

class PagePrinter {
 public:
  PagePrinter(const PageSetup& setup, std::int64_t record_count, sjis::ByteWriter& out)
      : s_(setup),
        count_(record_count),
        out_(out),
        cells_(static_cast<std::size_t>(setup.layout.column_count)),
        table_width_(setup.frames.top_rule.size()) {}

  void print_record(std::string_view record);
  void finish();

 private:
  void print_head();
  void print_foot();
  void line(std::string_view text) {
    out_.write(text);
    out_.put('\n');
  }

  const PageSetup& s_;
  const std::int64_t count_;
  sjis::ByteWriter& out_;
  bool inside_ = false;  // a double-byte character is open; carried across a record's columns
  std::vector<std::string> cells_;
  std::string unescaped_;  // a column text with data bytes 0B put back
  const std::size_t table_width_;
  std::int64_t records_read_ = 0;
  std::int64_t page_ = 1;
  std::int64_t headed_page_ = 0;
  std::int64_t line_counter_ = 0;
};

void PagePrinter::print_record(std::string_view record) {
  ++records_read_;
  // Split into column texts, unescaping data bytes 0B; columns past the record stay empty.
  const int columns = s_.layout.column_count;
  inside_ = false;  // every record starts outside a character
  std::size_t height = 0;
  std::size_t pos = 0;
  for (int c = 0; c < columns; ++c) {
    std::string_view text;
    if (pos < record.size()) {
      std::size_t stop = record.find(kFieldTerminator, pos);
      if (stop == std::string_view::npos) stop = record.size();
      text = record.substr(pos, stop - pos);
      pos = stop + 1;
      if (text.find(kEscapedVerticalTab) != std::string_view::npos) {
        unescaped_.assign(text);
        for (char& ch : unescaped_) {
          if (ch == kEscapedVerticalTab) ch = kFieldTerminator;
        }
        text = unescaped_;
      }
    }
    const auto width = static_cast<std::size_t>(s_.layout.column_width[c]);
    std::string& cell = cells_[c];
    cell.clear();
    protect_wrap_points(text, static_cast<int>(width), s_.code_page, inside_, cell);
    height = std::max(height, (cell.size() + width - 1) / width);
  }

  if (headed_page_ != page_) print_head();
  for (std::size_t sub = 0; sub < height; ++sub) {
    for (int c = 0; c < columns; ++c) {
      const auto width = static_cast<std::size_t>(s_.layout.column_width[c]);
      const std::string& cell = cells_[c];
      const std::size_t from = std::min(sub * width, cell.size());
      const std::size_t take = std::min(width, cell.size() - from);
      out_.write(kVerticalBar);
      out_.write(std::string_view(cell).substr(from, take));
      out_.fill(' ', width - take);
    }
    out_.write(kVerticalBar);
    out_.put('\n');
  }
  line_counter_ += static_cast<std::int64_t>(height);

  if (line_counter_ >= s_.heading.lines_per_page || records_read_ == count_) {
    print_foot();
  } else {
    line(s_.frames.separator);
    ++line_counter_;
  }
}

void PagePrinter::print_head() {
  if (s_.form_feeds && page_ > 1) out_.put(kFormFeed);
  if (s_.heading.date_kind != 'N') {
    if (s_.date_text.size() < table_width_) out_.fill(' ', table_width_ - s_.date_text.size());
    out_.write(s_.date_text);
  }
  line(s_.heading.title);
  line(s_.frames.top_rule);
  line(s_.frames.header_row);
  line(s_.heading.border_kind == 'B' ? s_.frames.bold_separator : s_.frames.separator);
  headed_page_ = page_;
  line_counter_ += 5;
}

void PagePrinter::print_foot() {
  line(s_.frames.bottom_rule);
  char number[32];
  const int length =
      std::snprintf(number, sizeof number, "- %lld -", static_cast<long long>(page_));
  const auto half_width = static_cast<std::int64_t>(table_width_ / 2);
  const std::int64_t spaces = half_width - length / 2;
  if (spaces > 0) out_.fill(' ', static_cast<std::size_t>(spaces));
  line(std::string_view(number, static_cast<std::size_t>(length)));
  line_counter_ = 0;
  ++page_;
}

void PagePrinter::finish() {
  char total[64];
  // (総件数:N)
  const int length = std::snprintf(total, sizeof total, "(\x91\x8D\x8C\x8F\x90\x94:%lld)\n",
                                   static_cast<long long>(records_read_));
  out_.write(std::string_view(total, static_cast<std::size_t>(length)));
  if (s_.form_feeds) out_.put(kFormFeed);
}

}  // namespace

void protect_wrap_points(std::string_view text, int width, const sjis::CodePage& code_page,
                         bool& inside, std::string& out) {
  const auto w = static_cast<std::size_t>(width);
  const std::size_t start = out.size();
  // A space goes only at the end of a sub-line, and at least w - 1 bytes of text follow
  // it before the next one can: after a lone lead byte every byte that cannot complete
  // it is classed Lead, so in a column of 2 every byte of the text may need a space.
  const std::size_t most_spaces = w > 1 ? text.size() / (w - 1) + 1 : text.size();
  out.resize(start + text.size() + most_spaces);
  char* o = out.data() + start;
  // Position within the current sub-line of the next byte placed, counting from 1.
  std::size_t column = start % w + 1;
  auto advance = [w](std::size_t c, std::size_t n) { return (c - 1 + n) % w + 1; };
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    if (!inside) {
      // Bytes below 80 are never lead bytes: outside a character they need no space.
      if (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word & 0x8080808080808080ULL) == 0) {
          std::memcpy(o, p, 8);
          o += 8;
          p += 8;
          column = advance(column, 8);
          continue;
        }
      }
      // A whole double-byte character: moved when its first byte would end a sub-line.
      if (end - p >= 2 && sjis::is_whole_character(code_page, static_cast<unsigned char>(p[0]),
                                                   static_cast<unsigned char>(p[1]))) {
        if (column == w) {
          *o++ = ' ';
          column = 1;
        }
        o[0] = p[0];
        o[1] = p[1];
        o += 2;
        p += 2;
        column = advance(column, 2);
        continue;
      }
    }
    // One byte. It is classed Lead exactly when it leaves a character open: a lead byte
    // outside one, or a byte that cannot complete the one that is open.
    const auto b = static_cast<unsigned char>(*p++);
    inside = sjis::inside_after(code_page, inside, b);
    if (inside && column == w) {
      *o++ = ' ';
      column = 1;
    }
    *o++ = static_cast<char>(b);
    column = advance(column, 1);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

bool write_ruled_pages(const PageSetup& setup, std::int64_t record_count, sjis::ByteReader& work,
                       sjis::ByteWriter& out) {
  PagePrinter printer(setup, record_count, out);
  std::string record;
  // A listing that cannot be written is not rendered to its end.
  while (!out.failed() && read_record(work, record)) {
    if (record.back() == '\n') record.pop_back();
    printer.print_record(record);
  }
  if (work.error()) return false;
  printer.finish();
  return true;
}

}  // namespace kavrile7

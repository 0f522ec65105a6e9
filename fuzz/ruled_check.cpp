#include "fuzz/ruled_check.h"

#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sjis/sjis_scanner.h"

namespace fuzz {
namespace {

constexpr std::string_view kBar = "\x84\xA0";                            // │
constexpr std::string_view kTotalPrefix = "(\x91\x8D\x8C\x8F\x90\x94:";  // (総件数:

// Walks the written listing line by line.
class ListingReader {
 public:
  explicit ListingReader(std::string_view text) : text_(text) {}

  // The next line, without the CR LF that ends it.
  std::string_view line() {
    const std::size_t lf = text_.find('\n', pos_);
    check(lf != std::string_view::npos && lf > pos_ && text_[lf - 1] == '\r',
          "every line ends in CR LF");
    const std::string_view result = text_.substr(pos_, lf - 1 - pos_);
    pos_ = lf + 1;
    return result;
  }

  bool at(std::string_view prefix) const { return text_.substr(pos_).starts_with(prefix); }

  bool take(std::string_view prefix) {
    if (!at(prefix)) return false;
    pos_ += prefix.size();
    return true;
  }

  bool at_end() const { return pos_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Reads the sub-lines of one record and checks their shape. Returns their number.
std::size_t check_record(ListingReader& reader, const kavrile7::PageSetup& setup) {
  const kavrile7::ColumnLayout& layout = setup.layout;
  const std::size_t table_width = setup.frames.top_rule.size();
  std::vector<std::vector<std::string_view>> slices;  // [sub-line][column]
  while (reader.at(kBar)) {
    const std::string_view sub_line = reader.line();
    check(sub_line.size() == table_width, "every sub-line is as long as the top rule");
    std::vector<std::string_view> cells;
    std::size_t pos = 0;
    for (int c = 0; c < layout.column_count; ++c) {
      check(sub_line.substr(pos, 2) == kBar, "a vertical bar before every cell");
      const auto width = static_cast<std::size_t>(layout.column_width[c]);
      cells.push_back(sub_line.substr(pos + 2, width));
      pos += 2 + width;
    }
    check(sub_line.substr(pos) == kBar, "a vertical bar after the last cell");
    slices.push_back(std::move(cells));
  }

  // Classify each cell's text across its sub-lines as the wrap protection does, from the
  // record's start and carrying from one column to the next: a sub-line must never begin
  // with the trail byte of a character whose lead byte ended the sub-line before.
  sjis::SjisScanner scanner(setup.code_page, /*control_marking=*/false);
  for (int c = 0; c < layout.column_count; ++c) {
    for (std::size_t s = 0; s < slices.size(); ++s) {
      const std::string_view cell = slices[s][static_cast<std::size_t>(c)];
      for (std::size_t i = 0; i < cell.size(); ++i) {
        const auto b = static_cast<unsigned char>(cell[i]);
        check(!(i == 0 && s > 0 && scanner.inside() && (setup.code_page.sets[b] & sjis::kTrail)),
              "no double-byte character is split across two sub-lines");
        scanner.classify(b);
      }
    }
  }
  return slices.size();
}

}  // namespace

void check_ruled_listing(std::string_view written, const kavrile7::PageSetup& setup,
                         std::int64_t record_count) {
  const kavrile7::FrameLines& frames = setup.frames;
  const std::size_t table_width = frames.top_rule.size();
  for (const std::string* rule : {&frames.header_row, &frames.separator, &frames.bottom_rule}) {
    check(rule->size() == table_width, "every frame line is as long as the top rule");
  }
  const bool bold = setup.heading.border_kind == 'B';
  const std::string& head_separator = bold ? frames.bold_separator : frames.separator;
  check(head_separator.size() == table_width, "the separator under the header fits the table");
  std::string date_line;
  if (setup.heading.date_kind != 'N') {
    const std::size_t date_length = setup.date_text.size();
    if (date_length < table_width) date_line.assign(table_width - date_length, ' ');
    date_line += setup.date_text.substr(0, date_length - 1);  // without its LF
  }

  ListingReader reader(written);
  std::int64_t page = 0;
  std::int64_t records = 0;
  while (!reader.at(kTotalPrefix)) {
    ++page;
    if (setup.form_feeds && page > 1) check(reader.take("\f"), "a form feed before every page");
    if (setup.heading.date_kind != 'N') check(reader.line() == date_line, "the date line");
    check(reader.line() == setup.heading.title, "the title");
    check(reader.line() == frames.top_rule, "the top rule");
    check(reader.line() == frames.header_row, "the header row");
    check(reader.line() == head_separator, "the separator under the header");
    std::int64_t counted = 5;
    for (;;) {
      ++records;
      check(records <= record_count, "no more records than the data pass wrote");
      counted += static_cast<std::int64_t>(check_record(reader, setup));
      const bool last = records == record_count;
      const std::string_view after = reader.line();
      if (after == frames.separator) {
        check(counted < setup.heading.lines_per_page && !last,
              "a separator only between two records of a page that is not full");
        ++counted;
        continue;
      }
      check(after == frames.bottom_rule, "a record is followed by a separator or the foot");
      check(counted >= setup.heading.lines_per_page || last,
            "a page ends when it is full or after the last record");
      const std::string number = "- " + std::to_string(page) + " -";
      const auto half = static_cast<std::int64_t>(table_width / 2);
      const std::int64_t spaces = half - static_cast<std::int64_t>(number.size() / 2);
      check(reader.line() ==
                std::string(static_cast<std::size_t>(std::max<std::int64_t>(spaces, 0)), ' ') +
                    number,
            "the centred page number");
      break;
    }
  }
  check(records == record_count, "every record written is printed");
  check(reader.line() == std::string(kTotalPrefix) + std::to_string(record_count) + ")",
        "the total line counts the records");
  if (setup.form_feeds) check(reader.take("\f"), "a form feed after the total line in mode P");
  check(reader.at_end(), "nothing after the total line");
}

}  // namespace fuzz

// Writes deterministic customer records for the benchmark, in UTF-8, one per line, eight
// TAB-separated fields: customer number, name in kanji, name in full-width katakana, name
// in half-width katakana, an ASCII word, an amount, a date and a free-text note of 0 to
// 200 bytes (once converted to code page 932). The benchmark converts the output to code
// page 932 with iconv.
//
// Usage: gen_data BYTES [SEED] > data.utf8.tsv
// BYTES is the approximate size in code page 932 bytes; the same SEED gives the same data.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// splitmix64: small, fast and the same on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  template <typename T>
  const T& pick(const std::vector<T>& v) {
    return v[below(v.size())];
  }

 private:
  std::uint64_t state_;
};

struct Person {
  std::string_view kanji;
  std::string_view katakana;
  std::string_view half_width;
};

const std::vector<Person> kFamily = {
    {"佐藤", "サトウ", "ｻﾄｳ"},     {"鈴木", "スズキ", "ｽｽﾞｷ"},   {"高橋", "タカハシ", "ﾀｶﾊｼ"},
    {"田中", "タナカ", "ﾀﾅｶ"},     {"伊藤", "イトウ", "ｲﾄｳ"},     {"渡辺", "ワタナベ", "ﾜﾀﾅﾍﾞ"},
    {"山本", "ヤマモト", "ﾔﾏﾓﾄ"},  {"中村", "ナカムラ", "ﾅｶﾑﾗ"},  {"小林", "コバヤシ", "ｺﾊﾞﾔｼ"},
    {"加藤", "カトウ", "ｶﾄｳ"},     {"表", "オモテ", "ｵﾓﾃ"},       {"能登", "ノト", "ﾉﾄ"},
    {"十河", "ソゴウ", "ｿｺﾞｳ"},    {"山田", "ヤマダ", "ﾔﾏﾀﾞ"},    {"松本", "マツモト", "ﾏﾂﾓﾄ"},
};
const std::vector<Person> kGiven = {
    {"太郎", "タロウ", "ﾀﾛｳ"},     {"花子", "ハナコ", "ﾊﾅｺ"},     {"一郎", "イチロウ", "ｲﾁﾛｳ"},
    {"陽子", "ヨウコ", "ﾖｳｺ"},     {"翔太", "ショウタ", "ｼｮｳﾀ"},  {"美咲", "ミサキ", "ﾐｻｷ"},
    {"健", "ケン", "ｹﾝ"},          {"聡", "サトシ", "ｻﾄｼ"},       {"能久", "ヨシヒサ", "ﾖｼﾋｻ"},
    {"蒼", "ソウ", "ｿｳ"},          {"ポール", "ポール", "ﾎﾟｰﾙ"},   {"結衣", "ユイ", "ﾕｲ"},
};
const std::vector<std::string_view> kWords = {
    "alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india",
    "juliet", "kilo", "lima", "mike", "november", "oscar", "papa", "quebec", "romeo",
};
// Note fragments: kanji, kana, ASCII and characters whose second byte in code page 932 is
// 5C or 7C (ソ 表 能 ポ 十 予).
const std::vector<std::string_view> kNote = {
    "ソフトウェア保守契約",  "表計算の資料を送付", "能力開発研修に参加", "ポイント還元",
    "十月末までに入金予定",   "予約済み",           "電話連絡済み",       "要確認",
    "ｺﾒﾝﾄ欄参照",            "支払条件は月末締め翌月払い", "請求書再発行",   "住所変更あり",
    "担当: sales team",       "ref#1024",           "次回訪問 2025/04/01", "特記事項なし",
    "ﾎﾟｲﾝﾄｶｰﾄﾞ会員",          "配送先は本社",       "、",                 "。",
};

std::size_t cp932_length(std::string_view utf8) {
  // One byte for ASCII and half-width katakana (3-byte UTF-8 EF BD/BE ..), two otherwise.
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      ++n;
      ++i;
    } else if (c == 0xEF && i + 1 < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + 1]) == 0xBD ||
                static_cast<unsigned char>(utf8[i + 1]) == 0xBE)) {
      ++n;
      i += 3;
    } else {
      n += 2;
      i += c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
  }
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gen_data BYTES [SEED]\n");
    return 2;
  }
  const std::uint64_t target = std::strtoull(argv[1], nullptr, 10);
  Random rng(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 7);
  std::string line;
  std::string out;
  std::uint64_t written = 0;
  for (std::uint64_t n = 1; written < target; ++n) {
    const Person& family = rng.pick(kFamily);
    const Person& given = rng.pick(kGiven);
    char number[64];
    std::snprintf(number, sizeof number, "C%07llu", static_cast<unsigned long long>(n));
    char amount[64];
    std::snprintf(amount, sizeof amount, "%llu", static_cast<unsigned long long>(rng.below(9999999)));
    char date[64];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", 2000 + static_cast<int>(rng.below(26)),
                  1 + static_cast<int>(rng.below(12)), 1 + static_cast<int>(rng.below(28)));
    std::string note;
    const std::size_t note_limit = rng.below(201);
    while (true) {
      const std::string_view piece = rng.pick(kNote);
      if (cp932_length(note) + cp932_length(piece) > note_limit) break;
      note += piece;
    }
    line.clear();
    line.append(number).append("\t");
    line.append(family.kanji).append(" ").append(given.kanji).append("\t");
    line.append(family.katakana).append("　").append(given.katakana).append("\t");
    line.append(family.half_width).append(" ").append(given.half_width).append("\t");
    line.append(rng.pick(kWords)).append(".").append(rng.pick(kWords)).append("\t");
    line.append(amount).append("\t").append(date).append("\t").append(note).append("\n");
    written += cp932_length(line);
    out += line;
    if (out.size() > (1 << 20)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

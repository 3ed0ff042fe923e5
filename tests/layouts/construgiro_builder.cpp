#include "layouts/construgiro_builder.hpp"

#include "app/record_reader.hpp"
#include "banking/text.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

namespace {

std::string Digits(std::size_t value, std::size_t width) { return PadZeroLeft(std::to_string(value), width); }

// The example remessa_construgiro_ok.rem. Account 1234.870.00004321 has digit
// 1: weights 8,7,6,5,4,3,2,9,... give 145, (10 x 145) mod 11 = 1. The
// development is bought for 250.000,00 with a debt of 200.000,00, signed on
// 15/03/2025, useful area 65 of 80. In P, agency 01234 has digit 3 and, with
// account 870000012346, digit 8 at 37.
const std::vector<std::string>& Example() {
  static const std::vector<std::string> records = [] {
    RecordReader reader(VERILOTE_SOURCE_DIR "/examples/construgiro/remessa_construgiro_ok.rem");
    std::vector<std::string> all;
    for (std::string rec; reader.Next(rec);) all.push_back(rec);
    return all;
  }();
  return records;
}

std::string With(std::string rec, Fields more) {
  for (const auto& [pos, value] : more) Put(rec, pos, value);
  return rec;
}

}  // namespace

std::string ConstrugiroP(Fields more) { return With(Example()[2], more); }

std::string ConstrugiroQ(Fields more) { return With(Example()[3], more); }

std::vector<std::string> ConstrugiroFile::Lines() const {
  std::vector<std::string> lines{Example()[0]};
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    lines.push_back(With(Example()[i == 0 ? 1 : 9], {{4, lote}}));  // BLOCO A APTO 101, BLOCO B APTO 202
    for (std::size_t d = 0; d < lotes[i].size(); ++d)
      lines.push_back(With(lotes[i][d], {{4, lote}, {9, Digits(d + 1, 5)}}));
    lines.push_back(With(Example()[8], {{4, lote}, {18, Digits(lotes[i].size() + 2, 6)}}));
  }
  lines.push_back(With(Example()[13], {{18, Digits(lotes.size(), 6)}, {24, Digits(lines.size() + 1, 6)}}));
  return lines;
}

ConstrugiroFile CleanConstrugiroFile() {
  const std::vector<std::string>& e = Example();
  return {{{e.begin() + 2, e.begin() + 8}, {e[10], e[11]}}};
}

}  // namespace verilote::testing

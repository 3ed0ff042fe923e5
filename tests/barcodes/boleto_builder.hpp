// Builders of valid boleto (bank 104) and collection (product 8) barcodes from
// their fields, with the FEBRABAN and CAIXA check-digit rules written out here
// on their own, so the tests do not lean on the routines they check; and the
// shorthands the barcode tests share.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

// Weights 2 to 9 from the rightmost digit leftwards: the sum.
int WeightedSum2To9(std::string_view digits);

// FEBRABAN general digit (position 5) of the 43 digits 1-4 + 6-44: modulo 11,
// weights 2 to 9 from the right; 11 - (S mod 11), 0, 10 and 11 becoming 1.
char FebrabanGeneralDigit(std::string_view digits43);

// Modulo 10 of a typeable-line field: weights 2,1,2,... from the right, a
// product above 9 counts as the sum of its digits; 10 - (S mod 10), 10 -> 0.
char FieldDigit(std::string_view digits);

// Positions 1-19 of a barcode, position 5 left for the general digit.
struct BarcodeHead {
  std::string bank = "104";
  std::string currency = "9";
  std::string factor = "1652";  // 06/12/2026
  std::string value = "0000012345";
};

// Head + free field (25 digits) with the general digit put at position 5.
std::string Assemble(const BarcodeHead& head, std::string_view freeField);

// SIGCB: cedente (6), type (position 30), issuer digit (position 34) and the
// 15 sequence digits (27-29, 31-33, 35-43); the cedente digit (26) and the
// free-field digit (44) computed: weights 2 to 9 from the right, a sum below
// 11 gives 11 - S, otherwise 11 - (S mod 11), 10 and 11 becoming 0.
std::string SigcbBarcode(std::string_view cedente6, char type, char issuer, std::string_view sequence15,
                         const BarcodeHead& head = {});

// SICOB with the Nosso Número (10) at 20-29 and the cedente's agency (4),
// operation (3) and code (8) at 30-44.
inline std::string SicobBarcode11(std::string_view nossoNumero10, std::string_view cedente15,
                                  const BarcodeHead& head = {}) {
  return Assemble(head, std::string(nossoNumero10) + std::string(cedente15));
}

// SINCO: "1" at 20, the cedente (6), the Nosso Número (18).
inline std::string SincoBarcode(std::string_view cedente6, std::string_view nossoNumero18,
                                const BarcodeHead& head = {}) {
  return Assemble(head, "1" + std::string(cedente6) + std::string(nossoNumero18));
}

// The 47 digits of the typeable line of a barcode.
std::string TypeableDigits(std::string_view barcode);

// The same line as boletos print it: "xxxxx.xxxxx" "xxxxx.xxxxxx"
// "xxxxx.xxxxxx" "x" "xxxxxxxxxxxxxx" with `gap` between the fields.
std::string PrintedLine(std::string_view barcode, std::string_view gap = " ");

// The barcode with the text at position `pos` (1-based) on; no digit redone.
std::string With(std::string barcode, std::size_t pos, std::string_view text);
inline std::string With(std::string barcode, std::size_t pos, char c) {
  return With(std::move(barcode), pos, std::string_view(&c, 1));
}

// The general digit (position 5) recomputed after a change, as the issuer of a
// well-formed but otherwise wrong barcode would print it.
inline std::string RedoGeneralDigit(std::string b) {
  b[4] = FebrabanGeneralDigit(b.substr(0, 4) + b.substr(5));
  return b;
}

// A digit other than `d`.
inline char Other(char d) { return d == '9' ? '0' : static_cast<char>(d + 1); }

// ---- Collection (product 8) barcodes.

// The check digit of the covered digits by the module the value identifier
// (third position) names: modulo 11 for 8 and 9 (weights 2 to 9 from the
// right; remainders 0 and 1 give 0, any other r gives 11 - r), modulo 10
// otherwise.
char CollectionDigit(char valueId, std::string_view digits);

// A product-8 barcode: segment, value identifier, then positions 5-44 (40
// digits); position 4 computed.
inline std::string Collection(char segment, char valueId, std::string_view positions5To44) {
  const std::string head = std::string("8") + segment + valueId;
  return head + CollectionDigit(valueId, head + std::string(positions5To44)) + std::string(positions5To44);
}

// Position 4 recomputed after a change.
inline std::string Redigit(std::string b) {
  b[3] = CollectionDigit(b[2], b.substr(0, 3) + b.substr(4));
  return b;
}

// A SITCS boleto of bank 104: factor, value (10 digits), union code at 22-26
// (entity type 1) or entity code at 24-26 (types 2-4), Nosso Número (12).
struct SitcsBoleto {
  std::string factor = "1500";
  std::string value = "0000012345";
  char type = '1';
  std::string code = "12345";  // 5 digits for a union, 3 for the other entities
  std::string nossoNumero = "000000000001";

  std::string Barcode() const {
    const std::string codeField = type == '1' ? code : "00" + code;
    return Assemble({"104", "9", factor, value}, "97" + codeField + '7' + type + "77" + nossoNumero + "43");
  }
};

}  // namespace verilote::testing

namespace verilote {

// Shorthands of the barcode tests.
using Lines = std::vector<std::string>;
using testing::Collection;
using testing::CrLfFile;
using testing::FakeHost;
using testing::Other;
using testing::Redigit;
using testing::TempFile;
using testing::With;
inline Lines L(std::initializer_list<std::string_view> texts) { return testing::Lines(texts); }
inline constexpr Verdict kClean = Verdict::Clean;
inline constexpr Outcome::Status kRunClean = Outcome::Status::Clean, kRunFaulty = Outcome::Status::Faulty,
                                 kRunAborted = Outcome::Status::Aborted;
// Runs a command on the answers, with a file of `bytes` chosen when given;
// expects its status and gives its host.
inline FakeHost Execute(Handler command, std::vector<std::string> answers, Outcome::Status expected,
                        std::optional<std::string> bytes = std::nullopt) {
  TempFile file(bytes.value_or(""));
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  if (bytes) host.files = {file.path()};
  EXPECT_EQ(RunCommand(command, host).status, expected);
  return host;
}
// The lines [from, to) of a report; `from` counts from the end when negative,
// `to` when not positive.
inline Lines Slice(const Lines& r, std::ptrdiff_t from, std::ptrdiff_t to) {
  const auto n = static_cast<std::ptrdiff_t>(r.size());
  if (from < 0) from += n;
  if (to <= 0) to += n;
  if (from < 0 || to > n || from > to) return {"(out of range)"};
  return Lines(r.begin() + from, r.begin() + to);
}

}  // namespace verilote

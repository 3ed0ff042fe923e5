#include "barcodes/boleto_builder.hpp"

#include <cassert>

namespace verilote::testing {

namespace {

int Value(char c) { return c - '0'; }

char Digit(int d) { return static_cast<char>('0' + d); }

}  // namespace

int WeightedSum2To9(std::string_view digits) {
  int sum = 0, weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += Value(*it) * weight;
    weight = weight == 9 ? 2 : weight + 1;
  }
  return sum;
}

char FebrabanGeneralDigit(std::string_view digits43) {
  const int d = 11 - WeightedSum2To9(digits43) % 11;
  return d == 0 || d == 10 || d == 11 ? '1' : Digit(d);
}

char FieldDigit(std::string_view digits) {
  int sum = 0, weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    const int p = Value(*it) * weight;
    sum += p > 9 ? p / 10 + p % 10 : p;
    weight = 3 - weight;
  }
  return Digit((10 - sum % 10) % 10);
}

char SigcbDigit(std::string_view digits) {
  const int sum = WeightedSum2To9(digits);
  if (sum < 11) return sum < 2 ? '0' : Digit(11 - sum);
  const int d = 11 - sum % 11;
  return d > 9 ? '0' : Digit(d);
}

char SicobCedenteDigit(std::string_view digits15) {
  static constexpr int kWeights[15] = {8, 7, 6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int sum = 0;
  for (int i = 0; i < 15; ++i) sum += Value(digits15[i]) * kWeights[i];
  const int d = 10 * sum % 11;
  return d == 10 ? '0' : Digit(d);
}

char NossoNumeroDigit(std::string_view digits) {
  const int d = 11 - WeightedSum2To9(digits) % 11;
  return d > 9 ? '0' : Digit(d);
}

std::string Assemble(const BarcodeHead& head, std::string_view freeField) {
  assert(freeField.size() == 25);
  const std::string rest = head.factor + head.value + std::string(freeField);
  const std::string first = head.bank + head.currency;
  return first + FebrabanGeneralDigit(first + rest) + rest;
}

std::string SigcbBarcode(std::string_view cedente6, char type, char issuer, std::string_view sequence15,
                         const BarcodeHead& head) {
  std::string free(cedente6);
  free += SigcbDigit(cedente6);
  free += sequence15.substr(0, 3);
  free += type;
  free += sequence15.substr(3, 3);
  free += issuer;
  free += sequence15.substr(6, 9);
  free += SigcbDigit(free);
  return Assemble(head, free);
}

std::string SicobBarcode16(std::string_view code5, std::string_view agency4, std::string_view nossoNumero14,
                           const BarcodeHead& head) {
  return Assemble(head, std::string(code5) + std::string(agency4) + "87" + std::string(nossoNumero14));
}

std::string SicobBarcode11(std::string_view nossoNumero10, std::string_view cedente15, const BarcodeHead& head) {
  return Assemble(head, std::string(nossoNumero10) + std::string(cedente15));
}

std::string SincoBarcode(std::string_view cedente6, std::string_view nossoNumero18, const BarcodeHead& head) {
  return Assemble(head, "1" + std::string(cedente6) + std::string(nossoNumero18));
}

std::string TypeableDigits(std::string_view b) {
  const std::string f1 = std::string(b.substr(0, 4)) + std::string(b.substr(19, 5));
  const std::string f2(b.substr(24, 10)), f3(b.substr(34, 10));
  return f1 + FieldDigit(f1) + f2 + FieldDigit(f2) + f3 + FieldDigit(f3) + b[4] + std::string(b.substr(5, 14));
}

std::string PrintedLine(std::string_view barcode, std::string_view gap) {
  const std::string d = TypeableDigits(barcode);
  const std::string g(gap);
  return d.substr(0, 5) + "." + d.substr(5, 5) + g + d.substr(10, 5) + "." + d.substr(15, 6) + g + d.substr(21, 5) +
         "." + d.substr(26, 6) + g + d.substr(32, 1) + g + d.substr(33);
}

std::string With(std::string barcode, std::size_t pos, std::string_view text) {
  barcode.replace(pos - 1, text.size(), text);
  return barcode;
}

}  // namespace verilote::testing

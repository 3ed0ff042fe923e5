#include "barcodes/boleto_builder.hpp"

#include <cassert>

namespace verilote::testing {

namespace {

int Value(char c) { return c - '0'; }

char Digit(int d) { return static_cast<char>('0' + d); }

char SigcbDigit(std::string_view digits) {
  const int sum = WeightedSum2To9(digits);
  if (sum < 11) return sum < 2 ? '0' : Digit(11 - sum);
  const int d = 11 - sum % 11;
  return d > 9 ? '0' : Digit(d);
}

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

char CollectionDigit(char valueId, std::string_view digits) {
  const int r = WeightedSum2To9(digits) % 11;
  return valueId == '8' || valueId == '9' ? Digit(r <= 1 ? 0 : 11 - r) : FieldDigit(digits);
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

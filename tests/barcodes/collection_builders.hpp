// Builders of valid collection (product 8) and union-contribution barcodes,
// with the check digits computed from the bank's own description, apart from
// the program's routines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "barcodes/boleto_builder.hpp"

namespace verilote::testing {

// FEBRABAN modulo 11 of collection documents (value identifiers 8 and 9):
// weights 2 to 9 from the right; remainders 0 and 1 give 0, any other r
// gives 11 - r (so remainder 10 gives 1).
inline int Modulo11(std::string_view digits) {
  const int r = WeightedSum2To9(digits) % 11;
  return r <= 1 ? 0 : 11 - r;
}

// The check digit of the covered digits by the module the value identifier
// (third position) names: modulo 11 for 8 and 9, modulo 10 otherwise.
inline char CollectionDigit(char valueId, std::string_view digits) {
  return valueId == '8' || valueId == '9' ? static_cast<char>('0' + Modulo11(digits)) : FieldDigit(digits);
}

// A product-8 barcode: segment, value identifier, then positions 5-44 (40
// digits); position 4 computed.
inline std::string Collection(char segment, char valueId, std::string_view positions5To44) {
  const std::string head = std::string("8") + segment + valueId;
  return head + CollectionDigit(valueId, head + std::string(positions5To44)) + std::string(positions5To44);
}

// Position 4 recomputed after a change, as the issuer of a well-formed but
// otherwise wrong barcode would print it.
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

// The lines of a message box (a carriage return breaks the line).
inline std::vector<std::string> MessageLines(std::string_view message) {
  std::vector<std::string> lines(1);
  for (const char c : message) {
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  return lines;
}

}  // namespace verilote::testing

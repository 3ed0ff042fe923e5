// Builders of valid barcodes for the collection tests, with the check digits
// computed here from the bank's own description, apart from the program's
// routines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace verilote::testing {

// FEBRABAN modulo 10: weights 2, 1, 2, 1, ... from the rightmost digit; a
// two-digit product adds its two digits; the digit is 10 minus the total
// modulo 10, and 0 where that is 10.
inline int Modulo10(std::string_view digits) {
  int total = 0, weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    const int product = (*it - '0') * weight;
    total += product / 10 + product % 10;
    weight = weight == 2 ? 1 : 2;
  }
  return (10 - total % 10) % 10;
}

// FEBRABAN modulo 11 of collection documents (value identifiers 8 and 9):
// weights 2 to 9 from the rightmost digit, starting again at 2; remainders 0
// and 1 give 0, remainder 10 gives 1, any other r gives 11 - r.
inline int Modulo11(std::string_view digits) {
  int total = 0, weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    total += (*it - '0') * weight;
    weight = weight == 9 ? 2 : weight + 1;
  }
  const int r = total % 11;
  return r <= 1 ? 0 : 11 - r;
}

// The boleto's general digit (position 5): weights 2 to 9 from the right over
// positions 1-4 and 6-44; 11 - r, and 1 where that gives 0, 10 or 11.
inline int BoletoGeneralDigit(std::string_view barcode) {
  const std::string digits = std::string(barcode.substr(0, 4)) + std::string(barcode.substr(5));
  int total = 0, weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    total += (*it - '0') * weight;
    weight = weight == 9 ? 2 : weight + 1;
  }
  const int d = 11 - total % 11;
  return d >= 10 ? 1 : d;
}

// A product-8 barcode: segment, value identifier, then positions 5-44 (40
// digits); position 4 computed by the module the value identifier names.
inline std::string Collection(char segment, char valueId, std::string_view positions5To44) {
  const std::string head = std::string("8") + segment + valueId;
  const std::string covered = head + std::string(positions5To44);
  const int dv = (valueId == '8' || valueId == '9') ? Modulo11(covered) : Modulo10(covered);
  return head + static_cast<char>('0' + dv) + std::string(positions5To44);
}

// The same barcode with position `pos` (1-based) replaced, check digit left
// as it was.
inline std::string With(std::string barcode, std::size_t pos, std::string_view text) {
  barcode.replace(pos - 1, text.size(), text);
  return barcode;
}

// Position 4 recomputed after a change, as the issuer of a well-formed but
// otherwise wrong barcode would print it.
inline std::string Redigit(std::string barcode) {
  const std::string covered = barcode.substr(0, 3) + barcode.substr(4);
  const int dv = (barcode[2] == '8' || barcode[2] == '9') ? Modulo11(covered) : Modulo10(covered);
  barcode[3] = static_cast<char>('0' + dv);
  return barcode;
}

// A SITCS boleto of bank 104: factor, value (10 digits), union code at 22-26
// (entity type 1) or entity code at 24-26 (types 2-4), Nosso Número (12).
struct SitcsBoleto {
  std::string factor = "1500";
  std::string value = "0000012345";
  char type = '1';
  std::string code = "12345";  // 5 digits for a union, 3 for the other entities
  char digit27 = '7';
  std::string nossoNumero = "000000000001";
  std::string last2 = "43";

  std::string FreeField() const {
    const std::string codeField = type == '1' ? code : "00" + code;
    return "97" + codeField + digit27 + type + "77" + nossoNumero + last2;
  }
  std::string Barcode() const {
    std::string b = "1049" + std::string("0") + factor + value + FreeField();
    b[4] = static_cast<char>('0' + BoletoGeneralDigit(b));
    return b;
  }
};

// The typeable line of a boleto barcode printed with `gap` between fields.
inline std::string PrintedLine(std::string_view b, std::string_view gap) {
  const auto field = [](std::string_view digits) { return static_cast<char>('0' + Modulo10(digits)); };
  const std::string f1 = std::string(b.substr(0, 4)) + std::string(b.substr(19, 5));
  const std::string f2(b.substr(24, 10)), f3(b.substr(34, 10));
  return f1.substr(0, 5) + "." + f1.substr(5) + field(f1) + std::string(gap) + f2.substr(0, 5) + "." + f2.substr(5) +
         field(f2) + std::string(gap) + f3.substr(0, 5) + "." + f3.substr(5) + field(f3) + std::string(gap) +
         std::string(b.substr(4, 1)) + std::string(gap) + std::string(b.substr(5, 14));
}

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

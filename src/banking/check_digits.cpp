#include "banking/check_digits.hpp"

#include <array>
#include <cstdint>

#include "banking/text.hpp"

namespace verilote {

namespace {

// The value of one character as a text routine reads it: the character
// converted as an integer, so a non-digit or a missing position (an empty
// piece) fails with "'x' is not a valid integer value".
[[gnu::noinline]] int ConvertedDigit(std::string_view text, std::size_t position) {
  return static_cast<int>(StrToInt(Copy(text, position, 1)));  // throws
}

VERILOTE_INLINE int TextDigit(std::string_view text, std::size_t position) {
  if (position >= 1 && position <= text.size() && static_cast<unsigned char>(text[position - 1] - '0') < 10)
    return text[position - 1] - '0';
  return ConvertedDigit(text, position);
}

// The character routines read any byte as its code minus 48; the text
// routines convert each position and fail on a non-digit.
auto CharDigits(std::string_view text) {
  return [text](std::size_t position) { return CharToDigit(text[position - 1]); };
}
auto TextDigits(std::string_view text) {
  return [text](std::size_t position) { return TextDigit(text, position); };
}

// Weights 2..9 from the right over positions `length` down to 1, wrapping
// back to 2 (Mod11Dv and its kin).
template <class Digits>
std::int64_t SumCycling(std::size_t length, Digits digit) {
  std::int64_t sum = 0;
  int weight = 2;
  for (std::size_t i = length; i > 0; --i) {
    sum += std::int64_t{digit(i)} * weight;
    if (++weight == 10) weight = 2;
  }
  return sum;
}

std::int64_t SumCycling(std::string_view text) { return SumCycling(text.size(), CharDigits(text)); }

// 11 - r with 10 and 11 mapped to `high`. Non-digit characters can make the
// sum negative; the remainder then keeps the sign, as the result is only
// defined, not meaningful.
char ElevenMinus(std::int64_t sum, char high) {
  const std::int64_t d = 11 - sum % 11;
  if (d == 10 || d == 11) return high;
  return DigitToChar(static_cast<int>(d));
}

// (10 x S) mod 11, with 10 mapped to 0; the same digit as 11 - r.
int TimesTen(std::int64_t sum) {
  const std::int64_t d = (10 * sum) % 11;
  return d == 10 ? 0 : static_cast<int>(d);
}

int ElevenMinusValue(std::int64_t sum) {
  const std::int64_t d = 11 - sum % 11;
  return d >= 10 ? 0 : static_cast<int>(d);
}

std::string DigitText(int d) { return std::string(1, DigitToChar(d)); }

// Text routine over fixed positions 1..N with the given weights.
template <std::size_t N>
std::int64_t SumWeighted(std::string_view text, const std::array<int, N>& weights) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < N; ++i) sum += std::int64_t{TextDigit(text, i + 1)} * weights[i];
  return sum;
}

// One modulo-10 product: above 9 counts as the sum of its two digits.
std::int64_t Mod10Product(std::int64_t value, int weight) {
  std::int64_t p = value * weight;
  if (p > 9) p = p / 10 + p % 10;
  return p;
}

// Modulo 10 over positions `length` down to 1, the rightmost weighted 2;
// 10 - r, 10 giving 0.
template <class Digits>
int Mod10Digit(std::size_t length, Digits digit) {
  std::int64_t sum = 0;
  int weight = 2;
  for (std::size_t i = length; i > 0; --i) {
    sum += Mod10Product(digit(i), weight);
    weight = 3 - weight;
  }
  const std::int64_t d = 10 - sum % 10;
  return d == 10 ? 0 : static_cast<int>(d);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char Mod11Dv(std::string_view text) { return ElevenMinus(SumCycling(text), '0'); }

char Mod11BarcodeDv(std::string_view text) { return ElevenMinus(SumCycling(text), '1'); }

char Mod11DvLowSum(std::string_view text) {
  const std::int64_t sum = SumCycling(text);
  if (sum >= 2 && sum < 11) return DigitToChar(static_cast<int>(11 - sum));
  return ElevenMinus(sum, '0');
}

char Mod11DvTimesTen(std::string_view text) { return DigitToChar(TimesTen(SumCycling(text))); }

char Mod11DvRising(std::string_view text) {
  std::int64_t sum = 0;
  std::int64_t weight = 2;
  for (std::size_t i = text.size(); i > 0; --i) sum += std::int64_t{CharToDigit(text[i - 1])} * weight++;
  return ElevenMinus(sum, '0');
}

std::string Mod11DvText(std::string_view text) {
  return DigitText(ElevenMinusValue(SumCycling(text.size(), TextDigits(text))));
}

std::string NossoNumero10Dv(std::string_view text) {
  static constexpr std::array<int, 10> kWeights = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  return DigitText(ElevenMinusValue(SumWeighted(text, kWeights)));
}

std::string NossoNumero15Dv(std::string_view text) {
  static constexpr std::array<int, 15> kWeights = {8, 7, 6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  return DigitText(ElevenMinusValue(SumWeighted(text, kWeights)));
}

std::string NossoNumero18Dv(std::string_view text) {
  static constexpr std::array<int, 18> kWeights = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  return DigitText(ElevenMinusValue(SumWeighted(PadZeroLeft(text, 18), kWeights)));
}

std::string Mod11Dv4(std::string_view text) {
  static constexpr std::array<int, 4> kWeights = {5, 4, 3, 2};
  return DigitText(TimesTen(SumWeighted(text, kWeights)));
}

std::string Mod11DvFrom8(std::string_view text) {
  std::int64_t sum = 0;
  int weight = 8;
  const bool digits = IsAllDigits(text);  // the usual text: no position to convert
  for (std::size_t i = 1; i <= text.size(); ++i) {
    sum += std::int64_t{digits ? text[i - 1] - '0' : TextDigit(text, i)} * weight;
    if (--weight == 1) weight = 9;
  }
  return DigitText(TimesTen(sum));
}

std::optional<char> AccountDvDigit(std::string_view agency, std::string_view operation, std::string_view account) {
  if (!IsAllDigits(agency) || !IsAllDigits(operation) || !IsAllDigits(account)) return std::nullopt;
  if (agency.size() != 4 || operation.size() != 3 || account.size() != 8)  // cut short by a record's end
    return Mod11DvFrom8(std::string(agency).append(operation).append(account))[0];
  const auto d = [](std::string_view digits, std::size_t i) { return std::int64_t{digits[i] - '0'}; };
  const std::int64_t sum = 8 * d(agency, 0) + 7 * d(agency, 1) + 6 * d(agency, 2) + 5 * d(agency, 3) +
                           4 * d(operation, 0) + 3 * d(operation, 1) + 2 * d(operation, 2) + 9 * d(account, 0) +
                           8 * d(account, 1) + 7 * d(account, 2) + 6 * d(account, 3) + 5 * d(account, 4) +
                           4 * d(account, 5) + 3 * d(account, 6) + 2 * d(account, 7);
  return DigitToChar(TimesTen(sum));
}

char Mod10Dv(std::string_view text) { return DigitToChar(Mod10Digit(text.size(), CharDigits(text))); }

std::string SetBarcodeDvMod10(std::string_view barcode) {
  const std::string t = std::string(Field(barcode, 1, 3)) + std::string(Field(barcode, 5, 44));
  const int digit = Mod10Digit(43, TextDigits(t));
  std::string out(Field(barcode, 1, 3));
  out += DigitToChar(digit);
  out += Field(barcode, 5, 44);
  return out;
}

bool CheckBarcodeDvMod10(std::string_view barcode) {
  const std::string withDigit = SetBarcodeDvMod10(barcode);
  return CharToDigit(withDigit[3]) == TextDigit(barcode, 4);
}

bool CheckBlockDvMod10(std::string_view block) { return Mod10Digit(11, TextDigits(block)) == TextDigit(block, 12); }

std::string CpfDvPair(std::string_view nineDigits) {
  std::string digits(nineDigits);
  const char d1 = Mod11DvRising(digits);
  digits += d1;
  return {d1, Mod11DvRising(digits)};
}

std::string CnpjDvPair(std::string_view twelveCharacters) {
  std::string text(twelveCharacters);
  const char d1 = Mod11Dv(text);
  text += d1;
  return {d1, Mod11Dv(text)};
}

// The pair of digits computed from the leading positions equals the two that
// follow them; the second digit is computed over the first one as found, which
// is the computed one whenever the first digit matches.
bool IsValidCpf(std::string_view text) {
  if (text.size() < 11) return false;
  // The first digit weighs positions 1-9 with 10 down to 2; the second weighs
  // positions 1-10 with 11 down to 2, one more each: the first sum, the plain
  // sum of positions 1-9 and twice position 10.
  const auto d = [text](std::size_t i) { return std::int64_t{CharToDigit(text[i])}; };
  const std::int64_t first =
      10 * d(0) + 9 * d(1) + 8 * d(2) + 7 * d(3) + 6 * d(4) + 5 * d(5) + 4 * d(6) + 3 * d(7) + 2 * d(8);
  const std::int64_t plain = d(0) + d(1) + d(2) + d(3) + d(4) + d(5) + d(6) + d(7) + d(8);
  return ElevenMinus(first, '0') == text[9] && ElevenMinus(first + plain + 2 * d(9), '0') == text[10];
}

bool IsValidCnpj(std::string_view text) {
  if (text.size() < 14) return false;
  // Mod11Dv of positions 1-12, then of positions 1-13, written out.
  const auto d = [text](std::size_t i) { return std::int64_t{CharToDigit(text[i])}; };
  const std::int64_t first = 5 * d(0) + 4 * d(1) + 3 * d(2) + 2 * d(3) + 9 * d(4) + 8 * d(5) + 7 * d(6) + 6 * d(7) +
                             5 * d(8) + 4 * d(9) + 3 * d(10) + 2 * d(11);
  const std::int64_t second = 6 * d(0) + 5 * d(1) + 4 * d(2) + 3 * d(3) + 2 * d(4) + 9 * d(5) + 8 * d(6) + 7 * d(7) +
                              6 * d(8) + 5 * d(9) + 4 * d(10) + 3 * d(11) + 2 * d(12);
  return ElevenMinus(first, '0') == text[12] && ElevenMinus(second, '0') == text[13];
}

std::string KeepCnpjCharacters(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (IsDigit(c) || (c >= 'A' && c <= 'Z'))
      out += c;
    else if (c >= 'a' && c <= 'z')
      out += static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsValidCpfCnpj(std::string_view text) {
  const std::string kept = KeepCnpjCharacters(text);
  std::string_view d = kept;
  if (d.size() >= 12 && d.starts_with("000")) d = d.substr(d.size() - 11);
  if (d.size() >= 12) {
    const std::string cnpj = PadZeroLeft(d, 14);
    // Positions 13-14 of an alphanumeric CNPJ are digits; a letter there can
    // never equal a computed digit, so IsValidCnpj already refuses it.
    return IsValidCnpj(cnpj);
  }
  const std::string cpf = PadZeroLeft(d, 11);
  return IsAllDigits(cpf) && IsValidCpf(cpf);
}

}  // namespace verilote

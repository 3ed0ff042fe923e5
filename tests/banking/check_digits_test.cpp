#include "banking/check_digits.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/errors.hpp"

namespace verilote {
namespace {

std::string RandomDigits(std::mt19937& rng, std::size_t n, char first = '0') {
  std::uniform_int_distribution<int> digit(0, 9);
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('0' + digit(rng));
  if (n > 0 && first != '0')
    out[0] = static_cast<char>(first + std::uniform_int_distribution<int>(0, '9' - first)(rng));
  return out;
}

// Each digit but the given one.
std::string OtherDigits(char digit) {
  std::string out;
  for (char c = '0'; c <= '9'; ++c)
    if (c != digit) out += c;
  return out;
}

TEST(CheckDigits, CharacterRoutinesModulo11) {
  struct Case {
    char (*routine)(std::string_view);
    const char* name;
    std::string_view text;
    char expected;
  };
  const Case cases[] = {
      // r = 0 gives 11, r = 1 gives 10: both "0", or "1" for the barcode digit.
      {Mod11Dv, "Mod11Dv", "0000", '0'},
      {Mod11Dv, "Mod11Dv", "6", '0'},  // S = 12, r = 1
      {Mod11Dv, "Mod11Dv", "1", '9'},
      {Mod11Dv, "Mod11Dv", "12", '4'},            // 2x2 + 1x3 = 7
      {Mod11Dv, "Mod11Dv", "100000000", '9'},     // the 9th character weighs 2 again
      {Mod11Dv, "Mod11Dv", "112223330001", '8'},  // CNPJ 11.222.333/0001-81
      {Mod11BarcodeDv, "Mod11BarcodeDv", "0000", '1'},
      {Mod11BarcodeDv, "Mod11BarcodeDv", "6", '1'},
      {Mod11BarcodeDv, "Mod11BarcodeDv", "12", '4'},
      {Mod11DvLowSum, "Mod11DvLowSum", "1", '9'},  // S = 2
      {Mod11DvLowSum, "Mod11DvLowSum", "5", '1'},  // S = 10
      {Mod11DvLowSum, "Mod11DvLowSum", "0000000000001", '9'},
      {Mod11DvLowSum, "Mod11DvLowSum", "11111", '2'},  // S = 20, r = 9
      {Mod11DvLowSum, "Mod11DvLowSum", "0000", '0'},   // S = 0: a digit, never ";"
      {Mod11DvLowSum, "Mod11DvLowSum", "6", '0'},      // S = 12, r = 1
      {Mod11DvTimesTen, "Mod11DvTimesTen", "12", '4'},
      {Mod11DvTimesTen, "Mod11DvTimesTen", "6", '0'},  // 120 mod 11 = 10
      {Mod11DvTimesTen, "Mod11DvTimesTen", "0000", '0'},
      {Mod11DvRising, "Mod11DvRising", "100000000", '1'},  // weight 10, no wrap
      {Mod11DvRising, "Mod11DvRising", "123456789", '0'},  // CPF 123.456.789-09
      {Mod11DvRising, "Mod11DvRising", "1234567890", '9'},
      {Mod10Dv, "Mod10Dv", "", '0'},
      {Mod10Dv, "Mod10Dv", "9", '1'},   // 18 counts 1 + 8
      {Mod10Dv, "Mod10Dv", "5", '9'},   // 10 counts 1 + 0
      {Mod10Dv, "Mod10Dv", "12", '5'},  // 1x1 + 2x2
      {Mod10Dv, "Mod10Dv", "0", '0'},
  };
  for (const Case& c : cases) EXPECT_EQ(c.routine(c.text), c.expected) << c.name << "(" << c.text << ")";
}

TEST(CheckDigits, CharacterRoutinesNeverFail) {
  for (const std::string_view text : {" ", "A", "12 4", "\xFF\x80", "-", ""}) {
    EXPECT_NO_THROW(Mod11Dv(text));
    EXPECT_NO_THROW(Mod11BarcodeDv(text));
    EXPECT_NO_THROW(Mod11DvLowSum(text));
    EXPECT_NO_THROW(Mod11DvTimesTen(text));
    EXPECT_NO_THROW(Mod11DvRising(text));
    EXPECT_NO_THROW(Mod10Dv(text));
    EXPECT_NO_THROW(CpfDvPair(text));
    EXPECT_NO_THROW(CnpjDvPair(text));
    EXPECT_NO_THROW(IsValidCpf(text));
    EXPECT_NO_THROW(IsValidCnpj(text));
    EXPECT_NO_THROW(IsValidCpfCnpj(text));
  }
}

TEST(CheckDigits, Mod11DvRisingAgreesWithMod11DvUpToEightCharacters) {
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = RandomDigits(rng, 1 + i % 8);
    EXPECT_EQ(Mod11DvRising(text), Mod11Dv(text)) << text;
  }
  // From the 9th character on the weights part: 10 against 2.
  EXPECT_NE(Mod11DvRising("100000000"), Mod11Dv("100000000"));
}

TEST(CheckDigits, TextRoutines) {
  struct Case {
    std::string (*routine)(std::string_view);
    const char* name;
    std::string_view text;
    std::string_view expected;
  };
  const Case cases[] = {
      {Mod11DvText, "Mod11DvText", "12", "4"},
      {Mod11DvText, "Mod11DvText", "", "0"},
      {Mod11DvText, "Mod11DvText", "6", "0"},
      {NossoNumero10Dv, "NossoNumero10Dv", "0000000001", "9"},       // weight 2
      {NossoNumero10Dv, "NossoNumero10Dv", "1000000000", "8"},       // weight 3
      {NossoNumero10Dv, "NossoNumero10Dv", "0000000001XYZ", "9"},    // after position 10 ignored
      {NossoNumero10Dv, "NossoNumero10Dv", "1234500001", "7"},       // S = 103, r = 4
      {NossoNumero15Dv, "NossoNumero15Dv", "100000000000000", "3"},  // weight 8
      {NossoNumero15Dv, "NossoNumero15Dv", "000000000000001", "9"},
      {NossoNumero15Dv, "NossoNumero15Dv", "123456789000001", "6"},  // S = 258, r = 5
      {NossoNumero18Dv, "NossoNumero18Dv", "1", "9"},                // zero-filled to 18
      {NossoNumero18Dv, "NossoNumero18Dv", "", "0"},
      {NossoNumero18Dv, "NossoNumero18Dv", "100000000000000000", "8"},
      {NossoNumero18Dv, "NossoNumero18Dv", "1000000000000000009", "8"},  // cut to the first 18
      {Mod11Dv4, "Mod11Dv4", "1000", "6"},                               // 10 x 5 mod 11
      {Mod11Dv4, "Mod11Dv4", "0001", "9"},
      {Mod11Dv4, "Mod11Dv4", "0000", "0"},
      {Mod11Dv4, "Mod11Dv4", "0003", "5"},  // S = 6, 60 mod 11
      {Mod11DvFrom8, "Mod11DvFrom8", "", "0"},
      {Mod11DvFrom8, "Mod11DvFrom8", "1", "3"},                // weight 8
      {Mod11DvFrom8, "Mod11DvFrom8", "00000001", "2"},         // the 8th weighs 9
      {Mod11DvFrom8, "Mod11DvFrom8", "000100100000001", "2"},  // S = 5 + 2 + 2
  };
  for (const Case& c : cases) EXPECT_EQ(c.routine(c.text), c.expected) << c.name << "(" << c.text << ")";
}

TEST(CheckDigits, TextRoutinesFailOnANonDigitOrAMissingPosition) {
  struct Case {
    std::string (*routine)(std::string_view);
    const char* name;
    std::string_view text;
    std::string_view error;
  };
  const Case cases[] = {
      {NossoNumero10Dv, "NossoNumero10Dv", "123456789", "'' is not a valid integer value"},
      {NossoNumero10Dv, "NossoNumero10Dv", "12345 7890", "' ' is not a valid integer value"},
      {NossoNumero15Dv, "NossoNumero15Dv", "12345678901234", "'' is not a valid integer value"},
      {NossoNumero18Dv, "NossoNumero18Dv", "12A", "'A' is not a valid integer value"},
      {Mod11DvText, "Mod11DvText", "1-2", "'-' is not a valid integer value"},
      {Mod11Dv4, "Mod11Dv4", "123", "'' is not a valid integer value"},
      {Mod11DvFrom8, "Mod11DvFrom8", "AAAAOOOCCCCCCCC", "'A' is not a valid integer value"},
      {Mod11DvFrom8, "Mod11DvFrom8", "+1", "'+' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    try {
      c.routine(c.text);
      ADD_FAILURE() << c.name << "(" << c.text << ") did not fail";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string_view(e.what()), c.error) << c.name << "(" << c.text << ")";
    }
  }
}

TEST(CheckDigits, AccountDigitCountsFromTheLeftAndMatchesModulo11ForFifteenDigits) {
  std::mt19937 rng(15);
  for (int i = 0; i < 2000; ++i) {
    const std::string account = RandomDigits(rng, 15);
    EXPECT_EQ(Mod11DvFrom8(account), std::string(1, Mod11Dv(account))) << account;
  }
}

// The collection barcode's modulo-10 digit as FEBRABAN writes the rule: the 43
// digits without the DV, multiplied from right to left by 2, 1, 2, 1 ...; the
// digits of every product added up; the DV is what lacks for the next ten.
int FebrabanMod10(const std::string& digits) {
  int total = 0;
  int multiplier = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    for (const char c : std::to_string((*it - '0') * multiplier)) total += c - '0';
    multiplier = multiplier == 2 ? 1 : 2;
  }
  const int rest = total % 10;
  return rest == 0 ? 0 : 10 - rest;
}

TEST(CheckDigits, BarcodeModulo10AgreesWithTheFebrabanRule) {
  std::mt19937 rng(44);
  for (int i = 0; i < 3000; ++i) {
    const std::string barcode = "8" + RandomDigits(rng, 43);
    const std::string without = barcode.substr(0, 3) + barcode.substr(4);
    const char dv = static_cast<char>('0' + FebrabanMod10(without));
    const std::string expected = barcode.substr(0, 3) + dv + barcode.substr(4);
    ASSERT_EQ(SetBarcodeDvMod10(barcode), expected) << barcode;
    EXPECT_TRUE(CheckBarcodeDvMod10(expected)) << expected;
    for (const char other : OtherDigits(dv)) {
      std::string wrong = expected;
      wrong[3] = other;
      EXPECT_FALSE(CheckBarcodeDvMod10(wrong)) << wrong;
    }
  }
}

TEST(CheckDigits, BlockModulo10AgreesWithTheFebrabanRule) {
  std::mt19937 rng(12);
  for (int i = 0; i < 3000; ++i) {
    const std::string eleven = RandomDigits(rng, 11);
    const char dv = static_cast<char>('0' + FebrabanMod10(eleven));
    EXPECT_TRUE(CheckBlockDvMod10(eleven + dv)) << eleven << dv;
    for (const char other : OtherDigits(dv)) EXPECT_FALSE(CheckBlockDvMod10(eleven + other)) << eleven << other;
  }
  // A first part whose sum is a multiple of ten takes "0".
  EXPECT_TRUE(CheckBlockDvMod10("000000000000"));
  EXPECT_TRUE(CheckBlockDvMod10("000000000190"));  // 9 x 2 = 18 counts 9, plus 1 x 1: 10
}

TEST(CheckDigits, BarcodeModulo10Edges) {
  // "800" and forty zeros: 8 x 2 = 16 counts 7, so the digit is 3.
  const std::string barcode = "8003" + std::string(40, '0');
  EXPECT_EQ(SetBarcodeDvMod10("8000" + std::string(40, '0')), barcode);
  EXPECT_EQ(SetBarcodeDvMod10(barcode + "999"), barcode) << "after position 44 dropped";
  EXPECT_THROW(SetBarcodeDvMod10(barcode.substr(0, 43)), ConversionError);
  EXPECT_THROW(CheckBarcodeDvMod10(""), ConversionError);
  EXPECT_THROW(CheckBarcodeDvMod10("800X" + std::string(40, '0')), ConversionError);
  EXPECT_THROW(SetBarcodeDvMod10("8 0" + std::string(41, '0')), ConversionError);
  EXPECT_THROW(CheckBlockDvMod10("00000000000"), ConversionError);
  EXPECT_THROW(CheckBlockDvMod10("0000000000A0"), ConversionError);
}

TEST(CheckDigits, KnownCpfAndCnpj) {
  EXPECT_EQ(CpfDvPair("123456789"), "09");
  EXPECT_TRUE(IsValidCpf("12345678909"));
  EXPECT_FALSE(IsValidCpf("123.456.789-09")) << "nothing is filtered";
  EXPECT_FALSE(IsValidCpf("1234567890"));
  EXPECT_EQ(CnpjDvPair("112223330001"), "81");
  EXPECT_TRUE(IsValidCnpj("11222333000181"));
  EXPECT_FALSE(IsValidCnpj("11222333000180"));
  // Alphanumeric CNPJ: letters count as their code minus 48 (A = 17).
  EXPECT_EQ(CnpjDvPair("12ABC34501DE"), "35");
  EXPECT_TRUE(IsValidCnpj("12ABC34501DE35"));
  EXPECT_FALSE(IsValidCnpj("12ABC34501DE36"));
}

TEST(CheckDigits, IsValidCpfCnpj) {
  const std::pair<std::string_view, bool> cases[] = {
      {"123.456.789-09", true},
      {"12345678909", true},
      {"00012345678909", true},  // 14 digits beginning 000: the CPF of the last 11
      {"", true},                // eleven zeros
      {"123.456.789-08", false},
      {"11.222.333/0001-81", true},
      {"11.222.333/0001-80", false},
      {"112223330001819", true},  // more than 14: the first 14
      {"12.ABC.345/01DE-35", true},
      {"12.ABC.345/01DE-36", false},
      {"12.abc.345/01de-35", true},  // letters upper-cased
      {"12ABC34501DE3A", false},     // positions 13-14 are digits
      {"1234567890A", false},        // a CPF holds digits only
      {"1A345678909", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsValidCpfCnpj(text), expected) << text;
}

TEST(CheckDigits, CpfPropertyOverGeneratedNumbers) {
  std::mt19937 rng(11);
  for (int i = 0; i < 3000; ++i) {
    const std::string nine = RandomDigits(rng, 9);
    const std::string cpf = nine + CpfDvPair(nine);
    ASSERT_TRUE(IsValidCpf(cpf)) << cpf;
    ASSERT_TRUE(IsValidCpfCnpj(cpf)) << cpf;
    const std::string formatted =
        cpf.substr(0, 3) + "." + cpf.substr(3, 3) + "." + cpf.substr(6, 3) + "-" + cpf.substr(9, 2);
    EXPECT_TRUE(IsValidCpfCnpj(formatted)) << formatted;
    EXPECT_TRUE(IsValidCpfCnpj("000" + cpf)) << cpf;
    for (const char other : OtherDigits(cpf.back())) {
      std::string wrong = cpf;
      wrong.back() = other;
      EXPECT_FALSE(IsValidCpf(wrong)) << wrong;
      EXPECT_FALSE(IsValidCpfCnpj(wrong)) << wrong;
      EXPECT_FALSE(IsValidCpfCnpj("000" + wrong)) << wrong;
    }
  }
}

TEST(CheckDigits, CnpjPropertyOverGeneratedNumbers) {
  std::mt19937 rng(14);
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int i = 0; i < 3000; ++i) {
    // Numeric ones first, then alphanumeric; a first digit "0" could make the
    // combined check read "000..." as a CPF, so it starts at "1".
    std::string twelve = RandomDigits(rng, 12, '1');
    if (i % 2 == 1)
      for (std::size_t k = 1; k < 12; ++k) twelve[k] = alphabet[pick(rng)];
    const std::string cnpj = twelve + CnpjDvPair(twelve);
    ASSERT_TRUE(IsValidCnpj(cnpj)) << cnpj;
    ASSERT_TRUE(IsValidCpfCnpj(cnpj)) << cnpj;
    const std::string formatted = cnpj.substr(0, 2) + "." + cnpj.substr(2, 3) + "." + cnpj.substr(5, 3) + "/" +
                                  cnpj.substr(8, 4) + "-" + cnpj.substr(12, 2);
    EXPECT_TRUE(IsValidCpfCnpj(formatted)) << formatted;
    for (const char other : OtherDigits(cnpj.back())) {
      std::string wrong = cnpj;
      wrong.back() = other;
      EXPECT_FALSE(IsValidCnpj(wrong)) << wrong;
      EXPECT_FALSE(IsValidCpfCnpj(wrong)) << wrong;
    }
  }
}

TEST(CheckDigits, BarcodeDigitIsNeverZero) {
  std::mt19937 rng(5);
  for (int i = 0; i < 20000; ++i) {
    const char dv = Mod11BarcodeDv(RandomDigits(rng, 43));
    EXPECT_TRUE(dv >= '1' && dv <= '9') << dv;
  }
}

}  // namespace
}  // namespace verilote

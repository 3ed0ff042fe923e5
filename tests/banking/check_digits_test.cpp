#include "banking/check_digits.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/errors.hpp"

namespace verilote {
namespace {

std::string RandomDigits(std::mt19937& rng, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('0' + rng() % 10);
  return out;
}

TEST(CheckDigits, CharacterRoutines) {
  // clang-format off
  struct Case { char (*routine)(std::string_view); std::string_view text; char expected; };
  // r = 0 gives 11 and r = 1 gives 10: "0", or "1" for the barcode digit. Mod11Dv
  // weighs the 9th character 2 again, Mod11DvRising 10. Mod11DvLowSum takes
  // 11 - S below 11 (S = 2, 10, 20, 0, 12 here). Mod10Dv counts 18 as 1 + 8.
  const Case cases[] = {
      {Mod11Dv, "0000", '0'},
      {Mod11Dv, "6", '0'},
      {Mod11Dv, "1", '9'},
      {Mod11Dv, "12", '4'},
      {Mod11Dv, "100000000", '9'},
      {Mod11Dv, "112223330001", '8'},
      {Mod11BarcodeDv, "0000", '1'},
      {Mod11BarcodeDv, "6", '1'},
      {Mod11BarcodeDv, "12", '4'},
      {Mod11DvLowSum, "1", '9'},
      {Mod11DvLowSum, "5", '1'},
      {Mod11DvLowSum, "11111", '2'},
      {Mod11DvLowSum, "0000", '0'},
      {Mod11DvLowSum, "6", '0'},
      {Mod11DvTimesTen, "12", '4'},
      {Mod11DvTimesTen, "6", '0'},
      {Mod11DvTimesTen, "0000", '0'},
      {Mod11DvRising, "100000000", '1'},
      {Mod11DvRising, "123456789", '0'},
      {Mod11DvRising, "1234567890", '9'},
      {Mod10Dv, "", '0'},
      {Mod10Dv, "9", '1'},
      {Mod10Dv, "5", '9'},
      {Mod10Dv, "12", '5'},
      {Mod10Dv, "0", '0'}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].routine(cases[i].text), cases[i].expected) << "case " << i << ": " << cases[i].text;
  // They never fail, whatever the bytes.
  for (const std::string_view text : {" ", "A", "12 4", "\xFF\x80", "-"}) {
    for (const Case& c : cases) EXPECT_NO_THROW(c.routine(text));
    EXPECT_NO_THROW(IsValidCpfCnpj(text));
    EXPECT_NO_THROW(CpfDvPair(text));
    EXPECT_NO_THROW(CnpjDvPair(text));
  }
}

TEST(CheckDigits, ModuloElevenPropertiesOverGeneratedNumbers) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    // Rising weights equal the cycling ones up to the 8th character.
    const std::string text = RandomDigits(rng, 1 + i % 8);
    EXPECT_EQ(Mod11DvRising(text), Mod11Dv(text)) << text;
    // An account's weights run from the left but give Mod11Dv's digit for 15.
    const std::string account = RandomDigits(rng, 15);
    EXPECT_EQ(Mod11DvFrom8(account), std::string(1, Mod11Dv(account))) << account;
    // Computed in place from agency, operation and account, whole or cut short.
    const std::string cut = account.substr(0, 7 + i % 9);
    EXPECT_EQ(AccountDvDigit(cut.substr(0, 4), cut.substr(4, 3), cut.substr(7)), Mod11DvFrom8(cut)[0]) << cut;
    const char dv = Mod11BarcodeDv(RandomDigits(rng, 43));
    EXPECT_TRUE(dv >= '1' && dv <= '9') << dv;
  }
  EXPECT_EQ(AccountDvDigit("0001", "0 1", "00000001"), std::nullopt);
}

TEST(CheckDigits, TextRoutines) {
  // clang-format off
  // Each case expects the digit, or the text named by the conversion error.
  struct Case { std::string (*routine)(std::string_view); std::string_view text; std::string_view expected; };
  // The "Nosso Número" routines ignore what lies beyond their length; NossoNumero18Dv
  // zero-fills a shorter text, the others fail on its first missing position.
  // The calculator commands' cases hold a valid number of each routine.
  const Case cases[] = {
      {Mod11DvText, "12", "4"},
      {Mod11DvText, "", "0"},
      {Mod11DvText, "6", "0"},
      {NossoNumero10Dv, "0000000001", "9"},
      {NossoNumero10Dv, "1000000000", "8"},
      {NossoNumero10Dv, "0000000001XYZ", "9"},
      {NossoNumero15Dv, "100000000000000", "3"},
      {NossoNumero18Dv, "", "0"},
      {NossoNumero18Dv, "100000000000000000", "8"},
      {NossoNumero18Dv, "1000000000000000009", "8"},
      {Mod11Dv4, "1000", "6"},
      {Mod11Dv4, "0001", "9"},
      {Mod11Dv4, "0000", "0"},
      {Mod11Dv4, "0003", "5"},
      {Mod11DvFrom8, "", "0"},
      {Mod11DvFrom8, "1", "3"},
      {Mod11DvFrom8, "00000001", "2"},
      {NossoNumero10Dv, "123456789", "''"},
      {NossoNumero10Dv, "12345 7890", "' '"},
      {NossoNumero15Dv, "12345678901234", "''"},
      {NossoNumero18Dv, "12A", "'A'"},
      {Mod11DvText, "1-2", "'-'"},
      {Mod11Dv4, "123", "''"},
      {Mod11DvFrom8, "AAAAOOOCCCCCCCC", "'A'"},
      {Mod11DvFrom8, "+1", "'+'"}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string result;
    try {
      result = cases[i].routine(cases[i].text);
    } catch (const ConversionError& e) {
      const std::string what = e.what();
      result = what.substr(0, what.find(" is not a valid integer value"));
    }
    EXPECT_EQ(result, cases[i].expected) << "case " << i << ": " << cases[i].text;
  }
}

// The collection barcode's modulo-10 digit as FEBRABAN writes the rule: the 43
// digits without the DV, multiplied from right to left by 2, 1, 2, 1 ...; the
// digits of every product added up; the DV is what lacks for the next ten.
int FebrabanMod10(const std::string& digits) {
  int total = 0, multiplier = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it, multiplier = 3 - multiplier)
    for (const char c : std::to_string((*it - '0') * multiplier)) total += c - '0';
  return (10 - total % 10) % 10;
}

TEST(CheckDigits, BarcodeAndBlockModulo10) {
  std::mt19937 rng(44);
  for (int i = 0; i < 3000; ++i) {
    const std::string barcode = "8" + RandomDigits(rng, 43);
    const std::string without = barcode.substr(0, 3) + barcode.substr(4);
    const char dv = static_cast<char>('0' + FebrabanMod10(without));
    const std::string expected = barcode.substr(0, 3) + dv + barcode.substr(4);
    ASSERT_EQ(SetBarcodeDvMod10(barcode), expected) << barcode;
    const std::string eleven = barcode.substr(4, 11);
    const char blockDv = static_cast<char>('0' + FebrabanMod10(eleven));
    for (char other = '0'; other <= '9'; ++other) {
      std::string changed = expected;
      changed[3] = other;
      EXPECT_EQ(CheckBarcodeDvMod10(changed), other == dv) << changed;
      EXPECT_EQ(CheckBlockDvMod10(eleven + other), other == blockDv) << eleven << other;
    }
  }
  // "800" and forty zeros: 8 x 2 = 16 counts 7, so the digit is 3.
  const std::string barcode = "8003" + std::string(40, '0');
  EXPECT_EQ(SetBarcodeDvMod10("8000" + std::string(40, '0')), barcode);
  EXPECT_EQ(SetBarcodeDvMod10(barcode + "999"), barcode) << "after position 44 dropped";
  EXPECT_TRUE(CheckBlockDvMod10("000000000190"));  // 9 x 2 = 18 counts 9, plus 1 x 1: 10
  EXPECT_THROW(SetBarcodeDvMod10(barcode.substr(0, 43)), ConversionError);
  EXPECT_THROW(CheckBarcodeDvMod10(""), ConversionError);
  EXPECT_THROW(CheckBarcodeDvMod10("800X" + std::string(40, '0')), ConversionError);
  EXPECT_THROW(SetBarcodeDvMod10("8 0" + std::string(41, '0')), ConversionError);
  EXPECT_THROW(CheckBlockDvMod10("00000000000"), ConversionError);
  EXPECT_THROW(CheckBlockDvMod10("0000000000A0"), ConversionError);
}

TEST(CheckDigits, CpfAndCnpj) {
  // clang-format off
  struct Case { bool (*check)(std::string_view); std::string_view text; bool expected; };
  // IsValidCpf and IsValidCnpj filter nothing. IsValidCpfCnpj keeps digits and
  // letters (upper-cased), reads 14 characters beginning "000" as the CPF of the
  // last 11 and more than 14 as their first 14; positions 13-14 of a CNPJ and
  // all of a CPF are digits. Letters of a CNPJ count as their code minus 48.
  const Case cases[] = {
      {IsValidCpf, "12345678909", true},
      {IsValidCpf, "123.456.789-09", false},
      {IsValidCpf, "1234567890", false},
      {IsValidCnpj, "11222333000181", true},
      {IsValidCnpj, "11222333000180", false},
      {IsValidCnpj, "12ABC34501DE35", true},
      {IsValidCnpj, "12ABC34501DE36", false},
      {IsValidCpfCnpj, "123.456.789-09", true},
      {IsValidCpfCnpj, "00012345678909", true},
      {IsValidCpfCnpj, "", true},
      {IsValidCpfCnpj, "123.456.789-08", false},
      {IsValidCpfCnpj, "11.222.333/0001-81", true},
      {IsValidCpfCnpj, "11.222.333/0001-80", false},
      {IsValidCpfCnpj, "112223330001819", true},
      {IsValidCpfCnpj, "12.ABC.345/01DE-35", true},
      {IsValidCpfCnpj, "12.ABC.345/01DE-36", false},
      {IsValidCpfCnpj, "12.abc.345/01de-35", true},
      {IsValidCpfCnpj, "12ABC34501DE3A", false},
      {IsValidCpfCnpj, "1234567890A", false},
      {IsValidCpfCnpj, "1A345678909", false}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].check(cases[i].text), cases[i].expected) << "case " << i << ": " << cases[i].text;
}

}  // namespace
}  // namespace verilote

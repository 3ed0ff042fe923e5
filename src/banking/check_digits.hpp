// Check digits ("DV") of the bank's identifiers: barcodes and typeable lines,
// "Nosso Número", account numbers, CPF and CNPJ. The routines look alike but
// differ in weight direction and cycle, in how the remainder maps to a digit,
// and in how characters become values; every caller names the variant it needs.
//
// Two kinds of routine:
// - Character routines read each character with CharToDigit (code minus 48,
//   unchecked) and return one character. They never fail: a non-digit adds a
//   meaningless but defined value (a blank counts -16, "A" counts 17).
// - Text routines convert each single character with StrToInt and return a
//   text of one digit. A non-digit, or a fixed position the text does not
//   reach, throws ConversionError "'x' is not a valid integer value".
//
// Sums are 64-bit, so no input length overflows them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace verilote {

// ---- Modulo 11, character routines: S = sum of value x weight, r = S mod 11.

// Weights 2..9 from the rightmost character leftwards, then 2 again; digit
// 11 - r, with 10 and 11 giving '0'.
char Mod11Dv(std::string_view text);

// As Mod11Dv, but 10 and 11 give '1': the general digit of a boleto barcode
// (position 5) is never '0'.
char Mod11BarcodeDv(std::string_view text);

// As Mod11Dv, except that a sum below 11 gives 11 - S directly (S = 2..10
// gives '9' down to '1'). A sum of 0 or 1 gives '0', as 11 and 10 do in the
// general rule (never a non-digit).
char Mod11DvLowSum(std::string_view text);

// Weights 2..9 from the right; digit (10 x S) mod 11, 10 giving '0'. For
// digit input the same digit as Mod11Dv.
char Mod11DvTimesTen(std::string_view text);

// Weights 2, 3, 4, ... from the right, rising without wrapping (a CPF's second
// digit weighs its first character 11); digit 11 - r, 10 and 11 giving '0'.
char Mod11DvRising(std::string_view text);

// ---- Modulo 11, text routines (fail on a non-digit or a missing position).

// Weights 2..9 from the right over all characters; 11 - r, 10/11 give "0".
// An empty text gives "0".
std::string Mod11DvText(std::string_view text);

// "Nosso Número" of 10 positions: positions 1-10 weighted 3,2,9,8,7,6,5,4,3,2;
// 11 - r, 10/11 give "0". Characters after position 10 are ignored; a text
// shorter than 10 fails on the first missing position.
std::string NossoNumero10Dv(std::string_view text);

// "Nosso Número" of 15 positions: positions 1-15 weighted
// 8,7,6,5,4,3,2,9,8,7,6,5,4,3,2; as above, a shorter text fails.
std::string NossoNumero15Dv(std::string_view text);

// "Nosso Número" of 18 positions: the text zero-filled on the left to 18 (a
// longer one keeps its first 18), weighted 3,2,9,...,2; 11 - r, 10/11 give "0".
std::string NossoNumero18Dv(std::string_view text);

// Positions 1-4 weighted 5,4,3,2; (10 x S) mod 11, 10 gives "0". A shorter
// text fails.
std::string Mod11Dv4(std::string_view text);

// The account check digit (15 digits: agency 4, operation 3, account 8).
// Weights 8,7,6,5,4,3,2,9,8,7,... counted from the leftmost character;
// (10 x S) mod 11, 10 gives "0"; an empty text gives "0".
std::string Mod11DvFrom8(std::string_view text);

// The digit Mod11DvFrom8 gives for agency, operation and account written one
// after another, when every byte of them is a digit; nothing otherwise. Builds
// no text: the account checks run on every record.
std::optional<char> AccountDvDigit(std::string_view agency, std::string_view operation, std::string_view account);

// ---- Modulo 10: weights 2,1,2,1,... from the rightmost character leftwards;
// a product above 9 counts as the sum of its two digits.

// Character routine over all characters; 10 - (S mod 10), 10 gives '0'. An
// empty text gives '0'.
char Mod10Dv(std::string_view text);

// The barcode with the modulo-10 digit of a collection ("arrecadação")
// barcode put at position 4: t = positions 1-3 and 5-44 (43 characters),
// weighted from its rightmost character with 2 (text routine); digit
// 10 - (S mod 10), 10 gives 0. Anything after position 44 is dropped. A
// barcode shorter than 44 characters fails on the first missing position.
std::string SetBarcodeDvMod10(std::string_view barcode);

// True when position 4 holds the digit SetBarcodeDvMod10 computes. Fails like
// it, and on a non-digit at position 4.
bool CheckBarcodeDvMod10(std::string_view barcode);

// A 12-digit block of a collection barcode's typeable form: positions 1-11
// weighted from position 11 with 2 (text routine), 10 - (S mod 10), 10 gives
// 0; true if it equals position 12. A block shorter than 12 fails.
bool CheckBlockDvMod10(std::string_view block);

// ---- CPF and CNPJ.

// The two check digits of a CPF: d1 = Mod11DvRising of the 9 digits, d2 =
// Mod11DvRising of the 9 digits followed by d1. Never fails.
std::string CpfDvPair(std::string_view nineDigits);

// The two check digits of a CNPJ: d1 = Mod11Dv of the 12 characters, d2 =
// Mod11Dv of them followed by d1. Positions 1-12 may hold capital letters
// (alphanumeric CNPJ): each counts as its code minus 48, "A" = 17 ... "Z" = 42.
std::string CnpjDvPair(std::string_view twelveCharacters);

// CpfDvPair of positions 1-9 equals positions 10-11. Nothing is filtered or
// padded: the text must be the bare 11 digits.
bool IsValidCpf(std::string_view text);

// CnpjDvPair of positions 1-12 equals positions 13-14; bare 14 characters.
bool IsValidCnpj(std::string_view text);

// The digits and letters of a CPF or CNPJ as typed, letters upper-cased; dots,
// slashes, hyphens, blanks and any other byte dropped.
std::string KeepCnpjCharacters(std::string_view text);

// The combined check of fields that hold either kind of number. The text is
// reduced with KeepCnpjCharacters; 12 or more characters beginning "000" are
// checked as the CPF of their last 11, other texts of 12 or more as a CNPJ
// (zero-filled to 14, or cut to the first 14), shorter ones as a CPF
// (zero-filled to 11). A CPF must be all digits; a CNPJ may hold capital
// letters in positions 1-12 and digits in 13-14. An empty text is true (eleven
// zeros form a valid CPF). Never fails.
bool IsValidCpfCnpj(std::string_view text);

}  // namespace verilote

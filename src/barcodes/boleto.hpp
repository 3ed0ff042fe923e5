// The boleto barcode (44 digits) and its typeable line ("Representação
// Numérica", 47 digits), as every boleto command reads and shows them.
//
// Barcode positions: 1-3 bank ("104"), 4 currency ("9" = real), 5 general
// check digit, 6-9 due-date factor ("0000" = no due date), 10-19 value in
// centavos, 20-44 free field (laid out by SIGCB, SICOB, SINCO, SITCS).
//
// Typeable line: 1-4 barcode 1-4, 5-9 barcode 20-24, 10 DV of field 1,
// 11-20 barcode 25-34, 21 DV of field 2, 22-31 barcode 35-44, 32 DV of
// field 3, 33 barcode 5, 34-37 barcode 6-9, 38-47 barcode 10-19.
//
// Everything cuts with Field/Copy: a short or long text is cut as it stands,
// never refused, never read out of bounds.
#pragma once

#include <string>
#include <string_view>

#include "app/cp1252.hpp"
#include "app/host.hpp"

namespace verilote {

inline constexpr std::string_view kTypeableLineLabel = "Representação Numérica: "_cp;
inline constexpr std::string_view kBarcodeLabel = "Código de Barras: "_cp;

// The messages of the common bank, currency and general-digit tests.
inline constexpr std::string_view kBankNotCaixa = "Banco não é 104 - CAIXA"_cp;
inline constexpr std::string_view kCurrencyNotReal = "Moeda não é REAL na posição 4"_cp;
inline constexpr std::string_view kNoDueFactor = "Barra sem FATOR DE VENCIMENTO."_cp;

// The general check digit (position 5): Mod11BarcodeDv of the 43
// characters of positions 1-4 and 6-44, never '0'.
char BarcodeGeneralDv(std::string_view barcode);

// The three check digits of the typeable line's fields (Mod10Dv): field 1
// over barcode 1-4 + 20-24, field 2 over 25-34, field 3 over 35-44.
char TypeableFieldDv1(std::string_view barcode);
char TypeableFieldDv2(std::string_view barcode);
char TypeableFieldDv3(std::string_view barcode);

// The typeable line of a barcode in its printed form, without label: fields
// 1-3 as 5 digits "." 5 digits (the last one the field's DV), the general
// digit, then factor and value joined; fields separated by `gap` (two blanks
// in most reports, four in the summary rows of the batch commands).
std::string PrintedTypeableLine(std::string_view barcode, std::string_view gap = "  ");
// The same appended to `out`: for a line rebuilt on every barcode of a file.
void AppendPrintedTypeableLine(std::string& out, std::string_view barcode, std::string_view gap = "  ");

// kTypeableLineLabel followed by the printed form with two-blank gaps.
std::string LabelledTypeableLine(std::string_view barcode);

// The bare 47 digits of the typeable line of a barcode.
std::string TypeableLineDigits(std::string_view barcode);

// The barcode of a typed line: its digits (KeepDigits), rearranged as line
// 1-4, 33, 34-47, 5-9, 11-20, 22-31. The fields' check digits (line 10, 21
// and 32) are dropped unchecked; the typed general digit is kept.
std::string TypeableLineToBarcode(std::string_view typed);

// The barcode of a typeable line taken as it stands (no digit filtering), with
// the general check digit recomputed instead of taken from line 33: line 1-4,
// Mod11BarcodeDv over line 1-4 + 34-47 + 5-9 + 11-20 + 22-31, then 34-47,
// 5-9, 11-20, 22-31. The SICOB and SINCO typeable-line commands build it so.
std::string TypeableLineToBarcodeNewDv(std::string_view line);

// Positions 1-3 are "104" / position 4 is "9" / position 5 equals
// BarcodeGeneralDv.
bool IsCaixaBank(std::string_view barcode);
bool IsRealCurrency(std::string_view barcode);
bool HasValidGeneralDv(std::string_view barcode);

// Positions 6-9 are "0000": the boleto has no due date.
bool HasNoDueFactor(std::string_view barcode);

// The due date of positions 6-9 (FactorToDate around `today`), dd/mm/yyyy.
// A factor that is not a number throws ConversionError.
std::string BarcodeDueDate(std::string_view barcode, CivilDate today);

// The value of positions 10-19 for display: StripLeadingZeros and
// FormatMoney, so 0000012345 shows as 123,45.
std::string BarcodeValue(std::string_view barcode);

}  // namespace verilote

#include "barcodes/boleto.hpp"

#include <algorithm>
#include <array>

#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

// The two pieces one after the other in `buffer` (room for both): a check
// digit's text built without allocating.
template <std::size_t N>
std::string_view Joined(std::array<char, N>& buffer, std::string_view first, std::string_view second) {
  std::copy(second.begin(), second.end(), std::copy(first.begin(), first.end(), buffer.begin()));
  return std::string_view(buffer.data(), first.size() + second.size());
}

}  // namespace

char BarcodeGeneralDv(std::string_view barcode) {
  std::array<char, 43> base;
  return Mod11BarcodeDv(Joined(base, Field(barcode, 1, 4), Field(barcode, 6, 44)));
}

char TypeableFieldDv1(std::string_view barcode) {
  std::array<char, 9> field;
  return Mod10Dv(Joined(field, Field(barcode, 1, 4), Field(barcode, 20, 24)));
}

char TypeableFieldDv2(std::string_view barcode) { return Mod10Dv(Field(barcode, 25, 34)); }
char TypeableFieldDv3(std::string_view barcode) { return Mod10Dv(Field(barcode, 35, 44)); }

void AppendPrintedTypeableLine(std::string& out, std::string_view barcode, std::string_view gap) {
  out += Field(barcode, 1, 4);
  out += Field(barcode, 20, 20);
  out += '.';
  out += Field(barcode, 21, 24);
  out += TypeableFieldDv1(barcode);
  out += gap;
  out += Field(barcode, 25, 29);
  out += '.';
  out += Field(barcode, 30, 34);
  out += TypeableFieldDv2(barcode);
  out += gap;
  out += Field(barcode, 35, 39);
  out += '.';
  out += Field(barcode, 40, 44);
  out += TypeableFieldDv3(barcode);
  out += gap;
  out += Field(barcode, 5, 5);
  out += gap;
  out += Field(barcode, 6, 9);
  out += Field(barcode, 10, 19);
}

std::string PrintedTypeableLine(std::string_view barcode, std::string_view gap) {
  std::string out;
  out.reserve(54 + 4 * gap.size());
  AppendPrintedTypeableLine(out, barcode, gap);
  return out;
}

std::string LabelledTypeableLine(std::string_view barcode) {
  std::string out;
  out.reserve(kTypeableLineLabel.size() + 62);
  out += kTypeableLineLabel;
  AppendPrintedTypeableLine(out, barcode);
  return out;
}

std::string TypeableLineDigits(std::string_view barcode) {
  std::string out(Field(barcode, 1, 4));
  out += Field(barcode, 20, 24);
  out += TypeableFieldDv1(barcode);
  out += Field(barcode, 25, 34);
  out += TypeableFieldDv2(barcode);
  out += Field(barcode, 35, 44);
  out += TypeableFieldDv3(barcode);
  out += Field(barcode, 5, 5);
  out += Field(barcode, 6, 19);
  return out;
}

std::string TypeableLineToBarcode(std::string_view typed) {
  const std::string line = KeepDigits(typed);
  std::string out(Field(line, 1, 4));
  out += Field(line, 33, 33);
  out += Field(line, 34, 47);
  out += Field(line, 5, 9);
  out += Field(line, 11, 20);
  out += Field(line, 22, 31);
  return out;
}

std::string TypeableLineToBarcodeNewDv(std::string_view line) {
  std::string tail(Field(line, 34, 47));
  tail += Field(line, 5, 9);
  tail += Field(line, 11, 20);
  tail += Field(line, 22, 31);
  std::string out(Field(line, 1, 4));
  out += Mod11BarcodeDv(out + tail);
  out += tail;
  return out;
}

bool IsCaixaBank(std::string_view barcode) { return Field(barcode, 1, 3) == "104"; }
bool IsRealCurrency(std::string_view barcode) { return Field(barcode, 4, 4) == "9"; }

bool HasValidGeneralDv(std::string_view barcode) {
  const std::string_view found = Field(barcode, 5, 5);
  return found.size() == 1 && found[0] == BarcodeGeneralDv(barcode);
}

bool HasNoDueFactor(std::string_view barcode) { return Field(barcode, 6, 9) == "0000"; }

std::string BarcodeDueDate(std::string_view barcode, CivilDate today) {
  return FactorToDate(Field(barcode, 6, 9), today);
}

std::string BarcodeValue(std::string_view barcode) { return FormatMoney(StripLeadingZeros(Field(barcode, 10, 19))); }

}  // namespace verilote

// "Montar código de barras e representação Numérica": the barcode and
// typeable line of typed cedente code, Nosso Número, value and due date, once
// with the due-date factor and once without it ("0000"). A 6-digit cedente
// code builds the SIGCB free field, a 15-digit one (agency 4, operation 3,
// account 8) one of the SICOB free fields.
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNoFactor = "0000";
constexpr std::string_view kSicobSixteenOperation = "870";

// The typed input, as validated.
struct Input {
  std::string cedente, nossoNumero, value, dueDate;
};

// The error text of the input, empty when it can be built. Besides the
// lengths each field may have, the Nosso Número must fit the layout the
// cedente selects: 17 digits in SIGCB; 10 in SICOB outside operation 870 (15
// there). A Nosso Número that does not fit would give a barcode shorter or
// longer than 44 digits.
std::string InputErrors(const Input& in) {
  const std::string_view c = in.cedente, n = in.nossoNumero;
  std::string e;
  const bool cedenteLength = c.size() == 6 || c.size() == 15;
  if (!cedenteLength) e = "Código de cedente só pode ter 6 ou 15 algarismos."_cp;
  const bool cedenteDigits = !c.empty() && IsAllDigits(c);
  if (!cedenteDigits) e += " Código do cedente deve ser numérico."_cp;
  const bool nossoNumeroLength = n.size() == 17 || n.size() == 15 || n.size() == 10;
  if (!nossoNumeroLength) e += " Nosso Número só pode ter 17, 15 ou 10 algarismos."_cp;
  if (!IsAllDigits(n)) e += " Nosso Número deve ser numérico."_cp;
  if (cedenteLength && cedenteDigits && nossoNumeroLength) {
    if (c.size() == 6 && n.size() != 17)
      e += " Com código de cedente de 6 algarismos o Nosso Número só pode ter 17 algarismos."_cp;
    const std::string_view operation = Field(c, 5, 7);
    if (c.size() == 15 && n.size() == 15 && operation != kSicobSixteenOperation)
      e += Cat(" Com a operação "_cp, operation, " o Nosso Número só pode ter 10 algarismos."_cp);
  }
  if (in.dueDate.size() != 10)
    e += " Vencimento deve estar no formato dd/mm/aaaa";
  else if (!IsValidDate(in.dueDate))
    e += " Vencimento inválido !!!"_cp;
  return e;
}

// The 44 digits of a 43-digit text: its general check digit put after the
// first four.
std::string WithGeneralDv(std::string_view digits43) {
  return Cat(Field(digits43, 1, 4), Mod11BarcodeDv(digits43), Field(digits43, 5, 43));
}

// What a layout builds: the check digits shown with the input, and the free
// field (positions 20-44) that follows bank, currency, factor and value.
struct Layout {
  std::string cedenteDv, nossoNumeroDv, freeField;
  std::string_view closing;
};

Layout Sigcb(const Input& in) {
  const std::string_view c = in.cedente, n = in.nossoNumero;
  Layout l;
  l.cedenteDv = Mod11Dv(c);
  l.nossoNumeroDv = Mod11Dv(n);
  // Cedente, its DV, Nosso Número 3-5, collection type, 6-8, issuer digit,
  // 9-17; then the DV of those 24 digits.
  std::string free =
      Cat(c, l.cedenteDv, Field(n, 3, 5), Field(n, 1, 1), Field(n, 6, 8), Field(n, 2, 2), Field(n, 9, 17));
  free += Mod11Dv(free);
  l.freeField = std::move(free);
  l.closing = "===================== fim da validação ========================================= "_cp;
  return l;
}

Layout Sicob(const Input& in) {
  const std::string c = PadZeroLeft(in.cedente, 15);
  const std::string_view n = in.nossoNumero;
  Layout l;
  l.cedenteDv = Mod11DvFrom8(c);
  if (Field(c, 5, 7) == kSicobSixteenOperation && n.size() == 15) {
    // Code (account 4-8), agency, "87", Nosso Número without its leading 8.
    l.nossoNumeroDv = NossoNumero15Dv(n);
    l.freeField = Cat(Field(c, 11, 15), Field(c, 1, 4), "87", Field(n, 2, 15));
  } else {
    l.nossoNumeroDv = NossoNumero10Dv(n);
    l.freeField = Cat(n, c);
  }
  l.closing = "============================================================== ";
  return l;
}

void WriteBarcode(Host& host, std::string_view barcode) {
  host.ReportAppend(LabelledTypeableLine(barcode));
  host.ReportAppend(" ");
  host.ReportAppend(Cat("Conteúdo da barra: "_cp, barcode));
  host.ReportAppend(" ");
}

}  // namespace

Verdict Montarcdigodebarras1Click(Host& host) {
  Input in;
  in.cedente = host.InputBox("Código do cedente"_cp, "Digite o código do cedente sem dígito"_cp, "");
  in.nossoNumero = host.InputBox("Nosso Número"_cp, "Digite o Nosso Número sem dígito"_cp, "");
  in.value = PadZeroLeft(KeepDigits(host.InputBox("Valor", "Digite o valor", "")), 10);
  in.dueDate = host.InputBox("Data de vencimento", "Digite a data do vencimento no formato dd/mm/aaaa", "");

  const std::string errors = InputErrors(in);
  if (!Trim(errors).empty()) {
    host.ReportAppend(errors);
    return Verdict::Faulty;
  }
  const bool sigcb = in.cedente.size() == 6;
  if (!sigcb && in.nossoNumero.size() != 15 && in.nossoNumero.size() != 10) {
    host.ShowMessage("Nosso Número com tamanho inválido use tamanho 15 ou 10"_cp);
    return Verdict::Faulty;
  }
  const std::string factor = DateToFactor(in.dueDate);
  const Layout layout = sigcb ? Sigcb(in) : Sicob(in);
  const std::string withFactor = WithGeneralDv(Cat("1049", factor, in.value, layout.freeField));
  const std::string withoutFactor = WithGeneralDv(Cat("1049", kNoFactor, in.value, layout.freeField));

  host.ReportAppend("Dados de entrada:");
  host.ReportAppend(
      Cat("Código do cedente: "_cp, sigcb ? in.cedente : PadZeroLeft(in.cedente, 15), "-", layout.cedenteDv));
  host.ReportAppend(Cat("Nosso Número     : "_cp, in.nossoNumero, "-", layout.nossoNumeroDv));
  host.ReportAppend(Cat("Valor do título  : "_cp, FormatMoney(in.value)));
  host.ReportAppend(Cat("Data de venc.    : ", in.dueDate));
  host.ReportAppend(" ");
  host.ReportAppend("--------- Barra com fator de vencimento ------------");
  host.ReportAppend(" ");
  WriteBarcode(host, withFactor);
  host.ReportAppend("--------- Barra sem fator de vencimento ------------");
  host.ReportAppend(" ");
  WriteBarcode(host, withoutFactor);
  host.ReportAppend(layout.closing);
  return Verdict::Clean;
}

}  // namespace verilote

// The field dictionary of the CobCaixa 2.x payer and bill import files
// (app/fields.hpp). The bank's layout names these fields by their positions
// alone, so their codes are the positions: "1-15", "106", "210-449".
#include "layouts/cobcaixa_fields.hpp"

#include <array>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::string_view kPlain = "sem acentos: letras, dígitos, branco e . - $ % & @ , / ( ) :"_cp;
constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kDate = "data ddmmaaaa válida"_cp;

// A CPF or CNPJ as the client program reads it, trimmed and zero-filled on
// the left to `width`: the check digits its first digits call for.
std::string DocumentDigits(std::string_view field, bool cpf) {
  const std::string number = PadZeroLeft(Trim(field), cpf ? 11 : 14);
  const std::string_view base = std::string_view(number).substr(0, cpf ? 9 : 12);
  if (!IsAllDigits(base)) return std::string(cpf ? "CPF de 11 dígitos válido"_cp : "CNPJ de 14 dígitos válido"_cp);
  return Cat(cpf ? "CPF " : "CNPJ ", base, cpf ? CpfDvPair(base) : CnpjDvPair(base));
}

// ---- Payers.

std::string PayerDocument(std::string_view rec) {
  if (At(rec, 106, 'F')) return DocumentDigits(Field(rec, 107, 126), true);
  if (At(rec, 106, 'J')) return DocumentDigits(Field(rec, 107, 126), false);
  return std::string("CPF (tipo F) ou CNPJ (tipo J) válido"_cp);
}

constexpr FieldSpec kPayerFields[] = {
    {"1-15", 1, 15, "Código do sacado"_cp, kPlain},
    {"16-55", 16, 55, "Nome do sacado", kPlain},
    {"56-95", 56, 95, "Nome fantasia do sacado", kPlain},
    {"96-105", 96, 105, "Código do grupo"_cp, kPlain},
    {"106", 106, 106, "Tipo de pessoa", "F ou J"},
    {"107-126", 107, 126, "CPF ou CNPJ do sacado", {}, PayerDocument},
    {"127-166", 127, 166, "Endereço do sacado"_cp, kPlain},
    {"167-181", 167, 181, "Bairro do sacado", kPlain},
    {"182-196", 182, 196, "Cidade do sacado", kPlain},
    {"197-198", 197, 198, "Unidade federativa", kPlain},
    {"199-206", 199, 206, "CEP", kNumeric},
    {"207-243", 207, 243, "Reservado (não examinado)"_cp},
    {"244-253", 244, 253, "Código de série"_cp, "numérico, não em branco"_cp},
    // Not examined, but where a record of the wrong length ends early or runs on.
    {"254", 254, 254, "Última posição do registro"_cp, "registro de 254 posições"_cp},
};

// ---- Bills.

// The bank's number (31-40) each portfolio (44-45) calls for.
std::string BankNumber(std::string_view rec) {
  const std::string_view portfolio = Field(rec, 44, 45);
  if (portfolio == "11") return "em branco (carteira 11)";
  if (portfolio == "12") return std::string("começando com 9, ou zeros (carteira 12)"_cp);
  if (portfolio == "14") return std::string("começando com 8 (carteira 14, sem registro)"_cp);
  return {};
}

std::string BankNumberDv(std::string_view rec) {
  const std::string_view portfolio = Field(rec, 44, 45), number = Field(rec, 31, 40);
  if (portfolio == "11") return "em branco (carteira 11)";
  if (portfolio != "12" && portfolio != "14") return {};
  if (number.size() != 10 || !IsAllDigits(number)) return std::string("dígito do Nosso Número de 10 dígitos"_cp);
  return Cat("dígito "_cp, NossoNumero10Dv(number));
}

std::string DrawerDocument(std::string_view rec) {
  if (At(rec, 189, '1')) return DocumentDigits(Field(rec, 190, 209), true);
  if (At(rec, 189, '2')) return DocumentDigits(Field(rec, 190, 209), false);
  return std::string("em branco, ou CPF (tipo 1) ou CNPJ (tipo 2) válido; nunca zeros"_cp);
}

// The two versions differ in the bill form (164) and the instalment (166-168).
constexpr std::array<FieldSpec, 28> BillFields(std::string_view form, std::string_view instalment) {
  return {{
      {"1-15", 1, 15, "Código do sacado"_cp, kPlain},
      {"16-30", 16, 30, "Seu Número"_cp, kPlain},
      {"31-40", 31, 40, "Nosso Número"_cp, {}, BankNumber},
      {"41", 41, 41, "Dígito do Nosso Número"_cp, {}, BankNumberDv},
      {"42-43", 42, 43, "Formato da carteira", "00"},
      {"44-45", 44, 45, "Carteira", "numérico (11, 12 ou 14)"_cp},
      {"46", 46, 46, "Aceite", "S ou N"},
      {"47-48", 47, 48, "Espécie do documento"_cp, "02, 04, 07, 12 ou 99"},
      {"49", 49, 49, "Instrução de cobrança"_cp, "0 (protesto) ou 1 (devolução)"_cp},
      {"50-53", 50, 53, "Prazo de protesto ou devolução"_cp,
       "00 e os dias: de 2 a 90 (protesto), de 5 a 90 (devolução)"_cp},
      {"54", 54, 54, "Opção de vencimento"_cp, "1"},
      {"55-62", 55, 62, "Data de vencimento", kDate},
      {"63-70", 63, 70, "Data de emissão"_cp, kDate},
      {"71-72", 71, 72, "Código da moeda"_cp, "09"},
      {"73-87", 73, 87, "Valor do título"_cp, kNumeric},
      {"88-102", 88, 102, "Valor dos juros", kNumeric},
      {"103-110", 103, 110, "Data de desconto", kDate},
      {"111-125", 111, 125, "Valor do desconto", kNumeric},
      {"126-140", 126, 140, "Valor do abatimento", kNumeric},
      {"141-148", 141, 148, "Data de multa", kDate},
      {"149-163", 149, 163, "Valor da multa", kNumeric},
      {"164", 164, 164, "Tipo de bloqueto", form},
      {"165", 165, 165, "Tipo de compensação"_cp, "S"},
      {"166-168", 166, 168, "Parcela", instalment},
      {"169-188", 169, 188, "Nome do avalista", kPlain},
      {"189", 189, 189, "Tipo de pessoa do avalista", "1 (CPF) ou 2 (CNPJ), quando há avalista"_cp},
      {"190-209", 190, 209, "CPF ou CNPJ do avalista", {}, DrawerDocument},
      {"210-449", 210, 449, "Mensagens", kPlain},
  }};
}

constexpr auto kBill220Fields = BillFields("1 (bloqueto único)"_cp, "000 (a versão 2.2.0 não importa carnês)"_cp);
constexpr auto kBill233Fields = BillFields("1 (único) ou 2 (carnê)"_cp, "000 ou 001");

const RecordKind* PayerKind(std::string_view) { return &kCobcaixaPayerKind; }
const RecordKind* Bill220Kind(std::string_view) { return &kCobcaixaBill220Kind; }
const RecordKind* Bill233Kind(std::string_view) { return &kCobcaixaBill233Kind; }

constexpr const RecordKind* kPayerKinds[] = {&kCobcaixaPayerKind};
constexpr const RecordKind* kBill220Kinds[] = {&kCobcaixaBill220Kind};
constexpr const RecordKind* kBill233Kinds[] = {&kCobcaixaBill233Kind};

}  // namespace

const RecordKind kCobcaixaPayerKind{"Sacado", kPayerFields};
const RecordKind kCobcaixaBill220Kind{"Título (versão 2.2.0)"_cp, kBill220Fields};
const RecordKind kCobcaixaBill233Kind{"Título (versão 2.3.3)"_cp, kBill233Fields};

const LayoutFields kCobcaixaSacadosFields{"cobcaixa-sacados", kPayerKinds, PayerKind};
const LayoutFields kCobcaixaTitulos233Fields{"cobcaixa-titulos-233", kBill233Kinds, Bill233Kind};
const LayoutFields kCobcaixaTitulos220Fields{"cobcaixa-titulos-220", kBill220Kinds, Bill220Kind};

}  // namespace verilote

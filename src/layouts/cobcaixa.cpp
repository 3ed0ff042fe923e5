#include "layouts/cobcaixa.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "layouts/cobcaixa_fields.hpp"

namespace verilote {

namespace {

constexpr std::size_t kPayerLength = 254;

// A rule whose failure is a finding line of its own, and the fields (their
// positions, as the dictionary codes them) that the line is about.
struct FieldRule {
  RecordTest passes;
  std::string_view message;
  std::string_view fields;
};

template <std::size_t From, std::size_t To>
bool PlainText(std::string_view rec) {
  return IsPlainText(Field(rec, From, To));
}

// A ddmmyyyy date at positions From to From+7, tested as dd/mm/yyyy.
template <std::size_t From>
bool DmyDate(std::string_view rec) {
  return IsValidDate(
      Cat(Field(rec, From, From + 1), "/", Field(rec, From + 2, From + 3), "/", Field(rec, From + 4, From + 7)));
}

// A CPF or CNPJ as the client program reads it: trimmed, then zero-filled on
// the left to Width (a longer text keeps its first Width characters). A
// blank or zeroed field becomes zeros that pass the check digits, but names
// nobody: it is invalid too.
template <std::size_t Width, DocumentTest Valid>
bool PaddedDocument(std::string_view field) {
  const std::string number = PadZeroLeft(Trim(field), Width);
  return number.find_first_not_of('0') != std::string::npos && Valid(number);
}

// ---- Payers.

// The payer's CPF (person type "F") or CNPJ ("J") in positions 107-126.
template <char Kind, std::size_t Width, DocumentTest Valid>
bool PayerDocument(std::string_view rec) {
  return !At(rec, 106, Kind) || PaddedDocument<Width, Valid>(Field(rec, 107, 126));
}

// An all-blank series code is not numeric either.
bool SeriesNumeric(std::string_view rec) { return IsNumeric(Trim(Field(rec, 244, 253))); }

// Positions 207-243 (telephone and the rest) and 254 are not examined.
constexpr FieldRule kPayerRules[] = {
    {PlainText<1, 15>, " - Caracter inválido no Código do sacado"_cp, "1-15"},
    {PlainText<16, 55>, " - Caracter inválido no Nome do sacado"_cp, "16-55"},
    {PlainText<56, 95>, " - Caracter inválido no Nome Fantasia do sacado"_cp, "56-95"},
    // The group code gets the plain-text test, under a message that asks for digits.
    {PlainText<96, 105>, " - Caracter não numérico no código do grupo"_cp, "96-105"},
    {OneOf<106, 106, "F", "J">, " - Posição 106 deveria ter F ou J"_cp, "106"},
    {PlainText<127, 166>, " - Caracter inválido no endereço do sacado"_cp, "127-166"},
    {PlainText<167, 181>, " - Caracter inválido no Bairro do sacado"_cp, "167-181"},
    {PlainText<182, 196>, " - Caracter inválido na cidade do sacado"_cp, "182-196"},
    {PlainText<197, 198>, " - Unidade federativa inválida"_cp, "197-198"},
    {Numeric<199, 206>, " - CEP não é numérico"_cp, "199-206"},
    {SeriesNumeric, " - Caracter não numérico no código de série"_cp, "244-253"},
    {PayerDocument<'F', 11, IsValidCpf>, " - Sacado com CPF inválido"_cp, "107-126 106"},
    {PayerDocument<'J', 14, IsValidCnpj>, " - Sacado com CGC inválido"_cp, "107-126 106"},
};

// ---- Bills.

constexpr FieldRule kBillCodes[] = {
    {PlainText<1, 15>, " - Caracter inválido no Código do sacado"_cp, "1-15"},
    {PlainText<16, 30>, " - Caracter inválido no Seu Número"_cp, "16-30"},
};

// Portfolio format, acceptance, document kind, instruction and the form of
// the protest or return term (positions 42-51).
constexpr FieldRule kBillTerms[] = {
    {OneOf<42, 43, "00">, " - Formato da carteira inválido"_cp, "42-43"},
    {OneOf<46, 46, "S", "N">, " - Aceite inválido"_cp, "46"},
    {OneOf<47, 48, "02", "04", "07", "12", "99">, " - Código espécie inválido"_cp, "47-48"},
    {OneOf<49, 49, "0", "1">, " - Instrução de cobrança inválido"_cp, "49"},
    {OneOf<50, 51, "00">, " - Formato do prazo de protesto inválido"_cp, "50-53"},
};

constexpr FieldRule kBillDates[] = {
    {OneOf<54, 54, "1">, " - Opção de vencimento inválida"_cp, "54"},
    {DmyDate<55>, " - Data de vencimento inválida."_cp, "55-62"},
    {DmyDate<63>, " - Data de emissão inválida."_cp, "63-70"},
    {DmyDate<103>, " - Data de desconto inválida."_cp, "103-110"},
    {DmyDate<141>, " - Data de multa inválida."_cp, "141-148"},
};

// After the bill form (position 164): clearing, currency, amounts, instalment.
constexpr FieldRule kBillValues[] = {
    {OneOf<165, 165, "S">, " - Tipo de compensação inválido"_cp, "165"},
    {OneOf<71, 72, "09">, " - Tipo de moeda inválida"_cp, "71-72"},
    {Numeric<73, 87>, " - Valor do título inválido."_cp, "73-87"},
    {Numeric<88, 102>, " - Valor dos juros inválido."_cp, "88-102"},
    {Numeric<111, 125>, " - Valor do desconto inválido."_cp, "111-125"},
    {Numeric<126, 140>, " - Valor do abatimento inválido."_cp, "126-140"},
    {Numeric<149, 163>, " - Valor da multa inválido."_cp, "149-163"},
    {OneOf<166, 168, "000", "001">, " - Parcela inválida"_cp, "166-168"},
};

constexpr FieldRule kBillForm220[] = {
    {OneOf<164, 164, "1">, " - Tipo de bloqueto inválido"_cp, "164"},
};
constexpr FieldRule kBillForm233[] = {
    {OneOf<164, 164, "1", "2">, " - Tipo de bloqueto inválido"_cp, "164"},
};
// Version 2.2.0 imports no booklets (carnê).
constexpr FieldRule kBillBooklet220[] = {
    {OneOf<166, 168, "000">, " - Tipo carnê está sendo utilizado, mas não será acatado."_cp, "166-168"},
};

constexpr FieldRule kBillMessages[] = {
    {PlainText<210, 449>, " - Caracter inválido ou acentuado nas mensagens."_cp, "210-449"},
};

struct BillVersion {
  std::string_view number;
  const RecordKind* kind;
  std::span<const FieldRule> form, booklet;
  std::string_view zeroedDrawer;
  bool tallies;
};

constexpr BillVersion kVersion220{
    "2.2.0", &kCobcaixaBill220Kind, kBillForm220, kBillBooklet220, " - Avalista com CPF zerado, não será importado."_cp,
    false};
constexpr BillVersion kVersion233{"2.3.3",
                                  &kCobcaixaBill233Kind,
                                  kBillForm233,
                                  {},
                                  " - Avalista com CPF zerado, não será importado. Preencha com Brancos."_cp,
                                  true};

// ---- One run over one file.

struct Run {
  Host& host;
  const RecordKind* kind;
  std::uint64_t line = 0;     // the report's count: the bill files count no blank line
  std::uint64_t record = 0;   // the record's number in the file
  std::string_view rec = {};  // the record being checked
  bool faulty = false;
  // Version 2.3.3: bills marked for protest, for return, as booklet, as single bill.
  std::uint64_t protest = 0, devolution = 0, booklet = 0, single = 0;

  // A finding about the fields `fields` (their codes, blank-separated) of the record.
  void Finding(std::string_view message, std::string_view fields) {
    const std::string text = Cat("Linha ", line, message);
    host.ReportFinding({text, record, rec, kind, fields});
    faulty = true;
  }

  void Apply(std::span<const FieldRule> rules) {
    for (const FieldRule& rule : rules)
      if (!rule.passes(rec)) Finding(rule.message, rule.fields);
  }

  void Payer() {
    // The record ends short of position 254 or runs past it.
    if (rec.size() != kPayerLength)
      Finding(Cat(" - Registro com tamanho ", rec.size(), " deveria ser 254, não será importado."_cp), "254");
    Apply(kPayerRules);
  }

  void Bill(const BillVersion& version) {
    if (version.tallies) {
      protest += At(rec, 49, '0');
      devolution += At(rec, 49, '1');
      booklet += At(rec, 164, '2');
      single += At(rec, 164, '1');
    }
    Apply(kBillCodes);
    Portfolio();
    if (!At(rec, 31, '8') && Field(rec, 44, 45) == "14")
      Finding(" - Nosso Número de SEM REGISTRO é obrigatório."_cp, "31-40 44-45");
    Apply(kBillTerms);
    Term();
    Apply(kBillDates);
    Apply(version.form);
    Apply(kBillValues);
    Apply(version.booklet);
    Apply(kBillMessages);
    Drawer(version);
  }

  // Portfolio 44-45 and the bank's number "Nosso Número" (31-41) it calls for.
  void Portfolio() {
    const std::string_view portfolio = Field(rec, 44, 45);
    if (!IsNumeric(portfolio)) return Finding(" - Carteira não inválida. Não é numérica"_cp, "44-45");
    switch (StrToInt(portfolio)) {
      case 11:
        if (!Blank<31, 41>(rec)) Finding(" - Nosso Número deve ser branco"_cp, "31-40 41 44-45");
        return;
      case 12:
        return Registered('9');
      case 14:
        return Registered('8');
      default:
        return;
    }
  }

  // A "Nosso Número" that begins with `first`, or all zeros, with its check
  // digit at 41. A number with any byte but digits has a wrong digit.
  void Registered(char first) {
    if (!At(rec, 31, first) && !AllOf<31, 41, '0'>(rec))
      return Finding(" - Nosso Número Não pode ser branco ou está inválido ou não pertence a carteira"_cp,
                     "31-40 41 44-45");
    const std::string_view number = Field(rec, 31, 40);
    if (number.size() != 10 || !IsAllDigits(number) || Field(rec, 41, 41) != NossoNumero10Dv(number))
      Finding(" - Dígito do Nosso Número está inválido."_cp, "41 31-40");
  }

  // The protest or return term in days, 50-53, by the instruction at 49.
  void Term() {
    const std::string_view term = Field(rec, 50, 53);
    if (!IsNumeric(term)) return Finding(" - Prazo de protesto/devolução inválido"_cp, "50-53");
    const std::int64_t days = StrToInt(term);  // "2,00" ends the run with the conversion error
    if (At(rec, 49, '0') && (days < 2 || days > 90))
      Finding(" - Prazo de protesto inválido"_cp, "50-53 49");
    else if (At(rec, 49, '1') && (days < 5 || days > 90))
      Finding(" - Prazo de devolução inválido"_cp, "50-53 49");
  }

  // The drawer ("avalista"), 169-209, when there is one: any byte of it calls
  // for the type at 189, so that finding names the whole drawer.
  void Drawer(const BillVersion& version) {
    if (Blank<169, 209>(rec)) return;
    if (!PlainText<169, 188>(rec)) Finding(" - Caracter inválido ou acentuado no nome do avalista."_cp, "169-188");
    if (!OneOf<189, 189, "1", "2">(rec)) Finding(" - Tipo PesAval inválido"_cp, "189 169-188 190-209");
    if (AllOf<190, 209, '0'>(rec)) return Finding(version.zeroedDrawer, "190-209");
    if (AllOf<190, 209, ' '>(rec)) return;
    const std::string_view number = Field(rec, 190, 209);
    if (At(rec, 189, '1') && !PaddedDocument<11, IsValidCpf>(number))
      Finding(" - Avalista com CPF inválido"_cp, "190-209 189");
    if (At(rec, 189, '2') && !PaddedDocument<14, IsValidCnpj>(number))
      Finding(" - Avalista com CGC inválido"_cp, "190-209 189");
  }

  void Closing() {
    host.ReportAppend(faulty ? "Verifique os erros acima." : "Não foram encontrados erros."_cp);
    host.ReportAppend("==== FIM DA VALIDAÇÃO ===="_cp);
  }

  void Tally(std::uint64_t count, std::string_view mark) {
    if (count > 0) host.ReportAppend(Cat("Existem no arquivo ", count, mark));
  }
};

void Start(Host& host, std::string_view banner, const std::string& path) {
  host.ReportClear();
  host.ReportAppend("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp);
  host.ReportAppend(Cat(banner, path));
}

Verdict Bills(Host& host, const BillVersion& version) {
  const auto path = host.OpenFile("Selecione o arquivo", FileFilter::Texto);
  if (!path) return Verdict::Clean;
  Start(host, "Verilote - Validação de Títulos. Arquivo: "_cp, *path);
  RecordReader reader(*path, &host);
  Run run{host, version.kind};
  while (reader.Next(run.rec)) {
    ++run.record;
    if (IsBlankField(run.rec)) continue;  // neither checked nor counted
    ++run.line;
    run.Bill(version);
  }
  run.Closing();
  if (version.tallies) {
    run.Tally(run.protest, " títulos marcado para protesto"_cp);
    run.Tally(run.devolution, " títulos marcado para devolução"_cp);
    run.Tally(run.booklet, " títulos marcado como carnê"_cp);
    run.Tally(run.single, " títulos marcado como único"_cp);
  }
  host.ReportAppend(Cat("Esta validação foi verificada para importação na versão "_cp, version.number));
  host.ReportAppend("Dados que não são verificados por este programa:"_cp);
  host.ReportAppend("1) Se o sacado existe.");
  host.ReportAppend("2) Se a data de desconto é anterior a de vencimento"_cp);
  host.ReportAppend("3) Se a data de juros, multa é posterior a do vencimento"_cp);
  host.ReportAppend("4) Se a data de emissão é anterior ou igual a de vencimento"_cp);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace

Verdict Sacados1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo", FileFilter::Retorno);
  if (!path) return Verdict::Clean;
  Start(host, "Verilote - Validação de sacados. Arquivo: "_cp, *path);
  RecordReader reader(*path, &host);
  Run run{host, &kCobcaixaPayerKind};
  while (reader.Next(run.rec)) {
    run.record = ++run.line;
    run.Payer();
  }
  run.Closing();
  host.ReportAppend("");
  host.ReportAppend("Dados que não são verificados por este programa:"_cp);
  host.ReportAppend("1) Se o CEP existe.");
  host.ReportAppend("2) Se o estado ( UF ) existe");
  host.ReportAppend("3) Se o telefone está correto"_cp);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

Verdict Ttulos1Click(Host& host) { return Bills(host, kVersion220); }

Verdict TtulosV2331Click(Host& host) { return Bills(host, kVersion233); }

}  // namespace verilote

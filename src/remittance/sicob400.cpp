#include "remittance/sicob400.hpp"

#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "remittance/cnab240.hpp"
#include "remittance/cnab400.hpp"

namespace verilote {

namespace {

constexpr Cnab400Start kStart{
    .dialogTitle = "Selecione o arquivo remessa SICOB",
    .notice = "",
    .warning = "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp,
    .fileLine = "",
};

struct Run : Cnab400Run {
  using Cnab400Run::Cnab400Run;
  std::uint64_t headers = 0, titles = 0, messages = 0, trailers = 0;
  std::string codes;   // the current record's codes, each with its leading blank
  std::string fields;  // the fields the codes name, each with its leading blank

  void Add(std::string_view code, std::string_view names) {
    codes += code;
    fields += ' ';
    fields += names;
  }
};

// A rule of a code list: its test, its code, and the fields the code names
// (the field itself and any other field the test reads, such as the kind that
// selects a CPF or a CNPJ).
struct NamedRule {
  RecordTest passes;
  std::string_view code;
  std::string_view fields;
};

template <const auto& Rules>
void ApplyNamedRules(Run& run, std::string_view rec) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((Rules[I].passes(rec) || (run.Add(Rules[I].code, Rules[I].fields), true)), ...);
  }
  (std::make_index_sequence<std::size(Rules)>{});
}

// ---- Header (record type "0").

constexpr NamedRule kHeaderRules[] = {
    {Blank<43, 46>, " nao branco(43,4)", "43-46"},
    {Blank<101, 389>, " nao branco(101,289)", "101-389"},
    {OneOf<77, 79, "104">, " Banco nao 104(77,3)", "77-79"},
};

void Header(Run& run, std::string_view rec) {
  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 47, 76)));
  run.Info(Cat("Convenio: ", Field(rec, 27, 30), '.', Field(rec, 31, 33), '.', Field(rec, 34, 41), '-',
               Field(rec, 42, 42), " Literal: ", Field(rec, 2, 26)));
  run.Info(Cat("Banco: ", Field(rec, 77, 94), " Geracao: ", Field(rec, 95, 96), '/', Field(rec, 97, 98), '/',
               Field(rec, 99, 100), " seq ", Field(rec, 390, 394)));
  ApplyNamedRules<kHeaderRules>(run, rec);
  if (!run.codes.empty()) {
    run.Finding(Cat("Erro no HEADER. Codigos de erro:", run.codes), run.fields);
  } else {
    run.Info(Banner(40, " HEADER OK ", 37));
  }
}

// ---- Title (record type "1").

// Position 33, the account's check digit over agency, operation and account
// (18-32). A letter or a blank among them makes a wrong digit, not a failed run.
bool AccountDv(std::string_view rec) {
  const std::optional<char> dv = AccountDvDigit(Field(rec, 18, 21), Field(rec, 22, 24), Field(rec, 25, 32));
  return dv && At(rec, 33, *dv);
}

bool CaixaNossoNumero(std::string_view rec) { return At(rec, 63, '9') || At(rec, 63, '3'); }

bool NossoNumeroOfCaixa(std::string_view rec) { return CaixaNossoNumero(rec) || Field(rec, 63, 73) == "00000000000"; }

bool ZerosOrNoNossoNumero(std::string_view rec) {
  return CaixaNossoNumero(rec) || Field(rec, 63, 73) == "00000000000" || Blank<63, 73>(rec);
}

bool CarteiraOfNossoNumero(std::string_view rec) {
  const std::string_view carteira = Field(rec, 107, 108);
  if (carteira == "12") return At(rec, 63, '9');
  if (carteira == "11") return At(rec, 63, '3') || At(rec, 63, '0');
  return true;
}

// Steps 1 to 6: the company, the account, the start of the Nosso Número.
constexpr NamedRule kAccountRules[] = {
    {InscriptionIfKind<3, '1', kCompanyInscription>, " CPF invalido pos=4", "4-17 2-3"},
    {InscriptionIfKind<3, '2', kCompanyInscription>, " CGC invalido pos=4", "4-17 2-3"},
    {AccountDv, " DV da conta inválido"_cp, "33 18-21 22-24 25-32"},
    {Blank<34, 35>, " Deveria ser branco(34,2)", "34-35"},
    {OneOf<36, 37, "00", "51">, " posição 36,2 deveria ser 00 ou 51"_cp, "36-37"},
    {NossoNumeroOfCaixa, " Nosso Número não é CAIXA (63,11) "_cp, "63-73"},
};

// Step 7: a Nosso Número of CAIXA ("9" or "3" at 63) carries its digit at 73.
// A letter or a blank in it makes a wrong digit, not a failed run.
void CheckNossoNumeroDv(Run& run, std::string_view rec) {
  if (!CaixaNossoNumero(rec)) return;
  const std::string_view nossoNumero = Field(rec, 63, 73);
  if (Trim(nossoNumero).size() == 11) {
    const std::string_view ten = nossoNumero.substr(0, 10);
    if (!IsAllDigits(ten) || !At(rec, 73, NossoNumero10Dv(ten)[0]))
      run.Add(" Nosso número com DV inválido"_cp, "63-73");
  } else if (OneOf<107, 108, "11", "12">(rec)) {
    run.Add(" Erro na formação de nosso número"_cp, "63-73 107-108");
  }
}

// Steps 8 to 21.
constexpr NamedRule kTitleRules[] = {
    {ZerosOrNoNossoNumero, " Nosso Número inválido"_cp, "63-73"},
    {Blank<74, 76>, " Deveria ser branco(74,3)", "74-76"},
    {CarteiraOfNossoNumero, " Nosso número não pertence a carteira informada."_cp, "63-73 107-108"},
    {OneOf<107, 108, "11", "12">, " Carteira inválida(107,2)"_cp, "107-108"},
    {Numeric<109, 110>, " Campo não numérico(109,2)"_cp, "109-110"},
    {NotBlank<111, 120>, " Não pode ser branco(111,10)"_cp, "111-120"},
    {ValidDdmmyy<121>, " Data Inválida na Posição 121"_cp, "121-126"},
    {Numeric<127, 139>, " Campo não numérico(127,13)"_cp, "127-139"},
    {OneOf<140, 142, "104">, " Banco nãO é 104 (140,3)"_cp, "140-142"},
    {Numeric<143, 147>, " Campo não numérico(143,5)"_cp, "143-147"},
    {Numeric<148, 149>, " Campo não numérico(148,2)"_cp, "148-149"},
    {OneOf<150, 150, "N", "S">, " Aceite Inválido (150,1)"_cp, "150"},
    {ValidDdmmyy<151>, " Data Inválida na Posição 151"_cp, "151-156"},
};

// Steps 22 to 24: the instruction (157-158) and its days (392-393). Days
// that pass IsNumeric without being a whole number are out of range.
void CheckInstruction(Run& run, std::string_view rec) {
  const std::string_view instruction = Field(rec, 157, 158);
  if (instruction != "01" && instruction != "02") {
    run.Add(" Esperado 01 ou 02 (157,2)", "157-158");
    return;
  }
  if (!Numeric<392, 393>(rec)) {
    run.Add(" Campo não numérico(392,2)"_cp, "392-393");
    return;
  }
  const std::optional<std::uint64_t> days = WholeNumber(Field(rec, 392, 393));
  if (instruction == "01" && !(days && *days >= 2 && *days <= 30))
    run.Add(" Prazo de protesto inválido, esperado de 2 a 30"_cp, "392-393 157-158");
  if (instruction == "02" && !(days && *days >= 5 && *days <= 90))
    run.Add(" Prazo de devolução inválido, esperado de 5 a 90"_cp, "392-393 157-158");
}

bool FineDate(std::string_view rec) { return Field(rec, 352, 357) != "000000" && ValidDdmmyy<352>(rec); }

// Steps 25 to 44.
constexpr NamedRule kPayerRules[] = {
    {Numeric<159, 160>, " Campo não numérico(159,2)"_cp, "159-160"},
    {Numeric<161, 173>, " Campo não numérico(161,13)"_cp, "161-173"},
    {ZerosOrDdmmyy<174>, " Data Inválida na Posição 174"_cp, "174-179"},
    {Numeric<180, 192>, " Campo não numérico(180,13)"_cp, "180-192"},
    {Numeric<193, 205>, " Campo não numérico(193,13)"_cp, "193-205"},
    {Numeric<206, 218>, " Campo não numérico(206,13)"_cp, "206-218"},
    {InscriptionIfKind<220, '1', kPayerInscription>, " CPF invalido pos=221", "221-234 220"},
    {InscriptionIfKind<220, '2', kPayerInscription>, " CGC invalido pos=221", "221-234 220"},
    {OneOf<220, 220, "1", "2">, " Tipo deve ser 1 ou 2 (220,1)", "220"},
    {NotBlank<235, 274>, " Não pode ser branco(235,40)"_cp, "235-274"},
    {NotBlank<275, 314>, " Não pode ser branco(275,40)"_cp, "275-314"},
    {NotBlank<315, 326>, " Não pode ser branco(315,12)"_cp, "315-326"},
    {Numeric<327, 334>, " Campo não numérico(327,8)"_cp, "327-334"},
    {NotBlank<335, 349>, " Não pode ser branco(335,15)"_cp, "335-349"},
    {NotBlank<350, 351>, " Não pode ser branco(350,2)"_cp, "350-351"},
    {FineDate, " Data Inválida na Posição 352"_cp, "352-357"},
    {Numeric<358, 367>, " Campo não numérico(358,10)"_cp, "358-367"},
    {Numeric<394, 394>, " Campo não numérico(394,1)"_cp, "394"},
    {Numeric<395, 400>, " Campo não numérico(395,6)"_cp, "395-400"},
    {Numeric<390, 391>, " Campo não numérico(390,2)"_cp, "390-391"},
};

void Title(Run& run, std::string_view rec) {
  ApplyNamedRules<kAccountRules>(run, rec);
  CheckNossoNumeroDv(run, rec);
  ApplyNamedRules<kTitleRules>(run, rec);
  CheckInstruction(run, rec);
  ApplyNamedRules<kPayerRules>(run, rec);
  if (!run.codes.empty()) run.Finding(Cat("Linha ", run.line, ": ", run.codes), run.fields);
}

void Record(Run& run, std::string_view rec) {
  run.codes.clear();
  run.fields.clear();
  run.kind = kSicob400Fields.kindOf(rec);
  // The length names the field the record's end should close.
  if (rec.size() != kCnab400Length)
    run.Finding(Cat("Registro numero ", run.line, " com tamanho ", rec.size()), LastField(run.kind));
  // The record type is converted as an integer: a non-digit ends the run.
  const char type = rec.empty() ? '\0' : rec[0];
  const bool digit = type >= '0' && type <= '9';
  switch (digit ? type - '0' : StrToInt(Field(rec, 1, 1))) {
    case 0:
      ++run.headers;
      return Header(run, rec);
    case 1:
      ++run.titles;
      return Title(run, rec);
    case 2:
      ++run.messages;
      if (const std::string positions = InvalidPositions(rec); !positions.empty())
        run.Finding(Cat("Linha ", run.line, ": Caracter inválido nas posições: "_cp, positions),
                    FieldsOfInvalidBytes<PlainBytes>(run.kind, rec));
      return;
    case 9:
      ++run.trailers;
      return;
    default:
      run.Finding(Cat("Registro numero ", run.line, " com tipo inválido !!! Esperado 0,1,2 ou 9"_cp), "1");
      return;
  }
}

}  // namespace

Verdict CobranaRemessapadro4001Click(Host& host) {
  Run run(host);
  if (!ReadCnab400(run, kStart, [&run](std::string_view rec) { Record(run, rec); })) return Verdict::Clean;
  if (WriteFileCounts(host, run.headers, run.trailers)) run.faulty = true;
  if (run.headers + run.titles + run.messages + run.trailers != run.line)
    run.FileFinding("Existem registros inválidos diferente de 0,1 e 9"_cp);
  // Any finding, not only a title's codes, clears the OK verdict.
  WriteVerdict(host, !run.faulty);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote

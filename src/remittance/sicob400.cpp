#include "remittance/sicob400.hpp"

#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
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
  std::string codes;  // the current record's codes, each with its leading blank
};

// ---- Header (record type "0").

constexpr CodeRule kHeaderRules[] = {
    {Blank<43, 46>, " nao branco(43,4)"},
    {Blank<101, 389>, " nao branco(101,289)"},
    {OneOf<77, 79, "104">, " Banco nao 104(77,3)"},
};

void Header(Run& run, std::string_view rec) {
  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 47, 76)));
  run.Info(Cat("Convenio: ", Field(rec, 27, 30), '.', Field(rec, 31, 33), '.', Field(rec, 34, 41), '-',
               Field(rec, 42, 42), " Literal: ", Field(rec, 2, 26)));
  run.Info(Cat("Banco: ", Field(rec, 77, 94), " Geracao: ", Field(rec, 95, 96), '/', Field(rec, 97, 98), '/',
               Field(rec, 99, 100), " seq ", Field(rec, 390, 394)));
  ApplyCodeRules<kHeaderRules>(rec, run.codes);
  if (!run.codes.empty()) {
    run.Finding(Cat("Erro no HEADER. Codigos de erro:", run.codes));
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
constexpr CodeRule kAccountRules[] = {
    {InscriptionIfKind<3, '1', kCompanyInscription>, " CPF invalido pos=4"},
    {InscriptionIfKind<3, '2', kCompanyInscription>, " CGC invalido pos=4"},
    {AccountDv, " DV da conta inválido"_cp},
    {Blank<34, 35>, " Deveria ser branco(34,2)"},
    {OneOf<36, 37, "00", "51">, " posição 36,2 deveria ser 00 ou 51"_cp},
    {NossoNumeroOfCaixa, " Nosso Número não é CAIXA (63,11) "_cp},
};

// Step 7: a Nosso Número of CAIXA ("9" or "3" at 63) carries its digit at 73.
// A letter or a blank in it makes a wrong digit, not a failed run.
void CheckNossoNumeroDv(Run& run, std::string_view rec) {
  if (!CaixaNossoNumero(rec)) return;
  const std::string_view nossoNumero = Field(rec, 63, 73);
  if (Trim(nossoNumero).size() == 11) {
    const std::string_view ten = nossoNumero.substr(0, 10);
    if (!IsAllDigits(ten) || !At(rec, 73, NossoNumero10Dv(ten)[0])) run.codes += " Nosso número com DV inválido"_cp;
  } else if (OneOf<107, 108, "11", "12">(rec)) {
    run.codes += " Erro na formação de nosso número"_cp;
  }
}

// Steps 8 to 21.
constexpr CodeRule kTitleRules[] = {
    {ZerosOrNoNossoNumero, " Nosso Número inválido"_cp},
    {Blank<74, 76>, " Deveria ser branco(74,3)"},
    {CarteiraOfNossoNumero, " Nosso número não pertence a carteira informada."_cp},
    {OneOf<107, 108, "11", "12">, " Carteira inválida(107,2)"_cp},
    {Numeric<109, 110>, " Campo não numérico(109,2)"_cp},
    {NotBlank<111, 120>, " Não pode ser branco(111,10)"_cp},
    {ValidDdmmyy<121>, " Data Inválida na Posição 121"_cp},
    {Numeric<127, 139>, " Campo não numérico(127,13)"_cp},
    {OneOf<140, 142, "104">, " Banco nãO é 104 (140,3)"_cp},
    {Numeric<143, 147>, " Campo não numérico(143,5)"_cp},
    {Numeric<148, 149>, " Campo não numérico(148,2)"_cp},
    {OneOf<150, 150, "N", "S">, " Aceite Inválido (150,1)"_cp},
    {ValidDdmmyy<151>, " Data Inválida na Posição 151"_cp},
};

// Steps 22 to 24: the instruction (157-158) and its days (392-393). Days
// that pass IsNumeric without being a whole number are out of range.
void CheckInstruction(Run& run, std::string_view rec) {
  const std::string_view instruction = Field(rec, 157, 158);
  if (instruction != "01" && instruction != "02") {
    run.codes += " Esperado 01 ou 02 (157,2)";
    return;
  }
  if (!Numeric<392, 393>(rec)) {
    run.codes += " Campo não numérico(392,2)"_cp;
    return;
  }
  const std::optional<std::uint64_t> days = WholeNumber(Field(rec, 392, 393));
  if (instruction == "01" && !(days && *days >= 2 && *days <= 30))
    run.codes += " Prazo de protesto inválido, esperado de 2 a 30"_cp;
  if (instruction == "02" && !(days && *days >= 5 && *days <= 90))
    run.codes += " Prazo de devolução inválido, esperado de 5 a 90"_cp;
}

bool FineDate(std::string_view rec) { return Field(rec, 352, 357) != "000000" && ValidDdmmyy<352>(rec); }

// Steps 25 to 44.
constexpr CodeRule kPayerRules[] = {
    {Numeric<159, 160>, " Campo não numérico(159,2)"_cp},
    {Numeric<161, 173>, " Campo não numérico(161,13)"_cp},
    {ZerosOrDdmmyy<174>, " Data Inválida na Posição 174"_cp},
    {Numeric<180, 192>, " Campo não numérico(180,13)"_cp},
    {Numeric<193, 205>, " Campo não numérico(193,13)"_cp},
    {Numeric<206, 218>, " Campo não numérico(206,13)"_cp},
    {InscriptionIfKind<220, '1', kPayerInscription>, " CPF invalido pos=221"},
    {InscriptionIfKind<220, '2', kPayerInscription>, " CGC invalido pos=221"},
    {OneOf<220, 220, "1", "2">, " Tipo deve ser 1 ou 2 (220,1)"},
    {NotBlank<235, 274>, " Não pode ser branco(235,40)"_cp},
    {NotBlank<275, 314>, " Não pode ser branco(275,40)"_cp},
    {NotBlank<315, 326>, " Não pode ser branco(315,12)"_cp},
    {Numeric<327, 334>, " Campo não numérico(327,8)"_cp},
    {NotBlank<335, 349>, " Não pode ser branco(335,15)"_cp},
    {NotBlank<350, 351>, " Não pode ser branco(350,2)"_cp},
    {FineDate, " Data Inválida na Posição 352"_cp},
    {Numeric<358, 367>, " Campo não numérico(358,10)"_cp},
    {Numeric<394, 394>, " Campo não numérico(394,1)"_cp},
    {Numeric<395, 400>, " Campo não numérico(395,6)"_cp},
    {Numeric<390, 391>, " Campo não numérico(390,2)"_cp},
};

void Title(Run& run, std::string_view rec) {
  ApplyCodeRules<kAccountRules>(rec, run.codes);
  CheckNossoNumeroDv(run, rec);
  ApplyCodeRules<kTitleRules>(rec, run.codes);
  CheckInstruction(run, rec);
  ApplyCodeRules<kPayerRules>(rec, run.codes);
  if (!run.codes.empty()) run.Finding(Cat("Linha ", run.line, ": ", run.codes));
}

void Record(Run& run, std::string_view rec) {
  run.codes.clear();
  if (rec.size() != kCnab400Length) run.Finding(Cat("Registro numero ", run.line, " com tamanho ", rec.size()));
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
        run.Finding(Cat("Linha ", run.line, ": Caracter inválido nas posições: "_cp, positions));
      return;
    case 9:
      ++run.trailers;
      return;
    default:
      run.Finding(Cat("Registro numero ", run.line, " com tipo inválido !!! Esperado 0,1,2 ou 9"_cp));
      return;
  }
}

}  // namespace

Verdict CobranaRemessapadro4001Click(Host& host) {
  Run run(host);
  if (!ReadCnab400(run, kStart, [&run](std::string_view rec) { Record(run, rec); })) return Verdict::Clean;
  if (WriteFileCounts(host, run.headers, run.trailers)) run.faulty = true;
  if (run.headers + run.titles + run.messages + run.trailers != run.line)
    run.Finding("Existem registros inválidos diferente de 0,1 e 9"_cp);
  // Any finding, not only a title's codes, clears the OK verdict.
  WriteVerdict(host, !run.faulty);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote

#include "remittance/sigcb400.hpp"

#include <span>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/cnab400.hpp"
#include "remittance/sigcb400_fields.hpp"

namespace verilote {

namespace {

constexpr Cnab400Start kStart{
    .dialogTitle = "Selecione o arquivo remessa SIGCB",
    .notice = "Esta validação não é completa, deve ser complementada com outros recursos."_cp,
    .warning = "****  Esta opção ainda está em testes - REMESSA SIGCB CNAB 400  ****"_cp,
    .fileLine = "Validando arquivo ",
};

struct Run : Cnab400Run {
  using Cnab400Run::Cnab400Run;
  std::string version;  // header 101-103: "   " or "007" are known
  std::string cedente;  // empty until a header of a known version is read
  bool trailer = false;

  // "Linha:n" and the text, a finding naming `fields`.
  void Line(std::string_view text, std::string_view fields) { Finding(Cat("Linha:", line, text), fields); }
};

// ---- How a failed rule is written after "Linha:n Erro no campo F".

enum class Says {
  Found,         // " - Informação encontrada: " and the positions
  TrimmedFound,  // the same with the positions trimmed
  NothingFound,  // " - Nenhuma Informação encontrada"
  NotBlank,      // " - Campo não pode ser branco."
  CEconFederal,  // " - Esperado C ECON FEDERAL  Informação encontrada: " and the positions
};

struct FieldRule {
  std::string_view field;
  std::size_t from, to;  // the positions the line shows
  RecordTest passes;
  Says says = Says::Found;
  // The codes the finding names when the rule reads more than its field: the
  // kind that selects a CPF or a CNPJ, the positions it runs over into.
  std::string_view names = {};
};

void FieldFinding(Run& run, std::string_view rec, const FieldRule& rule) {
  const std::string_view shown = Field(rec, rule.from, rule.to);
  const std::string_view fields = rule.names.empty() ? rule.field : rule.names;
  const auto line = [&](std::string_view text, std::string_view content = {}) {
    run.Line(Cat(" Erro no campo ", rule.field, text, content), fields);
  };
  switch (rule.says) {
    case Says::Found:
      return line(" - Informação encontrada: "_cp, shown);
    case Says::TrimmedFound:
      return line(" - Informação encontrada: "_cp, Trim(shown));
    case Says::NothingFound:
      return line(" - Nenhuma Informação encontrada"_cp);
    case Says::NotBlank:
      return line(" - Campo não pode ser branco."_cp);
    case Says::CEconFederal:
      return line(" - Esperado C ECON FEDERAL  Informação encontrada: "_cp, shown);
  }
}

void ApplyFieldRules(Run& run, std::string_view rec, std::span<const FieldRule> rules) {
  for (const FieldRule& rule : rules)
    if (!rule.passes(rec)) FieldFinding(run, rec, rule);
}

// ---- Tests of the tables.

// Numeric, then not a text of zeros of the field's width.
template <std::size_t From, std::size_t To>
bool NumericNotZero(std::string_view rec) {
  return Numeric<From, To>(rec) && NotAllOf<From, To, '0'>(rec);
}

// The company's inscription by the kind of fields 02.1 and 02.2 (2-3), the
// payer's by field 31.1 (219-220): "01" a CPF, "02" a CNPJ.
template <std::size_t KindPos, char Kind, std::size_t From>
constexpr RecordTest InscriptionOfKind = InscriptionIfKind<KindPos, Kind, From, true>;

// Fields 11.1 and 8.2 (59-73) by the kind at 57-58: "14" a value that is not
// zero, "00" any number.
bool AmountByKind(std::string_view rec) {
  const std::string_view kind = Field(rec, 57, 58);
  if (kind == "14") return NumericNotZero<59, 73>(rec);
  if (kind == "00") return Numeric<59, 73>(rec);
  return true;
}

bool TrimmedCobranca(std::string_view rec) { return Trim(Field(rec, 12, 26)) == "COBRANCA"; }

// Field 13A.1: a valid date when 13B.1 (84) is "1" or "2".
bool Date13A(std::string_view rec) { return !OneOf<84, 84, "1", "2">(rec) || ValidDdmmyy<78>(rec); }

// Field 43.1: days from 2 to 90. A number that is not whole fails.
bool Days43(std::string_view rec) {
  const std::optional<std::uint64_t> days = WholeNumber(Field(rec, 392, 393));
  return days && *days >= 2 && *days <= 90;
}

constexpr std::string_view kCEconFederal = "C ECON FEDERAL";

// ---- Header (record type "0").

// The rules of each known layout version: cedente code 7.0, 08.0, 13.0.
constexpr FieldRule kVersionBlankRules[] = {
    {"7.0", 31, 36, NumericNotZero<31, 36>},
    {"08.0", 37, 46, Blank<37, 46>},
    {"13.0", 101, 389, Blank<101, 389>},
};
constexpr FieldRule kVersion007Rules[] = {
    {"7.0", 31, 37, NumericNotZero<31, 37>},
    {"08.0", 38, 46, Blank<38, 46>},
    {"13.0", 104, 389, Blank<104, 389>},
};

constexpr FieldRule kHeaderRules[] = {
    {"02.0", 2, 2, OneOf<2, 2, "1">},        {"03.0", 3, 9, OneOf<3, 9, "REM.TST", "REMESSA">},
    {"04.0", 10, 11, OneOf<10, 11, "01">},   {"05.0", 12, 26, TrimmedCobranca, Says::TrimmedFound},
    {"6.0", 27, 30, NumericNotZero<27, 30>}, {"09.0", 47, 76, NotBlank<47, 76>, Says::NothingFound},
    {"10.0", 77, 79, OneOf<77, 79, "104">},  {"11.0", 80, 94, OneOf<80, 94, "C ECON FEDERAL ">, Says::CEconFederal},
    {"12.0", 95, 100, ValidDdmmyy<95>},      {"14.0", 390, 394, NumericNotZero<390, 394>},
};

void Header(Run& run, std::string_view rec) {
  run.version = Field(rec, 101, 103);
  if (run.version == "   ") {
    run.cedente = Field(rec, 31, 36);
    ApplyFieldRules(run, rec, kVersionBlankRules);
  } else if (run.version == "007") {
    run.cedente = Field(rec, 31, 37);
    ApplyFieldRules(run, rec, kVersion007Rules);
  } else {
    run.Finding("ERRO FATAL: O arquivo está com uma versão não permitida, o resto dessa validação está inválida."_cp,
                "12A.0");
  }
  run.Info(Cat("Agência: "_cp, Field(rec, 27, 30), " Cedente: ", run.cedente, " -> ", Field(rec, 47, 76)));
  run.Info(Cat("Arquivo de número "_cp, Field(rec, 390, 394), " Gerado em: ", Field(rec, 95, 96), '/',
               Field(rec, 97, 98), "/20", Field(rec, 99, 100)));
  run.Info(" ");
  run.Info("Verificando os registros... ");
  run.Info(" ");
  if (Trim(Field(rec, 80, 94)) != kCEconFederal)
    run.Finding("HEADER DE ARQUIVO deveria ter string C ECON FEDERAL ", "11.0");
  ApplyFieldRules(run, rec, kHeaderRules);
  // Field 15.0, the sequence: not zero and the line's own number. A number
  // that is not whole fails like a wrong one.
  if (!NumericNotZero<395, 400>(rec) || WholeNumber(Field(rec, 395, 400)) != run.line)
    FieldFinding(run, rec, {"15.0", 395, 400, nullptr});
}

// ---- Title (record type "1").

constexpr FieldRule kVersionBlankAgency[] = {{"04.1", 18, 21, NumericNotZero<18, 21>}};
constexpr FieldRule kVersion007Agency[] = {{"04.1", 18, 20, OneOf<18, 20, "000">}};
constexpr FieldRule kVersion007Rules1[] = {
    {"13.1", 77, 77, Blank<77, 77>},
    {"13B.1", 84, 84, OneOf<84, 84, "0", "1", "2", "3", "4", "5", "6">},
    {"13A.1", 78, 83, Date13A, Says::Found, "13A.1 13B.1"},
    {"13C.1", 85, 106, Blank<85, 106>},
};

// Field 05.1, the cedente code of the header: the first failing rule ends it.
template <std::size_t From>
void CheckCedente(Run& run, std::string_view rec) {
  if (!NumericNotZero<From, 27>(rec)) return FieldFinding(run, rec, {"05.1", From, 27, nullptr});
  if (Field(rec, From, 27) != run.cedente)
    run.Line(Cat(" Erro no campo 05.1 - Cedente encontrado ", Field(rec, From, 27), " cedente esperado ", run.cedente),
             "05.1");
}

constexpr FieldRule kTitleRules[] = {
    {"02.1", 2, 3, OneOf<2, 3, "01", "02">},
    {"03.1", 7, 17, InscriptionOfKind<3, '1', kCompanyInscription>, Says::Found, "03.1 02.1"},
    {"03.1", 4, 17, InscriptionOfKind<3, '2', kCompanyInscription>, Says::Found, "03.1 02.1"},
    {"06.1", 28, 28, OneOf<28, 28, "1", "2">},
    {"07.1", 29, 29, OneOf<29, 29, "0", "1", "2", "3">},
    {"09.1", 30, 31, OneOf<30, 31, "00", "51">},
    {"11.1", 57, 58, OneOf<57, 58, "00", "14">},
    {"11.1", 59, 73, AmountByKind},
    {"12.1", 74, 76, Blank<74, 76>},
    {"14.1", 107, 108, OneOf<107, 108, "01", "02">},
    {"15.1", 109, 110, OneOf<109, 110, "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12">},
    {"16.1", 111, 120, NotBlank<111, 120>},
    {"17.1", 121, 126, ValidDdmmyy<121>},
    {"18.1", 127, 141, Numeric<127, 141>, Says::Found, "18.1 19.1"},
    {"18.1", 127, 139, NotAllOf<127, 139, '0'>},
    {"19.1", 140, 142, OneOf<140, 142, "104">},
    {"20.1", 143, 147, Numeric<143, 147>},
    {"21.1", 148, 149, OneOf<148, 149, "01", "02", "03", "05", "06", "09">},
    {"22.1", 150, 150, OneOf<150, 150, "A", "N">},
    {"23.1", 151, 156, ValidDdmmyy<151>},
    {"24.1", 157, 158, OneOf<157, 158, "01", "02">},
    {"25.1", 159, 160, OneOf<159, 160, "00">},
    {"26.1", 161, 173, Numeric<161, 173>},
    {"27.1", 174, 179, ZerosOrDdmmyy<174>},
    {"28.1", 180, 192, Numeric<180, 192>},
    {"29.1", 193, 205, Numeric<193, 205>},
    {"30.1", 206, 218, Numeric<206, 218>},
    {"31.1", 219, 220, OneOf<219, 220, "01", "02">},
    {"32.1", 224, 234, InscriptionOfKind<220, '1', kPayerInscription>, Says::Found, "32.1 31.1"},
    {"32.1", 221, 234, InscriptionOfKind<220, '2', kPayerInscription>, Says::Found, "32.1 31.1"},
    {"33.1", 235, 274, NotBlank<235, 274>, Says::NotBlank},
    {"34.1", 275, 314, NotBlank<275, 314>, Says::NotBlank},
    {"35.1", 315, 326, NotBlank<315, 326>, Says::NotBlank},
    {"36.1", 327, 334, NumericNotZero<327, 334>},
    {"37.1", 335, 349, NotBlank<335, 349>, Says::NotBlank},
    {"38.1", 350, 351, NotBlank<350, 351>, Says::NotBlank},
    {"39.1", 352, 357, ZerosOrDdmmyy<352>},
    {"40.1", 358, 367, Numeric<358, 367>},
    {"42.1", 390, 391, OneOf<390, 391, "00", "02">},
    {"43.1", 392, 393, Days43},
    {"44.1", 394, 394, OneOf<394, 394, "1", "2", "3", "4", "7">},
};

void Title(Run& run, std::string_view rec) {
  if (run.version == "007") {
    ApplyFieldRules(run, rec, kVersion007Agency);
    CheckCedente<21>(run, rec);
    ApplyFieldRules(run, rec, kVersion007Rules1);
  } else {
    // Layout version blank, and any other (after the header's fatal line):
    // the cedente code is then empty and every title's code differs from it.
    ApplyFieldRules(run, rec, kVersionBlankAgency);
    CheckCedente<22>(run, rec);
  }
  ApplyFieldRules(run, rec, kTitleRules);
}

// ---- Second record of a title (type "2").

constexpr FieldRule kSecondRules[] = {
    {"02.2", 2, 3, OneOf<2, 3, "01", "02">},
    {"03.2", 7, 17, InscriptionOfKind<3, '1', kCompanyInscription>, Says::Found, "03.2 02.2"},
    {"03.2", 4, 17, InscriptionOfKind<3, '2', kCompanyInscription>, Says::Found, "03.2 02.2"},
    {"04.2", 18, 21, NumericNotZero<18, 21>},
    {"05.2", 22, 27, NumericNotZero<22, 27>},
    {"06.2", 28, 31, Blank<28, 31>},
    {"07.2", 32, 56, Blank<32, 56>},
    {"8.2", 59, 73, AmountByKind},
    {"09.2", 74, 106, Blank<74, 106>},
    {"10.2", 107, 108, OneOf<107, 108, "01", "02">},
    {"11.2", 109, 110, OneOf<109, 110, "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12">},
    {"13.2", 140, 142, OneOf<140, 142, "104">},
    {"14.2", 143, 182, NotBlank<143, 182>, Says::NotBlank},
    {"20.2", 383, 394, Blank<383, 394>},
};

// ---- Trailer (type "9").

constexpr FieldRule kTrailerRules[] = {{"02.9", 2, 394, Blank<2, 394>, Says::TrimmedFound}};

void Record(Run& run, std::string_view rec) {
  run.kind = Sigcb400KindOf(rec, run.version);
  // The length names the field the record's end should close.
  if (rec.size() != kCnab400Length) run.Line(" Registro com tamanho diferente de 400 bytes.", LastField(run.kind));
  const char type = rec.empty() ? '\0' : rec[0];
  const bool known = type == '0' || type == '1' || type == '2' || type == '9';
  if (!known) run.Line(" Registro com segmento diferente de 0,1,2 e 9", "01");
  if (const std::string positions = InvalidPositions(rec); !positions.empty())
    run.Line(Cat(" com Caracter inválido nas posições: "_cp, positions),
             FieldsOfInvalidBytes<PlainBytes>(run.kind, rec));
  switch (type) {
    case '0':
      return Header(run, rec);
    case '1':
      return Title(run, rec);
    case '2':
      return ApplyFieldRules(run, rec, kSecondRules);
    case '9':
      ApplyFieldRules(run, rec, kTrailerRules);
      run.Info(Cat("Fim da validação. Quantidade de linhas validadas: "_cp, run.line));
      run.trailer = true;
      return;
    default:
      return;
  }
}

}  // namespace

Verdict SIGCBRemessa400ValidaTudo1Click(Host& host) {
  Run run(host);
  if (!ReadCnab400(run, kStart, [&run](std::string_view rec) { Record(run, rec); })) return Verdict::Clean;
  // A file that ends before its trailer is incomplete: not clean, though the
  // report has no line to say so.
  return run.faulty || !run.trailer ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote

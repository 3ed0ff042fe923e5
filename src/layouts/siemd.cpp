#include "layouts/siemd.hpp"

#include <cstdint>
#include <optional>
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
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::size_t kRecordLength = 150;

// Positions From-To occur somewhere in Text: the layout lists the accepted
// values of a field as one text ("01,02,03,04,05") and looks the field up in it.
template <std::size_t From, std::size_t To, FixedText Text>
bool InText(std::string_view rec) {
  return Text.view().find(Field(rec, From, To)) != std::string_view::npos;
}

// A yyyymmdd date at positions From to From+7, tested as dd/mm/yyyy.
template <std::size_t From>
bool YmdDate(std::string_view rec) {
  return IsValidDate(
      Cat(Field(rec, From + 6, From + 7), "/", Field(rec, From + 4, From + 5), "/", Field(rec, From, From + 3)));
}

// A check digit over a base of digits. A base with any other byte cannot be
// weighed: its digit is wrong, and the run goes on.
bool DigitMatches(std::string_view dv, std::string_view base, std::string (*digit)(std::string_view)) {
  return !base.empty() && IsAllDigits(base) && dv == digit(base);
}

// A field holding something other than blanks, zeros and punctuation: eleven
// zeros pass the CPF check digits, and a blank field reads as them, yet
// neither names anybody.
bool HoldsDocument(std::string_view field) {
  return KeepCnpjCharacters(field).find_first_not_of('0') != std::string::npos;
}

// Positions 41-54 of the lote header: the company's CPF in 44-54 or its CNPJ
// in 41-54.
bool ValidDocument(std::string_view rec) {
  const std::string_view cpf = Field(rec, 44, 54), cnpj = Field(rec, 41, 54);
  return (HoldsDocument(cpf) && IsValidCpfCnpj(cpf)) || (HoldsDocument(cnpj) && IsValidCnpj(cnpj));
}

// A row of the tables: its test, its message and the fields the message is
// about.
struct Row {
  RecordTest passes;
  std::string_view message;
  std::string_view fields;
};

bool Equals(std::int64_t value, std::uint64_t expected) {
  return value >= 0 && static_cast<std::uint64_t>(value) == expected;
}

constexpr std::string_view kBadDocument = " Dígito CPF/CNPJ inválido."_cp;
constexpr std::string_view kLoteCount = " Quantidade de lotes inválida, mas esta versão só valida um lote."_cp;

// What differs between the two layouts: the accepted record types, some
// accepted values, and every message (layout 03 names positions as
// pos(start,length)).
struct SiemdLayout {
  std::string_view startLine;  // after "Verificando arquivo "
  std::string_view types, badType;
  // File header rows; the "Convênio" line follows the first two, the file
  // number line the third, the reference year the fourth.
  std::span<const Row> header;
  std::string_view badYear;
  std::span<const Row> loteStart, loteEnd;
  std::string_view agency, agencyAbove4, agencyDv, operation, operationList, operations;
  std::size_t accountTo;
  std::string_view account, accountDv;
  std::string_view loteBlank, loteCountNumeric, loteCountWrong, loteSequenceNumeric, loteSequenceWrong;
  std::string_view fileBlank, fileCountNumeric, fileCountWrong, fileSequenceNumeric, fileSequenceWrong;
  bool positions;              // layout 03: statement lines and counts as that layout checks them
  const LayoutFields* fields;  // its dictionary
};

// ---- Layout 01.

constexpr Row kHeader01[] = {
    {InText<2, 2, "012">, " campo 0.02 inválido."_cp, "0.02"},
    {InText<3, 4, "01,02,03,04,05">, " campo 0.03 inválido."_cp, "0.03"},
    {YmdDate<17>, " Data invalida no campo 0.07", "0.07"},
    {YmdDate<31>, " Data invalida no campo 0.09", "0.09"},
    {InText<43, 44, "01,02,03,04,05,06,07,08,09,10,11,12">, " mês inválido no campo 0.11 inválido."_cp, "0.11"},
    {Numeric<45, 46>, " Sequencial inválido campo 0.12."_cp, "0.12"},
    {Blank<95, 124>, " Campo 0.14 deve ser branco", "0.14"},
    {OneOf<125, 141, "EMISSAO DOCUMENTO">, " campo 0.15 não é EMISSAO DOCUMENTO"_cp, "0.15"},
    {OneOf<142, 150, "000000000">, " campo 0.16 não é zeros"_cp, "0.16"},
};

constexpr Row kLoteStart01[] = {
    {InText<2, 2, "09">, " campo 1.02 inválido."_cp, "1.02"},
    {InText<3, 3, "TD">, " campo 1.03 inválido."_cp, "1.03"},
};

constexpr Row kLoteEnd01[] = {
    {Blank<103, 141>, " Campo 1.12 deve ser branco", "1.12"},
    {OneOf<142, 150, "000000001">, " Campo 1.13 deve ser 000000001", "1.13"},
};

// Employee record (type 2), fields 2.02 to 2.12.
constexpr Row kEmployee[] = {
    {InText<2, 2, "1234">, " campo 2.02 inválido."_cp, "2.02"},
    {NotBlank<3, 92>, " Campo 2.03 não deve ser branco"_cp, "2.03"},
    {Numeric<93, 94>, " Campo 2.04 deve ser numérico"_cp, "2.04"},
    {Numeric<95, 96>, " Campo 2.05 deve ser numérico"_cp, "2.05"},
    {NotBlank<97, 131>, " Campo 2.06 não deve ser branco"_cp, "2.06"},
    {Numeric<132, 133>, " Campo 2.07 deve ser numérico"_cp, "2.07"},
    {Numeric<134, 135>, " Campo 2.08 deve ser numérico"_cp, "2.08"},
    {Numeric<136, 137>, " Campo 2.09 deve ser numérico"_cp, "2.09"},
    {InText<138, 138, "AN">, " campo 2.10 inválido."_cp, "2.10"},
    {Numeric<139, 139>, " Campo 2.11 deve ser numérico"_cp, "2.11"},
    {Blank<140, 141>, " Campo 2.12 deve ser branco", "2.12"},
};

// Statement line (type 3), fields 3.03 to 3.08, after the group code.
constexpr Row kStatement01[] = {
    {Numeric<4, 5>, " Campo 3.03 deve ser numérico"_cp, "3.03"},
    {NotBlank<6, 95>, " Campo 3.04 não pode ser branco"_cp, "3.04"},
    {NotBlank<96, 130>, " Campo 3.05 não pode ser branco"_cp, "3.05"},
    {InText<131, 131, "+-">, " campo 3.06 deve ser + ou -", "3.06"},
    {InText<132, 132, "01">, " campo 3.07 deve ser 0 ou 1", "3.07"},
    {Blank<133, 141>, " Campo 3.08 deve ser branco", "3.08"},
};

constexpr SiemdLayout kLayout01{
    .startLine = "Este módulo ainda está em análise, favor enviar ocorrências para acerto."_cp,
    .types = "012349",
    .badType = " campo 0.02 inválido."_cp,
    .header = kHeader01,
    .badYear = " Ano inválido no campo 0.10"_cp,
    .loteStart = kLoteStart01,
    .loteEnd = kLoteEnd01,
    .agency = " Campo inválido campo 1.05."_cp,
    // Field 0.12 is the header's; the lote header's agency is 1.05. The
    // bank's program names it so.
    .agencyAbove4 = " Campo inválido campo 0.12."_cp,
    .agencyDv = " DV Agência inválido"_cp,
    .operation = " Campo inválido campo 1.07."_cp,
    .operationList = " Campo inválido campo 1.07."_cp,
    .operations = "001,002,003,006,037",
    .accountTo = 40,
    .account = " Campo inválido campo 1.08."_cp,
    .accountDv = " Dígito da conta inválido."_cp,
    .loteBlank = " Campo 4.03 deve ser branco",
    .loteCountNumeric = " Campo 4.02 deve ser numérico"_cp,
    .loteCountWrong = " Campo 4.02 deve ser a soma dos registros no lote",
    .loteSequenceNumeric = " Campo 4.04 deve ser numérico"_cp,
    .loteSequenceWrong = " Campo 4.04 deve ser sequencial",
    .fileBlank = " Campo 9.04 deve ser branco",
    .fileCountNumeric = " Campo 9.03 deve ser numérico"_cp,
    .fileCountWrong = " Campo 9.03 deve ser a soma dos registros no arquivo",
    .fileSequenceNumeric = " Campo 9.05 deve ser numérico"_cp,
    .fileSequenceWrong = " Campo 9.05 deve ser 999999999",
    .positions = false,
    .fields = &kSiemd01Fields,
};

// ---- Layout 03.

constexpr Row kHeader03[] = {
    {InText<2, 2, "012">, " pos(2,1) inválido."_cp, "0.02"},
    {InText<3, 4, "01,02,03,04,05">, " pos(3,2) inválido."_cp, "0.03"},
    {YmdDate<17>, " Data invalida pos(17,8)", "0.07"},
    {YmdDate<31>, " Data invalida pos(31,8)", "0.09"},
    {InText<43, 44, "01,02,03,04,05,06,07,08,09,10,11,12">, " mês inválido pos(43,2)."_cp, "0.11"},
    {Numeric<45, 46>, " Sequencial inválido pos(45,2)."_cp, "0.12"},
    {Blank<95, 124>, " pos(95,30) deve ser branco", "0.14"},
    {OneOf<125, 141, "EMISSAO DOCTOL001">, " pos(125,17) não é EMISSAO DOCTOL001"_cp, "0.15"},
    {OneOf<142, 150, "000000000">, " pos(142,9) não é zeros"_cp, "0.16"},
};

constexpr Row kLoteStart03[] = {
    {InText<2, 2, "09">, " pos(2,1) inválido."_cp, "1.02"},
    {OneOf<3, 3, " ">, " pos(3,1) inválido."_cp, "1.03"},
};

constexpr Row kLoteEnd03[] = {
    {Blank<103, 141>, " pos(103,39) deve ser branco", "1.12"},
    {OneOf<142, 150, "000000001">, " pos(142,9) deve ser 000000001", "1.13"},
};

constexpr Row kStatement03[] = {
    {InText<2, 2, "1234">, " pos(2,1) inválido."_cp, "3.02"},
    {Numeric<141, 141>, " pos(141,1) deve ser numérico"_cp, "3.03"},
};

constexpr SiemdLayout kLayout03{
    .startLine =
        "Atenção: A indicação do erro é mostrada assim: pos(x,y). Onde x é a posição inicial e y é o tamanho "_cp
        "do campo. Então pos(75,8) significa que começa na posição 75 e tem tamanho 8"_cp,
    .types = "01349",
    .badType = " pos(1,1).",
    .header = kHeader03,
    .badYear = " Ano inválido pos(39,4)"_cp,
    .loteStart = kLoteStart03,
    .loteEnd = kLoteEnd03,
    .agency = " Campo inválido pos(24,4)."_cp,
    .agencyAbove4 = " Campo inválido  pos(24,4)."_cp,
    .agencyDv = " DV Agência inválido pos(28,1)"_cp,
    .operation = " Campo inválido pos(29,3)."_cp,
    .operationList = " Campo inválido  pos(29,3)."_cp,
    .operations = "000,001,002,003,006,037",
    .accountTo = 39,
    .account = " Campo inválido pos(32,8)."_cp,
    .accountDv = " Dígito da conta inválido pos(40,1)."_cp,
    .loteBlank = " pos(8,134) deve ser branco",
    .loteCountNumeric = " pos(2,6) deve ser numérico"_cp,
    .loteCountWrong = " pos(2,6) deve ser a soma dos registros no lote. Encontrado ",
    .loteSequenceNumeric = " pos(142,9) deve ser numérico"_cp,
    .loteSequenceWrong = " pos(142,9) deve ser sequencial",
    .fileBlank = " pos(14,128) deve ser branco",
    .fileCountNumeric = " pos(8,6) deve ser numérico"_cp,
    .fileCountWrong = " pos(8,6) deve ser a soma dos registros no arquivo. Encontrado ",
    .fileSequenceNumeric = " pos(142,9) deve ser numérico"_cp,
    .fileSequenceWrong = " pos(142,9) deve ser 999999999",
    .positions = true,
    .fields = &kSiemd03Fields,
};

// One run over one file.
struct Run {
  Host& host;
  const SiemdLayout& layout;
  int lastYear;                // the latest reference year a header may carry
  std::uint64_t line = 0;      // lines read, the current one included
  std::uint64_t sequence = 0;  // records of the lote: 1 at its header, then one per record
  std::optional<std::int64_t> highestGroup{};
  bool faulty = false;
  std::string_view current{};        // the record being checked
  const RecordKind* kind = nullptr;  // its kind in the layout's dictionary

  // A finding about the current record and the fields it names.
  void Finding(std::string_view message, std::string_view fields) {
    const std::string text = Cat("Linha ", line, message);
    host.ReportFinding({.line = text, .record = line, .rec = current, .kind = kind, .fields = fields});
    faulty = true;
  }

  void Apply(std::span<const Row> rules, std::string_view rec) {
    for (const Row& rule : rules)
      if (!rule.passes(rec)) Finding(rule.message, rule.fields);
  }

  // A count or sequence field: numeric, then equal to `expected`.
  void Counted(std::string_view field, std::uint64_t expected, std::string_view notNumeric, std::string_view wrong,
               std::string_view code) {
    if (!IsNumeric(field))
      Finding(notNumeric, code);
    else if (!Equals(StrToInt(field), expected))
      Finding(wrong, code);
  }

  void Record(std::string_view rec) {
    ++line;
    current = rec;
    kind = layout.fields->kindOf(rec);
    if (!Numeric<1, 1>(rec)) return Finding(" com Código do Tipo do Registro não númérico."_cp, "R.01");
    // The length names no field: the record is cut short or runs long as a whole.
    if (rec.size() != kRecordLength) return Finding(" com tamanho diferente de 150 bytes.", {});
    if (layout.types.find(rec[0]) == std::string_view::npos) return Finding(layout.badType, "R.01");
    switch (rec[0]) {
      case '0':
        return FileHeader(rec);
      case '1':
        return LoteHeader(rec);
      case '2':
        return Employee(rec);
      case '3':
        return layout.positions ? Statement03(rec) : Statement01(rec);
      case '4':
        return LoteTrailer(rec);
      default:
        return FileTrailer(rec);
    }
  }

  void FileHeader(std::string_view rec) {
    const std::span<const Row> rules = layout.header;
    Apply(rules.first(2), rec);
    host.ReportAppend(Cat("Código Convênio:"_cp, Field(rec, 5, 10), " compromisso: ", Field(rec, 11, 12),
                          " código compromisso: "_cp, Field(rec, 13, 16), " (Confira)"));
    Apply(rules.subspan(2, 1), rec);
    host.ReportAppend(Cat("Número do arquivo: "_cp, Field(rec, 25, 30)));
    Apply(rules.subspan(3, 1), rec);
    // The reference year in 39-42: from 2010, when the layout came out, to
    // next year, for files prepared in December.
    const std::string_view year = Field(rec, 39, 42);
    if (!IsAllDigits(year) || StrToInt(year) < 2010 || StrToInt(year) > lastYear) Finding(layout.badYear, "0.10");
    Apply(rules.subspan(4), rec);
  }

  void LoteHeader(std::string_view rec) {
    Apply(layout.loteStart, rec);
    if (!Numeric<24, 27>(rec))
      Finding(layout.agency, "1.05");
    else if (StrToInt(Field(rec, 24, 24)) > 4)
      Finding(layout.agencyAbove4, "1.05");
    if (!DigitMatches(Field(rec, 28, 28), Field(rec, 24, 27), Mod11Dv4)) Finding(layout.agencyDv, "1.06 1.05");
    const std::string_view operation = Field(rec, 29, 31);
    if (!IsNumeric(operation))
      Finding(layout.operation, "1.07");
    else if (layout.operations.find(operation) == std::string_view::npos)
      Finding(layout.operationList, "1.07");
    if (!IsNumeric(Field(rec, 32, layout.accountTo)))
      Finding(layout.account, "1.08");
    else if (!DigitMatches(Field(rec, 40, 40), Cat(Field(rec, 24, 27), Field(rec, 29, 39)), Mod11DvFrom8))
      Finding(layout.accountDv, "1.08 1.05 1.07");
    if (!ValidDocument(rec)) Finding(kBadDocument, "1.09");
    Apply(layout.loteEnd, rec);
    sequence = 1;
  }

  void Employee(std::string_view rec) {
    Apply(kEmployee, rec);
    ++sequence;
    Counted(Field(rec, 142, 150), sequence, " Campo 2.13 deve ser numérico"_cp, " Campo 2.13 deve ser sequencial",
            "2.13");
  }

  void Statement01(std::string_view rec) {
    const std::string_view group = Field(rec, 2, 3);
    if (!IsNumeric(group)) {
      Finding(" Campo 3.02 deve ser numérico"_cp, "3.02");
    } else {
      // Group codes never go down: 01, 01, 02 is in order, a later 01 is not.
      const std::int64_t value = StrToInt(group);
      if (!highestGroup) highestGroup = value;
      if (value < *highestGroup)
        Finding(" Campo 3.02 deve ser sequencial crescente. Maior ou igual ao anterior.", "3.02");
      else
        highestGroup = value;
    }
    Apply(kStatement01, rec);
    ++sequence;
    Counted(Field(rec, 142, 150), sequence, " Campo 3.09 deve ser numérico"_cp, " Campo 3.09 deve ser sequencial",
            "3.09");
  }

  void Statement03(std::string_view rec) {
    ++sequence;
    Apply(kStatement03, rec);
    // Layout 03 converts the sequence without a numeric test first: a value
    // that is not a whole number ends the run with the conversion error.
    if (!Equals(StrToInt(Field(rec, 142, 150)), sequence)) Finding(" pos(142,9) deve ser sequencial", "3.04");
  }

  void LoteTrailer(std::string_view rec) {
    if (!Blank<8, 141>(rec)) Finding(layout.loteBlank, "4.03");
    ++sequence;
    const std::string_view count = Field(rec, 2, 7);
    if (!IsNumeric(count)) {
      Finding(layout.loteCountNumeric, "4.02");
    } else if (const std::int64_t value = StrToInt(count); !Equals(value, sequence)) {
      if (layout.positions)
        Finding(Cat(layout.loteCountWrong, value, " Esperado ", sequence), "4.02");
      else
        Finding(layout.loteCountWrong, "4.02");
    }
    Counted(Field(rec, 142, 150), sequence, layout.loteSequenceNumeric, layout.loteSequenceWrong, "4.04");
  }

  void FileTrailer(std::string_view rec) {
    if (!Blank<14, 141>(rec)) Finding(layout.fileBlank, "9.04");
    ++sequence;
    const std::string_view count = Field(rec, 8, 13);
    if (!IsNumeric(count)) {
      Finding(layout.fileCountNumeric, "9.03");
    } else if (layout.positions) {
      // Layout 03 counts the file's records by its lines, which also holds
      // for a file whose employee records it does not check.
      const std::int64_t value = StrToInt(count);
      if (!Equals(value, line)) Finding(Cat(layout.fileCountWrong, value, " Esperado ", line), "9.03");
    } else if (!Equals(StrToInt(count), sequence + 1)) {  // the file header besides the lote
      Finding(layout.fileCountWrong, "9.03");
    }
    const std::string_view last = Field(rec, 142, 150);
    if (!IsNumeric(last))
      Finding(layout.fileSequenceNumeric, "9.05");
    else if (last != "999999999")
      Finding(layout.fileSequenceWrong, "9.05");
    if (!OneOf<2, 7, "000001">(rec)) Finding(kLoteCount, "9.02");
  }
};

Verdict Validate(Host& host, const SiemdLayout& layout) {
  const auto path = host.OpenFile("Selecione o arquivo remessa SIDEM", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi escolhido !!!!");
    return Verdict::Clean;
  }
  host.ReportClear();
  host.ReportAppend(Cat("Verificando arquivo ", *path));
  host.ReportAppend(layout.startLine);
  if (layout.positions) {
    host.ReportAppend("######### Início da validação ##########"_cp);
    host.ReportAppend(std::string(40, '#'));
  }
  RecordReader reader(*path, &host);
  Run run{.host = host, .layout = layout, .lastYear = host.Today().year + 1};
  std::string_view rec;
  while (reader.Next(rec)) run.Record(rec);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace

Verdict SIDEMRemessa1Click(Host& host) { return Validate(host, kLayout01); }

Verdict SIEMDArqu1Click(Host& host) { return Validate(host, kLayout03); }

}  // namespace verilote

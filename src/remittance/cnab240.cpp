#include "remittance/cnab240.hpp"

#include <algorithm>
#include <optional>

#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"

namespace verilote {

namespace {

constexpr std::size_t kRecordLength = 240;

constexpr std::string_view kWarning =
    "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp;

// Movement codes (positions 16-17) a remittance may carry.
constexpr std::string_view kMovementCodes[] = {"01", "02", "04", "05", "06", "07", "08", "09", "10", "11", "12", "13",
                                               "14", "15", "16", "17", "18", "31", "33", "34", "36", "37", "38", "40"};

// A converted field against a counter: a negative value never matches.
bool Differs(std::int64_t value, std::uint64_t count) {
  return value < 0 || static_cast<std::uint64_t>(value) != count;
}

void CheckCharacters(Cnab240Run& run, std::string_view rec) {
  if (!CnabBytes::AnyOutside(rec)) return;
  std::string line = Cat("Registro numero ", run.record, " com Caracter inválido nas posições: "_cp);
  ListInvalidPositions<CnabBytes>(line, rec);
  // The fields that hold an invalid byte.
  std::string fields;
  if (const RecordKind* kind = run.Kind())
    for (const FieldSpec& field : kind->fields)
      if (!field.code.empty() && CnabBytes::AnyOutside(Field(rec, field.from, field.to)))
        fields += Cat(' ', field.code);
  run.Finding(line, fields);
}

// The checks of step 7 of a detail record (type "3"). `sequence` is positions
// 9-13 when the sequence check has converted them already.
void CheckDetail(Cnab240Run& run, std::string_view rec, std::optional<std::int64_t> sequence) {
  const std::string_view segment = Field(rec, 14, 14);
  const bool known = Is<"P">(segment) || Is<"Q">(segment) || Is<"R">(segment) || Is<"S">(segment) ||
                     (Is<"Y">(segment) && Is<"53">(Field(rec, 18, 19)));
  if (!known)
    run.RecordFinding(" com tipo inválido ou não validado por este aplicativo !!!"_cp,
                      run.FieldsAt({{14, 14}, {18, 19}}));
  const bool blank15 = Is<" ">(Field(rec, 15, 15));
  if (!blank15) run.RecordFinding(" não é branco na posição 15,1 !!!"_cp, run.FieldsAt({{15, 15}}));
  const std::string_view movement = Field(rec, 16, 17);
  if (run.variant.detailChecks == DetailChecks::MovementOne) {
    if (!Is<"01">(movement)) run.RecordFinding(" não é 01 na posição 16,2 !!!"_cp, run.FieldsAt({{16, 17}}));
  } else if (!IsMovementCode(movement)) {
    run.RecordFinding(" Na posição 16,2 tem um código não esperado para remessa !!!"_cp, run.FieldsAt({{16, 17}}));
  }
  if (!sequence) sequence = StrToInt(Field(rec, 9, 13));
  if (Differs(*sequence, run.loteDetails) && !blank15)
    run.RecordFinding(" sequencial do lote inválido."_cp, run.FieldsAt({{9, 13}, {15, 15}}));
}

void CheckLoteNumber(Cnab240Run& run, std::string_view rec, char type) {
  const std::string_view lote = Field(rec, 4, 7);
  switch (run.variant.loteNumbering) {
    case LoteNumbering::Ordinal:
      if (!IsNumeric(lote)) {
        run.RecordFinding(" lote não numérico na posição 4 tamanho 4 "_cp, run.FieldsAt({{4, 7}}));
      } else if (Differs(StrToInt(lote), run.loteOrdinal)) {
        run.RecordFinding(run.Text(" Esperado lote ", PadCounter(run.loteOrdinal, 4), " Encontrado Lote ", lote),
                          run.FieldsAt({{4, 7}}));
      }
      break;
    case LoteNumbering::SingleLote:
      if (type == '3' && !Is<" ">(Field(rec, 15, 15)) && !Is<"0001">(lote))
        run.RecordFinding(" Número de lote não esperado !!"_cp, run.FieldsAt({{4, 7}, {15, 15}}));
      break;
    case LoteNumbering::None:
      break;
  }
}

void CheckLoteCount(Cnab240Run& run, std::string_view rec) {
  const std::int64_t informed = StrToInt(Field(rec, 18, 23));
  const std::uint64_t counted = run.loteDetails + 2;  // the lote header and trailer count too
  if (Differs(informed, counted)) {
    run.LineFinding(
        run.Text(" Total de registros do lote não confere !! informado "_cp, informed, " calculado ", counted),
        run.FieldsAt({{18, 23}}));
  } else {
    run.Info(Cat("Total de registros do lote = ", counted));
  }
}

void CheckLoteTrailer(Cnab240Run& run, std::string_view rec) {
  if (run.variant.trailerChecks == TrailerChecks::CountsOnly) {
    CheckLoteCount(run, rec);
  } else {
    if (!Numeric<18, 23>(rec)) {
      run.RecordFinding(" 05.5 deveria ser numérico!!!"_cp, run.FieldsAt({{18, 23}}));
    } else {
      CheckLoteCount(run, rec);
    }
    if (!IsAllDigits(Field(rec, 24, 92)))
      run.RecordFinding("  Os campos 06.5, 07.5, 08.5, 09.5, 10.5, 11.5 devem ser numéricos !!!"_cp,
                        run.FieldsAt({{24, 92}}));
    if (!AllOf<93, 240, ' '>(rec))
      run.RecordFinding(" Os campos 12.5 e 13.5 devem ser brancos", run.FieldsAt({{93, 240}}));
  }
  // The lote's record count is the trailer's only count: it names the P and Q
  // counts' difference too.
  if (run.p != run.q) run.LineFinding(" Total de registros P não é igual aos de Q !!"_cp, run.FieldsAt({{18, 23}}));
}

void CheckFileCount(Cnab240Run& run, std::string_view rec) {
  if (Differs(StrToInt(Field(rec, 24, 29)), run.record))
    run.LineFinding(" Total de registros do arquivo não confere !!"_cp, run.FieldsAt({{24, 29}}));
}

void CheckFileTrailer(Cnab240Run& run, std::string_view rec) {
  // The lote count is added but not reset: a second trailer adds it again.
  run.totalDetails += run.loteDetails;
  if (run.variant.trailerChecks == TrailerChecks::CountsOnly) {
    if (!Is<"99999">(Field(rec, 4, 8)))
      run.LineFinding(" Totalizador de arquivo tipo 9 com divergência no início !!"_cp, run.FieldsAt({{4, 8}}));
    CheckFileCount(run, rec);
    return;
  }
  if (!Is<"99999">(Field(rec, 4, 8))) run.LineFinding(" Campo 02.9 deveria ter 99999", run.FieldsAt({{4, 8}}));
  if (!AllOf<9, 17, ' '>(rec)) run.RecordFinding(" O campo 04.9 deve ser branco", run.FieldsAt({{9, 17}}));
  if (!Numeric<18, 23>(rec)) run.RecordFinding(" Campo 05.9 deveria ser numérico!!!"_cp, run.FieldsAt({{18, 23}}));
  if (!Numeric<24, 29>(rec)) {
    run.RecordFinding(" Campo 06.9 deveria ser numérico!!!"_cp, run.FieldsAt({{24, 29}}));
    return;
  }
  CheckFileCount(run, rec);
}

void CheckSegment(Cnab240Run& run, Cnab240Rules& rules, std::string_view rec) {
  using Rule = void (Cnab240Rules::*)(Cnab240Run&, std::string_view);
  const auto count = [&](std::uint64_t& counter, Rule rule) {
    ++counter;
    (rules.*rule)(run, rec);
  };
  switch (rec.size() >= 14 ? rec[13] : '\0') {
    case 'P':
      return count(run.p, &Cnab240Rules::SegmentP);
    case 'Q':
      return count(run.q, &Cnab240Rules::SegmentQ);
    case 'R':
      return count(run.r, &Cnab240Rules::SegmentR);
    case 'S':
      return count(run.s, &Cnab240Rules::SegmentS);
    case 'Y':
      if (!Is<"53">(Field(rec, 18, 19))) return;
      if (run.variant.countsY53) ++run.y53;
      return rules.SegmentY53(run, rec);
    default:
      return;
  }
}

void CheckRecord(Cnab240Run& run, Cnab240Rules& rules, std::string_view rec) {
  const Cnab240Variant& variant = run.variant;
  ++run.record;
  run.rec = rec;
  run.ClearCodes();
  if (variant.characterCheck) CheckCharacters(run, rec);
  const char type = rec.size() >= 8 ? rec[7] : '\0';
  if (type == '1') ++run.loteOrdinal;
  std::optional<std::int64_t> sequence;
  if (type == '3') {
    ++run.loteDetails;
    if (variant.sequenceCheck) {
      sequence = StrToInt(Field(rec, 9, 13));
      if (Differs(*sequence, run.loteDetails))
        run.RecordFinding(run.Text(" com numeracao inválida. Esperado "_cp, PadCounter(run.loteDetails, 5),
                                   " Encontrado: ", Field(rec, 9, 13)),
                          run.FieldsAt({{9, 13}}));
    }
  }
  // A short record names the fields it cuts or lacks; a long one the last.
  if (rec.size() != kRecordLength)
    run.RecordFinding(run.Text(" com tamanho ", rec.size()),
                      run.FieldsAt({{std::min(rec.size() + 1, kRecordLength), kRecordLength}}));
  if (!Is<"104">(Field(rec, 1, 3))) run.RecordFinding(" com inicio diferente de 104", run.FieldsAt({{1, 3}}));

  // Position 8 is converted as an integer: a non-digit there ends the run.
  const bool digit = type >= '0' && type <= '9';
  switch (digit ? type - '0' : StrToInt(Field(rec, 8, 8))) {
    case 0:
      ++run.fileHeaders;
      break;
    case 1:
    case 5:
      break;
    case 3:
      if (variant.detailChecks != DetailChecks::None) CheckDetail(run, rec, sequence);
      break;
    case 9:
      ++run.fileTrailers;
      break;
    default:
      run.RecordFinding(" com tipo inválido !!!"_cp, run.FieldsAt({{8, 8}}));
      break;
  }

  if (type == '0') rules.FileHeader(run, rec);
  if (type == '1' || type == '3' || type == '5') CheckLoteNumber(run, rec, type);
  if (type == '1') {
    if (run.loteDetails > 0) run.Info(Banner(37, " FIM DE UM LOTE ", 34));
    run.totalDetails += run.loteDetails;
    run.loteDetails = 0;
    rules.LoteHeader(run, rec);
  }
  run.ClearCodes();
  if (type == '3') CheckSegment(run, rules, rec);
  if (type == '5') CheckLoteTrailer(run, rec);
  if (type == '9') CheckFileTrailer(run, rec);
}

void WriteSummary(Cnab240Run& run) {
  const std::uint64_t found = run.p + run.q + run.r + run.s;
  if (run.variant.summary == SummaryCount::PQRSWithout) {
    if (found != run.totalDetails)
      run.Finding(run.Text("Existem registros diferentes de P,Q,R ou S  deveriam ter ", run.totalDetails,
                           " encontrado ", found));
  } else if (found + run.y53 != run.totalDetails) {
    const std::string shown =
        run.variant.summary == SummaryCount::PQRS
            ? Cat(found)
            : Cat("tipo P -> ", run.p, " tipo Q -> ", run.q, " tipo R -> ", run.r, " tipo S -> ", run.s);
    run.Finding(run.Text("Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter ", run.totalDetails,
                         " encontrado ", shown));
  }
  if (WriteFileCounts(run.host, run.fileHeaders, run.fileTrailers)) run.clean = false;
  WriteVerdict(run.host, run.clean);
}

}  // namespace

void Cnab240Run::Info(std::string_view line) { host.ReportAppend(line); }

void Cnab240Run::Finding(std::string_view line) {
  host.ReportFinding(verilote::Finding{.line = line});
  clean = false;
}

void Cnab240Run::Finding(std::string_view line, std::string_view fieldCodes) {
  host.ReportFinding(verilote::Finding{line, record, rec, Kind(), fieldCodes});
  clean = false;
}

void Cnab240Run::RecordFinding(std::string_view text, std::string_view fieldCodes) {
  CatInto(line_, "Registro numero ", record, text);
  Finding(line_, fieldCodes);
}

void Cnab240Run::LineFinding(std::string_view text, std::string_view fieldCodes) {
  CatInto(line_, "Linha ", record, text);
  Finding(line_, fieldCodes);
}

// Out of line: the rule tables' failure branches stay a call, so that the
// tests of the rows inline as they did before the code lists named fields.
void Cnab240Run::Code(std::string_view code, std::string_view fieldCodes) {
  codes += code;
  codeFields += ' ';
  codeFields += fieldCodes;
}

const RecordKind* Cnab240Run::Kind() {
  if (kindRecord_ != record) {
    kind_ = fields != nullptr && fields->kindOf != nullptr ? fields->kindOf(rec) : nullptr;
    kindRecord_ = record;
  }
  return kind_;
}

std::string_view Cnab240Run::FieldsAt(std::initializer_list<Positions> positions) {
  const RecordKind* kind = Kind();
  if (kind == nullptr) return {};
  const auto same = [&](const FieldsAtAnswer& answer) {
    if (answer.kind != kind || answer.count != positions.size()) return false;
    return std::equal(positions.begin(), positions.end(), answer.at,
                      [](const Positions& a, const Positions& b) { return a.from == b.from && a.to == b.to; });
  };
  for (const FieldsAtAnswer& answer : fieldsAtAnswers_)
    if (same(answer)) return answer.codes;
  fieldsAt_.clear();
  for (const FieldSpec& field : kind->fields) {
    if (field.code.empty()) continue;
    for (const Positions& at : positions)
      if (field.from <= at.to && at.from <= field.to) {
        fieldsAt_ += ' ';
        fieldsAt_ += field.code;
        break;
      }
  }
  constexpr std::size_t kKeptAnswers = 64;
  if (positions.size() > std::size(FieldsAtAnswer{}.at) || fieldsAtAnswers_.size() >= kKeptAnswers) return fieldsAt_;
  FieldsAtAnswer& kept = fieldsAtAnswers_.emplace_back(FieldsAtAnswer{kind, {}, positions.size(), fieldsAt_});
  std::copy(positions.begin(), positions.end(), kept.at);
  return kept.codes;
}

std::string Banner(std::size_t left, std::string_view caption, std::size_t right) {
  return Cat(RepeatText(left, "="), caption, RepeatText(right, "="));
}

std::string PadCounter(std::uint64_t value, std::size_t width) {
  const std::string digits = Cat(value);
  return digits.size() >= width ? digits : PadZeroLeft(digits, width);
}

bool IsMovementCode(std::string_view code) {
  for (const std::string_view known : kMovementCodes)
    if (code == known) return true;
  return false;
}

bool IsRemittanceKind(std::string_view fileHeader) {
  return Field(fileHeader, 192, 204) == "REMESSA-TESTE" || Field(fileHeader, 192, 207) == "REMESSA-PRODUCAO";
}

std::string BancoLine(std::string_view rec) {
  return Cat("Banco: ", Field(rec, 103, 132), " Geracao: ", Field(rec, 144, 145), '/', Field(rec, 146, 147), '/',
             Field(rec, 148, 151), " as ", Field(rec, 152, 153), ':', Field(rec, 154, 155), ':', Field(rec, 156, 157),
             " seq ", Field(rec, 158, 163));
}

std::optional<char> NossoNumeroDvOf(std::string_view tenDigits) {
  if (tenDigits.size() != 10 || !IsAllDigits(tenDigits)) return std::nullopt;
  return NossoNumero10Dv(tenDigits)[0];
}

bool WriteFileCounts(Host& host, std::uint64_t fileHeaders, std::uint64_t fileTrailers) {
  if (fileHeaders != 1)
    host.ReportAppend("Existem mais ou menos de um HEADER, as informações aqui podem estar incorretas."_cp);
  if (fileTrailers != 1)
    host.ReportAppend("Existem mais ou menos de um TRAILER FINAL, as informações aqui podem estar incorretas."_cp);
  return fileHeaders != 1 || fileTrailers != 1;
}

void WriteVerdict(Host& host, bool titlesOk) {
  host.ReportAppend(titlesOk ? std::string_view("REGISTROS DOS TITULOS TODOS OK !!!")
                             : "FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp);
}

Verdict RunCnab240(Host& host, const Cnab240Variant& variant, Cnab240Rules& rules) {
  const auto path = host.OpenFile(variant.dialogTitle, FileFilter::Remessa);
  if (!path) return Verdict::Clean;
  if (!variant.notice.empty()) host.ShowMessage(variant.notice);
  RecordReader reader(*path, &host);
  host.ReportClear();
  host.ReportAppend(kWarning);
  if (!variant.startLine.empty()) host.ReportAppend(variant.startLine);
  if (variant.namesFile) host.ReportAppend(Cat("Validando arquivo: ", *path));

  Cnab240Run run(host, variant);
  std::string_view rec;  // valid until the next record is read
  while (reader.Next(rec)) CheckRecord(run, rules, rec);
  WriteSummary(run);
  return run.clean ? Verdict::Clean : Verdict::Faulty;
}

}  // namespace verilote

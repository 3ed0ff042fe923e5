// The CNAB 240 collection remittance frame shared by the SIGCB ("Valida Tudo"
// and "Valida Parcial"), SICOB 240 and SINCO validators: reading the file
// record by record, the checks every record gets (characters, length, bank,
// record type, lote and sequence numbering), the lote and file trailers, and
// the closing summary. What differs between the four commands in the frame
// itself is data (Cnab240Variant); the field rules of each layout's headers
// and segments come in through Cnab240Rules.
//
// The run streams: one record in memory at a time, its findings written as it
// is checked; memory does not grow with the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/fields.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

class Host;

// ---- The variants of the frame.

enum class LoteNumbering {
  Ordinal,     // positions 4-7 of records 1, 3 and 5 follow the count of lote headers
  None,        // not checked
  SingleLote,  // a detail record whose position 15 is not blank belongs to lote "0001"
};

enum class DetailChecks {
  Full,         // segment code, position 15, movement code (16-17) in the remittance list, sequence
  None,         // only the record-type switch
  MovementOne,  // as Full, but the movement code (16-17) must be "01"
};

enum class TrailerChecks {
  Full,        // every field of the lote trailer (05.5-13.5) and of the file trailer (02.9-06.9)
  CountsOnly,  // only the record counts, converted without a numeric test first
};

enum class SummaryCount {
  PQRS,         // "... P,Q,R,S ou Y53  deveriam ter n encontrado n" (Y53 compared, not shown)
  PQRSByKind,   // the same comparison, found shown per segment ("tipo P -> ...")
  PQRSWithout,  // "... P,Q,R ou S ..." comparing P+Q+R+S alone
};

struct Cnab240Variant {
  // The layout's field dictionary: the findings name its fields.
  const LayoutFields* fields;
  std::string_view dialogTitle;
  std::string_view notice;     // message box before the run; empty for none
  std::string_view startLine;  // written after the warning line; empty for none
  bool namesFile;              // "Validando arquivo: " and the file's name after them
  bool characterCheck;
  LoteNumbering loteNumbering;
  bool sequenceCheck;
  DetailChecks detailChecks;
  TrailerChecks trailerChecks;
  bool countsY53;
  SummaryCount summary;
};

// The four commands on the frame, as data.
inline constexpr Cnab240Variant kSigcbFull{
    .fields = &kSigcb240Fields,
    .dialogTitle = "Selecione o arquivo remessa SIGCB",
    .notice = "Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp,
    .startLine = "",
    .namesFile = true,
    .characterCheck = true,
    .loteNumbering = LoteNumbering::Ordinal,
    .sequenceCheck = true,
    .detailChecks = DetailChecks::Full,
    .trailerChecks = TrailerChecks::Full,
    .countsY53 = true,
    .summary = SummaryCount::PQRS,
};

// "Valida Parcial": the frame of "Valida Tudo" with its own notice, a start
// line, and the summary's found counts shown per segment.
inline constexpr Cnab240Variant kSigcbPartial = [] {
  Cnab240Variant v = kSigcbFull;
  v.notice = "Não está validando Regsitros especiais tipo Y e valores zerados."_cp;
  v.startLine =
      "****  Esta opção não valida algumas coisas que apesar de ser obrigatório no layout, a CAIXA por enquanto não valida o campo ****"_cp;
  v.summary = SummaryCount::PQRSByKind;
  return v;
}();

inline constexpr Cnab240Variant kSicob240{
    .fields = &kSicob240Fields,
    .dialogTitle = "Selecione o arquivo remessa SICOB",
    .notice = "",
    .startLine = "",
    .namesFile = false,
    .characterCheck = false,
    .loteNumbering = LoteNumbering::None,
    .sequenceCheck = true,
    .detailChecks = DetailChecks::None,
    .trailerChecks = TrailerChecks::CountsOnly,
    .countsY53 = false,
    .summary = SummaryCount::PQRSWithout,
};

// SINCO: the trailers and summary of SICOB 240, a single lote, no sequence
// check, and movement code "01" only.
inline constexpr Cnab240Variant kSinco = [] {
  Cnab240Variant v = kSicob240;
  v.fields = &kSincoFields;
  v.dialogTitle = "Selecione o arquivo remessa SINCO";
  v.notice = "Não está validando:\rRegsitros especiais tipo Y\rValores zerados"_cp;
  v.loteNumbering = LoteNumbering::SingleLote;
  v.sequenceCheck = false;
  v.detailChecks = DetailChecks::MovementOne;
  return v;
}();

// ---- The state of one run.

// Positions From-To of a record, 1-based and inclusive.
struct Positions {
  std::size_t from, to;
};

struct Cnab240Run {
  Cnab240Run(Host& host, const Cnab240Variant& variant) : host(host), variant(variant), fields(variant.fields) {}

  Host& host;
  const Cnab240Variant& variant;
  const LayoutFields* fields;  // the layout's dictionary; may be null

  std::uint64_t record = 0;  // lines read so far, the current one included
  std::string_view rec;      // the current record's bytes
  std::uint64_t fileHeaders = 0;
  std::uint64_t fileTrailers = 0;
  std::uint64_t loteOrdinal = 0;   // lote headers read so far
  std::uint64_t loteDetails = 0;   // type 3 records since the last lote header
  std::uint64_t totalDetails = 0;  // details of the lotes already closed
  std::uint64_t p = 0, q = 0, r = 0, s = 0, y53 = 0;

  std::string codes;       // the current record's code list, each code with its leading blank
  std::string codeFields;  // the codes of the fields the code list names, each after a blank
  // No finding written so far: decides both the last line of the report and
  // the command's verdict, so that a report never closes with "TODOS OK"
  // above a finding.
  bool clean = true;

  // Values the layout rules keep for later records.
  std::string layoutVersion;  // file header 164-166
  std::string cedente;        // cedente code of the file header
  std::string nsa;            // file header 158-163
  // DdmmyyyyOrder of the due date of the last P whose due date was valid.
  std::optional<std::int64_t> dueOrder;
  std::int64_t option42 = 0;  // position 240 of the last P

  void Info(std::string_view line);
  // A finding about the current record that names `fieldCodes` (" 05.5",
  // "(09.3P) 08.3P"), codes of the current record's kind.
  void Finding(std::string_view line, std::string_view fieldCodes);
  // "Registro numero n" + text, and "Linha n" + text, about the current record.
  void RecordFinding(std::string_view text, std::string_view fieldCodes);
  void LineFinding(std::string_view text, std::string_view fieldCodes);
  // A finding about the file as a whole (the summary's counts): no record, no
  // field.
  void Finding(std::string_view line);
  // A finding's text joined from Cat's pieces in the run's own buffer, for the
  // findings above: a faulty file writes millions of them, and a line built
  // in reused memory costs no allocation. Valid until the next call.
  template <typename... Pieces>
  std::string_view Text(const Pieces&... pieces) {
    CatInto(text_, pieces...);
    return text_;
  }

  // A code for the code list and the fields it names; a code that is itself
  // a field list (" 04.0", " (09.3P)") may come alone.
  void Code(std::string_view code, std::string_view fieldCodes);
  void Code(std::string_view code) { Code(code, code); }
  void ClearCodes() {
    codes.clear();
    codeFields.clear();
  }

  // The kind of the current record in the layout's dictionary, or nullptr;
  // looked up once a record, however many findings name its fields.
  const RecordKind* Kind();
  // The codes of the current kind's fields that lie over any of `positions`,
  // for the findings the frame tells by position (bank, lote, type,
  // sequence...). Valid until the next call.
  std::string_view FieldsAt(std::initializer_list<Positions> positions);

 private:
  std::string text_;  // Text's line
  std::string line_;  // the line of RecordFinding and LineFinding
  // Kind() of record number kindRecord_ (none yet: no record has that number).
  const RecordKind* kind_ = nullptr;
  std::uint64_t kindRecord_ = UINT64_MAX;
  // FieldsAt's answers, kept for the run: the frame asks the same few
  // questions of the same few kinds on every faulty record. Capped, since a
  // short record's question depends on its length.
  struct FieldsAtAnswer {
    const RecordKind* kind;
    Positions at[2];
    std::size_t count;
    std::string codes;
  };
  std::vector<FieldsAtAnswer> fieldsAtAnswers_;
  std::string fieldsAt_;  // an answer not kept
};

// A row of a code-rule table that names its fields: `fields` (" 13.3P") when
// the code is words (" Nosso Número não numérico."), empty when the code is
// itself the field list (" 20.3P").
struct FieldRule {
  RecordTest passes;
  std::string_view code;
  std::string_view fields = {};
};

// Run.Code of every row of the table whose test fails, in order.
template <const auto& Rules>
void ApplyFieldRules(Cnab240Run& run, std::string_view rec) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((Rules[I].passes(rec) ||
      (run.Code(Rules[I].code, Rules[I].fields.empty() ? Rules[I].code : Rules[I].fields), true)),
     ...);
  }
  (std::make_index_sequence<std::size(Rules)>{});
}

// ---- The layout's field rules, called by the frame after it has counted the
// record (segments are counted before their rules run).

class Cnab240Rules {
 public:
  virtual ~Cnab240Rules() = default;
  virtual void FileHeader(Cnab240Run&, std::string_view) {}
  virtual void LoteHeader(Cnab240Run&, std::string_view) {}
  virtual void SegmentP(Cnab240Run&, std::string_view) {}
  virtual void SegmentQ(Cnab240Run&, std::string_view) {}
  virtual void SegmentR(Cnab240Run&, std::string_view) {}
  virtual void SegmentS(Cnab240Run&, std::string_view) {}
  virtual void SegmentY53(Cnab240Run&, std::string_view) {}
};

// Asks for the file, validates it, writes the summary. Clean when no finding
// was written.
Verdict RunCnab240(Host& host, const Cnab240Variant& variant, Cnab240Rules& rules);

// "=====" caption "=====" of the header and lote banners.
std::string Banner(std::size_t left, std::string_view caption, std::size_t right);

// A counter zero-filled to `width` digits, or all of its digits when it has
// more (a lote or sequence counter past the field's width is shown whole).
std::string PadCounter(std::uint64_t value, std::size_t width);

// ---- The closing lines the CNAB 240 and CNAB 400 summaries share.

// "Existem mais ou menos de um HEADER ..." and "... TRAILER FINAL ..." when
// the file has not exactly one of each; true when a line was written.
bool WriteFileCounts(Host& host, std::uint64_t fileHeaders, std::uint64_t fileTrailers);

// The last line: "REGISTROS DOS TITULOS TODOS OK !!!" or "FIM DA VALIDAÇÃO,
// VERIFIQUE OS ERROS !!!".
void WriteVerdict(Host& host, bool titlesOk);

// Positions 16-17 of a detail record: a movement code a remittance may carry.
bool IsMovementCode(std::string_view code);

// ---- Pieces of the layouts' rules that more than one layout reads.

// Positions 192-204 of a file header read "REMESSA-TESTE" or 192-207 read
// "REMESSA-PRODUCAO".
bool IsRemittanceKind(std::string_view fileHeader);

// "Banco: " and the date, time and NSA of the file header's generation.
std::string BancoLine(std::string_view fileHeader);

// Positions From-To are digits forming a whole number from Low to High. A
// field that IsNumeric takes but that is no whole number ("1,", "+1", "1e2")
// fails here instead of ending the run at its conversion.
template <std::size_t From, std::size_t To, std::int64_t Low, std::int64_t High>
bool WholeNumberIn(std::string_view rec) {
  static_assert(To - From < 18);
  const std::string_view field = Field(rec, From, To);
  if (field.empty() || !IsAllDigits(field)) return false;
  const std::int64_t value = StrToInt(field);
  return value >= Low && value <= High;
}

// A payer's or guarantor's CPF or CNPJ rule that applies only when the number
// (From-To) is not all zeros.
template <std::size_t From, std::size_t To, RecordTest Test>
bool UnlessZeros(std::string_view rec) {
  return AllOf<From, To, '0'>(rec) || Test(rec);
}

// The "Nosso Número" check digit (NossoNumero10Dv) of ten positions, or
// nothing when they are not ten digits: the digit cannot be computed, so the
// one written counts as wrong.
std::optional<char> NossoNumeroDvOf(std::string_view tenDigits);

}  // namespace verilote

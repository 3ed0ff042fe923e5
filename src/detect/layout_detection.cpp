#include "detect/layout_detection.hpp"

#include <algorithm>
#include <initializer_list>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

constexpr Probe First(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                      Expect expect = Expect::OneOf) {
  return {Pick::First, 0, 0, 0, 0, from, to, expect, values, label, Weight::Structure};
}
constexpr Probe Second(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                       Expect expect = Expect::OneOf) {
  return {Pick::Second, 0, 0, 0, 0, from, to, expect, values, label, Weight::Structure};
}
// The first lote header: type "1" at position 8 of a CNAB 240 record, at
// position 1 of a SIEMD record.
constexpr Probe Lote240(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                        Expect expect = Expect::OneOf) {
  return {Pick::OfType, 8, '1', 0, 0, from, to, expect, values, label, Weight::Structure};
}
constexpr Probe Lote150(std::size_t from, std::size_t to, std::string_view values, std::string_view label) {
  return {Pick::OfType, 1, '1', 0, 0, from, to, Expect::OneOf, values, label, Weight::Structure};
}
// The first segment P of a CNAB 240 file.
constexpr Probe SegmentP(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                         Expect expect = Expect::OneOf) {
  return {Pick::OfType, 8, '3', 14, 'P', from, to, expect, values, label, Weight::Structure};
}
constexpr Probe Every(std::size_t from, std::size_t to, std::string_view values, std::string_view label) {
  return {Pick::Every, 0, 0, 0, 0, from, to, Expect::OneOf, values, label, Weight::Structure};
}
constexpr Probe Weighing(Weight weight, Probe probe) {
  probe.weight = weight;
  return probe;
}

constexpr LayoutRow Row(std::string_view name, std::string_view title, std::string_view handler, std::size_t length,
                        bool orLonger, std::initializer_list<Probe> probes) {
  LayoutRow row{name, title, handler, length, orLonger, {}, 0};
  for (const Probe& probe : probes) row.probes[row.probeCount++] = probe;
  return row;
}
constexpr LayoutRow Repaired(std::string_view repairs, LayoutRow row) {
  row.repairs = repairs;
  return row;
}

// The fields every CNAB 240 file of the bank shares: bank 104 and the file
// header as its first record. Collection and payment files never mix: the lote
// header's operation (field 04.1, position 9) is "R" in collection, "C" or
// "D" in SIACC. Nor do remittances and the bank's answers: a remittance writes
// "1" at 143 of its file header (a return "2", a pre-validation return "3" to
// "5") and only the segments a remittance sends (a return writes T, U and W).
constexpr Probe kBank240 = First(1, 3, "104", "banco {}");
constexpr Probe kHeader240 = First(8, 8, "0", "header de arquivo (tipo {}) no primeiro registro");
constexpr Probe kCollection =
    Weighing(Weight::Kind, Lote240(9, 9, "C|D", "operação {} no header de lote"_cp, Expect::NoneOf));
constexpr Probe kPayment =
    Weighing(Weight::Kind, Lote240(9, 9, "R", "operação {} no header de lote"_cp, Expect::NoneOf));
constexpr Probe kRemittance240 =
    Weighing(Weight::Kind, First(143, 143, "1", "código de remessa {} na posição 143 do header de arquivo"_cp));
constexpr Probe Segments240(std::string_view letters) {
  return {Pick::EveryOfType, 8, '3', 0, 0, 14, 14, Expect::OneOf, letters, "segmento {} num registro de detalhe",
          Weight::Kind};
}
constexpr Probe kCollectionSegments = Segments240("P|Q|R|S|Y");
constexpr Probe kService240 = Lote240(9, 11, "R01", "operação e serviço {} no header de lote"_cp);
constexpr Probe kRemessa240 =
    Weighing(Weight::Version, First(192, 199, "REMESSA-", "{} na posição 192 do header de arquivo"_cp));
constexpr Probe FileVersion(std::string_view values) {
  return Weighing(Weight::Version, First(164, 166, values, "versão {} no header de arquivo"_cp));
}
constexpr Probe LoteVersion(std::string_view values) {
  return Weighing(Weight::Version, Lote240(14, 16, values, "versão {} no header de lote"_cp));
}
// SIGCB and SINCO write the cedente code at 59-64 of the file header and
// 34-39 of the lote header, with zeros around it; SICOB and Construgiro write
// agency, operation and account at 33-48 and 34-49, blanks after them.
constexpr Probe kZeroedHeader = First(33, 52, "", "posições 33-52 do header de arquivo"_cp, Expect::Zeros);
constexpr Probe kZeroedLote = Lote240(41, 53, "", "posições 41-53 do header de lote"_cp, Expect::Zeros);
constexpr Probe kAccountHeader =
    First(33, 48, "", "conta do cedente {} nas posições 33-48 do header de arquivo"_cp, Expect::Digits);
constexpr Probe kAccountLote =
    Lote240(34, 49, "", "conta do cedente {} nas posições 34-49 do header de lote"_cp, Expect::Digits);
constexpr Probe kBlankLote = Lote240(50, 53, "", "posições 50-53 do header de lote"_cp, Expect::Blank);
constexpr Probe kBlankP = SegmentP(38, 46, "", "posições 38-46 do segmento P"_cp, Expect::Blank);

// A CNAB 400 remittance's header begins "01REMESSA" (or "01REM.TST"); a
// return's, "02RETORNO".
constexpr Probe kRemittance400 =
    Weighing(Weight::Kind, First(2, 2, "1", "código de remessa {} na posição 2 do header"_cp));

// clang-format off
// The order settles a tie: the layout the bank issues today first.
constexpr LayoutRow kRows[] = {
    // CNAB 240 collection: ten fields of structure each, over the file
    // header, the lote header and segment P, so that no layout wins for being
    // examined less. The Nosso Número tells them apart most surely: SIGCB
    // writes modality and 15 digits at 41-57 after zeros at 30-39 (31-39 in
    // layout 107), SINCO 19 digits at 39-57 after blanks at 36-38, SICOB 11
    // digits at 47-57 and Construgiro its fixed 58-62 after blanks at 38-46.
    // The versions each validator accepts in its own field rules count as its
    // own.
    Row("sigcb240", "SIGCB CNAB 240", "SIGCBRemessa1Click", 240, false,
        {kBank240, kHeader240, kCollection, kRemittance240, kCollectionSegments,
         Lote240(9, 11, "R01|R02", "operação e serviço {} no header de lote"_cp), kZeroedHeader, kZeroedLote,
         Lote240(60, 65, "", "código do cedente {} nas posições 60-65 do header de lote"_cp, Expect::Digits),
         SegmentP(31, 39, "", "posições 31-39 do segmento P"_cp, Expect::Zeros),
         SegmentP(41, 42, "14|11|21|00", "modalidade {} do Nosso Número no segmento P"_cp),
         SegmentP(43, 57, "", "Nosso Número {} nas posições 43-57 do segmento P"_cp, Expect::Digits),
         SegmentP(230, 239, "", "posições 230-239 do segmento P"_cp, Expect::Zeros),
         FileVersion("050|101|107"), LoteVersion("030|060|067"), kRemessa240}),
    Row("sicob240", "SICOB CNAB 240", "CobranaRemessapadro2401Click", 240, false,
        {kBank240, kHeader240, kCollection, kRemittance240, kCollectionSegments, kService240, kAccountHeader,
         First(49, 52, "", "posições 49-52 do header de arquivo"_cp, Expect::Blank),
         First(212, 240, "", "posições 212-240 do header de arquivo"_cp, Expect::Blank), kAccountLote, kBlankLote,
         kBlankP, SegmentP(47, 57, "", "Nosso Número {} nas posições 47-57 do segmento P"_cp, Expect::Digits),
         FileVersion("030"), LoteVersion("020"), kRemessa240}),
    Row("sinco", "SINCO CNAB 240", "SINCO1Click", 240, false,
        {kBank240, kHeader240, kCollection, kRemittance240, kCollectionSegments, kService240, kZeroedHeader,
         kZeroedLote, Lote240(66, 73, "", "posições 66-73 do header de lote"_cp, Expect::Zeros),
         SegmentP(36, 38, "", "posições 36-38 do segmento P"_cp, Expect::Blank),
         SegmentP(39, 57, "", "Nosso Número {} nas posições 39-57 do segmento P"_cp, Expect::Digits),
         SegmentP(221, 221, "0", "código de protesto {} no segmento P"_cp),
         SegmentP(230, 240, "", "posições 230-240 do segmento P"_cp, Expect::Blank), FileVersion("040"),
         LoteVersion("030"), kRemessa240}),
    // Construgiro writes its headers where SICOB does; the units of its file
    // header, the adjustment kind of its lote header and the fixed 58-62 of
    // its P tell them apart.
    Row("construgiro", "Construgiro CNAB 240", "Construgiro1Click", 240, false,
        {kBank240, kHeader240, kCollection, kRemittance240, Segments240("P|Q|R|S"), kService240, kAccountHeader,
         First(212, 231, "", "unidades {} nas posições 212-231 do header de arquivo"_cp, Expect::Digits),
         kAccountLote, kBlankLote, Lote240(174, 175, "07", "tipo de atualização {} no header de lote"_cp), kBlankP,
         SegmentP(58, 62, "11211", "posições 58-62 {} do segmento P"_cp),
         Weighing(Weight::Version, First(192, 199, "INCLUSAO", "{} na posição 192 do header de arquivo"_cp)),
         FileVersion("040"), LoteVersion("040")}),
    Row("siacc", "SIACC 240", "CaixaProgramado1Click", 240, false,
        {kBank240, kHeader240, kPayment, kRemittance240, Segments240("A|B|J|K|O|N"),
         First(41, 41, "P|T", "ambiente {} no header de arquivo"),
         Lote240(9, 9, "C|D", "operação {} no header de lote"_cp),
         {Pick::OfType, 8, '3', 14, 'A', 102, 104, Expect::OneOf, "BRL|USD|UFR|TRD", "moeda {} no segmento A",
          Weight::Structure},
         FileVersion("080|050"), LoteVersion("041|030")}),
    // CNAB 400: the header's literals and bank; SIGCB writes its layout version
    // at 101-103 and its cedente code at 31-36 (31-37 in version 007) with
    // blanks after it, where SICOB writes operation, account and check digit.
    Row("sigcb400", "SIGCB CNAB 400", "SIGCBRemessa400ValidaTudo1Click", 400, false,
        {kRemittance400, First(1, 9, "01REMESSA|01REM.TST", "header {}"), First(77, 79, "104", "banco {}"),
         Weighing(Weight::Version, First(101, 103, "   |007", "versão \"{}\" no header de arquivo"_cp)),
         First(38, 46, "", "posições 38-46 do header"_cp, Expect::Blank)}),
    Row("sicob400", "SICOB CNAB 400", "CobranaRemessapadro4001Click", 400, false,
        {kRemittance400, First(1, 9, "01REMESSA|01REM.TST", "header {}"), First(77, 79, "104", "banco {}"),
         Weighing(Weight::Version, First(101, 103, "", "posições 101-103 do header"_cp, Expect::Blank)),
         First(34, 42, "", "conta {} no header"_cp, Expect::Digits)}),
    Row("sad", "SAD/SICOB lay-out antigo", "SadSicob1Click", 162, false,
        {First(6, 11, "", "quantidade de registros {} no header", Expect::Digits),
         Second(1, 14, "", "número {} no segundo registro"_cp, Expect::Digits),
         Second(15, 15, "I|A|E", "movimento {} no segundo registro")}),
    // 150 positions, record type at position 1: SIEMD numbers its records
    // 0, 1, 2, 3, 4, 9; SICOV letters them A, E, Z.
    Row("siemd01", "SIEMD contra-cheque layout 01", "SIDEMRemessa1Click", 150, false,
        {First(1, 1, "0", "header de arquivo (tipo {}) no primeiro registro"),
         First(125, 141, "EMISSAO DOCUMENTO", "\"{}\" no header de arquivo"),
         Lote150(3, 3, "T|D", "campo 1.03 \"{}\" no header de lote")}),
    Row("siemd03", "SIEMD contra-cheque layout 03", "SIEMDArqu1Click", 150, false,
        {First(1, 1, "0", "header de arquivo (tipo {}) no primeiro registro"),
         First(125, 141, "EMISSAO DOCTOL001", "\"{}\" no header de arquivo"),
         Lote150(3, 3, " ", "posição 3 \"{}\" no header de lote"_cp)}),
    // No validator reads SICOV; its repairs do.
    Repaired("AlteraNSA1Click|AcertacamposBrancos1Click",
             Row("sicov", "SICOV folha de pagamento e débito/crédito"_cp, "", 150, false,
                 {First(1, 1, "A", "header tipo {} no primeiro registro"), First(43, 45, "104", "banco {}"),
                  Second(1, 1, "E|Z", "registro tipo {} depois do header")})),
    // Client programs' import files: no header, one payer, bill or guide a line.
    Row("cobcaixa-sacados", "CobCaixa 2.x Sacados", "Sacados1Click", 254, false,
        {First(106, 106, "F|J", "tipo de pessoa {} na posição 106"_cp),
         First(199, 206, "", "CEP {} na posição 199"_cp, Expect::Digits)}),
    // Version 2.3.3 also takes booklets (carnê, 2 at position 164); a file
    // without any fits both, and the newer version is taken.
    Row("cobcaixa-titulos-233", "CobCaixa 2.x Títulos V 2.3.3"_cp, "TtulosV2331Click", 449, true,
        {First(42, 43, "00", "formato da carteira {}"), First(46, 46, "S|N", "aceite {}"),
         First(49, 49, "0|1", "instrução {}"_cp), First(71, 72, "09", "moeda {}"),
         First(164, 164, "1|2", "tipo de bloqueto {}")}),
    Row("cobcaixa-titulos-220", "CobCaixa 2.x Títulos V 2.2.0"_cp, "Ttulos1Click", 449, true,
        {First(42, 43, "00", "formato da carteira {}"), First(46, 46, "S|N", "aceite {}"),
         First(49, 49, "0|1", "instrução {}"_cp), First(71, 72, "09", "moeda {}"),
         Every(164, 164, "1", "tipo de bloqueto {} (a versão 2.2.0 não aceita carnê)"_cp)}),
    // CapCaixa: the first character of the first line names the guide kind of
    // the whole file.
    Row("capcaixa-sindical", "CapCaixa guias sindicais", "CapcaixaImportaodeguias1Click", 300, true,
        {First(1, 1, "1", "primeiro caractere {} (guia sindical)"),
         First(2, 2, "1|2|3", "tipo identificador {}"),
         First(3, 16, "", "identificação {} numérica"_cp, Expect::Digits),
         First(91, 91, "6|7", "moeda {} na posição 91"_cp)}),
    Row("capcaixa-concessionarias", "CapCaixa concessionárias e serviços públicos"_cp,
        "CapcaixaImportaodeguias1Click", 300, true,
        {First(1, 1, "2", "primeiro caractere {} (concessionárias)"_cp),
         First(42, 53, "", "código {} numérico"_cp, Expect::Digits),
         First(234, 234, "6|7", "moeda {} na posição 234"_cp)}),
    Row("capcaixa-carnes", "CapCaixa carnês e assemelhados"_cp, "CapcaixaImportaodeguias1Click", 300, true,
        {First(1, 1, "3", "primeiro caractere {} (carnês)"_cp),
         First(42, 53, "", "código {} numérico"_cp, Expect::Digits),
         First(209, 209, "6|7", "moeda {} na posição 209"_cp)}),
};
// clang-format on

// The records the detection looks at, cut from the head of the file under the
// reading rule, except that a line feed alone also ends a record here: a file
// of LF-ended lines is still recognised, and its line ends named.
struct Sample {
  std::vector<std::string_view> records;  // blank lines left out
  std::uint64_t crLf = 0, lfOnly = 0, crOnly = 0;
  std::size_t length = 0;       // the commonest record length
  std::size_t otherLength = 0;  // records of another length
  bool empty = true;
};

Sample Cut(std::string_view head, bool wholeFile) {
  Sample sample;
  if (const std::size_t ctrlZ = head.find('\x1A'); ctrlZ != std::string_view::npos) {
    head = head.substr(0, ctrlZ);
    wholeFile = true;
  }
  sample.empty = head.empty();
  std::size_t start = 0;
  while (start < head.size()) {
    std::size_t end = head.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      if (!wholeFile && start > 0) break;  // cut by the head's end
      end = head.size();
    }
    const std::string_view record = head.substr(start, end - start);
    std::size_t next = end;
    if (end < head.size()) {
      if (head[end] == '\r' && end + 1 < head.size() && head[end + 1] == '\n') {
        ++sample.crLf;
        next = end + 2;
      } else {
        ++(head[end] == '\n' ? sample.lfOnly : sample.crOnly);
        next = end + 1;
      }
    }
    if (!Trim(record).empty()) sample.records.push_back(record);
    start = next;
  }
  std::vector<std::pair<std::size_t, std::size_t>> lengths;  // length, count
  for (const std::string_view record : sample.records) {
    auto it = std::find_if(lengths.begin(), lengths.end(), [&](const auto& l) { return l.first == record.size(); });
    if (it == lengths.end())
      lengths.emplace_back(record.size(), 1);
    else
      ++it->second;
  }
  if (!lengths.empty()) {
    const auto commonest = std::max_element(lengths.begin(), lengths.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    sample.length = commonest->first;
    sample.otherLength = sample.records.size() - commonest->second;
  }
  return sample;
}

// A field as the evidence shows it: control bytes as dots.
std::string Shown(std::string_view field) {
  std::string shown(field);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
  return shown;
}

// The alternatives of a probe's values, as a text: "101 ou 107".
std::string Alternatives(std::string_view values) {
  std::string text(values);
  for (std::size_t bar; (bar = text.find('|')) != std::string::npos;) text.replace(bar, 1, " ou ");
  return text;
}

bool IsOneOf(std::string_view field, std::string_view values) {
  for (;;) {
    const std::size_t bar = values.find('|');
    if (field == values.substr(0, bar)) return true;
    if (bar == std::string_view::npos) return false;
    values.remove_prefix(bar + 1);
  }
}

bool Holds(const Probe& probe, std::string_view record) {
  const std::string_view field = Field(record, probe.from, probe.to);
  const bool whole = field.size() == probe.to - probe.from + 1;
  switch (probe.expect) {
    case Expect::OneOf:
      return IsOneOf(field, probe.values);
    case Expect::NoneOf:
      return !IsOneOf(field, probe.values);
    case Expect::Digits:
      return whole && IsAllDigits(field);
    case Expect::Blank:
      return whole && field.find_first_not_of(' ') == std::string_view::npos;
    case Expect::Zeros:
      return whole && field.find_first_not_of('0') == std::string_view::npos;
  }
  return false;
}

// What a field of digits, blanks or zeros holds (when it does), and what the
// layout expects there (when it does not).
std::string_view HeldText(Expect expect) {
  return expect == Expect::Blank ? " em branco" : expect == Expect::Zeros ? " zeradas" : "";
}
std::string ExpectedText(const Probe& probe) {
  switch (probe.expect) {
    case Expect::OneOf:
      return Alternatives(probe.values);
    case Expect::Digits:
      return std::string("só dígitos"_cp);
    case Expect::Blank:
      return "em branco";
    case Expect::Zeros:
      return "zeros";
    case Expect::NoneOf:
      break;
  }
  return {};
}

// What the evidence says of a field: its label with the content, and, when the
// field does not hold what the layout writes there, what that is.
std::string Evidence(const Probe& probe, std::string_view field, bool held) {
  // A field that should be digits, blanks or zeros is quoted when it is not.
  const std::string content = held || probe.expect == Expect::OneOf ? Shown(field) : Cat("\"", Shown(field), "\"");
  std::string text;
  if (const std::size_t at = probe.label.find("{}"); at != std::string_view::npos)
    text = Cat(probe.label.substr(0, at), content, probe.label.substr(at + 2));
  else
    text = held ? Cat(probe.label, HeldText(probe.expect)) : Cat(probe.label, " ", content);
  if (held) return text;
  const std::string expected = ExpectedText(probe);
  return expected.empty() ? text : Cat(text, " (esperado ", expected, ")");
}

enum class Fit { Held, Missed, Absent };

struct ProbeResult {
  Fit fit = Fit::Absent;
  std::string evidence;
};

// The record a probe reads; nullptr when the sample has none.
const std::string_view* RecordFor(const Probe& probe, const Sample& sample) {
  const std::vector<std::string_view>& records = sample.records;
  switch (probe.pick) {
    case Pick::First:
      return records.empty() ? nullptr : &records[0];
    case Pick::Second:
      return records.size() > 1 ? &records[1] : nullptr;
    case Pick::OfType:
      for (const std::string_view& r : records)
        if (r.size() >= probe.typeAt && r[probe.typeAt - 1] == probe.type &&
            (probe.segmentAt == 0 || (r.size() >= probe.segmentAt && r[probe.segmentAt - 1] == probe.segment)))
          return &r;
      return nullptr;
    case Pick::Every:
      for (const std::string_view& r : records)
        if (!Holds(probe, r)) return &r;
      return records.empty() ? nullptr : &records[0];
    case Pick::EveryOfType: {
      const std::string_view* first = nullptr;
      for (const std::string_view& r : records) {
        if (r.size() < probe.typeAt || r[probe.typeAt - 1] != probe.type) continue;
        if (!Holds(probe, r)) return &r;
        if (first == nullptr) first = &r;
      }
      return first;
    }
  }
  return nullptr;
}

ProbeResult Try(const Probe& probe, const Sample& sample) {
  const std::string_view* record = RecordFor(probe, sample);
  if (record == nullptr) return {};
  const bool held = Holds(probe, *record);
  return {held ? Fit::Held : Fit::Missed, Evidence(probe, Field(*record, probe.from, probe.to), held)};
}

// How a layout's fields fit the sample, weight by weight.
struct Score {
  const LayoutRow* row;
  std::size_t held = 0;           // fields of every weight
  std::size_t heldStructure = 0;  // fields of structure
  std::size_t heldKind = 0, kindProbes = 0;
  std::vector<std::string> heldEvidence;
  std::array<std::vector<std::string>, 3> missedEvidence;  // by Weight

  std::size_t Missed(Weight weight) const { return missedEvidence[static_cast<std::size_t>(weight)].size(); }
  bool RuledOut() const { return Missed(Weight::Kind) > 0; }
  // At least half of the fields the layout writes, past those of the kind of
  // file that every layout of that kind shares (fields of records the sample
  // lacks count as not held).
  bool Plausible() const {
    const std::size_t heldWritten = held - heldKind, written = row->probeCount - kindProbes;
    return !RuledOut() && heldWritten > 0 && heldWritten * 2 >= written;
  }
  // The evidence of structure: each field that agrees counts for the layout,
  // each that does not against it, and a field of a record the sample lacks
  // counts for neither. A layout with fewer fields examined cannot win by
  // missing less.
  std::ptrdiff_t Agreement() const {
    return static_cast<std::ptrdiff_t>(heldStructure) - static_cast<std::ptrdiff_t>(Missed(Weight::Structure));
  }
  // Lower is better: more agreement of structure, then fewer versions amiss.
  std::pair<std::ptrdiff_t, std::size_t> Rank() const { return {-Agreement(), Missed(Weight::Version)}; }
  std::vector<std::string> AllMissed() const {
    std::vector<std::string> all = missedEvidence[static_cast<std::size_t>(Weight::Structure)];
    const auto& versions = missedEvidence[static_cast<std::size_t>(Weight::Version)];
    all.insert(all.end(), versions.begin(), versions.end());
    return all;
  }
};

Score ScoreOf(const LayoutRow& row, const Sample& sample) {
  Score score{&row, 0, 0, 0, 0, {}, {}};
  for (std::size_t i = 0; i < row.probeCount; ++i) {
    const Probe& probe = row.probes[i];
    score.kindProbes += probe.weight == Weight::Kind;
    ProbeResult result = Try(probe, sample);
    if (result.fit == Fit::Held) {
      ++score.held;
      score.heldStructure += probe.weight == Weight::Structure;
      score.heldKind += probe.weight == Weight::Kind;
      if (probe.weight != Weight::Kind) score.heldEvidence.push_back(std::move(result.evidence));
    } else if (result.fit == Fit::Missed) {
      score.missedEvidence[static_cast<std::size_t>(probe.weight)].push_back(std::move(result.evidence));
    }
  }
  return score;
}

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += separator;
    joined += part;
  }
  return joined;
}

std::string LengthEvidence(const Sample& sample) {
  std::string text = Cat("registros de ", sample.length, " posições"_cp);
  if (sample.otherLength > 0)
    text += Cat(" (", sample.otherLength, " de ", sample.records.size(), " registros lidos com outro tamanho)");
  return text;
}

// Line ends other than CR LF: the commonest reason a good file fails.
std::string LineEndEvidence(const Sample& sample) {
  if (sample.lfOnly > 0 && sample.crLf == 0 && sample.crOnly == 0)
    return std::string(
        "linhas terminadas só por LF (o banco espera CR LF: o validador lê o arquivo todo como um registro só)"_cp);
  if (sample.crOnly > 0 && sample.crLf == 0 && sample.lfOnly == 0)
    return std::string("linhas terminadas só por CR (o banco espera CR LF)"_cp);
  if (sample.lfOnly + sample.crOnly > 0)
    return Cat("fins de linha misturados: ", sample.crLf, " CR LF, ", sample.lfOnly, " só LF, "_cp, sample.crOnly,
               " só CR (o banco espera CR LF)"_cp);
  return {};
}

// The reasons for the chosen layout, one layout a line: the fields that fit
// and those that do not with what the layout expects there, the layouts that
// fit as well, and for each other layout that came near the fields that
// ruled it out.
std::vector<std::string> ChosenReasons(const Score& chosen, const std::vector<const Score*>& near,
                                       const Sample& sample) {
  std::vector<std::string> parts{LengthEvidence(sample)};
  parts.insert(parts.end(), chosen.heldEvidence.begin(), chosen.heldEvidence.end());
  std::vector<std::string> reasons{Cat(chosen.row->title, ": ", Joined(parts, ", "))};
  if (const std::vector<std::string> missed = chosen.AllMissed(); !missed.empty())
    reasons.back() += Cat("; não confere: "_cp, Joined(missed, ", "));
  std::vector<std::string> tied;
  for (const Score* other : near)
    if (other->Rank() == chosen.Rank()) tied.emplace_back(other->row->title);
  if (!tied.empty())
    reasons.push_back(Cat("também confere: "_cp, Joined(tied, ", "), " (escolhido ", chosen.row->title,
                          ", o primeiro na ordem dos layouts)"));
  for (const Score* other : near) {
    if (other->Rank() == chosen.Rank()) continue;
    // The fields that decided: those of structure, or the versions when the
    // structure agrees as well.
    const Weight decided = other->Agreement() < chosen.Agreement() ? Weight::Structure : Weight::Version;
    const std::vector<std::string>& missed = other->missedEvidence[static_cast<std::size_t>(decided)];
    // Agreeing less with nothing amiss: its fields lie in records the sample lacks.
    reasons.push_back(Cat("descartado ", other->row->title, ": ",
                          missed.empty() ? Cat("confere em ", other->held, " de ", other->row->probeCount, " campos")
                                         : Joined(missed, ", ")));
  }
  return reasons;
}

}  // namespace

std::span<const LayoutRow> LayoutTable() { return kRows; }

const LayoutRow* FindLayout(std::string_view name) {
  for (const LayoutRow& row : kRows)
    if (row.name == name) return &row;
  return nullptr;
}

std::vector<std::string> NoValidatorLines(const LayoutRow& layout) {
  std::vector<std::string> lines{
      std::string("Nenhum validador foi executado: este programa não valida esse layout."_cp)};
  std::string_view rest = layout.repairs;
  if (!rest.empty()) lines.push_back(Cat("Comandos que aceitam arquivos desse layout:"));
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    const MenuRow* row = FindRow(rest.substr(0, bar));
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    if (row == nullptr) continue;
    // The captions as the menu shows them, without their "&" accelerators.
    std::string path = Cat(row->path, kPathSeparator, row->caption);
    std::erase(path, '&');
    lines.push_back(Cat("  ", path));
  }
  return lines;
}

Detection DetectLayoutOfHead(std::string_view head, bool wholeFile) {
  const Sample sample = Cut(head, wholeFile);
  std::vector<Score> scores;
  for (const LayoutRow& row : kRows) {
    if (sample.records.empty()) break;
    if (sample.length != row.length && !(row.orLonger && sample.length > row.length)) continue;
    scores.push_back(ScoreOf(row, sample));
  }

  // The plausible layout whose fields fit best; a tie goes to the first in
  // the table.
  const Score* best = nullptr;
  std::vector<const Score*> near;
  for (const Score& score : scores) {
    if (!score.Plausible()) continue;
    if (best == nullptr || score.Rank() < best->Rank()) best = &score;
    near.push_back(&score);
  }

  Detection detection;
  const std::string lineEnds = LineEndEvidence(sample);
  if (best != nullptr) {
    std::erase(near, best);
    detection.kind = Detection::Kind::Recognised;
    detection.layouts = {best->row};
    for (const Score* other : near)
      if (other->Rank() == best->Rank()) detection.layouts.push_back(other->row);
    detection.verdict = std::string(best->row->title);
    detection.reasons = ChosenReasons(*best, near, sample);
    if (!lineEnds.empty()) detection.reasons.push_back(lineEnds);
    return detection;
  }
  detection.kind = Detection::Kind::NotRecognised;
  if (sample.empty) {
    detection.verdict = "arquivo vazio";
  } else if (sample.records.empty()) {
    detection.verdict = std::string("arquivo só com linhas em branco"_cp);
  } else {
    detection.verdict =
        Cat(sample.records.size(), sample.records.size() == 1 ? " registro lido, " : " registros lidos, ",
            LengthEvidence(sample));
    detection.reasons.push_back(Cat("o primeiro começa com \""_cp, Shown(sample.records[0].substr(0, 20)), "\""));
    const Score* nearest = nullptr;
    for (const Score& score : scores)
      if (nearest == nullptr || score.held * nearest->row->probeCount > nearest->held * score.row->probeCount)
        nearest = &score;
    // The kind that ruled the nearest out (a return taken for no remittance)
    // tells the user more than a count.
    if (nearest != nullptr)
      detection.reasons.push_back(Cat(
          "o mais próximo, "_cp, nearest->row->title, ", confere em ", nearest->held, " de ", nearest->row->probeCount,
          " campos",
          nearest->RuledOut() ? Cat(" (não confere: "_cp,
                                    Joined(nearest->missedEvidence[static_cast<std::size_t>(Weight::Kind)], ", "), ")")
                              : std::string()));
    if (!lineEnds.empty()) detection.reasons.push_back(lineEnds);
  }
  return detection;
}

Detection DetectLayout(const std::string& path) {
  // A FIFO would block the open and a device never ends: only regular files.
  platform::Kind kind = platform::Kind::Missing;
  std::uint64_t fileSize = 0;
  platform::SystemError error;
  platform::File file = platform::File::OpenExisting(path, platform::File::Access::Read, kind, fileSize, error);
  if (kind == platform::Kind::Missing) throw platform::Failure(path, "cannot open the file", error);
  if (kind != platform::Kind::Regular)
    throw FileError(
        path, kind == platform::Kind::Directory ? "is a directory, not a file" : "is not a regular file: refused");
  std::string head(kDetectionHead, '\0');
  std::size_t size = 0;
  while (size < head.size()) {
    std::size_t got = 0;
    if (const auto failed = file.ReadAt(size, head.data() + size, head.size() - size, got))
      throw platform::Failure(path, "cannot read the file", failed);
    if (got == 0) break;
    size += got;
  }
  head.resize(size);
  const bool wholeFile = size < kDetectionHead || static_cast<std::uint64_t>(size) == fileSize;
  return DetectLayoutOfHead(head, wholeFile);
}

std::vector<std::string> Detection::Lines() const {
  std::vector<std::string> lines{kind == Kind::Recognised ? Cat("Layout detectado: ", verdict)
                                                          : Cat("Layout não reconhecido: "_cp, verdict)};
  lines.insert(lines.end(), reasons.begin(), reasons.end());
  return lines;
}

std::vector<std::string> ChosenLines(const LayoutRow& chosen, const Detection& detection) {
  std::vector<std::string> lines = detection.Lines();
  lines.front() = Cat("Layout escolhido: ", chosen.title, " (", lines.front(), ")");
  return lines;
}

}  // namespace verilote

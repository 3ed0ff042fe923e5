#include "detect/layout_detection.hpp"

#include <algorithm>
#include <initializer_list>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

constexpr Probe First(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                      Expect expect = Expect::OneOf) {
  return {Pick::First, 0, 0, from, to, expect, values, label};
}
constexpr Probe Second(std::size_t from, std::size_t to, std::string_view values, std::string_view label,
                       Expect expect = Expect::OneOf) {
  return {Pick::Second, 0, 0, from, to, expect, values, label};
}
// The first lote header: type "1" at position 8 of a CNAB 240 record, at
// position 1 of a SIEMD record.
constexpr Probe Lote240(std::size_t from, std::size_t to, std::string_view values, std::string_view label) {
  return {Pick::OfType, 8, '1', from, to, Expect::OneOf, values, label};
}
constexpr Probe Lote150(std::size_t from, std::size_t to, std::string_view values, std::string_view label) {
  return {Pick::OfType, 1, '1', from, to, Expect::OneOf, values, label};
}
constexpr Probe Every(std::size_t from, std::size_t to, std::string_view values, std::string_view label) {
  return {Pick::Every, 0, 0, from, to, Expect::OneOf, values, label};
}

constexpr LayoutRow Row(std::string_view name, std::string_view title, std::string_view handler, std::size_t length,
                        bool orLonger, std::initializer_list<Probe> probes) {
  LayoutRow row{name, title, handler, length, orLonger, {}, 0};
  for (const Probe& probe : probes) row.probes[row.probeCount++] = probe;
  return row;
}

// The fields every CNAB 240 collection file shares: bank 104 and the file
// header as its first record.
constexpr Probe kBank240 = First(1, 3, "104", "banco {}");
constexpr Probe kHeader240 = First(8, 8, "0", "header de arquivo (tipo {}) no primeiro registro");
constexpr Probe kRemessa240 = First(192, 199, "REMESSA-", "{} na posição 192 do header de arquivo"_cp);

// clang-format off
constexpr LayoutRow kRows[] = {
    // CNAB 240: the file header's layout version (positions 164-166), the lote
    // header's operation and service (9-11) and its layout version (14-16).
    Row("sigcb240", "SIGCB CNAB 240", "SIGCBRemessa1Click", 240, false,
        {kBank240, kHeader240, First(164, 166, "101|107", "versão {} no header de arquivo"_cp), kRemessa240,
         Lote240(9, 11, "R01|R02", "operação e serviço {} no header de lote"_cp),
         Lote240(14, 16, "060|067", "versão {} no header de lote"_cp)}),
    Row("sicob240", "SICOB CNAB 240", "CobranaRemessapadro2401Click", 240, false,
        {kBank240, kHeader240, First(164, 166, "030", "versão {} no header de arquivo"_cp), kRemessa240,
         Lote240(9, 11, "R01", "operação e serviço {} no header de lote"_cp),
         Lote240(14, 16, "020", "versão {} no header de lote"_cp)}),
    Row("sinco", "SINCO CNAB 240", "SINCO1Click", 240, false,
        {kBank240, kHeader240, First(164, 166, "040", "versão {} no header de arquivo"_cp), kRemessa240,
         Lote240(9, 11, "R01", "operação e serviço {} no header de lote"_cp),
         Lote240(14, 16, "030", "versão {} no header de lote"_cp)}),
    Row("construgiro", "Construgiro CNAB 240", "Construgiro1Click", 240, false,
        {kBank240, kHeader240, First(164, 166, "040", "versão {} no header de arquivo"_cp),
         First(192, 199, "INCLUSAO", "{} na posição 192 do header de arquivo"_cp),
         Lote240(9, 11, "R01", "operação e serviço {} no header de lote"_cp),
         Lote240(14, 16, "040", "versão {} no header de lote"_cp)}),
    Row("siacc", "SIACC 240", "CaixaProgramado1Click", 240, false,
        {kBank240, kHeader240, First(164, 166, "080|050", "versão {} no header de arquivo"_cp),
         First(41, 41, "P|T", "ambiente {} no header de arquivo"),
         Lote240(9, 9, "C|D", "operação {} no header de lote"_cp),
         Lote240(14, 16, "041|030", "versão {} no header de lote"_cp)}),
    // CNAB 400: the header's literals and bank; SIGCB writes its layout version
    // at 101-103 and its cedente code at 31-36 (31-37 in version 007) with
    // blanks after it, where SICOB writes operation, account and check digit.
    Row("sigcb400", "SIGCB CNAB 400", "SIGCBRemessa400ValidaTudo1Click", 400, false,
        {First(1, 9, "01REMESSA|01REM.TST", "header {}"), First(77, 79, "104", "banco {}"),
         First(101, 103, "   |007", "versão \"{}\" no header de arquivo"_cp),
         First(38, 46, "", "posições 38-46 do header em branco"_cp, Expect::Blank)}),
    Row("sicob400", "SICOB CNAB 400", "CobranaRemessapadro4001Click", 400, false,
        {First(1, 9, "01REMESSA|01REM.TST", "header {}"), First(77, 79, "104", "banco {}"),
         First(101, 103, "", "posições 101-103 do header em branco"_cp, Expect::Blank),
         First(34, 42, "", "conta {} no header", Expect::Digits)}),
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
    Row("sicov", "SICOV folha de pagamento e débito/crédito"_cp, "", 150, false,
        {First(1, 1, "A", "header tipo {} no primeiro registro"), First(43, 45, "104", "banco {}"),
         Second(1, 1, "E|Z", "registro tipo {} depois do header")}),
    // Client programs' import files: no header, one payer, bill or guide a line.
    Row("cobcaixa-sacados", "CobCaixa 2.x Sacados", "Sacados1Click", 254, false,
        {First(106, 106, "F|J", "tipo de pessoa {} na posição 106"_cp),
         First(199, 206, "", "CEP {} na posição 199"_cp, Expect::Digits)}),
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

std::string Fill(std::string_view label, std::string_view content) {
  const std::size_t at = label.find("{}");
  if (at == std::string_view::npos) return std::string(label);
  return Cat(label.substr(0, at), Shown(content), label.substr(at + 2));
}

bool Holds(const Probe& probe, std::string_view record) {
  const std::string_view field = Field(record, probe.from, probe.to);
  const std::size_t width = probe.to - probe.from + 1;
  switch (probe.expect) {
    case Expect::Digits:
      return field.size() == width && IsAllDigits(field);
    case Expect::Blank:
      return field.size() == width && field.find_first_not_of(' ') == std::string_view::npos;
    case Expect::OneOf:
      break;
  }
  for (std::string_view values = probe.values;;) {
    const std::size_t bar = values.find('|');
    if (field == values.substr(0, bar)) return true;
    if (bar == std::string_view::npos) return false;
    values.remove_prefix(bar + 1);
  }
}

struct ProbeResult {
  bool held = false;
  std::string evidence;
};

ProbeResult Try(const Probe& probe, const Sample& sample) {
  const std::vector<std::string_view>& records = sample.records;
  const std::string_view* record = nullptr;
  switch (probe.pick) {
    case Pick::First:
      if (!records.empty()) record = &records[0];
      break;
    case Pick::Second:
      if (records.size() > 1) record = &records[1];
      break;
    case Pick::OfType:
      for (const std::string_view& r : records)
        if (r.size() >= probe.typeAt && r[probe.typeAt - 1] == probe.type) {
          record = &r;
          break;
        }
      break;
    case Pick::Every:
      if (records.empty()) break;
      record = &records[0];
      for (const std::string_view& r : records)
        if (!Holds(probe, r)) {
          record = &r;
          break;
        }
      break;
  }
  if (record == nullptr)
    return {false, probe.pick == Pick::OfType ? Cat("nenhum registro tipo ", probe.type) : "sem registros bastantes"};
  const bool held = Holds(probe, *record);
  std::string evidence = Fill(probe.label, Field(*record, probe.from, probe.to));
  if (!held) {
    std::string expected(probe.values);
    for (std::size_t bar; (bar = expected.find('|')) != std::string::npos;) expected.replace(bar, 1, " ou ");
    if (probe.expect == Expect::OneOf) evidence += Cat(" (esperado ", expected, ")");
  }
  return {held, std::move(evidence)};
}

struct Score {
  const LayoutRow* row;
  std::size_t held = 0;
  std::vector<std::string> heldEvidence, missedEvidence;
  bool Full() const { return held == row->probeCount; }
  // At least half of the layout's fields as it writes them.
  bool Plausible() const { return held * 2 >= row->probeCount; }
  bool Beats(const Score& other) const { return held * other.row->probeCount > other.held * row->probeCount; }
};

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

std::string RowEvidence(const Score& score, const Sample& sample) {
  std::vector<std::string> parts{LengthEvidence(sample)};
  parts.insert(parts.end(), score.heldEvidence.begin(), score.heldEvidence.end());
  std::string text = Cat(score.row->title, ": ", Joined(parts, ", "));
  if (!score.missedEvidence.empty()) text += Cat("; não confere: "_cp, Joined(score.missedEvidence, ", "));
  return text;
}

}  // namespace

std::span<const LayoutRow> LayoutTable() { return kRows; }

const LayoutRow* FindLayout(std::string_view name) {
  for (const LayoutRow& row : kRows)
    if (row.name == name) return &row;
  return nullptr;
}

Detection DetectLayoutOfHead(std::string_view head, bool wholeFile) {
  const Sample sample = Cut(head, wholeFile);
  std::vector<Score> scores;
  for (const LayoutRow& row : kRows) {
    if (sample.records.empty()) break;
    if (sample.length != row.length && !(row.orLonger && sample.length > row.length)) continue;
    Score score{&row, 0, {}, {}};
    for (std::size_t i = 0; i < row.probeCount; ++i) {
      ProbeResult result = Try(row.probes[i], sample);
      score.held += result.held ? 1 : 0;
      (result.held ? score.heldEvidence : score.missedEvidence).push_back(std::move(result.evidence));
    }
    scores.push_back(std::move(score));
  }

  // Every field as the layout writes it; else the layouts that come nearest,
  // when they hold at least half of their fields.
  std::vector<const Score*> chosen;
  for (const Score& score : scores)
    if (score.Full()) chosen.push_back(&score);
  if (chosen.empty()) {
    const Score* best = nullptr;
    for (const Score& score : scores)
      if (score.Plausible() && (best == nullptr || score.Beats(*best))) best = &score;
    for (const Score& score : scores)
      if (best != nullptr && score.Plausible() && !best->Beats(score)) chosen.push_back(&score);
  }

  Detection detection;
  const std::string lineEnds = LineEndEvidence(sample);
  const std::string afterLineEnds = lineEnds.empty() ? std::string() : Cat("; ", lineEnds);
  if (chosen.size() == 1) {
    detection.kind = Detection::Kind::Recognised;
    detection.layouts = {chosen[0]->row};
    detection.evidence = RowEvidence(*chosen[0], sample);
    // A layout that missed by one field: say which field told them apart.
    for (const Score& score : scores)
      if (&score != chosen[0] && score.held + 1 == score.row->probeCount && chosen[0]->Full())
        detection.evidence += Cat("; descartado ", score.row->title, ": ", Joined(score.missedEvidence, ", "));
    detection.evidence += afterLineEnds;
    return detection;
  }
  if (chosen.size() > 1) {
    detection.kind = Detection::Kind::Candidates;
    std::vector<std::string> names;
    for (const Score* score : chosen) {
      detection.layouts.push_back(score->row);
      names.push_back(Cat(score->row->title, " (", score->held, " de ", score->row->probeCount, " campos conferem)"));
    }
    detection.evidence = Cat(Joined(names, ", "), ": ", LengthEvidence(sample), afterLineEnds);
    return detection;
  }
  detection.kind = Detection::Kind::NotRecognised;
  if (sample.empty) {
    detection.evidence = "arquivo vazio";
  } else if (sample.records.empty()) {
    detection.evidence = std::string("arquivo só com linhas em branco"_cp);
  } else {
    std::vector<std::string> seen{
        Cat(sample.records.size(), sample.records.size() == 1 ? " registro lido" : " registros lidos"),
        LengthEvidence(sample), Cat("o primeiro começa com \""_cp, Shown(sample.records[0].substr(0, 20)), "\"")};
    const Score* nearest = nullptr;
    for (const Score& score : scores)
      if (nearest == nullptr || score.Beats(*nearest)) nearest = &score;
    if (nearest != nullptr)
      seen.push_back(Cat("o mais próximo, "_cp, nearest->row->title, ", confere em ", nearest->held, " de ",
                         nearest->row->probeCount, " campos"));
    if (!lineEnds.empty()) seen.push_back(lineEnds);
    detection.evidence = Joined(seen, ", ");
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

std::string Detection::Line() const {
  switch (kind) {
    case Kind::Recognised:
      return Cat("Layout detectado: ", evidence);
    case Kind::Candidates:
      return Cat("Layouts possíveis: "_cp, evidence);
    case Kind::NotRecognised:
      break;
  }
  return Cat("Layout não reconhecido: "_cp, evidence);
}

std::string ChosenLine(const LayoutRow& chosen, const Detection& detection) {
  return Cat("Layout escolhido: ", chosen.title, " (", detection.Line(), ")");
}

}  // namespace verilote

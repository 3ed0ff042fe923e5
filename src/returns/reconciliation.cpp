#include "returns/reconciliation.hpp"

#include <algorithm>
#include <map>
#include <span>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_codes.hpp"
#include "returns/return_lines.hpp"
#include "returns/return_readers.hpp"

namespace verilote {
// The remittance validators' dictionaries (remittance/sigcb240_fields.cpp,
// remittance/sigcb400_fields.cpp).
extern const LayoutFields kSigcb240Fields;
extern const LayoutFields kSigcb400Fields;
}  // namespace verilote

namespace verilote::returns {

namespace {

// What became of a title, in increasing weight: a later answer of more
// weight replaces an earlier one (an entry confirmed, then paid).
enum State : std::uint8_t { kSemResposta, kOutro, kConfirmada, kRejeitada, kBaixada, kLiquidada };

State StateOf(std::string_view movimento, bool is400) {
  static constexpr std::pair<std::string_view, State> k240[] = {
      {"02", kConfirmada}, {"03", kRejeitada}, {"26", kRejeitada}, {"30", kRejeitada},
      {"06", kLiquidada},  {"46", kLiquidada}, {"09", kBaixada},   {"25", kBaixada}};
  static constexpr std::pair<std::string_view, State> k400[] = {
      {"01", kConfirmada}, {"99", kRejeitada}, {"21", kLiquidada}, {"22", kLiquidada},
      {"35", kLiquidada},  {"02", kBaixada},   {"23", kBaixada},   {"25", kBaixada}};
  for (const auto& [code, state] : is400 ? std::span(k400) : std::span(k240))
    if (code == movimento) return state;
  return kOutro;
}

std::string_view StateWords(State state) {
  switch (state) {
    case kSemResposta:
      return "sem resposta";
    case kOutro:
      return "outro movimento";
    case kConfirmada:
      return "entrada confirmada";
    case kRejeitada:
      return "rejeitada";
    case kBaixada:
      return "baixada";
    case kLiquidada:
      return "liquidada";
  }
  return {};
}

// A title of the remittance: 48 bytes.
struct Sent {
  std::uint64_t nn = 0;  // modality and nosso número as a number; 0 when the bank numbers it
  std::uint64_t record = 0;
  std::uint64_t answer = 0;  // the return's record that decided its state
  std::array<char, 11> seu{};
  std::array<char, 10> motives{};
  std::array<char, 2> movimento{};
  State state = kSemResposta;
};

std::uint64_t NnValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 18) return 0;
  std::uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

std::array<char, 11> SeuKey(std::string_view text) {
  std::array<char, 11> key{};
  std::string_view trimmed = text;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  std::copy_n(trimmed.begin(), std::min(trimmed.size(), key.size()), key.begin());
  return key;
}

std::string_view KeyText(const std::array<char, 11>& key) {
  const std::string_view text(key.data(), key.size());
  return text.substr(0, text.find('\0'));
}

class Remittance {
 public:
  void Read(const std::string& path) {
    LineReader reader(path);
    std::string_view rec;
    while (reader.Next(rec)) {
      if (reader.Number() == 1) is400_ = rec.size() >= 400;
      Sent sent;
      if (!is400_ && rec.size() >= 73 && rec[7] == '3' && rec[13] == 'P') {
        // Fields 13.3P (41-57) and 15.3P (63-73, seu número).
        sent.nn = NnValue(rec.substr(40, 17));
        sent.seu = SeuKey(rec.substr(62, 11));
      } else if (is400_ && rec.size() >= 120 && rec[0] == '1') {
        // Fields 11.1 (57-73) and 16.1 (111-120).
        sent.nn = NnValue(rec.substr(56, 17));
        sent.seu = SeuKey(rec.substr(110, 10));
      } else {
        continue;
      }
      if (kind_ == nullptr) kind_ = (is400_ ? kSigcb400Fields : kSigcb240Fields).kindOf(rec);
      sent.record = reader.Number();
      (sent.nn != 0 ? byNn_ : bySeu_).push_back(sent);
    }
    std::sort(byNn_.begin(), byNn_.end(), [](const Sent& a, const Sent& b) { return a.nn < b.nn; });
    std::sort(bySeu_.begin(), bySeu_.end(), [](const Sent& a, const Sent& b) { return a.seu < b.seu; });
  }

  // The remittance's title a return's title answers, or nullptr.
  Sent* Find(const ReturnTitle& title) {
    if (const std::uint64_t nn = NnValue(title.nossoNumero); nn != 0) {
      const auto at = std::lower_bound(byNn_.begin(), byNn_.end(), nn,
                                       [](const Sent& s, std::uint64_t value) { return s.nn < value; });
      if (at != byNn_.end() && at->nn == nn) return &*at;
    }
    // The bank numbered a title sent with zeros: the seu número tells it.
    const std::array<char, 11> seu = SeuKey(title.seuNumero);
    if (seu[0] == '\0') return nullptr;
    const auto at = std::lower_bound(bySeu_.begin(), bySeu_.end(), seu,
                                     [](const Sent& s, const std::array<char, 11>& value) { return s.seu < value; });
    return at != bySeu_.end() && at->seu == seu ? &*at : nullptr;
  }

  // Every title in the remittance's order.
  std::vector<Sent> InOrder() {
    std::vector<Sent> all = std::move(byNn_);
    all.insert(all.end(), bySeu_.begin(), bySeu_.end());
    bySeu_.clear();
    std::sort(all.begin(), all.end(), [](const Sent& a, const Sent& b) { return a.record < b.record; });
    return all;
  }

  bool Is400() const { return is400_; }
  const RecordKind* Kind() const { return kind_; }

 private:
  std::vector<Sent> byNn_, bySeu_;
  bool is400_ = false;
  const RecordKind* kind_ = nullptr;
};

RemittanceOutcome OutcomeOf(const Sent& sent, bool is400, const RecordKind* kind) {
  RemittanceOutcome outcome;
  outcome.remessaRecord = sent.record;
  if (sent.nn != 0) {
    std::string digits = std::to_string(sent.nn);
    outcome.nossoNumero = std::string(digits.size() < 17 ? 17 - digits.size() : 0, '0') + digits;
  }
  outcome.seuNumero = KeyText(sent.seu);
  outcome.situacao = StateWords(sent.state);
  outcome.movimento = sent.state == kSemResposta ? "" : std::string(sent.movimento.data(), 2);
  if (!outcome.movimento.empty())
    outcome.movimentoTexto =
        DescribeCode(is400 ? CodeTable::Ocorrencia400 : CodeTable::Movimento240, outcome.movimento);
  outcome.retornoRecord = sent.answer;
  outcome.faulty = sent.state == kRejeitada;
  outcome.kind = kind;
  const std::string_view motives(sent.motives.data(), sent.motives.size());
  if (sent.state == kRejeitada && is400) {
    const std::string_view code = motives.substr(0, std::min<std::size_t>(3, motives.find('\0')));
    if (!code.empty()) {
      outcome.motives[0] = {std::string(code), DescribeCode(CodeTable::Rejeicao400, code)};
      outcome.motiveCount = 1;
    }
  } else if (sent.state == kRejeitada) {
    const CodeTable table = MotiveTableOf240(outcome.movimento).value_or(CodeTable::MotivoRejeicao240);
    for (std::size_t at = 0; at + 2 <= motives.size() && outcome.motiveCount < outcome.motives.size(); at += 2) {
      const std::string_view code = motives.substr(at, 2);
      if (code == "00" || code == "  " || code[0] == '\0') continue;
      outcome.motives[outcome.motiveCount++] = {std::string(code), DescribeCode(table, code)};
    }
  }
  return outcome;
}

// Forwards the return's reading to the visitor, answering each title
// against the remittance.
class Answering final : public ReturnVisitor {
 public:
  Answering(Remittance& remittance, ReconciliationVisitor& visitor, ReconciliationTotals& totals)
      : remittance_(remittance), visitor_(visitor), totals_(totals) {}
  void Header(const ReturnHeader& header) override { visitor_.Header(header); }
  void Service(const ServiceAnswer& answer) override { visitor_.Service(answer); }
  void Remark(std::uint64_t record, std::string_view rec, std::string_view text) override {
    visitor_.Remark(record, rec, text);
  }
  void Title(const ReturnTitle& title) override {
    totals_.returnTotals.Add(title);
    visitor_.Title(title);
    Sent* sent = remittance_.Find(title);
    if (sent == nullptr) {
      // Tariff records name no title.
      if (title.nossoNumero.empty() && title.seuNumero.empty()) return;
      ++totals_.naoEnviados;
      visitor_.Unsent(title);
      return;
    }
    const State state = StateOf(title.movimento, remittance_.Is400());
    if (state < sent->state) return;
    sent->state = state;
    sent->answer = title.record;
    std::copy_n(title.movimento.begin(), std::min<std::size_t>(2, title.movimento.size()), sent->movimento.begin());
    sent->motives.fill('\0');
    std::size_t at = 0;
    for (std::size_t i = 0; i < title.motiveCount && at < sent->motives.size(); ++i)
      for (const char c : title.motives[i].code)
        if (at < sent->motives.size()) sent->motives[at++] = c;
  }

 private:
  Remittance& remittance_;
  ReconciliationVisitor& visitor_;
  ReconciliationTotals& totals_;
};

class ErrorsCollector final : public ReturnVisitor {
 public:
  std::vector<std::uint64_t> records;
  void Error(const PrecriticaError& error) override {
    if (error.remessaRecord != 0) records.push_back(error.remessaRecord);
  }
};

class ErrorsTying final : public ReturnVisitor {
 public:
  ErrorsTying(const std::map<std::uint64_t, std::string>& records, bool is400, ReconciliationVisitor& visitor,
              ReconciliationTotals& totals)
      : records_(records), is400_(is400), visitor_(visitor), totals_(totals) {}
  void Header(const ReturnHeader& header) override { visitor_.Header(header); }
  void Remark(std::uint64_t record, std::string_view rec, std::string_view text) override {
    visitor_.Remark(record, rec, text);
  }
  void Error(const PrecriticaError& read) override {
    ++totals_.errors;
    totals_.returnTotals.AddError();
    visitor_.Error(read);
    PrecriticaError error = read;
    RemittanceError tied;
    tied.error = &error;
    const auto found = records_.find(error.remessaRecord);
    std::string value;
    if (found != records_.end()) {
      const std::string& rec = found->second;
      tied.bytes = rec;
      // The record itself tells which variant of an S, Q or Y segment the
      // W code names.
      if (!is400_) SetField(error, ResolveWField240(error.campo, error.erro, rec));
      tied.kind = (is400_ ? kSigcb400Fields : kSigcb240Fields).kindOf(rec);
      if (error.from != 0 && error.from <= rec.size()) {
        value = rec.substr(error.from - 1, error.to - error.from + 1);
        tied.value = &value;
      }
      // Our validators number some fields otherwise than the manual the
      // bank's W codes follow: the same positions, named both ways.
      if (tied.kind != nullptr && error.from != 0)
        for (const FieldSpec& field : tied.kind->fields)
          if (field.from == error.from && field.to == error.to && !field.code.empty()) tied.validatorCode = field.code;
    }
    visitor_.RemessaError(tied);
  }

 private:
  const std::map<std::uint64_t, std::string>& records_;
  bool is400_;
  ReconciliationVisitor& visitor_;
  ReconciliationTotals& totals_;
};

}  // namespace

ReconciliationTotals Reconcile(const std::string& returnPath, ReturnKind kind, const std::string& remessaPath,
                               ReconciliationVisitor& visitor, Host* host) {
  ReconciliationTotals totals;
  const bool is400 = kind == ReturnKind::Sigcb400Retorno || kind == ReturnKind::Sigcb400Precritica;
  if (IsPrecritica(kind)) {
    ErrorsCollector collector;
    ReadReturn(returnPath, kind, collector, host);
    std::sort(collector.records.begin(), collector.records.end());
    collector.records.erase(std::unique(collector.records.begin(), collector.records.end()), collector.records.end());
    std::map<std::uint64_t, std::string> records;
    LineReader reader(remessaPath);
    std::string_view rec;
    while (!collector.records.empty() && reader.Next(rec))
      if (std::binary_search(collector.records.begin(), collector.records.end(), reader.Number()))
        records.emplace(reader.Number(), std::string(rec));
    ErrorsTying tying(records, is400, visitor, totals);
    ReadReturn(returnPath, kind, tying, host);
    return totals;
  }
  Remittance remittance;
  remittance.Read(remessaPath);
  Answering answering(remittance, visitor, totals);
  ReadReturn(returnPath, kind, answering, host);
  for (const Sent& sent : remittance.InOrder()) {
    ++totals.remessaTitles;
    if (sent.state == kSemResposta) ++totals.semResposta;
    if (sent.state == kRejeitada) ++totals.rejeitados;
    visitor.Outcome(OutcomeOf(sent, remittance.Is400(), remittance.Kind()));
  }
  return totals;
}

std::string OutcomeLine(const RemittanceOutcome& o) {
  std::string motives;
  for (std::size_t i = 0; i < o.motiveCount; ++i)
    motives += Cat(i == 0 ? ": motivos " : ", ", o.motives[i].code, ' ', o.motives[i].text);
  return Cat("Registro ", o.remessaRecord, " da remessa: nosso número "_cp, o.nossoNumero.empty() ? "-" : o.nossoNumero,
             ", seu número "_cp, o.seuNumero.empty() ? "-" : o.seuNumero, ": ", o.situacao,
             o.retornoRecord != 0 ? Cat(" (registro ", o.retornoRecord, " do retorno, movimento ", o.movimento, ' ',
                                        o.movimentoTexto, ")")
                                  : std::string(),
             motives);
}

std::string UnsentLine(const ReturnTitle& t) {
  return Cat("Registro ", t.record, " do retorno: nosso número "_cp, t.nossoNumero.empty() ? "-" : t.nossoNumero,
             ", seu número "_cp, t.seuNumero.empty() ? "-" : t.seuNumero, ", movimento ", t.movimento, ' ',
             t.movimentoTexto, ": título que esta remessa não enviou"_cp);
}

std::string RemessaErrorLine(const RemittanceError& tied) {
  const PrecriticaError& e = *tied.error;
  std::string line = ErrorLine(e, tied.value);
  if (!tied.validatorCode.empty() && tied.validatorCode != e.fieldCode)
    line += Cat(" [nas mensagens do validador: campo ", tied.validatorCode, "]");
  return line;
}

namespace {

class ReportReconciliation final : public ReconciliationVisitor {
 public:
  ReportReconciliation(const std::function<void(std::string_view)>& line,
                       const std::function<void(const Finding&)>& finding)
      : line_(line), finding_(finding) {}
  void Header(const ReturnHeader& header) override {
    for (const std::string& text : HeaderLines(header)) line_(text);
  }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override {
    line_(RemarkLine(record, text));
  }
  void Service(const ServiceAnswer& answer) override { line_(ServiceLine(answer)); }
  void Unsent(const ReturnTitle& title) override { line_(UnsentLine(title)); }
  void Outcome(const RemittanceOutcome& outcome) override {
    if (!outcomesStarted_) {
      outcomesStarted_ = true;
      line_("Títulos da remessa:"_cp);
    }
    Emit(OutcomeLine(outcome), outcome.remessaRecord, outcome.kind, {}, {});
  }
  void RemessaError(const RemittanceError& tied) override {
    Emit(RemessaErrorLine(tied), tied.error->remessaRecord, tied.kind, tied.validatorCode, tied.bytes);
  }

 private:
  void Emit(const std::string& text, std::uint64_t record, const RecordKind* kind, std::string_view fields,
            std::string_view bytes) {
    if (!finding_ || record == 0) return line_(text);
    Finding finding;
    finding.rec = bytes;
    finding.line = text;
    finding.record = record;
    finding.kind = kind;
    finding.fields = fields;
    finding_(finding);
  }
  const std::function<void(std::string_view)>& line_;
  const std::function<void(const Finding&)>& finding_;
  bool outcomesStarted_ = false;
};

}  // namespace

ReconciliationTotals WriteReconciliation(const std::string& returnPath, ReturnKind kind, const std::string& remessaPath,
                                         Host* host, const std::function<void(std::string_view)>& line,
                                         const std::function<void(const Finding&)>& finding) {
  ReportReconciliation report(line, finding);
  const ReconciliationTotals totals = Reconcile(returnPath, kind, remessaPath, report, host);
  if (IsPrecritica(kind)) {
    line(Cat("Total de erros: ", totals.errors));
  } else {
    line(Cat("Títulos da remessa: "_cp, totals.remessaTitles, ", rejeitados: ", totals.rejeitados, ", sem resposta: ",
             totals.semResposta, "; títulos do retorno que a remessa não enviou: "_cp, totals.naoEnviados));
    for (const std::string& text : TotalLines(totals.returnTotals, false)) line(text);
  }
  return totals;
}

}  // namespace verilote::returns

#include "returns/return_report.hpp"

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_lines.hpp"

namespace verilote::returns {

void Totals::Add(const ReturnTitle& title) {
  ++titles_;
  if (title.rejected) ++rejected_;
  MovementTotal* found = nullptr;
  for (MovementTotal* seen : recent_.seen)
    if (seen != nullptr && seen->code == title.movimento) {
      found = seen;
      break;
    }
  if (found == nullptr) {
    found = &perMovement_[std::string(title.movimento)];
    recent_.seen[recent_.next] = found;
    recent_.next = (recent_.next + 1) % recent_.seen.size();
  }
  MovementTotal& total = *found;
  if (total.count == 0) {
    total.code = title.movimento;
    total.text = title.movimentoTexto;
  }
  ++total.count;
  const auto add = [](std::int64_t& sum, const Cents& value) { sum += value.value_or(0); };
  add(total.valorTitulo, title.valorTitulo);
  add(total.valorPago, title.valorPago);
  add(total.tarifa, title.tarifa);
  add(total.juros, title.juros);
  add(total.desconto, title.desconto);
  add(total.abatimento, title.abatimento);
  add(total.valorLiquido, title.valorLiquido);
  add(tarifas_, title.tarifa);
}

namespace {
std::string Day(const std::optional<CivilDate>& date) { return date ? BrDate(*date) : std::string("-"); }
}  // namespace

std::vector<std::string> HeaderLines(const ReturnHeader& header) {
  std::vector<std::string> lines;
  lines.push_back(Cat("Arquivo: "_cp, KindTitle(header.kind), " (", LayoutName(header.kind), ")"));
  lines.push_back(Cat("Beneficiário: "_cp, header.beneficiario, "  Agência: "_cp, header.agencia,
                      "  Empresa: ", header.empresa, header.inscricao.empty() ? "" : "  CPF/CNPJ: ", header.inscricao));
  lines.push_back(Cat("Data de geração: "_cp, Day(header.geracao), "  NSA: ", header.nsa.empty() ? "-" : header.nsa,
                      "  Versão do leiaute: "_cp, header.versao.empty() ? "em branco" : header.versao,
                      header.situacao.empty() ? "" : "  Situação: "_cp, header.situacao));
  return lines;
}

namespace {
using namespace std::string_view_literals;

void AppendMoney(std::string& out, std::string_view label, const Cents& value) {
  out += label;
  if (value)
    AppendCentsBr(out, *value);
  else
    out += '-';
}
void AppendDay(std::string& out, std::string_view label, const std::optional<CivilDate>& date) {
  out += label;
  if (date)
    AppendBrDate(out, *date);
  else
    out += '-';
}
void AppendOr(std::string& out, std::string_view label, std::string_view text) {
  out += label;
  out += text.empty() ? "-"sv : text;
}
}  // namespace

void AppendTitleLine(std::string& out, const ReturnTitle& t) {
  out += "Registro "sv;
  detail::AppendPiece(out, t.record);
  if (t.rejected) out += " (rejeitado)"sv;
  AppendOr(out, ": nosso número "_cp, t.nossoNumero);
  AppendOr(out, ", seu número "_cp, t.seuNumero);
  out += ", movimento "sv;
  out += t.movimento;
  out += ' ';
  out += t.movimentoTexto;
  for (std::size_t i = 0; i < t.motiveCount; ++i) {
    out += i == 0 ? "; motivos: "sv : ", "sv;
    out += t.motives[i].code;
    out += ' ';
    out += t.motives[i].text;
  }
  AppendMoney(out, "; valor "sv, t.valorTitulo);
  AppendMoney(out, ", pago "sv, t.valorPago);
  AppendMoney(out, ", tarifa "sv, t.tarifa);
  AppendMoney(out, ", juros/multa "sv, t.juros);
  AppendMoney(out, ", desconto "sv, t.desconto);
  AppendMoney(out, ", abatimento "sv, t.abatimento);
  AppendMoney(out, ", líquido "_cp, t.valorLiquido);
  AppendDay(out, "; vencimento "sv, t.vencimento);
  AppendDay(out, ", ocorrência "_cp, t.dataOcorrencia);
  AppendDay(out, ", crédito "_cp, t.dataCredito);
  AppendOr(out, "; recebedor: banco "sv, t.bancoRecebedor);
  AppendOr(out, ", agência "_cp, t.agenciaRecebedora);
  if (!t.agenciaDv.empty()) {
    out += '-';
    out += t.agenciaDv;
  }
}

std::string TitleLine(const ReturnTitle& t) {
  std::string line;
  AppendTitleLine(line, t);
  return line;
}

// Whether the bank wrote the manual's number of the field, in either of its
// forms ("133P" for 13.3P, "19.0"); a real pre-validation names the NSA
// "18.0", which the manual numbers 19.0.
bool SameNumber(std::string_view written, std::string_view manual) {
  std::size_t i = 0;
  for (const char c : manual) {
    if (c == '.' && (i >= written.size() || written[i] != '.')) continue;
    if (i >= written.size() || written[i] != c) return false;
    ++i;
  }
  return i == written.size();
}

std::string ErrorLine(const PrecriticaError& e, const std::string* value) {
  std::string field;
  // The field as the bank names it, in the manual's form where it is the
  // manual's number; the positions and name follow, so that the user depends
  // on neither numbering.
  const bool same = e.fieldCode.empty() || SameNumber(e.campo, e.fieldCode);
  const std::string_view code =
      e.campo.empty() || (same && !e.fieldCode.empty()) ? e.fieldCode : std::string_view(e.campo);
  if (e.from != 0)
    field = Cat(code.empty() ? "campo" : Cat("campo ", code), " (posi"_cp, e.from == e.to ? "ção "_cp : "ções "_cp,
                e.from, e.from == e.to ? "" : "-", e.from == e.to ? std::string() : std::to_string(e.to), ", ",
                e.fieldName, same ? std::string() : Cat("; campo ", e.fieldCode, " no manual"), ")",
                value != nullptr ? Cat(" \"", *value, "\"") : std::string());
  else if (e.campo == "0000")
    field = "erro grave do arquivo (campo 0000)";
  else if (!e.campo.empty())
    field = Cat("campo ", e.campo, " (não consta do manual)"_cp);
  else
    field = "campo não indicado"_cp;
  const std::string where = e.remessaRecord != 0 ? Cat("registro ", e.remessaRecord, " da remessa")
                                                 : std::string("registro da remessa desconhecido");
  return Cat("Registro ", e.record, ": ", where, ", ", field, ": erro ", e.erro, ", ", e.texto);
}

std::string ServiceLine(const ServiceAnswer& a) {
  return Cat("Registro ", a.record, ": resposta à solicitação "_cp, a.solicitacao.empty() ? "-" : a.solicitacao,
             " (movimento ", a.movimento, ", identificador ", a.identificador.empty() ? "-" : a.identificador,
             "): ", a.descricao.empty() ? "sem descrição"_cp : std::string_view(a.descricao), "; quantidade ",
             a.quantidade.empty() ? "-" : a.quantidade,
             a.erroTexto.empty() ? std::string() : Cat("; erro ", a.erro, ", ", a.erroTexto));
}

std::string RemarkLine(std::uint64_t record, std::string_view text) {
  return record != 0 ? Cat("Observação - registro "_cp, record, ": ", text) : Cat("Observação: "_cp, text);
}

std::vector<std::string> TotalLines(const Totals& totals, bool precritica) {
  std::vector<std::string> lines;
  if (precritica) {
    lines.push_back(Cat("Total de erros: ", totals.Errors()));
    return lines;
  }
  lines.push_back("Totais por movimento:");
  for (const auto& [code, t] : totals.PerMovement())
    lines.push_back(Cat("  ", t.code, ' ', t.text, ": ", t.count, t.count == 1 ? " título"_cp : " títulos"_cp,
                        ", valor ", CentsBr(t.valorTitulo), ", pago ", CentsBr(t.valorPago), ", tarifas ",
                        CentsBr(t.tarifa), ", juros/multa ", CentsBr(t.juros), ", desconto ", CentsBr(t.desconto),
                        ", abatimento ", CentsBr(t.abatimento), ", líquido "_cp, CentsBr(t.valorLiquido)));
  lines.push_back(Cat("Total de tarifas: ", CentsBr(totals.Tarifas())));
  lines.push_back(Cat("Títulos: "_cp, totals.Titles(), ", rejeitados: ", totals.Rejected()));
  return lines;
}

namespace {

class ReportVisitor final : public ReturnVisitor {
 public:
  ReportVisitor(ReturnKind kind, const std::function<void(std::string_view)>& line,
                const std::function<void(const Finding&)>& finding, bool everyTitle)
      : kind_(kind), line_(line), finding_(finding), everyTitle_(everyTitle) {}

  Totals totals;

  void Header(const ReturnHeader& header) override {
    for (const std::string& text : HeaderLines(header)) line_(text);
  }
  void Title(const ReturnTitle& title) override {
    totals.Add(title);
    if (!everyTitle_ && !title.rejected) return;
    text_.clear();
    AppendTitleLine(text_, title);
    Emit(text_, title.record, title.bytes, kind_ == ReturnKind::Sigcb240Retorno ? kTitleFields240 : kTitleFields400);
  }
  void Error(const PrecriticaError& error) override {
    totals.AddError();
    Emit(ErrorLine(error), error.record, error.bytes,
         kind_ == ReturnKind::Sigcb240Precritica ? kErrorFields240 : kErrorFields400);
  }
  void Service(const ServiceAnswer& answer) override { line_(ServiceLine(answer)); }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override {
    line_(RemarkLine(record, text));
  }

 private:
  // `bytes` let the window tell whether the record it reads again is the
  // one read here.
  void Emit(const std::string& text, std::uint64_t record, std::string_view bytes, std::string_view fields) {
    if (!finding_) return line_(text);
    Finding finding;
    finding.line = text;
    finding.record = record;
    finding.rec = bytes;
    finding.kind = TitleRecordKind(kind_);
    finding.fields = fields;
    finding_(finding);
  }

  std::string text_;  // the title's line, its memory kept from title to title
  ReturnKind kind_;
  const std::function<void(std::string_view)>& line_;
  const std::function<void(const Finding&)>& finding_;
  bool everyTitle_;
};

}  // namespace

Totals WriteReport(const std::string& path, ReturnKind kind, Host* host,
                   const std::function<void(std::string_view)>& line,
                   const std::function<void(const Finding&)>& finding, bool everyTitle) {
  ReportVisitor visitor(kind, line, finding, everyTitle);
  ReadReturn(path, kind, visitor, host);
  for (const std::string& text : TotalLines(visitor.totals, IsPrecritica(kind))) line(text);
  return visitor.totals;
}

}  // namespace verilote::returns

#include "cli/retorno.hpp"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "cli/cli.hpp"
#include "returns/reconciliation.hpp"
#include "returns/return_formats.hpp"
#include "returns/return_lines.hpp"
#include "returns/return_report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kRetornoUsage = R"usage(Usage:
  verilote-cli retorno FILE [--remessa REMESSA] [--format text|json|csv]

Reads a return file of CAIXA (bank 104) and says, in words, what the bank
answered: a SIGCB CNAB 240 return (T/U pairs, Y-08 answers), its
pre-validation return (segment W), a SIGCB CNAB 400 return or its
pre-validation. What departs from the bank's manuals is read and remarked,
never refused.
  --format F        text (default): a header block, a line per title (or per
                    error of a pre-validation), remarks, then the totals per
                    movement; json: one JSON document (see
                    docs/retorno.schema.json); csv: one row per title (or
                    error) for a spreadsheet: ";" between fields, decimal
                    comma, UTF-8 with BOM; remarks go to stderr.
  --remessa FILE    the remittance the return answers: each of its titles
                    with what became of it (entrada confirmada, rejeitada,
                    liquidada, baixada, sem resposta) and the return's titles
                    it did not send; for a pre-validation, each error with the
                    remittance's record, field and bytes.

Exit status:
  0  every title fine
  1  titles rejected, or pre-validation errors
  3  the file could not be read, or is no return this program reads
  2  wrong usage
)usage";

enum class Format { Text, Json, Csv };

// The reconciliation as JSON: the outcomes stream; the rest waits in memory
// only as far as the return's own lists do.
class JsonReconciliation final : public returns::ReconciliationVisitor {
 public:
  explicit JsonReconciliation(std::ostream& out) : out_(out) {}
  std::vector<std::string> unsent, errors, remarks;
  std::string header = "null";
  bool first = true;

  void Header(const returns::ReturnHeader& h) override {
    header = "{\"beneficiario\": " + Text(h.beneficiario) + ", \"nsa\": " + Text(h.nsa) + "}";
  }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override {
    remarks.push_back("{\"record\": " + std::to_string(record) + ", \"texto\": " + Text(text) + "}");
  }
  void Unsent(const returns::ReturnTitle& t) override {
    unsent.push_back("{\"record\": " + std::to_string(t.record) + ", \"nosso_numero\": " + Text(t.nossoNumero) +
                     ", \"seu_numero\": " + Text(t.seuNumero) + ", \"movimento\": " + Text(t.movimento) +
                     ", \"movimento_texto\": " + Text(t.movimentoTexto) + "}");
  }
  void Outcome(const returns::RemittanceOutcome& o) override {
    std::string motives = "[";
    for (std::size_t i = 0; i < o.motiveCount; ++i)
      motives += (i == 0 ? "" : ", ") + std::string("{\"codigo\": ") + Text(o.motives[i].code) +
                 ", \"texto\": " + Text(o.motives[i].text) + "}";
    out_ << (first ? "\n    " : ",\n    ") << "{\"registro_da_remessa\": " << o.remessaRecord
         << ", \"nosso_numero\": " << Text(o.nossoNumero) << ", \"seu_numero\": " << Text(o.seuNumero)
         << ", \"situacao\": " << Text(o.situacao) << ", \"movimento\": " << Text(o.movimento)
         << ", \"movimento_texto\": " << Text(o.movimentoTexto)
         << ", \"registro_do_retorno\": " << (o.retornoRecord == 0 ? "null" : std::to_string(o.retornoRecord))
         << ", \"motivos\": " << motives << "]}";
    first = false;
  }
  void RemessaError(const returns::RemittanceError& tied) override {
    const returns::PrecriticaError& e = *tied.error;
    errors.push_back(
        "{\"record\": " + std::to_string(e.record) +
        ", \"registro_da_remessa\": " + (e.remessaRecord == 0 ? std::string("null") : std::to_string(e.remessaRecord)) +
        ", \"campo\": " + Text(!e.fieldCode.empty() ? e.fieldCode : std::string_view(e.campo)) + ", \"posicoes\": " +
        (e.from == 0 ? std::string("null") : "\"" + std::to_string(e.from) + "-" + std::to_string(e.to) + "\"") +
        ", \"campo_nome\": " + Text(e.fieldName) + ", \"campo_no_validador\": " + Text(tied.validatorCode) +
        ", \"valor_na_remessa\": " + (tied.value != nullptr ? Text(*tied.value) : std::string("null")) +
        ", \"erro\": " + Text(e.erro) + ", \"texto\": " + Text(e.texto) + "}");
  }

 private:
  static std::string Text(std::string_view cp1252) {
    return cp1252.empty() ? std::string("null") : returns::JsonText(ToUtf8(cp1252));
  }
  std::ostream& out_;
};

void WriteList(std::ostream& out, std::string_view name, const std::vector<std::string>& items, bool last = false) {
  out << "  \"" << name << "\": [";
  for (std::size_t i = 0; i < items.size(); ++i) out << (i == 0 ? "\n    " : ",\n    ") << items[i];
  out << (items.empty() ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

int Reconciled(const std::string& file, returns::ReturnKind kind, const std::string& remessa, Format format,
               std::ostream& out, std::ostream& err, const std::vector<std::string>& names) {
  if (format == Format::Csv) return Usage(err, "--remessa gives text or json, not csv");
  if (format == Format::Text) {
    const std::function<void(std::string_view)> line = [&](std::string_view text) {
      out << TerminalText(text, names) << '\n';
    };
    const returns::ReconciliationTotals totals =
        returns::WriteReconciliation(file, kind, remessa, nullptr, line, nullptr);
    return totals.rejeitados != 0 || totals.errors != 0 ? kExitFaulty : kExitClean;
  }
  out << "{\n  \"tool\": \"verilote-cli retorno\",\n  \"file\": " << returns::JsonText(PathText(file))
      << ",\n  \"remessa\": " << returns::JsonText(PathText(remessa)) << ",\n  \"layout\": \""
      << returns::LayoutName(kind) << "\",\n  \"conciliacao\": [";
  JsonReconciliation json(out);
  const returns::ReconciliationTotals totals = returns::Reconcile(file, kind, remessa, json);
  out << (json.first ? "],\n" : "\n  ],\n");
  out << "  \"header\": " << json.header << ",\n";
  WriteList(out, "nao_enviados", json.unsent);
  WriteList(out, "errors", json.errors);
  WriteList(out, "remarks", json.remarks);
  const int status = totals.rejeitados != 0 || totals.errors != 0 ? kExitFaulty : kExitClean;
  out << "  \"totals\": {\"titulos_da_remessa\": " << totals.remessaTitles << ", \"rejeitados\": " << totals.rejeitados
      << ", \"sem_resposta\": " << totals.semResposta << ", \"nao_enviados\": " << totals.naoEnviados
      << ", \"erros\": " << totals.errors << "},\n"
      << "  \"status\": " << status << "\n}\n";
  return status;
}

}  // namespace

int RetornoMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  Format format = Format::Text;
  std::optional<std::string> file, remessa;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    if (option == "--help") {
      out << kRetornoUsage;
      return kExitClean;
    }
    if (!option.starts_with("--")) {
      if (file) return Usage(err, "retorno takes one FILE");
      file = std::string(option);
      continue;
    }
    const std::optional<std::string> taken = TakeOptionValue(args, i, option);
    if (!taken) return Usage(err, "option '" + std::string(option) + "' needs a value");
    const std::string& value = *taken;
    if (option == "--format") {
      if (value == "text")
        format = Format::Text;
      else if (value == "json")
        format = Format::Json;
      else if (value == "csv")
        format = Format::Csv;
      else
        return Usage(err, "--format must be text, json or csv");
    } else if (option == "--remessa") {
      if (value.empty()) return Usage(err, "--remessa needs a file");
      remessa = value;
    } else {
      return Usage(err, "unknown option '" + std::string(option) + "'");
    }
  }
  if (!file) return Usage(err, "retorno needs a FILE");
  std::vector<std::string> names = {*file};
  if (remessa) names.push_back(*remessa);
  try {
    const std::optional<returns::ReturnKind> kind = returns::DetectReturn(*file);
    if (!kind) {
      // Opening it says why it cannot be read; a file that opens is no return.
      returns::LineReader probe(*file);
      err << "verilote-cli: " << PathText(*file)
          << ": not a return file of bank 104 (SIGCB CNAB 240 or 400, return or pre-validation)\n";
      return kExitAborted;
    }
    int status = kExitClean;
    if (remessa) {
      status = Reconciled(*file, *kind, *remessa, format, out, err, names);
    } else if (format == Format::Json) {
      const returns::Totals totals = returns::WriteJson(*file, *kind, PathText(*file), out);
      status = totals.Rejected() != 0 || totals.Errors() != 0 ? kExitFaulty : kExitClean;
    } else if (format == Format::Csv) {
      const returns::Totals totals = returns::WriteCsv(*file, *kind, out, err);
      status = totals.Rejected() != 0 || totals.Errors() != 0 ? kExitFaulty : kExitClean;
    } else {
      const std::function<void(std::string_view)> line = [&](std::string_view text) {
        out << TerminalText(text, names) << '\n';
      };
      const returns::Totals totals = returns::WriteReport(*file, *kind, nullptr, line, nullptr);
      status = totals.Rejected() != 0 || totals.Errors() != 0 ? kExitFaulty : kExitClean;
    }
    out.flush();
    if (!out) {
      err << "verilote-cli: cannot write to standard output\n";
      return kExitAborted;
    }
    return status;
  } catch (const FileError& e) {
    err << "verilote-cli: " << TerminalText(e.what(), names) << '\n';
    return kExitAborted;
  }
}

}  // namespace verilote

// The menu "Retorno": reading the bank's answer, and tying it back to the
// remittance that was sent.
#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/reconciliation.hpp"
#include "returns/return_commands.hpp"
#include "returns/return_report.hpp"

namespace verilote {

namespace {

std::optional<returns::ReturnKind> ReturnOrSay(const std::string& path, Host& host) {
  const std::optional<returns::ReturnKind> kind = returns::DetectReturn(path);
  if (!kind) {
    host.ReportAppend(
        Cat("O arquivo não é um retorno do banco 104 que este programa leia (SIGCB CNAB 240 ou 400, "_cp
            "retorno ou pré-crítica)."_cp));
  }
  return kind;
}

Verdict VerdictOf(const returns::Totals& totals) {
  return totals.Rejected() != 0 || totals.Errors() != 0 ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace

Verdict ReadReturnFile(const std::string& path, Host& host) {
  host.ReportClear();
  const std::optional<returns::ReturnKind> kind = ReturnOrSay(path, host);
  if (!kind) return Verdict::Faulty;
  const std::function<void(std::string_view)> line = [&host](std::string_view text) { host.ReportAppend(text); };
  const std::function<void(const Finding&)> finding = [&host](const Finding& f) { host.ReportFinding(f); };
  return VerdictOf(returns::WriteReport(path, *kind, &host, line, finding));
}

Verdict LerArquivoRetorno1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo retorno", FileFilter::Retorno);
  if (!path) return Verdict::Clean;
  return ReadReturnFile(*path, host);
}

Verdict ConferirRetornoRemessa1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo retorno", FileFilter::Retorno);
  if (!path) return Verdict::Clean;
  // The remittance is asked last: the findings are about its records, and
  // the window opens the file the last dialog gave.
  const std::optional<std::string> remessa =
      host.OpenFile("Selecione a remessa que originou o retorno", FileFilter::Remessa);
  if (!remessa) return Verdict::Clean;
  host.ReportClear();
  const std::optional<returns::ReturnKind> kind = ReturnOrSay(*path, host);
  if (!kind) return Verdict::Faulty;
  const std::function<void(std::string_view)> line = [&host](std::string_view text) { host.ReportAppend(text); };
  const std::function<void(const Finding&)> finding = [&host](const Finding& f) { host.ReportFinding(f); };
  const returns::ReconciliationTotals totals =
      returns::WriteReconciliation(*path, *kind, *remessa, &host, line, finding);
  return totals.rejeitados != 0 || totals.errors != 0 ? Verdict::Faulty : Verdict::Clean;
}

std::span<const HandlerBinding> ReturnHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"LerArquivoRetorno1Click", LerArquivoRetorno1Click},
      {"ConferirRetornoRemessa1Click", ConferirRetornoRemessa1Click},
  };
  return kBindings;
}

}  // namespace verilote

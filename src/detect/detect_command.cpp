#include "detect/detect_command.hpp"

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_commands.hpp"
#include "returns/return_file.hpp"

namespace verilote {

std::optional<std::string> AnsweredFileHost::OpenFile(std::string_view title, FileFilter filter) {
  if (answered_) return host_.OpenFile(title, filter);
  answered_ = true;
  return path_;
}

void AnsweredFileHost::ReportClear() {
  host_.ReportClear();
  headWritten_ = false;
}

void AnsweredFileHost::ReportAppend(std::string_view line) {
  WriteHeadIfPending();
  host_.ReportAppend(line);
}

void AnsweredFileHost::ReportFinding(const Finding& finding) {
  WriteHeadIfPending();
  host_.ReportFinding(finding);
}

void AnsweredFileHost::WriteHeadIfPending() {
  if (head_.empty() || headWritten_) return;
  headWritten_ = true;
  for (const std::string& line : head_) host_.ReportAppend(line);
}

Verdict RunValidatorOn(const LayoutRow& layout, const std::string& path, const std::vector<std::string>& headLines,
                       Host& host) {
  AnsweredFileHost validatorHost(host, path);
  validatorHost.HeadWith(headLines);
  host.ReportClear();
  const Handler validator = FindHandler(layout.handler);
  if (validator == nullptr) {
    for (const std::string& line : NoValidatorLines(layout)) validatorHost.ReportAppend(line);
    return Verdict::Faulty;
  }
  try {
    const Verdict verdict = validator(validatorHost);
    validatorHost.WriteHeadIfPending();
    return verdict;
  } catch (...) {
    // A conversion error ends the validator; the report still says what ran.
    validatorHost.WriteHeadIfPending();
    throw;
  }
}

Verdict ValidarArquivoDetectarLayout1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo a validar", FileFilter::Todos);
  if (!path) return Verdict::Clean;
  // The bank's answer is read, not validated as a remittance.
  if (returns::DetectReturn(*path)) return ReadReturnFile(*path, host);
  const Detection detection = DetectLayout(*path);
  if (detection.kind == Detection::Kind::Recognised)
    return RunValidatorOn(*detection.layouts[0], *path, detection.Lines(), host);
  // Nothing was checked: never a clean verdict.
  host.ReportClear();
  for (const std::string& line : detection.Lines()) host.ReportAppend(line);
  host.ReportAppend("Nenhum validador foi executado.");
  return Verdict::Faulty;
}

}  // namespace verilote

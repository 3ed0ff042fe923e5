// A return tied back to the remittance that was sent. For a return: each
// title of the remittance with what became of it (entrada confirmada,
// rejeitada with its motives, liquidada, baixada, sem resposta) and the
// return's titles the remittance did not send. For a pre-validation: each
// error with the remittance's record and the bytes of the field it names.
// The remittance's titles are held as fixed-size keys (48 bytes a title) in
// sorted vectors; the return streams past them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "returns/return_file.hpp"
#include "returns/return_report.hpp"

namespace verilote::returns {

// What became of one title of the remittance.
struct RemittanceOutcome {
  std::uint64_t remessaRecord = 0;
  std::string nossoNumero, seuNumero;
  std::string situacao;  // "entrada confirmada", "rejeitada", "liquidada", "baixada", "sem resposta", ...
  std::string movimento, movimentoTexto;
  std::uint64_t retornoRecord = 0;  // the return's record that decided it; 0 with no answer
  std::array<Motive, 6> motives;
  std::size_t motiveCount = 0;
  bool faulty = false;               // rejected
  const RecordKind* kind = nullptr;  // the remittance record's kind (its dictionary)
};

// An error of a pre-validation with the remittance's side of it.
struct RemittanceError {
  const PrecriticaError* error = nullptr;
  const std::string* value = nullptr;  // the field's bytes in the remittance; nullptr unknown
  std::string validatorCode;           // our validators' code of the same field, when it differs
  const RecordKind* kind = nullptr;    // the remittance record's kind
  std::string_view bytes;              // the remittance record, as read; empty unknown
};

class ReconciliationVisitor : public ReturnVisitor {
 public:
  virtual void Outcome(const RemittanceOutcome&) {}
  virtual void Unsent(const ReturnTitle&) {}
  virtual void RemessaError(const RemittanceError&) {}
};

struct ReconciliationTotals {
  std::uint64_t remessaTitles = 0, semResposta = 0, rejeitados = 0, naoEnviados = 0, errors = 0;
  Totals returnTotals;
};

// Reads the remittance at `remessaPath` (SIGCB 240 or 400) and the return,
// and hands every outcome to `visitor`; the return's titles and errors go
// to its Title/Error too. Throws FileError when a file cannot be read.
ReconciliationTotals Reconcile(const std::string& returnPath, ReturnKind kind, const std::string& remessaPath,
                               ReconciliationVisitor& visitor, Host* host = nullptr);

// The report lines of a reconciliation (Windows-1252).
std::string OutcomeLine(const RemittanceOutcome& outcome);
std::string UnsentLine(const ReturnTitle& title);
std::string RemessaErrorLine(const RemittanceError& error);

// The reconciliation written as report lines, outcomes and errors as
// findings about the remittance's records.
ReconciliationTotals WriteReconciliation(const std::string& returnPath, ReturnKind kind, const std::string& remessaPath,
                                         Host* host, const std::function<void(std::string_view)>& line,
                                         const std::function<void(const Finding&)>& finding);

}  // namespace verilote::returns

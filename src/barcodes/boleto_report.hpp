// Report pieces shared by the boleto check commands (SIGCB, SICOB, SINCO):
// the frame of a one-boleto check, its verdict lines, and the printed-form
// checklist of the batch commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/cp1252.hpp"

namespace verilote {

class Host;

inline constexpr std::string_view kVerdictRule = "====================================================";
inline constexpr std::string_view kHyphenRule =
    "------------------------------------------------------------------------";
inline constexpr std::string_view kSicobRule = "==============================================================";

inline constexpr std::string_view kBoletoInvalid = "BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp;
inline constexpr std::string_view kBoletoCorrect = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";

// Written where a boleto without due-date factor is listed in a batch.
inline constexpr std::string_view kNoFactorNotice =
    "Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de resposabilidade sobre o valor "_cp
    "recebido."_cp;

// "General check digit wrong" in the SICOB and SINCO wording.
inline constexpr std::string_view kDvWrongShort = "Dígito inválido esperado "_cp;

// The errors of one boleto and the lines that close its check.
struct BoletoTally {
  Host& host;
  std::uint64_t errors = 0;

  // Writes the finding and counts it.
  void Error(std::string_view line);

  // The common tests of positions 1-5: bank "104", currency "9" and the
  // general check digit, whose finding is `dvWrong` + computed + " encontrado "
  // + position 5.
  void CommonTests(std::string_view barcode, std::string_view dvWrong);

  // "Valor de entrada: " + the text + " Tamanho: " + its length.
  void InputEcho(std::string_view text);

  // The rule, the verdict and the rule again. True when the boleto is correct.
  bool Verdict();
};

// The summary-and-checklist part of a batch check (rows 1-4, the summary rows
// written by the caller, then rows 5-48): which system it names, and whether
// the last boleto was registered collection (row 34) or not (row 35).
enum class ChecklistSystem { Sigcb, Sicob };
void WriteChecklistHead(Host& host);
void WriteChecklistTail(Host& host, ChecklistSystem system, bool registered);

// A running number zero-filled to at least two digits: 7 is "07", 123 is "123".
std::string TwoDigitNumber(std::uint64_t n);

}  // namespace verilote

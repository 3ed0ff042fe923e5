// Valid SIGCB CNAB 240 remittances for the validator's tests: every
// field well-formed, every check digit, count and sequence right. Tests break
// one field of the result and look for the exact report line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

// Overwrites positions pos.. of a record (1-based) with `value`, growing the
// record with blanks when it is too short.
void Put(std::string& rec, std::size_t pos, std::string_view value);

inline constexpr std::string_view kAlphanumericCnpj = "12ABC34501DE35";
inline constexpr std::string_view kPayerCpf = "52998224725";

// Title A's P and a payer with CPF and no guarantor (its Q).
std::string SigcbP(std::string_view layout);  // layout "101" or "107"
std::string SigcbQ();

struct SigcbFile {
  std::string header;
  std::vector<std::string> loteHeaders;         // taken in turn by the lotes
  std::vector<std::vector<std::string>> lotes;  // the detail records of each lote
  std::vector<std::string> Lines() const;
};

// Two lotes:
//  lote 1: title A (P Q R S: R with a 2 % fine the day after A falls due, S of
//          print kind 3), title B (P Q Y53: modality 11 printed by CAIXA,
//          kind 31 with option 1, interest and a fixed discount, protest);
//  lote 2 (cedente with an alphanumeric CNPJ): title C (P Q R: modality 21,
//          payer CNPJ, guarantor CPF, a 5 % discount, R without fine), title
//          D (P Q: no Nosso Número, payer and guarantor with alphanumeric CNPJ).
// Records 1-18: 1 header, 2 lote header, 3-9 details, 10 lote trailer,
// 11 lote header, 12-16 details, 17 lote trailer, 18 file trailer.
SigcbFile CleanSigcbFile(std::string_view layout = "101");

// Lines the remittance validators write by record number, and their verdicts.
inline std::string Reg(std::size_t n, std::string_view text) { return Cat("Registro numero ", n, text); }
inline std::string Lin(std::size_t n, std::string_view text) { return Cat("Linha ", n, text); }
inline const std::string kOk = "REGISTROS DOS TITULOS TODOS OK !!!",
                         kFim{"FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp};

// ---- Running a command on a file of these lines (CR LF ends).

struct Validation {
  Outcome::Status status;
  std::string error;                // the failure text when the run was aborted
  std::vector<std::string> report;  // the temporary file's path written "FILE"
  FakeHost host;
};

Validation Validate(Handler handler, const std::vector<std::string>& lines, CivilDate today = {2026, 12, 6});

// What turns one report into another: the lines left out and the lines
// added, each in report order (a longest common subsequence stays).
struct ReportChanges {
  std::vector<std::string> removed, added;
};
ReportChanges Changes(const std::vector<std::string>& before, const std::vector<std::string>& after);

}  // namespace verilote::testing

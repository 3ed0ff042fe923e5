// Builds valid Construgiro remittances for the validator's tests and bench:
// every field well-formed, every check digit, count and sequence right, on
// the fake host's today (06/12/2026).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace verilote::testing {

using Fields = std::initializer_list<std::pair<std::size_t, std::string_view>>;

// A P segment (an instalment entering with movement 01, due 10/01/2027, of
// R$ 1.000,00, protest after 30 days) and a Q (a buyer with CPF, no drawer),
// with `more` put over them.
std::string ConstrugiroP(Fields more = {});
std::string ConstrugiroQ(Fields more = {});

struct ConstrugiroFile {
  std::vector<std::vector<std::string>> lotes;  // the detail records of each lote
  std::vector<std::string> Lines() const;       // numbered, with headers and trailers
};

// Lote 1 (BLOCO A, APTO 101): P Q R S P Q; lote 2 (BLOCO B, APTO 202): a P
// marked for return after 60 days and its Q. Records 1-14: 1 header, 2 lote
// header, 3-8 details, 9 lote trailer, 10 lote header, 11-12 details, 13 lote
// trailer, 14 file trailer.
ConstrugiroFile CleanConstrugiroFile();

// The whole report of the clean file.
std::vector<std::string> CleanConstrugiroReport();

}  // namespace verilote::testing

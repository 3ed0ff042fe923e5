// Valid Construgiro remittances for the validator's tests and bench: every
// field well-formed, every check digit, count and sequence right on the fake
// host's today (06/12/2026).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace verilote::testing {

using Fields = std::initializer_list<std::pair<std::size_t, std::string_view>>;

// An instalment entering with movement 01, due 10/01/2027, of R$ 1.000,00,
// protest after 30 days (P); a buyer with CPF and no drawer (Q); `more` over them.
std::string ConstrugiroP(Fields more = {});
std::string ConstrugiroQ(Fields more = {});

struct ConstrugiroFile {
  std::vector<std::vector<std::string>> lotes;  // the detail records of each lote
  std::vector<std::string> Lines() const;       // numbered, with headers and trailers
};

// Records 1-14: 1 file header; 2 lote header (BLOCO A, APTO 101); 3-8 P Q R S
// P Q; 9 lote trailer; 10 lote header (BLOCO B, APTO 202); 11-12 P (marked for
// return after 60 days) Q; 13 lote trailer; 14 file trailer.
ConstrugiroFile CleanConstrugiroFile();

}  // namespace verilote::testing

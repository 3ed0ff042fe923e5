// Builds a valid SIACC 240 remittance for the tests and the benchmark: every
// check digit, count, sequence and total right. Tests break one field and
// look for the exact report line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verilote::testing {

// Records 1-15: 1 file header; 2 lote header (supplier payments, credit in
// account); 3 A (CAIXA account, document 018), 4 B, 5 A (OP: document 700,
// no account), 6 K, 7 O, 8 N (GPS), 9 N (DARF); 10 lote trailer; 11 lote
// header (CAIXA boletos); 12 J (a CAIXA boleto due 10/12/2026), 13 J-52;
// 14 lote trailer; 15 file trailer.
std::vector<std::string> CleanSiaccFile();

// Its whole report, "Arquivo:" naming `file`.
std::vector<std::string> CleanSiaccReport(std::string_view file = "FILE");

// The record with its lote number (4-7) and sequence (9-13) replaced.
std::string Renumbered(std::string rec, std::size_t lote, std::size_t sequence);

}  // namespace verilote::testing

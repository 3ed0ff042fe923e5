// Return files as the bank writes them, record by record: a record of blanks
// with the fields put at their positions, and the readings of a return
// collected for the tests.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "returns/return_file.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

// A record of `length` blanks with `fields` put at their 1-based positions.
struct Field {
  std::size_t from;
  std::string_view text;
};
std::string Record(std::size_t length, std::initializer_list<Field> fields);

// The records of a SIGCB 240 return: file header (143 "2", version 040 unless
// given), lote header, trailers.
std::string Header240(char code = '2', std::string_view version = "040",
                      std::string_view situation = "RETORNO-PRODUCAO");
std::string LoteHeader240(std::string_view lote = "0001");
// A T/U pair: movement, nosso número at 40-56, seu número, nominal value,
// tariff (15 digits), motives at 214-223; paid and net (15 digits), dates.
std::string T(std::string_view movement, std::string_view nossoNumero, std::string_view seuNumero,
              std::string_view value, std::string_view tariff, std::string_view motives);
std::string U(std::string_view movement, std::string_view paid, std::string_view net, std::string_view occurrence,
              std::string_view credit);
// A lote trailer ('5', its record count) or the file trailer ('9', one lote,
// the file's record count).
std::string Trailer240(char type, std::string_view count);

// A title kept past the visitor's call: its texts copied.
struct KeptTitle : returns::ReturnTitle {
  std::string nn, seu, mov;
};

struct Reading : returns::ReturnVisitor {
  std::vector<returns::ReturnHeader> headers;
  std::deque<KeptTitle> titles;  // a deque: a kept title's views point into itself
  std::vector<returns::PrecriticaError> errors;
  std::vector<std::pair<std::uint64_t, std::string>> remarks;  // UTF-8

  void Header(const returns::ReturnHeader& h) override { headers.push_back(h); }
  void Title(const returns::ReturnTitle& t) override;
  void Error(const returns::PrecriticaError& e) override { errors.push_back(e); }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override;
};

// Reads `bytes` as a file of kind `kind`.
Reading Read(std::string_view bytes, returns::ReturnKind kind);

}  // namespace verilote::testing

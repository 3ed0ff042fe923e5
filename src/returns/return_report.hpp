// A return in words: the header block, a line per title, error, answer and
// remark, then the totals per movement. The lines are Windows-1252, as any
// report line; the window's command and `verilote-cli retorno` write the
// same lines. Totals keep a few numbers per movement code: a return of
// millions of titles sums in flat memory.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "returns/return_file.hpp"

namespace verilote::returns {

struct MovementTotal {
  std::string code, text;
  std::uint64_t count = 0;
  std::int64_t valorTitulo = 0, valorPago = 0, tarifa = 0, juros = 0, desconto = 0, abatimento = 0, valorLiquido = 0;
};

class Totals {
 public:
  void Add(const ReturnTitle& title);
  void AddError() { ++errors_; }
  const std::map<std::string, MovementTotal>& PerMovement() const { return perMovement_; }
  std::int64_t Tarifas() const { return tarifas_; }
  std::uint64_t Titles() const { return titles_; }
  std::uint64_t Rejected() const { return rejected_; }
  std::uint64_t Errors() const { return errors_; }

 private:
  // The movements last seen: a return repeats a handful of codes over
  // millions of titles, in runs or in turn. Points into perMovement_, so a
  // copy of the totals starts with none.
  struct Recent {
    std::array<MovementTotal*, 8> seen{};
    std::size_t next = 0;
    Recent() = default;
    Recent(const Recent&) {}
    Recent& operator=(const Recent&) {
      seen = {};
      next = 0;
      return *this;
    }
  };
  std::map<std::string, MovementTotal> perMovement_;
  Recent recent_;
  std::int64_t tarifas_ = 0;
  std::uint64_t titles_ = 0, rejected_ = 0, errors_ = 0;
};

// The header block's lines.
std::vector<std::string> HeaderLines(const ReturnHeader& header);
// "Registro 3: nosso número 14000000000000123, seu número 123, movimento 06 Liquidação; ..."
std::string TitleLine(const ReturnTitle& title);
// The same line appended to `out`, whose memory a report reuses title after title.
void AppendTitleLine(std::string& out, const ReturnTitle& title);
// "Registro 5: registro 1 da remessa, campo 18.0 (posições 158-163, ...): erro 88, ..."
// `value`, when the remittance is given: the bytes the field holds there.
std::string ErrorLine(const PrecriticaError& error, const std::string* value = nullptr);
std::string ServiceLine(const ServiceAnswer& answer);
std::string RemarkLine(std::uint64_t record, std::string_view text);
std::vector<std::string> TotalLines(const Totals& totals, bool precritica);

// The codes of the fields a title's or error's line is about, for its
// finding: the movement and the motives.
inline constexpr std::string_view kTitleFields240 = "07.3T 28.3T";
inline constexpr std::string_view kTitleFields400 = "15.1 12.1";
inline constexpr std::string_view kErrorFields240 = "08.3W 10.3W 11.3W";
inline constexpr std::string_view kErrorFields400 = "08.1 11.1 35.1";

// Reads the return and writes its report through `line` (and `finding`,
// which may be empty, for the lines that carry their record); returns the
// totals. `everyTitle` false: the summary `check` gives, only the titles
// the bank rejected.
Totals WriteReport(const std::string& path, ReturnKind kind, Host* host,
                   const std::function<void(std::string_view)>& line,
                   const std::function<void(const Finding&)>& finding, bool everyTitle = true);

}  // namespace verilote::returns

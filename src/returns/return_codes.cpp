#include "returns/return_codes.hpp"

#include <algorithm>
#include <cctype>

#include "app/cp1252.hpp"
#include "returns/code_tables.hpp"

namespace verilote::returns {
namespace {

std::span<const CodeEntry> RowsOf(CodeTable table) {
  const auto rows = CodeRows240(table);
  return rows.empty() ? CodeRows400(table) : rows;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The code in the width the table writes: the 400 return writes two-digit
// rejections in the three positions 80-82 ("026") and the one-digit payment
// form at 192 ("1"), so a numeric code is compared by its value.
std::string Canonical(std::string_view code, std::size_t width) {
  code = Trimmed(code);
  if (!AllDigits(code) || code.size() == width) return std::string(code);
  while (code.size() > 1 && code.front() == '0') code.remove_prefix(1);
  if (code.size() > width) return {};
  return std::string(width - code.size(), '0') + std::string(code);
}

}  // namespace

std::string_view CodeText(CodeTable table, std::string_view code) {
  const auto rows = RowsOf(table);
  if (rows.empty()) return {};
  const std::string key = Canonical(code, rows.front().code.size());
  const auto it = std::lower_bound(rows.begin(), rows.end(), key,
                                   [](const CodeEntry& row, const std::string& k) { return row.code < k; });
  if (it == rows.end() || it->code != key) return {};
  return it->text;
}

std::string DescribeCode(CodeTable table, std::string_view code) {
  const auto text = CodeText(table, code);
  if (!text.empty()) return std::string(text);
  std::string out("código "_cp);
  out.append(code);
  out.append(" não consta da tabela"_cp);
  return out;
}

std::optional<CodeTable> MotiveTableOf240(std::string_view movimento) {
  if (movimento == "02" || movimento == "03" || movimento == "26" || movimento == "30")
    return CodeTable::MotivoRejeicao240;
  if (movimento == "28") return CodeTable::MotivoTarifa240;
  if (movimento == "06" || movimento == "09" || movimento == "17") return CodeTable::MotivoLiquidacao240;
  return std::nullopt;
}

}  // namespace verilote::returns

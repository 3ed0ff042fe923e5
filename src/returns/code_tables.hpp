// The rows of the bank's code tables, shared by return_codes.cpp and the two
// files that hold the CNAB 240 and CNAB 400 tables. Each table is sorted by
// code, so that a lookup costs a binary search even on a million titles.
#pragma once

#include <span>
#include <string_view>

#include "returns/return_codes.hpp"

namespace verilote::returns {

struct CodeEntry {
  std::string_view code;  // as the manual writes it
  std::string_view text;  // Windows-1252
};

// The rows of one table, or an empty span when the table belongs to the
// other layout.
std::span<const CodeEntry> CodeRows240(CodeTable table);
std::span<const CodeEntry> CodeRows400(CodeTable table);

// Whether rows are strictly ascending by code (checked at compile time).
constexpr bool SortedByCode(std::span<const CodeEntry> rows) {
  for (std::size_t i = 1; i < rows.size(); ++i)
    if (!(rows[i - 1].code < rows[i].code)) return false;
  return true;
}

}  // namespace verilote::returns

// "Construgiro": the remittance with which a building company sends CAIXA,
// for one development, the sale contract of a unit (lote header), its
// instalments (P segments), the buyer (Q), fine data (R) and a fixed S
// segment. Besides the field checks it cross-checks the unit totals of the
// file header, the contract against the file dates and the instalments
// against today, and ends with statistics on protest, return and overdue
// instalments.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict Construgiro1Click(Host& host);

}  // namespace verilote

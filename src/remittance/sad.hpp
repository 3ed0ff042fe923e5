// "S&adSicob Lay-Out Antigo": the old SAD/SICOB payer remittance, records of
// 162 characters, a header announcing the record count, then payer records
// with movement code I, A or E.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict SadSicob1Click(Host& host);

}  // namespace verilote

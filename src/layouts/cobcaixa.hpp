// The import files of the bank's collection client program CobCaixa 2.x:
// payers ("sacados", records of 254 positions) and bills ("títulos", 449
// positions or more), checked as client versions 2.2.0 and 2.3.3 import them.
// The files have no header or trailer: every line is one payer or one bill.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "Sacados"
Verdict Sacados1Click(Host& host);
// "Títulos V 2.2.0"
Verdict Ttulos1Click(Host& host);
// "Títulos V 2.3.3"
Verdict TtulosV2331Click(Host& host);

}  // namespace verilote

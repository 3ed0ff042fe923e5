// "Capcaixa - Importação de guias": the guide import file of the bank's
// CapCaixa client program. No header or trailer: every line is one guide, and
// the first character of the first line picks the layout of the whole file,
// "1" union contribution guides (732 positions), "2" utility and public
// service bills (984) or "3" booklets (959).
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict CapcaixaImportaodeguias1Click(Host& host);

}  // namespace verilote

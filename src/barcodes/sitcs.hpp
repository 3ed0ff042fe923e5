// SITCS (formerly SICAS): boletos of bank 104 for the urban union
// contribution, whose free field names the union entity. Free field layout
// (barcode positions): 20-21 "97"; 22-26 the union code when position 28 is
// "1", otherwise 24-26 the code of the federation, confederation or ministry
// entry; 27 one digit shown in the summary; 28 entity type (1 union,
// 2 federation, 3 confederation, 4 ministry/CEES); 29-30 "77"; 31-42 Nosso
// Número; 43-44 two digits shown in the summary.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "SITCS - Código de Barras - Vários boletos (Antigo SICAS-CapCAIXA)": up to
// 99 boletos typed or scanned one by one.
Verdict SITCSVriosboletos1Click(Host& host);

// "SITCS - Código de Barras - Via arquivo": a file of one barcode per line,
// any number of them.
Verdict SITCSCdigodeBarrasViaarquivo1Click(Host& host);

}  // namespace verilote

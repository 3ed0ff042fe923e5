// "Recupera banco de dados" (menu "&Acertos" > "SIGCB - Acertos"): the import
// files of the bank's client program CobCaixa rebuilt from the bank's printed
// listings, "sacados.txt" from a listing of payers and "titulos.txt" from a
// listing of collection items, both written beside the program
// (GeneratedFile).
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "Sacados": one payer import record per payer of the listing.
Verdict Sacados2Click(Host& host);

// "Títulos": one item import record per item line of the listing, its payer
// found by name in a payer import file; "Nosso Número ... não encontrado."
// in its place (and the verdict Faulty) when no payer bears the name.
Verdict Ttulos2Click(Host& host);

}  // namespace verilote

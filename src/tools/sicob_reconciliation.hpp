// "SICOB - Valida BD cobcaixa com listagem CAIXA" (menu "&Acertos"): the
// client's collection database of the CobCaixa program, exported as a
// fixed-width text file ("tbTitulos.txt"), reconciled with a listing of the
// same items captured from the bank's terminal ("titu.txt"); the
// reconciliation is written to "Titulos.txt". All three sit beside the
// program (the directory ChooseOutputDirectory picks).
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// Faulty when a database item is missing from the bank's listing.
Verdict ValidaBDcobcaixacolistageCAIXA1Click(Host& host);

}  // namespace verilote

// Repair of the general check digit at position 4 of a typed 44-digit barcode:
// "Acertar digito de um código de barras arrecadação" (menu "Arrecadação" >
// "Antigos") and "SICOB - Acerta dígito do cod barra da cobrança" (menu
// "Acertos") behave identically.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict Acertardigitodeumcdigodebarras1Click(Host& host);
Verdict Acertadgitodocodbarradacobrana1Click(Host& host);

}  // namespace verilote

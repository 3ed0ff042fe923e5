// The boleto commands of the "Cobrança" menu: converters, SIGCB, SICOB and
// SINCO checks, barcode assembly and the homologation form. Each appends to
// the report (none clears it) and is Faulty when a checked barcode is invalid.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

class Host;

// Barcode <-> typeable line, and the modulo-10 digit at position 4.
Verdict ConverteCdBarraRepresentao1Click(Host& host);
Verdict ConverteRepresentaoCdBarra1Click(Host& host);
Verdict Cdigodebarras1Click(Host& host);

// SIGCB: one barcode, one typeable line, several barcodes, a file of
// barcodes, and one barcode of the 7-digit cedente layout.
Verdict CdigodebarrasSIGCB1Click(Host& host);
Verdict RepresentaoNumricaSIGCB1Click(Host& host);
Verdict CdigodebarrasSIGCBVriosboletos1Click(Host& host);
Verdict CdigodebarrasSIGCBviaarquivo1Click(Host& host);
Verdict Cdigodebarrasumboleto1Click(Host& host);

// SICOB: several barcodes, one typeable line, a file of barcodes.
Verdict CdigodebarrasCobCaixa1Click(Host& host);
Verdict Representaonumricacobcaixacobranacaixa1Click(Host& host);
Verdict CdigodebarrasSICOBViaarquivo1Click(Host& host);

// SINCO: one barcode, one typeable line, a file of barcodes.
Verdict CdigodebarrasSINCO1Click(Host& host);
Verdict RepresentaoNumricadocdigodebarrasSINCO1Click(Host& host);
Verdict CdigodebarrasSINCOViaarquivo1Click(Host& host);

// Builds the barcode and typeable line of typed cedente, Nosso Número, value
// and due date (SIGCB or SICOB layout by the cedente's length).
Verdict Montarcdigodebarras1Click(Host& host);

// The blank boleto homologation report.
Verdict RelatriodeHomologao1Click(Host& host);

}  // namespace verilote

// Repairs of a SICOV remittance (payroll and debit/credit, 150-character
// records, record type at position 1: "A" header, "E" detail, "Z" trailer),
// menu "&Acertos" > "SICOV - Folha de pagamento e Débito/Crédito". Both rewrite
// the chosen file in place (RecordRewrite) and say "Fim Do Acerto !!!" only
// once the new file is in place.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "Altera NSA": the NSA of each header (positions 74-79) becomes the typed
// answer, zero-filled; every other byte stays.
Verdict AlteraNSA1Click(Host& host);

// "Acerta campos Brancos": headers, details and trailers rebuilt with blanks
// outside the fields they keep; records of other types dropped.
Verdict AcertacamposBrancos1Click(Host& host);

}  // namespace verilote

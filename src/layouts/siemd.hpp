// SIEMD payslip ("contra-cheque") remittance, records of 150 positions: file
// header (type 0), lote header (1), employee records (2), statement lines (3),
// lote trailer (4) and file trailer (9), in one lote. Layout 03 keeps the
// steps of layout 01 and names positions instead of field numbers in its
// messages; it leaves employee records out.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 01"
Verdict SIDEMRemessa1Click(Host& host);
// "SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 03"
Verdict SIEMDArqu1Click(Host& host);

}  // namespace verilote

// SIGCB CNAB 400 collection remittance: a header (record type "0"), titles
// (type "1") with their second records (type "2"), and a trailer ("9"). Every
// failed field rule is one line "Linha:n Erro no campo F - Informação
// encontrada: X"; the header's layout version (blank or "007") sets the width
// of the cedente code. No counts and no summary: the trailer closes the run.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "SIGCB - Remessa 400 ( Valida Tudo )"
Verdict SIGCBRemessa400ValidaTudo1Click(Host& host);

}  // namespace verilote

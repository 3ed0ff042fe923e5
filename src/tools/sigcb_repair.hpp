// Repairs of a SIGCB CNAB 240 collection remittance, menu "&Acertos" >
// "SIGCB - Acertos". Both rewrite the chosen file in place (RecordRewrite) and
// say so only once the new file is in place.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "Altera Número da Remessa": the typed NSA, zero-filled to six, at positions
// 158-163 of the file header and 186-191 of every lote header.
Verdict AlteraNmerodaRemessa1Click(Host& host);

// "Remessa Com Registro Carnê ( Retira segmento Y )": the Y detail records
// dropped, the details renumbered and the trailers' counts rewritten.
Verdict RemessaComRegistroCarnRetirasegmentoY1Click(Host& host);

}  // namespace verilote

// The calculator commands of the "Cobrança" and "Outros" menus: check a CPF or
// a CNPJ, compute a "Nosso Número" digit in its four forms, list ranges of
// "Nosso Número"s with their digits, show an account's digit and convert
// between a due date and its factor. The list commands write the report; the
// others answer in a message box.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict ValidaCPF1Click(Host& host);
Verdict ValidaCGC1Click(Host& host);
Verdict NossoNmero1Click(Host& host);
Verdict NossoNmero16Pos1Click(Host& host);
Verdict NossoNmero18Posdv1Click(Host& host);
Verdict NossoNmeroSIGCB1Click(Host& host);
Verdict GerarrelaodeNNcom10Posies1Click(Host& host);
Verdict GerarrelaodeNNcom16Posies1Click(Host& host);
Verdict GerarrelaodeNNcom18Posies1Click(Host& host);
Verdict GerarrelaodeNNdoSIGCB1Click(Host& host);
Verdict MostrarDVdeumaconta1Click(Host& host);
Verdict Gerarfatordevencimento1Click(Host& host);
Verdict Validarumfatordevencimento1Click(Host& host);

}  // namespace verilote

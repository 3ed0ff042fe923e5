// SICOB ("CobCAIXA") CNAB 400 collection remittance: a header (record type
// "0"), titles ("1"), message records ("2") and a trailer ("9"). The header's
// and each title's failed rules are codes written on one line; the run ends
// with the counts and the verdict of the CNAB 240 validators.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "CobCAIXA - Remessa padrão 400"
Verdict CobranaRemessapadro4001Click(Host& host);

}  // namespace verilote

// The SIACC 240 payment remittance: "SIACC - Arquivo Remessa", which checks a
// remittance record by record (file and lote headers and trailers, detail
// segments A, B, J, J-52, K, O and N), and "Gera arquivo para Importação a
// partir de remessa", which rebuilds the payee import file of the bank's
// client program from the A and B segments of a remittance.
#pragma once

#include <string_view>

#include "app/command_table.hpp"

namespace verilote {

Verdict CaixaProgramado1Click(Host& host);

Verdict GeraarquivoparaImportaoapartirderemessa1Click(Host& host);

// The import file's name, written in the remittance's folder.
inline constexpr std::string_view kSiaccImportName = "Importa_SIACC_Empregados.TXT";

}  // namespace verilote

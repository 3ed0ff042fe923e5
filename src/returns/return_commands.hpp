// The menu commands of the return files, and the reading a dropped return
// file gets.
#pragma once

#include <string>

#include "app/command_table.hpp"
#include "app/host.hpp"

namespace verilote {

// "Ler arquivo retorno": the report in words of the return the user picks.
Verdict LerArquivoRetorno1Click(Host& host);
// "Conferir retorno com a remessa": the return, then the remittance it answers.
Verdict ConferirRetornoRemessa1Click(Host& host);

// The report of the return at `path` (or a line saying it is none).
Verdict ReadReturnFile(const std::string& path, Host& host);

}  // namespace verilote

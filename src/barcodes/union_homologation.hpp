// "Relatorio de Homologação" of menu "Arrecadação": the blank homologation
// report for union-contribution boletos, written into the report to be printed
// and filled in by hand. Only the date of generation varies.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

Verdict RelatoriodeHomologao1Click(Host& host);

}  // namespace verilote
